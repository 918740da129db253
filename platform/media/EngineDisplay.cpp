#include "EngineDisplay.h"

#include "X11Runtime.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QtGlobal>

#include <atomic>

namespace {

// --- The display library, loaded at run time (the build needs no X headers) ---

struct XErrorEventLike;
using ErrorHandler = int (*)(Display *, XErrorEventLike *);
using SetErrorHandler = ErrorHandler (*)(ErrorHandler);

SetErrorHandler setErrorHandler()
{
    static const auto function = reinterpret_cast<SetErrorHandler>(X11Runtime::function("XSetErrorHandler"));
    return function;
}

// The program's own connection and the handlers it had before ours.
std::atomic<Display *> programDisplay{nullptr};
std::atomic<ErrorHandler> programErrorHandler{nullptr};
std::atomic<ErrorHandler> libraryDefaultHandler{nullptr};  // ends the process

int keepGoingOnError(Display *display, XErrorEventLike *event)
{
    if (display == programDisplay.load()) {
        const ErrorHandler previous = programErrorHandler.load();
        return previous ? previous(display, event) : 0;
    }
    // A request of an engine's output failed: the engine carries on.
    qWarning("A media engine's video output made a failed display request; ignored.");
    return 0;
}

// GL renderers that draw with the processor: the gpu output refuses them.
bool isSoftwareRenderer(const QByteArray &renderer)
{
    for (const char *name : {"llvmpipe", "softpipe", "Software Rasterizer", "SWR", "swrast"}) {
        if (renderer.contains(name))
            return true;
    }
    return false;
}

bool hasHardwareOpenGl()
{
    QOpenGLContext context;
    if (!context.create())
        return false;
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface))
        return false;
    const auto *renderer = context.functions()->glGetString(GL_RENDERER);
    const QByteArray name = renderer ? QByteArray(reinterpret_cast<const char *>(renderer)) : QByteArray();
    context.doneCurrent();
    return !name.isEmpty() && !isSoftwareRenderer(name);
}

} // namespace

QByteArray embeddedVideoOutput()
{
    static const QByteArray output = hasHardwareOpenGl() ? QByteArrayLiteral("gpu") : QByteArrayLiteral("x11");
    return output;
}

void guardEngineDisplays()
{
    Display *display = X11Runtime::applicationDisplay();
    const SetErrorHandler setHandler = setErrorHandler();
    if (!display || !setHandler)
        return;
    if (programDisplay.load() != display) {
        programDisplay = display;
        // Clearing the handler puts in the library's default, which the next
        // change hands back: that is how the default is known.
        programErrorHandler = setHandler(nullptr);
        libraryDefaultHandler = setHandler(keepGoingOnError);
        return;
    }
    // An engine sets its own handler while its output runs and the display
    // library's fatal default when it closes: ours goes back in.
    const ErrorHandler current = setHandler(keepGoingOnError);
    if (current && current != keepGoingOnError && current != libraryDefaultHandler.load())
        setHandler(current);  // an engine's output is running: it handles its own
}
