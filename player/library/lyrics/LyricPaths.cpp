#include "LyricPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace LyricPaths {

QString fileName(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? path : path.mid(slash + 1);
}

QString filePath(const QString &path)
{
    if (!path.contains(QLatin1Char('.')))
        return path;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return path;
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

QString addPath(const QString &dir, const QString &file)
{
    const QString name = fileName(file);
    if (name.isEmpty())
        return dir;
    if (dir.endsWith(QLatin1Char('/')))
        return dir + name;
    return dir + QLatin1Char('/') + name;
}

bool fileExists(const QString &path)
{
    if (path.isEmpty() || !path.contains(QLatin1Char('.')))
        return false;
    const QFileInfo info(path);
    return info.exists() && info.fileName().contains(QLatin1Char('.'));
}

bool dirExists(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

void makeDir(const QString &path)
{
    if (!path.isEmpty())
        QDir().mkdir(path);
}

bool samePath(const QString &a, const QString &b)
{
    return QDir::cleanPath(a) == QDir::cleanPath(b);
}

QString volumeSerialOf(const QString &path)
{
    return QStringLiteral("00000000");
}

QString driveRootOf(const QString &path)
{
    QString probe = path;
    // The medium may not exist (an audio-CD track name): ask about its folder.
    while (!probe.isEmpty() && !QFileInfo::exists(probe))
        probe = QFileInfo(probe).path();
    const QStorageInfo storage(probe.isEmpty() ? QStringLiteral("/") : probe);
    return storage.isValid() ? storage.rootPath() : QStringLiteral("/");
}

QString readText(const QString &path, bool *ok)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *ok = false;
        return {};
    }
    *ok = true;
    return QString::fromUtf8(file.readAll());
}

} // namespace LyricPaths
