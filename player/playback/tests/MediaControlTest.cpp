#include "EventWait.h"
#include "EngineFixture.h"

#include "Drives.h"
#include "FrmPlay.h"

#include <QElapsedTimer>

namespace {

class RecordingVolumes : public DeviceVolumes
{
public:
    QList<PlaybackRules::DeviceVolumeCall> calls;
    int deviceCount(PlaybackRules::DeviceFamily family) const override
    {
        return family == PlaybackRules::DeviceFamily::WaveOut ? 1 : 0;
    }
    void setVolume(PlaybackRules::DeviceFamily family, int device, quint32 packed) override
    {
        calls << PlaybackRules::DeviceVolumeCall{family, device, packed};
    }
};

} // namespace

class FileKindTest : public EngineTest
{
protected:
    MciWnd *control = nullptr;

    void SetUp() override
    {
        EngineTest::SetUp();
        control = host.control.get();
        state.ActiveMci = control;
    }

    // Opens a simulated file on the main control and plays it.
    void play(const QString &path, qint64 lengthMs, QSize video = {})
    {
        SimulatedMediaFiles::describe(path, {lengthMs, video, 0});
        control->setFileName(path);
        control->setCommand("Play");
    }

    // A music folder "/m/A" of `songs` files with the extension `ext`, the only play-list entry.
    void musicFolder(const QString &ext, int songs)
    {
        state.MediaKind = "MP3";
        state.CurFileExt = ext;
        state.FrameRate = 10;
        state.PlayArray = {"/m/A"};
        state.MediaCount = 1;
        state.VcdFile = "/m/A";
        state.SongCount = songs;
    }
};

TEST_F(FileKindTest, TransportCodesGoToTheFileTransportUnderTheBusyFlag)
{
    state.MediaKind = "VCD";
    for (int code : {0, 1, 2, 5, 6, 12})
        engine->ChkCD(code);
    state.MediaKind = "MP3";
    engine->ChkCD(0);
    EXPECT_EQ(files.calls, (QStringList{"ChkVCD 0", "ChkVCD 1", "ChkVCD 2", "ChkVCD 5", "ChkVCD 6", "ChkVCD 12",
                                        "ChkMP3 0"}));
    EXPECT_FALSE(files.busyDuringCall.contains(false));
    EXPECT_FALSE(state.BusyFlag);
}

TEST_F(FileKindTest, VideoSpeedStepsWarnAtTheEnds)
{
    state.MediaKind = "VCD";
    state.MediaLength = 60;
    play("/v/a.mpg", 60000, QSize(352, 240));

    engine->ChkCD(11);
    EXPECT_EQ(state.PlaySpeed, 1250);
    EXPECT_EQ(host.messageText, "播放速度125%");
    control->setSpeed(2250);
    engine->ChkCD(11);
    EXPECT_EQ(host.messageText, "播放速度已到極限!");
    EXPECT_EQ(host.beeps, 1);

    control->setSpeed(1000);
    state.PlaySpeed = 1000;
    engine->ChkCD(10);
    EXPECT_EQ(state.PlaySpeed, 750);
    EXPECT_EQ(host.messageText, "播放速度75%");
    control->setSpeed(250);
    state.PlaySpeed = 250;
    engine->ChkCD(10);
    EXPECT_EQ(state.PlaySpeed, 100);

    engine->ChkCD(10);   // first press at 100 only warns
    EXPECT_EQ(host.messageText, "喂!已經夠慢了吧?");
    EXPECT_EQ(control->Speed(), 100);
    EXPECT_EQ(host.beeps, 2);
    engine->ChkCD(10);   // the second one gives in
    EXPECT_EQ(state.PlaySpeed, 50);
    EXPECT_EQ(host.messageText, "真不死心!好吧?\n播放速度降為5%");

    engine->ChkCD(10);   // at 50 the long message, the speed stays
    ASSERT_EQ(host.prompts.size(), 1);
    EXPECT_TRUE(host.prompts[0].startsWith("error|喂!喂!喂!#@$%!*&"));
    EXPECT_TRUE(host.prompts[0].endsWith("總共須要1200秒 (0多小時)"));
    EXPECT_EQ(control->Speed(), 50);
}

TEST_F(FileKindTest, PreviousSongGoesToTheFolderStartAndNextWrapsToTheFirstEntry)
{
    state.MediaKind = "MP3";
    state.PlayArray = {"/m/A", "/m/B", "/m/C"};
    state.MediaCount = 3;
    state.CurFolder = "/m/B";
    state.TrackIndex = 1;
    state.SongCount = 4;
    state.SongIndex = 2;
    engine->ChkCD(10);
    state.SongIndex = 1;
    engine->ChkCD(10);   // the second song goes to the first of the same folder
    state.SongIndex = 0;
    engine->ChkCD(10);   // the first song goes to the previous entry
    EXPECT_EQ(state.TrackIndex, 0);
    engine->ChkCD(10);   // and stops at the first entry
    EXPECT_EQ(files.calls, (QStringList{"PlayMp3 /m/B 1", "PlayMp3 /m/B 0", "PlayMp3 /m/A 0", "PlayMp3 /m/A 0"}));

    files.calls.clear();
    state.TrackIndex = 2;
    state.CurFolder = "/m/C";
    state.SongIndex = 3;
    engine->ChkCD(11);   // past the last song of the last entry: the first entry
    EXPECT_EQ(files.calls, QStringList{"PlayMp3 /m/A 0"});
    EXPECT_EQ(state.TrackIndex, 0);

    files.calls.clear();
    state.MediaCount = 5;  // more entries counted than the array holds
    state.TrackIndex = 2;
    state.SongIndex = 3;
    engine->ChkCD(11);
    EXPECT_EQ(files.calls, QStringList{"PlayMp3 /m/A 0"});
}

TEST_F(FileKindTest, AStepInsideAnotherStepNeitherRunsNorClearsTheGuard)
{
    musicFolder("MP3", 3);
    state.SongIndex = 0;
    play("/m/A/one.mp3", 1000);
    clock.advance(1200);   // the song has ended

    // Position events arriving while the end-of-file step waits.
    clock.singleShot(50, [this] { engine->ShowTime(); });
    clock.singleShot(100, [this] { engine->ShowTime(); });
    clock.singleShot(150, [this] { EXPECT_TRUE(state.BusyFlag); });
    engine->ShowTime();
    EXPECT_EQ(files.calls, QStringList{"PlayMp3 /m/A 1"});
    EXPECT_EQ(state.SongIndex, 1);
    EXPECT_FALSE(state.BusyFlag);

    // One step is made up for them afterwards (here the control still shows the ended song).
    clock.advance(1000);
    EXPECT_EQ(files.calls, QStringList({"PlayMp3 /m/A 1", "PlayMp3 /m/A 2"}));
}

TEST_F(FileKindTest, MusicFileTitleLineAndEndOfFolderLoop)
{
    state.MediaKind = "MP3";
    state.CurFileExt = "MP3";
    state.FrameRate = 10;
    state.PlayArray = {"/m/A", "/m/single.mp3"};
    state.MediaCount = 2;
    state.TrackIndex = 1;
    state.SongCount = 0;
    play("/m/single.mp3", 2000);
    clock.advance(1000);
    engine->ShowTime();
    EXPECT_EQ(host.labels[2], "02/02 single.mp3");
    EXPECT_EQ(host.labels[0], "00:01:00");
    EXPECT_EQ(host.labels[1], "00:02:00");
    clock.advance(1500);
    engine->ShowTime();   // the last entry ended: the first one plays
    EXPECT_EQ(files.calls, QStringList{"PlayMp3 /m/A 0"});
    EXPECT_EQ(state.TrackIndex, 0);
}

TEST_F(FileKindTest, AnyMusicFileReachesItsEnd)
{
    musicFolder("WAV", 2);
    play("/m/A/a.wav", 20000);
    // Counted in hundredths like a song file, not read as seconds.
    clock.advance(5000);
    engine->ShowTime();
    EXPECT_EQ(host.labels[0], "00:05:00");
    EXPECT_EQ(host.labels[1], "00:20:00");
    EXPECT_EQ(state.PlayTimeText, "00:05:00");
    clock.advance(15200);
    engine->ShowTime();
    EXPECT_EQ(files.calls, QStringList{"PlayMp3 /m/A 1"});
}

// The clock waits a moment at the end of an item before it starts the next;
// an item the user starts meanwhile (a key, a menu entry) is kept, not
// followed at once by the clock's own next one.
TEST_F(FileKindTest, AnItemTheUserStartsWhileTheEndWaitsIsKept)
{
    musicFolder("MP3", 3);
    play("/m/A/a.mp3", 2000);
    clock.advance(2100);
    clock.singleShot(100, [&] { play("/m/A/c.mp3", 30000); });
    engine->ShowTime();
    EXPECT_TRUE(files.calls.isEmpty()) << files.calls.join(", ").toStdString();

    state.MediaKind = "VCD";
    state.FrameRate = 30;
    state.VcdFiles = {"/d/1.dat", "/d/2.dat", "/d/3.dat"};
    state.MediaCount = 3;
    state.TrackIndex = 0;
    play("/d/1.dat", 2000, QSize(352, 240));
    clock.advance(2100);
    clock.singleShot(100, [&] { play("/d/3.dat", 2000, QSize(352, 240)); });
    engine->ShowTime();
    EXPECT_TRUE(files.calls.isEmpty()) << files.calls.join(", ").toStdString();

    // Without a start meanwhile the clock goes on.
    clock.advance(2100);
    engine->ShowTime();
    EXPECT_EQ(files.calls, QStringList{"PlayVCD /d/2.dat"});
}

TEST_F(FileKindTest, EndOfAVideoDiscFollowsTheUsersChoice)
{
    state.MediaKind = "VCD";
    state.FrameRate = 30;
    state.VcdFiles = {"/v/1.dat", "/v/2.dat"};
    state.MediaCount = 2;

    const auto endLastTrack = [this] {
        state.TrackIndex = 1;
        state.VcdFile = "/v/2.dat";
        play("/v/2.dat", 3000, QSize(352, 240));
        clock.advance(3500);
        engine->ShowTime();
    };

    host.endChoice = PlaybackHost::Repeat;
    endLastTrack();
    EXPECT_EQ(files.calls, QStringList{"PlayVCD /v/1.dat"});
    EXPECT_EQ(state.TrackIndex, 0);

    files.calls.clear();
    host.endChoice = PlaybackHost::Stop;
    endLastTrack();
    EXPECT_TRUE(files.calls.isEmpty());

    host.endChoice = PlaybackHost::Eject;
    commands.clear();
    endLastTrack();
    EXPECT_EQ(count("Set CDAudio Door Open"), 1);

    // Not the last track: the next one.
    files.calls.clear();
    state.MediaKind = "VCD";   // the eject emptied the kind and the count
    state.MediaCount = 2;
    state.TrackIndex = 0;
    play("/v/1.dat", 3000, QSize(352, 240));
    clock.advance(1000);
    engine->ShowTime();
    EXPECT_EQ(host.labels[2], "2.dat");
    EXPECT_EQ(host.labels[0], "00:00:01");
    clock.advance(2500);
    engine->ShowTime();
    EXPECT_EQ(files.calls, QStringList{"PlayVCD /v/2.dat"});
}

TEST_F(FileKindTest, MediumOfNoLengthRestsTheClockAndHeldKnobStaysPut)
{
    state.MediaKind = "MP3";
    engine->ShowTime();
    EXPECT_EQ(host.labels[0], "00:00:00");
    EXPECT_EQ(host.labels[1], "00:00:00");
    EXPECT_EQ(host.labels[2], "");
    EXPECT_FALSE(host.labelEnabled[0]);
    EXPECT_FALSE(host.labelEnabled[1]);
    EXPECT_DOUBLE_EQ(host.knob, 1002);

    state.KnobHeld = true;
    host.knob = 1500;
    state.MediaLength = 100;
    state.SeekPos = 250;           // past the end: the labels move, the knob not
    state.PosText = "00:04:10";
    engine->ShowPoint();
    EXPECT_DOUBLE_EQ(host.knob, 1500);
    EXPECT_EQ(host.labels[0], "00:04:10");
    state.KnobHeld = false;
    engine->ShowPoint();
    EXPECT_DOUBLE_EQ(host.knob, 1000 + 2800);
}

TEST_F(FileKindTest, ErrorsShowTheirTextStopMediaAndEnableTheWindow)
{
    state.CurMediaFile = "/m/A/bad.mp3";
    host.enabled = false;
    engine->MCIWnd1_ExtendedError(275);
    EXPECT_EQ(host.messageText, "格式錯誤bad.mp3");
    EXPECT_TRUE(state.MediaError);
    EXPECT_TRUE(host.enabled);
    EXPECT_TRUE(host.prompts.isEmpty());
    EXPECT_EQ(count("Stop CDAudio wait"), 1);

    engine->MCIWnd1_ExtendedError(263);
    EXPECT_EQ(host.messageText, "ERROR:263");
    EXPECT_TRUE(host.prompts.isEmpty());
}

TEST_F(FileKindTest, DeletionAfterError296IsOfferedOnlyForAKnownFileOnAFixedDisk)
{
    const QString file = temp.filePath("bad.mpg");
    QFile(file).open(QIODevice::WriteOnly);
    Drives::SetSource(std::make_shared<Drives::FixedSource>(
        QList<Drives::Drive>{{temp.path(), {}, {}, Drives::TypeFixed, true}}));
    state.MediaKind = "MP3";
    state.CurMediaFile = file;
    state.DriveKind = 5;          // the player's drive is a CD-ROM; the file's is fixed
    host.answer = 7;
    engine->MCIWnd1_ExtendedError(296);
    ASSERT_EQ(host.prompts.size(), 2);
    EXPECT_TRUE(host.prompts[0].startsWith("ERROR|找不到可供播放MP3的驅動程式\r\n強烈建議安裝"));
    EXPECT_EQ(host.prompts[1], "yesno|若您已安裝驅動程式表式此檔以損壞!\r\n是否要刪除此檔?\r\n" + file);
    EXPECT_TRUE(QFile::exists(file));   // No keeps the file
    EXPECT_EQ(host.messageText, "錯誤bad.mpg");

    host.answer = 6;
    engine->MCIWnd1_ExtendedError(296);
    EXPECT_FALSE(QFile::exists(file));

    // No path known, or a file on an optical disc: driver advice only.
    host.prompts.clear();
    state.CurMediaFile.clear();
    state.DriveKind = 3;
    engine->MCIWnd1_ExtendedError(296);
    EXPECT_EQ(host.prompts.size(), 1);
    host.prompts.clear();
    QFile(file).open(QIODevice::WriteOnly);
    state.CurMediaFile = file;
    Drives::SetSource(std::make_shared<Drives::FixedSource>(
        QList<Drives::Drive>{{temp.path(), {}, {}, Drives::TypeOptical, true}}));
    engine->MCIWnd1_ExtendedError(296);
    EXPECT_EQ(host.prompts.size(), 1);
    EXPECT_TRUE(QFile::exists(file));
    Drives::SetSource(nullptr);
}

TEST_F(FileKindTest, WaveAndSequencerMediaFollowOnlyTheDeviceVolumes)
{
    RecordingVolumes volumes;
    engine->setDeviceVolumes(&volumes);
    play("/w/a.wav", 1000);
    control->setVolume(300);
    state.VolumeLevel = 500;
    engine->SetVolume();
    EXPECT_EQ(control->Volume(), 300);
    const QList<PlaybackRules::DeviceVolumeCall> expected = {
        {PlaybackRules::DeviceFamily::Auxiliary, -1, 0x7FFF7FFFu},
        {PlaybackRules::DeviceFamily::WaveOut, -1, 0x7FFF7FFFu},
        {PlaybackRules::DeviceFamily::WaveOut, 0, 0x7FFF7FFFu},
        {PlaybackRules::DeviceFamily::MidiOut, -1, 0x7FFF7FFFu},
    };
    EXPECT_EQ(volumes.calls, expected);

    play("/w/b.mp3", 1000);
    engine->SetVolume();
    EXPECT_EQ(control->Volume(), 500);
}

TEST_F(FileKindTest, DefaultDeviceVolumeSetsTheMediaControls)
{
    play("/w/a.wav", 1000);
    engine->SetAllVolume(700);
    EXPECT_EQ(control->Volume(), 700);
    EXPECT_EQ(engine->frmPlay().MCIWnd1()->Volume(), 700);
}

TEST_F(FileKindTest, PlayingModeEventSetsThePlayingFlag)
{
    engine->connectControl(control);
    state.PlayingFlag = false;
    engine->MCIWnd1_ExtendedModeChange(525);
    EXPECT_FALSE(state.PlayingFlag);
    play("/m/a.mp3", 1000);
    EXPECT_TRUE(state.PlayingFlag);
}

TEST_F(FileKindTest, LeftClickOnTheVideoTogglesThePanel)
{
    FrmPlay &window = engine->frmPlay();
    window.MCIWnd1_MouseDown(2, 0, 5, 5);
    EXPECT_TRUE(host.visible);
    window.MCIWnd1_MouseDown(1, 0, 5, 5);
    EXPECT_FALSE(host.visible);
    EXPECT_EQ(host.taskState, 1);
    window.MCIWnd1_MouseDown(1, 0, 5, 5);
    EXPECT_TRUE(host.visible);
    EXPECT_EQ(host.taskState, 0);
}

TEST_F(EngineTest, DelayRoundsToWholeMillisecondsAndNeverHangs)
{
    const qint64 start = clock.now();
    engine->Delay(0.1);
    EXPECT_EQ(clock.now() - start, 100);
    engine->Delay(0.0025);   // 2.5 ms: half to even
    EXPECT_EQ(clock.now() - start, 102);
    engine->Delay(0.0004);   // rounds to no time: returns at once
    engine->Delay(-1);
    EXPECT_EQ(clock.now() - start, 102);

    setMediaClock(nullptr);  // real time
    QElapsedTimer timer;
    timer.start();
    engine->Delay(0.0004);
    engine->Delay(0);
    engine->Delay(0.05);
    EXPECT_LT(timer.elapsed(), EventWaitMs);
    EXPECT_GE(timer.elapsed(), 45);
}

TEST_F(EngineTest, SeekStepFollowsTheTickedSeekEntry)
{
    host.seekEntry = "0.5 Sec";
    state.MediaKind = "MP3";
    state.CurFileExt = "MP3";
    engine->ChkSeekNum(10);
    EXPECT_DOUBLE_EQ(state.SeekStep, 50);
    state.CurFileExt = "WAV";  // every music file counts in hundredths
    engine->ChkSeekNum(10);
    EXPECT_DOUBLE_EQ(state.SeekStep, 50);
    host.seekEntry = "5   Frame";
    state.MediaKind = "VCD";
    state.CurFileExt = "MPG";
    engine->ChkSeekNum(30);
    EXPECT_DOUBLE_EQ(state.SeekStep, 1.0 / 6);
    host.seekEntry.clear();
    engine->ChkSeekNum(30);
    EXPECT_DOUBLE_EQ(state.SeekStep, 0);
}
