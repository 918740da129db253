// The editor's window-free rules: grid, handles, texts, font steps, recent files.
#include "EditRules.h"

#include <gtest/gtest.h>

using namespace EditRules;

TEST(EditRules, DefinitionAndCacheNamesComeFromThePictureName)
{
    EXPECT_EQ(deskIniFileFor(QStringLiteral("/p/Skin"), QStringLiteral("/elsewhere/a.jpg")), QStringLiteral("/p/Skin/a.INI"));
    EXPECT_EQ(firstCacheFileFor(QStringLiteral("/t"), QStringLiteral("/elsewhere/a.jpg")), QStringLiteral("/t/a-00.Bmp"));
    // A Chinese name whose second byte in CP950 is a backslash stays whole.
    EXPECT_EQ(deskIniFileFor(QStringLiteral("/p/Skin"), QStringLiteral("/x/功能.GIF")), QStringLiteral("/p/Skin/功能.INI"));
}

TEST(EditRules, RecentFilesNewestFirstWithoutDuplicatesAtMostSix)
{
    QStringList list = addRecentFile({}, QStringLiteral("a"));
    EXPECT_EQ(list, (QStringList{"a", "", "", "", "", ""}));
    list = addRecentFile(list, QStringLiteral("b"));
    list = addRecentFile(list, QStringLiteral("a"));
    EXPECT_EQ(list.mid(0, 3), (QStringList{"a", "b", ""}));
    for (const char *name : {"c", "d", "e", "f", "g"})
        list = addRecentFile(list, QString::fromLatin1(name));
    EXPECT_EQ(list, (QStringList{"g", "f", "e", "d", "c", "a"}));  // b, the oldest, fell off
    // The comparison is exact: another case is another entry.
    list = addRecentFile(list, QStringLiteral("G"));
    EXPECT_EQ(list.mid(0, 2), (QStringList{"G", "g"}));
}

TEST(EditRules, ZoomAndStepTexts)
{
    EXPECT_DOUBLE_EQ(zoomFromText(QStringLiteral(" 25%")), 0.25);
    EXPECT_DOUBLE_EQ(zoomFromText(QStringLiteral(" 75%")), 0.75);
    EXPECT_DOUBLE_EQ(zoomFromText(QStringLiteral("800%")), 8);
    EXPECT_EQ(gridStepFromText(QStringLiteral("12點")), 12);
    EXPECT_EQ(zoomItems().size(), 11);
    EXPECT_EQ(zoomItems().at(7), QStringLiteral("100%"));
    EXPECT_EQ(gridStepItems().size(), 16);
    EXPECT_EQ(gridStepItems().constLast(), QStringLiteral("16點"));
}

TEST(EditRules, DragSnapsDownToTheZoomedGrid)
{
    // Step 4 at 200 %: a grid of 8 pixels; 21 lands at 16, shown as panel pixel 8.
    EXPECT_DOUBLE_EQ(snapDown(21, 4 * 2.0), 16);
    EXPECT_EQ(dragStatus(16, 40, 2.0), QStringLiteral("X=8 Y=20"));
    EXPECT_DOUBLE_EQ(snapDown(-3, 8), -8);  // Int goes to the next lower whole number
    EXPECT_FALSE(dragStepDue(3, 3, 0, 0, 4));
    EXPECT_TRUE(dragStepDue(4, 0, 0, 0, 4));
    EXPECT_TRUE(dragStepDue(0, -4, 0, 0, 4));
}

TEST(EditRules, HandlesSitOnCornersAndEdgeMidpoints)
{
    const Handles h = handlesAround(QRectF(10, 20, 30, 40));
    EXPECT_EQ(h[0], QPointF(10, 20));
    EXPECT_EQ(h[1], QPointF(40, 20));
    EXPECT_EQ(h[2], QPointF(10, 60));
    EXPECT_EQ(h[3], QPointF(40, 60));
    EXPECT_EQ(h[4], QPointF(25, 20));
    EXPECT_EQ(h[5], QPointF(25, 60));
    EXPECT_EQ(h[6], QPointF(10, 40));
    EXPECT_EQ(h[7], QPointF(40, 40));
}

TEST(EditRules, DraggingHandlesResizesFromTheRightEdges)
{
    const QRectF start(10, 20, 30, 40);
    Handles h = handlesAround(start);
    dragHandle(h, 7, 5, 3);  // right edge: only the width changes
    EXPECT_EQ(rectFromHandles(h), QRectF(10, 20, 35, 40));

    h = handlesAround(start);
    dragHandle(h, 0, -4, -6);  // top-left corner: right and bottom edges stay
    EXPECT_EQ(rectFromHandles(h), QRectF(6, 14, 34, 46));

    h = handlesAround(start);
    dragHandle(h, 5, 0, 10);  // bottom edge
    EXPECT_EQ(rectFromHandles(h), QRectF(10, 20, 30, 50));

    h = handlesAround(start);
    dragHandle(h, 3, 2, 2);  // bottom-right corner moves both of its edges
    EXPECT_EQ(rectFromHandles(h), QRectF(10, 20, 32, 42));

    h = handlesAround(start);
    dragHandle(h, 1, 0, -5);  // top-right corner moves the top edge too
    EXPECT_EQ(rectFromHandles(h), QRectF(10, 15, 30, 45));

    // Past the opposite edge: a positive size, left and top from handle 0.
    h = handlesAround(start);
    dragHandle(h, 7, -50, 0);
    EXPECT_EQ(rectFromHandles(h), QRectF(10, 20, 20, 40));
}

TEST(EditRules, ObjectsPulledBackInsideTheCanvas)
{
    // A title button or number key that ran off the right edge goes to the top row.
    EXPECT_EQ(keepInside(QPointF(390, 100), QSizeF(20, 20), 400, 300, true), QPointF(380, 0));
    // Other objects keep their row.
    EXPECT_EQ(keepInside(QPointF(390, 100), QSizeF(20, 20), 400, 300, false), QPointF(380, 100));
    EXPECT_EQ(keepInside(QPointF(10, 295), QSizeF(20, 20), 400, 300, false), QPointF(10, 280));
    EXPECT_EQ(keepInside(QPointF(10, 10), QSizeF(20, 20), 400, 300, true), QPointF(10, 10));
}

TEST(EditRules, FontStepsStopAtTheirLimits)
{
    EXPECT_FALSE(largerFont(47, 1).has_value());
    EXPECT_EQ(largerFont(46, 1), 47);
    EXPECT_EQ(largerFont(20, 2), 22);  // one point of the panel is ZoomRate points here
    EXPECT_EQ(smallerFont(4, 1), 3);
    EXPECT_FALSE(smallerFont(3, 1).has_value());
}

TEST(EditRules, InvertColorHasNoCaseForBlack)
{
    EXPECT_EQ(InvertColor(0), 0);
    EXPECT_EQ(InvertColor(0xFFFFFF), 0);
    EXPECT_EQ(InvertColor(0x808080), 0x7F7F7F);
    EXPECT_EQ(InvertColor(0x0000FF), 0xFFFF00);
}

TEST(EditRules, ZoomedCanvasWindowStopsAtTheGalleryOrTheScreen)
{
    WindowLimits limits;
    limits.screenWidth = 1024 * 15;
    limits.screenHeight = 768 * 15;
    const QSizeF small = zoomedCanvasWindow(100, 50, 15, 15, limits);
    EXPECT_DOUBLE_EQ(small.width(), 100 * 15 + 390);
    EXPECT_DOUBLE_EQ(small.height(), 50 * 15 + 645);
    const QSizeF wide = zoomedCanvasWindow(5000, 5000, 15, 15, limits);
    EXPECT_DOUBLE_EQ(wide.width(), 1024 * 15 - 165);
    EXPECT_DOUBLE_EQ(wide.height(), 768 * 15 - 1425 + 60);
    limits.galleryLeft = 9000;
    EXPECT_DOUBLE_EQ(zoomedCanvasWindow(5000, 10, 15, 15, limits).width(), 9000);
}

TEST(EditRules, SelectionStatusShowsPanelPositionsAndTheMask)
{
    EXPECT_EQ(selectionStatus(10, 20, 26, 26, 1, QStringLiteral("停止"), QStringLiteral("/m/Round.bmp")),
              QStringLiteral(" X=10 Y=20 W=26 H=26 按鈕=[停止] 遮罩:/m/Round.bmp"));
    // Positions are divided by the zoom, sizes are shown as they are on the canvas.
    EXPECT_EQ(selectionStatus(21, 40, 52, 52, 2, QString(), QString()), QStringLiteral(" X=10 Y=20 W=52 H=52 按鈕=[] 遮罩:"));
    EXPECT_EQ(pointerStatus(3.5, 4), QStringLiteral("X=3.5 Y=4"));
}
