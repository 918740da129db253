// The window outline taken from a panel picture's key-colour margins.

#include "ModOutLine.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

TEST(OutlineTest, OnlyTheCornerInKeyColourGivesThePlainRectangle)
{
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::white);
    picture.setPixelColor(0, 0, Qt::red);
    const QRegion region = FormOutLine(picture);
    const QRegion rectangle = PlainOutLine(40, 30);
    EXPECT_EQ(rectangle.boundingRect(), QRect(0, 0, 39, 29)) << "the last column and row are outside";
    EXPECT_TRUE(rectangle.subtracted(region).subtracted(QRegion(0, 0, 1, 1)).isEmpty());
    EXPECT_TRUE(region.subtracted(rectangle).isEmpty());
}

TEST(OutlineTest, KeyColourMarginsAreCutAway)
{
    // A disc on a magenta ground, the way a GIF panel marks its outside.
    QImage picture(101, 81, QImage::Format_RGB32);
    picture.fill(Qt::magenta);
    QPainter painter(&picture);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(30, 60, 90));
    painter.drawEllipse(QRect(10, 10, 81, 61));
    painter.end();

    const QRegion region = FormOutLine(picture);
    EXPECT_TRUE(region.contains(QPoint(50, 40)));
    EXPECT_TRUE(region.contains(QPoint(15, 40)));
    EXPECT_FALSE(region.contains(QPoint(3, 3)));
    EXPECT_FALSE(region.contains(QPoint(12, 12))) << "a corner between disc and frame is margin";
    EXPECT_FALSE(region.contains(QPoint(95, 75)));
    EXPECT_FALSE(region.contains(QPoint(50, 5)));
    const QRect box = region.boundingRect();
    EXPECT_GE(box.left(), 9);
    EXPECT_LE(box.right(), 91);
    EXPECT_GE(box.top(), 9);
    EXPECT_LE(box.bottom(), 71);
}

TEST(OutlineTest, AllKeyColourLinesAddNothingAndLargePicturesAreFine)
{
    QImage picture(1500, 1100, QImage::Format_RGB32);  // more lines than 1023
    picture.fill(Qt::green);
    QPainter painter(&picture);
    painter.fillRect(QRect(200, 300, 1000, 500), Qt::blue);
    painter.end();
    const QRegion region = FormOutLine(picture);
    EXPECT_TRUE(region.contains(QPoint(700, 500)));
    EXPECT_FALSE(region.contains(QPoint(100, 100)));
    EXPECT_FALSE(region.contains(QPoint(1300, 1000)));
}

TEST(OutlineTest, TransparentMarginOfAGifIsTheKey)
{
    QImage picture(20, 20, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.fillRect(QRect(5, 5, 10, 10), Qt::black);
    painter.end();
    const QRegion region = FormOutLine(picture);
    EXPECT_TRUE(region.contains(QPoint(8, 8)));
    EXPECT_FALSE(region.contains(QPoint(2, 2)));
}

TEST(OutlineTest, EmptyPictureGivesNoRegion)
{
    EXPECT_TRUE(FormOutLine(QImage()).isEmpty());
}

}  // namespace
