// The player with the real media engine on a display of its own: a song
// folder holding a video, an MP3, a WAV with its lyric file and two songs
// that cannot be played, played on, skipped past their ends with the forward
// key and the seek knob, and the player still running; and a folder in which
// nothing plays.
#include "Cp950.h"
#include "TestMidi.h"
#include "RealPlayerSession.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

constexpr int Play = 0, Forward = 5;  // control-bar keys: play, forward one seek step ("1  Min")
constexpr int VideoSize = 1;           // title button: its menu holds the capture items
constexpr unsigned long KeyDown = 0xff54, KeyReturn = 0xff0d, KeyEscape = 0xff1b;
const QString Continuous = QStringLiteral("連續抓圖"), Single = QStringLiteral("單張抓圖");
const QString PlayFailed = QStringLiteral("播放媒體錯誤");

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
        if (const QString missing = session.unavailable(); !missing.isEmpty())
            GTEST_SKIP() << missing.toStdString();
    }

    void makeSongs()
    {
        const QStringList tone = {"-f", "lavfi", "-i"};
        ASSERT_TRUE(session.makeMedia("music/01video.mpg", tone + QStringList{"testsrc=duration=12:size=160x120:rate=25"} + tone
                                                         + QStringList{"sine=frequency=330:duration=12", "-c:v",
                                                                       "mpeg1video", "-c:a", "mp2", "-f", "mpeg"}));
        ASSERT_TRUE(session.makeMedia("music/02song.mp3", tone + QStringList{"sine=frequency=440:duration=30", "-b:a", "64k"}));
        ASSERT_TRUE(session.makeMedia("music/03tone.wav", tone + QStringList{"sine=frequency=550:duration=20", "-ar", "8000",
                                                                       "-ac", "1"}));
        // Its lyric lines at 0, 1 and 2 seconds.
        ASSERT_TRUE(Cp950::writeTextFile(session.musicFolder() + "/03tone.txt",
                                         Cp950::joinCrLf({"長音", "00:00:0第一句", "00:01:0第二句", "00:02:0第三句"})));
        makeUnplayableSongs("04empty.mp3", "05noise.mp3");
    }

    // An empty file and one of noise, both named as songs.
    void makeUnplayableSongs(const QString &empty, const QString &noise)
    {
        ASSERT_TRUE(session.writeFile(RealPlayerSession::music(empty), {}));
        QByteArray bytes(64 * 1024, Qt::Uninitialized);
        QRandomGenerator(18).fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
        ASSERT_TRUE(session.writeFile(RealPlayerSession::music(noise), bytes));
    }

    // Presses forward and waits until the title line names the next song.
    bool forwardUntil(const QString &nextTitle)
    {
        EXPECT_TRUE(session.pressKey("PicCtl", Forward));
        return session.waitForState("Label2(2)", nextTitle);
    }

    // The player tells that the song it started last, name, cannot be played.
    bool failureShownFor(const QString &name)
    {
        bool shown = false;
        waitUntil([&] {
            // The song started last, before and after the message is read.
            const int songs = int(session.songsStarted().size());
            shown = session.songsStarted().value(songs - 1) == name && session.state().value("Label1") == PlayFailed
                    && session.songsStarted().size() == songs;
            return shown;
        }, EventWaitMs, 50);
        return shown;
    }

    // Pops up the video-size title button's menu with the right button; whether it showed.
    bool popUpCaptureMenu()
    {
        const QRect button = session.key("PicButton", VideoSize);
        XInput &input = session.input();
        if (button.isNull() || !input.usable())
            return false;
        input.click(button.center().x(), button.center().y(), 3);
        return session.waitForState("Menu(" + Continuous + ")", [](const QString &v) { return !v.isEmpty(); });
    }

    // With the menu up, the down key until the item is reached, then the return key.
    bool chooseMenuItem(const QString &item)
    {
        for (int i = 0; i < 6; ++i) {
            const QString before = session.state().value("MenuActive");
            if (before == item) {
                session.input().type(KeyReturn);
                return true;
            }
            session.input().type(KeyDown);
            session.waitForState("MenuActive", [&](const QString &now) { return now != before; });
        }
        return false;
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
        if (const QString missing = session.unavailable(); !missing.isEmpty())
            GTEST_SKIP() << missing.toStdString();
        const QString folder = session.musicFolder();
        ASSERT_TRUE(writeFile(folder + "/01first.mid", testMidiFile({0, 16, 120, 240})));  // 6 s
        ASSERT_TRUE(writeFile(folder + "/02second.mid", testMidiFile({1, 16, 60, 120})));  // 12 s
        ASSERT_TRUE(Cp950::writeTextFile(folder + "/02second.txt",
                                         Cp950::joinCrLf({"電子琴", "00:00:0第一句", "00:02:0第二句", "00:04:0第三句"})));
        ASSERT_TRUE(session.makeMedia("music/03song.mp3", {"-f", "lavfi", "-i", "sine=frequency=440:duration=30", "-b:a", "64k"}));
    }
};

} // namespace

TEST_F(RealMediaRoadTest, AVideoAnMp3AndAWavPlayOnPastTheirEndsAndPastSongsThatCannotBePlayed)
{
    makeSongs();
    ASSERT_TRUE(session.start());
    ASSERT_TRUE(session.waitForState("Label2(2)", "01-01 01video.mpg"))
        << shown(session.state()) << session.output().toStdString();
    ASSERT_TRUE(session.waitForState("Label2(0)", "00:00:01")) << shown(session.state());

    // A video offers capture. The capture dialog refuses a name whose extension is not "."
    // and three letters: the sheets after the first could not be numbered.
    ASSERT_TRUE(popUpCaptureMenu()) << shown(session.state());
    EXPECT_EQ(session.state().value("Menu(" + Continuous + ")"), "1");
    EXPECT_EQ(session.state().value("Menu(" + Single + ")"), "1");
    ASSERT_TRUE(chooseMenuItem(Continuous)) << shown(session.state());
    const QString captureDialog = QStringLiteral("window(抓圖參數設定)");
    ASSERT_TRUE(session.waitFor([&] { return session.state().contains(captureDialog); })) << shown(session.state());
    ASSERT_TRUE(session.command("text Text9 abcd.c"));
    ASSERT_TRUE(session.command("click 確定"));
    EXPECT_TRUE(session.waitForState("LastMessage", "抓圖檔名須有副檔名 (例如 Cut0000.BMP)")) << shown(session.state());
    EXPECT_TRUE(session.state().contains(captureDialog)) << "the dialog stays for another name";
    ASSERT_TRUE(session.command("click 取消"));
    ASSERT_TRUE(session.waitFor([&] { return !session.state().contains(captureDialog); }));
    EXPECT_TRUE(session.pressKey("PicCtl", Play));  // the cancelled run left the video stopped

    // Forward a minute from within the video: past its end, the MP3 follows.
    ASSERT_TRUE(forwardUntil("01-02 02song.mp3")) << shown(session.state()) << session.output().toStdString();
    // A song without pictures: nothing to capture.
    ASSERT_TRUE(popUpCaptureMenu()) << shown(session.state());
    EXPECT_EQ(session.state().value("Menu(" + Continuous + ")"), "0");
    EXPECT_EQ(session.state().value("Menu(" + Single + ")"), "0");
    session.input().type(KeyEscape);
    ASSERT_TRUE(session.waitFor([&] { return !session.state().contains("Menu(" + Continuous + ")"); }));
    ASSERT_TRUE(session.running()) << session.output().toStdString();
    // Its length in hundredths, "mm:ss:cc" (the encoder adds a few to the 30 s).
    EXPECT_TRUE(session.waitForState(
        "Label2(1)", [](const QString &length) { return length.startsWith("00:30:"); }))
        << shown(session.state());

    // Forward past the end of the MP3: the WAV follows.
    ASSERT_TRUE(forwardUntil("01-03 03tone.wav")) << shown(session.state());

    // The WAV counts in hundredths like a song file, and its lyric line moves.
    EXPECT_TRUE(session.waitForState("Label2(1)", "00:20:00")) << shown(session.state());
    EXPECT_TRUE(session.waitForState("Label1", "第二句")) << shown(session.state());
    EXPECT_TRUE(session.waitForState("Label1", "第三句")) << shown(session.state());

    // A minute forward reaches its end. The empty song and the noise cannot be
    // played: each says so, and the folder starts again with the video (opened
    // twice with the waits a video start takes), which now plays to its own
    // end and hands over to the MP3.
    EXPECT_TRUE(session.pressKey("PicCtl", Forward));
    EXPECT_TRUE(failureShownFor("04empty.mp3")) << shown(session.state());
    EXPECT_TRUE(failureShownFor("05noise.mp3")) << shown(session.state());
    ASSERT_TRUE(session.waitForState("Label2(2)", "01-01 01video.mpg")) << shown(session.state());
    EXPECT_TRUE(session.waitForState("Label2(2)", "01-02 02song.mp3")) << shown(session.state());
    EXPECT_EQ(session.songsStarted().mid(2, 4).join(u' ').toStdString(),
              "03tone.wav 04empty.mp3 05noise.mp3 01video.mpg");

    // The seek knob dragged past the far right of its groove: the MP3 ends
    // there and the WAV follows.
    ASSERT_TRUE(
        session.waitForState("Label2(0)", [](const QString &at) { return at > "00:00:50"; }));
    ASSERT_TRUE(session.dragKnobToTheEnd());
    EXPECT_TRUE(session.waitForState("Label2(2)", "01-03 03tone.wav")) << shown(session.state());

    ASSERT_TRUE(session.running()) << session.output().toStdString();
    EXPECT_EQ(session.quit(), 0) << session.output().toStdString();
}

TEST_F(RealMediaRoadTest, AFolderOfSongsThatCannotBePlayedIsTriedOnceAndThePlayerKeepsRunning)
{
    makeUnplayableSongs("01empty.mp3", "02noise.mp3");
    ASSERT_TRUE(session.start());
    EXPECT_TRUE(failureShownFor("01empty.mp3")) << shown(session.state()) << session.output().toStdString();
    EXPECT_TRUE(failureShownFor("02noise.mp3")) << shown(session.state());

    // One round, then the player rests: no song is started again.
    waitUntil([&] { return session.songsStarted().size() > 2; }, 10000);
    EXPECT_EQ(session.songsStarted().size(), 2) << session.songsStarted().join(u'\n').toStdString();
    EXPECT_EQ(session.state().value("Label1"), PlayFailed);
    ASSERT_TRUE(session.running()) << session.output().toStdString();
    EXPECT_EQ(session.quit(), 0) << session.output().toStdString();
}

TEST_F(RealMidiRoadTest, MidiSongsPlayInTheFolderBetweenOtherSongs)
{
    const auto after = [](const char *time) { return [time](const QString &at) { return at > time; }; };
    ASSERT_TRUE(session.start());
    ASSERT_TRUE(session.waitForState("Label2(2)", "01-01 01first.mid"))
        << shown(session.state()) << session.output().toStdString();
    // Its length from the tempo map, and the clock moves.
    EXPECT_TRUE(session.waitForState("Label2(1)", "00:06:00")) << shown(session.state());
    EXPECT_TRUE(session.waitForState("Label2(0)", after("00:00:50"))) << shown(session.state());

    // Played to its end, the next song follows; its lyric line moves on with the music.
    ASSERT_TRUE(session.waitForState("Label2(2)", "01-02 02second.mid")) << shown(session.state());
    EXPECT_TRUE(session.waitForState("Label2(1)", "00:12:00")) << shown(session.state());
    EXPECT_TRUE(session.waitForState("Label1", "第二句")) << shown(session.state());
    EXPECT_TRUE(session.waitForState("Label1", "第三句")) << shown(session.state());

    // Forward a minute: past its end, the MP3 follows.
    ASSERT_TRUE(session.pressKey("PicCtl", Forward));
    ASSERT_TRUE(session.waitForState("Label2(2)", "01-03 03song.mp3")) << shown(session.state());

    // The seek knob at the far right ends the MP3 and the folder starts again;
    // on the first MIDI song it ends that one too.
    ASSERT_TRUE(session.waitForState("Label2(0)", after("00:00:50"))) << shown(session.state());
    ASSERT_TRUE(session.dragKnobToTheEnd());
    ASSERT_TRUE(session.waitForState("Label2(2)", "01-01 01first.mid")) << shown(session.state());
    ASSERT_TRUE(session.waitForState("Label2(0)", after("00:00:00"))) << shown(session.state());
    ASSERT_TRUE(session.dragKnobToTheEnd());
    ASSERT_TRUE(session.waitForState("Label2(2)", "01-02 02second.mid")) << shown(session.state());

    ASSERT_TRUE(session.running()) << session.output().toStdString();
    EXPECT_EQ(session.quit(), 0) << session.output().toStdString();
}

TEST_F(RealMidiRoadTest, WithoutASoundFontThePlayerSaysSoOnceAndKeepsRunning)
{
    session.setVariable("PELLORAN_MIDI_SOUNDFONT", "/nonexistent/default-GM.sf2");
    ASSERT_TRUE(session.start());
    const auto said = [&] { return session.output(); };
    ASSERT_TRUE(session.waitFor([&] { return said().contains("fluid-soundfont-gm"); })) << said().toStdString();
    // Whatever else the player tries of the folder, the message is not said again.
    waitUntil([&] { return said().count("fluid-soundfont-gm") > 1; }, 8000, 200);
    EXPECT_EQ(said().count("fluid-soundfont-gm"), 1) << said().toStdString();
    ASSERT_TRUE(session.running()) << said().toStdString();
    EXPECT_EQ(session.quit(), 0) << session.output().toStdString();
}
