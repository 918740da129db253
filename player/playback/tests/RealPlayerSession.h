#pragma once
// A real Tavrin on a virtual X display of its own with the real media back
// end (libmpv), a fresh configuration and a song folder made at test time,
// driven through its test-control socket.

#include "XDisplaySession.h"

#include <QImage>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

class RealPlayerSession
{
public:
    RealPlayerSession();
    ~RealPlayerSession();

    // Why the session cannot run here ("" when it can): no ffmpeg, no
    // virtual display, the player not built beside the tests.
    QString missing() const;

    QString musicFolder() const { return m_root.filePath(QStringLiteral("music")); }
    // Makes a file of the music folder with ffmpeg from its arguments.
    bool makeMedia(const QString &name, const QStringList &ffmpegArguments);
    // Writes a file of the music folder as it is given.
    bool writeFile(const QString &name, const QByteArray &bytes);
    // Settings read at start: a key=value each, in the player's settings file.
    void setSettings(const QMap<QString, QString> &values);
    // Starts the player probing the music folder and playing what it finds.
    bool start();
    bool running() const { return m_player.state() == QProcess::Running; }

    // One command line to the running player.
    bool command(const QString &line) const;
    // What the panel shows ("Label2(0)", "Label1", "MediaKind", ...).
    QMap<QString, QString> panel() const;
    // Waits until the panel shows value under name (or a text that passes
    // the test); false after timeoutMs.
    bool waitForPanel(const QString &name, const QString &value, int timeoutMs) const;
    bool waitForPanel(const QString &name, const std::function<bool(const QString &)> &test, int timeoutMs) const;
    // Presses and releases a control-bar key.
    bool pressKey(int index) const { return command(QStringLiteral("key PicCtl %1").arg(index)); }
    // Drags the seek knob with the pointer past the right end of its groove.
    bool dragKnobToTheEnd() const;
    // Asks the player to end and waits for it; its exit code, -1 when it did not end.
    int quit();
    // The file names of the songs the player started, in order, from its log.
    QStringList songsStarted() const;
    // What the player wrote to its standard outputs.
    QString output();
    // The whole screen, saved under the test output folder as name.
    QImage screenshot(const QString &name) const;
    QString programFolder() const { return m_root.filePath(QStringLiteral("program")); }

private:
    QString serverName() const;

    QTemporaryDir m_root;
    XDisplaySession m_screen;
    QString m_unavailable;
    QProcess m_player;
};
