// The media window control and file aliases over the simulated back end on
// virtual time.
#include "Clock.h"
#include "MciCommand.h"
#include "MciWnd.h"
#include "MediaBackend.h"
#include "MediaTestSupport.h"
#include "TestMidi.h"
#include "SimulatedMedia.h"

#include <QCoreApplication>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class SimulatedMediaTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureApplication();
        m_saved = mediaBackend();
        setMediaBackend(MediaBackend::Simulated);
        setMediaClock(&m_clock);
        m_song = file("song.mp3", QByteArray(100, 'x'));
        SimulatedMediaFiles::describe(m_song, {10000, {}, 0});
    }
    void TearDown() override
    {
        mciResetDevices();
        SimulatedMediaFiles::clear();
        setMediaClock(nullptr);
        setMediaBackend(m_saved);
    }
    QString file(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile out(path);
        out.open(QIODevice::WriteOnly);
        out.write(bytes);
        return path;
    }
    // Records the control's events as text, in order.
    void record(MciWnd &control)
    {
        QObject::connect(&control, &MciWnd::ExtendedModeChange, [this](int m) { events << QString("mode%1").arg(m); });
        QObject::connect(&control, &MciWnd::PositionChange, [this](qint64 p) { events << QString("pos%1").arg(p); });
        QObject::connect(&control, &MciWnd::ExtendedError, [this](int c) { events << QString("xerr%1").arg(c); });
        QObject::connect(&control, &MciWnd::Error, [this](int c) { events << QString("err%1").arg(c); });
    }

    QTemporaryDir m_dir;
    VirtualClock m_clock;
    MediaBackend m_saved = MediaBackend::Simulated;
    QString m_song;
    QStringList events;
};

TEST_F(SimulatedMediaTest, PlayReportsPositionsOnTheClock)
{
    MciWnd control;
    record(control);
    control.setFileName(m_song);
    EXPECT_EQ(control.Length(), 10000);
    EXPECT_EQ(control.DeviceType(), "MPEGAudio");
    control.setCommand("Play");
    m_clock.advance(1000);
    EXPECT_EQ(control.Position(), 1000);
    EXPECT_EQ(control.Mode(), "playing");
    EXPECT_EQ(events, QStringList({"mode525", "mode526", "pos250", "pos500", "pos750", "pos1000"}));

    events.clear();
    control.setCommand("Pause");
    m_clock.advance(1000);
    EXPECT_EQ(control.Mode(), "paused");
    EXPECT_EQ(control.Position(), 1000);
    control.setCommand("Resume");
    m_clock.advance(500);
    control.setCommand("Stop");
    m_clock.advance(500);
    EXPECT_EQ(control.Position(), 1500);
    EXPECT_EQ(events, QStringList({"mode529", "mode526", "pos1250", "pos1500", "mode525"}));
}

TEST_F(SimulatedMediaTest, EndOfFileReadsTheLengthAndReportsOnce)
{
    MciWnd control;
    control.setFileName(m_song);
    control.setPosition(9600);
    control.setCommand("play");
    record(control);
    m_clock.advance(2000);
    EXPECT_EQ(events, QStringList({"pos9850", "mode525", "pos10000"}));
    EXPECT_EQ(control.Position(), control.Length());
    EXPECT_EQ(control.Mode(), "stopped");
    // Play at the end starts again from the beginning.
    control.setCommand("play");
    m_clock.advance(100);
    EXPECT_EQ(control.Position(), 100);
}

TEST_F(SimulatedMediaTest, TheLastReportMayOpenTheNextFile)
{
    const QString next = file("next.mp3", QByteArray(10, 'y'));
    SimulatedMediaFiles::describe(next, {3000, {}, 0});
    MciWnd control;
    control.setFileName(m_song);
    control.setPosition(9900);
    int ends = 0;
    QObject::connect(&control, &MciWnd::PositionChange, [&](qint64 position) {
        if (position < control.Length())
            return;
        ++ends;
        control.setCommand("Stop");
        control.setFileName(next);
        control.setCommand("Play");
    });
    control.setCommand("Play");
    m_clock.advance(1000);
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(control.FileName(), next);
    EXPECT_EQ(control.Length(), 3000);
    EXPECT_EQ(control.Position(), 900);
}

TEST_F(SimulatedMediaTest, SpeedAndVolume)
{
    MciWnd control;
    control.setFileName(m_song);
    control.setSpeed(2000);
    control.setCommand("play");
    m_clock.advance(1000);
    EXPECT_EQ(control.Position(), 2000);
    control.setSpeed(500);
    m_clock.advance(1000);
    EXPECT_EQ(control.Position(), 2500);
    control.setSpeed(0);
    EXPECT_EQ(control.Speed(), 10);
    control.setVolume(-5);
    EXPECT_EQ(control.Volume(), 0);
    control.setVolume(700);
    EXPECT_EQ(control.Volume(), 700);
}

TEST_F(SimulatedMediaTest, DeviceVolumeScalesEveryPlayer)
{
    SimulatedPlayer first, second;
    first.setVolume(600);
    second.setVolume(1000);
    setDeviceVolume(500);
    EXPECT_EQ(first.audible(), 300);
    EXPECT_EQ(second.audible(), 500);
    EXPECT_EQ(first.volume(), 600);
    setDeviceVolume(4000);
    EXPECT_EQ(deviceVolume(), 1000);
    EXPECT_EQ(first.audible(), 600);
    setDeviceVolume(-1);
    EXPECT_EQ(second.audible(), 0);
    setDeviceVolume(1000);
}

TEST_F(SimulatedMediaTest, VideoCountsFramesAtTheFormatsRate)
{
    const QString mpg = file("track01.dat", QByteArray(10, 'v'));
    const QString avi = file("clip.AVI", QByteArray(10, 'v'));
    SimulatedMediaFiles::describe(mpg, {10000, {352, 240}, 0});
    SimulatedMediaFiles::describe(avi, {10000, {320, 240}, 0});
    MciWnd control;
    control.setAutosizeWindow(true);
    control.setFileName(mpg);
    EXPECT_EQ(control.DeviceType(), "MPEGVideo");
    EXPECT_EQ(control.size(), QSize(352, 240));
    EXPECT_EQ(control.Length(), 300);
    control.setPosition(150);
    EXPECT_EQ(control.Position(), 150);
    control.setCommand("play");
    m_clock.advance(1000);
    EXPECT_EQ(control.Position(), 180);
    EXPECT_EQ(control.currentFrame().size(), QSize(352, 240));
    control.setTimeFormat("ms");
    EXPECT_EQ(control.Length(), 10000);

    control.setFileName(avi);
    EXPECT_EQ(control.DeviceType(), "AVIVideo");
    EXPECT_EQ(control.unitsPerSecond(), 10.0);
    EXPECT_EQ(control.Length(), 100);
}

TEST_F(SimulatedMediaTest, DeviceTypesOfAudioFiles)
{
    const QString wav = file("a.wav", QByteArray(10, 'w'));
    const QString mid = file("b.MID", QByteArray(10, 'm'));
    SimulatedMediaFiles::describe(wav, {1000, {}, 0});
    SimulatedMediaFiles::describe(mid, {1000, {}, 0});
    MciWnd control;
    EXPECT_EQ(control.DeviceType(), "");
    control.setFileName(wav);
    EXPECT_EQ(control.DeviceType(), "waveaudio");
    control.setFileName(mid);
    EXPECT_EQ(control.DeviceType(), "sequencer");
    EXPECT_TRUE(control.currentFrame().isNull());

    // An .mp3 with a picture stream is a video device but counts milliseconds.
    const QString clip = file("clip.mp3", QByteArray(10, 'c'));
    SimulatedMediaFiles::describe(clip, {2000, {320, 240}, 0});
    control.setFileName(clip);
    EXPECT_EQ(control.DeviceType(), "MPEGVideo");
    EXPECT_EQ(control.Length(), 2000);
}

TEST_F(SimulatedMediaTest, UnusableFilesRaiseTheirErrorsAndLeaveNothingOpen)
{
    const QString text = file("notes.mp3", "just some words, not a song");
    const QString noDriver = file("odd.mpg", QByteArray(10, 'o'));
    SimulatedMediaFiles::describe(noDriver, {0, {}, MediaPlayer::NoDriver});
    MciWnd control;
    record(control);
    control.setFileName(m_song);
    events.clear();
    control.setFileName(text);
    EXPECT_EQ(events, QStringList({"mode524", "xerr275", "err275"}));
    EXPECT_EQ(control.Mode(), "not ready");
    EXPECT_EQ(control.Length(), 0);
    events.clear();
    control.setFileName(m_dir.filePath("missing.mp3"));
    control.setFileName(noDriver);
    EXPECT_EQ(events, QStringList({"xerr275", "err275", "xerr296", "err296"}));
    control.setCommand("Play");
    control.setCommand("Stop");
    control.setCommand("Close");
    EXPECT_EQ(control.Mode(), "not ready");
}

TEST_F(SimulatedMediaTest, ProbesLengthsFromHeaders)
{
    // 1 s of 8 kHz mono 8-bit sound.
    QByteArray wav = "RIFF";
    auto le32 = [](quint32 v) { return QByteArray(1, char(v)) + char(v >> 8) + char(v >> 16) + char(v >> 24); };
    auto le16 = [](quint16 v) { return QByteArray(1, char(v)) + char(v >> 8); };
    wav += le32(36 + 8000) + "WAVEfmt " + le32(16) + le16(1) + le16(1) + le32(8000) + le32(8000) + le16(1) +
           le16(8) + "data" + le32(8000) + QByteArray(8000, '\x80');
    EXPECT_EQ(SimulatedMediaFiles::info(file("tone.wav", wav)).lengthMs, 1000);
    QByteArray odd = wav;
    odd[20] = '\x77';  // the coding tag of the format chunk
    odd[21] = '\x77';
    EXPECT_EQ(SimulatedMediaFiles::info(file("odd.wav", odd)).openError, MediaPlayer::NoDriver);

    // An MP3 at 128 kbit/s (16000 bytes a second) after an ID3 tag.
    QByteArray mp3 = QByteArray("ID3\x03\x00\x00\x00\x00\x00\x0a", 10) + QByteArray(10, '\0');
    mp3 += QByteArray("\xff\xfb\x90\x00", 4) + QByteArray(31996, '\x55');
    EXPECT_EQ(SimulatedMediaFiles::info(file("tone.mp3", mp3)).lengthMs, 2000);

    const SimulatedFileInfo vcd = SimulatedMediaFiles::info(file("avseq01.dat", QByteArray("\x00\x00\x01\xba", 4) + QByteArray(176396, '\0')));
    EXPECT_EQ(vcd.lengthMs, 1000);
    EXPECT_EQ(vcd.videoSize, QSize(352, 240));

    // MIDI songs last what their tempo maps say; a damaged one cannot be read.
    EXPECT_EQ(SimulatedMediaFiles::info(file("song.mid", testMidiFile({0, 8, 60, 120}))).lengthMs, 6000);
    EXPECT_EQ(SimulatedMediaFiles::info(file("song.rmi", riffMidiFile(testMidiFile({})))).lengthMs, 3000);
    EXPECT_EQ(SimulatedMediaFiles::info(file("bad.mid", QByteArray("MThd\0\0\0\x06", 8))).openError,
              MediaPlayer::UnreadableFormat);

    EXPECT_EQ(SimulatedMediaFiles::info(file("empty.mp3", {})).openError, MediaPlayer::UnreadableFormat);
    EXPECT_EQ(SimulatedMediaFiles::info(file("bad.wav", "RIFF\x04\x00\x00\x00WAVE")).openError,
              MediaPlayer::UnreadableFormat);
}

TEST_F(SimulatedMediaTest, MousePressesCarryButtonShiftAndPlace)
{
    MciWnd control;
    QList<QList<int>> presses;
    QObject::connect(&control, &MciWnd::MouseDown,
                     [&](int b, int s, int x, int y) { presses.append({b, s, x, y}); });
    QMouseEvent left(QEvent::MouseButtonPress, QPointF(10, 20), QPointF(10, 20), Qt::LeftButton, Qt::LeftButton,
                     Qt::ControlModifier);
    QCoreApplication::sendEvent(&control, &left);
    QMouseEvent right(QEvent::MouseButtonPress, QPointF(3, 4), QPointF(3, 4), Qt::RightButton, Qt::RightButton,
                      Qt::ShiftModifier | Qt::AltModifier);
    QCoreApplication::sendEvent(&control, &right);
    EXPECT_EQ(presses, QList<QList<int>>({{1, 2, 10, 20}, {2, 5, 3, 4}}));
}

TEST_F(SimulatedMediaTest, FileAliasCommands)
{
    EXPECT_EQ(mciSendString("open " + m_song + " type mpegvideo alias MP3"), 0);
    QString reply;
    auto ask = [&](const QString &command) {
        reply.clear();
        mciSendString(command, &reply, 20);
        return reply;
    };
    EXPECT_EQ(ask("Status MP3 time format"), "milliseconds");
    EXPECT_EQ(mciSendString("Set MP3 time format frames"), 0);
    EXPECT_EQ(ask("Status MP3 time format"), "frames");
    EXPECT_EQ(ask("Status MP3 length "), "10000");  // frames count milliseconds too
    EXPECT_EQ(mciSendString("play MP3"), 0);
    m_clock.advance(1500);
    EXPECT_EQ(ask("Status MP3 Mode"), "playing");
    EXPECT_EQ(ask("Status MP3 position"), "1500");
    mciSendString("Pause MP3");
    EXPECT_EQ(ask("status mp3 mode"), "paused");
    EXPECT_EQ(mciSendString("Seek MP3 to 9000 Wait"), 0);
    EXPECT_EQ(ask("status mp3 mode"), "stopped");
    EXPECT_EQ(ask("status mp3 position"), "9000");
    mciSendString("play MP3");
    m_clock.advance(5000);
    EXPECT_EQ(ask("status mp3 mode"), "stopped");
    EXPECT_EQ(ask("status mp3 position"), "10000");
    EXPECT_EQ(mciSendString("play mp3 from 2000"), 0);
    EXPECT_EQ(ask("status mp3 position"), "2000");
    EXPECT_EQ(mciSendString("seek mp3 to 20000"), MciErrOutOfRange);
    EXPECT_EQ(mciSendString("play mp3 to 5000"), MciErrUnsupportedFunction);
    EXPECT_EQ(mciSendString("open " + m_song + " alias mp3"), MciErrDuplicateAlias);
    EXPECT_EQ(mciSendString("close MP3"), 0);
    EXPECT_EQ(mciSendString("close MP3"), MciErrInvalidDeviceName);
}

TEST_F(SimulatedMediaTest, FileAliasPathsWithBlanksAndRefusedFiles)
{
    const QString spaced = file("my song.mp3", QByteArray(10, 's'));
    SimulatedMediaFiles::describe(spaced, {4000, {}, 0});
    EXPECT_EQ(mciSendString("open \"" + spaced + "\" alias A"), 0);
    EXPECT_EQ(mciSendString("open " + spaced + " type mpegvideo alias B"), 0);
    QString reply;
    mciSendString("status b length", &reply, 20);
    EXPECT_EQ(reply, "4000");
    EXPECT_EQ(mciSendString("close all"), 0);
    EXPECT_EQ(mciSendString("status a mode"), MciErrInvalidDeviceName);

    EXPECT_EQ(mciSendString("open " + m_dir.filePath("gone.mp3") + " alias MP3"), MciErrFileNotFound);
    EXPECT_EQ(mciSendString("play MP3"), MciErrInvalidDeviceName);
    EXPECT_EQ(mciSendString("open " + file("words.mp3", "plain words") + " alias MP3"), MciErrFileNotFound);
}

} // namespace
