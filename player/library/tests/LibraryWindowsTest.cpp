#include "Cp950.h"
#include "frmFindMusic.h"
#include "frmSongSet.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

// The one QApplication is made by the test environment.
QApplication& app()
{
    return *qobject_cast<QApplication*>(QCoreApplication::instance());
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QString& text)
{
    const QString path = dir.filePath(name);
    EXPECT_TRUE(Cp950::writeTextFile(path, text));
    return path;
}

}  // namespace

TEST(SongBookWindow, DiscListRowsFromTheLibraryFile)
{
    app();
    QTemporaryDir dir;
    const QString lib = writeFile(dir, "CDROMLib.TXT",
                                  "[CDROM]\r\nDiscNum=4\r\n1=ABCD-1234,流行歌曲,2024/01/02\r\n"
                                  "2=no comma here\r\n3=0000-0001,OnlyLabel\r\n");
    frmFindMusic w;
    EXPECT_TRUE(w.Check1->isChecked());
    EXPECT_TRUE(w.Check2->isChecked());
    w.ReadDiscList(lib);
    ASSERT_EQ(w.ListView2->topLevelItemCount(), 2);
    const QTreeWidgetItem* first = w.ListView2->topLevelItem(0);
    EXPECT_EQ(first->text(0), "1");
    EXPECT_EQ(first->text(1), "流行歌曲");
    EXPECT_EQ(first->text(2), "ABCD-1234");
    EXPECT_EQ(first->text(3), "2024/01/02");
    const QTreeWidgetItem* third = w.ListView2->topLevelItem(1);
    EXPECT_EQ(third->text(0), "3");
    EXPECT_EQ(third->text(1), "OnlyLabel");
    EXPECT_EQ(third->text(3), "");

    // A missing library gives an empty list, not a failure.
    w.ReadDiscList(dir.filePath("missing.TXT"));
    EXPECT_EQ(w.ListView2->topLevelItemCount(), 0);
}

TEST(PlayListEditor, ReadsRowsAndKeepsEverythingOnAMissingFile)
{
    app();
    QTemporaryDir dir;
    const QString list = writeFile(dir, "a.m3u", "/music/歌手/一.mp3\r\n  /music/b.mp3\r\n\"/x/c,d.mp3\"\r\n/y/e,f.mp3\r\n");
    frmSongSet w;
    w.ReadListFile(list);
    ASSERT_EQ(w.ListView1->topLevelItemCount(), 5);
    EXPECT_EQ(w.ListView1->topLevelItem(0)->text(0), "一.mp3");
    EXPECT_EQ(w.ListView1->topLevelItem(0)->text(1), "/music/歌手");
    EXPECT_EQ(w.ListView1->topLevelItem(1)->text(1), "/music");      // leading blanks dropped
    EXPECT_EQ(w.ListView1->topLevelItem(2)->text(0), "c,d.mp3");     // quotes keep the comma
    EXPECT_EQ(w.ListView1->topLevelItem(3)->text(0), "e");           // an unquoted comma splits
    EXPECT_EQ(w.ListView1->topLevelItem(4)->text(0), "f.mp3");
    EXPECT_EQ(w.CurListFile, list);
    EXPECT_EQ(w.windowTitle(), "播放清單設定 - " + list);

    w.ReadListFile(dir.filePath("gone.m3u"));
    EXPECT_EQ(w.ListView1->topLevelItemCount(), 5);
    EXPECT_EQ(w.CurListFile, list);
}

TEST(PlayListEditor, HandOverAndCancel)
{
    app();
    QTemporaryDir dir;
    frmSongSet w;
    w.ReadListFile(writeFile(dir, "b.m3u", "/m/a.mp3\r\n/b.mp3\r\n"));
    w.show();
    w.Command5->click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.ListEntryCount, 2);
    EXPECT_EQ(w.PlayArray, (QStringList{"/m/a.mp3", "/b.mp3"}));
    w.Command6->click();
    EXPECT_EQ(w.ListEntryCount, 0);
}

TEST(PlayListEditor, ClosingByTheFrameHandsNothingOver)
{
    QTemporaryDir dir;
    frmSongSet w;
    w.ReadListFile(writeFile(dir, "c.m3u", "/m/a.mp3\r\n"));
    w.show();
    w.Command5->click();
    ASSERT_EQ(w.ListEntryCount, 1);
    // Shown again and closed by its frame: the earlier list must not be played again.
    w.show();
    w.close();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.ListEntryCount, 0);
}
