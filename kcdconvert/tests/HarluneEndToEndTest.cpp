// Starts the real Harlune program on a virtual X display, clicks it as a user
// would, and checks what it shows (a screenshot) and what it writes.
#include "KcdTestFiles.h"

#include "ProgramSandbox.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>

namespace {

// The window sits at the top left of the display: files on the left, songs in
// the middle column, lines in the right one, buttons along the bottom. Lists are
// clicked into and then moved in with keys: how high a row is, the font decides.
const QRect SongsArea(340, 38, 210, 35);
const QRect LinesArea(565, 15, 320, 110);
const QPoint FolderList(60, 120), FileList(60, 330), SongList(390, 45);
const QPoint ConvertFile(95, 536), ConvertFolder(273, 536), Exit(803, 536);
constexpr unsigned long KeyHome = 0xff50, KeyEnd = 0xff57, KeyDown = 0xff54, KeyReturn = 0xff0d;

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
        if (!m_harlune.unavailable().isEmpty())
            GTEST_SKIP() << m_harlune.unavailable().toStdString();
        QDir().mkpath(songFile(QString()));
    }

    QString songFile(const QString& name) const { return m_harlune.programFile(QStringLiteral("歌詞/") + name); }
    QString programFile(const QString& name) const { return m_harlune.programFile(name); }

    // Starts Harlune and waits until its window lists the songs of the first file (the
    // bare display is black until then); that screen.
    QImage startHarlune()
    {
        EXPECT_TRUE(m_harlune.start());
        EXPECT_TRUE(m_harlune.input().usable()) << "the X test extension could not be loaded";
        return m_harlune.screenshotWhen(QStringLiteral("harlune-start.png"), [](const QImage& shot) {
            return qGray(shot.pixel(450, 300)) > 100 && darkPixels(shot, SongsArea) > 100;
        });
    }

    // Clicks into a list, then chooses its entry with keys: the first, the one after it, or the last.
    void choose(QPoint list, std::initializer_list<unsigned long> keys)
    {
        m_harlune.input().click(list.x(), list.y());
        for (const unsigned long key : keys)
            m_harlune.input().type(key);
    }

    ProgramSandbox m_harlune{QStringLiteral("Harlune"), {140, 400}, QSize(1024, 700)};
};

} // namespace

TEST_F(HarluneEndToEnd, ShowsFilesSongsAndLinesAndConvertsTheFolder)
{
    KcdTestFiles::writeKcd(songFile(QStringLiteral("01情歌.KCD")), KcdTestFiles::albumOfTwoSongs(QStringLiteral("情歌精選")));
    KcdTestFiles::writeKcd(songFile(QStringLiteral("02老歌.KCD")), KcdTestFiles::albumOfTwoSongs(QStringLiteral("懷念老歌")));
    KcdTestFiles::writeKcd(songFile(QStringLiteral("03兒歌.KCD")),
                           {QStringLiteral("10,小星星＠兒歌＠"), QStringLiteral("00:05:0 ,一閃一閃＠"),
                            QStringLiteral("11,沒有時間")});
    const QImage before = startHarlune();
    ASSERT_FALSE(before.isNull());
    XInput& pointer = m_harlune.input();

    choose(SongList, {KeyHome}); // the first song
    const QImage shown = m_harlune.screenshotWhen(QStringLiteral("harlune-screenshot.png"), [](const QImage& shot) {
        return darkPixels(shot, LinesArea) > 200;
    });
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(darkPixels(before, LinesArea), 0);
    EXPECT_GT(darkPixels(shown, LinesArea), 200) << "no song lines shown; see harlune-screenshot.png";
    EXPECT_GT(darkPixels(shown, SongsArea), 100) << "no songs listed";
    EXPECT_GT(darkPixels(shown, QRect(11, 500, 80, 16)), 20) << "no file count shown";

    choose(FileList, {KeyHome, KeyDown}); // the second file
    pointer.click(ConvertFolder.x(), ConvertFolder.y()); // convert the folder from it
    // The last file's second song, which has no time, is the log's last line.
    const QString logPath = programFile(QStringLiteral("Harlune.logo"));
    const QDir children(programFile(QStringLiteral("SongLib/兒歌")));
    ProgramSandbox::waitFor([&] {
        return KcdTestFiles::readBytes(logPath).endsWith("\r\n") && children.entryList(QDir::Files).size() == 1;
    });
    EXPECT_FALSE(QFileInfo::exists(programFile(QStringLiteral("SongLib/情歌精選"))));
    EXPECT_EQ(QDir(programFile(QStringLiteral("SongLib/懷念老歌"))).entryList(QDir::Files).size(), 2);
    EXPECT_EQ(children.entryList(QDir::Files).size(), 1);
    EXPECT_EQ(KcdTestFiles::readBytes(logPath),
              QByteArray("03") + Cp950::encode(QStringLiteral("兒歌")) + ".KCD 02_" +
                  Cp950::encode(QStringLiteral("沒有時間")) + ".txt\r\n");
    m_harlune.screenshot(QStringLiteral("harlune-after-batch.png"));

    pointer.click(Exit.x(), Exit.y()); // 結束
    EXPECT_EQ(m_harlune.waitForEnd(), 0) << m_harlune.report();
}

// A whole album file, then a file whose first song does not start at its first
// field: the batch writes every song of the album exactly, and the second
// file's songs go to a folder named after that file instead of overwriting the
// album's. That file converted again after an edit replaces its own songs, the
// untitled one too; a file of the same name in another folder gets a folder of its own.
TEST_F(HarluneEndToEnd, ConvertsAWholeAlbumAndStartsEachFileWithoutAnAlbum)
{
    KcdTestFiles::writeKcd(songFile(QStringLiteral("01老歌.KCD")),
                           {QStringLiteral("10,月光曲:某甲詞:某乙＠經典老歌＠"),
                            QStringLiteral("00:10:5 00:14:2 00:18:0 ,第一句＠第二句＠"),
                            QStringLiteral("11,\"海風 詞:某人＠\""), QStringLiteral("00:05:0 00:09:5 ,海上＠風起＠"),
                            QStringLiteral("12,　　＠"), QStringLiteral("00:03:0 ,無名的歌＠"),
                            QStringLiteral("13,山路"), QStringLiteral("00:01:0 00:02:5 00:04:0 ,走山路＠上山頂＠")});
    const auto otherFile = [](const QString& moon, const QString& untitled) {
        return QStringList{QStringLiteral("說明文字"), QStringLiteral("10,月光"), QStringLiteral("00:01:0 ,") + moon,
                           QStringLiteral("11,　"), QStringLiteral("00:04:0 ,") + untitled};
    };
    const QString other = songFile(QStringLiteral("02其他.KCD"));
    KcdTestFiles::writeKcd(other, otherFile(QStringLiteral("別的月光＠"), QStringLiteral("無題＠")));
    ASSERT_TRUE(QDir().mkpath(songFile(QStringLiteral("乙"))));
    KcdTestFiles::writeKcd(songFile(QStringLiteral("乙/02其他.KCD")),
                           otherFile(QStringLiteral("乙的月光＠"), QStringLiteral("乙的無題＠")));
    ASSERT_GT(darkPixels(startHarlune(), SongsArea), 100) << "the first file's songs are not listed";
    XInput& pointer = m_harlune.input();

    pointer.click(ConvertFolder.x(), ConvertFolder.y()); // convert the folder from the first file, selected at start
    // Every song is written whole in its place; the last file's are the last written.
    const QString library = programFile(QStringLiteral("SongLib"));
    const QString otherSongs = library + QStringLiteral("/02其他.KCD/");
    const auto songsIn = [](const QString& folder) { return QDir(folder).entryList(QDir::Files, QDir::Name); };
    ProgramSandbox::waitFor([&] { return songsIn(otherSongs).size() == 2; });
    m_harlune.screenshot(QStringLiteral("harlune-album.png"));

    const QString album = library + QStringLiteral("/經典老歌/");
    EXPECT_EQ(songsIn(album), (QStringList{QStringLiteral("01_月光.txt"), QStringLiteral("02_海風.txt"),
                                           QStringLiteral("03_山路.txt"), QStringLiteral("未命名.txt")}));
    const auto expect = [](const QString& path, const QString& text) {
        EXPECT_EQ(KcdTestFiles::readBytes(path), Cp950::encode(text)) << path.toStdString();
    };
    expect(album + QStringLiteral("01_月光.txt"),
           QStringLiteral("00:00:0 01_月光\r\n00:10:5 第一句\r\n00:14:2 第二句\r\n00:18:0 ---End---\r\n"));
    expect(album + QStringLiteral("02_海風.txt"), QStringLiteral("00:00:0 02_海風\r\n00:05:0 海上\r\n00:09:5 風起\r\n"));
    expect(album + QStringLiteral("未命名.txt"), QStringLiteral("00:00:0 未命名\r\n00:03:0 無名的歌\r\n"));
    expect(album + QStringLiteral("03_山路.txt"),
           QStringLiteral("00:00:0 03_山路\r\n00:01:0 走山路\r\n00:02:5 上山頂\r\n00:04:0 ---End---\r\n"));
    expect(otherSongs + QStringLiteral("01_月光.txt"), QStringLiteral("00:00:0 01_月光\r\n00:01:0 別的月光\r\n"));
    // Every song was written: the failure log is empty.
    EXPECT_TRUE(QFileInfo::exists(programFile(QStringLiteral("Harlune.logo"))));
    EXPECT_EQ(KcdTestFiles::readBytes(programFile(QStringLiteral("Harlune.logo"))), QByteArray());

    // The file, the last one converted, edited and converted again: its own songs are replaced.
    KcdTestFiles::writeKcd(other, otherFile(QStringLiteral("改過的月光＠"), QStringLiteral("改過的無題＠")));
    pointer.click(ConvertFile.x(), ConvertFile.y());
    const QString untitled = QStringLiteral("00:00:0 未命名\r\n00:04:0 改過的無題\r\n");
    ProgramSandbox::waitFor([&] { return KcdTestFiles::readBytes(otherSongs + QStringLiteral("未命名.txt")) == Cp950::encode(untitled); });
    EXPECT_EQ(songsIn(otherSongs), (QStringList{QStringLiteral("01_月光.txt"), QStringLiteral("未命名.txt")}));
    expect(otherSongs + QStringLiteral("01_月光.txt"), QStringLiteral("00:00:0 01_月光\r\n00:01:0 改過的月光\r\n"));
    expect(otherSongs + QStringLiteral("未命名.txt"), untitled);

    // The file of the same name in the folder 乙 (the folder list's last entry) converted.
    choose(FolderList, {KeyEnd, KeyReturn});
    pointer.click(ConvertFolder.x(), ConvertFolder.y());
    const QString secondSongs = library + QStringLiteral("/02其他.KCD(2)/");
    ProgramSandbox::waitFor([&] { return songsIn(secondSongs).size() == 2; });
    m_harlune.screenshot(QStringLiteral("harlune-same-name.png"));
    EXPECT_EQ(songsIn(library), QStringList()); // no song lies loose in the library
    EXPECT_EQ(QDir(library).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name),
              (QStringList{QStringLiteral("02其他.KCD"), QStringLiteral("02其他.KCD(2)"), QStringLiteral("經典老歌")}));
    expect(secondSongs + QStringLiteral("01_月光.txt"), QStringLiteral("00:00:0 01_月光\r\n00:01:0 乙的月光\r\n"));
    expect(secondSongs + QStringLiteral("未命名.txt"), QStringLiteral("00:00:0 未命名\r\n00:04:0 乙的無題\r\n"));
    // The first file's songs are still its own.
    EXPECT_EQ(songsIn(otherSongs), (QStringList{QStringLiteral("01_月光.txt"), QStringLiteral("未命名.txt")}));
    expect(otherSongs + QStringLiteral("01_月光.txt"), QStringLiteral("00:00:0 01_月光\r\n00:01:0 改過的月光\r\n"));
    expect(otherSongs + QStringLiteral("未命名.txt"), untitled);
    EXPECT_EQ(KcdTestFiles::readBytes(programFile(QStringLiteral("Harlune.logo"))), QByteArray());

    pointer.click(Exit.x(), Exit.y()); // 結束
    EXPECT_EQ(m_harlune.waitForEnd(), 0) << m_harlune.report();
}
