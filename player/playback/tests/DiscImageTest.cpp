// The playback engine on the real back end (libcdio, libmpv) with disc images
// made at test time as the player's optical drive, named by
// PELLORAN_CD_DEVICE as a user names the image they keep.
#include "EventWait.h"
#include "CdDrive.h"
#include "Clock.h"
#include "DiscWatcher.h"
#include "Drives.h"
#include "FakeHost.h"
#include "LibcdioDrive.h"
#include "MciCommand.h"
#include "MediaBackend.h"
#include "MciWnd.h"
#include "MediaTestSupport.h"
#include "ModFiles.h"
#include "PlaybackEngine.h"
#include "PlaybackState.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

class DiscImageTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        QDir().mkpath(s_dir->filePath("video"));
        QDir().mkpath(s_dir->filePath("audio"));
        s_videoCd = makeVideoCdImage(s_dir->filePath("video"), {1, 1}, &s_why);
        if (!s_videoCd.isEmpty())
            s_audioCd = makeAudioCdImage(s_dir->filePath("audio"), {3, 2}, &s_why);
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }

    void SetUp() override
    {
        // The setup installs ffmpeg and vcdimager: without them this fails.
        ASSERT_FALSE(s_audioCd.isEmpty()) << s_why.toStdString();
        m_saved = mediaBackend();
        setMediaBackend(MediaBackend::Real);
        setMediaClock(nullptr);
        mciResetDevices();
        engine = std::make_unique<PlaybackEngine>(state, host);
    }
    void TearDown() override
    {
        engine.reset();
        host.control->setFileName(QString());
        mciResetDevices();
        qunsetenv("PELLORAN_CD_DEVICE");
        Drives::SetSource(nullptr);
        setCdDrive(nullptr);
        setMediaBackend(m_saved);
    }

    // The image becomes the player's drive, as the settings choose a drive.
    void useDrive(const QString &image)
    {
        qputenv("PELLORAN_CD_DEVICE", QFile::encodeName(image));
        Drives::SetSource(nullptr);
        state.CdDrive = image;
        state.VcdDir = AddPath(image, QStringLiteral("Mpegav"));
        state.DriveKind = qint16(Drives::DriveType(image));
    }

    static QTemporaryDir *s_dir;
    static QString s_videoCd, s_audioCd, s_why;
    MediaBackend m_saved = MediaBackend::Simulated;
    PlaybackState state;
    FakeHost host;
    std::unique_ptr<PlaybackEngine> engine;
};

QTemporaryDir *DiscImageTest::s_dir = nullptr;
QString DiscImageTest::s_videoCd;
QString DiscImageTest::s_audioCd;
QString DiscImageTest::s_why;

// (Playing the tracks is shown end to end, with the real window.)
TEST_F(DiscImageTest, AVideoCdImageIsProbedFromItsOwnFileSystem)
{
    useDrive(s_videoCd);
    ASSERT_EQ(state.DriveKind, Drives::TypeOptical);
    engine->CheckCdrom(true);

    EXPECT_EQ(state.MediaKind, "VCD");
    EXPECT_EQ(state.MediaCount, 2);
    EXPECT_TRUE(host.messages.contains("影音光碟"));
    EXPECT_EQ(host.messageText, "請選擇播放曲目 1~2");
    EXPECT_EQ(state.VcdFiles,
              (QStringList{s_videoCd + "/Mpegav/AVSEQ01.DAT", s_videoCd + "/Mpegav/AVSEQ02.DAT"}));

    // A cue sheet of another name than the data file it names is read the same way, and its
    // track plays as far as its end.
    const QString sheet = s_dir->filePath("video/Karaoke Vol 1.cue");
    ASSERT_TRUE(QFile::copy(s_videoCd, sheet));
    useDrive(sheet);
    engine->CheckCdrom(true);
    EXPECT_EQ(state.MediaKind, "VCD");
    EXPECT_EQ(state.MediaCount, 2);
    MciWnd track;
    track.setFileName(sheet + "/Mpegav/AVSEQ02.DAT");
    EXPECT_GT(track.Length(), 0);
}

TEST_F(DiscImageTest, TheEjectKeyTakesAVideoCdImageOutAndPutsItBackToBeProbedAgain)
{
    useDrive(s_videoCd);
    engine->CheckCdrom(true);
    ASSERT_EQ(state.MediaKind, "VCD");
    engine->discWatcher().start(600000);  // looked at by hand below

    engine->ChkCD(7);
    EXPECT_EQ(cdDrive().state(), CdDrive::State::TrayOpen);
    engine->discWatcher().poll();
    EXPECT_EQ(host.messageText, "-請放入光碟片-");
    EXPECT_EQ(state.MediaKind, "");

    engine->ChkCD(7);
    EXPECT_TRUE(host.messages.contains("進片中,請稍後..."));
    engine->discWatcher().poll();
    EXPECT_EQ(state.MediaKind, "VCD");
    EXPECT_EQ(state.MediaCount, 2);

    // A folder laid out as a disc and named as the drive goes out and comes back the same way.
    const QString folder = s_dir->filePath("folder-disc");
    ASSERT_TRUE(QDir().mkpath(folder + "/MPEGAV"));
    ASSERT_TRUE(QFile::copy(s_dir->filePath("video/track1.mpg"), folder + "/MPEGAV/AVSEQ01.DAT"));
    engine->discWatcher().stop();
    useDrive(folder);
    engine->CheckCdrom(false);
    ASSERT_EQ(state.MediaKind, "VCD");
    engine->discWatcher().start(600000);
    engine->ChkCD(7);
    engine->discWatcher().poll();
    EXPECT_EQ(host.messageText, "-請放入光碟片-");
    EXPECT_EQ(state.MediaKind, "");
    engine->ChkCD(7);
    engine->discWatcher().poll();
    EXPECT_EQ(state.MediaKind, "VCD");
    EXPECT_EQ(state.MediaCount, 1);
}

TEST_F(DiscImageTest, VolumeKeysReachTheEngineThatPlaysAnAudioCd)
{
    useDrive(s_audioCd);
    engine->CheckCdrom(true);
    ASSERT_EQ(state.MediaKind, "CDAudio");
    auto &drive = dynamic_cast<LibcdioDrive &>(cdDrive());
    ASSERT_TRUE(waitUntil([&] { return drive.state() == CdDrive::State::Playing; }, EventWaitMs));
    EXPECT_DOUBLE_EQ(drive.engineVolume(), 100.0);

    engine->ChkCD(3);  // volume down
    EXPECT_EQ(state.VolumeLevel, 900);
    EXPECT_DOUBLE_EQ(drive.engineVolume(), 90.0);
    engine->ChkCD(3);
    engine->ChkCD(4);  // volume up
    EXPECT_DOUBLE_EQ(drive.engineVolume(), 90.0);
    // A track started afterwards keeps the level.
    engine->PlayCd(2);
    EXPECT_DOUBLE_EQ(drive.engineVolume(), 90.0);
}

} // namespace
