#include "FolderSongMenu.h"
#include "LibraryTestSupport.h"

#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QStringList visibleItems(const FolderSongMenu& menu)
{
    QStringList names;
    for (QAction* a : menu.mSeleItem2)
        if (a->isVisible()) names << a->text();
    return names;
}

}  // namespace

TEST(FolderSongMenu, RebuiltPerFolderWithThePlayingSongTicked)
{
    QTemporaryDir dir;
    for (int i = 0; i < 10; ++i) makeFile(dir.path() + QStringLiteral("/ten/%1.mp3").arg(i));
    makeFile(dir.filePath("three/a.mp3"));
    makeFile(dir.filePath("three/aa.mp3"));
    makeFile(dir.filePath("three/b.MP3"));
    makeFile(dir.filePath("three/readme.txt"));
    makeFolder(dir.filePath("none"));

    FolderSongMenu menu;
    menu.popupsEnabled = false;
    ASSERT_TRUE(menu.ChkMp3Menu(0, true, "MP3", dir.filePath("ten"), "*.MP3", ""));
    EXPECT_EQ(menu.popupCount, 1);
    EXPECT_EQ(visibleItems(menu).size(), 10);
    for (QAction* a : menu.mSeleItem2) EXPECT_FALSE(a->isChecked());  // nothing playing, nothing ticked

    ASSERT_TRUE(menu.ChkMp3Menu(3, false, "MP3", dir.filePath("three"), "*.MP3", dir.filePath("three/aa.mp3")));
    EXPECT_EQ(menu.popupCount, 1);
    EXPECT_EQ(menu.mSele2M->text(), dir.filePath("three"));
    EXPECT_EQ(visibleItems(menu), (QStringList{"a.mp3", "aa.mp3", "b.MP3"}));
    EXPECT_EQ(menu.mSeleItem2.size(), 10);  // the items stay loaded
    // Only the song playing is ticked, not one whose name is part of its path.
    EXPECT_FALSE(menu.mSeleItem2[0]->isChecked());
    EXPECT_TRUE(menu.mSeleItem2[1]->isChecked());

    // A folder without songs keeps item 0 as it was.
    ASSERT_TRUE(menu.ChkMp3Menu(4, false, "MP3", dir.filePath("none"), "*.MP3", ""));
    EXPECT_EQ(visibleItems(menu), QStringList{"a.mp3"});

    int chosen = -1;
    QString folder;
    QObject::connect(&menu, &FolderSongMenu::songChosen, [&](int i, const QString& f) {
        chosen = i;
        folder = f;
    });
    menu.ChkMp3Menu(1, false, "MP3", dir.filePath("three"), "*.MP3", "");
    menu.mSeleItem2[2]->trigger();
    EXPECT_EQ(chosen, 2);
    EXPECT_EQ(folder, dir.filePath("three"));
}

TEST(FolderSongMenu, OtherKindsKey9AndMissingFolders)
{
    QTemporaryDir dir;
    makeFile(dir.filePath("f/a.mp3"));
    FolderSongMenu menu;
    menu.popupsEnabled = false;
    EXPECT_FALSE(menu.ChkMp3Menu(0, true, "VCD", dir.filePath("f"), "*.MP3", ""));
    EXPECT_FALSE(menu.ChkMp3Menu(0, true, "MP3", dir.filePath("gone"), "*.MP3", ""));
    EXPECT_FALSE(menu.ChkMp3Menu(0, true, "MP3", "", "*.MP3", ""));
    EXPECT_EQ(menu.popupCount, 0);

    QMenu entries;
    EXPECT_TRUE(menu.ChkMp3Menu(9, true, "MP3", dir.filePath("f"), "*.MP3", "", &entries));
    EXPECT_EQ(menu.popupCount, 1);
    EXPECT_EQ(menu.mSele2M->text(), "選擇播放清單");  // the song menu is left alone
}

TEST(FolderSongMenu, PlayListTicksFindTheirLabelsAndEntries)
{
    const QStringList captions{"1", "2", "3", "4", "5", "6", "7", "8", "9"};
    EXPECT_EQ(LabelsShowingEntry(captions, 4), QVector<int>{4});
    EXPECT_TRUE(LabelsShowingEntry(captions, 12).isEmpty());
    EXPECT_EQ(LabelsShowingEntry({"10", "11", "", "x"}, 10), QVector<int>{1});
    EXPECT_EQ(EntryIndexOf({"/a", "/b"}, "/b", 7), 1);
    EXPECT_EQ(EntryIndexOf({"/a", "/b"}, "/c", 7), 7);
}
