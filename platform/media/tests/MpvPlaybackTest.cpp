// The media window control and file aliases over libmpv, with real files
// made at test time and null outputs.
#include "EventWait.h"
#include "Clock.h"
#include "DecoderFit.h"
#include "MciCommand.h"
#include "MciWnd.h"
#include "MediaBackend.h"
#include "MediaTestSupport.h"
#include "TestMidi.h"
#include "MessageBox.h"
#include "MidiSynth.h"
#include "MpvPlayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Writes a word to a list when a key press reaches a widget.
class KeyRecorder : public QObject {
public:
    KeyRecorder(QWidget *widget, const QString &word, QStringList &happened) : m_word(word), m_happened(happened)
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress)
            m_happened << m_word;
        return false;
    }

private:
    QString m_word;
    QStringList &m_happened;
};

class MpvPlaybackTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ensureApplication();
        s_dir = new QTemporaryDir;
        s_mp3 = s_dir->filePath("tone.mp3");
        s_mpg = s_dir->filePath("bars.mpg");
        s_haveFiles =
            makeMediaWithFfmpeg({"-f", "lavfi", "-i", "sine=frequency=440:duration=2", "-b:a", "128k"}, s_mp3) &&
            makeMediaWithFfmpeg({"-f", "lavfi", "-i", "testsrc=duration=2:size=320x240:rate=25", "-f", "lavfi", "-i",
                                 "sine=frequency=330:duration=2", "-c:v", "mpeg1video", "-c:a", "mp2", "-f", "mpeg"},
                                s_mpg);
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }
    void SetUp() override
    {
        if (!s_haveFiles)
            GTEST_SKIP() << "ffmpeg could not make the test media";
        m_saved = mediaBackend();
        setMediaBackend(MediaBackend::Real);
        setMediaClock(nullptr);
    }
    void TearDown() override
    {
        mciResetDevices();
        setMediaBackend(m_saved);
    }

    static QTemporaryDir *s_dir;
    static QString s_mp3, s_mpg;
    static bool s_haveFiles;
    MediaBackend m_saved = MediaBackend::Simulated;
};

QTemporaryDir *MpvPlaybackTest::s_dir = nullptr;
QString MpvPlaybackTest::s_mp3;
QString MpvPlaybackTest::s_mpg;
bool MpvPlaybackTest::s_haveFiles = false;

TEST_F(MpvPlaybackTest, Mp3ReportsLengthAndPlaysWithPositionEvents)
{
    MciWnd control;
    QList<int> modes;
    QList<qint64> positions;
    QObject::connect(&control, &MciWnd::ExtendedModeChange, [&](int m) { modes.append(m); });
    QObject::connect(&control, &MciWnd::PositionChange, [&](qint64 p) { positions.append(p); });
    control.setFileName(s_mp3);
    EXPECT_EQ(control.Mode(), "stopped");
    EXPECT_EQ(control.DeviceType(), "MPEGAudio");
    EXPECT_EQ(control.unitsPerSecond(), 1000.0);
    EXPECT_NEAR(control.Length(), 2000, 100);
    EXPECT_TRUE(control.naturalSize().isEmpty());

    control.setCommand("Play");
    EXPECT_EQ(control.Mode(), "playing");
    ASSERT_FALSE(modes.isEmpty());
    EXPECT_EQ(modes.last(), MciWnd::ModePlaying);
    ASSERT_TRUE(waitUntil([&] { return control.Position() > 300; }, EventWaitMs));
    EXPECT_FALSE(positions.isEmpty());

    control.setCommand("Stop");
    const qint64 held = control.Position();
    mediaClock().wait(200);
    EXPECT_NEAR(control.Position(), held, 30);
    EXPECT_EQ(control.Mode(), "stopped");
}

TEST_F(MpvPlaybackTest, EndReportsLengthOnceWithALastPositionEvent)
{
    MciWnd control;
    control.setFileName(s_mp3);
    control.setSpeed(4000);
    EXPECT_EQ(control.Speed(), 4000);
    QList<qint64> reported;
    QObject::connect(&control, &MciWnd::PositionChange, [&](qint64 p) { reported.append(p); });
    control.setCommand("play");
    ASSERT_TRUE(waitUntil([&] { return control.Mode() == "stopped"; }, EventWaitMs));
    EXPECT_EQ(control.Position(), control.Length());
    ASSERT_FALSE(reported.isEmpty());
    EXPECT_EQ(reported.last(), control.Length());
    // Playing again at the end starts from the beginning and moves on (the
    // engine's news after an end must still arrive).
    control.setCommand("play");
    EXPECT_LT(control.Position(), control.Length() / 2);
    ASSERT_TRUE(waitUntil([&] { return control.Position() > 200 && control.Position() < control.Length(); }, EventWaitMs));
    control.setCommand("close");
    EXPECT_EQ(control.Mode(), "not ready");
}

TEST_F(MpvPlaybackTest, ASeekToTheEndEndsTheMediumAndPositionReachesLength)
{
    for (const QString &file : {s_mp3, s_mpg}) {
        MciWnd control;
        int ends = 0;
        QList<qint64> reported;
        QObject::connect(&control, &MciWnd::PositionChange, [&](qint64 p) { reported.append(p); });
        QObject::connect(&control, &MciWnd::ExtendedModeChange, [&](int mode) {
            ends += mode == MciWnd::ModeStopped && control.Position() == control.Length();
        });
        control.setFileName(file);
        control.setCommand("play");
        ASSERT_TRUE(waitUntil([&] { return control.Position() > 0; }, EventWaitMs)) << file.toStdString();
        // Forward past the end while playing: stopped there, once, the last
        // report at the length.
        control.setPosition(control.Length() + 50);
        EXPECT_EQ(control.Position(), control.Length());
        ASSERT_TRUE(waitUntil([&] { return control.Mode() == "stopped"; }, EventWaitMs)) << file.toStdString();
        EXPECT_EQ(ends, 1);
        ASSERT_FALSE(reported.isEmpty());
        EXPECT_EQ(reported.last(), control.Length());

        // Put at the end while stopped, then played (the knob at the far
        // right): it ends at once instead of starting over.
        control.setPosition(0);
        control.setPosition(control.Length());
        control.setCommand("play");
        ASSERT_TRUE(waitUntil([&] { return control.Mode() == "stopped"; }, EventWaitMs))
            << file.toStdString() << " at " << control.Position() << " of " << control.Length();
        EXPECT_EQ(ends, 2);
        EXPECT_EQ(control.Position(), control.Length());
        // Played again after that end: from the start.
        control.setCommand("play");
        EXPECT_LT(control.Position(), control.Length() / 2);
    }
}

TEST_F(MpvPlaybackTest, SeekAndVolumeAct)
{
    MciWnd control;
    control.setFileName(s_mp3);
    control.setPosition(1500);
    EXPECT_NEAR(control.Position(), 1500, 60);
    control.setVolume(1500);
    EXPECT_EQ(control.Volume(), 1000);
    control.setVolume(300);
    EXPECT_EQ(control.Volume(), 300);
    control.setCommand("play");
    ASSERT_TRUE(waitUntil([&] { return control.Mode() == "stopped"; }, EventWaitMs));
    EXPECT_EQ(control.Position(), control.Length());
}

TEST_F(MpvPlaybackTest, VolumeAndSpeedReachTheEngine)
{
    MpvPlayer player;
    ASSERT_EQ(player.open(s_mp3), MediaPlayer::Opened);
    player.setVolume(300);
    EXPECT_DOUBLE_EQ(player.engineProperty("volume"), 30.0);
    setDeviceVolume(500);
    EXPECT_DOUBLE_EQ(player.engineProperty("volume"), 15.0);
    setDeviceVolume(1000);
    EXPECT_DOUBLE_EQ(player.engineProperty("volume"), 30.0);
    player.setSpeed(2.25);
    EXPECT_DOUBLE_EQ(player.engineProperty("speed"), 2.25);
    // A small MPEG picture is decoded on one thread; other media keep the engine's choice.
    EXPECT_DOUBLE_EQ(player.engineProperty("vd-lavc-threads"), 0.0);
    ASSERT_EQ(player.open(s_mpg), MediaPlayer::Opened);
    EXPECT_DOUBLE_EQ(player.engineProperty("vd-lavc-threads"), 1.0);
    EXPECT_EQ(DecoderFit::mpegPictureSize(QByteArray("\x00\x00\x01\xB3\x2D\x02\x40", 7)), QSize(720, 576));
    EXPECT_EQ(DecoderFit::optionsFor(s_mp3, DecoderFit::Source::File, true), "");
    // The software output converts a small picture on one thread; a disc image is read
    // without a reader thread, a drive with one.
    EXPECT_EQ(DecoderFit::optionsFor(s_mpg, DecoderFit::Source::File, true), "vd-lavc-threads=1,zimg-threads=1");
    EXPECT_EQ(DecoderFit::optionsFor(s_mp3, DecoderFit::Source::DiscDrive, false), "vd-lavc-threads=1");
    EXPECT_EQ(DecoderFit::optionsFor(s_mp3, DecoderFit::Source::DiscImage, false), "vd-lavc-threads=1,demuxer-thread=no");
    // The common PAL size is the largest picture decoded on one thread; a pixel more either way
    // is left to the engine.
    for (const auto &[name, size, options] : {std::tuple{"pal.mpg", "\x2D\x02\x40", "vd-lavc-threads=1"},
                                              std::tuple{"wider.mpg", "\x2D\x12\x40", ""},
                                              std::tuple{"taller.mpg", "\x2D\x02\x41", ""}}) {
        QFile header(s_dir->filePath(name));
        ASSERT_TRUE(header.open(QIODevice::WriteOnly));
        header.write(QByteArray("\x00\x00\x01\xB3", 4) + QByteArray(size, 3) + QByteArray(8, '\0'));
        header.close();
        EXPECT_EQ(DecoderFit::optionsFor(header.fileName(), DecoderFit::Source::File, false), options) << name;
    }
    EXPECT_EQ(player.open(s_dir->filePath("nothing-here.mp3")), MediaPlayer::UnreadableFormat);
    EXPECT_EQ(player.state(), MediaPlayer::State::Closed);
}

TEST_F(MpvPlaybackTest, MpegVideoCountsFramesAndGivesItsPicture)
{
    MciWnd control;
    control.setAutosizeWindow(true);
    control.setFileName(s_mpg);
    EXPECT_EQ(control.DeviceType(), "MPEGVideo");
    EXPECT_EQ(control.naturalSize(), QSize(320, 240));
    EXPECT_EQ(control.size(), QSize(320, 240));
    EXPECT_EQ(control.unitsPerSecond(), 30.0);
    EXPECT_NEAR(control.Length(), 60, 4);
    control.setCommand("play");
    ASSERT_TRUE(waitUntil([&] { return control.Position() > 5; }, EventWaitMs));
    const QImage frame = control.currentFrame();
    EXPECT_EQ(frame.size(), QSize(320, 240));
}

TEST_F(MpvPlaybackTest, DamagedFileRaisesUnreadableFormat)
{
    const QString damaged = s_dir->filePath("damaged.mp3");
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, '\x13'));
    file.close();
    MciWnd control;
    QList<int> errors;
    QObject::connect(&control, &MciWnd::ExtendedError, [&](int code) { errors.append(code); });
    control.setFileName(damaged);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors.first(), MciWnd::ErrorUnreadableFormat);
    EXPECT_EQ(control.Mode(), "not ready");
    EXPECT_EQ(control.FileName(), "");
    control.setCommand("Play");  // harmless
    EXPECT_EQ(control.Mode(), "not ready");
}

TEST_F(MpvPlaybackTest, ReadableFileWithoutADecoderRaisesNoDriver)
{
    // A well-formed WAV whose sound is in a coding no decoder knows.
    auto le32 = [](quint32 v) { return QByteArray(1, char(v)) + char(v >> 8) + char(v >> 16) + char(v >> 24); };
    auto le16 = [](quint16 v) { return QByteArray(1, char(v)) + char(v >> 8); };
    const QByteArray fmt = le16(0x7777) + le16(1) + le32(8000) + le32(8000) + le16(1) + le16(8);
    const QByteArray data(16000, '\x11');
    const QByteArray body = "WAVEfmt " + le32(fmt.size()) + fmt + "data" + le32(data.size()) + data;
    const QString odd = s_dir->filePath("odd.wav");
    QFile file(odd);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("RIFF" + le32(body.size()) + body);
    file.close();

    MciWnd control;
    QList<int> errors;
    QObject::connect(&control, &MciWnd::ExtendedError, [&](int code) { errors.append(code); });
    control.setFileName(odd);
    EXPECT_EQ(errors, QList<int>({MciWnd::ErrorNoDriver}));
    EXPECT_EQ(control.Mode(), "not ready");
    EXPECT_EQ(mciSendString("open " + odd + " alias MP3"), MciErrCannotLoadDriver);
}

TEST_F(MpvPlaybackTest, PicturesAreNoMediaAndCoversNoVideo)
{
    const QString picture = s_dir->filePath("cover.png");
    const QString covered = s_dir->filePath("covered.mp3");
    ASSERT_TRUE(makeMediaWithFfmpeg({"-f", "lavfi", "-i", "color=c=red:size=64x64", "-frames:v", "1"}, picture));
    ASSERT_TRUE(makeMediaWithFfmpeg({"-i", s_mp3, "-i", picture, "-map", "0", "-map", "1", "-c:a", "copy",
                                     "-id3v2_version", "3", "-disposition:v", "attached_pic"},
                                    covered));
    MciWnd control;
    QList<int> errors;
    QObject::connect(&control, &MciWnd::ExtendedError, [&](int code) { errors.append(code); });
    control.setFileName(picture);
    EXPECT_EQ(errors, QList<int>({MciWnd::ErrorUnreadableFormat}));
    control.setFileName(covered);
    EXPECT_EQ(errors.size(), 1);
    EXPECT_EQ(control.DeviceType(), "MPEGAudio");
    EXPECT_TRUE(control.naturalSize().isEmpty());
    EXPECT_EQ(control.unitsPerSecond(), 1000.0);
}

// MIDI songs sound through the synthesiser and play as any song file does.
TEST_F(MpvPlaybackTest, MidiSongsPlaySeekAndEndLikeOtherSongs)
{
    const QString type0 = s_dir->filePath("type0.mid");
    const QString type1 = s_dir->filePath("type1.mid");
    const QString wrapped = s_dir->filePath("wrapped.rmi");
    const QString silent = s_dir->filePath("silent.mid");
    const QString damaged = s_dir->filePath("damaged.mid");
    ASSERT_TRUE(writeFile(type0, testMidiFile({0, 8, 120, 240})));
    ASSERT_TRUE(writeFile(type1, testMidiFile({1, 8, 60, 120})));
    ASSERT_TRUE(writeFile(wrapped, riffMidiFile(testMidiFile({1, 4, 120, 120}))));
    ASSERT_TRUE(writeFile(silent, testMidiFile({1, 4, 240, 240, false})));
    ASSERT_TRUE(writeFile(damaged, testMidiFile({}).left(30) + QByteArray(64, '\x13')));
    const QString empty = s_dir->filePath("empty.mid");  // a track that ends where it begins
    ASSERT_TRUE(writeFile(empty, QByteArray("MThd\0\0\0\x06\0\0\0\x01\0\x60MTrk\0\0\0\x04\0\xff\x2f\0", 26)));

    // In a fresh process FluidSynth is opened by the first MIDI song, not by an MP3 before it.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const auto fluidSynthLoaded = [] {
                QFile maps("/proc/self/maps");
                return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libfluidsynth");
            };
            bool openedByTheMidiSong = false;
            {
                MciWnd first;  // gone before the exit, which checks for leaks
                first.setFileName(s_mp3);
                const bool early = fluidSynthLoaded();
                first.setFileName(type0);
                openedByTheMidiSong = !early && fluidSynthLoaded() && first.Length() == 3000;
            }
            std::exit(openedByTheMidiSong ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    if (!MidiSynth::unavailableMessage().isEmpty())
        GTEST_SKIP() << MidiSynth::unavailableMessage().toStdString();

    MciWnd control;
    QList<int> errors;
    QObject::connect(&control, &MciWnd::ExtendedError, [&](int code) { errors.append(code); });
    control.setFileName(type1);
    EXPECT_EQ(control.DeviceType(), "sequencer");
    EXPECT_EQ(control.unitsPerSecond(), 1000.0);
    EXPECT_EQ(control.Length(), 6000);  // four beats at 60 a minute, four at 120
    control.setCommand("Play");
    ASSERT_TRUE(waitUntil([&] { return control.Position() > 300; }, EventWaitMs));
    // The knob: on into the second half, and back.
    control.setPosition(4500);
    EXPECT_NEAR(control.Position(), 4500, 100);
    ASSERT_TRUE(waitUntil([&] { return control.Position() > 4700 && !control.isSeeking(); }, EventWaitMs));
    control.setPosition(1000);
    ASSERT_TRUE(waitUntil([&] { return !control.isSeeking(); }, EventWaitMs));
    EXPECT_NEAR(control.Position(), 1000, 300);
    // Paused, it holds its place.
    control.setCommand("Pause");
    // The engine takes the pause on its own threads; its clock may be read one step on meanwhile.
    waitUntil([] { return false; }, 200);
    const qint64 held = control.Position();
    waitUntil([] { return false; }, 400);
    EXPECT_NEAR(control.Position(), held, 30);
    control.setCommand("Resume");
    // Faster to the end.
    control.setSpeed(2000);
    control.setPosition(5000);
    ASSERT_TRUE(waitUntil([&] { return control.Mode() == "stopped"; }, EventWaitMs));
    EXPECT_EQ(control.Position(), control.Length());

    for (const auto &[file, length] : {std::pair{type0, 3000}, {wrapped, 2000}, {silent, 1000}}) {
        control.setFileName(file);
        EXPECT_EQ(control.Length(), length) << file.toStdString();
        control.setCommand("Play");
        ASSERT_TRUE(waitUntil([&] { return control.Mode() == "stopped"; }, EventWaitMs)) << file.toStdString();
        EXPECT_EQ(control.Position(), length);
    }
    EXPECT_TRUE(errors.isEmpty());
    control.setFileName(damaged);
    control.setFileName(empty);
    EXPECT_EQ(errors, QList<int>({MciWnd::ErrorUnreadableFormat, MciWnd::ErrorUnreadableFormat}));
    EXPECT_EQ(control.Mode(), "not ready");

    // The sound devices' volume, which a sequencer is left to, reaches its engine.
    MpvPlayer player;
    ASSERT_EQ(player.open(type0), MediaPlayer::Opened);
    setDeviceVolume(500);
    EXPECT_DOUBLE_EQ(player.engineProperty("volume"), 50.0);
    setDeviceVolume(1000);

    // The lyric timer's road: the file under an alias.
    QString reply;
    EXPECT_EQ(mciSendString("open \"" + wrapped + "\" alias MP3"), 0);
    EXPECT_EQ(mciSendString("status MP3 length", &reply, 20), 0);
    EXPECT_EQ(reply, "2000");
    EXPECT_EQ(mciSendString("close MP3"), 0);

    // A song of a million notes: while it opens, events run (a timer fires), and a window the
    // open shows (a message) takes keys, but a key pressed on a window there before reaches it
    // only after the open, with its length known.
    const QString dense = s_dir->filePath("dense.mid");
    ASSERT_TRUE(writeFile(dense, denseMidiFile(1'000'000)));
    QWidget window, message;
    window.show();
    QStringList happened;
    const KeyRecorder keys(&window, "key", happened), answers(&message, "answer", happened);
    const auto press = [](QWidget &on) {
        QCoreApplication::postEvent(on.windowHandle(), new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier));
    };
    QTimer::singleShot(0, [&] {
        happened << "timer";
        press(window);
        message.show();
        press(message);
    });
    control.setFileName(dense);
    happened << QString("opened %1").arg(control.Length());
    ASSERT_TRUE(waitUntil([&] { return happened.size() == 4; }, EventWaitMs));
    EXPECT_EQ(happened, (QStringList{"timer", "answer", "opened 1041666", "key"}));
}

// Without a sound font, or with one that cannot be loaded, a MIDI song cannot start;
// the user is told once what to install.
TEST_F(MpvPlaybackTest, WithoutAUsableSoundFontMidiSongsAreRefusedAndTheUserToldOnce)
{
    const QString song = s_dir->filePath("nofont.mid");
    ASSERT_TRUE(writeFile(song, testMidiFile({})));

    // Without FluidSynth itself (a fresh process, before anything here loads it), the message
    // names its package.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            qputenv("PELLORAN_FLUIDSYNTH_LIBRARY", "/nonexistent/libfluidsynth.so.3");
            MessageBox::setAnswerer([](const MessageBox::Request &) { return int(MessageBox::IdOk); });
            int error = 0;
            {
                MciWnd refused;
                QObject::connect(&refused, &MciWnd::ExtendedError, [&](int code) { error = code; });
                refused.setFileName(song);
                waitUntil([] { return !MessageBox::shownRequests().isEmpty(); }, EventWaitMs);
            }
            const QList<MessageBox::Request> told = MessageBox::shownRequests();
            std::exit(error == MciWnd::ErrorUnreadableFormat && told.size() == 1
                              && told.first().prompt.contains("libfluidsynth3") ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");

    // Without its sound font.
    qputenv("PELLORAN_MIDI_SOUNDFONT", QFile::encodeName(s_dir->filePath("missing.sf2")));
    MessageBox::setAnswerer([](const MessageBox::Request &) { return int(MessageBox::IdOk); });
    MessageBox::clearShownRequests();
    MciWnd control;
    QList<int> errors;
    QObject::connect(&control, &MciWnd::ExtendedError, [&](int code) { errors.append(code); });
    control.setFileName(song);
    control.setFileName(song);
    // A sound font that is no sound font: told once too.
    const QString broken = s_dir->filePath("broken.sf2");
    ASSERT_TRUE(writeFile(broken, QByteArray(4096, '\x13')));
    qputenv("PELLORAN_MIDI_SOUNDFONT", QFile::encodeName(broken));
    control.setFileName(song);
    control.setFileName(song);
    waitUntil([] { return MessageBox::shownRequests().size() >= 2; }, EventWaitMs);
    waitUntil([] { return false; }, 300);
    qunsetenv("PELLORAN_MIDI_SOUNDFONT");
    MessageBox::setAnswerer({});
    EXPECT_EQ(errors, QList<int>(4, MciWnd::ErrorUnreadableFormat));
    const QList<MessageBox::Request> shown = MessageBox::shownRequests();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown[0].prompt.contains("fluid-soundfont-gm")) << shown[0].prompt.toStdString();
    EXPECT_TRUE(shown[1].prompt.contains(broken)) << shown[1].prompt.toStdString();
    // The MP3 still plays.
    control.setFileName(s_mp3);
    EXPECT_EQ(errors.size(), 4);

}

TEST_F(MpvPlaybackTest, FileAliasPlaysInMilliseconds)
{
    EXPECT_EQ(mciSendString("open \"" + s_mp3 + "\" type mpegvideo alias MP3"), 0);
    QString reply;
    EXPECT_EQ(mciSendString("set MP3 time format frames"), 0);
    EXPECT_EQ(mciSendString("status MP3 length", &reply, 20), 0);
    EXPECT_NEAR(reply.toInt(), 2000, 100);
    EXPECT_EQ(mciSendString("play MP3"), 0);
    mciSendString("status MP3 mode", &reply, 20);
    EXPECT_EQ(reply, "playing");
    ASSERT_TRUE(waitUntil([&] {
        mciSendString("status MP3 position", &reply, 20);
        return reply.toInt() > 200;
    }, EventWaitMs));
    EXPECT_EQ(mciSendString("close MP3"), 0);
    EXPECT_EQ(mciSendString("status MP3 mode", &reply, 20), MciErrInvalidDeviceName);
}

} // namespace
