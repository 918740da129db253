// The canvas alone: selection and status, handles, key faces and their
// cache, masks from the gallery, objects kept inside, the LOGO labels.
#include "EditorTestSupport.h"

#include "frmButtonMask.h"
#include "frmPic.h"

#include "ModButtonIni.h"
#include "ModIniFile.h"
#include "PanelGeometry.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>

#include <memory>

namespace {

class Canvas : public EditorTest
{
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        pic = std::make_unique<frmPic>(state, &owner);
        pic->resize(600, 500);
        pic->show();
    }
    void TearDown() override
    {
        pic.reset();
        EditorTest::TearDown();
    }
    // Opens a shipped panel on the canvas as the shell does.
    void open(const QString &name, bool rebuild = false)
    {
        state.panel.DeskPicFile = skinFile(name);
        ASSERT_TRUE(pic->LoadPanelPicture(state.panel.DeskPicFile));
        pic->ChkDeskName();
        IniFile = state.panel.DeskIniFile;
        ReadButtonIni(pic->panel(), true);
        pic->DeskUpdate(rebuild);
        pic->ShowObj(true);
    }
    QString temp(const QString &name) const { return state.panel.ButtonCacheDir + QLatin1Char('/') + name; }
    QString mask(const QString &name) const { return state.panel.MaskDir + QLatin1Char('/') + name; }
    PanelObjects &obj() { return pic->obj(); }

    RecordingOwner owner;
    std::unique_ptr<frmPic> pic;
};

}  // namespace

TEST_F(Canvas, ChkDeskNameDerivesTheDefinitionAndTheFirstCacheFile)
{
    state.panel.DeskPicFile = QStringLiteral("/somewhere/a.jpg");
    pic->ChkDeskName();
    EXPECT_EQ(state.DeskPicName, QStringLiteral("a.jpg"));
    EXPECT_EQ(state.panel.DeskIniFile, state.panel.SkinDir + QStringLiteral("/a.INI"));
    EXPECT_EQ(state.panel.ButtonCacheFile, temp(QStringLiteral("a-00.Bmp")));
    // No default picture is put in place of a missing one.
    EXPECT_EQ(state.panel.DeskPicFile, QStringLiteral("/somewhere/a.jpg"));
}

TEST_F(Canvas, CachedFacesAreReusedUntilARebuild)
{
    open(QStringLiteral("Quorvel.JPG"));
    EXPECT_EQ(owner.progress.constLast(), 0);
    EXPECT_TRUE(owner.progress.contains(100));
    // Paint a cache file red: the next draw without rebuild shows it as it is.
    const QString first = temp(QStringLiteral("Quorvel-00.Bmp"));
    QImage red(obj().PicCtl[0]->size(), QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(first, "BMP"));
    pic->ChkDeskName();
    pic->DeskUpdate(false);
    EXPECT_EQ(obj().PicCtl[0]->Picture().pixelColor(1, 1), QColor(Qt::red));
    pic->ChkDeskName();
    pic->DeskUpdate(true);
    EXPECT_NE(obj().PicCtl[0]->Picture().pixelColor(1, 1), QColor(Qt::red));
    QImage rebuilt(first);
    EXPECT_NE(rebuilt.pixelColor(1, 1), QColor(Qt::red));
    EXPECT_TRUE(owner.caption.endsWith(QStringLiteral("-Quorvel Editor")));
}

TEST_F(Canvas, PressingAKeySelectsItAndShowsItsPlaceAndMask)
{
    open(QStringLiteral("Quorvel.JPG"));
    PanelKey *key = obj().PicCtl[1];
    key->move(10, 20);
    press(key, QPointF(4, 4));
    EXPECT_EQ(pic->SelObj(), key);
    EXPECT_TRUE(owner.undoEnabled);
    EXPECT_TRUE(owner.status.startsWith(QStringLiteral(" X=10 Y=20 W=%1 H=%2 按鈕=[停止] 遮罩:")
                                            .arg(key->width())
                                            .arg(key->height())));
    EXPECT_EQ(owner.status.section(QStringLiteral("遮罩:"), 1), key->Tag);
    // The seek knob is shown at the start of its track.
    EXPECT_EQ(obj().PicCtl[9]->x(), obj().PicCtl[13]->x());
    release(key, QPointF(4, 4));
}

TEST_F(Canvas, SmallMovesDoNothingAndTheHandlesHideWhileDragging)
{
    open(QStringLiteral("Quorvel.JPG"));
    state.GridStep = 4;
    PanelKey *key = obj().PicNum[2];
    const QPoint start = key->pos();
    press(key, QPointF(5, 5));
    moveTo(key, QPointF(8, 7));  // three pixels: less than a step
    EXPECT_EQ(key->pos(), start);
    moveTo(key, QPointF(9, 5));
    EXPECT_EQ(key->x(), int(std::floor((start.x() + 4) / 4.0)) * 4);
    EXPECT_FALSE(pic->Pointer(0)->isVisible());
    release(key, QPointF(9, 5));
}

TEST_F(Canvas, ReleasingALabelShowsHandlesThatResizeIt)
{
    open(QStringLiteral("Quorvel.JPG"));
    QLabel *label = obj().Label1;
    press(label, QPointF(3, 3));
    release(label, QPointF(3, 3));
    const QRect r = label->geometry();
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(pic->Pointer(i)->isVisible()) << i;
    EXPECT_EQ(pic->Pointer(0)->pos(), r.topLeft());
    EXPECT_EQ(pic->Pointer(3)->pos(), QPoint(r.x() + r.width(), r.y() + r.height()));
    EXPECT_EQ(pic->Pointer(7)->pos(), QPoint(r.x() + r.width(), r.y() + r.height() / 2));

    // The right-edge handle changes only the width.
    moveTo(pic->Pointer(7), QPointF(12, 0));
    EXPECT_EQ(label->geometry(), QRect(r.x(), r.y(), r.width() + 12, r.height()));
    release(pic->Pointer(7), QPointF(0, 0));
    // The top-left handle moves that corner; the right and bottom edges stay.
    const QRect wider = label->geometry();
    moveTo(pic->Pointer(0), QPointF(-6, -4));
    EXPECT_EQ(label->geometry(), QRect(wider.x() - 6, wider.y() - 4, wider.width() + 6, wider.height() + 4));
    release(pic->Pointer(0), QPointF(0, 0));
    EXPECT_EQ(pic->Pointer(3)->pos(), label->geometry().topLeft() + QPoint(label->width(), label->height()));
}

TEST_F(Canvas, DraggingALogoLabelKeepsTheUndoPointOfThePress)
{
    open(QStringLiteral("Quorvel.JPG"));
    QLabel *logo = obj().Label3[0];
    const QPoint start = logo->pos();
    press(logo, QPointF(2, 2));
    moveTo(logo, QPointF(14, 12));
    moveTo(logo, QPointF(8, 6));
    release(logo, QPointF(8, 6));
    ASSERT_NE(logo->pos(), start);
    // The shadow follows its label.
    EXPECT_EQ(obj().Label3[1]->pos(), logo->pos() + QPoint(2, 1));
    pic->Undo();
    EXPECT_EQ(logo->pos(), start);
}

TEST_F(Canvas, ARightClickOnANumberKeyMakesItsCaptionTheFontLabel)
{
    open(QStringLiteral("Quorvel.JPG"));
    press(obj().PicNum[3], QPointF(2, 2), Qt::RightButton);
    EXPECT_EQ(pic->FontLabel(), obj().LabNum[3]);
    EXPECT_EQ(owner.fontMenus, 1);
    // The caption font goes to every number caption.
    QFont font = obj().LabNum[3]->font();
    font.setPointSizeF(20);
    obj().LabNum[3]->setFont(font);
    pic->AdjLab();
    EXPECT_DOUBLE_EQ(obj().LabNum[0]->font().pointSizeF(), 20);
}

TEST_F(Canvas, ARightClickOnALabelMakesItTheFontLabelBeforeTheMenu)
{
    open(QStringLiteral("Quorvel.JPG"));
    press(obj().Label2[1], QPointF(1, 1), Qt::RightButton);
    EXPECT_EQ(pic->FontLabel(), obj().Label2[1]);
    EXPECT_EQ(owner.fontMenus, 1);
    EXPECT_EQ(pic->SelObj(), obj().Label2[1]);
    // A right click on the picture area keeps the font label.
    press(obj().Image1, QPointF(1, 1), Qt::RightButton);
    EXPECT_EQ(pic->FontLabel(), obj().Label2[1]);
    EXPECT_EQ(owner.fontMenus, 2);
}

TEST_F(Canvas, ShowObjPullsAKeyOffTheRightEdgeIntoTheTopRow)
{
    open(QStringLiteral("Quorvel.JPG"));
    const int width = pic->Picture1()->width();
    PanelKey *button = obj().PicButton[0];
    button->move(width - 5, 100);
    PanelKey *control = obj().PicCtl[0];
    control->move(width - 3, 120);
    pic->ShowObj(true);
    EXPECT_EQ(button->pos(), QPoint(width - button->width(), 0));
    EXPECT_EQ(control->pos(), QPoint(width - control->width(), 120));
    // Hiding hides every control of the canvas, handles included.
    pic->ShowObj(false);
    EXPECT_FALSE(button->isVisibleTo(pic->Picture1()));
    EXPECT_FALSE(pic->Pointer(0)->isVisibleTo(pic->Picture1()));
}

TEST_F(Canvas, AMaskGoesOnTheSelectedKeyAtTheChosenSize)
{
    open(QStringLiteral("Quorvel.JPG"));
    PanelKey *key = obj().PicNum[1];
    press(key, QPointF(2, 2));
    release(key, QPointF(2, 2));
    state.maskSize.MaskSize = MaskSizeChoice::Custom;
    state.maskSize.Text1Width = QStringLiteral("30");
    state.maskSize.Text1Height = QStringLiteral("22");
    ASSERT_TRUE(pic->ChangButton(mask(QStringLiteral("Round.bmp"))));
    EXPECT_EQ(key->size(), QSize(30, 22));
    EXPECT_EQ(key->Tag, mask(QStringLiteral("Round.bmp")));
    EXPECT_EQ(obj().PicNumBak[1].Tag, mask(QStringLiteral("Round.bmp")));
    EXPECT_TRUE(QFile::exists(temp(QStringLiteral("Temp.Bmp"))));

    // "自定" with a width of 0: the mask at its own size.
    state.maskSize.Text1Width = QStringLiteral("0");
    const QImage own(mask(QStringLiteral("Octagon.bmp")));
    ASSERT_TRUE(pic->ChangButton(mask(QStringLiteral("Octagon.bmp"))));
    EXPECT_EQ(key->size(), own.size());

    // "不改變": the key keeps its size.
    state.maskSize.MaskSize = MaskSizeChoice::KeepSize;
    const QSize kept = key->size();
    ASSERT_TRUE(pic->ChangButton(mask(QStringLiteral("Square.bmp"))));
    EXPECT_EQ(key->size(), kept);
}

TEST_F(Canvas, AMaskOnTheControlKeySampleSparesKnobTrackAndKeys8And12)
{
    open(QStringLiteral("Quorvel.JPG"));
    QVector<QString> tags;
    QVector<QSize> sizes;
    for (PanelKey *key : obj().PicCtl) {
        tags << key->Tag;
        sizes << key->size();
    }
    pic->SelectSample(2);
    state.maskSize.MaskSize = MaskSizeChoice::MaskOwnSize;
    const QString square = mask(QStringLiteral("Square.bmp"));
    ASSERT_TRUE(pic->ChangButton(square));
    for (int i = 0; i < obj().PicCtl.size(); ++i) {
        if (i == 8 || i == 9 || i >= 12) {
            EXPECT_EQ(obj().PicCtl[i]->Tag, tags[i]) << i;
            EXPECT_EQ(obj().PicCtl[i]->size(), sizes[i]) << i;
        } else {
            EXPECT_EQ(obj().PicCtl[i]->Tag, square) << i;
            EXPECT_EQ(obj().PicCtl[i]->size(), QImage(square).size()) << i;
        }
    }
    EXPECT_EQ(pic->Sample(2).size(), obj().PicCtl[0]->Picture().size());
}

TEST_F(Canvas, AMaskThatCannotBeLoadedChangesNothingAndTheGalleryStaysUsable)
{
    open(QStringLiteral("Quorvel.JPG"));
    PanelKey *key = obj().PicNum[0];
    press(key, QPointF(2, 2));
    const QString tag = key->Tag;
    const QString broken = mask(QStringLiteral("Broken.bmp"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("BM broken");
    file.close();
    frmButtonMask gallery(state.panel.MaskDir);
    gallery.setCanvas(pic.get());
    EXPECT_FALSE(gallery.ChangButton(broken));
    EXPECT_TRUE(gallery.isEnabled());
    EXPECT_EQ(key->Tag, tag);
    // A label has no face: nothing to apply the mask to.
    press(obj().Label1, QPointF(1, 1));
    EXPECT_FALSE(pic->ChangButton(mask(QStringLiteral("Round.bmp"))));
}

TEST_F(Canvas, TheGalleryListsTheMaskFolderAndAppliesADoubleClickedMask)
{
    open(QStringLiteral("Quorvel.JPG"));
    frmButtonMask gallery(state.panel.MaskDir);
    gallery.setCanvas(pic.get());
    const int masks = QDir(state.panel.MaskDir).entryList({QStringLiteral("*.bmp")}, QDir::Files).size();
    ASSERT_GT(masks, 0);
    EXPECT_EQ(gallery.ListView1()->count(), masks);
    EXPECT_EQ(gallery.List1().size(), masks);
    EXPECT_EQ(gallery.ListView1()->iconSize(), QSize(40, 40));
    PanelKey *key = obj().PicButton[2];
    press(key, QPointF(2, 2));
    QListWidgetItem *item = gallery.ListView1()->item(0);
    gallery.ListView1_ItemClick(item);
    gallery.ListView1_DblClick();
    EXPECT_EQ(key->Tag, state.panel.MaskDir + QLatin1Char('/') + item->text());
}

TEST_F(Canvas, ZoomScalesObjectsAndFonts)
{
    open(QStringLiteral("Quorvel.JPG"));
    QLabel *logo = obj().Label3[0];
    const double points = logo->font().pointSizeF();
    const QRect key = obj().PicNum[0]->geometry();
    pic->ZooObj(2, 1);
    EXPECT_EQ(obj().PicNum[0]->geometry(), QRect(key.x() * 2, key.y() * 2, key.width() * 2, key.height() * 2));
    EXPECT_EQ(obj().PicNum[0]->Picture().size(), key.size() * 2);
    EXPECT_DOUBLE_EQ(logo->font().pointSizeF(), points * 2);
    EXPECT_FALSE(obj().ObjBox->isVisible());
    pic->ZooObj(1, 2);
    EXPECT_EQ(obj().PicNum[0]->geometry(), key);
}

TEST_F(Canvas, ARebuildAtAnotherZoomMasksTheWholeZoomedFace)
{
    open(QStringLiteral("Quorvel.JPG"));
    PanelKey *key = obj().PicCtl[0];
    ASSERT_FALSE(obj().PicCtlBak[0].Picture.isNull()) << "the shipped panel gives control key 0 a mask";
    pic->ZooObj(2, 1);
    state.ZoomRate() = 2;
    pic->PaintZoomedPicture(pic->PicTemp().width() * 2, pic->PicTemp().height() * 2);
    state.colors.setVScroll1(0, -200);  // much more red inside the mask
    pic->ChkDeskName();
    pic->DeskUpdate(true);
    const QImage raw = pic->Picture1()->picture().copy(key->geometry());
    const QPoint lowerRight(key->width() * 3 / 4, key->height() * 3 / 4);
    const QPoint centre(key->width() / 2, key->height() / 2);
    EXPECT_GT(key->Picture().pixelColor(centre).red(), raw.pixelColor(centre).red());
    EXPECT_GT(key->Picture().pixelColor(lowerRight).red(), raw.pixelColor(lowerRight).red());
}
