// The player with the real media engine on a display of its own: a song
// folder holding a video, an MP3 and a WAV with its lyric file, played on,
// skipped past their ends with the forward key and the seek knob, and the
// player still running.
#include "Cp950.h"
#include "TestMidi.h"
#include "RealPlayerSession.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace {

constexpr int Forward = 5;  // control-bar key: forward one seek step ("1  Min")
constexpr int NextSongWithinMs = 2000;

std::string shown(const QMap<QString, QString> &panel)
{
    QStringList lines;
    for (auto it = panel.begin(); it != panel.end(); ++it) {
        if (!it.key().startsWith(QLatin1String("Pic")))
            lines << it.key() + u'=' + it.value();
    }
    return lines.join(QLatin1String(" | ")).toStdString();
}

class RealMediaRoadTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (const QString missing = session.missing(); !missing.isEmpty())
            GTEST_SKIP() << missing.toStdString();
        const QStringList tone = {"-f", "lavfi", "-i"};
        ASSERT_TRUE(session.makeMedia("01video.mpg", tone + QStringList{"testsrc=duration=3:size=160x120:rate=25"} + tone
                                                         + QStringList{"sine=frequency=330:duration=3", "-c:v",
                                                                       "mpeg1video", "-c:a", "mp2", "-f", "mpeg"}));
        ASSERT_TRUE(session.makeMedia("02song.mp3", tone + QStringList{"sine=frequency=440:duration=30", "-b:a", "64k"}));
        ASSERT_TRUE(session.makeMedia("03tone.wav", tone + QStringList{"sine=frequency=550:duration=20", "-ar", "8000",
                                                                       "-ac", "1"}));
        // Its lyric lines at 0, 1 and 2 seconds.
        ASSERT_TRUE(Cp950::writeTextFile(session.musicFolder() + "/03tone.txt",
                                         Cp950::joinCrLf({"長音", "00:00:0第一句", "00:01:0第二句", "00:02:0第三句"})));
    }

    // Presses forward and tells how long until the title line names the next song.
    qint64 forwardUntil(const QString &nextTitle)
    {
        QElapsedTimer waited;
        waited.start();
        EXPECT_TRUE(session.pressKey(Forward));
        if (!session.waitForPanel("Label2(2)", nextTitle, 6000))
            return -1;
        return waited.elapsed();
    }

    RealPlayerSession session;
};

// A folder of two MIDI songs written here (type 0 with a tempo change, type 1
// with its lyric file) and an MP3.
class RealMidiRoadTest : public RealMediaRoadTest
{
protected:
    void SetUp() override
    {
        if (const QString missing = session.missing(); !missing.isEmpty())
            GTEST_SKIP() << missing.toStdString();
        const QString folder = session.musicFolder();
        ASSERT_TRUE(writeFile(folder + "/01first.mid", testMidiFile({0, 16, 120, 240})));  // 6 s
        ASSERT_TRUE(writeFile(folder + "/02second.mid", testMidiFile({1, 16, 60, 120})));  // 12 s
        ASSERT_TRUE(Cp950::writeTextFile(folder + "/02second.txt",
                                         Cp950::joinCrLf({"電子琴", "00:00:0第一句", "00:02:0第二句", "00:04:0第三句"})));
        ASSERT_TRUE(session.makeMedia("03song.mp3", {"-f", "lavfi", "-i", "sine=frequency=440:duration=30", "-b:a", "64k"}));
    }
};

} // namespace

TEST_F(RealMediaRoadTest, AVideoAnMp3AndAWavPlayOnPastTheirEndsAndThePlayerKeepsRunning)
{
    ASSERT_TRUE(session.start());
    ASSERT_TRUE(session.waitForPanel("Label2(2)", "01-01 01video.mpg", 30000))
        << shown(session.panel()) << session.output().toStdString();
    ASSERT_TRUE(session.waitForPanel("Label2(0)", "00:00:01", 5000)) << shown(session.panel());

    // Forward a minute from within the video: past its end, the MP3 follows.
    const qint64 toMp3 = forwardUntil("01-02 02song.mp3");
    ASSERT_GE(toMp3, 0) << shown(session.panel()) << session.output().toStdString();
    EXPECT_LT(toMp3, NextSongWithinMs);
    ASSERT_TRUE(session.running()) << session.output().toStdString();
    // Its length in hundredths, "mm:ss:cc" (the encoder adds a few to the 30 s).
    EXPECT_TRUE(session.waitForPanel(
        "Label2(1)", [](const QString &length) { return length.startsWith("00:30:"); }, 3000))
        << shown(session.panel());

    // Forward past the end of the MP3: the WAV follows.
    const qint64 toWav = forwardUntil("01-03 03tone.wav");
    ASSERT_GE(toWav, 0) << shown(session.panel());
    EXPECT_LT(toWav, NextSongWithinMs);

    // The WAV counts in hundredths like a song file, and its lyric line moves.
    EXPECT_TRUE(session.waitForPanel("Label2(1)", "00:20:00", 3000)) << shown(session.panel());
    EXPECT_TRUE(session.waitForPanel("Label1", "第二句", 4000)) << shown(session.panel());
    EXPECT_TRUE(session.waitForPanel("Label1", "第三句", 4000)) << shown(session.panel());

    // A minute forward reaches its end: the folder starts again with the video
    // (opened twice with the waits a video start takes), which now plays to
    // its own end and hands over to the MP3.
    ASSERT_GE(forwardUntil("01-01 01video.mpg"), 0) << shown(session.panel());
    EXPECT_TRUE(session.waitForPanel("Label2(2)", "01-02 02song.mp3", 8000)) << shown(session.panel());

    // The seek knob dragged past the far right of its groove: the MP3 ends
    // there and the WAV follows.
    ASSERT_TRUE(session.waitForPanel("Label2(0)", [](const QString &at) { return at > "00:00:50"; }, 3000));
    QElapsedTimer waited;
    waited.start();
    ASSERT_TRUE(session.dragKnobToTheEnd());
    EXPECT_TRUE(session.waitForPanel("Label2(2)", "01-03 03tone.wav", 6000)) << shown(session.panel());
    EXPECT_LT(waited.elapsed(), NextSongWithinMs + 1000);  // the drag itself takes most of a second

    ASSERT_TRUE(session.running()) << session.output().toStdString();
    EXPECT_EQ(session.quit(), 0) << session.output().toStdString();
}

TEST_F(RealMidiRoadTest, MidiSongsPlayInTheFolderBetweenOtherSongs)
{
    const auto after = [](const char *time) { return [time](const QString &at) { return at > time; }; };
    ASSERT_TRUE(session.start());
    ASSERT_TRUE(session.waitForPanel("Label2(2)", "01-01 01first.mid", 30000))
        << shown(session.panel()) << session.output().toStdString();
    // Its length from the tempo map, and the clock moves.
    EXPECT_TRUE(session.waitForPanel("Label2(1)", "00:06:00", 10000)) << shown(session.panel());
    EXPECT_TRUE(session.waitForPanel("Label2(0)", after("00:00:50"), 10000)) << shown(session.panel());

    // Played to its end, the next song follows; its lyric line moves on with the music.
    ASSERT_TRUE(session.waitForPanel("Label2(2)", "01-02 02second.mid", 20000)) << shown(session.panel());
    EXPECT_TRUE(session.waitForPanel("Label2(1)", "00:12:00", 10000)) << shown(session.panel());
    EXPECT_TRUE(session.waitForPanel("Label1", "第二句", 15000)) << shown(session.panel());
    EXPECT_TRUE(session.waitForPanel("Label1", "第三句", 15000)) << shown(session.panel());

    // Forward a minute: past its end, the MP3 follows.
    ASSERT_TRUE(session.pressKey(Forward));
    ASSERT_TRUE(session.waitForPanel("Label2(2)", "01-03 03song.mp3", 20000)) << shown(session.panel());

    // The seek knob at the far right ends the MP3 and the folder starts again;
    // on the first MIDI song it ends that one too.
    ASSERT_TRUE(session.waitForPanel("Label2(0)", after("00:00:50"), 10000)) << shown(session.panel());
    ASSERT_TRUE(session.dragKnobToTheEnd());
    ASSERT_TRUE(session.waitForPanel("Label2(2)", "01-01 01first.mid", 20000)) << shown(session.panel());
    ASSERT_TRUE(session.waitForPanel("Label2(0)", after("00:00:00"), 10000)) << shown(session.panel());
    ASSERT_TRUE(session.dragKnobToTheEnd());
    ASSERT_TRUE(session.waitForPanel("Label2(2)", "01-02 02second.mid", 20000)) << shown(session.panel());

    ASSERT_TRUE(session.running()) << session.output().toStdString();
    EXPECT_EQ(session.quit(), 0) << session.output().toStdString();
}

TEST_F(RealMidiRoadTest, WithoutASoundFontThePlayerSaysSoOnceAndKeepsRunning)
{
    qputenv("PELLORAN_MIDI_SOUNDFONT", "/nonexistent/default-GM.sf2");
    const bool started = session.start();
    qunsetenv("PELLORAN_MIDI_SOUNDFONT");
    ASSERT_TRUE(started);
    QString said;
    waitUntil([&] { return (said += session.output()).contains("fluid-soundfont-gm"); }, 30000, 200);
    ASSERT_TRUE(said.contains("fluid-soundfont-gm")) << said.toStdString();
    // Whatever else the player tries of the folder, the message is not said again.
    waitUntil([&] { return (said += session.output()).count("fluid-soundfont-gm") > 1; }, 8000, 200);
    EXPECT_EQ(said.count("fluid-soundfont-gm"), 1) << said.toStdString();
    ASSERT_TRUE(session.running()) << said.toStdString();
    EXPECT_EQ(session.quit(), 0) << session.output().toStdString();
}
