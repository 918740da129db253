#include "Cp950.h"
#include "KcdConverter.h"
#include "FieldReader.h"
#include "KcdTestFiles.h"
#include "FullDisk.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using KcdTestFiles::readBytes;
using KcdTestFiles::writeKcd;

namespace {

class KcdConverterTest : public ::testing::Test
{
protected:
    QString programFolder() const { return m_folder.path(); }
    QString kcdFolder() const { return m_folder.filePath(QStringLiteral("歌詞")); }
    QString library() const { return m_folder.filePath(QStringLiteral("SongLib")); }

    QString addKcd(const QString& name, const QStringList& lines)
    {
        QDir().mkpath(kcdFolder());
        const QString path = kcdFolder() + u'/' + name;
        writeKcd(path, lines);
        return path;
    }

    void readFile(KcdConverter& converter, const QString& path)
    {
        converter.setKcdPath(path);
        converter.ReadSongFile();
    }

    QStringList songFilesIn(const QString& album) const
    {
        return QDir(library() + u'/' + album).entryList(QDir::Files, QDir::Name);
    }

    QTemporaryDir m_folder;
};

// A record without a time field: its song cannot be written.
QStringList albumWithASongWithoutTimes(const QString& album)
{
    return {QStringLiteral("10,甲＠") + album + QStringLiteral("＠"), QStringLiteral("00:01:0 ,一＠"),
            QStringLiteral("11,乙"), QStringLiteral("只有歌詞＠")};
}

} // namespace

TEST_F(KcdConverterTest, ReadSongFileListsSongsAndAlbum)
{
    KcdConverter converter(programFolder());
    readFile(converter, addKcd("a.KCD", KcdTestFiles::albumOfTwoSongs()));
    EXPECT_EQ(converter.state().List1, (QStringList{QStringLiteral("01_情人的眼淚"), QStringLiteral("02_第二首")}));
    EXPECT_EQ(converter.state().List3, (QStringList{QStringLiteral("001 情人的眼淚"), QStringLiteral("005 第二首")}));
    EXPECT_EQ(converter.state().Label1, QStringLiteral("我的專集"));
}

TEST_F(KcdConverterTest, FirstRecordNotAtFieldZeroHasNoAlbumOfItsOwn)
{
    KcdConverter converter(programFolder());
    const QStringList lateStart{QStringLiteral("說明"), QStringLiteral("10,歌＠別的＠"), QStringLiteral("00:01:0 ,一＠")};
    readFile(converter, addKcd("late.KCD", lateStart));
    EXPECT_EQ(converter.state().Label1, QStringLiteral("專集名稱"));
    EXPECT_EQ(converter.state().List1, (QStringList{QStringLiteral("01_歌")}));

    // After a file with an album the next file starts afresh, so its song does
    // not land in (and overwrite a song of) the album read before.
    QDir().mkpath(library() + QStringLiteral("/我的專集"));
    KcdTestFiles::writeBytes(library() + QStringLiteral("/我的專集/01_歌.txt"), "keep");
    readFile(converter, addKcd("a.KCD", KcdTestFiles::albumOfTwoSongs()));
    readFile(converter, addKcd("late.KCD", lateStart));
    EXPECT_EQ(converter.state().Label1, QStringLiteral("專集名稱"));
    converter.ConvertFile();
    EXPECT_EQ(readBytes(library() + QStringLiteral("/我的專集/01_歌.txt")), QByteArray("keep"));
    EXPECT_EQ(songFilesIn(QStringLiteral("late.KCD")), (QStringList{QStringLiteral("01_歌.txt")}));
}

TEST_F(KcdConverterTest, UnreadableFilesListWhatWasReadBeforeTheDamage)
{
    KcdConverter converter(programFolder());
    readFile(converter, addKcd("a.KCD", KcdTestFiles::albumOfTwoSongs()));
    readFile(converter, kcdFolder() + QStringLiteral("/missing.KCD"));
    EXPECT_TRUE(converter.state().List1.isEmpty());
    EXPECT_TRUE(converter.state().List2.isEmpty());

    QStringList damaged = KcdTestFiles::albumOfTwoSongs();
    damaged[2] = QStringLiteral("15,\"第二首 詞:某人＠");
    readFile(converter, addKcd("damaged.KCD", damaged));
    EXPECT_EQ(converter.state().List1, (QStringList{QStringLiteral("01_情人的眼淚")}));
}

TEST_F(KcdConverterTest, SelectSongShowsItsTimedLines)
{
    KcdConverter converter(programFolder());
    readFile(converter, addKcd("a.KCD", KcdTestFiles::albumOfTwoSongs()));
    converter.SelectSong(1);
    EXPECT_EQ(converter.state().SongName, QStringLiteral("02_第二首"));
    EXPECT_EQ(converter.state().List2,
              (QStringList{QStringLiteral("00:00:0 02_第二首"), QStringLiteral("00:05:0 歌詞一"),
                           QStringLiteral("00:09:5 歌詞二")}));
}

TEST_F(KcdConverterTest, SaveListWritesCp950WithCrLfIntoTheAlbumFolder)
{
    KcdConverter converter(programFolder());
    readFile(converter, addKcd("a.KCD", KcdTestFiles::albumOfTwoSongs()));
    converter.SelectSong(0);
    ASSERT_TRUE(converter.SaveList());
    const QString expected = QStringLiteral("00:00:0 01_情人的眼淚\r\n00:10:5 第一句\r\n00:14:2 第二句\r\n"
                                            "00:18:0 ---End---\r\n");
    EXPECT_EQ(readBytes(library() + QStringLiteral("/我的專集/01_情人的眼淚.txt")), Cp950::encode(expected));
    EXPECT_TRUE(converter.state().List4.isEmpty());
}

TEST_F(KcdConverterTest, ConvertFileWritesEverySongAndReplacesOldFiles)
{
    KcdConverter converter(programFolder());
    QDir().mkpath(library() + QStringLiteral("/我的專集"));
    KcdTestFiles::writeBytes(library() + QStringLiteral("/我的專集/02_第二首.txt"), "old");
    readFile(converter, addKcd("a.KCD", KcdTestFiles::albumOfTwoSongs()));
    converter.ConvertFile();
    EXPECT_EQ(songFilesIn(QStringLiteral("我的專集")),
              (QStringList{QStringLiteral("01_情人的眼淚.txt"), QStringLiteral("02_第二首.txt")}));
    EXPECT_TRUE(readBytes(library() + QStringLiteral("/我的專集/02_第二首.txt")).startsWith("00:00:0 "));
}

TEST_F(KcdConverterTest, SongWithoutTimeFieldIsSkippedAndReported)
{
    KcdConverter converter(programFolder());
    QDir().mkpath(library() + QStringLiteral("/專"));
    KcdTestFiles::writeBytes(library() + QStringLiteral("/專/02_乙.txt"), "keep");
    readFile(converter, addKcd("b.KCD", albumWithASongWithoutTimes(QStringLiteral("專"))));
    converter.ConvertFile();
    EXPECT_EQ(readBytes(library() + QStringLiteral("/專/02_乙.txt")), QByteArray("keep"));
    EXPECT_EQ(converter.state().List4, (QStringList{QStringLiteral("b.KCD 02_乙.txt")}));
}

// Files without an album (none named, an empty one, a first record not at
// field 0) each keep their songs in a folder named after the file: the same
// song on two compilation discs is kept twice, and converting a file again
// replaces its own songs.
TEST_F(KcdConverterTest, FilesWithoutAnAlbumKeepTheirSongsInAFolderOfTheirOwn)
{
    KcdConverter converter(programFolder());
    const QList<std::pair<QString, QStringList>> discs{
        {QStringLiteral("disc1.KCD"), {QStringLiteral("10,情人的眼淚"), QStringLiteral("00:01:0 ,一＠")}},
        {QStringLiteral("disc2.KCD"), {QStringLiteral("10,情人的眼淚"), QStringLiteral("00:01:0 ,二＠")}},
        {QStringLiteral("empty.KCD"), {QStringLiteral("10,情人的眼淚＠　＠"), QStringLiteral("00:01:0 ,三＠")}},
        {QStringLiteral("late.KCD"), {QStringLiteral("說明"), QStringLiteral("10,情人的眼淚"), QStringLiteral("00:01:0 ,四＠")}}};
    for (const auto& [name, lines] : discs) {
        readFile(converter, addKcd(name, lines));
        converter.ConvertFile();
    }
    addKcd(QStringLiteral("disc1.KCD"), {QStringLiteral("10,情人的眼淚"), QStringLiteral("00:02:0 ,改＠")});
    readFile(converter, kcdFolder() + QStringLiteral("/disc1.KCD"));
    converter.ConvertFile();
    converter.ConvertFile();
    const QStringList lyrics{QStringLiteral("改"), QStringLiteral("二"), QStringLiteral("三"), QStringLiteral("四")};
    for (int i = 0; i < discs.size(); ++i) {
        EXPECT_EQ(songFilesIn(discs[i].first), (QStringList{QStringLiteral("01_情人的眼淚.txt")})) << i;
        EXPECT_TRUE(readBytes(library() + u'/' + discs[i].first + QStringLiteral("/01_情人的眼淚.txt"))
                        .endsWith(Cp950::encode(lyrics[i] + QStringLiteral("\r\n"))))
            << discs[i].first.toStdString();
    }
    EXPECT_EQ(QDir(library()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), discs.size());
    // Written, so no failure: the list and the log hold nothing.
    EXPECT_TRUE(converter.state().List4.isEmpty());
    EXPECT_EQ(readBytes(converter.logPath()), QByteArray());
}

TEST_F(KcdConverterTest, AlbumOfDotsStaysInsideTheLibrary)
{
    KcdConverter converter(programFolder());
    readFile(converter, addKcd("a.KCD", {QStringLiteral("10,歌＠..＠"), QStringLiteral("00:01:0 ,一＠")}));
    converter.ConvertFile();
    EXPECT_EQ(songFilesIn(QStringLiteral("．．")), (QStringList{QStringLiteral("01_歌.txt")}));
    EXPECT_FALSE(QFileInfo::exists(programFolder() + QStringLiteral("/01_歌.txt")));
}

TEST_F(KcdConverterTest, UntitledSongIsWrittenUnderAStandInNameWithoutTakingANumber)
{
    KcdConverter converter(programFolder());
    readFile(converter, addKcd("a.KCD", {QStringLiteral("10,甲＠專＠"), QStringLiteral("00:01:0 ,一＠"),
                                         QStringLiteral("11,　　"), QStringLiteral("00:02:0 ,二＠"),
                                         QStringLiteral("12,丙"), QStringLiteral("00:03:0 ,三＠")}));
    EXPECT_EQ(converter.state().List1,
              (QStringList{QStringLiteral("01_甲"), QStringLiteral("未命名"), QStringLiteral("02_丙")}));
    converter.ConvertFile();
    converter.ConvertFile();  // converted again: the untitled song's file is found, not copied
    EXPECT_EQ(songFilesIn(QStringLiteral("專")),
              (QStringList{QStringLiteral("01_甲.txt"), QStringLiteral("02_丙.txt"), QStringLiteral("未命名.txt")}));
    EXPECT_EQ(readBytes(library() + QStringLiteral("/專/未命名.txt")),
              Cp950::encode(QStringLiteral("00:00:0 未命名\r\n00:02:0 二\r\n")));
    EXPECT_TRUE(converter.state().List4.isEmpty());

    // Edited, with a second untitled song, and converted again: each replaces its own file.
    readFile(converter, addKcd("a.KCD", {QStringLiteral("10,甲＠專＠"), QStringLiteral("00:01:0 ,一＠"),
                                         QStringLiteral("11,　　"), QStringLiteral("00:02:0 ,改＠"),
                                         QStringLiteral("12,　"), QStringLiteral("00:05:0 ,五＠")}));
    converter.ConvertFile();
    converter.ConvertFile();
    EXPECT_EQ(songFilesIn(QStringLiteral("專")), (QStringList{QStringLiteral("01_甲.txt"), QStringLiteral("02_丙.txt"),
                                                             QStringLiteral("未命名(2).txt"), QStringLiteral("未命名.txt")}));
    EXPECT_EQ(readBytes(library() + QStringLiteral("/專/未命名.txt")),
              Cp950::encode(QStringLiteral("00:00:0 未命名\r\n00:02:0 改\r\n")));
    EXPECT_EQ(readBytes(library() + QStringLiteral("/專/未命名(2).txt")),
              Cp950::encode(QStringLiteral("00:00:0 未命名\r\n00:05:0 五\r\n")));
    // Another disc of the album: its untitled song replaces none of the first disc's.
    readFile(converter, addKcd("b.KCD", {QStringLiteral("10,　＠專＠"), QStringLiteral("00:07:0 ,七＠")}));
    converter.ConvertFile();
    EXPECT_EQ(readBytes(library() + QStringLiteral("/專/未命名(3).txt")),
              Cp950::encode(QStringLiteral("00:00:0 未命名\r\n00:07:0 七\r\n")));
    EXPECT_EQ(songFilesIn(QStringLiteral("專")).size(), 5);
}

TEST_F(KcdConverterTest, UnwritableLibraryReportsEverySongAndGoesOn)
{
    KcdConverter converter(programFolder());
    KcdTestFiles::writeBytes(library(), "not a folder");
    readFile(converter, addKcd("a.KCD", KcdTestFiles::albumOfTwoSongs()));
    converter.ConvertFile();
    EXPECT_EQ(converter.state().List4,
              (QStringList{QStringLiteral("a.KCD 01_情人的眼淚.txt"), QStringLiteral("a.KCD 02_第二首.txt")}));
}

TEST_F(KcdConverterTest, BatchStartedAtTheSecondFileConvertsTheSecondAndThird)
{
    KcdConverter converter(programFolder());
    const QStringList names{"1.KCD", "2.KCD", "3.KCD"};
    for (int i = 0; i < 3; ++i)
        addKcd(names[i], KcdTestFiles::albumOfTwoSongs(QStringLiteral("專%1").arg(i + 1)));
    QList<int> selected;
    QObject::connect(&converter, &KcdConverter::fileSelected, [&](int i) { selected << i; });
    converter.RunBatch(kcdFolder(), names, 1);
    EXPECT_EQ(selected, (QList<int>{1, 2}));
    EXPECT_FALSE(QFileInfo::exists(library() + QStringLiteral("/專1")));
    EXPECT_EQ(songFilesIn(QStringLiteral("專2")).size(), 2);
    EXPECT_EQ(songFilesIn(QStringLiteral("專3")).size(), 2);
    EXPECT_FALSE(converter.isRunning());
    EXPECT_FALSE(converter.logOpen());
    EXPECT_EQ(readBytes(converter.logPath()), QByteArray());
}

TEST_F(KcdConverterTest, BatchWithoutSelectionStartsAtTheFirstFile)
{
    KcdConverter converter(programFolder());
    addKcd("1.KCD", KcdTestFiles::albumOfTwoSongs(QStringLiteral("專1")));
    converter.RunBatch(kcdFolder(), {"1.KCD"}, -1);
    EXPECT_EQ(songFilesIn(QStringLiteral("專1")).size(), 2);
}

TEST_F(KcdConverterTest, StopDuringAFileEndsTheRunAfterItWithItsFailuresLogged)
{
    KcdConverter converter(programFolder());
    const QStringList names{"1.KCD", "2.KCD", "3.KCD"};
    for (int i = 0; i < 3; ++i)
        addKcd(names[i], albumWithASongWithoutTimes(QStringLiteral("專%1").arg(i + 1)));
    // The stop button is pressed while the first file's fields are being read.
    converter.setLetEventsRun([&] {
        if (converter.state().KcdPath.endsWith(QStringLiteral("1.KCD")))
            converter.Stop();
    });
    converter.RunBatch(kcdFolder(), names, 0);
    EXPECT_EQ(songFilesIn(QStringLiteral("專1")), (QStringList{QStringLiteral("01_甲.txt")}));
    EXPECT_FALSE(QFileInfo::exists(library() + QStringLiteral("/專2")));
    EXPECT_EQ(converter.state().List4, (QStringList{QStringLiteral("1.KCD 02_乙.txt")}));
    EXPECT_EQ(readBytes(converter.logPath()), Cp950::encode(QStringLiteral("1.KCD 02_乙.txt\r\n")));
}

TEST_F(KcdConverterTest, EachBatchStartsANewLogAndClearsTheFailureList)
{
    KcdConverter converter(programFolder());
    addKcd("1.KCD", albumWithASongWithoutTimes(QStringLiteral("專")));
    addKcd("2.KCD", KcdTestFiles::albumOfTwoSongs());
    converter.RunBatch(kcdFolder(), {"1.KCD"}, 0);
    EXPECT_EQ(converter.state().List4.size(), 1);
    converter.RunBatch(kcdFolder(), {"2.KCD"}, 0);
    EXPECT_TRUE(converter.state().List4.isEmpty());
    EXPECT_EQ(readBytes(converter.logPath()), QByteArray());
}

// Converting one file is a run of its own: the failure list and the log start
// anew and always hold the same failures.
TEST_F(KcdConverterTest, ConvertingOneFileStartsANewFailureListAndLogAlike)
{
    KcdConverter converter(programFolder());
    const QString failing = addKcd("1.KCD", albumWithASongWithoutTimes(QStringLiteral("專")));
    converter.RunBatch(kcdFolder(), {"1.KCD"}, 0);
    readFile(converter, failing);
    converter.ConvertFile();
    const QByteArray oneFailure = Cp950::encode(QStringLiteral("1.KCD 02_乙.txt\r\n"));
    EXPECT_EQ(converter.state().List4, (QStringList{QStringLiteral("1.KCD 02_乙.txt")}));
    EXPECT_EQ(readBytes(converter.logPath()), oneFailure);
    readFile(converter, addKcd("2.KCD", KcdTestFiles::albumOfTwoSongs()));
    converter.ConvertFile();
    EXPECT_TRUE(converter.state().List4.isEmpty());
    EXPECT_EQ(readBytes(converter.logPath()), QByteArray());
}

// A log that cannot be made is said once and keeps the old log; the failures still reach the list.
TEST_F(KcdConverterTest, LogThatCannotBeMadeIsReportedAndTheRunGoesOn)
{
    KcdConverter converter(programFolder());
    QDir().mkpath(converter.logPath());  // a folder in the log's way
    QStringList messages;
    QObject::connect(&converter, &KcdConverter::logUnwritable, [&](const QString& m) { messages << m; });
    addKcd("1.KCD", albumWithASongWithoutTimes(QStringLiteral("專")));
    converter.RunBatch(kcdFolder(), {"1.KCD"}, 0);
    EXPECT_EQ(messages, (QStringList{QStringLiteral("無法建立記錄檔：") + converter.logPath()}));
    EXPECT_EQ(converter.state().List4, (QStringList{QStringLiteral("1.KCD 02_乙.txt")}));
    EXPECT_EQ(songFilesIn(QStringLiteral("專")), (QStringList{QStringLiteral("01_甲.txt")}));
    EXPECT_TRUE(QFileInfo(converter.logPath()).isDir());
}

TEST_F(KcdConverterTest, AbortEndsARunBetweenSongs)
{
    KcdConverter converter(programFolder());
    addKcd("1.KCD", KcdTestFiles::albumOfTwoSongs(QStringLiteral("專")));
    QObject::connect(&converter, &KcdConverter::songSelected, [&](int i) {
        if (i == 0)
            converter.Abort();
    });
    converter.RunBatch(kcdFolder(), {"1.KCD", "1.KCD"}, 0);
    EXPECT_EQ(songFilesIn(QStringLiteral("專")).size(), 1);
    EXPECT_FALSE(converter.isRunning());
}

TEST_F(KcdConverterTest, SongFileThatCannotReplaceItsTargetIsReportedAndTheRunGoesOn)
{
    KcdConverter converter(programFolder());
    // A folder in the way of the first song's file.
    QDir().mkpath(library() + QStringLiteral("/我的專集/01_情人的眼淚.txt"));
    readFile(converter, addKcd("a.KCD", KcdTestFiles::albumOfTwoSongs()));
    converter.ConvertFile();
    EXPECT_TRUE(QFileInfo(library() + QStringLiteral("/我的專集/01_情人的眼淚.txt")).isDir());
    EXPECT_EQ(songFilesIn(QStringLiteral("我的專集")), (QStringList{QStringLiteral("02_第二首.txt")}));
    EXPECT_EQ(converter.state().List4, (QStringList{QStringLiteral("a.KCD 01_情人的眼淚.txt")}));
}

// "012 5566" must lead to field 12, not to 125566 (blanks do not join numbers here).
TEST_F(KcdConverterTest, TitleStartingWithDigitsStillFindsItsLines)
{
    KcdConverter converter(programFolder());
    readFile(converter, addKcd("a.KCD", {QStringLiteral("10,歌＠專＠"), QStringLiteral("00:01:0 ,一＠"),
                                         QStringLiteral("11,5566 情歌"), QStringLiteral("00:02:0 ,二＠")}));
    ASSERT_EQ(converter.state().List3.value(1), QStringLiteral("005 5566 情歌"));
    converter.SelectSong(1);
    EXPECT_EQ(converter.state().List2,
              (QStringList{QStringLiteral("00:00:0 02_5566 情歌"), QStringLiteral("00:02:0 二")}));
}

// A quoted KCD field may hold commas; the song file must read back line for
// line with the lyric reader, which ends a line at a comma.
TEST_F(KcdConverterTest, CommasOfQuotedFieldsReadBackAsOneLine)
{
    KcdConverter converter(programFolder());
    readFile(converter, addKcd("a.KCD", {QStringLiteral("10,\"甲,乙＠專＠\""),
                                         QStringLiteral("00:01:0 00:02:0 ,\"一,二＠三＠\"")}));
    converter.ConvertFile();
    ASSERT_TRUE(converter.state().List4.isEmpty());
    const QString song = library() + QStringLiteral("/專/01_甲,乙.txt");
    const QStringList read = ReadFields(Cp950::decode(readBytes(song))).fields;
    EXPECT_EQ(read, (QStringList{QStringLiteral("00:00:0 01_甲，乙"), QStringLiteral("00:01:0 一，二"),
                                 QStringLiteral("00:02:0 三")}));
}

// The source file edited after it was listed (編輯原始檔, then 開始轉換): the
// songs are listed again, so no song's lines are written under another's name.
TEST_F(KcdConverterTest, FileEditedAfterListingIsListedAgainBeforeConverting)
{
    KcdConverter converter(programFolder());
    const QString path = addKcd("a.KCD", KcdTestFiles::albumOfTwoSongs());
    readFile(converter, path);
    QStringList edited = KcdTestFiles::albumOfTwoSongs();
    edited.prepend(QStringLiteral("00:03:0 ,新的一句＠"));
    edited.prepend(QStringLiteral("10,新歌＠我的專集＠"));
    edited[2] = QStringLiteral("12,情人的眼淚曲:作曲者詞:作詞者");
    writeKcd(path, edited);
    converter.ConvertFile();
    EXPECT_EQ(converter.state().List1,
              (QStringList{QStringLiteral("01_新歌"), QStringLiteral("02_情人的眼淚"), QStringLiteral("03_第二首")}));
    EXPECT_EQ(readBytes(library() + QStringLiteral("/我的專集/02_情人的眼淚.txt")),
              Cp950::encode(QStringLiteral("00:00:0 02_情人的眼淚\r\n00:10:5 第一句\r\n00:14:2 第二句\r\n"
                                           "00:18:0 ---End---\r\n")));
    EXPECT_EQ(readBytes(library() + QStringLiteral("/我的專集/01_情人的眼淚.txt")), QByteArray());
}

// On a full disk every song file that was there stays whole, nothing half-written is left
// behind, and each song that could not be written is listed and the user told about the log.
TEST(KcdConverterFullDisk, OldSongFilesStayWholeAndEveryFailureIsListed)
{
    FullDisk disk;
    if (!disk.mounted())
        GTEST_SKIP() << disk.whyNot().toStdString();
    const QString album = disk.filePath(QStringLiteral("SongLib/我的專集"));
    QDir().mkpath(album);
    QDir().mkpath(disk.filePath(QStringLiteral("歌詞")));
    KcdTestFiles::writeBytes(album + QStringLiteral("/02_第二首.txt"), "00:00:0 old song\r\n");
    const QString kcd = disk.filePath(QStringLiteral("歌詞/a.KCD"));
    writeKcd(kcd, KcdTestFiles::albumOfTwoSongs());
    disk.fill();

    KcdConverter converter(disk.path());
    QStringList told;
    QObject::connect(&converter, &KcdConverter::logUnwritable, [&](const QString& message) { told << message; });
    converter.setKcdPath(kcd);
    converter.ReadSongFile();
    converter.ConvertFile();

    EXPECT_EQ(readBytes(album + QStringLiteral("/02_第二首.txt")), QByteArray("00:00:0 old song\r\n"));
    EXPECT_EQ(QDir(album).entryList(QDir::Files), (QStringList{QStringLiteral("02_第二首.txt")}));
    EXPECT_EQ(converter.state().List4,
              (QStringList{QStringLiteral("a.KCD 01_情人的眼淚.txt"), QStringLiteral("a.KCD 02_第二首.txt")}));
    EXPECT_FALSE(told.isEmpty()) << "the log could not be written and nobody was told";
}
