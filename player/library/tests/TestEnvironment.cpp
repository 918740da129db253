// Every test runs with its own home, config and data folders and one offscreen QApplication.
#include "SystemPaths.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class TemporaryHome : public ::testing::Environment
{
public:
    TemporaryHome()
    {
        qputenv("HOME", home_.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (home_.path() + "/config").toUtf8());
        qputenv("XDG_DATA_HOME", (home_.path() + "/data").toUtf8());
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    void SetUp() override
    {
        if (!QCoreApplication::instance()) app_ = new QApplication(argc_, argv_);
        // Log lines of the scans go to a program folder of the test's own.
        SystemPaths::setProgramFolder(home_.path());
    }
    void TearDown() override
    {
        delete app_;
        app_ = nullptr;
    }

private:
    QTemporaryDir home_;
    int argc_ = 1;
    char name_[16] = "library_tests";
    char* argv_[2] = {name_, nullptr};
    QApplication* app_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const temporaryHome =
    ::testing::AddGlobalTestEnvironment(new TemporaryHome);

}  // namespace
