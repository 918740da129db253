// Discs as a user meets them (video CDs, audio CDs, mixed discs): the real player on its own X display with
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
#include <QRegularExpression>
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
        for (const char *name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
            m_saved[name] = qgetenv(name);
        qputenv("HOME", m_root.filePath("home").toUtf8());
        qputenv("XDG_RUNTIME_DIR", m_root.filePath("runtime").toUtf8());
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

    void startPlayer(const QString &disc, const char *messageBoxAnswer = "7")
    {
        QProcessEnvironment env = m_screen.programEnvironment();
        env.remove("PELLORAN_MEDIA");  // the real back end
        env.insert("PELLORAN_CD_DEVICE", disc);
        env.insert("PELLORAN_PROGRAM_DIR", m_program);
        env.insert("PELLORAN_TEST_CONTROL", "1");
        env.insert("PELLORAN_MSGBOX_ANSWER", messageBoxAnswer);
        env.insert("HOME", m_root.filePath("home"));
        env.insert("XDG_CONFIG_HOME", m_root.filePath("config"));
        env.insert("XDG_DATA_HOME", m_root.filePath("data"));
        env.insert("XDG_RUNTIME_DIR", m_root.filePath("runtime"));
        m_player.setProcessEnvironment(env);
        m_player.setProcessChannelMode(QProcess::MergedChannels);
        m_player.start(programBesideTests("Tavrin"), {});
        ASSERT_TRUE(m_player.waitForStarted(EventWaitMs));
    }

    // What the panel shows, as the player's test command writes it.
    QMap<QString, QString> panel()
    {
        const QString file = m_root.filePath("state.txt");
        QFile::remove(file);
        QMap<QString, QString> values;
        if (!InstanceGuard::send("state " + file) || !holdsWithin([&] { return QFile::exists(file); }, EventWaitMs))
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
        ASSERT_TRUE(holdsWithin([&] { return shown("Label1") == "請選擇播放曲目 1~2"; }, EventWaitMs)) << why();
        EXPECT_EQ(shown("MediaKind"), "VCD");

        // Number key 1: track 1 plays, moving pictures in the picture area.
        ASSERT_TRUE(InstanceGuard::send("key PicNum 0"));
        ASSERT_TRUE(holdsWithin([&] { return shown("Label2(2)") == "AVSEQ01.DAT" && shown("Label2(0)") >= "00:00:01"; },
                                EventWaitMs))
            << why();
        EXPECT_EQ(shown("Label2(1)"), "00:00:06");
        const QRect area = pictureArea();
        ASSERT_TRUE(area.isValid());
        // The pictures move: a later screenshot differs in a tenth of the area (a busy machine
        // may show the same frame for a while, so it is looked at again until it does).
        const QImage first = m_screen.screenshot(m_root.filePath("first.png"));
        ASSERT_FALSE(first.isNull());
        int changed = 0;
        holdsWithin(
            [&] {
                const QImage later = m_screen.screenshot(m_root.filePath("second.png"));
                changed = later.size() == first.size() ? changedPixels(first, later, area) : 0;
                return changed > area.width() * area.height() / 4 / 10;
            },
            10000);
        EXPECT_GT(changed, area.width() * area.height() / 4 / 10)
            << "picture area " << area.x() << "," << area.y() << " " << area.width() << "x" << area.height();

        // The seek knob dragged to the start of its track seeks back.
        ASSERT_TRUE(holdsWithin([&] { return shown("Label2(0)") >= "00:00:03"; }, EventWaitMs));
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
        ASSERT_TRUE(holdsWithin([&] { return shown("Label2(2)") == "AVSEQ02.DAT"; }, EventWaitMs)) << why();
        EXPECT_TRUE(holdsWithin([&] { return shown("Label2(1)") == "00:00:03"; }, EventWaitMs));
        EXPECT_TRUE(holdsWithin([&] { return shown("Label2(2)") == "AVSEQ01.DAT"; }, EventWaitMs)) << why();
        EXPECT_EQ(m_player.state(), QProcess::Running);
    }

    // The player's start-up probe logs the disc's key, which names its lyric folder.
    QString discKeyFromLog()
    {
        const QRegularExpression found(QStringLiteral("找到裝置序號\\s*([0-9A-F]{4}-[0-9A-F]{4})"));
        const auto match = found.match(Cp950::readTextFile(m_program + "/Quorvel.log"));
        return match.hasMatch() ? match.captured(1) : QString();
    }

    bool quitPlayer()
    {
        return InstanceGuard::send("quit") && m_player.waitForFinished(30000) && m_player.exitCode() == 0;
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

// A damaged disc in the drive, its file system unreadable: at every start the
// player probes it, finds nothing to play, says so as for any such disc, and
// goes on until it is told to quit.
TEST_F(VideoCdEndToEnd, ADamagedVideoCdImageAsTheDrive)
{
    QString failure;
    const QString cue = makeVideoCdImage(m_root.path(), {1}, &failure);
    ASSERT_FALSE(cue.isEmpty()) << failure.toStdString();
    for (const VideoCdDamage damage : kUnreadableFileSystems) {
        SCOPED_TRACE(damageName(damage));
        const QString folder = m_root.filePath(damageName(damage));
        QDir().mkpath(folder);
        const QString damaged = damagedVideoCdImage(cue, folder, damage);
        ASSERT_FALSE(damaged.isEmpty());
        startPlayer(damaged);
        holdsWithin([&] { return m_player.state() == QProcess::NotRunning || shown("MediaKind") == "CDROM"; }, 60000);
        ASSERT_EQ(shown("MediaKind"), "CDROM") << why();
        EXPECT_TRUE(Cp950::readTextFile(m_program + "/Quorvel.log").contains("在" + damaged + "上找不到可供播放的媒體"))
            << why();
        ASSERT_TRUE(InstanceGuard::send("quit"));
        ASSERT_TRUE(m_player.waitForFinished(30000)) << why();
        EXPECT_EQ(m_player.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(m_player.exitCode(), 0) << why();
    }
}

} // namespace

// An audio CD image as the drive, on the real back end: the probe finds it, a number key plays
// a track with its lyrics from the disc's own lyric folder, the knob seeks, the next and
// previous keys change the track; then a mixed disc (a data track before its sound) is asked
// about and plays its audio track.
TEST_F(VideoCdEndToEnd, AnAudioCdImageAndAMixedDiscAsTheDrive)
{
    QString failure;
    const QString audio = m_root.filePath("audio");
    QDir().mkpath(audio);
    // Track 1 is long enough that the knob, not the end of the track, brings the time back.
    const QString cue = makeAudioCdImage(audio, {40, 4}, &failure);
    ASSERT_FALSE(cue.isEmpty()) << failure.toStdString();
    startPlayer(cue);
    // The start-up probe finds the disc and plays it from its first track.
    ASSERT_TRUE(holdsWithin([&] { return shown("MediaKind") == "CDAudio" && shown("Label2(2)") == "<1>"; }, EventWaitMs))
        << why();
    EXPECT_TRUE(Cp950::readTextFile(m_program + "/Quorvel.log").contains("找到音樂光碟 "));
    const QString key = discKeyFromLog();
    ASSERT_FALSE(key.isEmpty()) << why();
    const QString lyricFolder = m_root.filePath("data/Pelloran/Temp/" + key);
    ASSERT_TRUE(QDir().mkpath(lyricFolder));
    ASSERT_TRUE(Cp950::writeTextFile(lyricFolder + "/Track01.txt",
                                     Cp950::joinCrLf({"第一首", "00:00:5第一句", "00:02:0第二句"})));

    // Number key 1 starts the track again, now with its lyric lines.
    ASSERT_TRUE(InstanceGuard::send("key PicNum 0"));
    EXPECT_TRUE(holdsWithin([&] { return shown("Label1") == "第二句"; }, EventWaitMs)) << why();

    // The knob dragged to the start of its groove goes back in the track.
    ASSERT_TRUE(holdsWithin([&] { return shown("Label2(0)") >= "00:04"; }, EventWaitMs)) << why();
    const QString before = shown("Label2(0)");
    const QRect knob = keyRect("PicCtl(9)");
    const QRect groove = keyRect("PicCtl(13)");
    XInput pointer(m_screen.display().toLocal8Bit());
    ASSERT_TRUE(pointer.usable());
    pointer.drag(QPoint(knob.right() - 3, knob.center().y()), QPoint(groove.left(), knob.center().y()));
    EXPECT_TRUE(holdsWithin([&] { return shown("Label2(0)") < before && shown("Label2(2)") == "<1>"; }, EventWaitMs))
        << before.toStdString() << " " << why();

    // Next and previous track.
    ASSERT_TRUE(InstanceGuard::send("key PicCtl 11"));
    EXPECT_TRUE(holdsWithin([&] { return shown("Label2(2)") == "<2>"; }, EventWaitMs)) << why();
    ASSERT_TRUE(InstanceGuard::send("key PicCtl 10"));
    EXPECT_TRUE(holdsWithin([&] { return shown("Label2(2)") == "<1>"; }, EventWaitMs)) << why();
    ASSERT_TRUE(quitPlayer()) << why();

    // A mixed disc: four seconds of data, then the first track's sound.
    QFile sound(audio + "/audio.bin");
    ASSERT_TRUE(sound.open(QIODevice::ReadOnly));
    QFile mixed(audio + "/mixed.bin");
    ASSERT_TRUE(mixed.open(QIODevice::WriteOnly));
    mixed.write(QByteArray(300 * 2352, '\0'));
    mixed.write(sound.read(8 * 75 * 2352));
    mixed.close();
    QFile sheet(audio + "/mixed.cue");
    ASSERT_TRUE(sheet.open(QIODevice::WriteOnly));
    sheet.write("FILE \"mixed.bin\" BINARY\n  TRACK 01 MODE1/2352\n    INDEX 01 00:00:00\n"
                "  TRACK 02 AUDIO\n    INDEX 01 00:04:00\n");
    sheet.close();
    QSettings(m_root.filePath("config/Pelloran/Quorvel V1.1.conf"), QSettings::IniFormat).setValue("GameCD", "1");
    startPlayer(sheet.fileName(), "6");  // "找到混合光碟 ... 是否要播放音軌 ?" answered Yes
    ASSERT_TRUE(holdsWithin([&] { return shown("MediaKind") == "CDAudio"; }, EventWaitMs)) << why();
    EXPECT_TRUE(Cp950::readTextFile(m_program + "/Quorvel.log").contains("找到混合光碟"));
    ASSERT_TRUE(InstanceGuard::send("key PicNum 1"));
    EXPECT_TRUE(holdsWithin([&] { return shown("Label2(2)") == "<2>" && shown("Label2(0)") >= "00:01"; }, EventWaitMs))
        << why();
    EXPECT_TRUE(quitPlayer()) << why();
}
