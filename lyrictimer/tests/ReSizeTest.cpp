#include "ModReSize.h"

#include <QLabel>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

struct Window {
    QWidget form;
    QLabel *label = new QLabel(QStringLiteral("歌詞"), &form);
    QWidget *box = new QWidget(&form);
    Window()
    {
        form.resize(400, 300);
        label->setGeometry(10, 20, 100, 30);
        QFont font = label->font();
        font.setPointSize(10);
        label->setFont(font);
        box->setGeometry(200, 150, 50, 60);
    }
};

} // namespace

TEST(ReSize, TwiceTheWidthDoublesLeftAndWidthFontFollowsTheSmallerRatio)
{
    Window w;
    ReSizer sizer;
    sizer.InitReSize(&w.form);
    ASSERT_EQ(sizer.entries().size(), 2);
    w.form.resize(800, 300);
    sizer.ReSizeAll(&w.form);
    EXPECT_EQ(w.label->geometry(), QRect(20, 20, 200, 30));
    EXPECT_EQ(w.box->geometry(), QRect(400, 150, 100, 60));
    EXPECT_DOUBLE_EQ(w.label->font().pointSizeF(), 10.0);  // height unchanged: ratio 1

    w.form.resize(800, 450);
    sizer.ReSizeAll(&w.form);
    EXPECT_EQ(w.box->geometry(), QRect(400, 225, 100, 90));
    EXPECT_DOUBLE_EQ(w.label->font().pointSizeF(), 15.0);
}

TEST(ReSize, AlwaysScalesFromTheDesignGeometry)
{
    Window w;
    ReSizer sizer;
    sizer.InitReSize(&w.form);
    for (const QSize size : {QSize(123, 77), QSize(999, 501), QSize(400, 300)}) {
        w.form.resize(size);
        sizer.ReSizeAll(&w.form);
    }
    // Back at the design size: no rounding drift.
    EXPECT_EQ(w.label->geometry(), QRect(10, 20, 100, 30));
    EXPECT_EQ(w.box->geometry(), QRect(200, 150, 50, 60));
}

TEST(ReSize, FontByWidthIsRoundedToWholePoints)
{
    Window w;
    ReSizer sizer;
    sizer.InitReSize(&w.form);
    const ReSizer::Entry &label = sizer.entries().at(0);
    // Width ratio 1.13 gives 11.3 -> 11; height ratio 2 gives 20: the smaller wins.
    EXPECT_DOUBLE_EQ(sizer.scaledFontSize(label, QSize(452, 600)), 11.0);
    // Height ratio 0.55 gives 5.5 unrounded.
    EXPECT_DOUBLE_EQ(sizer.scaledFontSize(label, QSize(800, 165)), 5.5);
}

TEST(ReSize, MinimisedWindowKeepsItsLayout)
{
    Window w;
    ReSizer sizer;
    sizer.InitReSize(&w.form);
    w.form.setWindowState(Qt::WindowMinimized);
    w.form.resize(800, 600);
    sizer.ReSizeAll(&w.form);
    EXPECT_EQ(w.label->geometry(), QRect(10, 20, 100, 30));
}
