#include "EngineFixture.h"

#include "Cp950.h"
#include "DiscWatcher.h"
#include "EventWait.h"
#include "FrmPlay.h"
#include "Drives.h"
#include "ModFiles.h"
#include "ModTools.h"
#include "SystemPaths.h"

#include <QProcess>
#include <QStandardPaths>

namespace {

QString readLog()
{
    return Cp950::readTextFile(LogFilePath());
}

bool touch(const QString &path, const QByteArray &bytes = "x")
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

// The player's drive is a folder of the test's own; the disc in the
// simulated drive is chosen per test.
class ProbeTest : public EngineTest
{
protected:
    QString drive;

    void SetUp() override
    {
        EngineTest::SetUp();
        drive = temp.filePath("disc");
        QDir().mkpath(drive);
        state.CdDrive = drive;
        state.MediaKind.clear();
        state.MediaCount = 0;
        state.CutFolder = temp.filePath("Cut");
        state.ActiveMci = host.control.get();
        host.playArray = &state.PlayArray;
        QFile::remove(LogFilePath());
    }
};

TEST_F(ProbeTest, VideoCdTracksAreFoundInNameOrderAndWaitForAChoice)
{
    ASSERT_TRUE(touch(drive + "/MPEGAV/AVSEQ02.DAT"));
    ASSERT_TRUE(touch(drive + "/MPEGAV/avseq01.dat"));
    engine->CheckCdrom(true);

    EXPECT_EQ(state.MediaKind, "VCD");
    EXPECT_EQ(state.MediaCount, 2);
    ASSERT_EQ(state.VcdFiles.size(), 2);
    EXPECT_TRUE(state.VcdFiles.at(0).endsWith("avseq01.dat"));
    EXPECT_TRUE(state.VcdFiles.at(1).endsWith("AVSEQ02.DAT"));
    EXPECT_EQ(state.PlayArray.size(), 2);
    EXPECT_TRUE(host.messages.contains("影音光碟"));
    EXPECT_EQ(host.messageText, "請選擇播放曲目 1~2");
    EXPECT_EQ(host.controlTips.value(11), "加速");
    EXPECT_EQ(host.controlTips.value(10), "減速");
    EXPECT_TRUE(files.calls.isEmpty());  // the auto-play option is off
    EXPECT_TRUE(host.enabled);
    EXPECT_FALSE(host.captureMenus);
    EXPECT_EQ(state.FrameRate, 1000);
    // The disc's captures are named after its serial.
    EXPECT_EQ(state.CutFile, state.CutFolder + "/" + VolCodeOfSerial(0x1a2b3c4d) + "000.BMP");
    EXPECT_TRUE(host.messages.contains("光碟序號 1A2B-3C4D"));
    EXPECT_TRUE(readLog().contains("找到裝置序號1A2B-3C4D"));
}

TEST_F(ProbeTest, VideoCdPlaysTrackOneWhenAutoPlayIsTicked)
{
    ASSERT_TRUE(touch(drive + "/MPEGAV/AVSEQ01.DAT"));
    host.autoPlay = true;
    engine->CheckCdrom(true);
    EXPECT_EQ(files.calls, QStringList{"PlayVCD " + drive + "/MPEGAV/AVSEQ01.DAT"});

    // Without AutoPlay from the caller the option alone does not start it.
    files.calls.clear();
    engine->CheckCdrom(false);
    EXPECT_TRUE(files.calls.isEmpty());
    EXPECT_EQ(host.messageText, "請選擇播放曲目 1~1");
}

TEST_F(ProbeTest, VideoCdsAreNotLookedForWhenTheFileTypeIsOffOrTheDriveIsNoCdRom)
{
    ASSERT_TRUE(touch(drive + "/MPEGAV/AVSEQ01.DAT"));
    host.videoCds = false;
    engine->CheckCdrom(false);
    EXPECT_NE(state.MediaKind, "VCD");

    host.videoCds = true;
    state.DriveKind = 3;
    engine->CheckCdrom(false);
    EXPECT_NE(state.MediaKind, "VCD");
}

TEST_F(ProbeTest, AudioCdIsTakenAndPlayedFromTrackOne)
{
    engine->CheckCdrom(true);
    EXPECT_EQ(state.MediaKind, "CDAudio");
    EXPECT_EQ(state.MediaCount, 3);
    EXPECT_FALSE(state.MixedDisc);
    EXPECT_TRUE(host.messages.contains("音樂光碟 "));
    EXPECT_EQ(count("Seek CDAudio to 1"), 1);
    EXPECT_EQ(count("Play CDAudio"), 1);
    EXPECT_TRUE(engine->Timer1().isActive());
    EXPECT_TRUE(host.prompts.isEmpty());
    EXPECT_TRUE(readLog().contains("找到音樂光碟 "));
}

TEST_F(ProbeTest, TrackFilesOfAFolderCountAsTheAudioTracks)
{
    ASSERT_TRUE(touch(drive + "/Track01.cda"));
    ASSERT_TRUE(touch(drive + "/Track02.cda"));
    engine->CheckCdrom(false);
    EXPECT_EQ(state.MediaKind, "CDAudio");
    EXPECT_EQ(state.MediaCount, 2);
    EXPECT_EQ(count("Play CDAudio"), 0);
}

TEST_F(ProbeTest, OneAudioTrackIsAnAudioCdAnEnhancedCdCountsOnlyItsAudioTracks)
{
    simulatedDisc().insertAudioDisc({180000});  // a CD single
    engine->CheckCdrom(false);
    EXPECT_EQ(state.MediaKind, "CDAudio");
    EXPECT_EQ(state.MediaCount, 1);

    simulatedDisc().insertDisc({{60000, true}, {70000, true}, {300000, false}});  // audio, then data
    engine->CheckCdrom(false);
    EXPECT_EQ(state.MediaKind, "CDAudio");
    EXPECT_EQ(state.MediaCount, 2);
    EXPECT_TRUE(host.prompts.isEmpty());
}

TEST_F(ProbeTest, ADiscOfOneDataTrackIsNoAudioCd)
{
    simulatedDisc().insertDisc({{180000, false}});
    engine->CheckCdrom(true);
    EXPECT_EQ(state.MediaKind, "CDROM");
    EXPECT_EQ(host.prompts, QStringList{"Error|在" + drive + "上找不到可供播放的媒體!"});
    EXPECT_TRUE(readLog().contains("在" + drive + "上找不到可供播放的媒體"));
    EXPECT_TRUE(host.enabled);
}

TEST_F(ProbeTest, MixedDiscAsksAndPlaysItsAudioFromTrackTwo)
{
    simulatedDisc().insertDisc({{60000, false}, {120000, true}, {90000, true}});
    host.askMixed = true;
    host.answer = 6;
    engine->CheckCdrom(true);
    EXPECT_EQ(host.prompts, QStringList{"Yesno|找到混合光碟\r\n是否要播放音軌 ? "});
    EXPECT_EQ(state.MediaKind, "CDAudio");
    EXPECT_TRUE(state.MixedDisc);
    EXPECT_EQ(state.MediaCount, 3);
    EXPECT_TRUE(host.messages.contains("混合光碟"));
    EXPECT_EQ(count("Seek CDAudio to 2"), 1);
}

TEST_F(ProbeTest, MixedDiscAnsweredNoOrNotAskedAboutGoesOnToMusicFiles)
{
    simulatedDisc().insertDisc({{60000, false}, {120000, true}, {90000, true}});
    host.askMixed = true;
    host.answer = 7;
    engine->CheckCdrom(true);
    EXPECT_EQ(state.MediaKind, "CDROM");
    EXPECT_FALSE(state.MixedDisc);
    EXPECT_EQ(count("Play CDAudio"), 0);

    host.askMixed = false;
    host.prompts.clear();
    engine->CheckCdrom(true);
    EXPECT_EQ(host.prompts, QStringList{"Error|在" + drive + "上找不到可供播放的媒體!"});
}

TEST_F(ProbeTest, ADriveThatIsNoCdRomStillAsksAboutTheCdDevicesTracks)
{
    state.DriveKind = 3;
    host.askMixed = true;
    host.answer = 6;
    engine->CheckCdrom(false);
    EXPECT_EQ(host.prompts.value(0), "Yesno|找到混合光碟\r\n是否要播放音軌 ? ");
    EXPECT_EQ(state.MediaKind, "CDAudio");
    // No disc identity is read from a fixed disk.
    EXPECT_FALSE(host.messages.contains("讀取裝置資訊中..."));
}

TEST_F(ProbeTest, MusicFoldersFoundStartMusicFileMode)
{
    simulatedDisc().removeDisc();
    host.subPath = "/Songs";
    host.scanResult = {drive + "/Songs/A", drive + "/Songs/B"};
    engine->CheckCdrom(true);
    EXPECT_EQ(host.scanned, QStringList{drive + "/Songs"});
    EXPECT_EQ(state.MediaKind, "MP3");
    EXPECT_EQ(state.MediaCount, 2);
    EXPECT_EQ(host.patternApplied, 1);
    EXPECT_EQ(host.messageText, "請選擇播放曲目 1~2");
    EXPECT_TRUE(readLog().contains("在" + drive + "找到 2目錄下有音樂檔"));
}

TEST_F(ProbeTest, AFolderOnTheRootVolumeIsSearchedWithoutADoubledSlash)
{
    simulatedDisc().removeDisc();
    state.CdDrive = "/";
    state.DriveKind = 3;
    host.subPath = "tmp/x/songs";
    engine->CheckCdrom(true);
    EXPECT_EQ(host.scanned, QStringList{"/tmp/x/songs"});
}

TEST_F(ProbeTest, ASerialThatCannotBeReadWritesNoSerialLine)
{
    engine->setVolumeSerialSource([](const QString &) { return QStringLiteral("00000000"); });
    simulatedDisc().removeDisc();
    engine->CheckCdrom(false);
    EXPECT_TRUE(host.messages.contains("光碟序號 0000-0000"));
    const QString log = readLog();
    EXPECT_TRUE(log.contains("讀取裝置資訊中..."));
    EXPECT_FALSE(log.contains("找到裝置序號"));
}

TEST_F(ProbeTest, AProbeStopsWhatPlaysAndResetsThePosition)
{
    state.SeekPos = 40;
    state.MediaLength = 100;
    state.TrackIndex = 2;
    host.pictureVisible = true;
    host.captureMenus = true;
    engine->CheckCdrom(false);
    EXPECT_EQ(state.SeekPos, 0);
    EXPECT_EQ(state.MediaLength, 0);
    EXPECT_EQ(state.TrackIndex, 0);
    EXPECT_FALSE(host.pictureVisible);
    EXPECT_FALSE(host.captureMenus);
    EXPECT_GE(count("Stop CDAudio wait"), 1);
}

// --- Disc events -------------------------------------------------------------

class DiscEventTest : public ProbeTest
{
protected:
    std::shared_ptr<Drives::FixedSource> drives;

    void SetUp() override
    {
        ProbeTest::SetUp();
        drives = std::make_shared<Drives::FixedSource>(QList<Drives::Drive>{
            {"/", "/dev/sda1", "", Drives::TypeFixed, true},
            {"/dev/sr0", "/dev/sr0", "", Drives::TypeOptical, false},
        });
        Drives::SetSource(drives);
        state.CdDrive = "/dev/sr0";
        state.DriveKind = 0;
    }

    void TearDown() override
    {
        Drives::SetSource(nullptr);
        ProbeTest::TearDown();
    }
};

TEST_F(DiscEventTest, ADiscArrivingInThePlayersDriveIsProbedAndPlayed)
{
    engine->SysInfo1_DeviceArrival("/media/usb", "/dev/sdb1");
    EXPECT_TRUE(state.MediaKind.isEmpty());
    EXPECT_EQ(count("Play CDAudio"), 0);

    engine->SysInfo1_DeviceArrival("/dev/sr0", "/dev/sr0");
    EXPECT_EQ(state.DriveKind, 5);
    EXPECT_EQ(state.VcdDir, "/dev/sr0/Mpegav");
    EXPECT_EQ(state.MediaKind, "CDAudio");
    EXPECT_EQ(count("Play CDAudio"), 1);
}

TEST_F(DiscEventTest, RemovingThePlayersDiscStopsPlayOtherDrivesChangeNothing)
{
    state.MediaKind = "CDAudio";
    state.MediaCount = 3;
    state.PlayingFlag = true;
    engine->SysInfo1_DeviceRemoveComplete("/media/usb", "/dev/sdb1");
    EXPECT_EQ(state.MediaKind, "CDAudio");
    EXPECT_TRUE(state.PlayingFlag);

    // The player's disc, mounted at a folder, named by its device.
    engine->SysInfo1_DeviceRemoveComplete("/media/cdrom", "/dev/sr0");
    EXPECT_TRUE(state.MediaKind.isEmpty());
    EXPECT_EQ(state.MediaCount, 0);
    EXPECT_FALSE(state.PlayingFlag);
    EXPECT_EQ(host.messageText, "-請放入光碟片-");
    EXPECT_GE(count("Stop CDAudio wait"), 1);
}

TEST_F(DiscEventTest, ThePlayersDriveFollowsItsDiscFromDeviceToMountFolderAndBack)
{
    simulatedDisc().removeDisc();
    engine->SysInfo1_DeviceArrival("/media/cdrom", "/dev/sr0");
    EXPECT_EQ(state.CdDrive, "/media/cdrom");
    EXPECT_EQ(state.VcdDir, "/media/cdrom/Mpegav");

    // Unmounted, the folder is no drive any more; the device still names it.
    engine->SysInfo1_DeviceRemoveComplete("/media/cdrom", "/dev/sr0");
    EXPECT_EQ(host.messageText, "-請放入光碟片-");
    simulatedDisc().insertAudioDisc({60000, 60000});
    engine->SysInfo1_DeviceArrival("/dev/sr0", "/dev/sr0");
    EXPECT_EQ(state.CdDrive, "/dev/sr0");
    EXPECT_EQ(state.MediaKind, "CDAudio");
}

TEST_F(DiscEventTest, TheWatcherReportsEachInsertRemoveAndMountOnce)
{
    simulatedDisc().removeDisc();
    DiscWatcher watcher;
    QStringList events;
    QObject::connect(&watcher, &DiscWatcher::DeviceArrival,
                     [&](const QString &root, const QString &device) { events << "in " + root + " " + device; });
    QObject::connect(&watcher, &DiscWatcher::DeviceRemoveComplete,
                     [&](const QString &root, const QString &device) { events << "out " + root + " " + device; });
    watcher.start(1000);
    clock.advance(3000);
    EXPECT_TRUE(events.isEmpty());

    simulatedDisc().insertAudioDisc({60000, 60000});
    clock.advance(1000);
    clock.advance(1000);
    EXPECT_EQ(events, QStringList{"in /dev/sr0 /dev/sr0"});

    simulatedDisc().removeDisc();
    drives->setDrives({{"/", "/dev/sda1", "", Drives::TypeFixed, true},
                       {"/media/usb", "/dev/sdb1", "STICK", Drives::TypeRemovable, true},
                       {"/dev/sr0", "/dev/sr0", "", Drives::TypeOptical, false}});
    clock.advance(1000);
    EXPECT_EQ(events, (QStringList{"in /dev/sr0 /dev/sr0", "out /dev/sr0 /dev/sr0", "in /media/usb /dev/sdb1"}));

    // A data disc counts when its volume is mounted, not before.
    events.clear();
    simulatedDisc().insertDisc({{60000, false}});
    clock.advance(1000);
    EXPECT_TRUE(events.isEmpty());
    drives->setDrives({{"/", "/dev/sda1", "", Drives::TypeFixed, true},
                       {"/media/cdrom", "/dev/sr0", "VIDEOCD", Drives::TypeOptical, true}});
    clock.advance(1000);
    EXPECT_EQ(events, (QStringList{"out /media/usb /dev/sdb1", "in /media/cdrom /dev/sr0"}));
    watcher.stop();
}

// --- A video CD made with the encoder --------------------------------------

TEST_F(ProbeTest, AnEncodedVideoCdTrackIsFoundAndPlaysAtItsOwnSize)
{
    const QString ffmpeg = QStandardPaths::findExecutable("ffmpeg");
    if (ffmpeg.isEmpty())
        GTEST_SKIP() << "ffmpeg is not installed";
    QDir().mkpath(drive + "/MPEGAV");
    QProcess encoder;
    encoder.start(ffmpeg, {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=352x240:rate=30", "-t", "1",
                           "-c:v", "mpeg1video", "-f", "mpeg", drive + "/MPEGAV/AVSEQ01.DAT"});
    ASSERT_TRUE(encoder.waitForFinished(EventWaitMs));
    ASSERT_EQ(encoder.exitCode(), 0);

    engine->setFileTransport(nullptr);  // the engine's own file playback
    host.autoPlay = true;
    engine->CheckCdrom(true);

    EXPECT_EQ(state.MediaKind, "VCD");
    EXPECT_EQ(state.VcdFile, drive + "/MPEGAV/AVSEQ01.DAT");
    EXPECT_EQ(state.ActiveMci, engine->frmPlay().MCIWnd1());
    EXPECT_EQ(state.NaturalWidth, 352);
    EXPECT_EQ(state.NaturalHeight, 240);
    EXPECT_EQ(state.FrameRate, 30);
    EXPECT_EQ(state.ActiveMci->Mode(), "playing");
    EXPECT_TRUE(host.captureMenus);
}
