// Starts the real Harlune program on a virtual X display, clicks it as a user
// would, and checks what it shows (a screenshot) and what it writes.
#include "KcdTestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <functional>

#include <dlfcn.h>
#include <unistd.h>

namespace {

// Pointer clicks through the X test extension, loaded at run time so that the
// build needs no X headers.
class XPointer
{
public:
    explicit XPointer(const QByteArray& display)
    {
        m_x11 = dlopen("libX11.so.6", RTLD_NOW);
        m_xtst = dlopen("libXtst.so.6", RTLD_NOW);
        if (!m_x11 || !m_xtst)
            return;
        openDisplay = reinterpret_cast<OpenDisplay>(dlsym(m_x11, "XOpenDisplay"));
        flush = reinterpret_cast<Flush>(dlsym(m_x11, "XFlush"));
        closeDisplay = reinterpret_cast<Flush>(dlsym(m_x11, "XCloseDisplay"));
        motion = reinterpret_cast<Motion>(dlsym(m_xtst, "XTestFakeMotionEvent"));
        button = reinterpret_cast<Button>(dlsym(m_xtst, "XTestFakeButtonEvent"));
        if (openDisplay && flush && closeDisplay && motion && button)
            m_display = openDisplay(display.constData());
    }
    ~XPointer()
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

private:
    using OpenDisplay = void* (*)(const char*);
    using Flush = int (*)(void*);
    using Motion = int (*)(void*, int, int, int, unsigned long);
    using Button = int (*)(void*, unsigned int, int, unsigned long);
    void* m_x11 = nullptr;
    void* m_xtst = nullptr;
    void* m_display = nullptr;
    OpenDisplay openDisplay = nullptr;
    Flush flush = nullptr;
    Flush closeDisplay = nullptr;
    Motion motion = nullptr;
    Button button = nullptr;
};

QString programBeside(const QString& name)
{
    return QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget().section(u'/', 0, -2) + u'/' + name;
}

// Dark pixels (text) in a part of the picture.
int darkPixels(const QImage& image, const QRect& area)
{
    int dark = 0;
    for (int y = area.top(); y <= area.bottom() && y < image.height(); ++y)
        for (int x = area.left(); x <= area.right() && x < image.width(); ++x)
            dark += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
    return dark;
}

class HarluneEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        m_import = QStandardPaths::findExecutable(QStringLiteral("import"));
        if (xvfb.isEmpty() || m_import.isEmpty())
            GTEST_SKIP() << "Xvfb or ImageMagick's import is not installed";
        for (int number = 140 + getpid() % 50; number < 400 && m_display.isEmpty(); ++number) {
            if (!QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)))
                m_display = QStringLiteral(":%1").arg(number);
        }
        m_xvfb.start(xvfb, {m_display, QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1024x700x24"),
                            QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        const QString socket = QStringLiteral("/tmp/.X11-unix/X") + m_display.mid(1);
        QElapsedTimer waited;
        waited.start();
        while (!QFileInfo::exists(socket) && waited.elapsed() < 10000)
            QThread::msleep(50);
        if (!QFileInfo::exists(socket))
            GTEST_SKIP() << "the virtual display did not start";
    }

    void TearDown() override
    {
        if (m_harlune.state() != QProcess::NotRunning) {
            m_harlune.kill();
            m_harlune.waitForFinished(3000);
        }
        if (m_xvfb.state() != QProcess::NotRunning) {
            m_xvfb.terminate();
            m_xvfb.waitForFinished(3000);
        }
    }

    void startHarlune()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_display);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("PELLORAN_PROGRAM_DIR"), m_program.path());
        m_harlune.setProcessEnvironment(env);
        m_harlune.start(programBeside(QStringLiteral("Harlune")), {});
        ASSERT_TRUE(m_harlune.waitForStarted(5000));
        // The bare display is black until the window is drawn on it.
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 20000) {
            const QImage shot = screenshot(m_program.filePath(QStringLiteral("start.png")));
            if (!shot.isNull() && qGray(shot.pixel(450, 300)) > 100)
                break;
            QThread::msleep(300);
        }
        QThread::msleep(500);
    }

    static void waitFor(const std::function<bool()>& done, int timeoutMs)
    {
        QElapsedTimer waited;
        waited.start();
        while (!done() && waited.elapsed() < timeoutMs)
            QThread::msleep(100);
    }

    QImage screenshot(const QString& path)
    {
        QProcess import;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_display);
        import.setProcessEnvironment(env);
        import.start(m_import, {QStringLiteral("-window"), QStringLiteral("root"), path});
        import.waitForFinished(10000);
        return QImage(path);
    }

    QTemporaryDir m_program;
    QString m_display;
    QString m_import;
    QProcess m_xvfb;
    QProcess m_harlune;
};

} // namespace

TEST_F(HarluneEndToEnd, ShowsFilesSongsAndLinesAndConvertsTheFolder)
{
    const QString songs = m_program.filePath(QStringLiteral("歌詞"));
    QDir().mkpath(songs);
    KcdTestFiles::writeKcd(songs + QStringLiteral("/01情歌.KCD"), KcdTestFiles::albumOfTwoSongs(QStringLiteral("情歌精選")));
    KcdTestFiles::writeKcd(songs + QStringLiteral("/02老歌.KCD"), KcdTestFiles::albumOfTwoSongs(QStringLiteral("懷念老歌")));
    KcdTestFiles::writeKcd(songs + QStringLiteral("/03兒歌.KCD"),
                           {QStringLiteral("10,小星星＠兒歌＠"), QStringLiteral("00:05:0 ,一閃一閃＠"),
                            QStringLiteral("11,沒有時間")});
    startHarlune();
    XPointer pointer(m_display.toLocal8Bit());
    ASSERT_TRUE(pointer.usable()) << "the X test extension could not be loaded";

    // The window sits at the top left of the display: songs in the middle
    // column, lines in the right one, buttons along the bottom.
    const QRect linesArea(565, 15, 320, 110);
    const QImage before = screenshot(m_program.filePath(QStringLiteral("before.png")));
    ASSERT_FALSE(before.isNull());
    pointer.click(390, 45); // the first song
    const QString shotPath = programBeside(QStringLiteral("harlune-screenshot.png"));
    QImage shown;
    waitFor([&] {
        shown = screenshot(shotPath);
        return !shown.isNull() && darkPixels(shown, linesArea) > 200;
    }, 8000);
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(darkPixels(before, linesArea), 0);
    EXPECT_GT(darkPixels(shown, linesArea), 200) << "no song lines shown; see " << shotPath.toStdString();
    EXPECT_GT(darkPixels(shown, QRect(340, 38, 210, 35)), 100) << "no songs listed";
    EXPECT_GT(darkPixels(shown, QRect(11, 500, 80, 16)), 20) << "no file count shown";

    pointer.click(60, 253);  // the second file
    pointer.click(273, 536); // convert the folder from it
    const QString logPath = m_program.filePath(QStringLiteral("Harlune.logo"));
    waitFor([&] { return KcdTestFiles::readBytes(logPath).endsWith("\r\n"); }, 15000);
    QThread::msleep(500);
    EXPECT_FALSE(QFileInfo::exists(m_program.filePath(QStringLiteral("SongLib/情歌精選"))));
    EXPECT_EQ(QDir(m_program.filePath(QStringLiteral("SongLib/懷念老歌"))).entryList(QDir::Files).size(), 2);
    EXPECT_EQ(QDir(m_program.filePath(QStringLiteral("SongLib/兒歌"))).entryList(QDir::Files).size(), 1);
    EXPECT_EQ(KcdTestFiles::readBytes(logPath),
              QByteArray("03") + Cp950::encode(QStringLiteral("兒歌")) + ".KCD 02_" +
                  Cp950::encode(QStringLiteral("沒有時間")) + ".txt\r\n");
    screenshot(programBeside(QStringLiteral("harlune-after-batch.png")));

    pointer.click(803, 536); // 結束
    EXPECT_TRUE(m_harlune.waitForFinished(5000));
}
