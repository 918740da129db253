#include "frmPic.h"

#include "CanvasOwner.h"
#include "EditorState.h"
#include "PanelGeometry.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>

// ------------------------------------------------------------------ surface

CanvasSurface::CanvasSurface(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Picture1"));
    setMouseTracking(true);
}

void CanvasSurface::setPicture(const QImage &picture)
{
    m_picture = picture;
    update();
}

void CanvasSurface::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    if (!m_picture.isNull())
        painter.drawImage(0, 0, m_picture);
}

PointerHandle::PointerHandle(QWidget *parent, int index) : QWidget(parent), m_index(index)
{
    setObjectName(QStringLiteral("Pointer"));
    setGeometry(0, 0, 8, 8);
    setCursor(index == 4 || index == 5 ? Qt::SizeVerCursor
              : index == 6 || index == 7 ? Qt::SizeHorCursor
              : index == 0 || index == 3 ? Qt::SizeFDiagCursor
                                         : Qt::SizeBDiagCursor);
}

void PointerHandle::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

// ------------------------------------------------------------------ window

namespace {
const char *const ControlKeyTips[] = {"播放/暫停", "停止", "倒轉", "音量減", "音量加", "快轉", "重新定位",
                                      "退出/載入", "關閉", "定位鈕", "上一首", "下一首", "最小化", "定位軌"};
const char *const TitleButtonTips[] = {"光碟", "螢幕", "面版", "工具"};
}

frmPic::frmPic(EditorState &state, CanvasOwner *owner, QWidget *parent)
    : QWidget(parent), m_state(state), m_owner(owner)
{
    setObjectName(QStringLiteral("frmPic"));
    createCanvas();
    // Form_Load: handles ready, a selection always exists, everything hidden
    // until a panel is laid out.
    AdjPointer();
    if (!obj().Label3.isEmpty()) {
        m_selObj = obj().Label3[0];
        m_fontLabel = obj().Label3[0];
    }
    ShowObj(false);
}

frmPic::~frmPic() = default;

QWidget *frmPic::panelWidget()
{
    return m_surface;
}

void frmPic::createCanvas()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("CanvasScroll"));
    m_scroll->setWidgetResizable(false);
    m_surface = new CanvasSurface(m_scroll);
    m_surface->resize(400, 300);
    m_scroll->setWidget(m_surface);
    layout->addWidget(m_scroll);

    m_panel = std::make_unique<PanelForm>(*this, m_state.panel, m_state.colors);
    for (int i = 0; i < 8; ++i)
        m_pointers.append(new PointerHandle(m_surface, i));
    giveToolTips();

    PanelObjects &o = obj();
    // Captions and icons inside a key belong to the key: its mouse handling applies.
    for (QLabel *label : o.LabNum)
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
    for (QLabel *label : o.ImageButton)
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
    for (QLabel *label : o.ImageButton1)
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
    for (QWidget *line : o.Line1)
        line->setAttribute(Qt::WA_TransparentForMouseEvents);
    for (PanelKey *key : o.PicCtl)
        watch(key);
    for (PanelKey *key : o.PicNum)
        watch(key);
    for (PanelKey *key : o.PicButton)
        watch(key);
    watch(o.Label1);
    for (QLabel *label : o.Label2)
        watch(label);
    for (QLabel *label : o.Label3)
        watch(label);
    watch(o.Image1);
    for (PointerHandle *handle : m_pointers)
        watch(handle);
    watch(m_surface);
    o.ObjBox->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void frmPic::giveToolTips()
{
    PanelObjects &o = obj();
    for (int i = 0; i < o.PicCtl.size() && i < int(std::size(ControlKeyTips)); ++i)
        o.PicCtl[i]->setToolTip(QString::fromUtf8(ControlKeyTips[i]));
    for (int i = 0; i < o.PicButton.size() && i < int(std::size(TitleButtonTips)); ++i)
        o.PicButton[i]->setToolTip(QString::fromUtf8(TitleButtonTips[i]));
    for (int i = 0; i < o.PicNum.size(); ++i) {
        const bool pageKey = i == o.PicNum.size() - 1;
        const QString tip = pageKey ? QStringLiteral("下一頁") : QStringLiteral("軌道(%1)").arg(i + 1, 2, 10, QLatin1Char('0'));
        o.PicNum[i]->setToolTip(tip);
        o.LabNum[i]->setText(pageKey ? QStringLiteral(">>") : QString::number(i + 1));
        autoSizeLabel(o.LabNum[i]);
    }
    o.Label1->setToolTip(QStringLiteral("訊息"));
    o.Label1->setText(QStringLiteral("歌詞及訊息顯示區"));  // the design caption, so the line can be seen and taken
    for (QLabel *label : o.Label2)
        label->setToolTip(QStringLiteral("時間"));
    for (QLabel *label : o.Label3)
        label->setToolTip(QStringLiteral("LOGO"));
    o.Image1->setToolTip(QStringLiteral("圖形"));
    // The picture area shows no picture while it is edited: an outline lets it be found.
    o.Image1->setStyleSheet(QStringLiteral("QLabel { border: 1px dashed #c8c8c8; }"));
}

void frmPic::watch(QWidget *control)
{
    control->installEventFilter(this);
}

void frmPic::closeEvent(QCloseEvent *event)
{
    // The canvas and its objects stay loaded; only the window goes.
    event->ignore();
    if (QWidget *frame = parentWidget(); frame && frame->isWindow() == false)
        frame->hide();
    else
        hide();
    if (m_owner)
        m_owner->canvasClosed();
    emit closedByFrame();
}

void frmPic::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (isVisible() && !isMinimized())
        ResizeA();
}

void frmPic::ResizeA()
{
    // The scroll area shows the bars the picture needs; objects are kept
    // inside the picture surface itself.
    m_state.CanvasWidth = m_surface->width();
    m_state.CanvasHeight = m_surface->height();
}

// ------------------------------------------------------------------ mouse

bool frmPic::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return QWidget::eventFilter(watched, event);
    auto *mouse = static_cast<QMouseEvent *>(event);
    const QPointF pos = mouse->position();
    const double tppX = twipsPerPixelX(), tppY = twipsPerPixelY();
    PanelObjects &o = obj();

    if (watched == m_surface) {
        if (type == QEvent::MouseMove && m_owner)
            m_owner->setStatusText(EditRules::pointerStatus(pos.x(), pos.y()));
        return false;
    }
    if (auto *handle = qobject_cast<PointerHandle *>(watched)) {
        if (type == QEvent::MouseMove)
            pointerMoved(handle->Index(), mouse->buttons(), pos.x(), pos.y());
        else if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton)
            ShowACT();
        return true;
    }
    if (auto *key = qobject_cast<PanelKey *>(watched)) {
        if (type == QEvent::MouseButtonPress)
            keyPressed(key, pos, mouse->button());
        else if (type == QEvent::MouseMove)
            MoveButtonObj(mouse->buttons(), pos.x(), pos.y());
        else if (releasedOnIcon(key, pos))
            ShowACT();  // the icon of a title button shows the handles of its key
        if (type == QEvent::MouseButtonPress && mouse->button() == Qt::RightButton && m_owner
            && key->objectName() == QLatin1String("PicNum"))
            m_owner->popupFontMenu(mouse->globalPosition().toPoint());
        return true;
    }
    if (watched == o.Image1) {
        if (type == QEvent::MouseButtonPress)
            imagePressed(pos, mouse->button(), mouse->globalPosition());
        else if (type == QEvent::MouseMove && m_dragImage)
            MoveLabelObj(m_dragImage, mouse->buttons(), pos.x() * tppX, pos.y() * tppY, false);
        else if (type == QEvent::MouseButtonRelease)
            ShowACT();
        return true;
    }
    if (auto *label = qobject_cast<QLabel *>(watched)) {
        const bool logo = label->objectName() == QLatin1String("Label3");
        if (type == QEvent::MouseButtonPress) {
            labelPressed(label, pos, mouse->button(), mouse->globalPosition());
        } else if (type == QEvent::MouseMove) {
            if (m_fontLabel) {
                MoveLabelObj(m_fontLabel, mouse->buttons(), pos.x() * tppX, pos.y() * tppY, true);
                if (logo && (mouse->buttons() & Qt::LeftButton))
                    AdjLogo(false);
            }
        } else if (m_fontLabel) {
            m_actObj = m_fontLabel.data();
            ShowACT();
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool frmPic::releasedOnIcon(PanelKey *key, const QPointF &pos) const
{
    if (key->objectName() != QLatin1String("PicButton"))
        return false;
    const QLabel *icon = m_panel->obj().ImageButton.value(key->Index());
    return icon && icon->isVisible() && icon->geometry().contains(pos.toPoint());
}

bool frmPic::keyPressed(PanelKey *key, const QPointF &pos, Qt::MouseButton button)
{
    PanelObjects &o = obj();
    const QString family = key->objectName();
    const int index = key->Index();
    if (button == Qt::RightButton && family == QLatin1String("PicNum") && index < o.LabNum.size())
        m_fontLabel = o.LabNum[index];
    m_downX = m_lastX = pos.x();
    m_downY = m_lastY = pos.y();
    if (button != Qt::LeftButton)
        return false;
    ButtonAdj(false);
    m_sample = -1;
    m_selObj = key;
    m_selObjBak = backingOf(key);
    if (family == QLatin1String("PicCtl") && o.PicCtl.size() > 13) {
        QWidget *knob = o.PicCtl[9];
        QWidget *track = o.PicCtl[13];
        knob->move(track->x(), track->y() + (track->height() - knob->height()) / 2);
        knob->show();
        knob->raise();
    }
    ButtonAdj(true);
    return true;
}

void frmPic::labelPressed(QLabel *label, const QPointF &pos, Qt::MouseButton button, const QPointF &globalPos)
{
    // The pressed label becomes the font label before the font menu offers
    // its commands, as a number key's caption does: they act on what was clicked.
    m_fontLabel = label;
    if (button == Qt::RightButton && m_owner)
        m_owner->popupFontMenu(globalPos.toPoint());
    m_downX = m_lastX = pos.x();
    m_downY = m_lastY = pos.y();
    m_lastX *= twipsPerPixelX();
    m_lastY *= twipsPerPixelY();
    m_sample = -1;
    m_selObjBak = nullptr;
    if (label->objectName() == QLatin1String("Label3")) {
        AdjLogo();
        m_selObj = label;
        AdjLogo();
        return;
    }
    ButtonAdj(false);
    m_selObj = label;
    ButtonAdj(true);
}

void frmPic::imagePressed(const QPointF &pos, Qt::MouseButton button, const QPointF &globalPos)
{
    if (button == Qt::RightButton) {
        if (m_owner)
            m_owner->popupFontMenu(globalPos.toPoint());
        return;
    }
    if (button != Qt::LeftButton)
        return;
    m_actObj = obj().Image1;
    m_dragImage = obj().Image1;
    m_downX = pos.x();
    m_downY = pos.y();
    m_lastX = pos.x() * twipsPerPixelX();
    m_lastY = pos.y() * twipsPerPixelY();
}

void frmPic::MoveButtonObj(Qt::MouseButtons buttons, double X, double Y)
{
    if (!(buttons & Qt::LeftButton) || !m_selObj)
        return;
    if (!EditRules::dragStepDue(X, Y, m_lastX, m_lastY, m_state.GridStep))
        return;
    ShowObjBox(false);
    m_selObj->raise();
    const double grid = m_state.GridStep * m_state.ZoomRate();
    const double x = m_selObj->x() + (X - m_downX);
    const double y = m_selObj->y() + (Y - m_downY);
    m_selObj->move(toPixels(EditRules::snapDown(x, grid)), toPixels(EditRules::snapDown(y, grid)));
    if (m_owner)
        m_owner->setStatusText(EditRules::dragStatus(m_selObj->x(), m_selObj->y(), m_state.ZoomRate()));
    m_lastX = X;
    m_lastY = Y;
    ButtonAdj(false);
}

void frmPic::MoveLabelObj(QWidget *target, Qt::MouseButtons buttons, double X, double Y, bool finalAdj)
{
    if (!(buttons & Qt::LeftButton) || !target)
        return;
    if (!EditRules::dragStepDue(X, Y, m_lastX, m_lastY, m_state.GridStep))
        return;
    target->raise();
    const double grid = m_state.GridStep * m_state.ZoomRate();
    const double x = target->x() + (X / twipsPerPixelX() - m_downX);
    const double y = target->y() + (Y / twipsPerPixelY() - m_downY);
    target->move(toPixels(EditRules::snapDown(x, grid)), toPixels(EditRules::snapDown(y, grid)));
    if (m_owner)
        m_owner->setStatusText(EditRules::dragStatus(target->x(), target->y(), m_state.ZoomRate()));
    m_lastX = X;
    m_lastY = Y;
    if (finalAdj)
        ButtonAdj(false);
}

// ------------------------------------------------------------------ selection

void frmPic::ButtonAdj(bool Flag)
{
    if (Flag && m_selObj) {
        // The exact place, not the rounded one on screen: the zoom brings the
        // object back from its exact place, and so must the undo.
        const QRectF place = CanvasPlace::exactGeometry(m_selObj);
        m_state.UndoLeft = place.x();
        m_state.UndoTop = place.y();
        if (m_owner) {
            m_owner->setUndoEnabled(true);
            const auto *key = qobject_cast<PanelKey *>(m_selObj.data());
            m_owner->setStatusText(EditRules::selectionStatus(m_selObj->x(), m_selObj->y(), m_selObj->width(),
                                                              m_selObj->height(), m_state.ZoomRate(),
                                                              m_selObj->toolTip(), key ? key->Tag : QString()));
        }
    }
    m_actObj = m_selObj.data();
    ShowPointer(false);
}

void frmPic::Undo()
{
    if (m_owner)
        m_owner->setUndoEnabled(false);
    if (!m_selObj)
        return;
    const QRectF now = CanvasPlace::exactGeometry(m_selObj);
    CanvasPlace::setExactGeometry(m_selObj, QRectF(m_state.UndoLeft, m_state.UndoTop, now.width(), now.height()));
    // A LOGO label takes its shadow back with it, as its drag took it along.
    if (m_selObj->objectName() == QLatin1String("Label3"))
        placeLogoShadow();
}

void frmPic::SelectSample(int index)
{
    if (index < 0 || index > 2)
        return;
    m_sample = index;
    m_selObj = nullptr;
    m_selObjBak = nullptr;
}

BackingPicture *frmPic::backingOf(QWidget *control)
{
    PanelObjects &o = obj();
    auto find = [control](QVector<PanelKey *> &keys, QVector<BackingPicture> &baks) -> BackingPicture * {
        const int i = keys.indexOf(static_cast<PanelKey *>(control));
        return i >= 0 && i < baks.size() ? &baks[i] : nullptr;
    };
    if (BackingPicture *b = find(o.PicCtl, o.PicCtlBak))
        return b;
    if (BackingPicture *b = find(o.PicNum, o.PicNumBak))
        return b;
    return find(o.PicButton, o.PicButtonB);
}

void frmPic::ShowACT()
{
    if (!m_actObj)
        return;
    m_handles = EditRules::handlesAround(QRectF(m_actObj->geometry()));
    placePointers();
    ShowPointer(true);
}

void frmPic::placePointers()
{
    for (int i = 0; i < m_pointers.size(); ++i)
        m_pointers[i]->move(toPixels(m_handles[i].x()), toPixels(m_handles[i].y()));
}

void frmPic::ShowPointer(bool Show)
{
    for (PointerHandle *handle : m_pointers) {
        handle->setVisible(Show);
        handle->raise();
    }
}

void frmPic::AdjPointer()
{
    for (PointerHandle *handle : m_pointers) {
        handle->setGeometry(0, 0, 8, 8);
        handle->hide();
        handle->raise();
    }
}

void frmPic::pointerMoved(int index, Qt::MouseButtons buttons, double X, double Y)
{
    if (!(buttons & Qt::LeftButton) || !m_actObj)
        return;
    EditRules::dragHandle(m_handles, index, X, Y);
    placePointers();
    const QRectF r = EditRules::rectFromHandles(m_handles);
    m_actObj->setGeometry(toPixels(r.x()), toPixels(r.y()), toPixels(r.width()), toPixels(r.height()));
}

void frmPic::ShowObjBox(bool Show)
{
    if (!m_selObj)
        return;
    QWidget *box = obj().ObjBox;
    box->setGeometry(m_selObj->x() - 2, m_selObj->y() - 2, m_selObj->width() + 4, m_selObj->height() + 4);
    box->setVisible(true);
    box->raise();
    box->setVisible(Show);
}
