// Drawing text needs a GUI application; the tests get one, headless, for
// their whole run.

#include <QGuiApplication>
#include <QString>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

void PrintTo(const QString &text, std::ostream *out) { *out << text.toStdString(); }

namespace {

class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        if (!QGuiApplication::instance())
            app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "assets_tests";
    char *argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
};

const auto *const registered = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

} // namespace
