#pragma once

#include "EventPump.h"

#include <QString>
#include <QStringList>

// What became of one song file.
struct SongFileResult
{
    bool written = false;
    // The album or song name was empty or unfit for a file name (or the song is
    // untitled), so a stand-in name that overwrites nothing was used.
    bool standInName = false;
    QString path; // the file written, or the one that could not be written
};

// Where one song goes and who writes it.
struct SongPlace
{
    QString folderName;           // the library folder: the album's, or the one of the file
    bool folderOfTheFile = false; // folderName came from fileFolderName for sourceFile
    QString sourceFile;           // the KCD file's full path
    int song = 0;                 // the song's place in that file
};

// The song lyric library beside the program: SongLib/<folder>/<song name>.txt,
// each file a timed lyric file in code page 950 with CR LF line ends.
class SongLibrary
{
public:
    explicit SongLibrary(const QString& programFolder);

    QString folder() const { return m_folder; }

    // Writes the lines of one song into SongLib/<folderName>/, replacing an
    // older file of the same name safely (a failed write leaves the old file as it was).
    // A song under a stand-in name replaces only the file it wrote there before.
    SongFileResult save(const SongPlace& place, const QString& songName, const QStringList& lines,
                        const LetEventsRun& letEventsRun) const;

    // The folder of a file that names no album: the file's name, else name(2),
    // name(3) ..., the first that is free or already this file's own, so that two
    // files of one name in different folders never share one.
    QString fileFolderName(const QString& fileName, const QString& sourceFile) const;

    // The path the song would be written to (stand-in names not applied).
    QString plannedPath(const QString& folderName, const QString& songName) const;

private:
    QString m_folder;
};

// True when the name can be one level of a path inside the library: not empty,
// not "." or "..", without separators or control characters.
bool IsUsableFileName(const QString& name);

// A song name that is only its number and "_" (its title was empty).
bool IsUntitledSongName(const QString& songName);

inline const QString kStandInAlbum = QStringLiteral("未命名專集");
inline const QString kStandInTitle = QStringLiteral("未命名");
