// Starts the real Dobbrin program on a virtual X display with the simulated
// media back end, looks at what it shows (screenshots), clicks it as a user
// would and checks what it keeps at shut-down.
#include "Cp950.h"

#include "XDisplaySession.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString outputFile(const QString &name)
{
    const QString folder = QStringLiteral(LYRICTIMER_TEST_OUTPUT);
    QDir().mkpath(folder);
    return folder + u'/' + name;
}

// Pixels of the current-line colour (yellow) in a part of the picture.
int yellowPixels(const QImage &image, const QRect &area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom() && y < image.height(); ++y)
        for (int x = area.left(); x <= area.right() && x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            count += qRed(p) > 200 && qGreen(p) > 200 && qBlue(p) < 90 ? 1 : 0;
        }
    return count;
}

class DobbrinEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
        if (ffmpeg.isEmpty())
            GTEST_SKIP() << "ffmpeg is not installed";
        makeSong(ffmpeg);
        const QString unavailable = m_screen.start({460, 700}, QSize(1024, 700));
        if (!unavailable.isEmpty())
            GTEST_SKIP() << unavailable.toStdString();
    }

    void TearDown() override
    {
        if (m_dobbrin.state() != QProcess::NotRunning) {
            m_dobbrin.kill();
            m_dobbrin.waitForFinished(3000);
        }
        m_screen.stop();
    }

    void makeSong(const QString &ffmpeg)
    {
        QProcess make;
        make.start(ffmpeg, {QStringLiteral("-loglevel"), QStringLiteral("error"), QStringLiteral("-y"),
                            QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                            QStringLiteral("sine=frequency=440:duration=30"), QStringLiteral("-b:a"),
                            QStringLiteral("64k"), m_program.filePath(QStringLiteral("song.mp3"))});
        ASSERT_TRUE(make.waitForFinished(30000));
        const QStringList lyric = {QStringLiteral("好歌"), QStringLiteral("00:00:0第一句歌詞"),
                                   QStringLiteral("00:01:0第二句歌詞"), QStringLiteral("00:25:0第三句歌詞")};
        ASSERT_TRUE(Cp950::writeTextFile(m_program.filePath(QStringLiteral("song.txt")), Cp950::joinCrLf(lyric)));
    }

    void startDobbrin(const QString &media = QStringLiteral("sim"))
    {
        QProcessEnvironment env = m_screen.programEnvironment();
        env.insert(QStringLiteral("PELLORAN_MEDIA"), media);
        env.insert(QStringLiteral("PELLORAN_PROGRAM_DIR"), m_program.path());
        env.insert(QStringLiteral("HOME"), m_home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
        m_dobbrin.setProcessEnvironment(env);
        m_dobbrin.setProcessChannelMode(QProcess::MergedChannels);
        m_dobbrin.start(programBesideTests(QStringLiteral("Dobbrin")), {});
        ASSERT_TRUE(m_dobbrin.waitForStarted(5000));
    }

    QImage screenshot(const QString &path) { return m_screen.screenshot(path); }

    QTemporaryDir m_program;
    QTemporaryDir m_home;
    XDisplaySession m_screen;
    QProcess m_dobbrin;
};

} // namespace

TEST_F(DobbrinEndToEnd, PlaysTheFoldersSongShowsItsLyricAndKeepsColoursAtTheEnd)
{
    startDobbrin();
    XInput pointer(m_screen.display().toLocal8Bit());
    ASSERT_TRUE(pointer.usable()) << "the X test extension could not be loaded";

    // The window sits at the top left of the display; the current lyric line
    // is drawn in yellow below the buttons while the song plays.
    const QRect lyricLine(240, 204, 472, 64);
    const QString playShot = outputFile(QStringLiteral("dobbrin-play.png"));
    QImage shown;
    waitUntil([&] {
        shown = screenshot(playShot);
        return !shown.isNull() && yellowPixels(shown, lyricLine) > 150;
    }, 20000, 200);
    ASSERT_FALSE(shown.isNull());
    EXPECT_GT(yellowPixels(shown, lyricLine), 150) << "no lyric line shown; see " << playShot.toStdString();

    pointer.click(500, 78);  // "To 編輯模式": the lyric list replaces the big line
    const QString editShot = outputFile(QStringLiteral("dobbrin-edit.png"));
    waitUntil([&] {
        shown = screenshot(editShot);
        return !shown.isNull() && yellowPixels(shown, lyricLine) < 50;
    }, 8000, 200);
    EXPECT_LT(yellowPixels(shown, lyricLine), 50) << "still in play mode; see " << editShot.toStdString();

    pointer.click(459, 189);  // "結束"
    ASSERT_TRUE(m_dobbrin.waitForFinished(8000));
    EXPECT_EQ(m_dobbrin.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_dobbrin.exitCode(), 0);
    QFile settings(m_home.filePath(QStringLiteral("config/Pelloran/Dobbrin V1.0 Beta.conf")));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly)) << "no settings kept";
    const QByteArray kept = settings.readAll();
    EXPECT_TRUE(kept.contains("BackColor=4194304")) << kept.toStdString();
    EXPECT_TRUE(kept.contains("SongColor=65535")) << kept.toStdString();
    EXPECT_TRUE(kept.contains("SongColor1=49344")) << kept.toStdString();
}

// libmpv is loaded while the window shows; the folder's song, opened at once, plays on the
// real engine: the lyric line moves on from the first line to the second.
TEST_F(DobbrinEndToEnd, OnTheRealEngineTheSongOpenedAtStartPlays)
{
    startDobbrin(QStringLiteral("real"));
    const QRect lyricLine(240, 204, 472, 64);
    const QString shot = outputFile(QStringLiteral("dobbrin-real-start.png"));
    QImage first;
    waitUntil([&] {
        first = screenshot(shot);
        return !first.isNull() && yellowPixels(first, lyricLine) > 150;
    }, 20000, 100);
    ASSERT_GT(yellowPixels(first, lyricLine), 150) << "no lyric line shown; see " << shot.toStdString();
    const QImage firstLine = first.copy(lyricLine);
    QImage later;
    waitUntil([&] {
        later = screenshot(shot);
        return !later.isNull() && yellowPixels(later, lyricLine) > 150 && later.copy(lyricLine) != firstLine;
    }, 15000, 200);
    EXPECT_NE(later.copy(lyricLine), firstLine) << "the lyric line never moved on; see " << shot.toStdString();
    const QString output = QString::fromLocal8Bit(m_dobbrin.readAll());
    EXPECT_FALSE(output.contains(QStringLiteral("libmpv could not be loaded"))) << output.toStdString();
}
