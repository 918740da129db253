#include "SystemPaths.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The engine's windows and media controls need an application object.
class ApplicationEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "playback_tests";
        static char *argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            new QApplication(argc, argv);
        // The log of the playing routines goes to a folder of the test's own.
        static QTemporaryDir programFolder;
        SystemPaths::setProgramFolder(programFolder.path());
    }
};

const auto *const environment = ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

} // namespace
