#include "EngineFixture.h"

#include "ModSongList.h"

namespace {
const QString Lyric1 = QStringLiteral("Track01\r\n00:01:0 first line\r\n00:03:0 second line\r\n00:05:0\r\n");
}

TEST_F(EngineTest, PlayCdSendsTheTrackStartCommandsInOrderAndStartsTheClock)
{
    writeLyric("Track01.txt", Lyric1.toUtf8());
    engine->PlayCd(1);

    const QStringList expected = {"Status CDAudio Mode", "Stop CDAudio", "Close CDAudio",
                                  "Open CDAudio Shareable", "Stop CDAudio ", "Set CDAudio Time format tmsf",
                                  "Seek CDAudio to 1", "Play CDAudio"};
    EXPECT_EQ(commands, expected);
    EXPECT_TRUE(engine->Timer1().isActive());
    EXPECT_EQ(engine->Timer1().interval(), 500);
    EXPECT_EQ(state.MediaTitle, "Track1");
    EXPECT_EQ(state.LyricFile, discFolder + "/Track01.txt");
    EXPECT_EQ(host.lyrics.count(), 4);
    EXPECT_FALSE(host.slideShow);
    EXPECT_FALSE(host.quickSongMenu);
    EXPECT_FALSE(host.playListMenu);
    EXPECT_TRUE(state.BusyFlag);
}

TEST_F(EngineTest, AStartWhileTheDiscPlaysKeepsTheDeviceOpen)
{
    engine->PlayCd(1);
    clock.advance(1000);
    commands.clear();
    engine->PlayCd(2);
    EXPECT_EQ(count("Close CDAudio"), 0);
    EXPECT_EQ(count("Seek CDAudio to 2"), 1);
}

TEST_F(EngineTest, ClockMovesTimeLabelsKnobAndTheDueLyricLine)
{
    writeLyric("Track01.txt", Lyric1.toUtf8());
    engine->PlayCd(1);
    clock.advance(500);   // the first tick after a start only clears the guard
    EXPECT_FALSE(state.BusyFlag);
    EXPECT_EQ(host.labels[0], "00:00:00");

    clock.advance(1000);  // 1.5 s
    EXPECT_EQ(host.labels[0], "00:01:37");
    EXPECT_EQ(host.labels[1], "03:00:00");
    EXPECT_EQ(host.labels[2], "<1>");
    EXPECT_TRUE(host.labelEnabled[0]);
    EXPECT_EQ(state.PlayTimeText, "00:01:37");
    EXPECT_DOUBLE_EQ(host.knob, 1000 + 1.37 / 180 * 2800);
    EXPECT_EQ(host.messageText, " first line");
    EXPECT_EQ(host.lyrics.current, 1);
    EXPECT_EQ(host.pointer, PlaybackHost::MessagePointer::LyricIcon);
    EXPECT_EQ(host.messageTip, "顯示整篇歌詞");
    EXPECT_EQ(host.markedKey, 0);

    const double knobBefore = host.knob;
    clock.advance(2000);  // 3.5 s
    EXPECT_EQ(host.messageText, " second line");
    EXPECT_GT(host.knob, knobBefore);

    // A line that is only a stamp gives no lyric line: the text stays.
    clock.advance(2000);  // 5.5 s
    EXPECT_EQ(host.messageText, " second line");
    EXPECT_EQ(host.pointer, PlaybackHost::MessagePointer::Cross);
}

TEST_F(EngineTest, MinimizedTaskWindowShowsTheLyricLine)
{
    writeLyric("Track01.txt", Lyric1.toUtf8());
    host.taskState = 1;
    engine->PlayCd(1);
    clock.advance(1500);
    EXPECT_EQ(host.taskCaption, " first line");
}

TEST_F(EngineTest, TrackWithoutLyricsShowsWhereTheFileBelongsAndRunsTheSlideShow)
{
    engine->PlayCd(2);
    EXPECT_EQ(host.labelTips[2], "歌詞須放在:" + discFolder + "/Track02.txt");
    EXPECT_TRUE(state.LyricFile.isEmpty());
    EXPECT_TRUE(host.slideShow);
    clock.advance(1500);
    EXPECT_TRUE(host.messageText.isEmpty());
}

TEST_F(EngineTest, EndOfTheLastTrackStartsTheDiscAgain)
{
    host.endChoice = PlaybackHost::Stop;   // the end-of-disc choice does not apply to audio CDs
    engine->PlayCd(3);
    clock.advance(89000);
    EXPECT_EQ(host.labels[2], "<3>");
    commands.clear();
    clock.advance(2000);
    EXPECT_EQ(count("Seek CDAudio to 1"), 1);
    EXPECT_EQ(count("Play CDAudio"), 1);
    EXPECT_EQ(state.TrackIndex, 0);
    clock.advance(1000);
    EXPECT_EQ(host.labels[2], "<1>");
    EXPECT_EQ(state.TrackIndex, 0);
    EXPECT_EQ(state.LastTrack, 1);
}

TEST_F(EngineTest, PlayingFlagFollowsTheDiscSoAKnobSeekResumesPlay)
{
    engine->PlayCd(1);
    clock.advance(1000);
    EXPECT_TRUE(state.PlayingFlag);

    engine->ChkSeekTime(0.5);
    EXPECT_DOUBLE_EQ(state.SeekTarget, 90);
    EXPECT_EQ(host.labels[0], "01:30:00");
    commands.clear();
    engine->ChkSeek();
    EXPECT_EQ(count("Seek CDAudio to 01:01:30:00 Wait"), 1);
    EXPECT_EQ(count("play CDAudio"), 1);
    clock.advance(1000);
    EXPECT_EQ(host.labels[0].left(5), "01:31");

    // A stopped disc is seeked but not started.
    engine->ChkCD(1);
    clock.advance(500);
    EXPECT_FALSE(state.PlayingFlag);
    commands.clear();
    engine->ChkSeekTime(0.25);
    engine->ChkSeek();
    EXPECT_EQ(count("Seek CDAudio to 01:00:45:00 Wait"), 1);
    EXPECT_EQ(count("play CDAudio"), 0);
}

TEST_F(EngineTest, SeekRatiosStayWithinTheGroove)
{
    engine->PlayCd(1);
    clock.advance(1000);
    engine->ChkSeekTime(1.8);
    EXPECT_DOUBLE_EQ(state.SeekTarget, 180);
    engine->ChkSeekTime(-0.3);
    EXPECT_DOUBLE_EQ(state.SeekTarget, 0);
}

TEST_F(EngineTest, DiscSpinningUpIsNotRestartedEveryTick)
{
    simulatedDisc().setSpinUpMs(4000);
    simulatedDisc().insertAudioDisc({180000, 120000, 90000});
    engine->Timer1().start();
    clock.advance(3000);
    EXPECT_EQ(count("Seek CDAudio to 1"), 0);
    EXPECT_EQ(count("Play CDAudio"), 0);
    EXPECT_EQ(state.MediaLength, 0);
}

TEST_F(EngineTest, ControlBarCodesOnAnAudioCd)
{
    engine->PlayCd(1);
    clock.advance(1000);

    commands.clear();
    engine->ChkCD(0);     // the toggle starts as "play"
    EXPECT_EQ(commands, QStringList{"Play CDAudio"});
    EXPECT_EQ(host.playKeyFace, 1);
    EXPECT_TRUE(state.CdPaused);
    commands.clear();
    engine->ChkCD(0);
    EXPECT_EQ(commands, QStringList{"Pause CDAudio"});
    EXPECT_EQ(host.playKeyFace, 0);
    EXPECT_FALSE(state.CdPaused);
    EXPECT_FALSE(state.BusyFlag);

    engine->ChkCD(1);
    EXPECT_EQ(commands.last(), "Stop CDAudio");
    EXPECT_FALSE(state.CdPaused);

    state.SeekPos = 30;
    state.MediaLength = 180;
    commands.clear();
    engine->ChkCD(5);     // forward 60
    EXPECT_DOUBLE_EQ(state.SeekTarget, 90);
    EXPECT_EQ(count("Seek CDAudio to 01:01:30:00 Wait"), 1);
    engine->ChkCD(2);     // back 60, not below 0
    EXPECT_DOUBLE_EQ(state.SeekTarget, 0);
    EXPECT_EQ(count("Seek CDAudio to 01:00:00:00 Wait"), 1);
    state.SeekTarget = 45;
    engine->ChkCD(6);     // seek again to the last target
    EXPECT_EQ(count("Seek CDAudio to 01:00:45:00 Wait"), 1);
    EXPECT_FALSE(state.BusyFlag);

    engine->ChkCD(4);
    EXPECT_EQ(state.VolumeLevel, 1000);
    engine->ChkCD(3);
    EXPECT_EQ(state.VolumeLevel, 900);
    EXPECT_EQ(host.volumeBar, 90);
    EXPECT_EQ(host.labels[2], "Volume=90%");

    commands.clear();
    engine->ChkCD(11);
    EXPECT_EQ(count("Seek CDAudio to 2"), 1);
    engine->ChkCD(11);
    engine->ChkCD(11);    // after the last track: the first again, never track 4
    EXPECT_EQ(count("Seek CDAudio to 1"), 1);
    EXPECT_EQ(count("Seek CDAudio to 4"), 0);
    engine->ChkCD(10);    // previous on track 1 plays track 1 again
    EXPECT_EQ(count("Seek CDAudio to 1"), 2);
    EXPECT_TRUE(files.calls.isEmpty());

    commands.clear();
    engine->ChkCD(7);
    EXPECT_EQ(count("Set CDAudio Door Open"), 1);
    EXPECT_TRUE(state.MediaKind.isEmpty());
    EXPECT_EQ(state.MediaCount, 0);
    EXPECT_TRUE(host.messages.contains("退片中,請稍後..."));
    EXPECT_TRUE(host.enabled);
    engine->ChkCD(7);
    EXPECT_EQ(count("Set CDAudio Door Closed"), 1);
    EXPECT_EQ(host.messageText, "進片中,請稍後...");
}

TEST_F(EngineTest, WithoutAPlayableKindOnlyVolumeAndEjectAct)
{
    for (const QString kind : {"CDROM", ""}) {
        state.MediaKind = kind;
        commands.clear();
        for (int code : {0, 1, 2, 5, 6, 10, 11})
            engine->ChkCD(code);
        EXPECT_TRUE(commands.isEmpty()) << kind.toStdString();
        EXPECT_TRUE(files.calls.isEmpty());
    }
    state.VolumeLevel = 50;
    engine->ChkCD(3);
    EXPECT_EQ(state.VolumeLevel, 0);
    engine->ChkCD(3);
    EXPECT_EQ(state.VolumeLevel, 0);
    state.VolumeLevel = 950;
    engine->ChkCD(4);
    EXPECT_EQ(state.VolumeLevel, 1000);
    engine->ChkCD(7);
    EXPECT_EQ(count("Set CDAudio Door Open"), 1);
}

TEST_F(EngineTest, MixedDiscNeverGoesBackToItsDataTrack)
{
    simulatedDisc().insertDisc({{60000, false}, {120000, true}, {90000, true}});
    state.MixedDisc = true;
    engine->PlayCd(2);
    clock.advance(1000);
    commands.clear();
    engine->ChkCD(10);
    EXPECT_EQ(count("Seek CDAudio to 2"), 1);
    EXPECT_EQ(count("Seek CDAudio to 1"), 0);

    engine->ChkCD(11);
    engine->ChkCD(11);    // past the last track: the first audio track
    EXPECT_EQ(count("Seek CDAudio to 1"), 0);
    EXPECT_EQ(count("Seek CDAudio to 2"), 2);

    engine->PlayCd(3);
    commands.clear();
    clock.advance(92000);  // end of the disc
    EXPECT_EQ(count("Seek CDAudio to 2"), 1);
    EXPECT_EQ(count("Seek CDAudio to 1"), 0);
}

TEST_F(EngineTest, ResetMediaClosesEverythingAndResetsThePad)
{
    engine->PlayCd(1);
    commands.clear();
    const int padResets = host.chkLabCalls;
    engine->ResetMedia();
    EXPECT_EQ(commands, (QStringList{"Stop CDAudio wait", "close CDAudio wait"}));
    EXPECT_EQ(state.MediaCount, 0);
    EXPECT_EQ(host.chkLabCalls, padResets + 1);
    EXPECT_FALSE(host.slideShow);
}
