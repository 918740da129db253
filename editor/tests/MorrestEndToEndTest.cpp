// Starts the real Morrest on a virtual X display, opens a panel from the
// recent-files list as a user would, looks at the screen and closes it.
#include "EditorTestSupport.h"

#include "Cp950.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <dlfcn.h>
#include <unistd.h>

namespace {

// Pointer and keys through the X test extension, loaded at run time so that
// the build needs no X headers.
class XInput
{
public:
    explicit XInput(const QByteArray &display)
    {
        m_x11 = dlopen("libX11.so.6", RTLD_NOW);
        m_xtst = dlopen("libXtst.so.6", RTLD_NOW);
        if (!m_x11 || !m_xtst)
            return;
        openDisplay = reinterpret_cast<OpenDisplay>(dlsym(m_x11, "XOpenDisplay"));
        flush = reinterpret_cast<Flush>(dlsym(m_x11, "XFlush"));
        closeDisplay = reinterpret_cast<Flush>(dlsym(m_x11, "XCloseDisplay"));
        keycode = reinterpret_cast<Keycode>(dlsym(m_x11, "XKeysymToKeycode"));
        motion = reinterpret_cast<Motion>(dlsym(m_xtst, "XTestFakeMotionEvent"));
        button = reinterpret_cast<Button>(dlsym(m_xtst, "XTestFakeButtonEvent"));
        key = reinterpret_cast<Button>(dlsym(m_xtst, "XTestFakeKeyEvent"));
        if (openDisplay && flush && closeDisplay && keycode && motion && button && key)
            m_display = openDisplay(display.constData());
    }
    ~XInput()
    {
        if (m_display)
            closeDisplay(m_display);
    }
    bool usable() const { return m_display != nullptr; }

    void click(int x, int y)
    {
        motion(m_display, -1, x, y, 0);
        flush(m_display);
        QThread::msleep(150);
        button(m_display, 1, 1, 0);
        flush(m_display);
        QThread::msleep(50);
        button(m_display, 1, 0, 0);
        flush(m_display);
        QThread::msleep(400);
    }
    void type(unsigned long keysym, unsigned long modifier = 0)
    {
        const unsigned int mod = modifier ? keycode(m_display, modifier) : 0;
        const unsigned int code = keycode(m_display, keysym);
        if (mod)
            key(m_display, mod, 1, 0);
        key(m_display, code, 1, 0);
        key(m_display, code, 0, 0);
        if (mod)
            key(m_display, mod, 0, 0);
        flush(m_display);
        QThread::msleep(200);
    }

private:
    using OpenDisplay = void *(*)(const char *);
    using Flush = int (*)(void *);
    using Keycode = unsigned char (*)(void *, unsigned long);
    using Motion = int (*)(void *, int, int, int, unsigned long);
    using Button = int (*)(void *, unsigned int, int, unsigned long);
    void *m_x11 = nullptr;
    void *m_xtst = nullptr;
    void *m_display = nullptr;
    OpenDisplay openDisplay = nullptr;
    Flush flush = nullptr;
    Flush closeDisplay = nullptr;
    Keycode keycode = nullptr;
    Motion motion = nullptr;
    Button button = nullptr;
    Button key = nullptr;
};

constexpr unsigned long KeyDown = 0xff54, KeyReturn = 0xff0d, KeyQ = 0x71, KeyControl = 0xffe3;

QString programBeside(const QString &name)
{
    return QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget().section(u'/', 0, -2) + u'/' + name;
}

// Pixels of many different colours: a drawn panel, not a bare window.
int distinctColours(const QImage &image, const QRect &area)
{
    QSet<QRgb> colours;
    for (int y = area.top(); y <= area.bottom() && y < image.height(); y += 2)
        for (int x = area.left(); x <= area.right() && x < image.width(); x += 2)
            colours.insert(image.pixel(x, y));
    return colours.size();
}

void copyFolder(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files);
    while (it.hasNext()) {
        it.next();
        QFile::copy(it.filePath(), to + QLatin1Char('/') + it.fileName());
    }
}

class MorrestEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        m_import = QStandardPaths::findExecutable(QStringLiteral("import"));
        if (xvfb.isEmpty() || m_import.isEmpty())
            GTEST_SKIP() << "Xvfb or ImageMagick's import is not installed";
        // A display of our own: a number another run took makes our server end, and the next is tried.
        for (int number = 600 + getpid() % 50; number < 700 && m_display.isEmpty(); ++number) {
            if (QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)))
                continue;
            const QString display = QStringLiteral(":%1").arg(number);
            m_xvfb.start(xvfb, {display, QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1024x768x24"),
                                QStringLiteral("-nolisten"), QStringLiteral("tcp")});
            if (!m_xvfb.waitForStarted(5000))
                continue;
            const QString socket = QStringLiteral("/tmp/.X11-unix/X") + display.mid(1);
            QElapsedTimer waited;
            waited.start();
            bool ended = false;
            while (!QFileInfo::exists(socket) && waited.elapsed() < 10000 && !ended)
                ended = m_xvfb.waitForFinished(50);
            // A server that lost the number to another one ends at once.
            ended = ended || m_xvfb.waitForFinished(300);
            if (!ended && QFileInfo::exists(socket)) {
                m_display = display;
            } else if (!ended) {
                m_xvfb.kill();
                m_xvfb.waitForFinished(3000);
            }
        }
        if (m_display.isEmpty())
            GTEST_SKIP() << "the virtual display did not start";

        const QString shipped = shippedProgramFolder();
        for (const char *folder : {"Skin", "Button Mask", "Desk"})
            copyFolder(shipped + u'/' + QString::fromLatin1(folder), m_program.filePath(QString::fromLatin1(folder)));
        QFile::copy(shipped + QStringLiteral("/ReadMe.rtf"), m_program.filePath(QStringLiteral("ReadMe.rtf")));
    }

    void TearDown() override
    {
        if (m_morrest.state() != QProcess::NotRunning) {
            m_morrest.kill();
            m_morrest.waitForFinished(3000);
        }
        if (m_xvfb.state() != QProcess::NotRunning) {
            m_xvfb.terminate();
            m_xvfb.waitForFinished(3000);
        }
    }

    QString settingsFile() const { return m_home.filePath(QStringLiteral("config/Pelloran/Quorvel Editor.conf")); }
    QString panelPicture() const { return m_program.filePath(QStringLiteral("Skin/Quorvel.JPG")); }

    // The settings a user left: the panel among the recent files, the window at the top left.
    void writeSettings()
    {
        QDir().mkpath(QFileInfo(settingsFile()).path());
        QFile file(settingsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[General]\nEditFile1=" + panelPicture().toUtf8() +
                   "\nEditLeft=0\nEditTop=0\nEditWidth=14400\nEditHeight=10500\n");
    }

    void startMorrest()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_display);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("PELLORAN_PROGRAM_DIR"), m_program.path());
        env.insert(QStringLiteral("HOME"), m_home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
        m_morrest.setProcessEnvironment(env);
        m_morrest.start(programBeside(QStringLiteral("Morrest")), {});
        ASSERT_TRUE(m_morrest.waitForStarted(5000));
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 20000) {
            const QImage shot = screenshot(QStringLiteral("start.png"));
            if (!shot.isNull() && distinctColours(shot, QRect(0, 0, 300, 60)) > 3)
                return;
            QThread::msleep(200);
        }
        FAIL() << "Morrest showed no window";
    }

    QImage screenshot(const QString &name)
    {
        const QString path = m_program.filePath(name);
        QProcess import;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_display);
        import.setProcessEnvironment(env);
        import.start(m_import, {QStringLiteral("-window"), QStringLiteral("root"), path});
        import.waitForFinished(10000);
        return QImage(path);
    }

    QString logText() const
    {
        QFile log(m_program.filePath(QStringLiteral("Quorvel.log")));
        return log.open(QIODevice::ReadOnly) ? Cp950::decode(log.readAll()) : QString();
    }

    QString m_display;
    QString m_import;
    QProcess m_xvfb;
    QProcess m_morrest;
    QTemporaryDir m_program;
    QTemporaryDir m_home;
};

}  // namespace

TEST_F(MorrestEndToEnd, OpensARecentPanelShowsItAndKeepsItsPlaceAtExit)
{
    writeSettings();
    startMorrest();
    XInput input(m_display.toLatin1());
    ASSERT_TRUE(input.usable()) << "no X test extension";

    // 檔案 → the first recent file (the items between are disabled or hidden).
    input.click(20, 10);
    input.type(KeyDown);
    input.type(KeyDown);
    input.type(KeyReturn);
    QElapsedTimer waited;
    waited.start();
    while (!logText().contains(QStringLiteral("面板設定檔讀取完成")) && waited.elapsed() < 20000)
        QThread::msleep(200);
    EXPECT_TRUE(logText().contains(QStringLiteral("面板設定檔讀取完成")));
    QThread::msleep(1500);

    const QImage shot = screenshot(QStringLiteral("panel.png"));
    ASSERT_FALSE(shot.isNull());
    shot.save(testOutputFolder() + QStringLiteral("/morrest-end-to-end.png"));
    // The panel is drawn on the canvas in the top left of the main window.
    EXPECT_GT(distinctColours(shot, QRect(10, 100, 260, 300)), 40);

    // Ctrl+Q ends the program and stores the window and the recent files.
    input.click(600, 10);  // the menu bar, nothing under it
    input.type(KeyQ, KeyControl);
    if (!m_morrest.waitForFinished(10000)) {
        ADD_FAILURE() << "Morrest did not end on Ctrl+Q";
        return;
    }
    QFile settings(settingsFile());
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    const QString stored = QString::fromUtf8(settings.readAll());
    EXPECT_TRUE(stored.contains(QStringLiteral("EditFile1=") + panelPicture())) << stored.toStdString();
    EXPECT_TRUE(stored.contains(QStringLiteral("EditLeft=0"))) << stored.toStdString();
    EXPECT_TRUE(stored.contains(QStringLiteral("EditWidth=14400"))) << stored.toStdString();
}
