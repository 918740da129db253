// The player as a user meets it: a real Tavrin under Xvfb with a fresh configuration,
// driven through its test-control socket, checked by its log, its files and screenshots.

#include "ShellTestSupport.h"

#include "Cp950.h"
#include "EventWait.h"
#include "InstanceGuard.h"
#include "ModIniFile.h"
#include "ModRegist.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <unistd.h>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Points this process's view of the user folders at the player's for one scope, so that
// the registry store, the Windows folder and the instance socket are the player's.
class UserFolders
{
public:
    explicit UserFolders(const QString& root)
    {
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"}) m_saved[name] = qgetenv(name);
        qputenv("HOME", (root + "/home").toUtf8());
        qputenv("XDG_RUNTIME_DIR", (root + "/runtime").toUtf8());
        qputenv("XDG_CONFIG_HOME", (root + "/config").toUtf8());
        qputenv("XDG_DATA_HOME", (root + "/data").toUtf8());
    }
    ~UserFolders()
    {
        for (const auto& [name, value] : m_saved) qputenv(name.c_str(), value);
    }

private:
    std::map<std::string, QByteArray> m_saved;
};

bool waitFor(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < timeoutMs) {
        if (condition()) return true;
        QThread::msleep(100);
    }
    return condition();
}

class Player
{
public:
    Player(const QString& root, const QString& program) : m_root(root), m_program(program) {}

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", m_root + "/home");
        env.insert("XDG_CONFIG_HOME", m_root + "/config");
        env.insert("XDG_DATA_HOME", m_root + "/data");
        env.insert("XDG_RUNTIME_DIR", m_root + "/runtime");
        env.insert("PELLORAN_PROGRAM_DIR", m_program);
        env.insert("PELLORAN_TEST_CONTROL", "1");
        env.insert("PELLORAN_MEDIA", "sim");
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("PELLORAN_MSGBOX_ANSWER", "7");  // a question nobody expected is answered No
        env.remove("DISPLAY");
        for (auto it = m_overrides.cbegin(); it != m_overrides.cend(); ++it) {
            if (it.value().isEmpty())
                env.remove(it.key());
            else
                env.insert(it.key(), it.value());
        }
        return env;
    }
    // A variable of the player's environment for the next start; "" removes it.
    void setVariable(const QString& name, const QString& value) { m_overrides[name] = value; }

    // Starts Tavrin under its own X server; the display and its key land in a file.
    void start()
    {
        // Several X servers may start at once in a parallel test run: a start that loses the
        // race for a display number is tried again.
        bool up = false;
        for (int attempt = 0; attempt < 3 && !up; ++attempt) up = tryStart();
        ASSERT_TRUE(up) << output().toStdString();
        QFile f(m_root + "/display");
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = f.readAll().split('\n');
        m_display = QString::fromLocal8Bit(lines.value(0));
        m_xauthority = QString::fromLocal8Bit(lines.value(1));
        m_pid = lines.value(2).toLongLong();
    }

    bool tryStart()
    {
        kill();
        QFile::remove(m_root + "/display");
        m_process.setProcessEnvironment(environment());
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        const QString script =
            QString("printf '%s\\n%s\\n%s\\n' \"$DISPLAY\" \"$XAUTHORITY\" \"$$\" > '%1/display'; exec '%2'")
                                   .arg(m_root, executable());
        m_process.start("xvfb-run", {"-a", "-s", "-screen 0 1024x768x24", "bash", "-c", script});
        if (!m_process.waitForStarted(EventWaitMs)) return false;
        return waitFor([&] { return QFile(m_root + "/display").size() > 0; }, EventWaitMs) &&
               m_process.state() == QProcess::Running;
    }

    static QString executable() { return QCoreApplication::applicationDirPath() + "/Tavrin"; }

    QProcessEnvironment displayEnvironment() const
    {
        QProcessEnvironment env = environment();
        env.insert("DISPLAY", m_display);
        env.insert("XAUTHORITY", m_xauthority);
        return env;
    }

    bool screenshot(const QString& name) const
    {
        QProcess import;
        import.setProcessEnvironment(displayEnvironment());
        const QString file = ShellTest::outputFolder() + "/" + name;
        import.start("import", {"-window", "root", file});
        return import.waitForFinished(EventWaitMs) && import.exitCode() == 0 && QFile::exists(file);
    }

    // A real click at a screen position through the X server's test extension, as a user's
    // pointer gives it (button 1 left, 3 right), then the keys named by their X key symbols.
    bool pointerClick(const QPoint& at, int button = 1, const QList<int>& keySymbols = {}) const
    {
        QString keys;
        for (int symbol : keySymbols)
            keys += QString("k=x.XKeysymToKeycode(d,%1); t.XTestFakeKeyEvent(d,k,1,0); t.XTestFakeKeyEvent(d,k,0,0); "
                            "x.XFlush(d); time.sleep(0.2)\n")
                        .arg(symbol);
        const QString script = QString(
                                   "import ctypes,time\n"
                                   "x=ctypes.cdll.LoadLibrary('libX11.so.6'); t=ctypes.cdll.LoadLibrary('libXtst.so.6')\n"
                                   "x.XOpenDisplay.restype=ctypes.c_void_p\n"
                                   "d=ctypes.c_void_p(x.XOpenDisplay(None))\n"
                                   "t.XTestFakeMotionEvent(d,-1,%1,%2,0); x.XFlush(d); time.sleep(0.2)\n"
                                   "t.XTestFakeButtonEvent(d,%3,1,0); x.XFlush(d); time.sleep(0.1)\n"
                                   "t.XTestFakeButtonEvent(d,%3,0,0); x.XFlush(d); time.sleep(0.4)\n"
                                   "%4"
                                   "x.XCloseDisplay(d)\n")
                                   .arg(at.x())
                                   .arg(at.y())
                                   .arg(button)
                                   .arg(keys);
        QProcess python;
        python.setProcessEnvironment(displayEnvironment());
        python.setProcessChannelMode(QProcess::MergedChannels);
        python.start("python3", {"-c", script});
        const bool done = python.waitForFinished(EventWaitMs) && python.exitCode() == 0;
        if (!done) qWarning("pointer click failed: %s", python.readAll().constData());
        return done;
    }

    bool command(const QString& line) const
    {
        UserFolders folders(m_root);
        return InstanceGuard::send(line);
    }

    bool waitForEnd(int timeoutMs) { return m_process.waitForFinished(timeoutMs); }
    // A process signal to the player itself, as a kill, Ctrl+C or a closed terminal sends it.
    bool sendSignal(int number) const { return m_pid > 0 && ::kill(pid_t(m_pid), number) == 0; }
    qint64 pid() const { return m_pid; }
    QString output() { return QString::fromLocal8Bit(m_process.readAll()); }
    void kill()
    {
        // The player runs under xvfb-run: it is ended by its own number, not left behind.
        if (m_pid > 0 && m_process.state() != QProcess::NotRunning) ::kill(pid_t(m_pid), SIGKILL);
        m_pid = 0;
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(EventWaitMs);
        }
    }
    ~Player() { kill(); }

private:
    QString m_root;
    QString m_program;
    QMap<QString, QString> m_overrides;
    QProcess m_process;
    QString m_display;
    QString m_xauthority;
    qint64 m_pid = 0;
};

QStringList logOf(const QString& program)
{
    return Cp950::readTextFile(program + "/Quorvel.log").split("\r\n", Qt::SkipEmptyParts);
}

QStringList logTextsOf(const QString& program) { return ShellTest::logTexts(program); }

bool logHas(const QString& program, const QString& text) { return logTextsOf(program).contains(text); }

// The lines of `expected` appear in the log in this order.
void expectInOrder(const QStringList& log, const QStringList& expected)
{
    int last = -1;
    for (const QString& text : expected) {
        const int at = log.indexOf(text, last + 1);
        EXPECT_GT(at, last) << "missing or out of order: " << text.toStdString();
        if (at > last) last = at;
    }
}

bool copyFolder(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    const QDir source(from);
    for (const QString& name : source.entryList(QDir::Files)) {
        if (!QFile::copy(source.filePath(name), to + "/" + name)) return false;
    }
    return true;
}

// Counts the colours of a screenshot region, to tell a drawn panel from an empty screen.
int distinctColours(const QImage& image, const QRect& area)
{
    QSet<QRgb> colours;
    for (int y = area.top(); y < area.bottom(); y += 3)
        for (int x = area.left(); x < area.right(); x += 3) colours.insert(image.pixel(x, y));
    return colours.size();
}

// Why this machine cannot run the player on a display of its own, or "".
QString missingForEndToEnd()
{
    if (QStandardPaths::findExecutable("xvfb-run").isEmpty() || QStandardPaths::findExecutable("import").isEmpty())
        return "xvfb-run or import is not installed";
    const QString bin = QCoreApplication::applicationDirPath();
    if (!QFile::exists(Player::executable()) || !QDir(bin + "/Skin").exists())
        return "Tavrin and its panels are not built beside the tests";
    return {};
}

// Throw-away home, config, data and runtime folders under root, and a program folder
// holding the panels, masks and default panel built beside the tests.
bool makeUserAndProgramFolders(const QString& root, const QString& program)
{
    for (const char* folder : {"home", "config", "data", "runtime"}) QDir().mkpath(root + "/" + folder);
    QFile::setPermissions(root + "/runtime", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString bin = QCoreApplication::applicationDirPath();
    return copyFolder(bin + "/Skin", program + "/Skin") && copyFolder(bin + "/Button Mask", program + "/Button Mask") &&
           copyFolder(bin + "/Desk", program + "/Desk");
}

QString settingsFile(const QString& root) { return root + "/config/Pelloran/Quorvel V1.1.conf"; }

}  // namespace

// The real player on the test's X display, with a user home and a program folder of its own.
class EndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ShellTest::app();
        if (const QString missing = missingForEndToEnd(); !missing.isEmpty())
            GTEST_SKIP() << missing.toStdString();
        ASSERT_TRUE(makeUserAndProgramFolders(root.path(), program));
    }

    QTemporaryDir root;
    const QString program = root.filePath("program");
};

TEST_F(EndToEnd, FreshStartReadmeGatePanelSecondCopyAndOrderlyExit)
{
    const QString bin = QCoreApplication::applicationDirPath();
    QFile::copy(bin + "/ReadMe.rtf", program + "/ReadMe.rtf");
    QFile::remove(program + "/Skin/Button.ini");
    {
        UserFolders folders(root.path());
        SetAudioCDPlay("cdplayer --play %1");  // the system's autoplay command before the player
    }

    // ---- first start: the readme holds the start until its button is pressed
    Player player(root.path(), program);
    player.start();
    ASSERT_TRUE(waitFor([&] { return logHas(program, "開啟說明畫面"); }, EventWaitMs)) << player.output().toStdString();
    QThread::msleep(700);
    ASSERT_TRUE(player.screenshot("e2e-readme.png"));
    const QImage readmeShot(ShellTest::outputFolder() + "/e2e-readme.png");
    EXPECT_GT(distinctColours(readmeShot, QRect(0, 0, qMin(readmeShot.width(), 500), qMin(readmeShot.height(), 400))),
              5);
    EXPECT_FALSE(logHas(program, "結束說明畫面"));

    // ---- a second copy ends at once and leaves the log alone
    const QByteArray logBefore = [&] {
        QFile f(program + "/Quorvel.log");
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    QProcess second;
    second.setProcessEnvironment(player.displayEnvironment());
    second.start(Player::executable(), {});
    ASSERT_TRUE(second.waitForFinished(EventWaitMs));
    EXPECT_EQ(second.exitCode(), 0);
    QFile logFile(program + "/Quorvel.log");
    ASSERT_TRUE(logFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(logFile.readAll(), logBefore);
    logFile.close();

    // ---- the readme's button lets the start go on
    ASSERT_TRUE(player.command("click 不騙你,我真的看過了"));
    ASSERT_TRUE(waitFor([&] { return logHas(program, "進入主程式"); }, EventWaitMs)) << player.output().toStdString();
    QThread::msleep(700);
    ASSERT_TRUE(player.screenshot("e2e-panel.png"));
    const QImage shot(ShellTest::outputFolder() + "/e2e-panel.png");
    ASSERT_FALSE(shot.isNull());
    EXPECT_GT(distinctColours(shot, QRect(0, 0, qMin(shot.width(), 400), qMin(shot.height(), 600))), 20);

    const QStringList log = logOf(program);
    ASSERT_GE(log.size(), 3);
    EXPECT_TRUE(log[1].endsWith(" 進入Quorvel V1.1.400"));
    expectInOrder(logTextsOf(program),
                  {"設定參數", "開啟說明畫面", "結束說明畫面", "檢查完畢!", "檢查面板目錄", "設定面板選單", "讀取設定",
                   "物件初始化", "開始載入面板及按鈕", "面板及按鈕載入完成", "參數設定", "進入主程式"});
    EXPECT_TRUE(QFile::exists(program + "/Skin/Button.ini"));
    {
        UserFolders folders(root.path());
        const QString windows = root.path() + "/config/Pelloran/Windows";
        EXPECT_EQ(GetIniString(windows + "/SYSTEM.INI", "mci", "MPEGVideo"), "mciqtz.drv");
        EXPECT_EQ(GetIniString(windows + "/WIN.INI", "mci extensions", "mpg"), "MPEGVideo");
        EXPECT_EQ(GetAudioCDPlay(), "");
        EXPECT_EQ(GetSavedAudioCDPlay(), "cdplayer --play %1");
    }

    // ---- an orderly exit
    ASSERT_TRUE(player.command("quit"));
    ASSERT_TRUE(player.waitForEnd(EventWaitMs));
    const QStringList end = logTextsOf(program);
    ASSERT_GE(end.size(), 4);
    EXPECT_EQ(end.mid(end.size() - 4),
              (QStringList{"儲存個人參數", "關閉媒體控制介面", "釋放所有物件", "退出Quorvel V1.1.400"}));
    {
        UserFolders folders(root.path());
        EXPECT_EQ(GetAudioCDPlay(), "cdplayer --play %1");  // given back
    }
    {
        QSettings stored(settingsFile(root.path()), QSettings::IniFormat);
        EXPECT_EQ(stored.value("Width").toString(), "354");
        EXPECT_EQ(stored.value("Volume").toString(), "1000");
        EXPECT_EQ(stored.value("DeskPic").toString(), program + "/Desk/Quorvel.JPG");
        EXPECT_EQ(stored.value("ReadMe").toString(), "0");
        // The window data of this run are what the next start reads.
        stored.setValue("Width", "440");
        stored.setValue("Volume", "650");
        stored.setValue("ReadMe", "1");
    }

    // ---- the next start reads them; a close from outside keeps them
    QFile::remove(program + "/Quorvel.log");
    Player next(root.path(), program);
    next.start();
    ASSERT_TRUE(waitFor([&] { return logHas(program, "進入主程式"); }, EventWaitMs)) << next.output().toStdString();
    EXPECT_FALSE(logHas(program, "開啟說明畫面"));
    ASSERT_TRUE(next.command("close"));
    ASSERT_TRUE(next.waitForEnd(EventWaitMs));
    EXPECT_TRUE(logHas(program, "不正常關閉Quorvel V1.1.400"));
    QSettings stored(settingsFile(root.path()), QSettings::IniFormat);
    EXPECT_EQ(stored.value("Width").toString(), "440");
    EXPECT_EQ(stored.value("Volume").toString(), "650");
    UserFolders folders(root.path());
    EXPECT_EQ(GetAudioCDPlay(), "cdplayer --play %1");
}

namespace {

// What the running player's panel shows, as its test command writes it.
QMap<QString, QString> panelState(const Player& player, const QString& root)
{
    const QString file = root + "/state.txt";
    QFile::remove(file);
    QMap<QString, QString> values;
    if (!player.command("state " + file) || !waitFor([&] { return QFile::exists(file); }, EventWaitMs)) return values;
    QThread::msleep(100);  // written in one go; give it the moment to land
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return values;
    for (const QString& line : QString::fromUtf8(f.readAll()).split('\n')) {
        const int eq = line.indexOf('=');
        if (eq > 0) values[line.left(eq)] = line.mid(eq + 1);
    }
    return values;
}

int differingPixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size()) return a.width() * a.height();
    int count = 0;
    for (int y = 0; y < a.height(); y += 2)
        for (int x = 0; x < a.width(); x += 2) count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

}  // namespace

TEST_F(EndToEnd, AudioCdPlaysAndTheControlBarStopsAndStartsIt)
{
    {
        QSettings stored(settingsFile(root.path()), QSettings::IniFormat);
        stored.setValue("ReadMe", "1");  // the readme was confirmed before
    }

    Player player(root.path(), program);
    player.start();
    ASSERT_TRUE(waitFor([&] { return logHas(program, "進入主程式"); }, EventWaitMs)) << player.output().toStdString();

    // A three-track audio CD arrives in the player's drive: it is probed and plays.
    ASSERT_TRUE(player.command("disc 180000 200000 240000"));
    ASSERT_TRUE(waitFor([&] { return panelState(player, root.path()).value("MediaKind") == "CDAudio"; }, EventWaitMs))
        << QStringList(panelState(player, root.path()).values()).join(" | ").toStdString() << "\n"
        << logTextsOf(program).join("\n").toStdString();
    EXPECT_TRUE(logHas(program, "找到音樂光碟 "));
    ASSERT_TRUE(waitFor([&] { return panelState(player, root.path()).value("Label2(0)") != "00:00:00"; }, EventWaitMs));

    // The keys are clicked where they are on the screen.
    const auto keyCentre = [&](int index, const QString& family = "PicCtl") {
        const QStringList r = panelState(player, root.path()).value(QString("%1(%2)").arg(family).arg(index)).split(' ');
        return r.size() == 4 ? QPoint(r[0].toInt() + r[2].toInt() / 2, r[1].toInt() + r[3].toInt() / 2) : QPoint();
    };
    const bool realPointer = !QStandardPaths::findExecutable("python3").isEmpty();
    // Without the pointer (no python3, or a busy X server) the player clicks the key at its place itself.
    const auto clickKey = [&](int index) {
        return (realPointer && player.pointerClick(keyCentre(index))) ||
               player.command(QString("key PicCtl %1").arg(index));
    };

    // Stop (control-bar key 1): the time stands still.
    ASSERT_TRUE(clickKey(1));
    QThread::msleep(1500);
    const QString stopped = panelState(player, root.path()).value("Label2(0)");
    EXPECT_FALSE(stopped.isEmpty());
    QThread::msleep(1500);
    EXPECT_EQ(panelState(player, root.path()).value("Label2(0)"), stopped);

    // Play (control-bar key 0): the time moves on, on the screen too.
    ASSERT_TRUE(clickKey(0)) << player.output().toStdString() << "\n"
                                                << logTextsOf(program).mid(30).join("\n").toStdString();
    QString first;
    EXPECT_TRUE(waitFor([&] { return (first = panelState(player, root.path()).value("Label2(0)")) != stopped; },
                        EventWaitMs));
    ASSERT_TRUE(player.screenshot("e2e-audio-cd-1.png"));
    QString second;
    EXPECT_TRUE(waitFor([&] { return (second = panelState(player, root.path()).value("Label2(0)")) != first; },
                        EventWaitMs));
    EXPECT_NE(first, second);
    EXPECT_NE(second, stopped);
    // The screen follows the label (a busy machine may paint it a little later).
    const QImage shot1(ShellTest::outputFolder() + "/e2e-audio-cd-1.png");
    int differing = 0;
    waitFor([&] {
        differing = player.screenshot("e2e-audio-cd-2.png")
                        ? differingPixels(shot1, QImage(ShellTest::outputFolder() + "/e2e-audio-cd-2.png"))
                        : 0;
        return differing > 0;
    }, EventWaitMs);
    EXPECT_GT(differing, 0);

    // Number key 2 of the pad (the second key) plays track 2.
    if (realPointer) {
        ASSERT_TRUE(player.pointerClick(keyCentre(1, "PicNum")));
        EXPECT_TRUE(waitFor([&] { return panelState(player, root.path()).value("Label2(2)") == "<2>"; }, EventWaitMs))
            << panelState(player, root.path()).value("Label2(2)").toStdString();
    }

    // The volume menu of key 4 (right button): the header, then 100% and 90%; choosing 90% sets it.
    if (realPointer) {
        constexpr int Down = 0xff54, Return = 0xff0d;
        ASSERT_TRUE(player.pointerClick(keyCentre(4), 3, {Down, Down, Down, Return}));
        EXPECT_TRUE(waitFor([&] { return panelState(player, root.path()).value("VolumeLevel") == "900"; }, EventWaitMs))
            << panelState(player, root.path()).value("VolumeLevel").toStdString();
    }

    ASSERT_TRUE(player.command("quit"));
    ASSERT_TRUE(player.waitForEnd(EventWaitMs));
    QSettings stored(settingsFile(root.path()), QSettings::IniFormat);
    if (realPointer) {
        EXPECT_EQ(stored.value("Volume").toString(), "900");
    }
}

namespace {

// The processor time a process has used so far, in clock ticks (user and system).
qint64 processorTicks(qint64 pid)
{
    QFile stat(QString("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return -1;
    const QByteArray line = stat.readAll();
    // The fields after the command name in brackets, which may itself hold blanks.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 12 ? fields[11].toLongLong() + fields[12].toLongLong() : -1;
}

// The share of one processor the process used over a stretch of wall time.
double processorShare(qint64 pid, int milliseconds)
{
    const qint64 before = processorTicks(pid);
    QThread::msleep(milliseconds);
    const qint64 after = processorTicks(pid);
    if (before < 0 || after < 0) return -1;
    return double(after - before) / double(sysconf(_SC_CLK_TCK)) / (milliseconds / 1000.0);
}

QRect placeOf(const QMap<QString, QString>& state, const QString& name)
{
    const QStringList r = state.value("place(" + name + ")").split(' ');
    return r.size() == 4 ? QRect(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt()) : QRect();
}

// A player started on a fresh configuration whose readme was confirmed before.
void startConfirmed(Player& player, const QString& root, const QString& program)
{
    QSettings(settingsFile(root), QSettings::IniFormat).setValue("ReadMe", "1");
    player.start();
    ASSERT_TRUE(waitFor([&] { return logHas(program, "進入主程式"); }, EventWaitMs)) << player.output().toStdString();
}

}  // namespace

TEST_F(EndToEnd, APictureIntervalOfZeroConfirmedWhileADiscPlaysStopsTheSlidesWithoutSpinning)
{
    Player player(root.path(), program);
    startConfirmed(player, root.path(), program);
    ASSERT_TRUE(player.command("disc 180000 200000 240000"));
    ASSERT_TRUE(waitFor([&] { return panelState(player, root.path()).value("MediaKind") == "CDAudio"; }, EventWaitMs));
    ASSERT_TRUE(waitFor([&] { return panelState(player, root.path()).value("TimerBMP") == "1 5000"; }, EventWaitMs))
        << "a song without lyrics runs the slide show";

    // Title button 3 opens the settings; the interval bar to 0; 確定.
    ASSERT_TRUE(player.command("key PicButton 3"));
    ASSERT_TRUE(player.command("value VScroll1 0"));
    ASSERT_TRUE(player.command("click 確定"));
    EXPECT_TRUE(waitFor([&] { return panelState(player, root.path()).value("TimerBMP") == "0 0"; }, EventWaitMs))
        << panelState(player, root.path()).value("TimerBMP").toStdString();
    const double share = processorShare(player.pid(), 3000);
    EXPECT_GE(share, 0);
    EXPECT_LT(share, 0.5) << "the player spins at " << share * 100 << "% of a processor";
    ASSERT_TRUE(player.screenshot("e2e-picture-interval-0.png"));
    EXPECT_EQ(QSettings(settingsFile(root.path()), QSettings::IniFormat).value("ShowTime").toString(), "0");

    // Back to 3 seconds while the same song plays: the slides go on at once.
    ASSERT_TRUE(player.command("key PicButton 3"));
    ASSERT_TRUE(player.command("value VScroll1 3"));
    ASSERT_TRUE(player.command("click 確定"));
    EXPECT_TRUE(waitFor([&] { return panelState(player, root.path()).value("TimerBMP") == "1 3000"; }, 5000))
        << panelState(player, root.path()).value("TimerBMP").toStdString();

    ASSERT_TRUE(player.command("quit"));
    EXPECT_TRUE(player.waitForEnd(EventWaitMs));
}

TEST_F(EndToEnd, TerminateAndInterruptSignalsTakeTheRoadOfAWindowManagerClose)
{

    for (const int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal == SIGTERM ? "SIGTERM" : "SIGINT");
        QFile::remove(program + "/Quorvel.log");
        QFile::remove(settingsFile(root.path()));
        {
            UserFolders folders(root.path());
            SetAudioCDPlay("cdplayer --play %1");
            SaveAudioCDPlay("");
        }
        Player player(root.path(), program);
        startConfirmed(player, root.path(), program);
        {
            UserFolders folders(root.path());
            ASSERT_EQ(GetAudioCDPlay(), "");  // taken over while the player runs
        }
        ASSERT_TRUE(player.sendSignal(signal));
        ASSERT_TRUE(player.waitForEnd(EventWaitMs));
        EXPECT_TRUE(logHas(program, "不正常關閉Quorvel V1.1.400")) << logTextsOf(program).join("\n").toStdString();
        const QSettings stored(settingsFile(root.path()), QSettings::IniFormat);
        EXPECT_EQ(stored.value("Width").toString(), "354") << "the window data are kept";
        EXPECT_EQ(stored.value("DeskPic").toString(), program + "/Desk/Quorvel.JPG");
        UserFolders folders(root.path());
        EXPECT_EQ(GetAudioCDPlay(), "cdplayer --play %1");
    }

    // Before the main window runs (here the readme holds the start) the command is given back too.
    QFile::remove(program + "/Quorvel.log");
    QFile::remove(settingsFile(root.path()));
    {
        UserFolders folders(root.path());
        SetAudioCDPlay("cdplayer --play %1");
        SaveAudioCDPlay("");
    }
    QFile::copy(QCoreApplication::applicationDirPath() + "/ReadMe.rtf", program + "/ReadMe.rtf");
    Player player(root.path(), program);
    player.start();
    ASSERT_TRUE(waitFor([&] { return logHas(program, "開啟說明畫面"); }, 30000)) << player.output().toStdString();
    ASSERT_TRUE(player.sendSignal(SIGHUP));
    ASSERT_TRUE(player.waitForEnd(20000));
    EXPECT_TRUE(logHas(program, "不正常關閉Quorvel V1.1.400")) << logTextsOf(program).join("\n").toStdString();
    EXPECT_FALSE(logHas(program, "進入主程式"));
    UserFolders folders(root.path());
    EXPECT_EQ(GetAudioCDPlay(), "cdplayer --play %1");
}

TEST_F(EndToEnd, ALeftClickOnTheMessageLineWithoutLyricsPutsTheListOnThePictureArea)
{
    if (QStandardPaths::findExecutable("python3").isEmpty()) GTEST_SKIP() << "python3 drives the pointer";
    Player player(root.path(), program);
    startConfirmed(player, root.path(), program);

    QMap<QString, QString> state = panelState(player, root.path());
    const QRect line = placeOf(state, "Label1");
    const QRect area = placeOf(state, "PictureArea");
    const QRect logo = placeOf(state, "Label3");
    ASSERT_FALSE(line.isEmpty());
    ASSERT_FALSE(area.isEmpty());
    ASSERT_TRUE(player.pointerClick(line.center()));
    ASSERT_TRUE(waitFor([&] { return panelState(player, root.path()).value("SongListVisible") == "1"; }, EventWaitMs));
    QThread::msleep(300);
    ASSERT_TRUE(player.screenshot("e2e-lyric-list-without-lyrics.png"));
    state = panelState(player, root.path());
    EXPECT_EQ(placeOf(state, "SongList"), area);
    EXPECT_FALSE(placeOf(state, "SongList").intersects(logo)) << "the logo's main menu stays within reach";

    // A second click hides it again.
    ASSERT_TRUE(player.pointerClick(line.center()));
    EXPECT_TRUE(waitFor([&] { return panelState(player, root.path()).value("SongListVisible") == "0"; }, EventWaitMs));
    ASSERT_TRUE(player.command("quit"));
    EXPECT_TRUE(player.waitForEnd(EventWaitMs));
}

TEST_F(EndToEnd, WithoutLibmpvThePlayerStartsSaysWhyOnceAndKeepsRunning)
{
    Player player(root.path(), program);
    player.setVariable("PELLORAN_MEDIA", "real");
    player.setVariable("PELLORAN_MPV_LIBRARY", "/nonexistent/libmpv.so.2");
    player.setVariable("PELLORAN_MSGBOX_ANSWER", "");  // the box is shown as a user sees it
    startConfirmed(player, root.path(), program);

    const auto engineLines = [&] {
        return logTextsOf(program).filter("無法載入媒體引擎: ");
    };
    ASSERT_TRUE(waitFor([&] { return !engineLines().isEmpty(); }, EventWaitMs)) << player.output().toStdString();
    EXPECT_TRUE(engineLines().first().contains("/nonexistent/libmpv.so.2")) << engineLines().first().toStdString();
    QString shown;
    ASSERT_TRUE(waitFor([&] { return !(shown = panelState(player, root.path()).value("MessageBox")).isEmpty(); }, EventWaitMs));
    EXPECT_TRUE(shown.startsWith("找不到媒體引擎 /nonexistent/libmpv.so.2")) << shown.toStdString();
    ASSERT_TRUE(player.screenshot("e2e-no-media-engine.png"));

    // The user confirms it; the player goes on, says it only once, and ends in order.
    ASSERT_TRUE(player.command("click OK") && player.command("click &OK"));
    ASSERT_TRUE(waitFor([&] { return !panelState(player, root.path()).contains("MessageBox"); }, EventWaitMs));
    EXPECT_EQ(panelState(player, root.path()).value("MediaKind"), "");
    EXPECT_EQ(engineLines().size(), 1);
    ASSERT_TRUE(player.command("quit"));
    ASSERT_TRUE(player.waitForEnd(EventWaitMs));
    EXPECT_EQ(logTextsOf(program).last(), "退出Quorvel V1.1.400");
}
