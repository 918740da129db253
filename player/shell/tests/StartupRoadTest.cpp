#include "ShellTestSupport.h"

#include "FrmReadme.h"
#include "InstanceGuard.h"
#include "MessageBox.h"
#include "ModDeclare.h"
#include "ModIniFile.h"
#include "ModRegist.h"
#include "ModTools.h"
#include "RtfText.h"
#include "SystemPaths.h"

#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QTextEdit>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Calls a function each time a widget is shown.
class OnShow : public QObject
{
public:
    OnShow(QWidget& widget, std::function<void()> shown) : m_shown(std::move(shown)) { widget.installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show) m_shown();
        return false;
    }

private:
    std::function<void()> m_shown;
};

}  // namespace

TEST(StartupRoad, DriverEntriesGoToTheWindowsFolder)
{
    ShellTest::freshWorld();
    ModDeclare::SetMciDriver();
    const QString windows = SystemPaths::WindowsFolder();
    EXPECT_EQ(GetIniString(windows + "/SYSTEM.INI", "mci", "MPEGVideo"), "mciqtz.drv");
    EXPECT_EQ(GetIniString(windows + "/SYSTEM.INI", "mci", "CDIVideo"), "mciqtz.drv");
    EXPECT_EQ(GetIniString(windows + "/WIN.INI", "mci extensions", "dat"), "MPEGVideo");
    EXPECT_EQ(GetIniString(windows + "/WIN.INI", "mci extensions", "mpg"), "MPEGVideo");
    EXPECT_EQ(IniFile, windows + "/WIN.INI");
}

TEST(StartupRoad, AutoplayTakeover)
{
    ShellTest::freshWorld();
    // No command in force: nothing saved, nothing blanked, an earlier copy stays.
    SaveAudioCDPlay("earlier");
    ModDeclare::TakeOverAudioCDPlay();
    EXPECT_EQ(GetSavedAudioCDPlay(), "earlier");
    EXPECT_EQ(GetAudioCDPlay(), "");

    SetAudioCDPlay("player --cd %1");
    ModDeclare::TakeOverAudioCDPlay();
    EXPECT_EQ(GetSavedAudioCDPlay(), "player --cd %1");
    EXPECT_EQ(GetAudioCDPlay(), "");
}

TEST(StartupRoad, QuittingForWantOfAPanelGivesTheAutoplayCommandBack)
{
    const QString program = ShellTest::freshWorld();
    ASSERT_FALSE(QDir(program + "/Skin").exists() && !QDir(program + "/Skin").isEmpty());
    SaveAppSetting("ReadMe", "1");
    SetAudioCDPlay("player --cd %1");
    MessageBox::setAnswerer([](const MessageBox::Request&) { return int(MessageBox::IdOk); });
    MessageBox::clearShownRequests();
    EXPECT_EQ(ModDeclare::Main(ShellTest::app()), 0);
    MessageBox::setAnswerer({});
    ASSERT_EQ(MessageBox::shownRequests().size(), 1);
    EXPECT_TRUE(MessageBox::shownRequests()[0].prompt.startsWith("找不到任何面板"));
    EXPECT_EQ(GetAudioCDPlay(), "player --cd %1");
    EXPECT_EQ(GetSavedAudioCDPlay(), "player --cd %1");
}

TEST(StartupRoad, ReadmeSettingReadings)
{
    EXPECT_TRUE(FrmReadme::ShowsFor("0"));
    EXPECT_TRUE(FrmReadme::ShowsFor(""));
    EXPECT_TRUE(FrmReadme::ShowsFor("abc"));
    EXPECT_FALSE(FrmReadme::ShowsFor("1"));
    EXPECT_FALSE(FrmReadme::ShowsFor("2x"));
}

TEST(StartupRoad, ReadmeGateEndsOnlyThroughItsButton)
{
    const QString program = ShellTest::freshWorld();
    StartLog();
    FrmReadme readme;
    // First the close box: the window must come back. When it shows again, the button, box
    // ticked. Each step waits on the window's own events, never on the clock.
    bool closed = false;
    bool cameBack = false;
    const auto pressTheButton = [&] {
        readme.Check1->setChecked(true);
        readme.Command1->click();
    };
    OnShow shownAgain(readme, [&] {
        if (!closed || cameBack) return;
        cameBack = true;
        QTimer::singleShot(0, &readme, pressTheButton);
    });
    QTimer::singleShot(0, &readme, [&] {
        closed = true;
        readme.close();
    });
    // A gate that never shows the window again must not hang the run.
    QTimer::singleShot(10000, &readme, [&] {
        if (!cameBack) pressTheButton();
    });
    EXPECT_TRUE(RunReadmeGate([&]() -> FrmReadme& { return readme; }));
    EXPECT_TRUE(cameBack);
    EXPECT_FALSE(readme.isVisible());
    EXPECT_EQ(GetAppSetting("ReadMe", ""), "1");
    EXPECT_EQ(ShellTest::logTexts(program), (QStringList{"進入Quorvel V1.1.400", "開啟說明畫面", "結束說明畫面"}));
    EXPECT_FALSE(readme.RichTextBox1->toPlainText().isEmpty());  // a text even without ReadMe.rtf

    // Not shown any more, and not even built: the start skips its window.
    bool built = false;
    EXPECT_FALSE(RunReadmeGate([&]() -> FrmReadme& {
        built = true;
        return readme;
    }));
    EXPECT_FALSE(built);
}

TEST(StartupRoad, ReadmeButtonWithBoxUncheckedShowsItAgainNextTime)
{
    ShellTest::freshWorld();
    FrmReadme readme;
    QTimer::singleShot(20, &readme, [&] { readme.Command1->click(); });
    RunReadmeGate([&]() -> FrmReadme& { return readme; });
    EXPECT_EQ(GetAppSetting("ReadMe", ""), "0");
    EXPECT_TRUE(FrmReadme::ShowsFor(GetAppSetting("ReadMe", "0")));
}

TEST(StartupRoad, SecondCopyAsksTheFirstToComeForward)
{
    ShellTest::freshWorld();
    InstanceGuard first;
    ASSERT_TRUE(first.claim());
    bool cameForward = false;
    QEventLoop wait;
    QObject::connect(&first, &InstanceGuard::comeForward, &wait, [&] {
        cameForward = true;
        wait.quit();
    });
    QTimer::singleShot(2000, &wait, &QEventLoop::quit);
    InstanceGuard second;
    EXPECT_FALSE(second.claim());
    if (!cameForward) wait.exec();
    EXPECT_TRUE(cameForward);
}

TEST(RtfText, PlainTextOfARichTextDocument)
{
    const QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg950{\\fonttbl{\\f0 \\'b7\\'73\\'b2\\'d3\\'a9\\'fa\\'c5\\'e9;}}"
        "{\\colortbl;\\red0\\green0\\blue0;}{\\*\\generator x;}"
        "\\f0 \\'bb\\'a1\\'a9\\'fa\\par Line\\tab two \\{x\\}\\par \\u27468?ok}";
    EXPECT_EQ(RtfToPlainText(rtf), QString::fromUtf8("說明\nLine\ttwo {x}\n歌ok"));
    EXPECT_EQ(RtfToPlainText("plain text"), "plain text");
}
