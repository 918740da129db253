#pragma once

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QRegion>

#include <functional>

class PanelForm;

// Moving the borderless panel window over a frozen copy of the desktop: a
// left press on the drag frame ImageDesk covers the screen with the desktop
// as it looks, the frame (showing the panel) follows the pointer in steps of
// 8 pixels, and on release the window jumps to the frame and takes the
// desktop under it behind the panel picture.
//
// Pointer positions are pixels relative to ImageDesk. On a GIF panel the panel
// shows ImageDesk under its objects (PanelObjects::ShowObj): a left press there
// starts the drag, and its own mouse events drive it.
// It has no QObject parent: its owner keeps it and ends it before the panel.
class DeskDrag : public QObject
{
    Q_OBJECT
public:
    explicit DeskDrag(PanelForm &form);

    void ImageDesk_MouseDown(Qt::MouseButton Button, const QPoint &p);
    void ImageDesk_MouseMove(Qt::MouseButtons Buttons, const QPoint &p);
    void ImageDesk_MouseUp(Qt::MouseButton Button, const QPoint &p);

    // Freezes the desktop over the whole screen, the frame at the window's place.
    void DeskTopSave();
    // Moves the window to the frame and refreshes its background.
    void DeskTopRef();
    // Puts the desktop under the window behind the panel picture.
    void DeskTopCut();

    // A piece of the desktop in screen pixels. Default: the screen's own picture.
    std::function<QImage(const QRect &)> grabDesktop;
    // Whether the left button is down now. Default: asked of the X server (a
    // release while the window was hidden for the copy reached no window of
    // ours); elsewhere taken as down, the release coming as an event.
    std::function<bool()> leftButtonDown;

    bool DeskDragBusy = false;
    QPoint GrabPoint;   // where the button went down
    QPoint LastPoint;   // where the frame last moved
    QRect DesktopCopy;  // the desktop area copied last, pixels
    // The desktop is frozen over the screen (between press and release).
    bool frozen() const { return m_frozen; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QImage desktop(const QRect &area);
    void setWindowRectPixels(const QRect &rect);

    PanelForm &m_form;
    QImage m_panelPicture;
    QRegion m_outline;
    bool m_frozen = false;
    bool m_releasedInPress = false;  // the release came while the press handler ran
};
