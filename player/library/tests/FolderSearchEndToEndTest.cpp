// The player's folder search as a user runs it: a real Tavrin on a virtual X display, its
// context menu opened on the panel's title with the right button and walked with the keys,
// the folder picker confirmed; then its log tells how many song folders the search found.

#include "LibraryTestSupport.h"
#include "ProfileFile.h"
#include "TavrinSandbox.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

// X key symbols.
constexpr unsigned long Down = 0xff54, Right = 0xff53, Return = 0xff0d, Escape = 0xff1b;

// Three levels of Chinese-named folders, 10 x 6 x 5 of them; about half hold songs (and a
// lyric file), the rest only other files. Returns the number of song folders.
int makeSongTree(const QString& root)
{
    const QStringList names{"流行", "經典", "情歌", "搖滾", "民謠", "爵士", "台語", "粵語", "兒歌", "合唱"};
    int songFolders = 0;
    QStringList level{root};
    for (int depth = 0; depth < 3; ++depth) {
        QStringList next;
        const int width = depth == 0 ? 10 : depth == 1 ? 6 : 5;
        for (const QString& parent : level)
            for (int i = 0; i < width; ++i) {
                const QString folder = parent + u'/' + names[(i + depth) % names.size()] + QString::number(i);
                if ((i + depth) % 2 == 0) {
                    makeFile(folder + "/第一首.mp3");
                    makeFile(folder + "/第一首.txt");
                    ++songFolders;
                } else {
                    makeFile(folder + "/封面.jpg");
                }
                next << folder;
            }
        level = next;
    }
    return songFolders;
}

}  // namespace

TEST(FolderSearchEndToEnd, SearchOfAWideChineseTreeFindsEverySongFolder)
{
    TavrinSandbox player({720, 900});
    player.requireTool("xwininfo");
    if (const QString missing = player.unavailable(); !missing.isEmpty()) GTEST_SKIP() << missing.toStdString();
    player.setting("ReadMe", "1");  // the readme was confirmed before
    const QString tree = player.filePath("tree");
    const int songFolders = makeSongTree(tree);
    ASSERT_EQ(songFolders, 5 + 10 * 3 + 60 * 3);
    // Started in the tree: a new folder picker opens where the program runs.
    player.setWorkingFolder(tree);
    ASSERT_TRUE(player.start());
    ASSERT_TRUE(player.waitForLog("進入主程式")) << player.report();

    XInput& input = player.input();
    ASSERT_TRUE(input.usable()) << "the X test extension could not be loaded";
    QRect panel;
    ASSERT_TRUE(player.waitFor([&] { return !(panel = player.windowTitled("Quorvel")).isNull(); }));

    // The right button on the panel's title opens the menu: 播放選單 > 搜尋目錄.
    const QString skin = player.programFile("Skin/Quorvel.INI");
    const QPoint title = panel.topLeft() + QPoint(ProfileFile::getString(skin, "LOGO", "X0").toInt() + 20,
                                                  ProfileFile::getString(skin, "LOGO", "Y0").toInt() + 8);
    // Keys typed before the menu shows are lost: they wait until the screen shows it, and on
    // a busy machine the menu is closed and opened again.
    QRect picker;
    for (int attempt = 0; attempt < 3 && picker.isNull(); ++attempt) {
        for (int i = 0; attempt > 0 && i < 3; ++i) input.type(Escape);
        const QImage closed = player.screenshot("folder-search-panel.png");
        input.click(title.x(), title.y(), 3);
        player.screenshotWhen("folder-search-menu.png", [&](const QImage& shot) {
            return changedPixels(closed, shot, QRect(title, QSize(120, 60))) > 100;
        });
        for (unsigned long key : {Down, Right, Down, Return}) input.type(key);
        // The picker opens on the player's folder, the tree; its default button takes it.
        player.waitFor([&] { return !(picker = player.windowTitled("指定目錄")).isNull(); });
    }
    ASSERT_FALSE(picker.isNull()) << "the folder picker did not open";
    const auto searching = [&] { return player.log().contains("開始搜尋音樂檔"); };
    for (int attempt = 0; attempt < 3 && !searching(); ++attempt) {
        input.click(picker.center().x(), picker.bottom() - 8);  // beside the buttons: the picker takes the keys
        input.type(Return);
        player.waitFor(searching);
    }

    static const QRegularExpression found(QStringLiteral("找到 (\\d+)目錄下有音樂檔"));
    QRegularExpressionMatch match;
    player.waitFor([&] { return (match = found.match(player.log())).hasMatch() || !player.running(); });
    player.screenshot("folder-search.png");
    ASSERT_TRUE(match.hasMatch()) << "no search result in the log; see folder-search.png\n" << player.report();
    EXPECT_EQ(match.captured(1).toInt(), songFolders);
    EXPECT_TRUE(player.running()) << "the player ended during the search";
    // Every song folder was logged with its count, each once.
    const QStringList lines = player.logLines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const QString& line) { return line.contains(" [1] "); }),
              songFolders);
}
