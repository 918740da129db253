#pragma once
// One of the suite's programs started for an end-to-end test the way a user starts it, in a
// sandbox of its own: a virtual X display, throw-away home, config, data and runtime folders,
// a program folder holding copies of what is built beside the tests, the real or the
// simulated media back end. The test drives it through its test-control channel, the X
// pointer and keys, and looks at its state, its log, its files and screenshots; every wait
// has the one generous limit of the suite; report() tells what the program printed and
// logged when a check fails.

#include "EventWait.h"
#include "XDisplaySession.h"

#include <QImage>
#include <QMap>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <string>

class ProgramSandbox
{
public:
    enum class Media { Simulated, Real };
    // Sends one line to the program's test-control channel. It is called while this process's
    // user folders are the sandbox's, so that it finds the program's channel.
    using ControlChannel = std::function<bool(const QString &line)>;

    // program: the executable's name beside the tests. display: the numbers a test executable
    // takes its displays from (tests of one executable run one at a time).
    ProgramSandbox(const QString &program, DisplayNumbers display, QSize screen = QSize(1024, 768));
    ProgramSandbox(const ProgramSandbox &) = delete;
    ProgramSandbox &operator=(const ProgramSandbox &) = delete;
    ~ProgramSandbox();

    // Why the program cannot run here (a reason to skip the test); "" when it can.
    QString unavailable() const { return m_unavailable; }
    // Marks the sandbox unavailable when a program the test needs is not installed.
    void requireTool(const QString &tool);

    // ---- the folders
    QString root() const { return m_root.path(); }
    QString filePath(const QString &relative) const { return m_root.filePath(relative); }
    QString homeFolder() const { return filePath(QStringLiteral("home")); }
    // Where the programs keep their settings files.
    QString settingsFolder() const { return filePath(QStringLiteral("config/Pelloran")); }
    QString programFolder() const { return filePath(QStringLiteral("program")); }
    QString programFile(const QString &relative) const { return programFolder() + u'/' + relative; }
    // Copies folders (whole) or files built beside the tests into the program folder; a name
    // that is not there marks the sandbox unavailable.
    bool copyBesideTests(const QStringList &names);
    // A value of an INI settings file of the settings folder.
    void setSetting(const QString &file, const QString &key, const QString &value);
    // Writes a file under the sandbox as it is given (folders made as needed).
    bool writeFile(const QString &relative, const QByteArray &bytes);
    // Makes a media file under the sandbox with ffmpeg from its arguments.
    bool makeMedia(const QString &relative, const QStringList &ffmpegArguments);

    // ---- the start
    void setMedia(Media media) { m_media = media; }
    // A variable of the program's environment for the next start; "" removes it.
    void setVariable(const QString &name, const QString &value) { m_variables[name] = value; }
    void setWorkingFolder(const QString &folder) { m_process.setWorkingDirectory(folder); }
    // The program's log, in the program folder, read by log() and report().
    void setLogFile(const QString &relative) { m_logFile = relative; }
    void setControlChannel(ControlChannel send) { m_control = std::move(send); }
    // The environment the program starts with.
    QProcessEnvironment environment() const;
    bool start(const QStringList &arguments = {});
    // Whether the program still runs. QProcess learns of its end from an event loop or a wait,
    // which a test does not run: a wait of no time asks.
    bool running() const { return m_process.state() == QProcess::Running && !m_process.waitForFinished(0); }
    qint64 pid() const { return m_process.processId(); }

    // ---- talking to it
    bool command(const QString &line) const;
    // What the program's "state" command writes: name=value lines.
    QMap<QString, QString> state() const;
    // A "left top width height" value of the state as a rectangle; null when there is none.
    QRect stateRect(const QString &name) const;
    bool waitForState(const QString &name, const QString &value) const;
    bool waitForState(const QString &name, const std::function<bool(const QString &)> &test) const;
    // Runs f while this process's home and XDG folders are the sandbox's.
    void asTheProgramsUser(const std::function<void()> &f) const;

    // ---- looking at it
    // Polls until done() holds, within the suite's one limit; whether it held.
    static bool waitFor(const std::function<bool()> &done, int timeoutMs = EventWaitMs);
    QString log() const;
    bool waitForLog(const QString &text) const;
    // Everything the program printed so far.
    QString output() const;
    // Output and the log's end, to follow a failed check; and, when the program still runs,
    // where it waits (see whereItWaits).
    std::string report() const;
    // Where a program that still runs waits: each thread's name and kernel wait, the processes
    // it started, and all stacks when gdb is installed. A program stuck before its first log
    // line prints and logs nothing; this is then what tells where it stands. "" once it ended.
    QString whereItWaits() const;
    // The whole screen, kept as name in the suite's test-output folder.
    QImage screenshot(const QString &name) const;
    // Screenshots taken again until one passes the test, within the limit; the last one.
    QImage screenshotWhen(const QString &name, const std::function<bool(const QImage &)> &test) const;
    // The top-level windows of the program's class on the display, widest first.
    QList<QRect> windows() const;
    // The top-level window with this title; null when there is none.
    QRect windowTitled(const QString &title) const;
    // The same for a title that begins with these words.
    QRect windowTitleStarting(const QString &beginning) const;
    // Drags the top-level window with this title to a new top-left corner, as a user would move
    // it aside; false when there is no such window or it did not arrive there within the limit.
    bool moveWindowTitled(const QString &title, QPoint to);
    QString display() const { return m_screen.display(); }

    // ---- the user's hands
    XInput &input();

    // ---- the end
    // Asks the program to end through its channel and waits; its exit code, -1 when it did not end.
    int quit();
    bool signal(int number) const;
    // Waits for the program to end; its exit code, -1 when it did not end or crashed.
    int waitForEnd(int timeoutMs = EventWaitMs);
    void kill();

private:
    void readOutput() const;
    QStringList windowLines() const;

    QString m_name;
    QTemporaryDir m_root;
    XDisplaySession m_screen;
    QString m_unavailable;
    Media m_media = Media::Simulated;
    QMap<QString, QString> m_variables;
    QString m_logFile;
    ControlChannel m_control;
    std::unique_ptr<XInput> m_input;
    mutable QProcess m_process;
    mutable QByteArray m_printed;
};

// Pixels of many colours in an area (every second one): a drawn window, not a bare screen.
int distinctColours(const QImage &image, const QRect &area);
// Pixels (every second one) that differ between two pictures of one size inside area.
int changedPixels(const QImage &a, const QImage &b, const QRect &area);
