#pragma once

#include <QString>

// The file and folder helpers the lyric routines use, in one place so the
// lookup reads like the rule it carries out.
namespace LyricPaths {

QString fileName(const QString &path);                 // after the last separator
QString filePath(const QString &path);                 // the folder of a "name.ext" path
QString addPath(const QString &dir, const QString &file);
bool fileExists(const QString &path);                  // a "name.ext" file that exists
// The existing path that Path names without regard to case (a disc's "SONG.TXT" for
// "SONG.txt"); Path itself when there is none.
QString existingSpelling(const QString &path);
bool dirExists(const QString &path);                   // a directory search finds it
void makeDir(const QString &path);                     // one level; failures ignored
bool samePath(const QString &a, const QString &b);
QString volumeSerialOf(const QString &path);           // eight hex digits, "00000000" unknown
QString driveRootOf(const QString &path);              // root of the volume holding path
QString readText(const QString &path, bool *ok);       // CP950 (or UTF-8 with a BOM)

} // namespace LyricPaths
