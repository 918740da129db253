#include "ModSongList.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QApplication>
#include <gtest/gtest.h>

namespace {

// A lyric list that records every selection, so the scroll-ahead step is visible.
class RecordingList : public LyricList
{
public:
    QStringList items;
    int current = -1;
    QList<int> selections;

    int count() const override { return int(items.size()); }
    QString item(int index) const override { return items.value(index); }
    void clear() override { items.clear(); current = -1; }
    void addItem(const QString &text) override { items << text; }
    int currentIndex() const override { return current; }
    void setCurrentIndex(int index) override { current = index; selections << index; }
};

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

RecordingList threeLines()
{
    RecordingList list;
    list.items = {"00:00:0 Title", "00:10:0 first", "00:20:0 second"};
    return list;
}

} // namespace

TEST(DueLine, PicksTheLastStampNotLaterThanThePlayTime)
{
    RecordingList list = threeLines();
    EXPECT_EQ(ChkLyric(list, false, "00:15:37"), DueLine::line(1));
    EXPECT_EQ(ChkLyric(list, false, "00:20:00"), DueLine::line(2));
    // The stamp equals the first seven characters of the play time: due.
    EXPECT_EQ(ChkLyric(list, false, "00:10:05"), DueLine::line(1));
}

TEST(DueLine, NothingDueSelectsTheTitleAndTitleIsNeverDue)
{
    RecordingList list = threeLines();
    list.current = 2;
    EXPECT_EQ(ChkLyric(list, false, "00:05:00"), DueLine::none());
    EXPECT_EQ(list.current, 0);
    // The title carries a stamp 00:00:0 but item 0 is never the due line.
    EXPECT_EQ(ChkLyric(list, false, "00:00:00"), DueLine::none());
}

TEST(DueLine, SelectsTheNextLineFirstOnlyWhenTheDueLineChanges)
{
    RecordingList list = threeLines();
    list.current = 0;
    ChkLyric(list, false, "00:12:00");
    EXPECT_EQ(list.selections, (QList<int>{2, 1}));
    list.selections.clear();
    ChkLyric(list, false, "00:13:00");
    EXPECT_TRUE(list.selections.isEmpty());
    // The last line has no follower to scroll to.
    ChkLyric(list, false, "00:25:00");
    EXPECT_EQ(list.selections, (QList<int>{2}));
}

TEST(DueLine, UntimedItemsAreSkippedAndReportedOnlyWhenChecked)
{
    RecordingList list;
    list.items = {"Title", "00:10:0 one", "two", "", "00:20:0 three"};
    list.current = 0;
    EXPECT_EQ(ChkLyric(list, false, "00:15:00"), DueLine::line(1));
    list.current = 3;
    EXPECT_EQ(ChkLyric(list, true, "00:15:00"), DueLine::damaged());
    EXPECT_EQ(list.current, 3);   // the error leaves the selection alone

    list.items = {"Title without stamp", "00:10:0 one", ""};
    EXPECT_EQ(ChkLyric(list, true, "00:15:00"), DueLine::line(1));
}

TEST(DueLine, KeepPolicyReportsTheLineButNeverMovesTheSelection)
{
    RecordingList list = threeLines();
    list.current = 0;
    EXPECT_EQ(ChkLyric(list, false, "00:21:00", SelectionPolicy::Keep), DueLine::line(2));
    EXPECT_EQ(ChkLyric(list, false, "00:01:00", SelectionPolicy::Keep), DueLine::none());
    EXPECT_TRUE(list.selections.isEmpty());
}

TEST(DueLine, EmptyListAndShortTimesAreHarmless)
{
    RecordingList list;
    EXPECT_EQ(ChkLyric(list, true, "00:10:00"), DueLine::none());
    EXPECT_TRUE(list.selections.isEmpty());
    list.items = {"T", "0"};
    EXPECT_EQ(ChkLyric(list, false, ""), DueLine::none());
}

class LyricLookup : public ::testing::Test
{
protected:
    QTemporaryDir temp;
    QString media;     // the medium's drive root
    QString songDir;   // SongTempDir
    QString program;   // the program folder
    LyricLookupSettings settings;
    struct Stored { QString LyricFile, LyricDir, DiscLyricDir; } state;
    LyricPlace place{state.LyricFile, state.LyricDir, state.DiscLyricDir};
    RecordingList list;

    void SetUp() override
    {
        media = temp.filePath("D");
        songDir = temp.filePath("Temp");
        program = temp.filePath("App");
        QDir().mkpath(media + "/Music");
        QDir().mkpath(songDir);
        QDir().mkpath(program);
        settings.SongTempDir = songDir;
        settings.ProgramFolder = program;
        settings.DriveKind = 5;
        settings.volumeSerialOf = [](const QString &) { return QStringLiteral("1a2b3c4d"); };
        settings.driveRootOf = [this](const QString &) { return media; };
        list.items = {"stale"};
    }
};

TEST_F(LyricLookup, FileBesideTheMediumWinsWhateverTheSettings)
{
    writeFile(media + "/Music/a.txt", "Title\r\n00:01:0 hello\r\n");
    QDir().mkpath(songDir + "/1A2B-3C4D");
    writeFile(songDir + "/1A2B-3C4D/a.txt", "other\r\n");
    FindLyric(list, media + "/Music/a.mp3", place, settings);
    EXPECT_EQ(state.LyricFile, media + "/Music/a.txt");
    EXPECT_EQ(list.items, (QStringList{"Title", "00:01:0 hello"}));
    EXPECT_EQ(list.current, 0);
}

// Discs written elsewhere spell names in any case: "SONG.MP3" beside "SONG.TXT", or a disc
// folder made as "1a2b-3c4d". The lyric file found is loaded and is the one remembered.
TEST_F(LyricLookup, LyricFileSpeltInAnotherCaseIsLoaded)
{
    writeFile(media + "/Music/SONG.TXT", "Title\r\n00:01:0 hello\r\n");
    FindLyric(list, media + "/Music/SONG.MP3", place, settings);
    EXPECT_EQ(state.LyricFile, media + "/Music/SONG.TXT");
    EXPECT_EQ(list.items, (QStringList{"Title", "00:01:0 hello"}));

    QDir().mkpath(songDir + "/1a2b-3c4d");
    writeFile(songDir + "/1a2b-3c4d/B.Txt", "T\r\n00:02:0 there\r\n");
    FindLyric(list, media + "/Music/b.mp3", place, settings);
    EXPECT_EQ(state.LyricFile, songDir + "/1a2b-3c4d/B.Txt");
    EXPECT_EQ(list.items, (QStringList{"T", "00:02:0 there"}));

    RecordingList direct;
    ReadLyric(direct, media + "/Music/song.txt");
    EXPECT_EQ(direct.count(), 2);
}

TEST_F(LyricLookup, LongerExtensionKeepsItsHead)
{
    FindLyric(list, media + "/Music/a.mpeg", place, settings);
    EXPECT_TRUE(state.LyricFile.endsWith("/a.mtxt"));
}

TEST_F(LyricLookup, ExistingDiscKeyFolderIsSearchedItself)
{
    QDir().mkpath(songDir + "/1A2B-3C4D");
    writeFile(songDir + "/1A2B-3C4D/a.txt", "Title\r\n00:01:0 x\r\n");
    FindLyric(list, media + "/Music/a.mp3", place, settings);
    EXPECT_EQ(state.DiscLyricDir, songDir + "/1A2B-3C4D");
    EXPECT_EQ(state.LyricFile, songDir + "/1A2B-3C4D/a.txt");
    EXPECT_EQ(list.count(), 2);
    EXPECT_FALSE(QFileInfo::exists(songDir + "/1A2B-3C4D/Music"));
}

TEST_F(LyricLookup, FixedDiskUsesTheDiscFolderEvenWhenMissing)
{
    settings.DriveKind = 3;
    FindLyric(list, media + "/Music/a.mp3", place, settings);
    EXPECT_EQ(state.LyricFile, songDir + "/1A2B-3C4D/a.txt");
    EXPECT_FALSE(QFileInfo::exists(songDir + "/1A2B-3C4D"));
    EXPECT_EQ(list.count(), 0);
}

TEST_F(LyricLookup, MissingFolderOnCdRomWithoutCreationFallsBackToProgramFolder)
{
    settings.CreatSongDir = 0;
    FindLyric(list, media + "/Music/a.mp3", place, settings);
    EXPECT_EQ(state.LyricFile, program + "/a.txt");
    EXPECT_FALSE(QFileInfo::exists(songDir + "/1A2B-3C4D"));
}

TEST_F(LyricLookup, MissingFolderWithCreationMakesDiscAndMediaFolders)
{
    settings.CreatSongDir = 1;
    FindLyric(list, media + "/Music/a.mp3", place, settings);
    EXPECT_TRUE(QFileInfo(songDir + "/1A2B-3C4D/Music").isDir());
    EXPECT_EQ(state.LyricFile, songDir + "/1A2B-3C4D/Music/a.txt");

    // A medium in the drive's root folder gets the disc folder itself.
    QDir(songDir + "/1A2B-3C4D").removeRecursively();
    FindLyric(list, media + "/a.mp3", place, settings);
    EXPECT_TRUE(QFileInfo(songDir + "/1A2B-3C4D").isDir());
    EXPECT_EQ(state.LyricFile, songDir + "/1A2B-3C4D/a.txt");
}

TEST_F(LyricLookup, FolderThatCannotBeCreatedGivesNoLyricsAndNoCrash)
{
    settings.CreatSongDir = 1;
    settings.SongTempDir = temp.filePath("missing/Temp");
    FindLyric(list, media + "/Music/a.mp3", place, settings);
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(state.LyricFile.endsWith("/a.txt"));
}

TEST_F(LyricLookup, ShortPathClearsTheListAndKeepsTheOldFile)
{
    state.LyricFile = "kept";
    FindLyric(list, "a.b", place, settings);
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(state.LyricFile, "kept");
}

TEST_F(LyricLookup, LyricTimerLooksOnlyInTheDiscFolderUnderItsProgramFolder)
{
    settings.mode = LyricLookupMode::LyricTimer;
    settings.CreatSongDir = 1;
    FindLyric(list, media + "/Music/a.mp3", place, settings);
    EXPECT_EQ(state.LyricFile, settings.ProgramFolder + "/1A2B-3C4D/a.txt");
    EXPECT_FALSE(QFileInfo::exists(settings.ProgramFolder + "/1A2B-3C4D"));
    settings.ProgramFolder.clear();
    FindLyric(list, media + "/Music/a.mp3", place, settings);
    EXPECT_EQ(state.LyricFile, media + "/Music/1A2B-3C4D/a.txt");
}

TEST(ReadLyricFile, CommaSplitsALineAndEmptyLinesAreDropped)
{
    QTemporaryDir temp;
    const QString path = temp.filePath("song.txt");
    writeFile(path, "Title\r\n\r\n00:10:0 one, two\r\n00:20:0 three\r\n");
    RecordingList list;
    ReadLyric(list, path);
    EXPECT_EQ(list.items, (QStringList{"Title", "00:10:0 one", "two", "00:20:0 three"}));
    EXPECT_EQ(list.current, 0);
}

TEST(ReadLyricFile, MissingEmptyAndNamelessFilesLeaveTheListEmpty)
{
    QTemporaryDir temp;
    RecordingList list;
    list.items = {"old"};
    ReadLyric(list, temp.filePath("none.txt"));
    EXPECT_EQ(list.count(), 0);
    writeFile(temp.filePath("empty.txt"), "");
    ReadLyric(list, temp.filePath("empty.txt"));
    EXPECT_EQ(list.count(), 0);
    writeFile(temp.filePath("noext"), "Title\r\n");
    ReadLyric(list, temp.filePath("noext"));
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(list.selections.isEmpty());
}

TEST(ReadLyricFile, UnclosedQuoteKeepsTheLinesBeforeIt)
{
    QTemporaryDir temp;
    writeFile(temp.filePath("q.txt"), "Title\r\n00:01:0 a\r\n\"broken\r\n00:02:0 b\r\n");
    RecordingList list;
    ReadLyric(list, temp.filePath("q.txt"));
    EXPECT_EQ(list.items, (QStringList{"Title", "00:01:0 a"}));
}

TEST(ReadLyricFile, LoadsIntoAListWidget)
{
    int argc = 0;
    QApplication *app = qApp ? nullptr : new QApplication(argc, nullptr);
    QTemporaryDir temp;
    writeFile(temp.filePath("w.txt"), "Title\r\n00:01:0 a\r\n00:02:0 b\r\n");
    QListWidget widget;
    ListWidgetLyricList list(&widget);
    ReadLyric(list, temp.filePath("w.txt"));
    EXPECT_EQ(widget.count(), 3);
    EXPECT_EQ(widget.currentRow(), 0);
    EXPECT_EQ(ChkLyric(list, false, "00:01:50"), DueLine::line(1));
    EXPECT_EQ(widget.currentRow(), 1);
    delete app;
}
