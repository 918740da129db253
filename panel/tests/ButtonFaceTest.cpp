// The recolouring of one key face under its mask.

#include "PanelTestSupport.h"

namespace {

QImage solid(int w, int h, QColor colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A 2x1 mask: pixel (0, 0) is the key colour, pixel (1, 0) the given colour.
QImage maskWith(QColor colour)
{
    QImage mask = solid(2, 1, Qt::black);
    mask.setPixelColor(1, 0, colour);
    return mask;
}

TEST(BuildKeyFaceTest, KeyColourOfTheMaskLeavesThePanelPixel)
{
    const QImage piece = solid(2, 1, QColor(12, 34, 56));
    const QImage face = BuildKeyFace(piece, maskWith(QColor(200, 200, 200)), 1, 255, 255, 255, 0);
    EXPECT_EQ(face.pixelColor(0, 0), QColor(12, 34, 56));
    EXPECT_NE(face.pixelColor(1, 0), QColor(12, 34, 56));
}

TEST(BuildKeyFaceTest, ColouredTypeDarkensBrightColoursAndShadesByTheMask)
{
    const QImage face = BuildKeyFace(solid(2, 1, Qt::black), maskWith(QColor(128, 128, 128)), 1, 255, 255, 255, 0);
    EXPECT_EQ(face.pixelColor(1, 0), QColor(236, 236, 236));  // 235 * 128 / 255 * 2 = 235.9
}

TEST(BuildKeyFaceTest, TransparentTypeAddsTheColourToThePanel)
{
    const QImage piece = solid(2, 1, QColor(100, 50, 10));
    const QImage face = BuildKeyFace(piece, maskWith(QColor(255, 0, 51)), 0, 10, 20, 30, 5);
    // r = (100 + 15) * 2 = 230; g = 75 * 0 = 0; b = 45 * 0.4 = 18
    EXPECT_EQ(face.pixelColor(1, 0), QColor(230, 0, 18));
}

TEST(BuildKeyFaceTest, OriginalTypeCopiesTheMaskColoursWithoutBrightnessTest)
{
    const QImage face = BuildKeyFace(solid(2, 1, Qt::white), maskWith(QColor(250, 240, 230)), 2, 0, 0, 0, 128);
    EXPECT_EQ(face.pixelColor(1, 0), QColor(250, 240, 230));
}

TEST(BuildKeyFaceTest, ResultsAreLimitedToTheChannelRange)
{
    const QImage bright = BuildKeyFace(solid(2, 1, Qt::white), maskWith(Qt::white), 0, 255, 255, 255, 128);
    EXPECT_EQ(bright.pixelColor(1, 0), QColor(255, 255, 255));
    const QImage dark = BuildKeyFace(solid(2, 1, Qt::black), maskWith(Qt::white), 1, 0, 0, 0, -128);
    EXPECT_EQ(dark.pixelColor(1, 0), QColor(0, 0, 0));
}

TEST(BuildKeyFaceTest, MissingOrSmallerMaskNeverReadsOutside)
{
    const QImage piece = solid(8, 8, QColor(1, 2, 3));
    EXPECT_EQ(BuildKeyFace(piece, QImage(), 1, 255, 0, 0, 0), piece);
    const QImage face = BuildKeyFace(piece, maskWith(Qt::white), 1, 255, 0, 0, 0);
    EXPECT_EQ(face.size(), QSize(8, 8));
    EXPECT_EQ(face.pixelColor(5, 5), QColor(1, 2, 3));
    EXPECT_TRUE(BuildKeyFace(QImage(), maskWith(Qt::white), 1, 0, 0, 0, 0).isNull());
}

}  // namespace
