// Starts the real Harlune program on a virtual X display, clicks it as a user
// would, and checks what it shows (a screenshot) and what it writes.
#include "KcdTestFiles.h"

#include "XDisplaySession.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// Dark pixels (text) in a part of the picture.
int darkPixels(const QImage& image, const QRect& area)
{
    int dark = 0;
    for (int y = area.top(); y <= area.bottom() && y < image.height(); ++y)
        for (int x = area.left(); x <= area.right() && x < image.width(); ++x)
            dark += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
    return dark;
}

class HarluneEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString unavailable = m_screen.start({140, 400}, QSize(1024, 700));
        if (!unavailable.isEmpty())
            GTEST_SKIP() << unavailable.toStdString();
    }

    void TearDown() override
    {
        if (m_harlune.state() != QProcess::NotRunning) {
            m_harlune.kill();
            m_harlune.waitForFinished(EventWaitMs);
        }
        m_screen.stop();
    }

    void startHarlune()
    {
        QProcessEnvironment env = m_screen.programEnvironment();
        env.insert(QStringLiteral("PELLORAN_PROGRAM_DIR"), m_program.path());
        m_harlune.setProcessEnvironment(env);
        m_harlune.start(programBesideTests(QStringLiteral("Harlune")), {});
        ASSERT_TRUE(m_harlune.waitForStarted(EventWaitMs));
        // The bare display is black until the window is drawn on it.
        waitUntil([this] {
            const QImage shot = screenshot(m_program.filePath(QStringLiteral("start.png")));
            return !shot.isNull() && qGray(shot.pixel(450, 300)) > 100;
        }, EventWaitMs, 300);
        QThread::msleep(500);
    }

    QImage screenshot(const QString& path) { return m_screen.screenshot(path); }

    QTemporaryDir m_program;
    XDisplaySession m_screen;
    QProcess m_harlune;
};

} // namespace

TEST_F(HarluneEndToEnd, ShowsFilesSongsAndLinesAndConvertsTheFolder)
{
    const QString songs = m_program.filePath(QStringLiteral("歌詞"));
    QDir().mkpath(songs);
    KcdTestFiles::writeKcd(songs + QStringLiteral("/01情歌.KCD"), KcdTestFiles::albumOfTwoSongs(QStringLiteral("情歌精選")));
    KcdTestFiles::writeKcd(songs + QStringLiteral("/02老歌.KCD"), KcdTestFiles::albumOfTwoSongs(QStringLiteral("懷念老歌")));
    KcdTestFiles::writeKcd(songs + QStringLiteral("/03兒歌.KCD"),
                           {QStringLiteral("10,小星星＠兒歌＠"), QStringLiteral("00:05:0 ,一閃一閃＠"),
                            QStringLiteral("11,沒有時間")});
    startHarlune();
    XInput pointer(m_screen.display().toLocal8Bit());
    ASSERT_TRUE(pointer.usable()) << "the X test extension could not be loaded";

    // The window sits at the top left of the display: songs in the middle
    // column, lines in the right one, buttons along the bottom.
    const QRect linesArea(565, 15, 320, 110);
    const QImage before = screenshot(m_program.filePath(QStringLiteral("before.png")));
    ASSERT_FALSE(before.isNull());
    pointer.click(390, 45); // the first song
    const QString shotPath = programBesideTests(QStringLiteral("harlune-screenshot.png"));
    QImage shown;
    waitUntil([&] {
        shown = screenshot(shotPath);
        return !shown.isNull() && darkPixels(shown, linesArea) > 200;
    }, EventWaitMs);
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(darkPixels(before, linesArea), 0);
    EXPECT_GT(darkPixels(shown, linesArea), 200) << "no song lines shown; see " << shotPath.toStdString();
    EXPECT_GT(darkPixels(shown, QRect(340, 38, 210, 35)), 100) << "no songs listed";
    EXPECT_GT(darkPixels(shown, QRect(11, 500, 80, 16)), 20) << "no file count shown";

    pointer.click(60, 253);  // the second file
    pointer.click(273, 536); // convert the folder from it
    const QString logPath = m_program.filePath(QStringLiteral("Harlune.logo"));
    waitUntil([&] { return KcdTestFiles::readBytes(logPath).endsWith("\r\n"); }, EventWaitMs);
    QThread::msleep(500);
    EXPECT_FALSE(QFileInfo::exists(m_program.filePath(QStringLiteral("SongLib/情歌精選"))));
    EXPECT_EQ(QDir(m_program.filePath(QStringLiteral("SongLib/懷念老歌"))).entryList(QDir::Files).size(), 2);
    EXPECT_EQ(QDir(m_program.filePath(QStringLiteral("SongLib/兒歌"))).entryList(QDir::Files).size(), 1);
    EXPECT_EQ(KcdTestFiles::readBytes(logPath),
              QByteArray("03") + Cp950::encode(QStringLiteral("兒歌")) + ".KCD 02_" +
                  Cp950::encode(QStringLiteral("沒有時間")) + ".txt\r\n");
    screenshot(programBesideTests(QStringLiteral("harlune-after-batch.png")));

    pointer.click(803, 536); // 結束
    EXPECT_TRUE(m_harlune.waitForFinished(EventWaitMs));
}

// A whole album file, then a file whose first song does not start at its first
// field: the batch writes every song of the album exactly, and the second
// file's song goes to a folder named after that file instead of overwriting the album's.
TEST_F(HarluneEndToEnd, ConvertsAWholeAlbumAndStartsEachFileWithoutAnAlbum)
{
    const QString songs = m_program.filePath(QStringLiteral("歌詞"));
    QDir().mkpath(songs);
    KcdTestFiles::writeKcd(songs + QStringLiteral("/01老歌.KCD"),
                           {QStringLiteral("10,月光曲:某甲詞:某乙＠經典老歌＠"),
                            QStringLiteral("00:10:5 00:14:2 00:18:0 ,第一句＠第二句＠"),
                            QStringLiteral("11,\"海風 詞:某人＠\""), QStringLiteral("00:05:0 00:09:5 ,海上＠風起＠"),
                            QStringLiteral("12,　　＠"), QStringLiteral("00:03:0 ,無名的歌＠"),
                            QStringLiteral("13,山路"), QStringLiteral("00:01:0 00:02:5 00:04:0 ,走山路＠上山頂＠")});
    KcdTestFiles::writeKcd(songs + QStringLiteral("/02其他.KCD"),
                           {QStringLiteral("說明文字"), QStringLiteral("10,月光"), QStringLiteral("00:01:0 ,別的月光＠")});
    startHarlune();
    XInput pointer(m_screen.display().toLocal8Bit());
    ASSERT_TRUE(pointer.usable()) << "the X test extension could not be loaded";

    pointer.click(273, 536); // convert the folder from the first file, selected at start
    const QString library = m_program.filePath(QStringLiteral("SongLib"));
    const QString lastSong = library + QStringLiteral("/02其他.KCD/01_月光.txt");
    waitUntil([&] { return QFileInfo::exists(lastSong); }, EventWaitMs);
    QThread::msleep(500);
    screenshot(programBesideTests(QStringLiteral("harlune-album.png")));

    const QString album = library + QStringLiteral("/經典老歌/");
    EXPECT_EQ(QDir(album).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("01_月光.txt"), QStringLiteral("02_海風.txt"), QStringLiteral("03_山路.txt"),
                           QStringLiteral("未命名.txt")}));
    const auto expect = [](const QString& path, const QString& text) {
        EXPECT_EQ(KcdTestFiles::readBytes(path), Cp950::encode(text)) << path.toStdString();
    };
    expect(album + QStringLiteral("01_月光.txt"),
           QStringLiteral("00:00:0 01_月光\r\n00:10:5 第一句\r\n00:14:2 第二句\r\n00:18:0 ---End---\r\n"));
    expect(album + QStringLiteral("02_海風.txt"), QStringLiteral("00:00:0 02_海風\r\n00:05:0 海上\r\n00:09:5 風起\r\n"));
    expect(album + QStringLiteral("未命名.txt"), QStringLiteral("00:00:0 未命名\r\n00:03:0 無名的歌\r\n"));
    expect(album + QStringLiteral("03_山路.txt"),
           QStringLiteral("00:00:0 03_山路\r\n00:01:0 走山路\r\n00:02:5 上山頂\r\n00:04:0 ---End---\r\n"));
    expect(lastSong, QStringLiteral("00:00:0 01_月光\r\n00:01:0 別的月光\r\n"));
    // Every song was written: the failure log is empty.
    EXPECT_TRUE(QFileInfo::exists(m_program.filePath(QStringLiteral("Harlune.logo"))));
    EXPECT_EQ(KcdTestFiles::readBytes(m_program.filePath(QStringLiteral("Harlune.logo"))), QByteArray());

    pointer.click(803, 536); // 結束
    EXPECT_TRUE(m_harlune.waitForFinished(EventWaitMs));
}
