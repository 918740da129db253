// The canvas's drawing side: the panel picture, the file names of an opened
// panel, the key faces built from the picture and the masks, showing and
// hiding the objects, the LOGO labels' styling and the mask change.

#include "frmPic.h"

#include "CanvasOwner.h"
#include "EditorState.h"
#include "EditorUi.h"
#include "PanelGeometry.h"

#include "DirSearch.h"
#include "ModFiles.h"
#include "ModIniFile.h"
#include "ModTools.h"
#include "VbRuntime.h"

#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QImageReader>
#include <QLabel>


namespace {

QImage readPicture(const QString &path)
{
    if (path.isEmpty())
        return QImage();
    QImageReader reader(DirSearch::ResolveCase(path));
    return reader.read();
}

}  // namespace

// ------------------------------------------------------------------ picture

bool frmPic::PictureReadable(const QString &path)
{
    return !readPicture(path).isNull();
}

bool frmPic::LoadPanelPicture(const QString &path)
{
    const QImage picture = readPicture(path);
    if (picture.isNull() || picture.width() < 1 || picture.height() < 1)
        return false;
    m_picTemp = picture.convertToFormat(QImage::Format_RGB32);
    m_state.panel.DeskPicWidth = double(m_picTemp.width());
    m_state.panel.DeskPicHeight = m_picTemp.height();
    PaintZoomedPicture(m_picTemp.width(), m_picTemp.height());
    return true;
}

void frmPic::PaintZoomedPicture(int width, int height)
{
    width = qMax(1, width);
    height = qMax(1, height);
    m_surface->hide();
    m_surface->resize(width, height);
    if (m_picTemp.isNull())
        m_surface->setPicture(QImage());
    else if (m_picTemp.size() == QSize(width, height))
        m_surface->setPicture(m_picTemp);
    else  // crisp pixels: the editor places keys by them
        m_surface->setPicture(m_picTemp.scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    m_surface->show();
    ResizeA();
}

// ------------------------------------------------------------------ names

void frmPic::ChkDeskName()
{
    PanelState &p = m_state.panel;
    m_state.DeskPicName = GetFileName(p.DeskPicFile);
    p.DeskIniFile = EditRules::deskIniFileFor(p.SkinDir, p.DeskPicFile);
    p.ButtonCacheFile = EditRules::firstCacheFileFor(p.ButtonCacheDir, p.DeskPicFile);
}

// ------------------------------------------------------------------ faces

void frmPic::DeskUpdate(bool Rebuild)
{
    EditorUi::BusyPointer busy;
    ButtonUpdate(Rebuild);
    PanelObjects &o = obj();
    if (o.PicButton.size() > 3)
        o.PicButton[3]->raise();
    if (o.PicCtl.size() > 6)
        o.PicCtl[6]->hide();
    sendSamples();
    if (m_owner)
        m_owner->setMainCaption(m_state.panel.DeskPicFile + QStringLiteral(" - ") + IniFile + QStringLiteral("-") +
                                AppProduct());
}

void frmPic::sendSamples()
{
    PanelObjects &o = obj();
    m_samples[0] = o.PicButton.isEmpty() ? QImage() : o.PicButton[0]->Picture();
    m_samples[1] = o.PicNum.isEmpty() ? QImage() : o.PicNum[0]->Picture();
    m_samples[2] = o.PicCtl.isEmpty() ? QImage() : o.PicCtl[0]->Picture();
    if (m_owner)
        m_owner->colorSamplesChanged(m_samples[0], m_samples[1], m_samples[2]);
}

void frmPic::ButtonUpdate(bool Rebuild)
{
    PanelObjects &o = obj();
    if (m_owner)
        m_owner->setProgressValue(0);
    m_state.ButtonTotal = Vb::toInt16Or(o.PicCtl.size() + o.PicNum.size() + o.PicButton.size(), 0);
    m_state.ButtonDone = 0;
    // The message line takes the colour that stands out from the picture under it.
    const QImage &canvas = m_surface->picture();
    const QPoint at(o.Label1->x() + 90, o.Label1->y());
    if (canvas.valid(at))
        setForeColor(o.Label1, fromVbColor(EditRules::InvertColor(toVbColor(canvas.pixelColor(at)))));
    ButtonUpdateA(o.PicCtl, o.PicCtlBak, Rebuild);
    ButtonUpdateA(o.PicNum, o.PicNumBak, Rebuild);
    ButtonUpdateA(o.PicButton, o.PicButtonB, Rebuild);
    if (m_owner)
        m_owner->setProgressValue(0);
}

void frmPic::ButtonUpdateA(QVector<PanelKey *> &Objs, QVector<BackingPicture> &Baks, bool Rebuild)
{
    for (int i = 0; i < Objs.size(); ++i) {
        BackingPicture none;
        ButtonMask(i < Baks.size() ? Baks[i] : none, *Objs[i], Rebuild);
        ++m_state.ButtonDone;
        if (m_owner && m_state.ButtonTotal > 0)
            m_owner->setProgressValue(int(float(m_state.ButtonDone) / m_state.ButtonTotal * 100));
    }
}

void frmPic::ButtonUpdate1(PanelKey &Obj, BackingPicture &Bak, bool Rebuild)
{
    ButtonMask(Bak, Obj, Rebuild);
}

void frmPic::ButtonMask(BackingPicture &Mask, PanelKey &Target, bool Rebuild)
{
    QString &cacheFile = m_state.panel.ButtonCacheFile;
    if (m_owner)
        m_owner->setStatusText(cacheFile);

    QImage cached;
    if (FileExist(cacheFile) && !Rebuild)
        cached = LoadKeyFaceBitmap(cacheFile);
    if (!cached.isNull()) {
        if (Target.width() > 0 && Target.height() > 0 && cached.size() != Target.size())
            cached = cached.scaled(Target.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
        Target.setPicture(cached);
    } else {
        // A key without a mask keeps its own size and shows the panel as it is.
        const int width = Mask.Width > 0 ? Mask.Width : Target.width();
        const int height = Mask.Height > 0 ? Mask.Height : Target.height();
        const QImage &canvas = m_surface->picture();
        const QImage piece = canvas.isNull() ? QImage() : canvas.copy(Target.x(), Target.y(), width, height);
        // At another zoom the mask is stretched over the zoomed piece, not laid on its corner.
        QImage mask = Mask.Picture;
        if (!mask.isNull() && mask.size() != QSize(width, height) && width > 0 && height > 0)
            mask = mask.scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        const ButtonColorSettings &c = m_state.colors;
        const QImage face = BuildKeyFace(piece, mask, c.ColorType(), c.red(), c.green(), c.blue(), c.brightness());
        Target.setPicture(face);
        Target.setProperty("EditorFullFace", QVariant());  // a new face: no full-size copy yet
        if (FileExist(cacheFile))
            DelFile(cacheFile);
        QCoreApplication::processEvents();
        if (!face.isNull()) {
            SaveKeyFaceBitmap(face, cacheFile);
            Target.resize(face.size());  // AutoSize
        }
    }
    int digits = 2;
    cacheFile = AddFileNum(cacheFile, 1, digits);
}

// ------------------------------------------------------------------ showing

void frmPic::ShowObj(bool Show)
{
    static const QStringList panelObjects = {
        QStringLiteral("LABEL1"), QStringLiteral("LABEL2"), QStringLiteral("LABEL3"), QStringLiteral("PICCTL"),
        QStringLiteral("PICNUM"), QStringLiteral("PICBUTTON"), QStringLiteral("IMAGEBUTTON1"),
        QStringLiteral("LABNUM"), QStringLiteral("IMAGEBUTTON"), QStringLiteral("LINE1")};
    PanelObjects &o = obj();
    o.ObjBox->hide();
    o.ObjBox->update();
    if (Show)
        ResizeA();
    const double canvasWidth = m_state.CanvasWidth;
    const double canvasHeight = m_state.CanvasHeight;
    for (QWidget *control : o.windowControls()) {
        const QString name = UCaseStr(control->objectName());
        if (Show && panelObjects.contains(name)) {
            // Objects inside a key move with their key.
            if (!name.startsWith(QLatin1String("LINE")) && control->parentWidget() == m_surface) {
                const bool toTopRow = name == QLatin1String("PICBUTTON") || name == QLatin1String("PICNUM");
                const QPointF p = EditRules::keepInside(QPointF(control->pos()), QSizeF(control->size()),
                                                        canvasWidth, canvasHeight, toTopRow);
                control->move(toPixels(p.x()), toPixels(p.y()));
            }
            control->setVisible(true);
        } else if (!name.startsWith(QLatin1String("TIMER"))) {
            control->setVisible(false);
        }
    }
    QCoreApplication::processEvents();
    // The LOGO label lies over its shadow, so that a press takes the label:
    // the shadow only follows it.
    if (!o.Label3.isEmpty())
        o.Label3[0]->raise();
    if (o.PicButton.size() > 3)
        o.PicButton[3]->raise();
    if (o.PicCtl.size() > 6)
        o.PicCtl[6]->hide();
    o.AdjImage();
    o.AdjLine();
    QCoreApplication::processEvents();
    o.Image1->setVisible(m_state.panel.ImageVisible);
    if (!Show)
        o.Image1->setVisible(false);
}

// ------------------------------------------------------------------ labels

void frmPic::AdjLogo(bool newUndoPoint)
{
    if (newUndoPoint)
        ButtonAdj(true);
    AdjLab();
    if (!m_fontLabel)
        return;
    if (m_owner)
        m_owner->setStatusText(m_fontLabel->toolTip() + QStringLiteral(" 字型大小=") + Vb::CStr(fontSize(m_fontLabel)));
    PanelObjects &o = obj();
    if (!m_selObj || UCaseStr(m_selObj->objectName()) != QLatin1String("LABEL3") || o.Label3.size() < 2)
        return;
    o.Label3[0]->raise();
    for (QLabel *logo : {o.Label3[0], o.Label3[1]}) {
        if (logo == m_fontLabel)
            continue;
        logo->setText(m_fontLabel->text());
        logo->setFont(m_fontLabel->font());
        if (autoSizeOn(logo))
            autoSizeLabel(logo);
    }
    placeLogoShadow();
}

void frmPic::placeLogoShadow()
{
    PanelObjects &o = obj();
    if (o.Label3.size() < 2)
        return;
    const double zoom = m_state.ZoomRate();
    o.Label3[1]->move(toPixels(o.Label3[0]->x() + 2 * zoom), toPixels(o.Label3[0]->y() + zoom));
}

void frmPic::AdjLab()
{
    if (!m_fontLabel || UCaseStr(m_fontLabel->objectName()) != QLatin1String("LABNUM"))
        return;
    for (QLabel *caption : obj().LabNum) {
        if (caption == m_fontLabel)
            continue;
        caption->setFont(m_fontLabel->font());
        autoSizeLabel(caption);
    }
    autoSizeLabel(m_fontLabel);
    obj().AdjImage();
}

// ------------------------------------------------------------------ masks

bool frmPic::ChangButton(const QString &MaskFile)
{
    auto *key = qobject_cast<PanelKey *>(m_selObj.data());
    if (!key && m_sample < 0)
        return false;  // a label has no face to put a mask on
    const QImage mask = readPicture(MaskFile);
    if (mask.isNull())
        return false;
    const QImage loaded = mask.convertToFormat(QImage::Format_RGB32);

    // The size rule of the colour tool.
    const MaskSizeChoice &choice = m_state.maskSize;
    QSize current = key ? key->size() : m_samples[m_sample].size();
    if (current.isEmpty())
        current = loaded.size();
    QSize size = loaded.size();
    if (choice.MaskSize == MaskSizeChoice::KeepSize) {
        size = current;
    } else if (choice.MaskSize == MaskSizeChoice::Custom) {
        const int w = int(Vb::Val(choice.Text1Width));
        const int h = int(Vb::Val(choice.Text1Height));
        if (w > 0 && h > 0)
            size = QSize(w, h);
    }
    const QImage applied = size == loaded.size()
        ? loaded
        : loaded.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    QCoreApplication::processEvents();

    if (m_sample >= 0) {
        applyMaskToFamily(m_sample, loaded, size.width(), size.height(), MaskFile);
    } else {
        key->Tag = MaskFile;
        key->resize(size);
        if (m_selObjBak) {
            m_selObjBak->Width = size.width();
            m_selObjBak->Height = size.height();
            m_selObjBak->Picture = applied;
            m_selObjBak->Tag = MaskFile;
            m_state.panel.ButtonCacheFile = AddPath(m_state.TempFolder(), QStringLiteral("Temp.Bmp"));
            ButtonUpdate1(*key, *m_selObjBak, true);
        }
    }
    ButtonAdj(true);
    return true;
}

void frmPic::applyMaskToFamily(int sample, const QImage &mask, int width, int height, const QString &maskFile)
{
    PanelObjects &o = obj();
    QVector<PanelKey *> &keys = sample == 0 ? o.PicButton : sample == 1 ? o.PicNum : o.PicCtl;
    QVector<BackingPicture> &baks = sample == 0 ? o.PicButtonB : sample == 1 ? o.PicNumBak : o.PicCtlBak;
    const bool keepSize = m_state.maskSize.MaskSize == MaskSizeChoice::KeepSize;
    for (int i = 0; i < keys.size() && i < baks.size(); ++i) {
        // The seek knob, its track, key 8 and key 12 keep their own faces.
        if (sample == 2 && (i == 8 || i == 9 || i >= 12))
            continue;
        PanelKey &k = *keys[i];
        BackingPicture &b = baks[i];
        if (!keepSize)
            k.resize(width, height);
        b.Width = k.width();
        b.Height = k.height();
        b.Picture = mask.scaled(b.Width, b.Height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        b.Tag = maskFile;
        k.Tag = maskFile;
        m_state.panel.ButtonCacheFile = AddPath(m_state.TempFolder(), QStringLiteral("Temp.Bmp"));
        ButtonUpdate1(k, b, true);
    }
    if (!keys.isEmpty())
        m_samples[sample] = keys[0]->Picture();
    if (m_owner)
        m_owner->colorSamplesChanged(m_samples[0], m_samples[1], m_samples[2]);
}

// ------------------------------------------------------------------ zoom

namespace {
const char *const ExactGeometry = "EditorExactGeometry";
}  // namespace

// A stored place counts only while the object still stands where it was put
// (a drag or a layout makes the widget's own place win).
QRectF CanvasPlace::exactGeometry(const QWidget *control)
{
    const QVariant stored = control->property(ExactGeometry);
    if (stored.isValid()) {
        const QRectF r = stored.toRectF();
        const QRect shown(toPixels(r.x()), toPixels(r.y()), toPixels(r.width()), toPixels(r.height()));
        if (shown == control->geometry())
            return r;
    }
    return QRectF(control->geometry());
}

void CanvasPlace::setExactGeometry(QWidget *control, const QRectF &r)
{
    control->setGeometry(toPixels(r.x()), toPixels(r.y()), qMax(0, toPixels(r.width())), qMax(0, toPixels(r.height())));
    control->setProperty(ExactGeometry, r);
}

namespace {
const char *const PanelFontSize = "EditorPanelFontSize";
const char *const ShownFontSize = "EditorShownFontSize";
}  // namespace

double CanvasPlace::panelFontSize(const QLabel *label, double zoom)
{
    const QVariant panel = label->property(PanelFontSize);
    if (panel.isValid() && label->property(ShownFontSize).toDouble() == fontSize(label))
        return panel.toDouble();
    return fontSize(label) / zoom;
}

void CanvasPlace::setPanelFontSize(QLabel *label, double panelSize, double zoom)
{
    setFontSize(label, panelSize * zoom);
    label->setProperty(PanelFontSize, panelSize);
    label->setProperty(ShownFontSize, fontSize(label));
}

namespace {
// A face is always scaled from its full-size picture, so that a trip through
// a small zoom does not leave a blurred face behind.
void rescaleFace(PanelKey *key, double oldZoom, double newZoom)
{
    const char *const fullFace = "EditorFullFace";
    if (oldZoom == 1 && key->hasPicture())
        key->setProperty(fullFace, key->Picture());
    if (!key->hasPicture() || key->width() <= 0 || key->height() <= 0)
        return;
    const QImage full = key->property(fullFace).value<QImage>();
    const QImage &source = full.isNull() ? key->Picture() : full;
    if (newZoom == 1 && source.size() == key->size())
        key->setPicture(source);
    else
        key->setPicture(source.scaled(key->size(), Qt::IgnoreAspectRatio, Qt::FastTransformation));
}

}  // namespace

void frmPic::ZooObj(double NewZoom, double OldZoom)
{
    if (!(OldZoom > 0) || !(NewZoom > 0))
        return;
    const double f = float(NewZoom / OldZoom);
    PanelObjects &o = obj();
    static const QString leftAlone = QStringLiteral("HSCROLL1 VSCROLL1 PICTURE1 PICTEMP");
    static const QString faces = QStringLiteral("PICCTL PICBUTTON PICNUM");
    for (QWidget *control : o.windowControls()) {
        const QString name = UCaseStr(control->objectName());
        if (leftAlone.contains(name))
            continue;
        const bool wasShown = control->isVisibleTo(control->parentWidget());
        control->hide();
        const QRectF before = CanvasPlace::exactGeometry(control);
        const QRectF after(before.x() * f, before.y() * f, before.width() * f, before.height() * f);
        CanvasPlace::setExactGeometry(control, after);
        if (auto *label = qobject_cast<QLabel *>(control))
            CanvasPlace::setPanelFontSize(label, CanvasPlace::panelFontSize(label, OldZoom), NewZoom);
        if (auto *line = qobject_cast<PanelLine *>(control))
            line->setLine(toPixels(line->X1 * f), toPixels(line->Y1 * f), toPixels(line->X2 * f), toPixels(line->Y2 * f));
        if (faces.contains(name))
            rescaleFace(static_cast<PanelKey *>(control), OldZoom, NewZoom);
        // Helpers that are no panel object stay as they were.
        if (name == QLatin1String("OBJBOX") || name == QLatin1String("IMAGEDESK"))
            control->setVisible(false);
        else if (name == QLatin1String("POINTER"))
            control->setVisible(wasShown);
        else
            control->setVisible(true);
    }
    // The backing pictures keep the size of their keys.
    auto follow = [](QVector<PanelKey *> &keys, QVector<BackingPicture> &baks) {
        for (int i = 0; i < keys.size() && i < baks.size(); ++i)
            if (baks[i].Width > 0) {
                baks[i].Width = keys[i]->width();
                baks[i].Height = keys[i]->height();
            }
    };
    follow(o.PicCtl, o.PicCtlBak);
    follow(o.PicNum, o.PicNumBak);
    follow(o.PicButton, o.PicButtonB);

    o.Image1->setVisible(m_state.panel.ImageVisible);
    if (o.PicButton.size() > 3)
        o.PicButton[3]->raise();
    if (o.PicCtl.size() > 6)
        o.PicCtl[6]->hide();
    o.AdjImage();
    o.AdjLine();
    AdjPointer();
    // The undo point is a place on the canvas: it moves with the objects.
    m_state.UndoLeft *= f;
    m_state.UndoTop *= f;
}
