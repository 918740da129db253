#include "X11Runtime.h"

#include <QGuiApplication>

#include <dlfcn.h>

namespace X11Runtime {

Display *applicationDisplay()
{
    auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (!application || QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    const auto *x11 = application->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

void *function(const char *name)
{
    static void *const library = dlopen("libX11.so.6", RTLD_NOW | RTLD_GLOBAL);
    return library ? dlsym(library, name) : nullptr;
}

} // namespace X11Runtime
