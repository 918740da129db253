#include "RealPlayerSession.h"

#include "Cp950.h"
#include "LocalChannel.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QThread>

namespace {

bool copyFolder(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    const QDir source(from);
    for (const QString &name : source.entryList(QDir::Files)) {
        if (!QFile::copy(source.filePath(name), to + u'/' + name))
            return false;
    }
    return true;
}

} // namespace

RealPlayerSession::RealPlayerSession()
{
    for (const char *folder : {"home", "config/Pelloran", "data", "runtime", "music"})
        QDir().mkpath(m_root.filePath(QLatin1String(folder)));
    QFile::setPermissions(m_root.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString bin = programBesideTests(QString());
    if (QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty())
        m_unavailable = QStringLiteral("ffmpeg is not installed");
    else if (!QFile::exists(programBesideTests(QStringLiteral("Tavrin"))) || !QDir(bin + QStringLiteral("Skin")).exists())
        m_unavailable = QStringLiteral("Tavrin and its panels are not built beside the tests");
    else if (!copyFolder(bin + QStringLiteral("Skin"), programFolder() + QStringLiteral("/Skin"))
             || !copyFolder(bin + QStringLiteral("Button Mask"), programFolder() + QStringLiteral("/Button Mask"))
             || !copyFolder(bin + QStringLiteral("Desk"), programFolder() + QStringLiteral("/Desk")))
        m_unavailable = QStringLiteral("the panels could not be copied");
    else
        m_unavailable = m_screen.start({700, 800}, QSize(1024, 768));
}

RealPlayerSession::~RealPlayerSession()
{
    if (m_player.state() != QProcess::NotRunning) {
        m_player.kill();
        m_player.waitForFinished(5000);
    }
    m_screen.stop();
}

QString RealPlayerSession::missing() const { return m_unavailable; }

bool RealPlayerSession::makeMedia(const QString &name, const QStringList &ffmpegArguments)
{
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), QStringList{QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y")}
                                               + ffmpegArguments + QStringList{musicFolder() + u'/' + name});
    return ffmpeg.waitForFinished(EventWaitMs) && ffmpeg.exitStatus() == QProcess::NormalExit && ffmpeg.exitCode() == 0;
}

bool RealPlayerSession::writeFile(const QString &name, const QByteArray &bytes)
{
    QFile file(musicFolder() + u'/' + name);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void RealPlayerSession::setSettings(const QMap<QString, QString> &values)
{
    QSettings stored(m_root.filePath(QStringLiteral("config/Pelloran/Quorvel V1.1.conf")), QSettings::IniFormat);
    for (auto it = values.begin(); it != values.end(); ++it)
        stored.setValue(it.key(), it.value());
}

bool RealPlayerSession::start()
{
    setSettings({{QStringLiteral("ReadMe"), QStringLiteral("1")},
                 // The chosen device is the music folder; what it holds plays at once.
                 {QStringLiteral("ScanType1"), QStringLiteral("False")},
                 {QStringLiteral("ScanType2"), QStringLiteral("True")},
                 {QStringLiteral("ScanType3"), QStringLiteral("False")},
                 {QStringLiteral("DiskName"), musicFolder()},
                 {QStringLiteral("AutoPlay"), QStringLiteral("1")},
                 // WAV and MPEG files are songs too.
                 {QStringLiteral("FileType6"), QStringLiteral("True")},
                 {QStringLiteral("FileType7"), QStringLiteral("True")},
                 {QStringLiteral("FileTypeText7"), QStringLiteral("MPEG (*.mpg)")}});
    QProcessEnvironment env = m_screen.programEnvironment();
    env.remove(QStringLiteral("PELLORAN_MEDIA"));  // the real back end
    env.insert(QStringLiteral("HOME"), m_root.filePath(QStringLiteral("home")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_root.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_root.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_root.filePath(QStringLiteral("runtime")));
    env.insert(QStringLiteral("PELLORAN_PROGRAM_DIR"), programFolder());
    env.insert(QStringLiteral("PELLORAN_TEST_CONTROL"), QStringLiteral("1"));
    env.insert(QStringLiteral("PELLORAN_MSGBOX_ANSWER"), QStringLiteral("7"));
    m_player.setProcessEnvironment(env);
    m_player.setProcessChannelMode(QProcess::MergedChannels);
    m_player.start(programBesideTests(QStringLiteral("Tavrin")), {});
    return m_player.waitForStarted(EventWaitMs);
}

QString RealPlayerSession::serverName() const
{
    // The player's single-copy socket, named after its config folder.
    const QByteArray key = m_root.filePath(QStringLiteral("config/Pelloran")).toUtf8();
    return QStringLiteral("Quorvel-")
           + QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
}

bool RealPlayerSession::command(const QString &line) const
{
    // The socket lies in the player's runtime folder.
    const QByteArray own = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", m_root.filePath(QStringLiteral("runtime")).toUtf8());
    const bool sent = LocalChannel::send(serverName(), line);
    qputenv("XDG_RUNTIME_DIR", own);
    return sent;
}

QMap<QString, QString> RealPlayerSession::panel() const
{
    const QString file = m_root.filePath(QStringLiteral("state.txt"));
    QFile::remove(file);
    QMap<QString, QString> values;
    if (!command(QStringLiteral("state ") + file))
        return values;
    waitUntil([&] { return QFile::exists(file); }, EventWaitMs, 20);
    QThread::msleep(20);  // written in one go; the moment it needs to land
    QFile state(file);
    if (!state.open(QIODevice::ReadOnly))
        return values;
    for (const QString &line : QString::fromUtf8(state.readAll()).split(u'\n')) {
        const int eq = line.indexOf(u'=');
        if (eq > 0)
            values[line.left(eq)] = line.mid(eq + 1);
    }
    return values;
}

bool RealPlayerSession::waitForPanel(const QString &name, const QString &value, int timeoutMs) const
{
    return waitForPanel(name, [&](const QString &text) { return text == value; }, timeoutMs);
}

bool RealPlayerSession::waitForPanel(const QString &name, const std::function<bool(const QString &)> &test,
                                     int timeoutMs) const
{
    bool shown = false;
    waitUntil([&] { return shown = test(panel().value(name)); }, timeoutMs, 100);
    return shown;
}

bool RealPlayerSession::dragKnobToTheEnd() const
{
    // "left top width height" of a control-bar key on the screen.
    const QMap<QString, QString> shown = panel();
    const auto place = [&](int key) {
        const QStringList r = shown.value(QStringLiteral("PicCtl(%1)").arg(key)).split(u' ');
        return r.size() == 4 ? QRect(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt()) : QRect();
    };
    const QRect knob = place(9);
    const QRect groove = place(13);
    XInput pointer(m_screen.display().toLocal8Bit());
    if (!pointer.usable() || knob.isEmpty() || groove.isEmpty())
        return false;
    pointer.drag(knob.center(), QPoint(groove.right() + knob.width(), knob.center().y()));
    return true;
}

int RealPlayerSession::quit()
{
    if (!command(QStringLiteral("quit")) || !m_player.waitForFinished(EventWaitMs))
        return -1;
    return m_player.exitStatus() == QProcess::NormalExit ? m_player.exitCode() : -1;
}

QStringList RealPlayerSession::songsStarted() const
{
    // "hh:mm:ss 播放-<path>" a song.
    const QString started = QStringLiteral(" 播放-");
    QStringList names;
    for (const QString &line : Cp950::readTextFile(programFolder() + QStringLiteral("/Quorvel.log")).split(u'\n')) {
        if (const int at = line.indexOf(started); at >= 0)
            names << line.mid(at + started.size()).trimmed().section(u'/', -1);
    }
    return names;
}

QString RealPlayerSession::output()
{
    m_player.waitForReadyRead(200);  // what it wrote since the last look
    return QString::fromLocal8Bit(m_player.readAll());
}

QImage RealPlayerSession::screenshot(const QString &name) const
{
    const QString folder = QDir::currentPath() + QStringLiteral("/test-output");
    QDir().mkpath(folder);
    return m_screen.screenshot(folder + u'/' + name).convertToFormat(QImage::Format_RGB32);
}
