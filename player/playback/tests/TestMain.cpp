#include <QApplication>
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
    }
};

const auto *const environment = ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

} // namespace
