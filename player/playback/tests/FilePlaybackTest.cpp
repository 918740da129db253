#include "EngineFixture.h"

#include "FilePlayback.h"
#include "FrmPlay.h"
#include "VbRuntime.h"

namespace {

bool makeFile(const QString &path, const QByteArray &bytes = "x")
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

// The engine's own file playback on simulated files in a music folder.
class FilePlaybackTest : public EngineTest
{
protected:
    QString music;
    FilePlayback *playback = nullptr;

    void SetUp() override
    {
        EngineTest::SetUp();
        engine->setFileTransport(nullptr);
        playback = &engine->filePlayback();
        music = temp.filePath("Music");
        state.MediaKind = "MP3";
        state.CdDrive = temp.path();
        state.DriveKind = 3;
    }

    // A song or video the simulated back end knows, as a file on disk.
    QString song(const QString &name, qint64 lengthMs, QSize video = {})
    {
        const QString path = music + "/" + name;
        EXPECT_TRUE(makeFile(path));
        SimulatedMediaFiles::describe(path, {lengthMs, video, 0});
        return path;
    }

    void useEntries(const QStringList &entries)
    {
        state.PlayArray.clear();
        for (const QString &entry : entries)
            state.PlayArray << QVariant(entry);
        state.MediaCount = qint16(entries.size());
    }
};

TEST_F(FilePlaybackTest, AFolderEntryPlaysItsChosenSongAsAudio)
{
    song("a.mp3", 60000);
    const QString second = song("b.mp3", 90000);
    useEntries({music});
    playback->PlayMp3(music, 1);

    EXPECT_EQ(state.CurMediaFile, second);
    EXPECT_EQ(state.CurFileExt, "MP3");
    EXPECT_EQ(state.SongCount, 2);
    EXPECT_EQ(state.SongIndex, 1);
    EXPECT_EQ(state.FrameRate, 10);
    EXPECT_EQ(state.VcdFile, music);
    EXPECT_EQ(state.MediaTitle, music);
    EXPECT_TRUE(host.quickSongMenu);
    EXPECT_TRUE(host.playListMenu);
    EXPECT_EQ(host.playListItems, QStringList{"<01>" + music});
    EXPECT_EQ(host.playListChecked, 0);
    ASSERT_NE(state.ActiveMci, nullptr);
    EXPECT_EQ(state.ActiveMci->FileName(), second);
    EXPECT_EQ(state.ActiveMci->Mode(), "playing");
    EXPECT_FALSE(engine->frmPlay().isVisible());
    EXPECT_FALSE(state.BusyFlag);
    EXPECT_TRUE(host.enabled);
    // No lyric file: the tip tells where it belongs and the slide show runs.
    EXPECT_TRUE(host.labelTips[2].startsWith("歌詞須放在:"));
    EXPECT_TRUE(state.LyricFile.isEmpty());
    EXPECT_TRUE(host.slideShow);
    EXPECT_EQ(host.slidePath, music);
}

TEST_F(FilePlaybackTest, AFileEntryPlaysThatFileWithoutTheQuickSongMenu)
{
    const QString file = song("single.mp3", 60000);
    useEntries({file});
    playback->PlayMp3(file, 0);
    EXPECT_EQ(state.CurMediaFile, file);
    EXPECT_EQ(state.SongCount, 0);
    EXPECT_FALSE(host.quickSongMenu);
    EXPECT_EQ(state.ActiveMci->Mode(), "playing");
}

TEST_F(FilePlaybackTest, AMissingEntryOrSongIsToldAndNothingPlays)
{
    host.enabled = false;
    playback->PlayMp3(music + "/gone", 0);
    EXPECT_EQ(host.prompts, QStringList{"error|找不到 '" + music + "/gone' 目錄"});
    EXPECT_TRUE(host.enabled);
    EXPECT_FALSE(state.BusyFlag);

    // The folder exists but the song listed for it does not.
    QDir().mkpath(music);
    host.songPattern = "*.none";
    playback->PlayMp3(music, 0);
    EXPECT_EQ(host.messageText, "找不到'" + music + "'");
    EXPECT_TRUE(state.ActiveMci->FileName().isEmpty());

    // A play list whose first file has gone since goes on to the next one after the message.
    const QString next = song("next.mp3", 30000);
    useEntries({music + "/gone.mp3", next});
    state.TrackIndex = 0;
    playback->PlayMp3(music + "/gone.mp3", 0);
    EXPECT_EQ(host.prompts.last(), "error|找不到 '" + music + "/gone.mp3' 目錄");
    clock.advance(5000);
    EXPECT_EQ(state.ActiveMci->FileName(), next);
}

TEST_F(FilePlaybackTest, ASongTheControlCannotReadIsReportedNotPlayed)
{
    const QString bad = music + "/bad.mp3";
    ASSERT_TRUE(makeFile(bad, "this is no sound"));
    useEntries({bad});
    playback->PlayMp3(bad, 0);
    EXPECT_TRUE(state.MediaError);
    EXPECT_EQ(host.messageText, "播放媒體錯誤");
    EXPECT_NE(state.ActiveMci->Mode(), "playing");
    EXPECT_FALSE(state.BusyFlag);
}

TEST_F(FilePlaybackTest, AVideoMetInMusicModeGoesToTheVideoWindowAnMp3StaysAudio)
{
    const QString clip = song("clip.avi", 30000, QSize(160, 120));
    const QString withPicture = song("cover.mp3", 30000, QSize(100, 100));
    useEntries({clip, withPicture});

    playback->PlayMp3(clip, 0);
    EXPECT_EQ(state.ActiveMci, engine->frmPlay().MCIWnd1());
    EXPECT_EQ(state.ActiveMci->FileName(), clip);
    EXPECT_TRUE(engine->frmPlay().isVisible());
    EXPECT_EQ(state.NaturalWidth, 160);
    EXPECT_EQ(state.NaturalHeight, 120);
    EXPECT_EQ(state.FrameRate, 10);   // an AVI counts ten frames a second
    EXPECT_EQ(state.VcdFile, music);  // the folder of the file in music mode
    EXPECT_TRUE(state.CurMediaFile.isEmpty());
    EXPECT_TRUE(host.captureMenus);

    playback->PlayMp3(withPicture, 0);
    EXPECT_EQ(state.ActiveMci->FileName(), withPicture);
    EXPECT_EQ(state.ActiveMci->Mode(), "playing");
    EXPECT_FALSE(engine->frmPlay().isVisible());
}

// Keys pressed quickly one after another: each start lets events run while it
// waits, so a later start can run inside an earlier one. The last one asked
// for plays; the earlier ones give up instead of opening their own file
// under the later one's title.
TEST_F(FilePlaybackTest, TheLastOfStartsThatOverlapIsTheOneThatPlays)
{
    const QString first = song("a.mp3", 60000);
    const QString clip = song("b.avi", 30000, QSize(160, 120));
    const QString last = song("c.mp3", 90000);
    useEntries({first, clip, last});

    // A video start overtaken by a song, and a song start overtaken by a video.
    clock.singleShot(100, [&] { playback->PlayMp3(last, 0); });
    playback->PlayMp3(clip, 0);
    EXPECT_EQ(state.CurMediaFile, last);
    EXPECT_EQ(state.ActiveMci->FileName(), last);
    EXPECT_EQ(state.ActiveMci->Mode(), "playing");
    EXPECT_FALSE(engine->frmPlay().isVisible());
    EXPECT_EQ(state.VcdFile, last);

    clock.singleShot(100, [&] { playback->PlayMp3(clip, 0); });
    playback->PlayMp3(first, 0);
    EXPECT_EQ(state.ActiveMci, engine->frmPlay().MCIWnd1());
    EXPECT_EQ(state.ActiveMci->FileName(), clip);
    EXPECT_EQ(state.ActiveMci->Mode(), "playing");
    EXPECT_EQ(state.VcdFile, music);
    EXPECT_FALSE(state.BusyFlag);
}

TEST_F(FilePlaybackTest, MusicModeWaitsForAChoiceOrPlaysTheFirstEntry)
{
    const QString first = song("one.mp3", 60000);
    const QString second = song("two.mp3", 60000);
    useEntries({first, second});
    playback->PlayMp31();
    EXPECT_EQ(state.MediaKind, "MP3");
    EXPECT_EQ(host.messageText, "請選擇播放曲目 1~2");
    EXPECT_TRUE(host.mp3Menus.isEmpty());

    host.autoPlay = true;
    playback->PlayMp31();
    EXPECT_EQ(state.CurMediaFile, first);
    EXPECT_EQ(host.playListItems, (QStringList{"<01>" + first, "<02>" + second}));
    EXPECT_EQ(host.mp3Menus, QStringList{"9 quiet"});
}

TEST_F(FilePlaybackTest, SeekStepsFollowTheFilesFrameRateAndStayWithinTheMedium)
{
    const QString clip = song("clip.avi", 30000, QSize(160, 120));
    state.MediaKind = "VCD";
    host.seekEntry = "1  Sec";
    playback->PlayVCD(clip);
    MciWnd *control = state.ActiveMci;
    ASSERT_EQ(control->Length(), 300);  // ten frames a second

    playback->ChkVCD(2);  // back at the start stays there
    EXPECT_EQ(state.SeekPos, 0);
    control->setPosition(100);
    playback->ChkVCD(5);
    EXPECT_EQ(state.SeekPos, 110);
    EXPECT_EQ(control->Position(), 110);
    control->setPosition(295);
    playback->ChkVCD(5);
    EXPECT_EQ(state.SeekPos, 300);

    // A song counts in milliseconds: half a second is 500.
    const QString tune = song("tune.mp3", 60000);
    state.MediaKind = "MP3";
    useEntries({tune});
    playback->PlayMp3(tune, 0);
    host.seekEntry = "0.5 Sec";
    state.ActiveMci->setPosition(10000);
    playback->ChkMP3(5);
    EXPECT_EQ(state.SeekPos, 10500);
}

TEST_F(FilePlaybackTest, PlayAndStopCommands)
{
    const QString clip = song("clip.mpg", 30000, QSize(160, 120));
    state.MediaKind = "VCD";
    playback->PlayVCD(clip);
    playback->ChkVCD(1);
    EXPECT_EQ(host.messageText, "停止");
    EXPECT_TRUE(state.StoppedFlag);
    EXPECT_FALSE(state.PlayingFlag);
    EXPECT_EQ(state.ActiveMci->Mode(), "stopped");

    playback->ChkVCD(0);
    EXPECT_EQ(host.messageText, "播放中");
    EXPECT_EQ(state.ActiveMci->Mode(), "playing");

    // Play with nothing chosen does nothing; a music stop is the user's stop too (it ends a capture run).
    state.StoppedFlag = false;
    playback->ChkMP3(1);
    EXPECT_TRUE(state.StoppedFlag);
    state.VcdFile.clear();
    playback->ChkMP3(0);
    EXPECT_EQ(state.ActiveMci->Mode(), "stopped");
    EXPECT_TRUE(host.messageText.isEmpty());
}

TEST_F(FilePlaybackTest, EjectCommandStopsAndOpensTheTray)
{
    playback->ChkVCD(7);
    EXPECT_EQ(count("Set CDAudio Door Open Wait"), 1);
    EXPECT_TRUE(simulatedDisc().trayOpen());
}

TEST_F(FilePlaybackTest, TitleButtonStepsCycleThroughTheSizes)
{
    const QString clip = song("track.dat", 30000, QSize(352, 240));
    state.MediaKind = "VCD";
    playback->PlayVCD(clip);
    EXPECT_EQ(state.VideoWidth, 352);
    EXPECT_EQ(state.FrameRate, 30);

    QStringList sizes;
    for (int press = 0; press < 4; ++press) {
        state.VideoWidth = Vb::Int(state.VideoWidth * 1.25);
        state.VideoHeight = Vb::Int(state.VideoHeight * 1.25);
        playback->ChkVCDSize();
        sizes << host.messageText;
    }
    // Beside a panel 300 wide on a 1024 x 768 screen.
    EXPECT_EQ(sizes, (QStringList{"440X300", "716X488", "1024X768", "352X240"}));
    EXPECT_EQ(host.cutPicture, QSize(352, 240));
}

TEST_F(FilePlaybackTest, VideoWindowIsPlacedBesideThePanelOrCentredOrAtTheCorner)
{
    const QString clip = song("track.dat", 30000, QSize(352, 240));
    state.MediaKind = "VCD";
    state.VcdFile = clip;
    playback->PlayVCD(clip);
    FrmPlay &window = engine->frmPlay();
    EXPECT_EQ(window.windowTitle(), clip + " - 352 X 240 (352 X 240)");
    EXPECT_EQ(window.MCIWnd1()->size(), QSize(352, 240));
    EXPECT_EQ(playback->VideoTop, (768 - 240) / 2.0);
    EXPECT_GE(playback->VideoLeft, 300);

    // No room beside the panel: centred on the screen.
    host.mainRect = QRect(0, 0, 900, 400);
    state.VideoWidth = 400;
    state.VideoHeight = 300;
    playback->VCDResize();
    EXPECT_EQ(playback->VideoLeft, (1024 - 408) / 2.0);
    EXPECT_EQ(playback->VideoTop, (768 - 327) / 2.0);

    // As tall as the screen: no caption, the window at the corner.
    state.VideoWidth = 1024;
    state.VideoHeight = 768;
    playback->VCDResize();
    EXPECT_TRUE(window.windowTitle().isEmpty());
    EXPECT_EQ(window.MCIWnd1()->size(), QSize(1024, 768));

    // The same size again changes nothing.
    window.MCIWnd1()->resize(1024, 768);
    window.move(50, 50);
    const QPoint before = window.pos();
    playback->VCDResize();
    EXPECT_EQ(window.pos(), before);
}

TEST_F(FilePlaybackTest, WithThePanelsPictureAreaVideoPlaysInsideThePanel)
{
    const QString clip = song("track.dat", 30000, QSize(352, 240));
    state.MediaKind = "VCD";
    host.pictureShown = true;
    host.area = QRect(20, 30, 200, 150);
    playback->PlayVCD(clip);
    EXPECT_EQ(state.ActiveMci, host.control.get());
    EXPECT_EQ(host.control->size(), QSize(200, 150));
    EXPECT_EQ(host.videoPicture, host.area);
    EXPECT_EQ(host.control->Mode(), "playing");
    EXPECT_FALSE(engine->frmPlay().isVisible());
    EXPECT_EQ(state.VcdFile, clip);
}
