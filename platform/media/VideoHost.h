#pragma once

#include <QSize>
#include <QtGlobal>

// A window of our own on the X display for a media engine to draw its picture in.
//
// Qt owns a widget's native window and makes it anew whenever it makes a window around it anew
// (a changed window flag, a new parent, a close and a later show). The X server ends every window
// inside the old one, and an engine whose picture window is ended under it stops showing video
// or, drawing on, fails. This window is never Qt's: it lies inside the widget's native window
// while there is one, waits unmapped under the screen's root while Qt makes another, and moves
// into the new one. The engine keeps one window for its whole life and never hears of the change,
// so the picture goes on the moment the new window is shown.
//
// Off X (offscreen, Wayland) there is no such window: valid() is false.
class VideoHost {
public:
    VideoHost();
    ~VideoHost();
    VideoHost(const VideoHost &) = delete;
    VideoHost &operator=(const VideoHost &) = delete;

    bool valid() const { return m_window != 0; }
    quintptr id() const { return m_window; }
    // The native window that carries it now; 0 while it waits under the root.
    quintptr carrier() const { return m_carrier; }

    // Lays the window into a native window, filling it, and shows it there.
    void enter(quintptr nativeWindow, QSize size);
    // Takes the window out of its carrier before the carrier is ended. Hidden, it waits under
    // the root; the engine goes on drawing into it unseen.
    void leave();
    // Follows the carrier's size (in device pixels).
    void resize(QSize size);

private:
    quintptr m_window = 0;
    quintptr m_carrier = 0;
};
