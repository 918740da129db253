// The CD device of the command interpreter over a simulated disc on virtual time.
#include "Clock.h"
#include "MciCommand.h"
#include "LibcdioDrive.h"
#include "MediaBackend.h"
#include "MediaTestSupport.h"
#include "SimulatedDisc.h"

#include <gtest/gtest.h>

namespace {

// Three audio tracks: 3:00, 4:00.5 and 2:30.
const QVector<qint64> kTracks = {180000, 240500, 150000};

class CdAudioCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_saved = mediaBackend();
        setMediaBackend(MediaBackend::Simulated);
        setMediaClock(&m_clock);
        mciResetDevices();
        simulatedDisc().setSpinUpMs(0);
        simulatedDisc().insertAudioDisc(kTracks);
    }
    void TearDown() override
    {
        setMciCommandObserver({});
        mciResetDevices();
        simulatedDisc().removeDisc();
        setMediaClock(nullptr);
        setMediaBackend(m_saved);
    }
    QString ask(const QString &command)
    {
        QString reply = "untouched";
        m_lastResult = mciSendString(command, &reply, 20);
        return reply;
    }

    VirtualClock m_clock;
    MediaBackend m_saved = MediaBackend::Simulated;
    int m_lastResult = 0;
};

TEST_F(CdAudioCommandTest, DescribesTheDisc)
{
    EXPECT_EQ(ask("Status CDAudio number of tracks"), "3");
    EXPECT_EQ(ask("status cdaudio media present"), "true");
    EXPECT_EQ(ask("Status CDaudio Mode"), "stopped");
    EXPECT_EQ(ask("status CDAUDIO type track 2"), "audio");
    // A freshly opened device counts in msf.
    EXPECT_EQ(ask("status cdaudio time format"), "msf");
    EXPECT_EQ(ask("set cdaudio time format tmsf wait"), "");
    EXPECT_EQ(ask("status cdaudio length track 2"), "04:00:37");
    EXPECT_EQ(ask("status cdaudio length"), "09:30:37");
    EXPECT_EQ(ask("status cdaudio position track 3"), "03:00:00:00");
    EXPECT_EQ(ask("status cdaudio length track 4"), "");
    EXPECT_EQ(m_lastResult, MciErrOutOfRange);
}

TEST_F(CdAudioCommandTest, PlaysOnThroughTracksInTmsf)
{
    EXPECT_EQ(mciSendString("Open CDAudio Shareable"), 0);
    EXPECT_EQ(mciSendString("Set CDAudio Time format tmsf"), 0);
    EXPECT_EQ(mciSendString("Seek CDAudio to 2"), 0);
    EXPECT_EQ(ask("Status CDAudio Mode"), "stopped");
    EXPECT_EQ(mciSendString("Play CDAudio"), 0);
    m_clock.advance(61500);
    EXPECT_EQ(ask("Status CDAudio Mode"), "playing");
    EXPECT_EQ(ask("Status CDAudio position Wait"), "02:01:01:37");
    EXPECT_EQ(ask("Status CDAudio Current Track Wait"), "2");
    // Past the end of track 2 the disc goes on into track 3.
    m_clock.advance(180000);
    EXPECT_EQ(ask("Status CDAudio Current Track"), "3");
    EXPECT_EQ(ask("status cdaudio position"), "03:00:01:00");
}

TEST_F(CdAudioCommandTest, EndOfDiscHoldsAtTheLengthOfTheLastTrack)
{
    mciSendString("set cdaudio time format tmsf");
    mciSendString("seek cdaudio to 3");
    mciSendString("play cdaudio");
    m_clock.advance(150000 + 5000);
    EXPECT_EQ(ask("status cdaudio mode"), "stopped");
    EXPECT_EQ(ask("status cdaudio current track"), "3");
    // The position text after the track number equals the track's length, so
    // a clock that compares them sees the end of the disc.
    const QString position = ask("status cdaudio position");
    EXPECT_EQ(position.mid(3), ask("status cdaudio length track 3"));
    // Playing on from the very end is out of range.
    EXPECT_EQ(mciSendString("play cdaudio"), MciErrOutOfRange);
}

TEST_F(CdAudioCommandTest, SeeksToFullTmsfAndMillisecondPositions)
{
    mciSendString("set CDAudio time format tmsf");
    EXPECT_EQ(mciSendString("Seek CDAudio to 03:01:30:00 Wait"), 0);
    EXPECT_EQ(ask("Status CDAudio position"), "03:01:30:00");
    EXPECT_EQ(mciSendString("seek cdaudio to 02:00:10:01"), 0);
    EXPECT_EQ(ask("status cdaudio position"), "02:00:10:01");  // the frame survives the round trip
    mciSendString("set cdaudio time format milliseconds");
    EXPECT_EQ(ask("status cdaudio time format"), "milliseconds");
    EXPECT_EQ(ask("status cdaudio position"), "190014");
    EXPECT_EQ(ask("status cdaudio length track 1"), "180000");
    EXPECT_EQ(mciSendString("seek cdaudio to 500000"), 0);
    EXPECT_EQ(mciSendString("seek cdaudio to 999999"), MciErrOutOfRange);
    EXPECT_EQ(mciSendString("seek cdaudio to start"), 0);
    EXPECT_EQ(ask("status cdaudio position"), "0");
    EXPECT_EQ(mciSendString("seek cdaudio"), MciErrMissingParameter);
    EXPECT_EQ(mciSendString("set cdaudio time format frames"), MciErrBadTimeFormat);
}

TEST_F(CdAudioCommandTest, PauseResumeStopAndPlayRanges)
{
    mciSendString("set cdaudio time format tmsf");
    mciSendString("play cdaudio from 1 to 01:00:05");
    m_clock.advance(2000);
    mciSendString("pause cdaudio");
    EXPECT_EQ(ask("status cdaudio mode"), "paused");
    m_clock.advance(10000);
    EXPECT_EQ(ask("status cdaudio position"), "01:00:02:00");
    mciSendString("resume cdaudio");
    m_clock.advance(10000);
    // The play stopped at its "to" position.
    EXPECT_EQ(ask("status cdaudio mode"), "stopped");
    EXPECT_EQ(ask("status cdaudio position"), "01:00:05:00");
    mciSendString("play cdaudio");
    m_clock.advance(1000);
    mciSendString("stop cdaudio");
    m_clock.advance(1000);
    EXPECT_EQ(ask("status cdaudio position"), "01:00:06:00");
    EXPECT_EQ(mciSendString("play cdaudio from 2 to 1"), MciErrOutOfRange);
}

TEST_F(CdAudioCommandTest, DoorAndDiscStates)
{
    EXPECT_EQ(mciSendString("Set CDAudio Door Open Wait"), 0);
    EXPECT_EQ(ask("Status CDAudio Mode"), "open");
    EXPECT_EQ(ask("Status CDAudio media present"), "false");
    // An unanswerable count gives an empty reply (read as 0).
    EXPECT_EQ(ask("Status CDAudio number of tracks"), "");
    EXPECT_EQ(m_lastResult, MciErrDeviceNotReady);

    simulatedDisc().setSpinUpMs(2000);
    EXPECT_EQ(mciSendString("Set CDAudio Door Closed"), 0);
    EXPECT_EQ(ask("Status CDAudio Mode"), "not ready");
    EXPECT_EQ(ask("status cdaudio position"), "");
    EXPECT_EQ(ask("status cdaudio ready"), "false");
    EXPECT_EQ(ask("status cdaudio media present"), "false");
    m_clock.advance(2000);
    EXPECT_EQ(ask("status cdaudio media present"), "true");
    EXPECT_EQ(ask("Status CDAudio Mode"), "stopped");
    EXPECT_EQ(ask("Status CDAudio number of tracks"), "3");

    simulatedDisc().removeDisc();
    EXPECT_EQ(ask("status cdaudio mode"), "not ready");
    EXPECT_EQ(ask("status cdaudio media present"), "false");
    EXPECT_EQ(mciSendString("play cdaudio"), MciErrDeviceNotReady);
}

TEST_F(CdAudioCommandTest, MixedDiscRefusesToPlayItsDataTrack)
{
    simulatedDisc().insertDisc({{600000, false}, {200000, true}, {100000, true}});
    EXPECT_EQ(ask("status cdaudio type track 1"), "other");
    EXPECT_EQ(ask("status cdaudio type track 2"), "audio");
    mciSendString("set cdaudio time format tmsf");
    mciSendString("seek cdaudio to 1");
    EXPECT_EQ(mciSendString("play cdaudio"), MciErrNoDataTrackPlay);
    EXPECT_EQ(ask("status cdaudio mode"), "stopped");
    mciSendString("seek cdaudio to 2");
    EXPECT_EQ(mciSendString("play cdaudio"), 0);
    EXPECT_EQ(ask("status cdaudio mode"), "playing");
}

TEST_F(CdAudioCommandTest, CloseForgetsTheTimeFormatButNotThePlay)
{
    mciSendString("set cdaudio time format tmsf");
    mciSendString("play cdaudio from 2");
    EXPECT_EQ(mciSendString("close CDAudio wait"), 0);
    EXPECT_EQ(ask("status cdaudio time format"), "msf");
    EXPECT_EQ(ask("status cdaudio mode"), "playing");
    // The stop-and-close pair that ends every medium.
    EXPECT_EQ(mciSendString("Stop CDAudio wait"), 0);
    EXPECT_EQ(mciSendString("close CDAudio wait"), 0);
    EXPECT_EQ(ask("status cdaudio mode"), "stopped");
}

TEST_F(CdAudioCommandTest, RepliesAreCutToTheBufferAndCommandsObserved)
{
    QStringList seen;
    setMciCommandObserver([&](const QString &command, int result, const QString &reply) {
        seen << QString("%1|%2|%3").arg(command).arg(result).arg(reply);
    });
    mciSendString("set cdaudio time format tmsf");
    QString reply;
    EXPECT_EQ(mciSendString("status cdaudio position", &reply, 5), 0);
    EXPECT_EQ(reply, "01:00");
    EXPECT_EQ(mciSendString("status cdaudio mode", &reply, 0), 0);
    EXPECT_EQ(reply, "");
    EXPECT_EQ(seen, QStringList({"set cdaudio time format tmsf|0|", "status cdaudio position|0|01:00:00:00",
                                 "status cdaudio mode|0|stopped"}));
}

TEST_F(CdAudioCommandTest, UnknownWordsAreRefusedWithClearCodes)
{
    EXPECT_EQ(ask("status nosuchdevice mode"), "");
    EXPECT_EQ(m_lastResult, MciErrInvalidDeviceName);
    EXPECT_EQ(mciSendString("fly cdaudio"), MciErrUnrecognizedCommand);
    EXPECT_EQ(mciSendString("status cdaudio colour"), MciErrUnrecognizedKeyword);
    EXPECT_EQ(mciSendString("status cdaudio"), MciErrMissingParameter);
    EXPECT_EQ(mciSendString("play"), MciErrMissingDeviceName);
    EXPECT_EQ(mciSendString(""), MciErrUnrecognizedCommand);
    EXPECT_FALSE(mciErrorText(MciErrDeviceNotReady).isEmpty());
}

} // namespace

namespace {

// The real drive on a machine without one: every question has a clean answer.
TEST(LibcdioDriveTest, WithoutADriveEverythingFailsCleanly)
{
    if (!LibcdioDrive::opticalDrives().isEmpty())
        GTEST_SKIP() << "this machine has an optical drive";
    LibcdioDrive drive;
    EXPECT_EQ(drive.state(), CdDrive::State::NoDisc);
    EXPECT_FALSE(drive.mediaPresent());
    EXPECT_TRUE(drive.tracks().isEmpty());
    EXPECT_FALSE(drive.play(0, -1));
    EXPECT_FALSE(drive.seek(0));
    EXPECT_FALSE(drive.setTrayOpen(true));
    EXPECT_FALSE(drive.lastError().isEmpty());

    const MediaBackend saved = mediaBackend();
    setMediaBackend(MediaBackend::Real);
    mciResetDevices();
    QString reply;
    EXPECT_EQ(mciSendString("status cdaudio mode", &reply, 20), 0);
    EXPECT_EQ(reply, "not ready");
    EXPECT_EQ(mciSendString("status cdaudio number of tracks", &reply, 20), MciErrDeviceNotReady);
    EXPECT_EQ(reply, "");
    EXPECT_EQ(mciSendString("Set CDAudio Door Open Wait"), MciErrHardware);
    EXPECT_EQ(mciSendString("Play CDAudio"), MciErrDeviceNotReady);
    mciResetDevices();
    setMediaBackend(saved);
}

} // namespace
