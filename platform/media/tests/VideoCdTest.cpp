// Video CDs on the real back end: a video-CD image made at test time, its
// ISO 9660 file system read through libcdio, its Mode 2 Form 2 tracks
// streamed to libmpv, as the player's optical drive or as a mounted disc.
#include "EventWait.h"
#include "Drives.h"
#include "MciCommand.h"
#include "MciWnd.h"
#include "MediaBackend.h"
#include "MediaTestSupport.h"
#include "VcdDisc.h"
#include "VcdStream.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class VideoCdTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ensureApplication();
        s_dir = new QTemporaryDir;
        // Two tracks of 3 s and 2 s.
        s_cue = makeVideoCdImage(s_dir->path(), {3, 2}, &s_why);
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }
    void SetUp() override
    {
        // The setup installs ffmpeg and vcdimager: without them this fails.
        ASSERT_FALSE(s_cue.isEmpty()) << s_why.toStdString();
        m_saved = mediaBackend();
        setMediaBackend(MediaBackend::Real);
    }
    void TearDown() override
    {
        mciResetDevices();
        qunsetenv("PELLORAN_CD_DEVICE");
        Drives::SetSource(nullptr);
        setMediaBackend(m_saved);
    }

    static QTemporaryDir *s_dir;
    static QString s_cue, s_why;
    MediaBackend m_saved = MediaBackend::Simulated;
};

QTemporaryDir *VideoCdTest::s_dir = nullptr;
QString VideoCdTest::s_cue;
QString VideoCdTest::s_why;

TEST_F(VideoCdTest, TheImageFileSystemListsTheTracksWithoutRegardToCase)
{
    const VcdDisc disc(QFile::encodeName(s_cue));
    ASSERT_TRUE(disc.isOpen());
    EXPECT_EQ(disc.files("/Mpegav", "*.Dat"), (QStringList{"AVSEQ01.DAT", "AVSEQ02.DAT"}));
    EXPECT_EQ(disc.files("/mpegav/", "avseq02.*"), QStringList{"AVSEQ02.DAT"});
    EXPECT_TRUE(disc.files("/Nowhere", "*.Dat").isEmpty());

    const std::optional<DiscFile> track = disc.file("/mpegav/avseq01.dat");
    ASSERT_TRUE(track.has_value());
    EXPECT_TRUE(track->form2);
    EXPECT_GT(track->sectors, 0u);
    EXPECT_EQ(track->bytes, qint64(track->sectors) * 2324);
    EXPECT_FALSE(disc.file("/MPEGAV/AVSEQ03.DAT").has_value());
    EXPECT_FALSE(disc.file("/MPEGAV").has_value());  // a folder is no file
}

TEST_F(VideoCdTest, ATrackOfTheChosenDrivePlaysSeeksAndEndsAsAFile)
{
    // The image named by the environment is an optical drive of its own.
    qputenv("PELLORAN_CD_DEVICE", s_cue.toUtf8());
    Drives::SetSource(nullptr);
    ASSERT_FALSE(Drives::List().isEmpty());
    const Drives::Drive drive = Drives::List().last();
    EXPECT_EQ(drive.root, s_cue);
    EXPECT_EQ(drive.type, Drives::TypeOptical);
    EXPECT_FALSE(drive.mounted);
    EXPECT_EQ(Drives::DriveType(s_cue), Drives::TypeOptical);

    const QStringList tracks = unmountedDiscFiles(s_cue + "/Mpegav/*.Dat");
    ASSERT_EQ(tracks, (QStringList{s_cue + "/Mpegav/AVSEQ01.DAT", s_cue + "/Mpegav/AVSEQ02.DAT"}));

    MciWnd control;
    control.setAutosizeWindow(true);
    control.setFileName(tracks[0]);
    ASSERT_EQ(control.Mode(), "stopped");
    EXPECT_EQ(control.DeviceType(), "MPEGVideo");
    EXPECT_EQ(control.naturalSize(), QSize(352, 240));
    EXPECT_EQ(control.unitsPerSecond(), 30.0);
    EXPECT_NEAR(control.Length(), 90, 6);  // 3 s in frames

    control.setPosition(45);
    EXPECT_NEAR(control.Position(), 45, 3);
    control.setSpeed(2000);
    control.setCommand("Play");
    ASSERT_TRUE(waitUntil([&] { return control.Position() > 50 && control.Position() < control.Length(); }, EventWaitMs));
    ASSERT_TRUE(waitUntil([&] { return control.Mode() == "stopped"; }, EventWaitMs));
    EXPECT_EQ(control.Position(), control.Length());

    control.setFileName(tracks[1]);
    EXPECT_NEAR(control.Length(), 60, 6);
}

TEST_F(VideoCdTest, AMountedDiscIsReadThroughItsDevice)
{
    // A disc mounted at a folder: the tracks the mount lists are read from
    // the drive's device, as the mount does not deliver Form 2 sectors.
    Drives::SetSource(std::make_shared<Drives::FixedSource>(QList<Drives::Drive>{
        {"/", "/dev/sda1", "", Drives::TypeFixed, true},
        {"/media/user/VIDEOCD", s_cue, "VIDEOCD", Drives::TypeOptical, true}}));
    const std::optional<DiscFile> track = discFileAt("/media/user/VIDEOCD/MPEGAV/AVSEQ02.DAT");
    ASSERT_TRUE(track.has_value());
    EXPECT_EQ(track->device, QFile::encodeName(s_cue));
    EXPECT_TRUE(track->form2);
    const QByteArray location = VcdStream::locationFor("/media/user/VIDEOCD/MPEGAV/AVSEQ02.DAT");
    EXPECT_FALSE(location.isEmpty());
    // Read from an image file, not from a drive's device node.
    EXPECT_TRUE(VcdStream::readsDiscImage(location));
    DiscFile onDrive = *track;
    onDrive.device = "/dev/null";
    EXPECT_FALSE(VcdStream::readsDiscImage(VcdStream::locationOf(onDrive)));
    // Only an unmounted drive's files are listed from its disc.
    EXPECT_TRUE(unmountedDiscFiles("/media/user/VIDEOCD/MPEGAV/*.DAT").isEmpty());
    // Paths on no optical drive take the ordinary road.
    EXPECT_TRUE(VcdStream::locationFor("/home/user/MPEGAV/AVSEQ02.DAT").isEmpty());
    EXPECT_FALSE(discFileAt("/media/user/VIDEOCD/MPEGAV/AVSEQ09.DAT").has_value());
}

// What a disc says about itself is checked against the disc: a file system
// that cannot be read leaves a disc with nothing to play.
TEST_F(VideoCdTest, ADamagedFileSystemIsADiscWithNothingToPlay)
{
    for (const VideoCdDamage damage : kUnreadableFileSystems + QList{VideoCdDamage::RecordPastItsSector}) {
        SCOPED_TRACE(damageName(damage));
        const QString folder = s_dir->filePath(damageName(damage));
        QDir().mkpath(folder);
        const QString cue = damagedVideoCdImage(s_cue, folder, damage);
        ASSERT_FALSE(cue.isEmpty());
        const VcdDisc disc(QFile::encodeName(cue));
        EXPECT_TRUE(disc.files("/Mpegav", "*.Dat").isEmpty());
        EXPECT_FALSE(disc.file("/MPEGAV/AVSEQ01.DAT").has_value());
    }
}

TEST_F(VideoCdTest, ATrackCutShortByTheEndOfTheImagePlaysAsFarAsItCanAndEnds)
{
    const QString folder = s_dir->filePath("short");
    QDir().mkpath(folder);
    const QString cue = damagedVideoCdImage(s_cue, folder, VideoCdDamage::EndsInItsLastTrack);
    ASSERT_FALSE(cue.isEmpty());
    qputenv("PELLORAN_CD_DEVICE", cue.toUtf8());
    Drives::SetSource(nullptr);
    const QStringList tracks = unmountedDiscFiles(cue + "/Mpegav/*.Dat");
    ASSERT_EQ(tracks.size(), 2);
    const std::optional<DiscFile> track = discFileAt(tracks[1]);
    ASSERT_TRUE(track.has_value());
    // The file's sectors end where the image ends.
    EXPECT_EQ((track->firstSector + qint64(track->sectors)) * 2352, QFileInfo(folder + "/vcd.bin").size());

    MciWnd control;
    control.setFileName(tracks[1]);
    ASSERT_EQ(control.Mode(), "stopped");
    EXPECT_NEAR(control.Length(), 30, 8);  // the 1 s of its 2 s that the image holds
    control.setCommand("Play");
    ASSERT_TRUE(waitUntil([&] { return control.Mode() == "stopped"; }, 30000));
    EXPECT_EQ(control.Position(), control.Length());
}

} // namespace
