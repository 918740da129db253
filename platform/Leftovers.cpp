#include "Leftovers.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include <unistd.h>

namespace Leftovers {

namespace {

constexpr qint64 kSaveUnderWaySeconds = 60;  // no save of ours takes this long

bool oldEnough(const QFileInfo& info)
{
    return info.lastModified().secsTo(QDateTime::currentDateTime()) >= kSaveUnderWaySeconds;
}

bool ownedByUser(const QFileInfo& info) { return info.ownerId() == ::getuid(); }

void removeOldFiles(const QDir& folder, const QStringList& names)
{
    for (const QString& name : names) {
        const QFileInfo info(folder.filePath(name));
        if (info.isFile() && !info.isSymLink() && ownedByUser(info) && oldEnough(info)) QFile::remove(info.filePath());
    }
}

}  // namespace

bool isSaveCopyName(const QString& name, const QString& fileName)
{
    if (name.size() != fileName.size() + 7 || !name.startsWith(fileName + u'.')) return false;
    bool upper = false;
    for (const QChar c : QStringView(name).right(6)) {
        const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
        if (!letter && !(c >= u'0' && c <= u'9')) return false;
        upper = upper || (letter && c.isUpper());
    }
    return upper;
}

void removeSaveCopies(const QString& file)
{
    const QFileInfo info(file);
    const QDir folder = info.absoluteDir();
    // Names are matched here rather than by a name filter, which would compile a pattern.
    QStringList copies = folder.entryList(QDir::Files | QDir::Hidden, QDir::Unsorted);
    copies.removeIf([&](const QString& name) { return !isSaveCopyName(name, info.fileName()); });
    removeOldFiles(folder, copies);
}

void removeUnfinishedPanelSaves(const QString& skinFolder)
{
    const QDir folder(skinFolder);
    QStringList saves = folder.entryList(QDir::Files | QDir::Hidden, QDir::Unsorted);
    // The panel files' extension is matched without regard to case, as everywhere.
    saves.removeIf([](const QString& name) {
        return !name.endsWith(QLatin1String(".saving")) ||
               !name.endsWith(QLatin1String(".ini.saving"), Qt::CaseInsensitive);
    });
    removeOldFiles(folder, saves);
}

QString cueAliasFolderTemplate() { return QDir::tempPath() + QStringLiteral("/pelloran-cue-XXXXXX"); }
QString cueAliasFolderLockName() { return QStringLiteral("owner.lock"); }

void removeCueAliasFolders()
{
    const QDir temp(QDir::tempPath());
    const QStringList folders = temp.entryList({QStringLiteral("pelloran-cue-??????")}, QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : folders) {
        const QFileInfo info(temp.filePath(name));
        if (info.isSymLink() || !ownedByUser(info)) continue;
        QDir folder(info.filePath());
        // A folder without its lock may be one being made this moment: kept for a minute.
        const bool locked = folder.exists(cueAliasFolderLockName());
        if (!locked && !oldEnough(info)) continue;
        QLockFile lock(folder.filePath(cueAliasFolderLockName()));
        lock.setStaleLockTime(0);  // stale only when its process has ended
        if (!lock.tryLock(0)) continue;  // a living run's folder
        lock.unlock();
        folder.removeRecursively();  // the alias links themselves, never what they point to
    }
}

}  // namespace Leftovers
