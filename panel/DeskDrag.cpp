#include "DeskDrag.h"

#include "PanelForm.h"
#include "PanelHost.h"
#include "PanelState.h"
#include "X11Runtime.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include <cmath>
#include <cstdlib>

namespace {
constexpr int DragStep = 8;  // smaller pointer motions leave the frame where it is

bool leftButtonDownOnTheDisplay()
{
    using Query = int (*)(Display *, unsigned long, unsigned long *, unsigned long *, int *, int *, int *, int *,
                          unsigned int *);
    using Root = unsigned long (*)(Display *);
    static const auto query = reinterpret_cast<Query>(X11Runtime::function("XQueryPointer"));
    static const auto root = reinterpret_cast<Root>(X11Runtime::function("XDefaultRootWindow"));
    constexpr unsigned int Button1Mask = 1u << 8;
    Display *display = X11Runtime::applicationDisplay();
    if (!display || !query || !root)
        return true;
    unsigned long rootWindow = 0, child = 0;
    int rootX = 0, rootY = 0, x0 = 0, y0 = 0;
    unsigned int mask = 0;
    if (!query(display, root(display), &rootWindow, &child, &rootX, &rootY, &x0, &y0, &mask))
        return true;
    return (mask & Button1Mask) != 0;
}
}  // namespace

DeskDrag::DeskDrag(PanelForm &form) : m_form(form)
{
    form.obj().ImageDesk->installEventFilter(this);
    form.obj().HasDeskDrag = true;
    leftButtonDown = leftButtonDownOnTheDisplay;
}

// Left presses on the frame and everything until their release are the drag's;
// other buttons go on to the window under the frame (its background menus).
bool DeskDrag::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_form.obj().ImageDesk)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        ImageDesk_MouseDown(mouse->button(), mouse->position().toPoint());
        return true;
    }
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (!m_frozen)
            return false;
        ImageDesk_MouseMove(mouse->buttons(), mouse->position().toPoint());
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (!m_frozen && !DeskDragBusy)
            return false;
        ImageDesk_MouseUp(mouse->button(), mouse->position().toPoint());
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

void DeskDrag::ImageDesk_MouseDown(Qt::MouseButton Button, const QPoint &p)
{
    if (Button != Qt::LeftButton)
        return;
    GrabPoint = LastPoint = p;
    // A press on the frozen desktop (its release was missed) takes the drag up from here:
    // freezing again would take the frozen desktop for the panel picture.
    if (m_frozen)
        return;
    DeskDragBusy = true;
    m_releasedInPress = false;
    m_form.obj().ShowObj(false);
    DeskTopSave();
    m_form.obj().ImageDesk->setCursor(Qt::SizeAllCursor);
    DeskDragBusy = false;
    // A quick click: the release came while the window was hidden for the copy, as an event
    // or to no window of ours at all. It ends the drag now that the press is done.
    if (m_releasedInPress || (leftButtonDown && !leftButtonDown()))
        ImageDesk_MouseUp(Qt::LeftButton, p);
}

void DeskDrag::ImageDesk_MouseMove(Qt::MouseButtons Buttons, const QPoint &p)
{
    if (DeskDragBusy || Buttons != Qt::LeftButton || !m_frozen)
        return;
    if (std::abs(p.x() - LastPoint.x()) >= DragStep || std::abs(p.y() - LastPoint.y()) >= DragStep) {
        QLabel *frame = m_form.obj().ImageDesk;
        frame->move(frame->x() + p.x() - GrabPoint.x(), frame->y() + p.y() - GrabPoint.y());
        LastPoint = p;
    }
}

void DeskDrag::ImageDesk_MouseUp(Qt::MouseButton Button, const QPoint &)
{
    if (Button != Qt::LeftButton && !DeskDragBusy)
        return;
    if (DeskDragBusy) {
        m_releasedInPress = true;  // acted on when the press handler is done
        return;
    }
    DeskTopRef();
    m_form.obj().ShowObj(true);
    m_form.obj().ImageDesk->unsetCursor();
}

QImage DeskDrag::desktop(const QRect &area)
{
    QImage copy;
    if (grabDesktop) {
        copy = grabDesktop(area);
    } else if (QScreen *screen = m_form.host().panelWidget()->screen()) {
        copy = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
    }
    if (copy.isNull() || copy.size() != area.size()) {
        // No picture of the desktop to be had: a plain ground of the right size.
        QImage plain(area.size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        plain.fill(Qt::black);
        if (!copy.isNull()) {
            QPainter painter(&plain);
            painter.drawImage(0, 0, copy);
        }
        copy = plain;
    }
    return copy.convertToFormat(QImage::Format_RGB32);
}

void DeskDrag::setWindowRectPixels(const QRect &rect)
{
    PanelHost &host = m_form.host();
    host.moveFormTwips(rect.x() * host.twipsPerPixelX(), rect.y() * host.twipsPerPixelY());
    host.setFormSizeTwips(rect.width() * host.twipsPerPixelX(), rect.height() * host.twipsPerPixelY());
}

void DeskDrag::DeskTopSave()
{
    PanelHost &host = m_form.host();
    QWidget *window = host.panelWidget();
    const QRect former = window->geometry();
    m_panelPicture = m_form.obj().FormPicture();
    m_outline = window->mask();
    host.hideForm();
    QCoreApplication::processEvents();

    DesktopCopy = QRect(0, 0, int(std::lround(host.screenWidthTwips() / host.twipsPerPixelX())),
                        int(std::lround(host.screenHeightTwips() / host.twipsPerPixelY())));
    window->clearMask();  // the frozen desktop covers the whole screen
    setWindowRectPixels(DesktopCopy);
    QCoreApplication::processEvents();
    m_form.obj().setFormPicture(desktop(DesktopCopy));

    // The frame shows the panel where the window was.
    QLabel *frame = m_form.obj().ImageDesk;
    frame->setPixmap(QPixmap::fromImage(m_panelPicture));
    frame->setGeometry(former.x(), former.y(), former.width(), former.height());
    if (!m_outline.isEmpty())
        frame->setMask(m_outline);  // the panel's shape, not its key-colour margin
    frame->show();
    frame->raise();
    frame->update();
    m_frozen = true;
    host.showForm();
    // Hiding the window ended the press's own grab: without one the moves and the
    // release of the held button would reach no widget.
    frame->grabMouse();
}

void DeskDrag::DeskTopRef()
{
    PanelHost &host = m_form.host();
    QWidget *window = host.panelWidget();
    const QLabel *frame = m_form.obj().ImageDesk;
    // Outside a drag the frame lies on the window itself: its place is
    // relative to the window, and the window keeps its size.
    const QRect target = m_frozen ? frame->geometry()
                                  : QRect(window->pos() + frame->pos(), window->size());
    host.hideForm();
    setWindowRectPixels(target);
    QCoreApplication::processEvents();
    // The window system may report the full-screen geometry of the freeze
    // after the new one was set: the frame's place is what counts.
    if (window->geometry() != target) {
        setWindowRectPixels(target);
        QCoreApplication::processEvents();
    }
    DeskTopCut();
    host.showForm();
}

void DeskDrag::DeskTopCut()
{
    PanelHost &host = m_form.host();
    QWidget *window = host.panelWidget();
    if (window->isVisible()) {
        host.hideForm();
        QCoreApplication::processEvents();
    }
    QLabel *frame = m_form.obj().ImageDesk;
    frame->move(0, 0);
    QCoreApplication::processEvents();
    DesktopCopy = window->geometry();

    // The panel picture over the desktop under the window: the desktop shows
    // only where the panel picture is transparent (the outline cuts the rest).
    const QImage panel = m_frozen ? m_panelPicture : m_form.obj().FormPicture();
    QImage background = desktop(DesktopCopy);
    if (!panel.isNull()) {
        QPainter painter(&background);
        painter.drawImage(0, 0, panel);
    }
    m_form.obj().setFormPicture(panel.isNull() ? background : background.copy(panel.rect()));
    if (m_frozen) {
        if (m_outline.isEmpty())
            window->clearMask();
        else
            window->setMask(m_outline);
        frame->releaseMouse();
        frame->clearMask();
        frame->clear();
        frame->resize(DesktopCopy.size());
        frame->hide();
        m_frozen = false;
    }
    host.showForm();
}
