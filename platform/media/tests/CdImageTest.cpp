// The real CD back end (libcdio for the table of contents, libmpv for the
// sound) on a disc image made at test time, since this machine has no drive.
#include "EventWait.h"
#include "CdDrive.h"
#include "Clock.h"
#include "LibcdioDrive.h"
#include "MciCommand.h"
#include "MediaBackend.h"
#include "MediaTestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class CdImageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureApplication();
        // Track 1: 2 s; track 2: 1 s of 44.1 kHz stereo sound.
        QString why;
        m_cue = makeAudioCdImage(m_dir.path(), {2, 1}, &why);
        if (m_cue.isEmpty())
            GTEST_SKIP() << why.toStdString();
        m_saved = mediaBackend();
        setMediaBackend(MediaBackend::Real);
        setMediaClock(nullptr);
        mciResetDevices();
    }
    void TearDown() override
    {
        mciResetDevices();
        setCdDrive(nullptr);
        setMediaBackend(m_saved);
    }
    QString ask(const QString &command)
    {
        QString reply;
        mciSendString(command, &reply, 20);
        return reply;
    }

    QTemporaryDir m_dir;
    QString m_cue;
    MediaBackend m_saved = MediaBackend::Simulated;
};

TEST_F(CdImageTest, ReadsTheTableOfContents)
{
    LibcdioDrive drive(QFile::encodeName(m_cue));
    ASSERT_EQ(drive.state(), CdDrive::State::Stopped) << drive.lastError().toStdString();
    EXPECT_TRUE(drive.mediaPresent());
    const QVector<CdTrack> tracks = drive.tracks();
    ASSERT_EQ(tracks.size(), 2);
    EXPECT_EQ(tracks[0].startMs, 0);
    EXPECT_EQ(tracks[0].lengthMs, 2000);
    EXPECT_EQ(tracks[1].startMs, 2000);
    EXPECT_EQ(tracks[1].lengthMs, 1000);
    EXPECT_TRUE(tracks[1].audio);
}

TEST_F(CdImageTest, AnImageIsTakenOutAndPutBackAsByItsTray)
{
    LibcdioDrive drive(QFile::encodeName(m_cue));
    ASSERT_TRUE(drive.play(0, -1)) << drive.lastError().toStdString();
    ASSERT_TRUE(drive.setTrayOpen(true)) << drive.lastError().toStdString();
    EXPECT_EQ(drive.state(), CdDrive::State::TrayOpen);
    EXPECT_FALSE(drive.mediaPresent());
    EXPECT_FALSE(drive.play(0, -1));

    ASSERT_TRUE(drive.setTrayOpen(false));
    EXPECT_EQ(drive.state(), CdDrive::State::Stopped);
    EXPECT_TRUE(drive.mediaPresent());
    EXPECT_EQ(drive.positionMs(), 0);
}

TEST_F(CdImageTest, PlaysTracksThroughTheCommandSet)
{
    // A cue sheet named apart from the data file its FILE line names, as rippers write them.
    const QString sheet = m_dir.filePath("My Album (1).cue");
    ASSERT_TRUE(QFile::rename(m_cue, sheet));
    setCdDrive(std::make_shared<LibcdioDrive>(QFile::encodeName(sheet)));
    EXPECT_EQ(ask("Status CDAudio number of tracks"), "2");
    EXPECT_EQ(mciSendString("Set CDAudio Time format tmsf"), 0);
    EXPECT_EQ(ask("Status CDAudio length Track 2"), "00:01:00");
    ASSERT_EQ(mciSendString("Seek CDAudio to 2"), 0);
    EXPECT_EQ(ask("Status CDAudio position"), "02:00:00:00");
    ASSERT_EQ(mciSendString("Play CDAudio"), 0);
    EXPECT_EQ(ask("Status CDAudio Mode"), "playing");
    ASSERT_TRUE(waitUntil([&] { return ask("Status CDAudio position") > "02:00:00:20"; }, EventWaitMs));
    EXPECT_EQ(ask("Status CDAudio Current Track"), "2");
    // At the end of the disc the position holds at the last track's length.
    ASSERT_TRUE(waitUntil([&] { return ask("Status CDAudio Mode") == "stopped"; }, EventWaitMs));
    EXPECT_EQ(ask("Status CDAudio position").mid(3), "00:01:00");

    ASSERT_EQ(mciSendString("Play CDAudio from 01:00:01 to 01:00:01:40"), 0);
    ASSERT_TRUE(waitUntil([&] { return ask("Status CDAudio Mode") != "playing"; }, EventWaitMs));
    EXPECT_EQ(ask("Status CDAudio Current Track"), "1");
}

} // namespace
