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

// The song lyric library beside the program: SongLib/<folder>/<song name>.txt,
// each file a timed lyric file in code page 950 with CR LF line ends.
class SongLibrary
{
public:
    explicit SongLibrary(const QString& programFolder);

    QString folder() const { return m_folder; }

    // Writes the lines of one song into SongLib/<folderName>/, replacing an
    // older file of the same name safely (a failed write leaves the old file as it was).
    SongFileResult save(const QString& folderName, const QString& songName, const QStringList& lines,
                        const LetEventsRun& letEventsRun) const;

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
