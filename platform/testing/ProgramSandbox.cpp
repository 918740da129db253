#include "ProgramSandbox.h"

#include "Cp950.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>
#include <csignal>
#include <map>

namespace {

// The folders a program finds its user's files by.
const char *const UserVariables[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"};

QString outputFolder()
{
    const QString folder = QStringLiteral(PELLORAN_TEST_OUTPUT);
    QDir().mkpath(folder);
    return folder;
}

bool copyTree(const QString &from, const QString &to)
{
    if (QFileInfo(from).isFile())
        return QFile::copy(from, to);
    if (!QFileInfo(from).isDir() || !QDir().mkpath(to))
        return false;
    const QDir source(from);
    for (const QString &name : source.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot))
        if (!copyTree(source.filePath(name), to + u'/' + name))
            return false;
    return true;
}

// "WIDTHxHEIGHT+X+Y" of a line of xwininfo's tree.
QRect geometryOf(const QString &line)
{
    static const QRegularExpression geometry(QStringLiteral(R"((\d+)x(\d+)\+(-?\d+)\+(-?\d+))"));
    const QRegularExpressionMatch m = geometry.match(line);
    return m.hasMatch() ? QRect(m.captured(3).toInt(), m.captured(4).toInt(), m.captured(1).toInt(), m.captured(2).toInt())
                        : QRect();
}

} // namespace

ProgramSandbox::ProgramSandbox(const QString &program, DisplayNumbers display, QSize screen) : m_name(program)
{
    for (const char *folder : {"home", "config/Pelloran", "data", "runtime", "program"})
        QDir().mkpath(m_root.filePath(QLatin1String(folder)));
    // A runtime folder open to others is not trusted for the program's channels.
    QFile::setPermissions(m_root.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!QFile::exists(programBesideTests(program)))
        m_unavailable = program + QStringLiteral(" is not built beside the tests");
    else
        m_unavailable = m_screen.start(display, screen);
}

ProgramSandbox::~ProgramSandbox()
{
    if (running() && m_control)
        quit();
    kill();
    m_input.reset();  // its connection closed while the display still answers
    m_screen.stop();
}

void ProgramSandbox::requireTool(const QString &tool)
{
    if (m_unavailable.isEmpty() && QStandardPaths::findExecutable(tool).isEmpty())
        m_unavailable = tool + QStringLiteral(" is not installed");
}

bool ProgramSandbox::copyBesideTests(const QStringList &names)
{
    for (const QString &name : names) {
        if (!copyTree(programBesideTests(name), programFile(name))) {
            m_unavailable = name + QStringLiteral(" is not built beside the tests");
            return false;
        }
    }
    return true;
}

void ProgramSandbox::setSetting(const QString &file, const QString &key, const QString &value)
{
    QSettings(settingsFolder() + u'/' + file, QSettings::IniFormat).setValue(key, value);
}

bool ProgramSandbox::writeFile(const QString &relative, const QByteArray &bytes)
{
    QFile file(filePath(relative));
    QDir().mkpath(QFileInfo(file).path());
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

bool ProgramSandbox::makeMedia(const QString &relative, const QStringList &ffmpegArguments)
{
    QDir().mkpath(QFileInfo(filePath(relative)).path());
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), QStringList{QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y")}
                                               + ffmpegArguments + QStringList{filePath(relative)});
    return ffmpeg.waitForFinished(EventWaitMs) && ffmpeg.exitStatus() == QProcess::NormalExit && ffmpeg.exitCode() == 0;
}

QProcessEnvironment ProgramSandbox::environment() const
{
    QProcessEnvironment env = m_screen.programEnvironment();
    env.insert(QStringLiteral("HOME"), homeFolder());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), filePath(QStringLiteral("runtime")));
    env.insert(QStringLiteral("PELLORAN_PROGRAM_DIR"), programFolder());
    env.insert(QStringLiteral("PELLORAN_TEST_CONTROL"), QStringLiteral("1"));
    // A question nobody expected is answered No.
    env.insert(QStringLiteral("PELLORAN_MSGBOX_ANSWER"), QStringLiteral("7"));
    if (m_media == Media::Simulated)
        env.insert(QStringLiteral("PELLORAN_MEDIA"), QStringLiteral("sim"));
    else
        env.remove(QStringLiteral("PELLORAN_MEDIA"));
    for (auto it = m_variables.cbegin(); it != m_variables.cend(); ++it) {
        if (it.value().isEmpty())
            env.remove(it.key());
        else
            env.insert(it.key(), it.value());
    }
    return env;
}

bool ProgramSandbox::start(const QStringList &arguments)
{
    kill();
    m_printed.clear();
    m_process.setProcessEnvironment(environment());
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(programBesideTests(m_name), arguments);
    return m_process.waitForStarted(EventWaitMs);
}

void ProgramSandbox::asTheProgramsUser(const std::function<void()> &f) const
{
    std::map<const char *, QByteArray> own;
    const QProcessEnvironment env = environment();
    for (const char *name : UserVariables) {
        own[name] = qgetenv(name);
        qputenv(name, env.value(QLatin1String(name)).toUtf8());
    }
    f();
    for (const auto &[name, value] : own)
        qputenv(name, value);
}

bool ProgramSandbox::command(const QString &line) const
{
    bool sent = false;
    if (m_control)
        asTheProgramsUser([&] { sent = m_control(line); });
    return sent;
}

QMap<QString, QString> ProgramSandbox::state() const
{
    const QString file = filePath(QStringLiteral("state.txt"));
    QFile::remove(file);
    QMap<QString, QString> values;
    if (!command(QStringLiteral("state ") + file))
        return values;
    // The program writes the file whole and then renames it into place.
    waitFor([&] { return QFileInfo(file).size() > 0; });
    QThread::msleep(20);
    QFile written(file);
    if (!written.open(QIODevice::ReadOnly))
        return values;
    for (const QString &line : QString::fromUtf8(written.readAll()).split(u'\n'))
        if (const int eq = line.indexOf(u'='); eq > 0)
            values[line.left(eq)] = line.mid(eq + 1);
    return values;
}

QRect ProgramSandbox::stateRect(const QString &name) const
{
    const QStringList r = state().value(name).split(u' ');
    return r.size() == 4 ? QRect(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt()) : QRect();
}

bool ProgramSandbox::waitForState(const QString &name, const QString &value) const
{
    return waitForState(name, [&](const QString &shown) { return shown == value; });
}

bool ProgramSandbox::waitForState(const QString &name, const std::function<bool(const QString &)> &test) const
{
    return waitFor([&] { return test(state().value(name)); });
}

bool ProgramSandbox::waitFor(const std::function<bool()> &done, int timeoutMs)
{
    bool held = false;  // done() is asked once a look: it may take a screenshot or wait itself
    waitUntil([&] { return held = done(); }, timeoutMs, 100);
    return held;
}

QString ProgramSandbox::log() const
{
    return m_logFile.isEmpty() ? QString() : Cp950::readTextFile(programFile(m_logFile));
}

bool ProgramSandbox::waitForLog(const QString &text) const
{
    return waitFor([&] { return log().contains(text); });
}

void ProgramSandbox::readOutput() const
{
    if (m_process.state() != QProcess::NotRunning)
        m_process.waitForReadyRead(50);
    m_printed += m_process.readAll();
}

QString ProgramSandbox::output() const
{
    readOutput();
    return QString::fromLocal8Bit(m_printed);
}

std::string ProgramSandbox::report() const
{
    const QStringList lines = log().split(QRegularExpression(QStringLiteral("\r?\n")));
    return (m_name + QStringLiteral(" printed:\n") + output() + QStringLiteral("\nthe end of its log:\n")
            + lines.mid(qMax(0, int(lines.size()) - 25)).join(u'\n') + whereItWaits())
        .toStdString();
}

QString ProgramSandbox::whereItWaits() const
{
    if (!running())
        return QString();
    const auto read = [](const QString &file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).trimmed() : QString();
    };
    const QString process = QStringLiteral("/proc/%1").arg(pid());
    QString where = QStringLiteral("\nit still runs; its threads (id, name, kernel wait) and the processes it started:\n");
    QStringList children;
    for (const QString &task : QDir(process + QStringLiteral("/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString folder = process + QStringLiteral("/task/") + task;
        where += task + u' ' + read(folder + QStringLiteral("/comm")) + u' ' + read(folder + QStringLiteral("/wchan")) + u'\n';
        children += read(folder + QStringLiteral("/children")).split(u' ', Qt::SkipEmptyParts);
    }
    for (const QString &child : children)
        where += QStringLiteral("child %1 %2 %3\n").arg(child, read(QStringLiteral("/proc/%1/comm").arg(child)),
                                                       read(QStringLiteral("/proc/%1/wchan").arg(child)));
    if (const QString gdb = QStandardPaths::findExecutable(QStringLiteral("gdb")); !gdb.isEmpty()) {
        QProcess trace;
        trace.setProcessChannelMode(QProcess::MergedChannels);
        trace.start(gdb, {QStringLiteral("-batch"), QStringLiteral("-ex"), QStringLiteral("thread apply all bt"),
                          QStringLiteral("-p"), QString::number(pid())});
        if (!trace.waitForFinished(EventWaitMs))
            trace.kill();
        where += QString::fromLocal8Bit(trace.readAll());
    }
    return where;
}

QImage ProgramSandbox::screenshot(const QString &name) const
{
    // Taken in the sandbox and read back from there, so that another run of the suite keeping
    // a picture of the same name cannot hand this one a half-written file; then kept.
    QDir().mkpath(filePath(QStringLiteral("screenshots")));
    const QString taken = filePath(QStringLiteral("screenshots/") + name);
    const QImage shot = m_screen.screenshot(taken).convertToFormat(QImage::Format_RGB32);
    const QString kept = outputFolder() + u'/' + name;
    QFile::remove(kept);
    QFile::copy(taken, kept);
    return shot;
}

QImage ProgramSandbox::screenshotWhen(const QString &name, const std::function<bool(const QImage &)> &test) const
{
    QImage shot;
    waitUntil([&] {
        shot = screenshot(name);
        return !shot.isNull() && test(shot);
    }, EventWaitMs, 200);
    return shot;
}

QStringList ProgramSandbox::windowLines() const
{
    QProcess info;
    info.setProcessEnvironment(m_screen.programEnvironment());
    info.start(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-tree")});
    info.waitForFinished(EventWaitMs);
    return QString::fromUtf8(info.readAllStandardOutput()).split(u'\n');
}

QList<QRect> ProgramSandbox::windows() const
{
    const QString ownClass = QStringLiteral("(\"%1\" \"%1\")").arg(m_name);
    QList<QRect> found;
    for (const QString &line : windowLines())
        if (line.contains(ownClass) && geometryOf(line).isValid())
            found << geometryOf(line);
    std::stable_sort(found.begin(), found.end(), [](const QRect &a, const QRect &b) { return a.width() > b.width(); });
    return found;
}

QRect ProgramSandbox::windowTitled(const QString &title) const
{
    return windowTitleStarting(title + u'"');
}

QRect ProgramSandbox::windowTitleStarting(const QString &beginning) const
{
    const QString quoted = u'"' + beginning;
    for (const QString &line : windowLines())
        if (line.contains(quoted) && geometryOf(line).isValid())
            return geometryOf(line);
    return {};
}

bool ProgramSandbox::moveWindowTitled(const QString &title, QPoint to)
{
    const QString quoted = u'"' + title + u'"';
    for (const QString &line : windowLines()) {
        if (!line.contains(quoted) || !geometryOf(line).isValid())
            continue;
        bool ok = false;
        const unsigned long window = line.trimmed().section(u' ', 0, 0).toULong(&ok, 0);
        if (!ok || !input().usable())
            return false;
        input().moveWindow(window, to.x(), to.y());
        return waitFor([&] { return windowTitled(title).topLeft() == to; });
    }
    return false;
}

XInput &ProgramSandbox::input()
{
    if (!m_input)
        m_input = std::make_unique<XInput>(m_screen.display().toLocal8Bit());
    return *m_input;
}

int ProgramSandbox::quit()
{
    if (!command(QStringLiteral("quit")))
        return -1;
    return waitForEnd();
}

bool ProgramSandbox::signal(int number) const
{
    return running() && ::kill(pid_t(pid()), number) == 0;
}

int ProgramSandbox::waitForEnd(int timeoutMs)
{
    if (m_process.state() != QProcess::NotRunning && !m_process.waitForFinished(timeoutMs))
        return -1;
    readOutput();
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

void ProgramSandbox::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(EventWaitMs);
    readOutput();
}

int distinctColours(const QImage &image, const QRect &area)
{
    QSet<QRgb> colours;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); y += 2)
        for (int x = inside.left(); x <= inside.right(); x += 2)
            colours.insert(image.pixel(x, y));
    return colours.size();
}

int changedPixels(const QImage &a, const QImage &b, const QRect &area)
{
    int changed = 0;
    const QRect inside = area & a.rect() & b.rect();
    for (int y = inside.top(); y <= inside.bottom(); y += 2)
        for (int x = inside.left(); x <= inside.right(); x += 2)
            changed += a.pixel(x, y) != b.pixel(x, y);
    return changed;
}
