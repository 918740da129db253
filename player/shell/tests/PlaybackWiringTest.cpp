// The main window drives the playback engine: a simulated audio CD in an optical drive is
// probed, played and stopped through the panel's keys, on virtual time.

#include "ShellTestSupport.h"

#include "Clock.h"
#include "Drives.h"
#include "MediaBackend.h"
#include "PanelForm.h"
#include "PanelMouse.h"
#include "PlaybackEngine.h"
#include "PanelChoice.h"
#include "PanelState.h"
#include "SimulatedDisc.h"
#include "SystemPaths.h"
#include "frmDir.h"
#include "FolderSongMenu.h"
#include "FrmPlay.h"
#include "MciWnd.h"
#include "ModTools.h"
#include "frmMenu.h"
#include "frmSet.h"
#include "frmTemp.h"
#include "frmVCD.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class PlaybackWiringTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString program = ShellTest::freshWorld();
        ShellTest::addPanel(program);
        setMediaBackend(MediaBackend::Simulated);
        setMediaClock(&clock);
        Drives::SetSource(std::make_shared<Drives::FixedSource>(QList<Drives::Drive>{
            {"/", "/dev/sda1", "", Drives::TypeFixed, true},
            {"/dev/sr0", "/dev/sr0", "", Drives::TypeOptical, false},
        }));
        simulatedDisc().insertAudioDisc({180000, 200000, 240000});
    }

    void TearDown() override
    {
        simulatedDisc().removeDisc();
        setMediaClock(nullptr);
    }

    // Lets virtual time run in steps, with the events each step raises.
    void run(qint64 ms)
    {
        for (qint64 t = 0; t < ms; t += 100) {
            clock.advance(100);
            QCoreApplication::processEvents();
        }
    }

    VirtualClock clock;
};

}  // namespace

TEST_F(PlaybackWiringTest, TitleButtonZeroProbesTheDiscAndTheControlBarStopsAndPlaysIt)
{
    frmVCD vcd;
    ASSERT_TRUE(vcd.Start());
    vcd.playback().CdDrive = "/dev/sr0";
    vcd.mouse().PicButton_MouseDown(0, PanelMouse::Left, 0, 1, 1);
    vcd.mouse().PicButton_MouseUp(0, PanelMouse::Left, 0, 1, 1);
    EXPECT_EQ(vcd.playback().MediaKind, "CDAudio");
    EXPECT_EQ(vcd.playback().MediaCount, 3);
    run(3000);
    const QString playing = vcd.panel().obj().Label2[0]->text();
    EXPECT_NE(playing, "00:00:00");

    vcd.mouse().PicCtl_MouseDown(1, PanelMouse::Left, 0, 1, 1);
    vcd.mouse().PicCtl_MouseUp(1, PanelMouse::Left, 0, 1, 1);  // stop
    run(1000);
    const QString stopped = vcd.panel().obj().Label2[0]->text();
    run(3000);
    EXPECT_EQ(vcd.panel().obj().Label2[0]->text(), stopped);

    vcd.mouse().PicCtl_MouseDown(0, PanelMouse::Left, 0, 1, 1);
    vcd.mouse().PicCtl_MouseUp(0, PanelMouse::Left, 0, 1, 1);  // play
    run(3000);
    EXPECT_NE(vcd.panel().obj().Label2[0]->text(), stopped);
    EXPECT_FALSE(vcd.playback().BusyFlag);
    vcd.CloseForm();
}

TEST_F(PlaybackWiringTest, VolumeAndSpeedItemsReachTheSettingsTheTimeLabelAndBothMediaControls)
{
    frmVCD vcd;
    ASSERT_TRUE(vcd.Start());
    vcd.contextMenu().mVolume_Click(3);  // 70%
    EXPECT_EQ(vcd.playback().VolumeLevel, 700);
    EXPECT_EQ(vcd.settings().ProgressBar1->value(), 70);
    EXPECT_EQ(vcd.settings().Label4->text(), "70%");
    EXPECT_EQ(vcd.panel().obj().Label2[2]->text(), "Volume=70%");

    vcd.contextMenu().mSpeed1_Click(10);  // 110%
    EXPECT_EQ(vcd.MCIWnd1->Speed(), 1100);
    EXPECT_EQ(vcd.engine().frmPlay().MCIWnd1()->Speed(), 1100);
    EXPECT_EQ(vcd.playback().PlaySpeed, 1100);

    // A video at the menu's 200%: the faster key steps on to 225%, not back to 125%.
    vcd.contextMenu().mSpeed1_Click(19);
    vcd.playback().MediaKind = "VCD";
    vcd.playback().ActiveMci = vcd.MCIWnd1;
    vcd.ChkCD(11);
    EXPECT_EQ(vcd.MCIWnd1->Speed(), 2250);
    EXPECT_EQ(vcd.playback().PlaySpeed, 2250);
    vcd.CloseForm();
}

TEST_F(PlaybackWiringTest, RightClickOnANumberKeyInMusicFileModeOpensTheFolderSongMenu)
{
    QTemporaryDir songs;
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"}) {
        QFile f(songs.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    frmVCD vcd;
    ASSERT_TRUE(vcd.Start());
    vcd.folderSongMenu().popupsEnabled = false;
    vcd.shellState().SongPattern = "*.MP3";
    vcd.playback().MediaKind = "MP3";
    vcd.playback().CurMediaFile = songs.filePath("b.mp3");
    PanelObjects& obj = vcd.panel().obj();
    obj.LabNum[0]->setEnabled(true);
    obj.PicNum[0]->setToolTip(songs.path());
    vcd.mouse().PicNum_MouseDown(0, PanelMouse::Right, 0, 1, 1);
    EXPECT_EQ(vcd.folderSongMenu().popupCount, 1);
    ASSERT_GE(vcd.folderSongMenu().mSeleItem2.size(), 3);
    EXPECT_EQ(vcd.folderSongMenu().mSeleItem2[1]->text(), "b.mp3");
    EXPECT_TRUE(vcd.folderSongMenu().mSeleItem2[1]->isChecked());

    // Other media kinds have no such menu.
    vcd.playback().MediaKind = "CDAudio";
    vcd.mouse().PicNum_MouseDown(0, PanelMouse::Right, 0, 1, 1);
    EXPECT_EQ(vcd.folderSongMenu().popupCount, 1);
    vcd.CloseForm();
}

TEST_F(PlaybackWiringTest, MusicProbeSearchesTheFolderOfThisRunsFolderSearch)
{
    // The stored folder is the previous run's; the probe must search the one just chosen.
    SaveAppSetting("CDROMPATH", "Old/Folder");
    frmVCD vcd;
    ASSERT_TRUE(vcd.Start());
    EXPECT_EQ(vcd.cdromSubPath(), "");
    vcd.shellState().SearchFolder = "Music/Now";
    EXPECT_EQ(vcd.cdromSubPath(), "Music/Now");
    vcd.CloseForm();
}

TEST_F(PlaybackWiringTest, TitleButtonTwoOpensTheBrowserAndThePanelMenuAppliesAnotherPanel)
{
    ShellTest::addPanel(SystemPaths::ProgramFolder(), "Blue.jpg", 300, 400);
    frmVCD vcd;
    ASSERT_TRUE(vcd.Start());
    vcd.mouse().PicButton_MouseDown(2, PanelMouse::Left, 0, 1, 1);
    vcd.mouse().PicButton_MouseUp(2, PanelMouse::Left, 0, 1, 1);
    EXPECT_TRUE(vcd.panelChoice().browser().isVisible());
    EXPECT_FALSE(vcd.isEnabled());
    vcd.panelChoice().browser().CloseForm();
    EXPECT_TRUE(vcd.isEnabled());

    int blue = -1;
    for (int i = 0; i < vcd.menu().mDeskPic.size(); ++i)
        if (vcd.menu().mDeskPic[i].tag.endsWith("/Blue.jpg")) blue = i;
    ASSERT_GE(blue, 0);
    EXPECT_EQ(vcd.menu().mDeskPic[blue].caption, "Blue.jpg (W300 x H400)");
    vcd.contextMenu().mDeskPic_Click(blue);
    EXPECT_TRUE(vcd.panelState().DeskPicFile.endsWith("/Blue.jpg"));
    EXPECT_EQ(vcd.panelState().DeskPicWidth.toInt(), 300);
    EXPECT_EQ(vcd.width(), 300);
    vcd.CloseForm();
}

TEST_F(PlaybackWiringTest, ControlBarKeyTwelveMinimisesThePanelToItsTaskBarEntry)
{
    frmVCD vcd;
    ASSERT_TRUE(vcd.Start());
    vcd.mouse().PicCtl_MouseDown(12, PanelMouse::Left, 0, 1, 1);
    vcd.mouse().PicCtl_MouseUp(12, PanelMouse::Left, 0, 1, 1);
    EXPECT_EQ(vcd.taskEntry().WindowState(), 1);
    vcd.taskEntry().setWindowState(0);  // the entry brings it back
    EXPECT_TRUE(vcd.isVisible());
    EXPECT_EQ(vcd.taskEntry().WindowState(), 0);
    vcd.CloseForm();
}

TEST_F(PlaybackWiringTest, LeftClicksOnTheVideoWindowHideThePanelAndBringItBack)
{
    frmVCD vcd;
    ASSERT_TRUE(vcd.Start());
    MciWnd* picture = vcd.engine().frmPlay().MCIWnd1();
    const auto leftClick = [picture] {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), picture->mapToGlobal(QPointF(5, 5)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(picture, &press);
    };
    leftClick();
    EXPECT_EQ(vcd.taskEntry().WindowState(), 1);  // out of sight, kept as its task-bar entry
    leftClick();
    EXPECT_EQ(vcd.taskEntry().WindowState(), 0);
    EXPECT_TRUE(vcd.isVisible());
    leftClick();
    EXPECT_EQ(vcd.taskEntry().WindowState(), 1);
    vcd.CloseForm();
}

TEST_F(PlaybackWiringTest, VideoInThePictureAreaLiesOnItsGroundThere)
{
    frmVCD vcd;
    ASSERT_TRUE(vcd.Start());
    const QRect area(10, 20, 200, 150);
    vcd.showVideoPicture(area);
    vcd.MCIWnd1->resize(area.size());
    vcd.MCIWnd1->show();
    EXPECT_TRUE(vcd.VcdPic->isVisibleTo(&vcd));
    EXPECT_EQ(vcd.MCIWnd1->mapTo(&vcd, QPoint(0, 0)), area.topLeft());
    vcd.hideVideoPicture();
    EXPECT_FALSE(vcd.MCIWnd1->isVisibleTo(&vcd));
    vcd.CloseForm();
}

TEST_F(PlaybackWiringTest, SlidePictureOfTheEngineIsThePictureTheSlideShowShows)
{
    QTemporaryDir pictures;
    for (const char* name : {"a.jpg", "b.jpg"}) {
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        ASSERT_TRUE(picture.save(pictures.filePath(name), "JPG"));
    }
    frmVCD vcd;
    ASSERT_TRUE(vcd.Start());
    vcd.setSlideFolder(pictures.path());
    EXPECT_EQ(vcd.slidePictures(), (QStringList{"a.jpg", "b.jpg"}));
    vcd.setSlidePicture(pictures.filePath("b.jpg"));
    EXPECT_EQ(vcd.shellState().PicFolder, pictures.filePath("b.jpg"));
    vcd.CloseForm();
}
