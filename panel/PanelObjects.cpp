#include "PanelObjects.h"

#include "KeyIcons.h"
#include "PanelFonts.h"
#include "PanelGeometry.h"
#include "PanelHost.h"
#include "PanelState.h"

#include "ModFiles.h"
#include "LoadedMedia.h"
#include "SystemPaths.h"
#include "VbRuntime.h"

#include <QFrame>
#include <QPainter>

#include <cstdlib>

VbColor toVbColor(const QColor &color)
{
    return VbColor(color.red()) | (VbColor(color.green()) << 8) | (VbColor(color.blue()) << 16);
}

QColor fromVbColor(VbColor color)
{
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

// ---------------------------------------------------------------- PanelKey

PanelKey::PanelKey(QWidget *parent, const QString &name, int index)
    : QWidget(parent), m_index(index)
{
    setObjectName(name);
    setProperty("Index", index);
}

void PanelKey::setPicture(const QImage &picture)
{
    m_picture = picture;
    update();
}

void PanelKey::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, m_picture);
}

// ---------------------------------------------------------------- PanelLine

PanelLine::PanelLine(QWidget *parent, int index)
    : QWidget(parent), BorderColor(Qt::black)
{
    setObjectName(QStringLiteral("Line1"));
    setProperty("Index", index);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PanelLine::setLine(int x1, int y1, int x2, int y2)
{
    X1 = x1; Y1 = y1; X2 = x2; Y2 = y2;
    // The widget spans the line's bounding box; the line is drawn inside it.
    setGeometry(QRect(QPoint(qMin(x1, x2), qMin(y1, y2)), QPoint(qMax(x1, x2), qMax(y1, y2))));
    update();
}

void PanelLine::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(BorderColor);
    const QPoint origin = pos();
    painter.drawLine(QPoint(X1, Y1) - origin, QPoint(X2, Y2) - origin);
}

// ---------------------------------------------------------------- PanelObjects

namespace {
const QString DefaultFont = QStringLiteral("新細明體");

QFont designFont(double points, bool bold = false)
{
    QFont font(DefaultFont);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}
}

PanelObjects::PanelObjects(PanelHost &host, PanelState &state)
    : PanelObjects(host, state, Counts{})
{
}

PanelObjects::PanelObjects(PanelHost &host, PanelState &state, const Counts &counts)
    : m_host(host), m_state(state)
{
    installWindowsFontSubstitutes();
    create(counts);
    placeBuiltInLayout();
    loadIcons();
}

template <class T>
T *PanelObjects::add(T *control, const QString &name)
{
    control->setObjectName(name);
    m_controls.append(control);
    return control;
}

void PanelObjects::create(const Counts &counts)
{
    QWidget *form = m_host.panelWidget();
    auto label = [this](QWidget *parent, const QString &name, int index) {
        auto *l = add(new QLabel(parent), name);
        l->setProperty("Index", index);
        l->setAttribute(Qt::WA_TranslucentBackground);
        return l;
    };

    for (int i = 0; i < counts.button; ++i) {
        PicButton.append(add(new PanelKey(form, QStringLiteral("PicButton"), i), QStringLiteral("PicButton")));
        ImageButton.append(label(PicButton[i], QStringLiteral("ImageButton"), i));
        PicButtonB.append(BackingPicture{});
    }
    for (int i = 0; i < counts.num; ++i) {
        PicNum.append(add(new PanelKey(form, QStringLiteral("PicNum"), i), QStringLiteral("PicNum")));
        LabNum.append(label(PicNum[i], QStringLiteral("LabNum"), i));
    }
    PicNumBak.resize(qMax(counts.numBak, counts.num));
    for (int i = 0; i < counts.ctl; ++i) {
        PicCtl.append(add(new PanelKey(form, QStringLiteral("PicCtl"), i), QStringLiteral("PicCtl")));
        ImageButton1.append(label(PicCtl[i], QStringLiteral("ImageButton1"), i));
        PicCtlBak.append(BackingPicture{});
    }
    if (PicCtl.size() > 13) {
        for (int i = 0; i < 2; ++i)
            Line1.append(add(new PanelLine(PicCtl[13], i), QStringLiteral("Line1")));
        PicCtl[9]->raise();  // the knob lies on its track
    }

    Label1 = label(form, QStringLiteral("Label1"), 0);
    Label1->setWordWrap(true);
    // A message longer than its box is cut at the bottom, never its first line.
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    for (int i = 0; i < counts.timeLabels; ++i)
        Label2.append(label(form, QStringLiteral("Label2"), i));
    for (int i = 0; i < counts.logoLabels; ++i)
        Label3.append(label(form, QStringLiteral("Label3"), i));

    Image1 = add(new QLabel(form), QStringLiteral("Image1"));
    Image1->setScaledContents(true);
    ObjBox = add(new QFrame(form), QStringLiteral("ObjBox"));
    ObjBox->setFrameShape(QFrame::Box);
    ObjBox->hide();
    ImageDesk = add(new QLabel(form), QStringLiteral("ImageDesk"));
    ImageDesk->hide();
}

// The layout the form is built with, written as Button.ini at every start. Its captions
// keep the sizes they were designed at in the design font, as the rest of the layout keeps
// its design numbers: measuring them here would load four fonts at every start only to
// write those numbers, and a panel definition read after sizes every caption in its own
// font.
void PanelObjects::placeBuiltInLayout()
{
    for (int i = 0; i < PicButton.size(); ++i)
        PicButton[i]->setGeometry(340 + i * 24, 8, 20, 20);

    for (int i = 0; i < PicNum.size(); ++i) {
        PicNum[i]->setGeometry(244 + (i % 5) * 34, 130 + (i / 5) * 32, 30, 28);
        LabNum[i]->setFont(designFont(12, true));
        LabNum[i]->setText(QString::number(i + 1));
        LabNum[i]->resize(i < 9 ? 10 : 18, 16);
    }

    for (int i = 0; i < PicCtl.size(); ++i) {
        if (i == 9)
            PicCtl[i]->setGeometry(14, 262, 14, 18);
        else if (i == 13)
            PicCtl[i]->setGeometry(14, 262, 360, 18);
        else
            PicCtl[i]->setGeometry(14 + (i < 9 ? i : i - 1) * 30, 226, 26, 26);
    }

    Label1->setFont(designFont(9));
    Label1->setGeometry(14, 196, 220, 16);
    const char *times[] = {"00:00:00", "00:00:00", "00:00"};
    for (int i = 0; i < Label2.size(); ++i) {
        const bool clock = i == 2;
        Label2[i]->setFont(designFont(clock ? 12 : 9));
        Label2[i]->setText(QString::fromLatin1(times[qMin(i, 2)]));
        Label2[i]->setGeometry(250, 40 + i * 20, clock ? 42 : 50, clock ? 16 : 12);
    }
    for (int i = 0; i < Label3.size(); ++i) {
        Label3[i]->setFont(designFont(16, true));
        Label3[i]->setText(QStringLiteral("Quorvel"));
        setAutoSizeFlag(Label3[i], true);
        Label3[i]->setGeometry(14 + i, 12 + i, 76, 23);
    }
    Image1->setGeometry(14, 40, 220, 150);
    ObjBox->setGeometry(0, 0, 10, 10);
}

namespace {
// An image control without stretching takes the size of its picture.
void setIcon(QLabel *icon, const QPixmap &picture)
{
    if (picture.isNull())
        return;
    icon->setPixmap(picture);
    icon->resize(picture.size());
}
}  // namespace

// The icons are the window's own pictures, the same over every panel.
void PanelObjects::loadIcons()
{
    const QString programDir = m_state.ProgramDir.isEmpty() ? SystemPaths::ProgramFolder() : m_state.ProgramDir;
    const QString folder = AddPath(programDir, QStringLiteral("Icon"));
    ImagePause = {KeyIcons::load(folder, KeyIcons::pauseFace(0)), KeyIcons::load(folder, KeyIcons::pauseFace(1))};
    for (int i = 0; i < ImageButton1.size(); ++i)
        setIcon(ImageButton1[i], i == 0 ? ImagePause[0] : KeyIcons::load(folder, KeyIcons::controlIcon(i)));
    for (int i = 0; i < ImageButton.size(); ++i)
        setIcon(ImageButton[i], KeyIcons::load(folder, KeyIcons::titleIcon(i)));
}

void PanelObjects::setPlayKeyFace(int Face)
{
    if (ImageButton1.isEmpty() || PicCtl.isEmpty() || Face < 0 || Face >= ImagePause.size())
        return;
    setIcon(ImageButton1[0], ImagePause[Face]);
    centreIn(ImageButton1[0], PicCtl[0]);
}

void PanelObjects::setFormPicture(const QImage &picture)
{
    m_formPicture = picture;
    QWidget *form = m_host.panelWidget();
    QPalette palette = form->palette();
    palette.setBrush(QPalette::Window, QBrush(QPixmap::fromImage(picture)));
    form->setPalette(palette);
    form->setAutoFillBackground(true);
    form->update();
}

void PanelObjects::FormResize()
{
    const double scale = m_state.PixelScale;
    for (QWidget *control : windowControls()) {
        if (qobject_cast<PanelLine *>(control))
            continue;  // line ends are not scaled
        setTop(control, control->y() * scale);
        setLeft(control, control->x() * scale);
        setHeight(control, control->height() * scale);
        setWidth(control, control->width() * scale);
        if (auto *label = qobject_cast<QLabel *>(control))
            setFontSize(label, fontSize(label) * scale);
    }
}

void PanelObjects::InitObj(bool Show)
{
    for (int i = 0; i < PicButton.size(); ++i) {
        PanelKey *key = PicButton[i];
        key->setCursor(PicIcon);
        if (i == 0 || !key->hasPicture()) {
            key->setPicture(PicButton[0]->Picture());
            fillBacking(PicButtonB[i], *key);
        }
        key->setVisible(Show);
    }

    if (!LabNum.isEmpty())
        setFontSize(LabNum[0], fontSize(LabNum[0]) * m_state.PixelScale);
    const int last = PicNum.size() - 1;
    for (int i = 0; i < PicNum.size(); ++i) {
        PanelKey *key = PicNum[i];
        key->setCursor(PicIcon);
        if (i == 0 || !key->hasPicture()) {
            key->setPicture(PicNum[0]->Picture());
            fillBacking(PicNumBak[i], *key);
        }
        LabNum[i]->setFont(LabNum[0]->font());
        LabNum[i]->setText(QString::number(i + 1));
        QString tip;
        if (i == last) {
            LabNum[i]->setText(QStringLiteral(">>"));
            tip = QStringLiteral("下一頁,右鍵播放清單");
        } else {
            tip = QStringLiteral("軌道(") + Vb::Format(i + 1, QStringLiteral("00")) + QLatin1Char(')');
        }
        autoSizeLabel(LabNum[i]);
        key->setToolTip(tip);
        LabNum[i]->setToolTip(tip);
        key->setVisible(Show);
    }

    for (int i = 0; i < PicCtl.size(); ++i) {
        if (i >= PicCtlBak.size())
            PicCtlBak.append(BackingPicture{});
        PanelKey *key = PicCtl[i];
        key->setCursor(PicIcon);
        if (i == 0 || !key->hasPicture() || PicCtlBak[i].Picture.isNull()) {
            if (i < 8)
                key->setPicture(PicCtl[0]->Picture());
            fillBacking(PicCtlBak[i], *key);
        }
        key->setVisible(Show);
    }
    AdjLine();
    AdjImage();
}

void PanelObjects::AdjLine()
{
    if (PicCtl.size() <= 13)
        return;
    QWidget *knob = PicCtl[9];
    QWidget *track = PicCtl[13];
    if (track->width() < 3 * knob->width())
        track->resize(3 * knob->width(), track->height());
    if (track->height() < knob->height() + 4)
        track->resize(track->width(), knob->height());
    setTop(knob, track->y() + (track->height() - knob->height()) / 2.0);
    if (knob->x() < track->x())
        knob->move(track->x(), knob->y());
    if (Line1.size() < 2)
        return;
    const int y = int(Vb::Int(track->height() / 2.0)) - 1;
    Line1[0]->setLine(6, y, track->width() - 5, y);
    Line1[1]->setLine(6, y + 1, track->width() - 5, y + 1);
}

void PanelObjects::AdjImage()
{
    auto centreAll = [](const QVector<PanelKey *> &keys, const QVector<QLabel *> &items) {
        for (int i = 0; i < keys.size() && i < items.size(); ++i) {
            centreIn(items[i], keys[i]);
            items[i]->setVisible(true);
        }
    };
    centreAll(PicCtl, ImageButton1);
    centreAll(PicNum, LabNum);
    centreAll(PicButton, ImageButton);
}

void PanelObjects::AdjLabel()
{
    QLabel *label = Label1;
    label->hide();
    autoSizeLabel(label);  // one line as wide as the caption
    setLeft(label, m_state.TextLeft);
    if (label->width() > m_state.TextWidth) {
        setHeight(label, label->height() * 2.0);
        setTop(label, m_state.TextTop - m_state.TextHeight / 2.0);
    } else {
        setTop(label, m_state.TextTop);
        setHeight(label, m_state.TextHeight);
    }
    setWidth(label, m_state.TextWidth);
    label->update();
    label->show();
}

void PanelObjects::ShowObj(bool Show)
{
    static const QStringList shown = {
        QStringLiteral("LABEL1"), QStringLiteral("LABEL2"), QStringLiteral("LABEL3"),
        QStringLiteral("PICNUM"), QStringLiteral("PICBUTTON"), QStringLiteral("PICCTL"),
        QStringLiteral("LABNUM"), QStringLiteral("IMAGEBUTTON"), QStringLiteral("IMAGEBUTTON1"),
        QStringLiteral("LINE1")};
    ObjBox->hide();
    ObjBox->update();
    for (QWidget *control : windowControls()) {
        const QString name = control->objectName().toUpper();
        if (name.startsWith(QLatin1String("TIMER")))
            continue;
        control->setVisible(Show && shown.contains(name));
    }
    if (PicButton.size() > 3)
        PicButton[3]->raise();
    if (PicCtl.size() > 6)
        PicCtl[6]->hide();
    AdjImage();
    AdjLine();
    if (Show)
        Image1->setVisible(m_state.ShowPic && m_state.ImageVisible);
    if (Label2.size() > 2)
        Label2[2]->hide();
    if (Show)
        showDeskFrame();
}

// The panel image over the window's background, under every other object: a press
// on it starts the drag over the frozen desktop.
void PanelObjects::showDeskFrame()
{
    if (!HasDeskDrag || m_formPicture.isNull() || GetExtName(m_state.DeskPicFile) != QLatin1String("gif"))
        return;
    ImageDesk->setPixmap(QPixmap::fromImage(m_formPicture));
    ImageDesk->setGeometry(QRect(QPoint(0, 0), m_formPicture.size()));
    ImageDesk->lower();
    ImageDesk->show();
}

void PanelObjects::ChkLab(bool Reset)
{
    if (LabNum.isEmpty())
        return;
    LoadedMedia &media = m_host.loadedMedia();
    const int N = LabNum.size() - 1;
    int offset;
    if (Reset || Vb::Val(LabNum[0]->text()) != 1) {
        offset = 1;
        LabNum[N]->setText(QStringLiteral(">>"));
    } else {
        offset = PicNum.size();
        LabNum[N]->setText(QStringLiteral("<<"));
    }
    autoSizeLabel(LabNum[N]);
    centreIn(LabNum[N], PicNum[N]);
    media.MciReply = fitReply(m_host.mciSendString(QStringLiteral("Set CDAudio time format tmsf ")));
    LabNum[N]->setEnabled(media.MediaCount > N);

    const bool musicFiles = media.MediaKind == QLatin1String("MP3");
    for (int i = 0; i < N; ++i) {
        const int t = offset + i;
        QString tip;
        if (musicFiles) {
            if (t - 1 < media.MediaCount && t - 1 < media.PlayArray.size())
                tip = media.PlayArray[t - 1].toString();
        } else {
            media.MciReply = fitReply(m_host.mciSendString(
                QStringLiteral("Status CDAudio length track ") + QString::number(i + 1)));
        }
        QLabel *label = LabNum[i];
        label->setText(QString::number(t));
        setForeColor(label, labColor(i));
        if (media.MediaCount != 0 && t <= media.MediaCount) {
            if (t == 1 && media.MixedDisc) {
                label->setEnabled(false);
                tip.clear();
            } else {
                tip = tip.trimmed();
                label->setEnabled(true);
            }
        } else {
            label->setEnabled(false);
            tip.clear();
        }
        label->setToolTip(tip);
        PicNum[i]->setToolTip(tip);
        autoSizeLabel(label);
        centreIn(label, PicNum[i]);
    }
}

void PanelObjects::ChkLabColor(double Track)
{
    for (int i = 0; i < LabNum.size() - 1; ++i) {
        const QColor wanted = Vb::Val(LabNum[i]->text()) != Track + 1 ? labColor(i) : QColor(0, 255, 0);
        if (foreColor(LabNum[i]) != wanted)
            setForeColor(LabNum[i], wanted);
    }
}

VbColor PanelObjects::InvertColor(VbColor Color)
{
    if (Color == 0)
        return 0xFFFFFF;
    const qint64 flipped = qint64(Color ^ 0xFFFFFF);
    return VbColor((std::llabs(flipped) % 0xFFFFFF) & 0xF0F0F0);
}

void PanelObjects::ButtonAdj(bool)
{
    ObjBox->hide();
}

void PanelObjects::ADJForm()
{
    const double tppX = m_host.twipsPerPixelX();
    const double tppY = m_host.twipsPerPixelY();
    if (m_host.formWidthTwips() <= m_host.formHeightTwips()) {
        const double top = (m_state.ScreenHeight - m_state.DeskPicHeight) * tppY / 2;
        m_host.moveFormTwips(0, top);
    } else {
        const double left = (m_state.ScreenClass - m_state.DeskPicWidth.toDouble()) * tppX / 2;
        m_host.moveFormTwips(left, 0);
    }
}

QList<QWidget *> PanelObjects::windowControls() const
{
    QList<QWidget *> all = m_controls;
    const auto children = m_host.panelWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *child : children)
        if (!child->isWindow() && !child->objectName().isEmpty() && !all.contains(child))
            all.append(child);
    return all;
}

QColor PanelObjects::labColor(int index) const
{
    return index < m_state.LabColor.size() ? m_state.LabColor[index] : QColor(Qt::black);
}
