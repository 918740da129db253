// The playback engine on the real back end (libcdio, libmpv) with disc images
// made at test time as the player's optical drive, named by
// PELLORAN_CD_DEVICE as a user names the image they keep.
#include "CdDrive.h"
#include "Clock.h"
#include "Drives.h"
#include "FakeHost.h"
#include "LibcdioDrive.h"
#include "MciCommand.h"
#include "MediaBackend.h"
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
        s_videoCd = makeVideoCdImage(s_dir->filePath("video"), {3, 2}, &s_why);
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
        host.pictureShown = true;
        host.area = QRect(10, 10, 176, 120);
        engine = std::make_unique<PlaybackEngine>(state, host);
        engine->connectControl(host.control.get());
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

TEST_F(DiscImageTest, AVideoCdImageIsProbedAndItsTracksPlayOneAfterAnother)
{
    useDrive(s_videoCd);
    ASSERT_EQ(state.DriveKind, Drives::TypeOptical);
    host.autoPlay = true;
    host.endChoice = PlaybackHost::Repeat;
    state.PlaySpeed = 2000;  // the end comes sooner
    engine->CheckCdrom(true);

    EXPECT_EQ(state.MediaKind, "VCD");
    EXPECT_EQ(state.MediaCount, 2);
    EXPECT_TRUE(host.messages.contains("影音光碟"));
    const QStringList tracks{s_videoCd + "/Mpegav/AVSEQ01.DAT", s_videoCd + "/Mpegav/AVSEQ02.DAT"};
    EXPECT_EQ(state.VcdFiles, tracks);

    // Track 1 plays in the picture area.
    MciWnd *control = host.control.get();
    EXPECT_EQ(state.ActiveMci, control);
    EXPECT_EQ(control->FileName(), tracks[0]);
    ASSERT_TRUE(waitUntil([&] { return host.labels[2] == "AVSEQ01.DAT"; }, 3000)) << control->Mode().toStdString();
    EXPECT_GT(control->Position(), 0);
    EXPECT_EQ(host.labels[1], "00:00:03");

    // Track 2 shows its own length; its end goes on as the end-of-disc choice
    // says: back to track 1.
    engine->PlayCd(2);
    EXPECT_EQ(control->FileName(), tracks[1]);
    ASSERT_TRUE(waitUntil([&] { return host.labels[2] == "AVSEQ02.DAT"; }, 3000));
    EXPECT_EQ(host.labels[1], "00:00:02");
    ASSERT_TRUE(waitUntil([&] { return control->FileName() == tracks[0]; }, 5000)) << state.SeekPos;
    EXPECT_EQ(state.TrackIndex, 0);
}

TEST_F(DiscImageTest, VolumeKeysReachTheEngineThatPlaysAnAudioCd)
{
    useDrive(s_audioCd);
    engine->CheckCdrom(true);
    ASSERT_EQ(state.MediaKind, "CDAudio");
    auto &drive = dynamic_cast<LibcdioDrive &>(cdDrive());
    ASSERT_TRUE(waitUntil([&] { return drive.state() == CdDrive::State::Playing; }, 3000));
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
