#include "VideoHost.h"

#include "X11Runtime.h"

#include <algorithm>

namespace {

// The display library's calls this window needs, reached at run time like the rest of it.
using XWindow = unsigned long;
struct XCalls {
    XWindow (*defaultRootWindow)(Display *) = nullptr;
    int (*defaultScreen)(Display *) = nullptr;
    unsigned long (*blackPixel)(Display *, int) = nullptr;
    XWindow (*createSimpleWindow)(Display *, XWindow, int, int, unsigned, unsigned, unsigned, unsigned long,
                                  unsigned long) = nullptr;
    int (*destroyWindow)(Display *, XWindow) = nullptr;
    int (*reparentWindow)(Display *, XWindow, XWindow, int, int) = nullptr;
    int (*mapWindow)(Display *, XWindow) = nullptr;
    int (*unmapWindow)(Display *, XWindow) = nullptr;
    int (*resizeWindow)(Display *, XWindow, unsigned, unsigned) = nullptr;
    int (*flush)(Display *) = nullptr;

    bool complete() const
    {
        return defaultRootWindow && defaultScreen && blackPixel && createSimpleWindow && destroyWindow &&
               reparentWindow && mapWindow && unmapWindow && resizeWindow && flush;
    }
};

template <typename Function>
void load(Function &slot, const char *name)
{
    slot = reinterpret_cast<Function>(X11Runtime::function(name));
}

const XCalls &x()
{
    static const XCalls calls = [] {
        XCalls c;
        load(c.defaultRootWindow, "XDefaultRootWindow");
        load(c.defaultScreen, "XDefaultScreen");
        load(c.blackPixel, "XBlackPixel");
        load(c.createSimpleWindow, "XCreateSimpleWindow");
        load(c.destroyWindow, "XDestroyWindow");
        load(c.reparentWindow, "XReparentWindow");
        load(c.mapWindow, "XMapWindow");
        load(c.unmapWindow, "XUnmapWindow");
        load(c.resizeWindow, "XResizeWindow");
        load(c.flush, "XFlush");
        return c;
    }();
    return calls;
}

// The requests go out on the program's own connection, the one Qt makes and ends its windows on,
// so the server takes them in the order they were made: a window taken out before Qt ends its
// carrier is out when the carrier ends.
Display *display() { return x().complete() ? X11Runtime::applicationDisplay() : nullptr; }

unsigned side(int pixels) { return unsigned(std::max(1, pixels)); }  // X has no empty window

} // namespace

VideoHost::VideoHost()
{
    Display *d = display();
    if (!d)
        return;
    // Black until the engine's first picture; it asks for no events, so the pointer's presses
    // on the picture go on to the widget's window as before.
    const unsigned long black = x().blackPixel(d, x().defaultScreen(d));
    m_window = x().createSimpleWindow(d, x().defaultRootWindow(d), 0, 0, 1, 1, 0, black, black);
    x().flush(d);
}

VideoHost::~VideoHost()
{
    Display *d = display();
    if (!d || !m_window)
        return;
    x().destroyWindow(d, m_window);
    x().flush(d);
}

void VideoHost::enter(quintptr nativeWindow, QSize size)
{
    Display *d = display();
    if (!d || !m_window || !nativeWindow)
        return;
    if (m_carrier != nativeWindow)
        x().reparentWindow(d, m_window, nativeWindow, 0, 0);
    m_carrier = nativeWindow;
    x().resizeWindow(d, m_window, side(size.width()), side(size.height()));
    x().mapWindow(d, m_window);
    x().flush(d);
}

void VideoHost::leave()
{
    Display *d = display();
    if (!d || !m_window || !m_carrier)
        return;
    // Unmapped first: a mapped window laid under the root would show on the screen.
    x().unmapWindow(d, m_window);
    x().reparentWindow(d, m_window, x().defaultRootWindow(d), 0, 0);
    m_carrier = 0;
    x().flush(d);
}

void VideoHost::resize(QSize size)
{
    Display *d = display();
    if (!d || !m_window || !m_carrier)
        return;
    x().resizeWindow(d, m_window, side(size.width()), side(size.height()));
    x().flush(d);
}
