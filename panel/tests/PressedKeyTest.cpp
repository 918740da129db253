// The pressed look of keys and the scaling of the form's objects.

#include "ModButtonIni.h"
#include "PanelGeometry.h"
#include "PanelTestSupport.h"

#include "ModIniFile.h"

namespace {

class PressedKeyTest : public PanelTest
{
protected:
    PanelObjects &obj() { return form->obj(); }
};

QImage numbered(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 10, y * 10, 77));
    return image;
}

TEST_F(PressedKeyTest, ButtonDown1MovesTheFaceAndItsCompanionOnePixel)
{
    PanelKey *key = obj().PicCtl[2];
    key->setGeometry(10, 10, 20, 16);
    const QImage face = numbered(20, 16);
    key->setPicture(face);
    obj().ImageButton1[2]->move(4, 3);

    form->ButtonDown1(obj().PicCtl, obj().ImageButton1, 2);
    EXPECT_EQ(obj().PictBack, face) << "the face before the press is kept";
    const QImage pressed = key->Picture();
    EXPECT_EQ(pressed.size(), QSize(20, 16));
    EXPECT_EQ(pressed.pixel(1, 1), face.pixel(0, 0));
    EXPECT_EQ(pressed.pixel(0, 0), face.pixel(0, 0)) << "the old face shows at the top left edge";
    EXPECT_EQ(obj().ImageButton1[2]->pos(), QPoint(5, 4));

    form->ButtonDown1(obj().PicCtl, obj().ImageButton1, 99);  // no such key: nothing happens
}

TEST_F(PressedKeyTest, ButtonDownMovesOnlyTheCaption)
{
    PanelKey *key = obj().PicNum[0];
    key->setPicture(numbered(30, 28));
    obj().LabNum[0]->move(8, 6);
    form->ButtonDown(obj().PicNum, obj().LabNum, 0);
    EXPECT_EQ(key->Picture(), numbered(30, 28));
    EXPECT_EQ(obj().PictBack, numbered(30, 28));
    EXPECT_EQ(obj().LabNum[0]->pos(), QPoint(9, 7));
}

TEST_F(PressedKeyTest, FormResizeScalesPlacesSizesAndFonts)
{
    state.PixelScale = 2;
    obj().PicCtl[0]->setGeometry(3, 4, 20, 10);
    setFontSize(obj().Label1, 9);
    const QRect line = obj().Line1[0]->geometry();
    obj().FormResize();
    EXPECT_EQ(obj().PicCtl[0]->geometry(), QRect(6, 8, 40, 20));
    EXPECT_EQ(fontSize(obj().Label1), 18);
    EXPECT_EQ(obj().Line1[0]->geometry(), line) << "line ends are not scaled";
}

TEST_F(PressedKeyTest, MaskFillsItsKeyAtAnyZoom)
{
    saveMask(maskDir() + QStringLiteral("/round.bmp"), makeRoundMask(32));
    IniFile = skinDir() + QStringLiteral("/Zoomed.INI");
    obj().PicCtl[0]->setGeometry(10, 10, 30, 20);
    obj().PicCtl[0]->Tag = QStringLiteral("round.bmp");
    SaveButtonIni(*form);

    state.Zoom = 2;  // the editor shows the panel twice as large
    recreateForm();
    ReadButtonIni(*form, true);
    EXPECT_EQ(obj().PicCtl[0]->geometry(), QRect(20, 20, 60, 40));
    const BackingPicture &mask = obj().PicCtlBak[0];
    ASSERT_EQ(mask.Picture.size(), QSize(60, 40));
    // The whole mask is in the backing picture: its right and bottom rims show.
    EXPECT_EQ(mask.Picture.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_NE(mask.Picture.pixelColor(30, 20), QColor(Qt::black));
    EXPECT_EQ(mask.Picture.pixelColor(59, 39), QColor(Qt::black));
    EXPECT_NE(mask.Picture.pixelColor(55, 20), QColor(Qt::black));
}

TEST_F(PressedKeyTest, PanelUpdateLogsItsStepsInOrder)
{
    const QString picture = skinDir() + QStringLiteral("/Plain.bmp");
    makePanelPicture(obj(), 300, 200).save(picture, "BMP");
    state.DeskPicFile = picture;
    form->ChkDeskName();
    clearLog();
    form->DeskUpdate(false);
    const QString log = logText();
    const QStringList steps = {QStringLiteral("開始載入面板-") + picture, QStringLiteral("載入面板完成"),
                               QStringLiteral("開始載入按鈕"), QStringLiteral("產生按鈕-"),
                               QStringLiteral("載入按鈕完成")};
    int at = -1;
    for (const QString &step : steps) {
        const int next = log.indexOf(step, at + 1);
        EXPECT_GT(next, at) << step.toStdString();
        at = next;
    }
}

}  // namespace
