#include "ShellTestSupport.h"

#include "Drives.h"
#include "EventWait.h"
#include "MessageBox.h"
#include "ModRegist.h"
#include "ModTools.h"
#include "PanelForm.h"
#include "SystemPaths.h"
#include "frmSet.h"
#include <QPushButton>
#include "frmTemp.h"
#include "frmMenu.h"
#include "frmSeleDir.h"
#include "frmVCD.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

int indexOf(const QStringList& lines, const QString& text) { return lines.indexOf(text); }

// A left click in the middle of a widget, as the window system delivers it.
void leftClick(QWidget* widget)
{
    const QPointF local(widget->width() / 2.0, widget->height() / 2.0);
    const QPointF global = widget->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

// The start-up option (0, 1 or 2) and the chosen device, as the settings dialog stores them.
void chooseStartup(int option, const QString& drive)
{
    for (int i = 0; i < 3; ++i) SaveAppSetting(QString("ScanType%1").arg(i + 1), i == option ? "True" : "False");
    SaveAppSetting("DiskName", drive);
}

}  // namespace

TEST(MainWindow, DialogPlacement)
{
    // A 2000-wide dialog fits right of a 9000-wide panel on a 12000-wide screen; 4000 does not.
    EXPECT_EQ(frmVCD::FrmCenterPlace(12000, 9000, 9000, 2000, 3000).x(), 9500);
    EXPECT_EQ(frmVCD::FrmCenterPlace(12000, 9000, 9000, 4000, 3000).x(), 4000);
    EXPECT_EQ(frmVCD::FrmCenterPlace(12000, 9000, 9000, 4000, 3001).y(), 2999.5);
}

TEST(MainWindow, ScreenSizeClasses)
{
    EXPECT_EQ(frmVCD::ScreenClassOf(1024, 768), 1024);
    EXPECT_EQ(frmVCD::ScreenClassOf(1366, 768), 1024);
    EXPECT_EQ(frmVCD::ScreenClassOf(1920, 1080), 1920);
    EXPECT_EQ(frmVCD::ScreenClassOf(1600, 1200), 1600);
}

TEST(MainWindow, MenuLoad)
{
    MenuModel m;
    m.Form_Load();
    ASSERT_EQ(m.mVolume.size(), 11);
    EXPECT_EQ(m.mVolume.first().caption, "100%");
    EXPECT_EQ(m.mVolume.last().caption, "0%");
    ASSERT_EQ(m.mSpeed1.size(), 22);
    EXPECT_EQ(m.mSpeed1[0].caption, "10%");
    EXPECT_EQ(m.mSpeed1[21].caption, "220%");
    EXPECT_TRUE(m.mSpeed1[9].checked);
    EXPECT_EQ(m.SpeedIndex, 9);
    EXPECT_TRUE(m.mSeek[11].checked);
    EXPECT_FALSE(m.mSele1.enabled);
    EXPECT_FALSE(m.mSele2.visible);
}

TEST(MainWindow, NoPanelEndsTheStartWithAMessage)
{
    const QString program = ShellTest::freshWorld();
    StartLog();
    frmVCD vcd;
    EXPECT_FALSE(vcd.Start());
    EXPECT_TRUE(QDir(program + "/Skin").exists());
    ASSERT_EQ(MessageBox::shownRequests().size(), 1);
    EXPECT_EQ(MessageBox::shownRequests()[0].prompt, "找不到任何面板,請將面板放在\r\n" + program + "/Skin目錄下");
    EXPECT_TRUE(ShellTest::logTexts(program).contains("找不到面板?"));
    // Nothing of the shut-down ran.
    EXPECT_FALSE(ShellTest::logTexts(program).contains("儲存個人參數"));
}

TEST(MainWindow, StartLogsItsPhasesAndDrawsThePanel)
{
    const QString program = ShellTest::freshWorld();
    ShellTest::addPanel(program);
    ShellTest::addPanel(program, "Big.jpg", 4000, 3000);  // larger than any screen here
    StartLog();
    frmVCD vcd;
    ASSERT_TRUE(vcd.Start());
    const QStringList log = ShellTest::logTexts(program);
    const QStringList phases{"檢查面板目錄", "設定面板選單", "讀取設定", "物件初始化",
                             "開始載入面板及按鈕", "面板及按鈕載入完成", "參數設定", "進入主程式"};
    int last = -1;
    for (const QString& phase : phases) {
        const int at = indexOf(log, phase);
        EXPECT_GT(at, last) << phase.toStdString();
        last = at;
    }
    EXPECT_TRUE(QFile::exists(program + "/Skin/Button.ini"));
    EXPECT_TRUE(vcd.isVisible());
    EXPECT_FALSE(vcd.playback().BusyFlag);
    EXPECT_EQ(vcd.panelState().DeskPicFile, program + "/Desk/Quorvel.JPG");
    EXPECT_EQ(vcd.width(), 260);
    EXPECT_EQ(vcd.height(), 470);
    EXPECT_EQ(vcd.panel().obj().Label1->text(), "自動搜尋關閉中,請按光碟鈕開始搜尋");
    EXPECT_EQ(vcd.playback().CutFile, SystemPaths::TempFolder() + "/Cut0000.BMP");
    EXPECT_FALSE(vcd.menu().mCutBmp.enabled);
    EXPECT_EQ(vcd.panelState().LabColor.size(), vcd.panel().obj().LabNum.size());
    EXPECT_EQ(vcd.playback().VideoBorderWidth, 8);
    EXPECT_EQ(vcd.playback().PlaySpeed, 1000);

    // The context menu's lists: two drives, two panels (the big one disabled).
    ASSERT_GE(vcd.menu().mDiskC.size(), 2);
    EXPECT_EQ(vcd.menu().mDiskC[1].caption, "/data [DATA]");
    ASSERT_GE(vcd.menu().mDeskPic.size(), 2);
    EXPECT_EQ(vcd.menu().mDeskPic[0].caption, "Big.jpg (W4000 x H3000)");
    EXPECT_FALSE(vcd.menu().mDeskPic[0].enabled);
    EXPECT_EQ(vcd.menu().mDeskPic[1].caption, "Quorvel.JPG (W260 x H470)");
    EXPECT_TRUE(vcd.menu().mDeskPic[1].enabled);
    EXPECT_EQ(vcd.menu().mPath.caption, "搜尋目錄      ");

    vcd.grab().save(ShellTest::outputFolder() + "/shell-start-offscreen.png");
}

TEST(MainWindow, WindowDataSurviveAnOrderlyExit)
{
    const QString program = ShellTest::freshWorld();
    ShellTest::addPanel(program);
    SaveAudioCDPlay("player --cd");
    StartLog();
    {
        frmVCD vcd;
        ASSERT_TRUE(vcd.Start());
        EXPECT_EQ(vcd.playback().VideoWidth, 354);  // first-run defaults
        EXPECT_EQ(vcd.playback().CaptureHeight, 242);
        EXPECT_EQ(vcd.playback().CutPicFile, program + "/Cut/cut-000.bmp");
        vcd.playback().VideoWidth = 440;
        vcd.playback().VideoHeight = 300;
        vcd.playback().VolumeLevel = 700;
        vcd.colors().setVScroll1(0, -40);
        vcd.shellState().SearchDrive = "/data";
        vcd.shellState().SearchFolder = "/Music";
        vcd.CloseForm();
        EXPECT_TRUE(vcd.ended());
        EXPECT_FALSE(vcd.isVisible());
    }
    const QStringList log = ShellTest::logTexts(program);
    ASSERT_GE(log.size(), 4);
    EXPECT_EQ(log.mid(log.size() - 4),
              (QStringList{"儲存個人參數", "關閉媒體控制介面", "釋放所有物件", "退出Quorvel V1.1.400"}));
    EXPECT_FALSE(log.join('\n').contains("不正常關閉"));
    EXPECT_EQ(GetAudioCDPlay(), "player --cd");
    EXPECT_EQ(GetAppSetting("R", ""), "-40");
    EXPECT_EQ(GetAppSetting("CDROMPATH", ""), "/Music");

    frmVCD next;
    next.ReadFormData();
    EXPECT_EQ(next.playback().VideoWidth, 440);
    EXPECT_EQ(next.playback().VideoHeight, 300);
    EXPECT_EQ(next.playback().VolumeLevel, 700);
    EXPECT_EQ(next.colors().VScroll1(0), 0);  // the colour bars start at 0
    EXPECT_EQ(next.shellState().SearchDrive, "/data");
    EXPECT_EQ(next.shellState().SearchFolder, "");
    EXPECT_EQ(next.menu().mPath.caption, "搜尋目錄      /data");
    EXPECT_EQ(next.panelState().DeskPicFile, program + "/Desk/Quorvel.JPG");
}

TEST(MainWindow, CloseFromOutsideKeepsWhatTheUserSet)
{
    const QString program = ShellTest::freshWorld();
    ShellTest::addPanel(program);
    SetAudioCDPlay("player --cd");
    StartLog();
    frmVCD vcd;
    ASSERT_TRUE(vcd.Start());
    SaveAudioCDPlay(GetAudioCDPlay());
    SetAudioCDPlay("");  // as the start-up road leaves it
    vcd.playback().VolumeLevel = 300;
    vcd.close();  // the window manager's close
    EXPECT_TRUE(vcd.ended());
    const QStringList log = ShellTest::logTexts(program);
    EXPECT_TRUE(log.contains("不正常關閉Quorvel V1.1.400"));
    EXPECT_EQ(GetAppSetting("Volume", ""), "300");
    EXPECT_EQ(GetAudioCDPlay(), "player --cd");
}

TEST(MainWindow, TaskEntryMinimisesAndRestoresThePanel)
{
    const QString program = ShellTest::freshWorld();
    ShellTest::addPanel(program);
    frmVCD vcd;
    ASSERT_TRUE(vcd.Start());
    EXPECT_EQ(vcd.taskEntry().Caption(), "Quorvel");
    vcd.taskEntry().setWindowState(1);
    EXPECT_EQ(vcd.taskEntry().WindowState(), 1);
    vcd.taskEntry().setWindowState(0);
    EXPECT_EQ(vcd.taskEntry().WindowState(), 0);
    EXPECT_TRUE(vcd.isVisible());
}

TEST(MainWindow, StartupOptionsProbeTheChosenDevice)
{
    const QString program = ShellTest::freshWorld();
    ShellTest::addPanel(program);
    chooseStartup(1, "/data");
    frmVCD vcd;
    ASSERT_TRUE(vcd.Start());
    EXPECT_EQ(vcd.playback().CdDrive, "/data");
    EXPECT_EQ(vcd.playback().DriveKind, 3);
    // The probe searched that device: an empty folder holds nothing to play.
    bool reported = false;
    for (const auto& request : MessageBox::shownRequests())
        reported = reported || request.prompt.contains("/data");
    EXPECT_TRUE(reported);
}

TEST(MainWindow, SettingsOverADisabledPanel)
{
    const QString program = ShellTest::freshWorld();
    ShellTest::addPanel(program);
    frmVCD vcd;
    ASSERT_TRUE(vcd.Start());
    vcd.ShowSettings();
    EXPECT_FALSE(vcd.isEnabled());
    EXPECT_TRUE(vcd.settings().isVisible());
    EXPECT_TRUE(vcd.settings().isEnabled());  // the dialog stays usable over the disabled panel
    vcd.settings().Command2->click();
    EXPECT_TRUE(vcd.isEnabled());
    EXPECT_FALSE(vcd.settings().isVisible());
}

TEST(MainWindow, ThePanelTakesNoClicksWhileADialogHoldsItDisabled)
{
    const QString program = ShellTest::freshWorld();
    ShellTest::addPanel(program);
    frmVCD vcd;
    ASSERT_TRUE(vcd.Start());
    QWidget* closeKey = vcd.panel().obj().PicCtl[8];
    vcd.ShowSettings();
    ASSERT_FALSE(vcd.isEnabled());
    leftClick(closeKey);
    EXPECT_FALSE(vcd.ended()) << "the close key ended the player behind the settings dialog";
    EXPECT_FALSE(ShellTest::logTexts(program).contains("儲存個人參數"));

    vcd.settings().Command3->click();  // "取消" gives the panel back
    ASSERT_TRUE(vcd.isEnabled());
    leftClick(closeKey);
    EXPECT_TRUE(vcd.ended());
}

// The user closes the player with its close key while the folder search's picker is open.
// Exits 0 when nothing was searched after the player said goodbye.
[[noreturn]] static void closeWhileTheFolderPickerIsOpen()
{
    const QString program = ShellTest::freshWorld();
    ShellTest::addPanel(program);
    SaveAppSetting("CDROMDISK", program);  // the picker opens on a folder that exists
    StartLog();
    frmVCD vcd;
    if (!vcd.Start()) std::_Exit(2);
    QWidget* closeKey = vcd.panel().obj().PicCtl[8];
    QTimer::singleShot(100, [closeKey] {
        if (!SeleDirForm() || !SeleDirForm()->isVisible()) std::_Exit(3);
        leftClick(closeKey);
    });
    vcd.contextMenu().mPath_Click();
    const QStringList log = ShellTest::logTexts(program);
    const int goodbye = log.indexOf("退出Quorvel V1.1.400");
    if (goodbye < 0) std::_Exit(4);
    std::_Exit(log.mid(goodbye).contains("檢查是否是VCD") ? 1 : 0);
}

TEST(MainWindowDeathTest, ClosingThePlayerWhileTheFolderPickerIsOpenSearchesNothingAfterwards)
{
    // In a process of its own: the end of the player ends every event loop of the process.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(closeWhileTheFolderPickerIsOpen(), ::testing::ExitedWithCode(0), "");
}

TEST(MainWindow, HelpItemSaysSoWhenNoProgramCanOpenTheReadme)
{
    const QString program = ShellTest::freshWorld();
    // The desktop's opener finds no program for the page (it says so on the terminal and ends).
    QTemporaryDir bin;
    QFile opener(bin.filePath("xdg-open"));
    ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
    opener.write("#!/bin/sh\necho \"xdg-open: no method available for opening '$1'\" >&2\nexit 3\n");
    opener.close();
    opener.setPermissions(opener.permissions() | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()) + ":" + path);
    QFile readme(program + "/readme.htm");
    ASSERT_TRUE(readme.open(QIODevice::WriteOnly));
    readme.close();
    frmVCD vcd;
    const std::unique_ptr<QMenu> tree(vcd.contextMenu().build(frmMenu::Branch::Main, &vcd));
    QAction* help = nullptr;
    for (QMenu* branch : tree->findChildren<QMenu*>())
        for (QAction* action : branch->actions())
            if (action->text() == QStringLiteral("說明文件")) help = action;
    ASSERT_NE(help, nullptr);
    help->trigger();
    QDeadlineTimer deadline(EventWaitMs);
    while (MessageBox::shownRequests().isEmpty() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    qputenv("PATH", path);
    ASSERT_EQ(MessageBox::shownRequests().size(), 1) << "the user clicked and nothing happened";
    EXPECT_EQ(MessageBox::shownRequests()[0].prompt, "無法開啟說明文件:\r\n" + program + "/readme.htm");
}

TEST(MainWindow, PanelCountAcrossPictureKinds)
{
    const QString program = ShellTest::freshWorld();
    QDir().mkpath(program + "/Skin");
    QFile gif(program + "/Skin/only.GIF");  // listed by name only: any content will do
    ASSERT_TRUE(gif.open(QIODevice::WriteOnly));
    gif.write("GIF89a");
    gif.close();
    QImage(8, 8, QImage::Format_RGB32).save(program + "/Skin/b.bmp", "BMP");
    frmVCD vcd;
    QStringList names;
    int count = vcd.ScanFIleA(program + "/Skin/*.Jpg", names, 0);
    EXPECT_EQ(count, 0);
    count = vcd.ScanFIleA(program + "/Skin/*.Bmp", names, count);
    count = vcd.ScanFIleA(program + "/Skin/*.Gif", names, count);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(names, (QStringList{program + "/Skin/b.bmp", program + "/Skin/only.GIF"}));
}

TEST(MainWindow, PictureFolderTakesItsFirstPicture)
{
    const QString program = ShellTest::freshWorld();
    ShellTest::addPanel(program);
    QDir().mkpath(program + "/pics");
    QImage(4, 4, QImage::Format_RGB32).save(program + "/pics/b.jpg", "JPG");
    QImage(4, 4, QImage::Format_RGB32).save(program + "/pics/a.bmp", "BMP");
    SaveAppSetting("ShowPicFIle", program + "/pics/z.jpg");
    frmVCD vcd;
    ASSERT_TRUE(vcd.Start());
    EXPECT_EQ(vcd.shellState().PicFolder, program + "/pics/a.bmp");

    // A folder that is gone leaves the setting's text.
    const QString other = ShellTest::freshWorld();
    ShellTest::addPanel(other);
    SaveAppSetting("ShowPicFIle", other + "/missing/z.jpg");
    frmVCD second;
    ASSERT_TRUE(second.Start());
    EXPECT_EQ(second.shellState().PicFolder, other + "/missing/z.jpg");
}

TEST(MainWindow, StartupOptionZeroProbesTheOpticalDriveWhateverDeviceWasChosen)
{
    const QString program = ShellTest::freshWorld();
    ShellTest::addPanel(program);
    Drives::SetSource(std::make_shared<Drives::FixedSource>(QList<Drives::Drive>{
        {"/", "/dev/sda1", "", Drives::TypeFixed, true},
        {"/data", "/dev/sdb1", "DATA", Drives::TypeFixed, true},
        {"/dev/sr0", "/dev/sr0", "", Drives::TypeOptical, false},
    }));
    chooseStartup(0, "/data");
    StartLog();
    frmVCD vcd;
    ASSERT_TRUE(vcd.Start());
    EXPECT_EQ(vcd.playback().CdDrive, "/dev/sr0");
    EXPECT_EQ(vcd.playback().DriveKind, 5);
    EXPECT_EQ(vcd.settings().Options().DiskName, "/data") << "the chosen device stays chosen";
    // The probe searched the optical drive, not the chosen device; the empty drive holds nothing.
    EXPECT_TRUE(ShellTest::logTexts(program).contains("在/dev/sr0上找不到可供播放的媒體"));
    vcd.CloseForm();
}

TEST(MainWindow, StartupOptionTwoNamesTheChosenDriveAndProbesNothing)
{
    const QString program = ShellTest::freshWorld();
    ShellTest::addPanel(program);
    chooseStartup(2, "/data");
    MessageBox::clearShownRequests();
    StartLog();
    frmVCD vcd;
    ASSERT_TRUE(vcd.Start());
    EXPECT_EQ(vcd.playback().CdDrive, "/data");
    EXPECT_EQ(vcd.playback().DriveKind, 3);
    EXPECT_EQ(vcd.panel().obj().Label1->text(), "自動搜尋關閉中,請按光碟鈕開始搜尋/data");
    EXPECT_TRUE(MessageBox::shownRequests().isEmpty()) << "no device was searched";
    EXPECT_EQ(vcd.playback().MediaKind, "");
    vcd.CloseForm();
}
