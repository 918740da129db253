#include "LibraryTestSupport.h"
#include "SongBookSearch.h"
#include "frmFindMusic.h"

#include <QLineEdit>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

const QString kLibrary = QStringLiteral("[Music]\r\nNUM=3\r\n"
                                        "<Dir> /Pop/Singer-Album\t [MP3_001(MYDISC)]\r\n"
                                        "ABC song.mp3\r\nother.mp3\r\n"
                                        "<Dir> /(Singer)Album~2\t [MP3_002]\r\n"
                                        "xabcx.wav\r\n");

QStringList column(const QTreeWidget* list, int col)
{
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i) texts << list->topLevelItem(i)->text(col);
    return texts;
}

}  // namespace

TEST(SongBookSearch, AlbumPartsFromFolderNames)
{
    AlbumParts p = SplitAlbum("/Pop/Singer-Album");
    EXPECT_EQ(p.album, "Album");
    EXPECT_EQ(p.singer, "Pop/Singer");
    p = SplitAlbum("(Singer)Album~2");  // the separators are looked for in the singer only
    EXPECT_EQ(p.singer, "Singer");
    EXPECT_EQ(p.album, "Album~2");
    p = SplitAlbum("(Singer Album");  // no closing bracket: unchanged by the bracket step
    EXPECT_EQ(p.singer, "(Singer Album");
    EXPECT_EQ(p.album, "(Singer Album");
    p = SplitAlbum("歌手～專輯");
    EXPECT_EQ(p.singer, "歌手");
    EXPECT_EQ(p.album, "專輯");
}

TEST(SongBookSearch, SongsAnyCaseWithTheirFolderAndTitle)
{
    const SongBookSearchResult r = FindSongIn(kLibrary, "  abc ");
    ASSERT_EQ(r.rows.size(), 2);
    EXPECT_EQ(r.rows[0].text, "ABC song.mp3");
    EXPECT_EQ(r.rows[0].second, "/Pop/Singer-Album");
    EXPECT_EQ(r.rows[0].third, "MP3_001(MYDISC)");
    EXPECT_EQ(r.rows[1].text, "xabcx.wav");
    EXPECT_EQ(r.rows[1].third, "MP3_002");
    EXPECT_EQ(r.count, 7);  // every line read, the [Music] lines included

    // A header line that matches is listed up to its "[".
    const SongBookSearchResult dirs = FindSongIn(kLibrary, "singer-");
    ASSERT_EQ(dirs.rows.size(), 1);
    EXPECT_EQ(dirs.rows[0].text, "<Dir> /Pop/Singer-Album\t ");
    EXPECT_EQ(FindSongIn(kLibrary, "").rows.size(), 7);  // an empty text matches all
}

TEST(SongBookSearch, AlbumsAreHeaderLinesOnly)
{
    const SongBookSearchResult r = FindAlbumIn(kLibrary, "ALBUM");
    ASSERT_EQ(r.rows.size(), 2);
    EXPECT_EQ(r.rows[0].text, "Album");
    EXPECT_EQ(r.rows[0].second, "Pop/Singer");
    EXPECT_EQ(r.rows[0].third, "/Pop/Singer-Album");
    EXPECT_EQ(r.count, 2);
    EXPECT_TRUE(FindAlbumIn(kLibrary, "abc").rows.isEmpty());
}

TEST(SongBookWindow, SearchesShowCountsAndColumnsSortBothWays)
{
    QTemporaryDir dir;
    const QString cdrom = dir.filePath("CDROMLib.TXT");
    frmFindMusic w;
    w.ReadDiscList(cdrom);  // names the music library beside it, which is missing yet
    w.Text1->setText("abc");
    w.FindSong();
    EXPECT_EQ(w.ListView1->topLevelItemCount(), 0);
    EXPECT_EQ(w.StatusBar1->currentMessage(), "0首歌搜尋完成!");

    makeFile(dir.filePath("MusicLib.TXT"), kLibrary);
    w.Text1->setText("");
    w.FindAlbum();
    EXPECT_EQ(w.StatusBar1->currentMessage(), "2個專集搜尋完成!");
    w.ListView_ColumnClick(w.ListView1, 0);
    EXPECT_EQ(column(w.ListView1, 0), (QStringList{"Album", "Album~2"}));
    w.ListView_ColumnClick(w.ListView1, 0);
    EXPECT_EQ(column(w.ListView1, 0), (QStringList{"Album~2", "Album"}));
    // The disc list keeps its own order: its first click sorts ascending too.
    w.ReadDiscList(makeFile(cdrom, "[CDROM]\r\nDiscNum=2\r\n1=B-1,b,d\r\n2=A-1,a,d\r\n"));
    w.ListView_ColumnClick(w.ListView2, 2);
    EXPECT_EQ(column(w.ListView2, 2), (QStringList{"A-1", "B-1"}));

    w.Text1->setText("abc");
    emit w.Text1->returnPressed();  // Enter searches songs
    EXPECT_EQ(w.ListView1->topLevelItemCount(), 2);
    w.SetSongBookTitle("Disc");
    EXPECT_EQ(w.windowTitle(), "歌本管理 - Disc");
}
