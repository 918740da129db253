#include "ShellTestSupport.h"

#include "FrmReadme.h"
#include "InstanceGuard.h"
#include "ModDeclare.h"
#include "ModIniFile.h"
#include "ModRegist.h"
#include "ModTools.h"
#include "RtfText.h"
#include "SystemPaths.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTextEdit>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

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
    bool cameBack = false;
    // First the close box: the window must come back. Then the button, box ticked.
    QTimer::singleShot(50, &readme, [&] { readme.close(); });
    QTimer::singleShot(300, &readme, [&] {
        cameBack = readme.isVisible();
        readme.Check1->setChecked(true);
        readme.Command1->click();
    });
    EXPECT_TRUE(RunReadmeGate(readme));
    EXPECT_TRUE(cameBack);
    EXPECT_FALSE(readme.isVisible());
    EXPECT_EQ(GetAppSetting("ReadMe", ""), "1");
    EXPECT_EQ(ShellTest::logTexts(program), (QStringList{"進入Quorvel V1.1.400", "開啟說明畫面", "結束說明畫面"}));
    EXPECT_FALSE(readme.RichTextBox1->toPlainText().isEmpty());  // a text even without ReadMe.rtf

    // Not shown any more.
    FrmReadme next;
    EXPECT_FALSE(RunReadmeGate(next));
    EXPECT_FALSE(next.isVisible());
}

TEST(StartupRoad, ReadmeButtonWithBoxUncheckedShowsItAgainNextTime)
{
    ShellTest::freshWorld();
    FrmReadme readme;
    QTimer::singleShot(20, &readme, [&] { readme.Command1->click(); });
    RunReadmeGate(readme);
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
