#include "XDisplaySession.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <dlfcn.h>
#include <unistd.h>

QString programBesideTests(const QString &name)
{
    return QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget().section(u'/', 0, -2) + u'/' + name;
}

void waitUntil(const std::function<bool()> &done, int timeoutMs, int pollMs)
{
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < timeoutMs)
        QThread::msleep(pollMs);
}

XDisplaySession::~XDisplaySession()
{
    stop();
}

QString XDisplaySession::start(DisplayNumbers numbers, QSize screen)
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    m_import = QStandardPaths::findExecutable(QStringLiteral("import"));
    if (xvfb.isEmpty() || m_import.isEmpty())
        return QStringLiteral("Xvfb or ImageMagick's import is not installed");
    for (int number = numbers.first + getpid() % 50; number < numbers.end && m_display.isEmpty(); ++number) {
        if (QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)))
            continue;
        const QString display = QStringLiteral(":%1").arg(number);
        if (tryDisplay(xvfb, display, screen))
            m_display = display;
    }
    return m_display.isEmpty() ? QStringLiteral("the virtual display did not start") : QString();
}

// A number another run took makes our server end at once, and the caller tries the next.
bool XDisplaySession::tryDisplay(const QString &xvfb, const QString &display, QSize screen)
{
    const QString geometry = QStringLiteral("%1x%2x24").arg(screen.width()).arg(screen.height());
    m_xvfb.start(xvfb, {display, QStringLiteral("-screen"), QStringLiteral("0"), geometry, QStringLiteral("-nolisten"),
                        QStringLiteral("tcp")});
    if (!m_xvfb.waitForStarted(5000))
        return false;
    const QString socket = QStringLiteral("/tmp/.X11-unix/X") + display.mid(1);
    QElapsedTimer waited;
    waited.start();
    bool ended = false;
    while (!QFileInfo::exists(socket) && waited.elapsed() < 10000 && !ended)
        ended = m_xvfb.waitForFinished(50);
    ended = ended || m_xvfb.waitForFinished(300);
    if (!ended && QFileInfo::exists(socket))
        return true;
    if (!ended) {
        m_xvfb.kill();
        m_xvfb.waitForFinished(3000);
    }
    return false;
}

QString XDisplaySession::runTestsOnDisplay(const QString &testProgram, const QString &gtestFilter,
                                           const QProcessEnvironment &extra, int timeoutMs) const
{
    QProcessEnvironment env = programEnvironment();
    env.insert(extra);
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(testProgram, {QStringLiteral("--gtest_filter=") + gtestFilter});
    const bool ended = child.waitForFinished(timeoutMs);
    const QString output = QString::fromLocal8Bit(child.readAll());
    const bool passed = ended && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0
                        && output.contains(QLatin1String("[  PASSED  ]")) && !output.contains(QLatin1String("SKIPPED"));
    return passed ? QString() : (ended ? output : QStringLiteral("the run did not end\n") + output);
}

void XDisplaySession::stop()
{
    if (m_xvfb.state() != QProcess::NotRunning) {
        m_xvfb.terminate();
        m_xvfb.waitForFinished(3000);
    }
}

QProcessEnvironment XDisplaySession::programEnvironment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    // The display is a session without a message bus, and says so: Qt asks for the session
    // bus the first time a widget's text changes (for the accessibility bridge), and with no
    // address libdbus forks the program to run a bus launcher. Under the sanitizers that child
    // can hang for good before it runs the launcher (the sanitizer runtime has no fork guard
    // for its allocator), and the program waits on it before it has logged a line. An
    // address where nobody listens is refused at once.
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=/nonexistent/session-bus"));
    return env;
}

QImage XDisplaySession::screenshot(const QString &path) const
{
    QProcess import;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    import.setProcessEnvironment(env);
    import.start(m_import, {QStringLiteral("-window"), QStringLiteral("root"), path});
    import.waitForFinished(10000);
    return QImage(path);
}

XInput::XInput(const QByteArray &display)
{
    m_x11 = dlopen("libX11.so.6", RTLD_NOW);
    m_xtst = dlopen("libXtst.so.6", RTLD_NOW);
    if (!m_x11 || !m_xtst)
        return;
    m_openDisplay = reinterpret_cast<OpenDisplay>(dlsym(m_x11, "XOpenDisplay"));
    m_flush = reinterpret_cast<Flush>(dlsym(m_x11, "XFlush"));
    m_closeDisplay = reinterpret_cast<Flush>(dlsym(m_x11, "XCloseDisplay"));
    m_keycode = reinterpret_cast<Keycode>(dlsym(m_x11, "XKeysymToKeycode"));
    m_motion = reinterpret_cast<Motion>(dlsym(m_xtst, "XTestFakeMotionEvent"));
    m_button = reinterpret_cast<Button>(dlsym(m_xtst, "XTestFakeButtonEvent"));
    m_key = reinterpret_cast<Button>(dlsym(m_xtst, "XTestFakeKeyEvent"));
    m_moveWindow = reinterpret_cast<MoveWindow>(dlsym(m_x11, "XMoveWindow"));
    if (m_openDisplay && m_flush && m_closeDisplay && m_keycode && m_motion && m_button && m_key && m_moveWindow)
        m_display = m_openDisplay(display.constData());
}

XInput::~XInput()
{
    if (m_display)
        m_closeDisplay(m_display);
}

void XInput::click(int x, int y, unsigned int button)
{
    moveTo(x, y);
    press(button);
    release(button);
}

void XInput::tap(int x, int y)
{
    moveTo(x, y);
    m_button(m_display, 1, 1, 0);
    m_button(m_display, 1, 0, 0);
    m_flush(m_display);
    QThread::msleep(400);
}

void XInput::moveTo(int x, int y)
{
    m_motion(m_display, -1, x, y, 0);
    m_flush(m_display);
    QThread::msleep(150);
}

void XInput::press(unsigned int button)
{
    m_button(m_display, button, 1, 0);
    m_flush(m_display);
    QThread::msleep(50);
}

void XInput::release(unsigned int button)
{
    m_button(m_display, button, 0, 0);
    m_flush(m_display);
    QThread::msleep(400);
}

void XInput::drag(QPoint from, QPoint to)
{
    constexpr int Steps = 8;
    moveTo(from.x(), from.y());
    press(1);
    for (int step = 1; step <= Steps; ++step) {
        const QPoint at = from + (to - from) * step / Steps;
        QThread::msleep(40);
        m_motion(m_display, -1, at.x(), at.y(), 0);
        m_flush(m_display);
    }
    QThread::msleep(100);
    release(1);
}

void XInput::type(unsigned long keysym, unsigned long modifier)
{
    const unsigned int mod = modifier ? m_keycode(m_display, modifier) : 0;
    const unsigned int code = m_keycode(m_display, keysym);
    if (mod)
        m_key(m_display, mod, 1, 0);
    m_key(m_display, code, 1, 0);
    m_key(m_display, code, 0, 0);
    if (mod)
        m_key(m_display, mod, 0, 0);
    m_flush(m_display);
    QThread::msleep(200);
}

void XInput::moveWindow(unsigned long window, int x, int y)
{
    m_moveWindow(m_display, window, x, y);
    m_flush(m_display);
    QThread::msleep(150);
}
