// Dobbrin on the real media back end (libmpv) and a virtual X display: in play
// mode it plays the songs of its folder one after another, each to its end.
#include "ListHighlight.h"
#include "XDisplaySession.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// The play list's place on the screen: the window sits at the top left.
const QRect PlayList(10, 362, 218, 124);

class DobbrinRealMedia : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
        if (ffmpeg.isEmpty())
            GTEST_SKIP() << "ffmpeg is not installed";
        // Three short songs of different pitch, 2.6 s each: the length reads as 3 whole
        // seconds, which the last clock reading before the device stops never reaches.
        const QStringList songs = {QStringLiteral("a.mp3"), QStringLiteral("b.mp3"), QStringLiteral("c.mp3")};
        for (int i = 0; i < songs.size(); ++i) {
            QProcess make;
            make.start(ffmpeg, {QStringLiteral("-loglevel"), QStringLiteral("error"), QStringLiteral("-y"),
                                QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                                QStringLiteral("sine=frequency=%1:duration=2.6").arg(440 + 110 * i),
                                QStringLiteral("-b:a"), QStringLiteral("64k"), m_program.filePath(songs[i])});
            ASSERT_TRUE(make.waitForFinished(30000));
            ASSERT_EQ(make.exitCode(), 0);
        }
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

    void startDobbrin()
    {
        QProcessEnvironment env = m_screen.programEnvironment();
        env.remove(QStringLiteral("PELLORAN_MEDIA"));  // libmpv, not the simulation
        env.insert(QStringLiteral("PELLORAN_PROGRAM_DIR"), m_program.path());
        env.insert(QStringLiteral("HOME"), m_home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
        m_dobbrin.setProcessEnvironment(env);
        m_dobbrin.start(programBesideTests(QStringLiteral("Dobbrin")), {});
        ASSERT_TRUE(m_dobbrin.waitForStarted(5000));
    }

    QTemporaryDir m_program;
    QTemporaryDir m_home;
    XDisplaySession m_screen;
    QProcess m_dobbrin;
};

} // namespace

TEST_F(DobbrinRealMedia, PlayModePlaysTheFoldersSongsOneAfterAnother)
{
    startDobbrin();
    // The rows the highlight stood on, in the order it went there.
    QList<int> rows;
    const QString shotPath = m_program.filePath(QStringLiteral("shot.png"));
    waitUntil([&] {
        const QImage shot = m_screen.screenshot(shotPath);
        const int row = shot.isNull() ? -1 : highlightedRow(shot, PlayList);
        if (row >= 0 && (rows.isEmpty() || qAbs(rows.last() - row) > 4))
            rows << row;
        return rows.size() >= 4;
    }, 30000, 150);
    ASSERT_GE(rows.size(), 3) << "the play list did not move on";
    EXPECT_LT(rows[0], rows[1]);
    EXPECT_LT(rows[1], rows[2]);
    ASSERT_EQ(rows.size(), 4) << "the last song did not end";
    EXPECT_LE(qAbs(rows[3] - rows[0]), 4) << "after the last song the first plays again";
    EXPECT_EQ(m_dobbrin.state(), QProcess::Running);
}
