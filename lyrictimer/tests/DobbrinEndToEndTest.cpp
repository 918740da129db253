// Starts the real Dobbrin program on a virtual X display with the simulated
// media back end, looks at what it shows (screenshots), clicks it as a user
// would and checks what it keeps at shut-down.
#include "Cp950.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
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
    explicit XPointer(const QByteArray &display)
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
    using OpenDisplay = void *(*)(const char *);
    using Flush = int (*)(void *);
    using Motion = int (*)(void *, int, int, int, unsigned long);
    using Button = int (*)(void *, unsigned int, int, unsigned long);
    void *m_x11 = nullptr;
    void *m_xtst = nullptr;
    void *m_display = nullptr;
    OpenDisplay openDisplay = nullptr;
    Flush flush = nullptr;
    Flush closeDisplay = nullptr;
    Motion motion = nullptr;
    Button button = nullptr;
};

QString programBeside(const QString &name)
{
    return QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget().section(u'/', 0, -2) + u'/' + name;
}

QString outputFile(const QString &name)
{
    const QString folder = QStringLiteral(LYRICTIMER_TEST_OUTPUT);
    QDir().mkpath(folder);
    return folder + u'/' + name;
}

// Pixels of the current-line colour (yellow) in a part of the picture.
int yellowPixels(const QImage &image, const QRect &area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom() && y < image.height(); ++y)
        for (int x = area.left(); x <= area.right() && x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            count += qRed(p) > 200 && qGreen(p) > 200 && qBlue(p) < 90 ? 1 : 0;
        }
    return count;
}

class DobbrinEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        m_import = QStandardPaths::findExecutable(QStringLiteral("import"));
        const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
        if (xvfb.isEmpty() || m_import.isEmpty() || ffmpeg.isEmpty())
            GTEST_SKIP() << "Xvfb, ffmpeg or ImageMagick's import is not installed";
        makeSong(ffmpeg);
        for (int number = 460 + getpid() % 50; number < 700 && m_display.isEmpty(); ++number) {
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
        if (m_dobbrin.state() != QProcess::NotRunning) {
            m_dobbrin.kill();
            m_dobbrin.waitForFinished(3000);
        }
        if (m_xvfb.state() != QProcess::NotRunning) {
            m_xvfb.terminate();
            m_xvfb.waitForFinished(3000);
        }
    }

    void makeSong(const QString &ffmpeg)
    {
        QProcess make;
        make.start(ffmpeg, {QStringLiteral("-loglevel"), QStringLiteral("error"), QStringLiteral("-y"),
                            QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                            QStringLiteral("sine=frequency=440:duration=30"), QStringLiteral("-b:a"),
                            QStringLiteral("64k"), m_program.filePath(QStringLiteral("song.mp3"))});
        ASSERT_TRUE(make.waitForFinished(30000));
        const QStringList lyric = {QStringLiteral("好歌"), QStringLiteral("00:00:0第一句歌詞"),
                                   QStringLiteral("00:01:0第二句歌詞"), QStringLiteral("00:25:0第三句歌詞")};
        ASSERT_TRUE(Cp950::writeTextFile(m_program.filePath(QStringLiteral("song.txt")), Cp950::joinCrLf(lyric)));
    }

    void startDobbrin()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_display);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("PELLORAN_MEDIA"), QStringLiteral("sim"));
        env.insert(QStringLiteral("PELLORAN_PROGRAM_DIR"), m_program.path());
        env.insert(QStringLiteral("HOME"), m_home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
        m_dobbrin.setProcessEnvironment(env);
        m_dobbrin.start(programBeside(QStringLiteral("Dobbrin")), {});
        ASSERT_TRUE(m_dobbrin.waitForStarted(5000));
    }

    static void waitFor(const std::function<bool()> &done, int timeoutMs)
    {
        QElapsedTimer waited;
        waited.start();
        while (!done() && waited.elapsed() < timeoutMs)
            QThread::msleep(200);
    }

    QImage screenshot(const QString &path)
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
    QTemporaryDir m_home;
    QString m_display;
    QString m_import;
    QProcess m_xvfb;
    QProcess m_dobbrin;
};

} // namespace

TEST_F(DobbrinEndToEnd, PlaysTheFoldersSongShowsItsLyricAndKeepsColoursAtTheEnd)
{
    startDobbrin();
    XPointer pointer(m_display.toLocal8Bit());
    ASSERT_TRUE(pointer.usable()) << "the X test extension could not be loaded";

    // The window sits at the top left of the display; the current lyric line
    // is drawn in yellow below the buttons while the song plays.
    const QRect lyricLine(240, 204, 472, 64);
    const QString playShot = outputFile(QStringLiteral("dobbrin-play.png"));
    QImage shown;
    waitFor([&] {
        shown = screenshot(playShot);
        return !shown.isNull() && yellowPixels(shown, lyricLine) > 150;
    }, 20000);
    ASSERT_FALSE(shown.isNull());
    EXPECT_GT(yellowPixels(shown, lyricLine), 150) << "no lyric line shown; see " << playShot.toStdString();

    pointer.click(500, 78);  // "To 編輯模式": the lyric list replaces the big line
    const QString editShot = outputFile(QStringLiteral("dobbrin-edit.png"));
    waitFor([&] {
        shown = screenshot(editShot);
        return !shown.isNull() && yellowPixels(shown, lyricLine) < 50;
    }, 8000);
    EXPECT_LT(yellowPixels(shown, lyricLine), 50) << "still in play mode; see " << editShot.toStdString();

    pointer.click(459, 189);  // "結束"
    ASSERT_TRUE(m_dobbrin.waitForFinished(8000));
    EXPECT_EQ(m_dobbrin.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_dobbrin.exitCode(), 0);
    QFile settings(m_home.filePath(QStringLiteral("config/Pelloran/Dobbrin V1.0 Beta.conf")));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly)) << "no settings kept";
    const QByteArray kept = settings.readAll();
    EXPECT_TRUE(kept.contains("BackColor=4194304")) << kept.toStdString();
    EXPECT_TRUE(kept.contains("SongColor=65535")) << kept.toStdString();
    EXPECT_TRUE(kept.contains("SongColor1=49344")) << kept.toStdString();
}
