// Video CDs as a user meets them: the real player on its own X display with
// the real back end (libmpv, libcdio), the disc named by PELLORAN_CD_DEVICE
// (a disc image made at test time, or a folder laid out as a mounted disc),
// driven by its number keys and its seek knob, checked by what its panel
// shows and by screenshots of its picture area.
#include "Cp950.h"
#include "InstanceGuard.h"
#include "MediaTestSupport.h"
#include "ModIniFile.h"
#include "XDisplaySession.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

// Waits up to ms for done() to hold; true when it does.
bool holdsWithin(const std::function<bool()> &done, int ms)
{
    waitUntil(done, ms, 100);
    return done();
}

bool copyFolder(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    for (const QString &name : QDir(from).entryList(QDir::Files))
        if (!QFile::copy(from + QLatin1Char('/') + name, to + QLatin1Char('/') + name))
            return false;
    return true;
}

// Pixels (every second one) that differ between two pictures inside area.
int changedPixels(const QImage &a, const QImage &b, const QRect &area)
{
    int changed = 0;
    for (int y = area.top(); y <= area.bottom(); y += 2)
        for (int x = area.left(); x <= area.right(); x += 2)
            changed += a.pixel(x, y) != b.pixel(x, y);
    return changed;
}

class VideoCdEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString unavailable = m_screen.start({700, 800}, QSize(1024, 768));
        ASSERT_TRUE(unavailable.isEmpty()) << unavailable.toStdString();
        const QString bin = QCoreApplication::applicationDirPath();
        m_program = m_root.filePath("program");
        for (const char *folder : {"Skin", "Button Mask", "Desk"})
            ASSERT_TRUE(copyFolder(bin + "/" + folder, m_program + "/" + folder));
        for (const char *folder : {"home", "config", "data", "runtime"})
            QDir().mkpath(m_root.filePath(folder));
        QFile::setPermissions(m_root.filePath("runtime"),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        // The player's settings: the readme was read; at start the optical
        // drive is searched and probed; a probe does not start playing; at
        // the end of the disc it starts again.
        QSettings settings(m_root.filePath("config/Pelloran/Quorvel V1.1.conf"), QSettings::IniFormat);
        settings.setValue("ReadMe", "1");
        settings.setValue("ScanType1", "True");
        settings.setValue("ScanType2", "False");
        settings.setValue("ScanType3", "False");
        settings.setValue("AutoPlay", "0");
        settings.setValue("StopMode1", "True");
        settings.setValue("StopMode2", "False");
        settings.setValue("StopMode3", "False");
        // This process reaches the player's socket through the player's folders.
        for (const char *name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"})
            m_saved[name] = qgetenv(name);
        qputenv("HOME", m_root.filePath("home").toUtf8());
        qputenv("XDG_CONFIG_HOME", m_root.filePath("config").toUtf8());
        qputenv("XDG_DATA_HOME", m_root.filePath("data").toUtf8());
    }

    void TearDown() override
    {
        if (m_player.state() != QProcess::NotRunning) {
            InstanceGuard::send("quit");
            if (!m_player.waitForFinished(10000)) {
                m_player.kill();
                m_player.waitForFinished(3000);
            }
        }
        for (const auto &[name, value] : m_saved.toStdMap())
            qputenv(name.constData(), value);
    }

    void startPlayer(const QString &disc)
    {
        QProcessEnvironment env = m_screen.programEnvironment();
        env.remove("PELLORAN_MEDIA");  // the real back end
        env.insert("PELLORAN_CD_DEVICE", disc);
        env.insert("PELLORAN_PROGRAM_DIR", m_program);
        env.insert("PELLORAN_TEST_CONTROL", "1");
        env.insert("PELLORAN_MSGBOX_ANSWER", "7");
        env.insert("HOME", m_root.filePath("home"));
        env.insert("XDG_CONFIG_HOME", m_root.filePath("config"));
        env.insert("XDG_DATA_HOME", m_root.filePath("data"));
        env.insert("XDG_RUNTIME_DIR", m_root.filePath("runtime"));
        m_player.setProcessEnvironment(env);
        m_player.setProcessChannelMode(QProcess::MergedChannels);
        m_player.start(programBesideTests("Tavrin"), {});
        ASSERT_TRUE(m_player.waitForStarted(5000));
    }

    // What the panel shows, as the player's test command writes it.
    QMap<QString, QString> panel()
    {
        const QString file = m_root.filePath("state.txt");
        QFile::remove(file);
        QMap<QString, QString> values;
        if (!InstanceGuard::send("state " + file) || !holdsWithin([&] { return QFile::exists(file); }, 3000))
            return values;
        QThread::msleep(50);
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            return values;
        for (const QString &line : QString::fromUtf8(f.readAll()).split('\n')) {
            const int eq = line.indexOf('=');
            if (eq > 0)
                values[line.left(eq)] = line.mid(eq + 1);
        }
        return values;
    }
    QString shown(const QString &name) { return panel().value(name); }
    std::string why()
    {
        const QStringList log = Cp950::readTextFile(m_program + "/Quorvel.log").split("\r\n");
        return (QStringList(panel().values()).join(" | ") + "\n" + log.mid(qMax(0, int(log.size()) - 25)).join("\n") + "\n"
                + QString::fromLocal8Bit(m_player.readAll()))
            .toStdString();
    }

    QRect keyRect(const QString &key)
    {
        const QStringList r = shown(key).split(' ');
        return r.size() == 4 ? QRect(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt()) : QRect();
    }

    // The panel's picture area on the screen: its place in the panel file,
    // placed as the panel's first control-bar key shows the panel placed.
    QRect pictureArea()
    {
        const QString ini = m_program + "/Skin/Quorvel.INI";
        const QRect key = keyRect("PicCtl(0)");
        const double zoom = key.width() / GetIniString(ini, "控制台", "W0").toDouble();
        const QPointF origin(key.x() - GetIniString(ini, "控制台", "X0").toDouble() * zoom,
                             key.y() - GetIniString(ini, "控制台", "Y0").toDouble() * zoom);
        const auto at = [&](const char *name) { return GetIniString(ini, "圖形", name).toDouble() * zoom; };
        return QRectF(origin.x() + at("X"), origin.y() + at("Y"), at("W"), at("H")).toRect().adjusted(4, 4, -4, -4);
    }

    // The disc in the drive has two tracks: 6 s and 3 s.
    void playTheDisc()
    {
        // The start-up probe finds the video CD and its two tracks.
        ASSERT_TRUE(holdsWithin([&] { return shown("Label1") == "請選擇播放曲目 1~2"; }, 30000)) << why();
        EXPECT_EQ(shown("MediaKind"), "VCD");

        // Number key 1: track 1 plays, moving pictures in the picture area.
        ASSERT_TRUE(InstanceGuard::send("key PicNum 0"));
        ASSERT_TRUE(holdsWithin([&] { return shown("Label2(2)") == "AVSEQ01.DAT" && shown("Label2(0)") >= "00:00:01"; },
                                10000))
            << why();
        EXPECT_EQ(shown("Label2(1)"), "00:00:06");
        const QRect area = pictureArea();
        ASSERT_TRUE(area.isValid());
        const QImage first = m_screen.screenshot(m_root.filePath("first.png"));
        QThread::msleep(700);
        const QImage second = m_screen.screenshot(m_root.filePath("second.png"));
        ASSERT_FALSE(first.isNull());
        ASSERT_EQ(first.size(), second.size());
        EXPECT_GT(changedPixels(first, second, area), area.width() * area.height() / 4 / 10)
            << "picture area " << area.x() << "," << area.y() << " " << area.width() << "x" << area.height();

        // The seek knob dragged to the start of its track seeks back.
        ASSERT_TRUE(holdsWithin([&] { return shown("Label2(0)") >= "00:00:03"; }, 5000));
        const QString before = shown("Label2(0)");
        const QRect knob = keyRect("PicCtl(9)");
        const QRect track = keyRect("PicCtl(13)");
        XInput pointer(m_screen.display().toLocal8Bit());
        ASSERT_TRUE(pointer.usable());
        // The knob moves right as the track plays: it is taken near its right edge.
        pointer.drag(QPoint(knob.right() - 3, knob.center().y()), QPoint(track.left(), knob.center().y()));
        QThread::msleep(1000);
        EXPECT_LT(shown("Label2(0)"), before) << why();
        EXPECT_EQ(shown("Label2(2)"), "AVSEQ01.DAT");

        // Number key 2: track 2 plays and shows its length; at its end, the
        // last of the disc, the disc starts again as the settings say.
        ASSERT_TRUE(InstanceGuard::send("key PicNum 1"));
        ASSERT_TRUE(holdsWithin([&] { return shown("Label2(2)") == "AVSEQ02.DAT"; }, 10000)) << why();
        EXPECT_TRUE(holdsWithin([&] { return shown("Label2(1)") == "00:00:03"; }, 3000));
        EXPECT_TRUE(holdsWithin([&] { return shown("Label2(2)") == "AVSEQ01.DAT"; }, 10000)) << why();
        EXPECT_EQ(m_player.state(), QProcess::Running);
    }

    QTemporaryDir m_root;
    QString m_program;
    XDisplaySession m_screen;
    QProcess m_player;
    QMap<QByteArray, QByteArray> m_saved;
};

TEST_F(VideoCdEndToEnd, AVideoCdImageAsTheDrive)
{
    QString failure;
    const QString cue = makeVideoCdImage(m_root.path(), {6, 3}, &failure);
    ASSERT_FALSE(cue.isEmpty()) << failure.toStdString();
    startPlayer(cue);
    playTheDisc();

    // The same panel chosen again in the panel browser: the picture area keeps its place and
    // the video, stopped while the browser was open, goes on.
    ASSERT_TRUE(InstanceGuard::send("key PicButton 2"));
    QStringList cell;
    ASSERT_TRUE(holdsWithin([&] { return (cell = shown("Picture1(3)").split(' ')).value(4) == "Quorvel.JPG"; }, 10000))
        << why();
    XInput pointer(m_screen.display().toLocal8Bit());
    ASSERT_TRUE(pointer.usable());
    pointer.click(cell[0].toInt() + cell[2].toInt() / 2, cell[1].toInt() + cell[3].toInt() / 2);
    ASSERT_TRUE(holdsWithin([&] { return !panel().contains("Picture1(0)"); }, 10000)) << "the browser closed";
    QString at;
    ASSERT_TRUE(holdsWithin([&] { return (at = shown("Label2(0)")) > "00:00:00"; }, 10000)) << "the video plays\n" << why();
    EXPECT_TRUE(holdsWithin([&] { return shown("Label2(0)") != at; }, 5000)) << why();
}

// A disc mounted at a folder whose file system delivers the tracks' data (as
// a disc copied to a hard disk, or mounted by a reader that gives Form 2
// data): the drive's root is that folder and the tracks are its files.
TEST_F(VideoCdEndToEnd, AFolderLaidOutAsAMountedDisc)
{
    QString failure;
    ASSERT_FALSE(makeVideoCdImage(m_root.path(), {6, 3}, &failure).isEmpty()) << failure.toStdString();
    const QString disc = m_root.filePath("VIDEOCD");
    ASSERT_TRUE(QDir().mkpath(disc + "/MPEGAV"));
    ASSERT_TRUE(QFile::copy(m_root.filePath("track1.mpg"), disc + "/MPEGAV/AVSEQ01.DAT"));
    ASSERT_TRUE(QFile::copy(m_root.filePath("track2.mpg"), disc + "/MPEGAV/AVSEQ02.DAT"));
    startPlayer(disc);
    playTheDisc();
}

} // namespace
