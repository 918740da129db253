#include "LyricPaths.h"

#include "Cp950.h"
#include "DirSearch.h"
#include "ModFiles.h"

#include <QDir>

namespace LyricPaths {

QString fileName(const QString &path) { return GetFileName(path); }

QString filePath(const QString &path) { return GetFilePath(path); }

QString addPath(const QString &dir, const QString &file) { return AddPath(dir, file); }

bool fileExists(const QString &path) { return FileExist(path); }

QString existingSpelling(const QString &path) { return DirSearch::ResolveCase(path); }

bool dirExists(const QString &path) { return !path.isEmpty() && !DirEx(path).isEmpty(); }

void makeDir(const QString &path) { MakeDir(path); }

bool samePath(const QString &a, const QString &b)
{
    return QDir::cleanPath(a) == QDir::cleanPath(b);
}

QString volumeSerialOf(const QString &path) { return GetVolSerial(GetDrive(path)); }

QString driveRootOf(const QString &path) { return GetDrive(path); }

QString readText(const QString &path, bool *ok) { return Cp950::readTextFile(path, ok); }

} // namespace LyricPaths
