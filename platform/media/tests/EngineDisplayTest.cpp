// An engine's failed X request must not end the program, also after an
// engine's output put in the display library's fatal default, on a display of
// the test's own. The X part runs in a child run of this program there.
#include "EngineDisplay.h"
#include "MediaTestSupport.h"
#include "XDisplaySession.h"

#include <QCoreApplication>
#include <QWidget>

#include <dlfcn.h>

#include <gtest/gtest.h>
#include <thread>

namespace {

const char *const ChildVariable = "PELLORAN_ENGINE_DISPLAY_CHILD";

// The few display-library calls an engine's output makes, loaded at run time.
struct Xlib
{
    using Open = void *(*)(const char *);
    using Close = int (*)(void *);
    using Sync = int (*)(void *, int);
    using Destroy = int (*)(void *, unsigned long);
    using SetHandler = void *(*)(void *);

    Xlib()
    {
        handle = dlopen("libX11.so.6", RTLD_NOW | RTLD_GLOBAL);
        if (!handle)
            return;
        open = reinterpret_cast<Open>(dlsym(handle, "XOpenDisplay"));
        close = reinterpret_cast<Close>(dlsym(handle, "XCloseDisplay"));
        sync = reinterpret_cast<Sync>(dlsym(handle, "XSync"));
        destroyWindow = reinterpret_cast<Destroy>(dlsym(handle, "XDestroyWindow"));
        setErrorHandler = reinterpret_cast<SetHandler>(dlsym(handle, "XSetErrorHandler"));
    }
    void *handle = nullptr;
    Open open = nullptr;
    Close close = nullptr;
    Sync sync = nullptr;
    Destroy destroyWindow = nullptr;
    SetHandler setErrorHandler = nullptr;
};

} // namespace

TEST(EngineDisplayTest, AnEnginesFailedRequestLeavesTheProgramRunning)
{
    XDisplaySession screen;
    if (const QString unavailable = screen.start({900, 1000}, QSize(640, 480)); !unavailable.isEmpty())
        GTEST_SKIP() << unavailable.toStdString();
    QProcessEnvironment child;
    child.insert(QLatin1String(ChildVariable), QStringLiteral("1"));
    const QString failed =
        screen.runTestsOnDisplay(programBesideTests(QStringLiteral("media_tests")), "EngineDisplayOnX.*", child);
    EXPECT_TRUE(failed.isEmpty()) << failed.toStdString();
}

// The child run, on the display the parent started.
TEST(EngineDisplayOnX, FailedRequestInAnEngineThread)
{
    if (!qEnvironmentVariableIsSet(ChildVariable))
        GTEST_SKIP() << "run by EngineDisplayTest on a display of its own";
    ensureApplication();
    Xlib x;
    ASSERT_TRUE(x.open && x.close && x.sync && x.destroyWindow && x.setErrorHandler);
    QWidget window;
    window.show();
    QCoreApplication::processEvents();

    guardEngineDisplays();
    // An engine's output resets the error handling to the library's default,
    // which ends the process on the first failed request.
    EXPECT_NE(x.setErrorHandler(nullptr), nullptr);
    guardEngineDisplays();
    std::thread([&] {
        void *display = x.open(qgetenv("DISPLAY").constData());
        ASSERT_NE(display, nullptr);
        x.destroyWindow(display, 0x7fffff);  // no such window
        x.sync(display, 0);
        x.close(display);  // an engine closes its connection as it ends
    }).join();

    // The program and its own connection go on.
    window.resize(200, 100);
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.isVisible());
}
