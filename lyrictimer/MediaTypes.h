#pragma once

#include <QString>
#include <QStringList>

// The media types the play list is built from and the rules that pick a
// folder's media files.
namespace MediaTypes {

// The type names in list order (entries 0 to 5; entry 6 is empty and not listed).
QStringList TypeNames();

// The names of the ticked types in order, each followed by CR LF.
QString typePattern(const QStringList &tickedNames);

// True when "*." and the file's extension occur in the pattern.
bool matchesPattern(const QString &fileName, const QString &pattern);

// The files of a folder listing that belong on the play list, in order.
QStringList playableFiles(const QStringList &fileNames, const QString &pattern);

// The full path of a play-list entry: folder and name with one separator.
QString entryPath(const QString &folder, const QString &name);

// True for an audio CD track file ("*.cda").
bool isCdTrack(const QString &path);

// The track number of a CD track file "TrackNN.cda": the two characters
// before the extension; 0 when they hold no number.
int cdTrackNumber(const QString &path);

// The last folder name of a path ("" for a drive root).
QString lastFolderName(const QString &folder);

} // namespace MediaTypes
