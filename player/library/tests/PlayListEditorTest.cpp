#include "Cp950.h"
#include "FullDisk.h"
#include "LibraryTestSupport.h"
#include "ListBoxes.h"
#include "ListRows.h"
#include "MessageBox.h"
#include "ModTools.h"
#include "frmSongSet.h"

#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

QVector<ListRow> rowsNamed(const QString& names, const QString& selected)
{
    QVector<ListRow> rows;
    for (const QChar c : names) rows.append({QString(c), "/f", selected.contains(c)});
    return rows;
}

QString order(const QVector<ListRow>& rows)
{
    QString s;
    for (const ListRow& r : rows) s += r.name;
    return s;
}

QString selection(const QVector<ListRow>& rows)
{
    QString s;
    for (const ListRow& r : rows)
        if (r.selected) s += r.name;
    return s;
}

}  // namespace

TEST(ListRows, MovingSelectedRows)
{
    auto rows = rowsNamed("12345", "24");
    ListRows::MoveTop(rows);
    EXPECT_EQ(order(rows), "24135");
    EXPECT_EQ(selection(rows), "");

    rows = rowsNamed("12345", "24");
    ListRows::MoveBottom(rows);
    EXPECT_EQ(order(rows), "13524");

    rows = rowsNamed("12345", "24");
    ListRows::MoveUp(rows);
    EXPECT_EQ(order(rows), "21435");
    EXPECT_EQ(selection(rows), "24");  // the selection travels with the rows

    rows = rowsNamed("12345", "13");  // the first row selected stops everything
    ListRows::MoveUp(rows);
    EXPECT_EQ(order(rows), "12345");

    rows = rowsNamed("12345", "35");  // the last row selected stops everything
    ListRows::MoveDown(rows);
    EXPECT_EQ(order(rows), "12345");

    rows = rowsNamed("12345", "23");
    ListRows::MoveDown(rows);
    EXPECT_EQ(order(rows), "14235");

    rows = rowsNamed("12345", "135");
    ListRows::RemoveSelected(rows);
    EXPECT_EQ(order(rows), "24");
}

TEST(ListRows, ListFileTextRoundTrip)
{
    const QVector<ListRow> rows{{"a.mp3", "/", false}, {"歌.mp3", "/music/歌手/", false}, {"c,d.mp3", "/x", false}};
    const QString text = ListRows::ListFileText(rows);
    // A root folder is not doubled, nor a folder that ends in "/".
    EXPECT_EQ(text, "/a.mp3\r\n/music/歌手/歌.mp3\r\n/x/c,d.mp3\r\n");
    const QVector<ListRow> back = ListRows::RowsOfListFile(text);
    ASSERT_EQ(back.size(), 4);  // the comma splits its line in two
    EXPECT_EQ(back[0].folder, "");
    EXPECT_EQ(back[1].name, "歌.mp3");
    EXPECT_EQ(back[1].folder, "/music/歌手");
    EXPECT_EQ(back[2].name, "c");
    EXPECT_EQ(back[3].name, "d.mp3");
}

TEST(PlayListEditor, SavesCp950SafelyAndKeepsTheListOnAFailedSave)
{
    QTemporaryDir dir;
    frmSongSet w;
    w.setRows({{"一.mp3", dir.path(), false}, {"b.mp3", "/m", false}});
    const QString path = dir.filePath("list.m3u");
    ASSERT_TRUE(w.SaveListFile(path));
    EXPECT_EQ(fileBytes(path), Cp950::encode(dir.path() + "/一.mp3\r\n/m/b.mp3\r\n"));
    EXPECT_EQ(w.CurListFile, path);
    EXPECT_EQ(w.windowTitle(), "播放清單設定 - " + path);

    EXPECT_FALSE(w.SaveListFile(dir.filePath("missing/list.m3u")));
    EXPECT_EQ(w.CurListFile, path);

    frmSongSet other;
    other.ReadListFile(path);
    EXPECT_EQ(other.rows(), w.rows());
}

// Files without an extension (and folders named like files) are songs too: saved by
// "儲存清單檔" and read back by "開啟最後使用檔", every row comes back as it was.
TEST(PlayListEditor, RowsWithoutExtensionsReadBackAsSaved)
{
    QTemporaryDir dir;
    frmSongSet w;
    const QVector<ListRow> rows{{"README", "/music/老歌", false}, {"song", "/a.b", false}, {"歌", "/", false}};
    w.setRows(rows);
    w.CurListFile = dir.filePath("list.m3u");
    w.Command14->click();
    EXPECT_EQ(fileBytes(w.CurListFile), Cp950::encode("/music/老歌/README\r\n/a.b/song\r\n/歌\r\n"));
    w.setRows({});
    w.Command13->click();
    ASSERT_EQ(w.rows().size(), 3);
    EXPECT_EQ(ListRows::FullPaths(w.rows()), ListRows::FullPaths(rows));
    w.Command14->click();
    EXPECT_EQ(fileBytes(w.CurListFile), Cp950::encode("/music/老歌/README\r\n/a.b/song\r\n/歌\r\n"));
}

// A list file is code page 950: a name it cannot hold would come back as "?" and name no
// file. The user is told which names, and the list file is left as it was.
TEST(PlayListEditor, NamesTheListFileCannotHoldAreToldNotSavedAsQuestionMarks)
{
    QTemporaryDir dir;
    ShownMessages messages;
    QStringList& told = messages.prompts;
    frmSongSet w;
    w.setRows({{"歌.mp3", "/m", false}});
    w.CurListFile = dir.filePath("list.m3u");
    w.Command14->click();
    ASSERT_TRUE(told.isEmpty());
    w.setRows({{"歌.mp3", "/m", false}, {"爱.mp3", "/m/さくら", false}, {"b.mp3", "/m", false}});
    w.chooseSaveFile = [&](const QString&, const QString&) { return dir.filePath("other.m3u"); };
    w.Command3->click();  // "另存新檔"
    w.Command14->click();  // "儲存清單檔"
    EXPECT_EQ(fileBytes(dir.filePath("list.m3u")), Cp950::encode("/m/歌.mp3\r\n"));
    EXPECT_FALSE(QFile::exists(dir.filePath("other.m3u")));
    EXPECT_EQ(told, QStringList(2, "清單檔存不下這些檔名:/m/さくら/爱.mp3"));
}

TEST(PlayListEditor, SavingOntoAFullDiskKeepsTheOldListAndTellsTheUser)
{
    FullDisk disk;
    if (!disk.mounted()) GTEST_SKIP() << disk.whyNot().toStdString();
    ShownMessages messages;
    QStringList& told = messages.prompts;
    frmSongSet w;
    w.setRows({{"a.mp3", "/m", false}});
    const QString path = disk.filePath("list.m3u");
    ASSERT_TRUE(w.SaveListFile(path));
    disk.fill();

    w.setRows({{"a.mp3", "/m", false}, {"b.mp3", "/m", false}});
    w.Command14->click();  // "儲存清單檔"
    EXPECT_EQ(fileBytes(path), QByteArray("/m/a.mp3\r\n"));
    EXPECT_EQ(told, QStringList{"無法儲存清單檔:" + path});
    EXPECT_EQ(disk.names(), QStringList({FullDisk::FillerName, "list.m3u"}));
}

TEST(PlayListEditor, HandOverRemembersOnlyM3uLists)
{
    QTemporaryDir dir;
    frmSongSet w;
    w.hasPrinter = [] { return true; };
    w.SetPlayListMode(dir.filePath("x.m3u"), "*.MP3");
    w.setRows({{"a.mp3", "/m", false}});
    w.SaveListFile(dir.filePath("Party.M3U"));
    w.Command5->click();
    EXPECT_EQ(w.ListEntryCount, 1);
    EXPECT_EQ(GetAppSetting("ListFile"), dir.filePath("Party.M3U"));

    w.SaveListFile(dir.filePath("other.lst"));
    w.Command5->click();
    EXPECT_EQ(GetAppSetting("ListFile"), dir.filePath("Party.M3U"));

    w.SetPrintMode();
    EXPECT_EQ(w.rows().size(), 0);
    EXPECT_EQ(w.CurListFile, "unknow");
    w.Command5->click();  // an empty list hands nothing over
    EXPECT_EQ(w.ListEntryCount, 1);
    w.setRows({{"a.txt", "/l", false}});
    w.Command5->click();
    EXPECT_EQ(w.PlayArray, QStringList{"/l/a.txt"});
    EXPECT_EQ(GetAppSetting("ListFile"), dir.filePath("Party.M3U"));

    // Back to play-list mode after printing: the print rows go.
    w.SetPlayListMode(dir.filePath("Party.M3U"), "*.MP3");
    EXPECT_EQ(w.rows().size(), 0);
    w.setRows({{"k.mp3", "/m", false}});
    w.SetPlayListMode(dir.filePath("Party.M3U"), "*.MP3");
    EXPECT_EQ(w.rows().size(), 1);  // play-list mode again keeps them
}

TEST(PlayListEditor, ButtonStatesFollowRowsSelectionAndPrinter)
{
    frmSongSet w;
    bool printer = false;
    w.hasPrinter = [&] { return printer; };
    w.Timer1_Timer();
    EXPECT_FALSE(w.Command5->isEnabled());
    EXPECT_FALSE(w.Command2->isEnabled());
    w.setRows({{"a.mp3", "/m", false}, {"b.mp3", "/m", false}});
    w.Timer1_Timer();
    EXPECT_TRUE(w.Command5->isEnabled());
    EXPECT_TRUE(w.Command7->isEnabled());
    EXPECT_FALSE(w.Command9->isEnabled());
    w.ListView1->setCurrentItem(w.ListView1->topLevelItem(1));
    w.Timer1_Timer();
    EXPECT_TRUE(w.Command9->isEnabled());

    w.SetPrintMode();
    w.setRows({{"a.txt", "/m", false}});
    w.Timer1_Timer();
    EXPECT_FALSE(w.Command5->isEnabled());  // no printer: nothing can be printed
    printer = true;
    w.Timer1_Timer();
    EXPECT_TRUE(w.Command5->isEnabled());
}

TEST(PlayListEditor, AddingFromTheFolderAndDeletingRows)
{
    QTemporaryDir dir;
    makeFile(dir.filePath("b.mp3"));
    makeFile(dir.filePath("a.MP3"));
    makeFile(dir.filePath("c.txt"));
    frmSongSet w;
    w.SetPlayListMode(dir.filePath("unknow.m3u"), "*.MP3");
    EXPECT_EQ(w.File1->listCount(), 2);
    EXPECT_EQ(w.Label1->text(), "2 Files");
    w.Command8->click();
    ASSERT_EQ(w.rows().size(), 2);
    EXPECT_EQ(w.rows()[0].name, "a.MP3");
    EXPECT_EQ(w.rows()[0].folder, dir.path());

    w.File1->setSelected(1, true);
    w.Command1->click();
    ASSERT_EQ(w.rows().size(), 3);
    EXPECT_EQ(w.rows()[2].name, "b.mp3");
    EXPECT_FALSE(w.File1->selected(1));

    w.ListView1->topLevelItem(0)->setSelected(true);
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(w.ListView1, &del);
    EXPECT_EQ(w.rows().size(), 2);
    w.Command7->click();
    EXPECT_EQ(w.rows().size(), 0);
}

// Lyric printing may be the first use of the editor: its folder and file lists then show the
// current folder, as folder list boxes do, so that lyric files can be picked at all.
TEST(PlayListEditor, PrintModeFirstUseBrowsesTheCurrentFolder)
{
    QTemporaryDir dir;
    makeFile(dir.filePath("歌詞.txt"));
    makeFolder(dir.filePath("專集"));
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    frmSongSet w;
    w.SetPrintMode();
    QDir::setCurrent(before);
    EXPECT_EQ(w.Dir1->path(), dir.path());
    EXPECT_EQ(w.Dir1->listCount(), 1);
    ASSERT_EQ(w.File1->listCount(), 1);
    EXPECT_EQ(w.File1->list(0), "歌詞.txt");
    EXPECT_EQ(w.Label1->text(), "1 Files");
}

TEST(PlayListEditor, OpenAndSaveDialogsStartAtTheListFile)
{
    QTemporaryDir dir;
    frmSongSet w;
    w.SetPlayListMode(dir.filePath("last.m3u"), "*.MP3");
    QString folder, name;
    w.chooseSaveFile = [&](const QString& f, const QString& n) {
        folder = f;
        name = n;
        return QString();  // Cancel
    };
    w.setRows({{"a.mp3", "/m", false}});
    w.Command3->click();
    EXPECT_EQ(folder, dir.path());
    EXPECT_EQ(name, "last");
    EXPECT_FALSE(QFile::exists(dir.filePath("last.m3u")));

    makeFile(dir.filePath("other.m3u"), "/q/z.mp3\r\n");
    w.chooseOpenFile = [&](const QString&, const QString&) { return dir.filePath("other.m3u"); };
    w.Command4->click();
    ASSERT_EQ(w.rows().size(), 1);
    EXPECT_EQ(w.rows()[0].name, "z.mp3");
    EXPECT_EQ(w.CurListFile, dir.filePath("other.m3u"));
}
