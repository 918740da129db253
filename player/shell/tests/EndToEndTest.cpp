// The player as a user meets it: a real Tavrin on a display of its own with a fresh
// configuration, driven through its test-control channel and the pointer, checked by its log,
// its files and screenshots.

#include "ShellTestSupport.h"
#include "TavrinSandbox.h"

#include "ModIniFile.h"
#include "ModRegist.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QThread>
#include <csignal>
#include <unistd.h>
#include <gtest/gtest.h>

namespace {

const QString SystemAutoplay = "cdplayer --play %1";

// The lines of `expected` appear in the log in this order.
void expectInOrder(const QStringList& log, const QStringList& expected)
{
    int last = -1;
    for (const QString& text : expected) {
        const int at = log.indexOf(text, last + 1);
        EXPECT_GT(at, last) << "missing or out of order: " << text.toStdString();
        if (at > last) last = at;
    }
}

// The processor time a process has used so far, in clock ticks (user and system).
qint64 processorTicks(qint64 pid)
{
    QFile stat(QString("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return -1;
    const QByteArray line = stat.readAll();
    // The fields after the command name in brackets, which may itself hold blanks.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 12 ? fields[11].toLongLong() + fields[12].toLongLong() : -1;
}

// The share of one processor the process used over a stretch of wall time.
double processorShare(qint64 pid, int milliseconds)
{
    const qint64 before = processorTicks(pid);
    QThread::msleep(milliseconds);
    const qint64 after = processorTicks(pid);
    if (before < 0 || after < 0) return -1;
    return double(after - before) / double(sysconf(_SC_CLK_TCK)) / (milliseconds / 1000.0);
}

}  // namespace

// The real player on a display of its own, with a user home and a program folder of its own.
class EndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ShellTest::app();
        if (const QString missing = player.unavailable(); !missing.isEmpty()) GTEST_SKIP() << missing.toStdString();
    }

    // Starts the player and waits for its main window.
    bool startToTheMainWindow() { return player.start() && player.waitForLog("進入主程式"); }
    // The same on a configuration whose readme was confirmed before.
    bool startConfirmed()
    {
        player.setting("ReadMe", "1");
        return startToTheMainWindow();
    }
    bool logged(const QString& text) const { return player.logTexts().contains(text); }
    QString stored(const QString& key) const
    {
        return QSettings(player.settingsFile(), QSettings::IniFormat).value(key).toString();
    }
    // The system's autoplay command of audio CDs (taken over while the player runs), and the
    // player's saved copy of it emptied.
    void setSystemAutoplay() const
    {
        player.asTheProgramsUser([] {
            SetAudioCDPlay(SystemAutoplay);
            SaveAudioCDPlay("");
        });
    }
    QString autoplay() const
    {
        QString command;
        player.asTheProgramsUser([&] { command = GetAudioCDPlay(); });
        return command;
    }
    QString time() const { return player.state().value("Label2(0)"); }

    TavrinSandbox player{{900, 960}};
};

TEST_F(EndToEnd, FreshStartReadmeGatePanelSecondCopyAndOrderlyExit)
{
    ASSERT_TRUE(player.copyBesideTests({"ReadMe.rtf"}));
    QFile::remove(player.programFile("Skin/Button.ini"));
    setSystemAutoplay();
    // The log's temporary copy that a run killed while it started its log left, an hour ago.
    const QString leftover = player.programFile("Quorvel.log.Ab12Cd");
    ASSERT_TRUE(player.writeFile("program/Quorvel.log.Ab12Cd", "killed"));
    {
        QFile old(leftover);
        ASSERT_TRUE(old.open(QIODevice::ReadWrite));
        ASSERT_TRUE(old.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    }

    // ---- first start: the readme holds the start until its button is pressed; what the
    // killed run left has gone
    ASSERT_TRUE(player.start());
    ASSERT_TRUE(player.waitFor([&] { return logged("開啟說明畫面"); })) << player.report();
    EXPECT_FALSE(QFile::exists(leftover));
    const QRect readmeArea(0, 0, 500, 400);
    const QImage readmeShot =
        player.screenshotWhen("e2e-readme.png", [&](const QImage& shot) { return distinctColours(shot, readmeArea) > 5; });
    EXPECT_GT(distinctColours(readmeShot, readmeArea), 5);
    EXPECT_FALSE(logged("結束說明畫面"));

    // ---- a second copy ends at once and leaves the log alone
    const auto secondCopyEnds = [&] {
        const QString logBefore = player.log();
        QProcess second;
        second.setProcessEnvironment(player.environment());
        second.start(programBesideTests("Tavrin"), {});
        ASSERT_TRUE(second.waitForFinished(EventWaitMs));
        EXPECT_EQ(second.exitCode(), 0);
        ASSERT_FALSE(logBefore.isEmpty());
        EXPECT_EQ(player.log(), logBefore);
    };
    secondCopyEnds();

    // ---- the readme's button lets the start go on
    ASSERT_TRUE(player.command("click 不騙你,我真的看過了"));
    ASSERT_TRUE(player.waitForLog("進入主程式")) << player.report();
    const QRect panelArea(0, 0, 400, 600);
    const QImage shot =
        player.screenshotWhen("e2e-panel.png", [&](const QImage& s) { return distinctColours(s, panelArea) > 20; });
    ASSERT_FALSE(shot.isNull());
    EXPECT_GT(distinctColours(shot, panelArea), 20);

    const QStringList log = player.logLines();
    ASSERT_GE(log.size(), 3);
    EXPECT_TRUE(log[1].endsWith(" 進入Quorvel V1.1.400"));
    expectInOrder(player.logTexts(),
                  {"設定參數", "開啟說明畫面", "結束說明畫面", "檢查完畢!", "檢查面板目錄", "設定面板選單", "讀取設定",
                   "物件初始化", "開始載入面板及按鈕", "面板及按鈕載入完成", "參數設定", "進入主程式"});
    EXPECT_TRUE(QFile::exists(player.programFile("Skin/Button.ini")));
    player.asTheProgramsUser([&] {
        const QString windows = player.settingsFolder() + "/Windows";
        EXPECT_EQ(GetIniString(windows + "/SYSTEM.INI", "mci", "MPEGVideo"), "mciqtz.drv");
        EXPECT_EQ(GetIniString(windows + "/WIN.INI", "mci extensions", "mpg"), "MPEGVideo");
        EXPECT_EQ(GetAudioCDPlay(), "");
        EXPECT_EQ(GetSavedAudioCDPlay(), SystemAutoplay);
    });

    // ---- an orderly exit
    ASSERT_TRUE(player.command("quit"));
    ASSERT_EQ(player.waitForEnd(), 0) << player.report();
    const QStringList end = player.logTexts();
    ASSERT_GE(end.size(), 4);
    EXPECT_EQ(end.mid(end.size() - 4),
              (QStringList{"儲存個人參數", "關閉媒體控制介面", "釋放所有物件", "退出Quorvel V1.1.400"}));
    EXPECT_EQ(autoplay(), SystemAutoplay);  // given back
    EXPECT_EQ(stored("Width"), "354");
    EXPECT_EQ(stored("Volume"), "1000");
    EXPECT_EQ(stored("DeskPic"), player.programFile("Desk/Quorvel.JPG"));
    EXPECT_EQ(stored("ReadMe"), "0");
    // The window data of this run are what the next start reads.
    player.setting("Width", "440");
    player.setting("Volume", "650");

    // ---- the next start reads them, in a session whose runtime folder others may enter: the
    // player says once where it listens instead, and a second copy finds it there, also once
    // the folder is put right while it runs; a close from outside keeps the window data
    QFile::remove(player.programFile("Quorvel.log"));
    const QString runtime = player.filePath("runtime");
    const auto owner = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    QFile::setPermissions(runtime, owner | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    ASSERT_TRUE(startConfirmed()) << player.report();
    EXPECT_FALSE(logged("開啟說明畫面"));
    const QString elsewhere = QDir::tempPath() + "/pelloran-" + QString::number(::geteuid());
    EXPECT_EQ(player.logTexts().filter("單一執行通道").join('\n'),
              "單一執行通道: " + runtime + " 其他使用者可進入 (0755), 改用 " + elsewhere);
    QFile::setPermissions(runtime, owner);
    secondCopyEnds();
    ASSERT_TRUE(player.command("close"));
    ASSERT_NE(player.waitForEnd(), -1) << player.report();
    EXPECT_TRUE(logged("不正常關閉Quorvel V1.1.400"));
    EXPECT_EQ(stored("Width"), "440");
    EXPECT_EQ(stored("Volume"), "650");
    EXPECT_EQ(autoplay(), SystemAutoplay);
}

TEST_F(EndToEnd, AudioCdPlaysAndTheControlBarStopsAndStartsIt)
{
    ASSERT_TRUE(startConfirmed()) << player.report();

    // A three-track audio CD arrives in the player's drive: it is probed and plays.
    ASSERT_TRUE(player.command("disc 180000 200000 240000"));
    ASSERT_TRUE(player.waitForState("MediaKind", "CDAudio")) << player.report();
    EXPECT_TRUE(logged("找到音樂光碟 "));
    ASSERT_TRUE(player.waitForState("Label2(0)", [](const QString& shown) { return shown != "00:00:00"; }));

    // The keys are clicked where they are on the screen; without the X test extension the
    // player clicks the key at its place itself.
    const bool pointer = player.input().usable();
    const auto clickKey = [&](int index) {
        if (!pointer) return player.pressKey("PicCtl", index);
        const QPoint at = player.key("PicCtl", index).center();
        player.input().click(at.x(), at.y());
        return true;
    };

    // Stop (control-bar key 1): the time stands still, looked at over a stretch in which a
    // playing disc's time moves on.
    ASSERT_TRUE(clickKey(1));
    QString stopped;
    waitUntil([&] {
        stopped = time();
        QThread::msleep(1500);
        return time() == stopped;
    }, EventWaitMs);
    EXPECT_FALSE(stopped.isEmpty());
    QThread::msleep(1500);
    EXPECT_EQ(time(), stopped);

    // Play (control-bar key 0): the time moves on, on the screen too.
    ASSERT_TRUE(clickKey(0)) << player.report();
    QString first;
    EXPECT_TRUE(player.waitFor([&] { return (first = time()) != stopped; }));
    const QImage shot1 = player.screenshot("e2e-audio-cd-1.png");
    ASSERT_FALSE(shot1.isNull());
    QString second;
    EXPECT_TRUE(player.waitFor([&] { return (second = time()) != first; }));
    EXPECT_NE(first, second);
    EXPECT_NE(second, stopped);
    // The screen follows the label (a busy machine may paint it a little later).
    const QImage shot2 = player.screenshotWhen(
        "e2e-audio-cd-2.png", [&](const QImage& shot) { return changedPixels(shot1, shot, shot.rect()) > 0; });
    EXPECT_GT(changedPixels(shot1, shot2, shot2.rect()), 0);

    // Number key 2 of the pad (the second key) plays track 2.
    if (pointer) {
        const QRect two = player.key("PicNum", 1);
        ASSERT_FALSE(two.isEmpty());
        player.input().click(two.center().x(), two.center().y());
        EXPECT_TRUE(player.waitForState("Label2(2)", "<2>")) << player.state().value("Label2(2)").toStdString();
    }

    // The volume menu of key 4 (right button): the header, then 100% and 90%; choosing 90% sets it.
    if (pointer) {
        constexpr unsigned long Down = 0xff54, Return = 0xff0d;
        const QRect volume = player.key("PicCtl", 4);
        ASSERT_FALSE(volume.isEmpty());
        const QImage closed = player.screenshot("e2e-volume-closed.png");
        player.input().click(volume.center().x(), volume.center().y(), 3);
        const QRect menuArea(volume.center() - QPoint(150, 150), QSize(300, 300));
        const QImage menu = player.screenshotWhen(
            "e2e-volume-menu.png", [&](const QImage& shot) { return changedPixels(closed, shot, menuArea) > 500; });
        ASSERT_GT(changedPixels(closed, menu, menuArea), 500) << "the volume menu opened";
        for (const unsigned long key : {Down, Down, Down, Return}) player.input().type(key);
        EXPECT_TRUE(player.waitForState("VolumeLevel", "900")) << player.state().value("VolumeLevel").toStdString();
    }

    ASSERT_TRUE(player.command("quit"));
    ASSERT_EQ(player.waitForEnd(), 0) << player.report();
    if (pointer) {
        EXPECT_EQ(stored("Volume"), "900");
    }
}

TEST_F(EndToEnd, APictureIntervalOfZeroConfirmedWhileADiscPlaysStopsTheSlidesWithoutSpinning)
{
    ASSERT_TRUE(startConfirmed()) << player.report();
    ASSERT_TRUE(player.command("disc 180000 200000 240000"));
    ASSERT_TRUE(player.waitForState("MediaKind", "CDAudio"));
    ASSERT_TRUE(player.waitForState("TimerBMP", "1 5000")) << "a song without lyrics runs the slide show";

    // Title button 3 opens the settings; the interval bar to 0; 確定.
    ASSERT_TRUE(player.command("key PicButton 3"));
    ASSERT_TRUE(player.command("value VScroll1 0"));
    ASSERT_TRUE(player.command("click 確定"));
    EXPECT_TRUE(player.waitForState("TimerBMP", "0 0")) << player.state().value("TimerBMP").toStdString();
    const double share = processorShare(player.pid(), 3000);
    EXPECT_GE(share, 0);
    EXPECT_LT(share, 0.5) << "the player spins at " << share * 100 << "% of a processor";
    ASSERT_FALSE(player.screenshot("e2e-picture-interval-0.png").isNull());
    EXPECT_EQ(stored("ShowTime"), "0");

    // Back to 3 seconds while the same song plays: the slides go on at once.
    ASSERT_TRUE(player.command("key PicButton 3"));
    ASSERT_TRUE(player.command("value VScroll1 3"));
    ASSERT_TRUE(player.command("click 確定"));
    EXPECT_TRUE(player.waitForState("TimerBMP", "1 3000")) << player.state().value("TimerBMP").toStdString();

    ASSERT_TRUE(player.command("quit"));
    EXPECT_EQ(player.waitForEnd(), 0) << player.report();
}

TEST_F(EndToEnd, TerminateAndInterruptSignalsTakeTheRoadOfAWindowManagerClose)
{
    for (const int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal == SIGTERM ? "SIGTERM" : "SIGINT");
        QFile::remove(player.programFile("Quorvel.log"));
        QFile::remove(player.settingsFile());
        setSystemAutoplay();
        ASSERT_TRUE(startConfirmed()) << player.report();
        ASSERT_EQ(autoplay(), "");  // taken over while the player runs
        ASSERT_TRUE(player.signal(signal));
        ASSERT_NE(player.waitForEnd(), -1) << player.report();
        EXPECT_TRUE(logged("不正常關閉Quorvel V1.1.400")) << player.report();
        EXPECT_EQ(stored("Width"), "354") << "the window data are kept";
        EXPECT_EQ(stored("DeskPic"), player.programFile("Desk/Quorvel.JPG"));
        EXPECT_EQ(autoplay(), SystemAutoplay);
    }

    // Before the main window runs (here the readme holds the start) the command is given back too.
    QFile::remove(player.programFile("Quorvel.log"));
    QFile::remove(player.settingsFile());
    setSystemAutoplay();
    ASSERT_TRUE(player.copyBesideTests({"ReadMe.rtf"}));
    ASSERT_TRUE(player.start());
    ASSERT_TRUE(player.waitFor([&] { return logged("開啟說明畫面"); })) << player.report();
    ASSERT_TRUE(player.signal(SIGHUP));
    ASSERT_NE(player.waitForEnd(), -1) << player.report();
    EXPECT_TRUE(logged("不正常關閉Quorvel V1.1.400")) << player.report();
    EXPECT_FALSE(logged("進入主程式"));
    EXPECT_EQ(autoplay(), SystemAutoplay);
}

TEST_F(EndToEnd, ALeftClickOnTheMessageLineWithoutLyricsPutsTheListOnThePictureArea)
{
    if (!player.input().usable()) GTEST_SKIP() << "the X test extension drives the pointer";
    ASSERT_TRUE(startConfirmed()) << player.report();

    const QRect line = player.stateRect("place(Label1)");
    const QRect area = player.stateRect("place(PictureArea)");
    const QRect logo = player.stateRect("place(Label3)");
    ASSERT_FALSE(line.isEmpty());
    ASSERT_FALSE(area.isEmpty());
    const QImage without = player.screenshot("e2e-lyric-list-hidden.png");
    player.input().click(line.center().x(), line.center().y());
    ASSERT_TRUE(player.waitForState("SongListVisible", "1"));
    const QImage shown = player.screenshotWhen("e2e-lyric-list-without-lyrics.png", [&](const QImage& shot) {
        return changedPixels(without, shot, area) > 0;
    });
    ASSERT_GT(changedPixels(without, shown, area), 0) << "the list is drawn on the picture area";
    EXPECT_EQ(player.stateRect("place(SongList)"), area);
    EXPECT_FALSE(player.stateRect("place(SongList)").intersects(logo)) << "the logo's main menu stays within reach";

    // A second click hides it again.
    player.input().click(line.center().x(), line.center().y());
    EXPECT_TRUE(player.waitForState("SongListVisible", "0"));
    ASSERT_TRUE(player.command("quit"));
    EXPECT_EQ(player.waitForEnd(), 0) << player.report();
}

TEST_F(EndToEnd, WithoutLibmpvThePlayerStartsSaysWhyOnceAndKeepsRunning)
{
    player.setMedia(ProgramSandbox::Media::Real);
    player.setVariable("PELLORAN_MPV_LIBRARY", "/nonexistent/libmpv.so.2");
    player.setVariable("PELLORAN_MSGBOX_ANSWER", "");  // the box is shown as a user sees it
    ASSERT_TRUE(startConfirmed()) << player.report();

    const auto engineLines = [&] { return player.logTexts().filter("無法載入媒體引擎: "); };
    ASSERT_TRUE(player.waitFor([&] { return !engineLines().isEmpty(); })) << player.report();
    EXPECT_TRUE(engineLines().first().contains("/nonexistent/libmpv.so.2")) << engineLines().first().toStdString();
    QString shown;
    ASSERT_TRUE(player.waitForState("MessageBox", [&](const QString& box) { return !(shown = box).isEmpty(); }));
    EXPECT_TRUE(shown.startsWith("找不到媒體引擎 /nonexistent/libmpv.so.2")) << shown.toStdString();
    ASSERT_FALSE(player.screenshot("e2e-no-media-engine.png").isNull());

    // The user confirms it with the box's button, which speaks the interface's language; the
    // player goes on, says it only once, and ends in order.
    ASSERT_TRUE(player.command("click 確定"));
    ASSERT_TRUE(player.waitFor([&] { return !player.state().contains("MessageBox"); }));
    EXPECT_EQ(player.state().value("MediaKind"), "");
    EXPECT_EQ(engineLines().size(), 1);
    ASSERT_TRUE(player.command("quit"));
    ASSERT_EQ(player.waitForEnd(), 0) << player.report();
    EXPECT_EQ(player.logTexts().last(), "退出Quorvel V1.1.400");
}
