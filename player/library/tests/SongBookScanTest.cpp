#include "Cp950.h"
#include "Drives.h"
#include "EventWait.h"
#include "LibraryHost.h"
#include "LibraryTestSupport.h"
#include "MessageBox.h"
#include "ProfileFile.h"
#include "SongBookFiles.h"
#include "SongBookScan.h"
#include "SongFolderScan.h"
#include "FrmSongLib.h"
#include "FullDisk.h"
#include "SafeFile.h"
#include "frmFindMusic.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <QLineEdit>
#include <QTreeWidget>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace {

class TestHost : public LibraryHost
{
public:
    int kind = 5;
    int history = 0;
    bool songBook = true;
    QString folder;
    QStringList messages;
    QString menuTitle;
    QStringList playList;

    int driveKind() const override { return kind; }
    QString songPattern() const override { return QStringLiteral("*.MP3;*.WAV"); }
    QString cdromLibFile() const override { return folder + QStringLiteral("/CDROMLib.TXT"); }
    QString musicLibFile() const override { return folder + QStringLiteral("/MusicLib.TXT"); }
    int historyMode() const override { return history; }
    bool songBookTicked() const override { return songBook; }
    std::function<void()> whileShowing;  // runs when a message is shown (events run then)
    void showMessage(const QString& text) override
    {
        messages << text;
        if (whileShowing) std::exchange(whileShowing, nullptr)();
    }
    void delay(double) override
    {
        if (whileShowing) std::exchange(whileShowing, nullptr)();
    }
    void setSongBookTitle(const QString& title) override { menuTitle = title; }
    void fillPlayList(const QStringList& entries) override { playList = entries; }
};

// A temporary folder mounted as an optical disc with a known serial, and a song folder.
class SongBookScanTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        disc = makeFolder(dir.path() + "/disc");
        host.folder = makeFolder(dir.path() + "/songs");
        Drives::Drive root{"/", "", "", Drives::TypeFixed, true};
        Drives::Drive optical{disc, "/dev/sr9", "MYDISC", Drives::TypeOptical, true};
        Drives::SetSource(std::make_shared<Drives::FixedSource>(QList<Drives::Drive>{root, optical},
                                                                QMap<QString, quint32>{{disc, 0x1A2B3C4D}}));
    }
    void TearDown() override
    {
        Drives::SetSource(nullptr);
        MessageBox::setAnswerer({});
    }

    // Scans the disc, answering the label prompt with Label (or Cancel when empty).
    int scan(SongBookScan& scanner, const QString& label, const SongBookLabelOptions& options = {})
    {
        scanner.askLabel = [this, label](FrmSongLib& prompt) {
            proposed = prompt.Text1->text();
            ++prompts;
            prompt.Text1->setText(label);
            return !label.isEmpty();
        };
        return scanner.ScanMp3(disc, options);
    }

    QTemporaryDir dir;
    QString disc;
    TestHost host;
    QString proposed;
    int prompts = 0;
};

}  // namespace

TEST(SongFolderScan, BreadthFirstOrderAndPatternAndDates)
{
    QTemporaryDir dir;
    const QString a = dir.path() + "/A";
    makeFolder(a + "/C");
    makeFile(a + "/C/notes.txt");  // no song: logged, but not a song folder
    makeFile(a + "/B/one.mp3", "x", QDateTime(QDate(1999, 5, 1), QTime(12, 0)));
    makeFile(a + "/B/D/two.MP3", "x", QDateTime(QDate(2000, 3, 2), QTime(12, 0)));
    makeFile(a + "/C/E/old.mp3", "x", QDateTime(QDate(1985, 1, 1), QTime(12, 0)));

    SongFolderScan scan(QStringLiteral("*.MP3"));
    QStringList shown;
    scan.showProgress = [&](const QString& t) { shown << t; };
    const QStringList found = scan.ScanFileEx(a);
    // Level by level: B and C first, then their sub-folders.
    EXPECT_EQ(found, (QStringList{a + "/B", a + "/B/D", a + "/C/E"}));
    EXPECT_EQ(shown.last(), "搜尋完成!");
    // The 1985 song counts as a song but leaves the date range alone.
    EXPECT_EQ(scan.FirstSongDate, QDate(1999, 5, 1));
    EXPECT_EQ(scan.LastSongDate, QDate(2000, 3, 2));

    SongFolderScan undated(QStringLiteral("*.MP3"));
    EXPECT_EQ(undated.ScanFileEx(a + "/C"), QStringList{a + "/C/E"});
    EXPECT_EQ(undated.FirstSongDate, QDate::currentDate());
    EXPECT_EQ(undated.LastSongDate, QDate::currentDate());
}

TEST(SongFolderScan, LinkBackIntoTheTreeDoesNotLoop)
{
    QTemporaryDir dir;
    makeFile(dir.path() + "/A/s.mp3");
    ASSERT_TRUE(QFile::link(dir.path(), dir.path() + "/A/loop"));
    SongFolderScan scan(QStringLiteral("*.MP3"));
    EXPECT_EQ(scan.ScanFileEx(dir.path()), QStringList{dir.path() + "/A"});
}

// A wide tree of Chinese-named folders, four levels deep: the walk appends to its queue while
// it reads from it, so every folder must still be visited once, level by level.
TEST(SongFolderScan, WideDeepTreeFindsEverySongFolderOnce)
{
    QTemporaryDir dir;
    const QStringList singers{"周杰倫", "蔡依林", "張學友", "王菲", "五月天", "孫燕姿"};
    QStringList expected;
    QStringList level{dir.path()};
    for (int depth = 1; depth <= 4; ++depth) {
        QStringList next;
        for (const QString& parent : level)
            for (int i = 0; i < (depth == 1 ? 12 : 4); ++i) {
                const QString folder = parent + "/" + singers[i % singers.size()] + "專輯" + QString::number(i);
                makeFolder(folder);
                // Every other folder holds a song and a lyric file; the rest only a lyric file.
                if ((i + depth) % 2 == 0) {
                    makeFile(folder + "/第" + QString::number(i) + "首.mp3");
                    expected << folder;
                }
                makeFile(folder + "/歌詞.txt");
                next << folder;
            }
        level = next;
    }
    ASSERT_GT(expected.size(), 400);

    SongFolderScan scan(QStringLiteral("*.MP3"));
    QStringList shown;
    scan.showProgress = [&](const QString& text) { shown << text; };
    const QStringList found = scan.ScanFileEx(dir.path());
    EXPECT_EQ(found.size(), expected.size());
    const QSet<QString> foundSet(found.begin(), found.end());
    const QSet<QString> expectedSet(expected.begin(), expected.end());
    EXPECT_TRUE(QSet<QString>(expectedSet).subtract(foundSet).isEmpty())
        << "missing: " << QStringList(QSet<QString>(expectedSet).subtract(foundSet).values()).join(" ").toStdString();
    EXPECT_TRUE(QSet<QString>(foundSet).subtract(expectedSet).isEmpty())
        << "not song folders: " << QStringList(QSet<QString>(foundSet).subtract(expectedSet).values()).join(" ").toStdString();
    // Level by level: a folder is never found before one nearer the root.
    for (int i = 1; i < found.size(); ++i) EXPECT_LE(found[i - 1].count('/'), found[i].count('/')) << i;
    // The walk shows where it starts and that it is done.
    ASSERT_GE(shown.size(), 2);
    EXPECT_EQ(shown.first(), dir.path());
    EXPECT_EQ(shown.last(), "搜尋完成!");
}

TEST(SongBookFiles, RecordsDiscsInOneFileThatReadsBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("CDROMLib.TXT");
    CdromLibrary library(path);
    EXPECT_EQ(library.discCount(), 0);  // a missing file holds no discs
    EXPECT_EQ(DiscKeyOf("1A2B3C4D"), "1A2B-3C4D");
    ASSERT_TRUE(library.recordDisc("1A2B-3C4D", "情歌(MYDISC)", "1999/5/1~2000/3/2", {"/", "/MP3/專輯"}));
    ASSERT_TRUE(library.recordDisc("0000-0001", "MP3_002", "2001/1/1~2001/1/1", {"/x"}));
    EXPECT_EQ(library.discCount(), 2);
    EXPECT_EQ(library.title("1A2B-3C4D"), "情歌(MYDISC)");
    EXPECT_EQ(library.folders("1A2B-3C4D"), (QStringList{"/", "/MP3/專輯"}));
    EXPECT_EQ(ProfileFile::getString(path, "CDROM", "1"), "1A2B-3C4D,情歌(MYDISC),1999/5/1~2000/3/2");
    const QByteArray bytes = fileBytes(path);
    EXPECT_TRUE(bytes.contains(Cp950::encode("Title=情歌(MYDISC)\r\n")));
    EXPECT_FALSE(bytes.contains("\n\n"));

    // A section that lost a folder entry reads it as empty.
    ProfileFile::writeString(path, "0000-0001", "DirNumbers", "2");
    EXPECT_EQ(library.folders("0000-0001"), (QStringList{"/x", ""}));
}

TEST(SongBookFiles, MusicLibraryGrowsAndKeepsItsCount)
{
    QTemporaryDir dir;
    const QString path = makeFile(dir.filePath("MusicLib.TXT"), "[Music]\r\nNUM=7\r\n");
    EXPECT_EQ(MusicLibrary::readCount(path), 7);
    int count = MusicLibrary::readCount(path);
    ASSERT_TRUE(MusicLibrary::appendFolders(path, "歌本", {{"/", {"a.mp3"}}, {"/B", {"b.mp3", "c.mp3"}}}, count));
    EXPECT_EQ(count, 7 + 5);
    EXPECT_EQ(MusicLibrary::readCount(path), 7);  // never written back
    EXPECT_EQ(fileBytes(path), Cp950::encode("[Music]\r\nNUM=7\r\n<Dir> /\t [歌本]\r\na.mp3\r\n"
                                             "<Dir> /B\t [歌本]\r\nb.mp3\r\nc.mp3\r\n"));
}

TEST(SongBookLabel, ProposedLabels)
{
    SongBookLabelOptions options;
    EXPECT_EQ(ProposedSongBookLabel(options, 3, "MYDISC"), "MP3_004(MYDISC)");
    EXPECT_EQ(ProposedSongBookLabel(options, 3, ""), "MP3_004");
    options.addVolumeLabel = false;
    EXPECT_EQ(ProposedSongBookLabel(options, 3, "MYDISC"), "MP3_004");
    options.autoNumber = false;
    EXPECT_EQ(ProposedSongBookLabel(options, 3, "MYDISC"), "");
    options.addVolumeLabel = true;
    EXPECT_EQ(ProposedSongBookLabel(options, 0, "MYDISC"), "MYDISC");
}

TEST_F(SongBookScanTest, NewDiscWithSongsInItsRootIsRecorded)
{
    makeFile(disc + "/a.mp3");
    makeFile(disc + "/b.wav");
    SongBookScan scanner(host);
    ASSERT_EQ(scan(scanner, "我的歌本"), 1);
    EXPECT_EQ(scanner.PlayArray, QStringList{disc});
    EXPECT_EQ(proposed, "MP3_001(MYDISC)");
    EXPECT_EQ(scanner.Title, "我的歌本");
    EXPECT_EQ(host.menuTitle, "我的歌本");
    EXPECT_EQ(host.playList, QStringList{disc});

    const CdromLibrary library(host.cdromLibFile());
    EXPECT_EQ(library.discCount(), 1);
    EXPECT_EQ(library.folders("1A2B-3C4D"), QStringList{"/"});
    EXPECT_EQ(fileBytes(host.musicLibFile()), Cp950::encode("<Dir> /\t [我的歌本]\r\na.mp3\r\nb.wav\r\n"));
    EXPECT_TRUE(host.messages.contains("加入 '我的歌本'到歌本"));
}

TEST_F(SongBookScanTest, KnownDiscReusesItsFoldersWithoutScanning)
{
    makeFile(disc + "/Z/z.mp3");
    makeFile(disc + "/A/a.mp3");
    SongBookScan first(host);
    ASSERT_EQ(scan(first, "Disc"), 2);
    EXPECT_EQ(first.PlayArray, (QStringList{disc + "/A", disc + "/Z"}));  // sorted

    makeFile(disc + "/New/n.mp3");  // not scanned again: the stored folders are used
    const QByteArray musicBefore = fileBytes(host.musicLibFile());
    SongBookScan second(host);
    ASSERT_EQ(scan(second, "unused"), 2);
    EXPECT_EQ(prompts, 1);
    EXPECT_EQ(second.Title, "Disc");
    EXPECT_TRUE(host.messages.contains("找到Disc"));
    EXPECT_EQ(second.PlayArray, (QStringList{disc + "/A", disc + "/Z"}));
    EXPECT_EQ(fileBytes(host.musicLibFile()), musicBefore);
    EXPECT_EQ(CdromLibrary(host.cdromLibFile()).discCount(), 1);
}

TEST_F(SongBookScanTest, AskingAboutAKnownDiscAndAnsweringNoScansAndWritesNothing)
{
    makeFile(disc + "/A/a.mp3");
    SongBookScan first(host);
    scan(first, "Disc");
    const QByteArray cdrom = fileBytes(host.cdromLibFile());
    const QByteArray music = fileBytes(host.musicLibFile());

    host.history = 1;
    makeFile(disc + "/B/b.mp3");
    QStringList asked;
    MessageBox::setAnswerer([&](const MessageBox::Request& r) {
        asked << r.prompt;
        return MessageBox::IdNo;
    });
    SongBookScan second(host);
    EXPECT_EQ(scan(second, "Again"), 2);
    EXPECT_EQ(asked, QStringList{"找到Disc是否要使用?"});
    EXPECT_EQ(prompts, 1);
    EXPECT_EQ(fileBytes(host.cdromLibFile()), cdrom);
    EXPECT_EQ(fileBytes(host.musicLibFile()), music);
}

TEST_F(SongBookScanTest, CancelOrHistoryOffRecordsNothingButStillPlays)
{
    makeFile(disc + "/A/a.mp3");
    SongBookScan cancelled(host);
    EXPECT_EQ(scan(cancelled, ""), 1);
    EXPECT_EQ(prompts, 1);
    EXPECT_FALSE(QFile::exists(host.cdromLibFile()));
    EXPECT_FALSE(QFile::exists(host.musicLibFile()));

    host.history = 2;
    SongBookScan off(host);
    EXPECT_EQ(scan(off, "X"), 1);
    EXPECT_EQ(prompts, 1);  // no prompt at all
    EXPECT_FALSE(QFile::exists(host.cdromLibFile()));

    // A folder (not a disc root) is never recorded.
    host.history = 0;
    SongBookScan folder(host);
    EXPECT_EQ(folder.ScanMp3(disc + "/A", {}), 1);
    EXPECT_FALSE(QFile::exists(host.cdromLibFile()));
}

// The song book files are code page 950: a folder stored as "/?" would name nothing when
// the disc comes back. Such a disc is not recorded (the user is told why, and not asked for
// a label) and still plays.
TEST_F(SongBookScanTest, FoldersTheSongBookCannotHoldAreNotRecorded)
{
    makeFile(disc + "/A/a.mp3");
    makeFile(disc + "/爱/b.mp3");
    makeFile(disc + "/B /c.mp3");  // read back trimmed, the name would lose its blank
    SongBookScan scanner(host);
    EXPECT_EQ(scan(scanner, "Disc"), 3);
    EXPECT_EQ(scanner.PlayArray, (QStringList{disc + "/A", disc + "/B ", disc + "/爱"}));
    EXPECT_FALSE(QFile::exists(host.cdromLibFile()));
    EXPECT_FALSE(QFile::exists(host.musicLibFile()));
    EXPECT_TRUE(host.messages.contains("歌本存不下這些目錄名:/B , /爱"));

    SongBookScan again(host);
    EXPECT_EQ(scan(again, "Disc"), 3);
    EXPECT_EQ(again.PlayArray, scanner.PlayArray);  // scanned again, never reused with a wrong folder
    EXPECT_EQ(prompts, 0);
}

TEST_F(SongBookScanTest, OnAFullDiskBothFilesStayWholeAndTheFailureIsShown)
{
    FullDisk disk;
    if (!disk.mounted()) GTEST_SKIP() << disk.whyNot().toStdString();
    host.folder = disk.path();
    ASSERT_TRUE(CdromLibrary(host.cdromLibFile()).recordDisc("0000-0001", "Old", "2001/1/1~2001/1/1", {"/"}));
    // A music library whose last block has room for a few bytes only: an append gets some in.
    ASSERT_TRUE(SafeFile::write(host.musicLibFile(), QByteArray("<Dir> /\t [Old]\r\n") +
                                                         QByteArray("x.mp3\r\n").repeated(582)));
    const QByteArray cdromBefore = fileBytes(host.cdromLibFile());
    const QByteArray musicBefore = fileBytes(host.musicLibFile());
    disk.fill();

    makeFile(disc + "/a.mp3");
    SongBookScan scanner(host);
    ASSERT_EQ(scan(scanner, "新歌本"), 1);
    EXPECT_EQ(fileBytes(host.cdromLibFile()), cdromBefore);
    EXPECT_EQ(fileBytes(host.musicLibFile()), musicBefore);
    EXPECT_EQ(scanner.DiscCount, 1);
    EXPECT_TRUE(host.messages.contains("歌本寫入失敗-" + host.cdromLibFile()));
    EXPECT_TRUE(host.messages.contains("歌本寫入失敗-" + host.musicLibFile()));
    EXPECT_FALSE(host.messages.contains("加入 '新歌本'到歌本"));
}

// While the label is asked for, events run: another search of the disc (the menu's device
// search, or a disc event) must not record the disc a second time when the user answers.
TEST_F(SongBookScanTest, AnotherScanWhileTheLabelIsAskedForRecordsTheDiscOnce)
{
    makeFile(disc + "/A/a.mp3");
    makeFile(disc + "/B/b.mp3");
    makeFile(dir.path() + "/other/C/c.mp3");
    SongBookScan scanner(host);
    int asked = 0;
    scanner.askLabel = [&](FrmSongLib& prompt) {
        if (++asked == 1) {
            EXPECT_EQ(scanner.ScanMp3(disc, {}), 2);
            EXPECT_EQ(scanner.ScanMp3(dir.path() + "/other", {}), 1);
        }
        prompt.Text1->setText("Disc");
        return true;
    };
    EXPECT_EQ(scanner.ScanMp3(disc, {}), 2);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(scanner.PlayArray, (QStringList{disc + "/A", disc + "/B"}));
    const CdromLibrary library(host.cdromLibFile());
    EXPECT_EQ(library.discCount(), 1);
    EXPECT_EQ(library.folders("1A2B-3C4D"), (QStringList{"/A", "/B"}));
    EXPECT_EQ(fileBytes(host.musicLibFile()),
              Cp950::encode("<Dir> /A\t [Disc]\r\na.mp3\r\n<Dir> /B\t [Disc]\r\nb.mp3\r\n"));
}

// The walk and the wait after "找到" let events run: a search started meanwhile (a folder
// search from the menu) must not leave its folders among the disc's, nor get them recorded.
TEST_F(SongBookScanTest, AnotherScanWhileWalkingOrWaitingLeavesThisScansFoldersAlone)
{
    makeFile(disc + "/A/a.mp3");
    makeFile(disc + "/B/b.mp3");
    const QString other = makeFolder(dir.path() + "/other");
    makeFile(other + "/C/c.mp3");
    SongBookScan scanner(host);
    host.whileShowing = [&] { EXPECT_EQ(scanner.ScanMp3(other, {}), 1); };
    EXPECT_EQ(scan(scanner, "Disc"), 2);
    EXPECT_EQ(scanner.PlayArray, (QStringList{disc + "/A", disc + "/B"}));
    EXPECT_EQ(CdromLibrary(host.cdromLibFile()).folders("1A2B-3C4D"), (QStringList{"/A", "/B"}));

    SongBookScan again(host);  // the disc is known now: its folders are taken from the file
    host.whileShowing = [&] { EXPECT_EQ(again.ScanMp3(other, {}), 1); };
    EXPECT_EQ(scan(again, "unused"), 2);
    EXPECT_EQ(again.PlayArray, (QStringList{disc + "/A", disc + "/B"}));
    EXPECT_EQ(host.playList, again.PlayArray);
}

// The prompt keeps the user's hands off the panel behind it while it asks.
TEST(SongBookPrompt, AsksWithThePanelBlocked)
{
    QWidget panel;
    panel.show();
    FrmSongLib prompt(&panel);
    QWidget* modal = nullptr;
    QTimer::singleShot(0, &prompt, [&] {
        modal = QApplication::activeModalWidget();
        prompt.Command1[0]->click();
    });
    EXPECT_TRUE(prompt.Ask());
    EXPECT_EQ(modal, &prompt);
    EXPECT_TRUE(panel.isEnabled());
}

TEST_F(SongBookScanTest, StoredDiscWithALostFolderEntryPlaysTheRoot)
{
    ProfileFile::writeString(host.cdromLibFile(), "CDROM", "DiscNum", "1");
    ProfileFile::writeString(host.cdromLibFile(), "1A2B-3C4D", "Title", "Old");
    ProfileFile::writeString(host.cdromLibFile(), "1A2B-3C4D", "DirNumbers", "2");
    ProfileFile::writeString(host.cdromLibFile(), "1A2B-3C4D", "1", "/MP3");
    const QByteArray before = fileBytes(host.cdromLibFile());
    SongBookScan scanner(host);
    EXPECT_EQ(scan(scanner, "x"), 2);
    EXPECT_EQ(scanner.PlayArray, (QStringList{disc, disc + "/MP3"}));
    EXPECT_EQ(fileBytes(host.cdromLibFile()), before);
}

TEST_F(SongBookScanTest, CheckBoxListFollowsTheSortedPlayArray)
{
    // Found level by level: Z before A/B; played in name order: A/B before Z.
    makeFile(disc + "/Z/z.mp3");
    makeFile(disc + "/A/B/b.mp3");
    host.history = 2;
    SongBookScan scanner(host);
    ASSERT_EQ(scanner.ScanMp3(disc, {}), 2);
    EXPECT_EQ(scanner.PlayArray, (QStringList{disc + "/A/B", disc + "/Z"}));
    EXPECT_EQ(host.playList, scanner.PlayArray);  // line k of the check-box list is entry k
}

// Counts read from a song book file cannot make a reader run away: both files below claim two
// thousand million entries and hold three; each is read in moments, not in the hours a run
// through the claimed counts would take.
TEST_F(SongBookScanTest, HugeCountsInTheLibraryFileAreBoundedByWhatItHolds)
{
    const QString key = "1A2B-3C4D";
    makeFile(host.cdromLibFile(), "[CDROM]\r\nDiscNum=2000000000\r\n1=" + key + ",Old,2001/1/1~2001/1/2\r\n"
                                  "2=broken\r\n3=0000-0002,Other,2002/1/1~2002/1/2\r\n"
                                  "[" + key + "]\r\nTitle=Old\r\nDirNumbers=2000000000\r\n1=/A\r\n2=/B\r\n3=/C\r\n");
    QElapsedTimer clock;
    clock.start();
    SongBookScan scanner(host);
    const int played = scan(scanner, "unused");
    const qint64 reuseMs = clock.restart();
    frmFindMusic window;
    window.ReadDiscList(host.cdromLibFile());
    const qint64 listMs = clock.elapsed();

    EXPECT_LT(reuseMs, EventWaitMs);
    EXPECT_LT(listMs, EventWaitMs);
    // The stored folders are played; the count stops at the section's own entries (five keys),
    // the missing ones standing for the disc's root as a lost entry does.
    EXPECT_EQ(played, 5);
    EXPECT_EQ(scanner.PlayArray, (QStringList{disc, disc, disc + "/A", disc + "/B", disc + "/C"}));
    ASSERT_EQ(window.ListView2->topLevelItemCount(), 2);  // the entry without "," is skipped
    EXPECT_EQ(window.ListView2->topLevelItem(1)->text(0), "3");
    EXPECT_EQ(window.ListView2->topLevelItem(1)->text(1), "Other");

    // A count beyond any integer still proposes a label (and numbers a disc) without overflow.
    EXPECT_EQ(CdromLibrary(host.cdromLibFile()).discCount(), 999999999);
    makeFile(host.cdromLibFile(), "[CDROM]\r\nDiscNum=99999999999999999999\r\n");
    EXPECT_EQ(CdromLibrary(host.cdromLibFile()).discCount(), 999999999);
}
