#pragma once
// For end-to-end tests that start a real program: a virtual X display of the
// test's own (Xvfb), screenshots of it (ImageMagick's import) and pointer and
// key input through the X test extension.

#include "EventWait.h"

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSize>
#include <QString>

#include <functional>

// A program built beside the running test executable.
QString programBesideTests(const QString &name);

// Calls done() every pollMs until it returns true or timeoutMs have passed.
void waitUntil(const std::function<bool()> &done, int timeoutMs, int pollMs = 100);

// Display numbers a test may take: from first + (process id % 50) up to, not
// including, end. Tests that may run at the same time use ranges of their own.
struct DisplayNumbers
{
    int first = 0;
    int end = 0;
};

class XDisplaySession
{
public:
    XDisplaySession() = default;
    XDisplaySession(const XDisplaySession &) = delete;
    XDisplaySession &operator=(const XDisplaySession &) = delete;
    ~XDisplaySession();

    // Empty when the display runs; otherwise why it could not (a reason to skip the test).
    QString start(DisplayNumbers numbers, QSize screen);
    void stop();

    QString display() const { return m_display; }
    // The system environment with the display set and Qt told to draw on it.
    QProcessEnvironment programEnvironment() const;
    // The whole screen saved to path and read back; a null image when that failed.
    QImage screenshot(const QString &path) const;
    // Runs the tests of a test program that gtestFilter names on this
    // display, with extra variables set; "" when they ran and passed, else
    // what the run wrote.
    QString runTestsOnDisplay(const QString &testProgram, const QString &gtestFilter,
                              const QProcessEnvironment &extra, int timeoutMs = 120000) const;

private:
    bool tryDisplay(const QString &xvfb, const QString &display, QSize screen);

    QString m_import;
    QString m_display;
    QProcess m_xvfb;
};

// Pointer and keys through the X test extension, loaded at run time so that
// the build needs no X headers.
class XInput
{
public:
    explicit XInput(const QByteArray &display);
    XInput(const XInput &) = delete;
    XInput &operator=(const XInput &) = delete;
    ~XInput();

    bool usable() const { return m_display != nullptr; }
    void click(int x, int y, unsigned int button = 1);
    // A quick click: press and release reach the program together, as a touchpad tap gives them.
    void tap(int x, int y);
    // The parts of a click and of a drag: the pointer moved, a button held down and let go.
    void moveTo(int x, int y);
    void press(unsigned int button = 1);
    void release(unsigned int button = 1);
    // Left button pressed at from, moved in steps to to, released there.
    void drag(QPoint from, QPoint to);
    // A key, with a held modifier key when one is given (both as X key symbols).
    void type(unsigned long keysym, unsigned long modifier = 0);
    // A top-level window moved to x, y, as a user drags it by its title bar (the test display
    // has no window manager to do it).
    void moveWindow(unsigned long window, int x, int y);

private:
    using OpenDisplay = void *(*)(const char *);
    using Flush = int (*)(void *);
    using Keycode = unsigned char (*)(void *, unsigned long);
    using Motion = int (*)(void *, int, int, int, unsigned long);
    using Button = int (*)(void *, unsigned int, int, unsigned long);
    using MoveWindow = int (*)(void *, unsigned long, int, int);

    void *m_x11 = nullptr;
    void *m_xtst = nullptr;
    void *m_display = nullptr;
    OpenDisplay m_openDisplay = nullptr;
    Flush m_flush = nullptr;
    Flush m_closeDisplay = nullptr;
    Keycode m_keycode = nullptr;
    Motion m_motion = nullptr;
    Button m_button = nullptr;
    Button m_key = nullptr;
    MoveWindow m_moveWindow = nullptr;
};
