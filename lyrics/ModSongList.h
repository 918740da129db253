#pragma once

#include "LyricList.h"

#include <QString>
#include <functional>

// Timed lyric files: the lookup that finds the file of a medium, the loader and
// the rule that picks the line due at the play position.
//
// File format: line 1 is a free title line; every further line starts with a
// seven-character stamp "mm:ss:t" followed by the text. Stamps compare as text.

// Result text of ChkLyric for a line without a stamp.
inline const QString LyricErrorText = QStringLiteral("歌詞錯誤");

// Where the caller keeps what the last lookup settled on (the owner's own
// variables, so each value has one home).
struct LyricPlace
{
    QString &LyricFile;     // the lyric file of the medium, whether it exists or not
    QString &LyricDir;      // the folder the last lookup looked in
    QString &DiscLyricDir;  // the disc-key folder under the song folder
};

enum class LyricLookupMode
{
    Player,      // disc-key folder under SongTempDir, program-folder fall-back, folder creation
    LyricTimer,  // disc-key folder under the program folder (the "current drive"), nothing created
};

// The settings and surroundings the lookup reads live.
struct LyricLookupSettings
{
    LyricLookupMode mode = LyricLookupMode::Player;
    QString SongTempDir;          // the song folder
    int CreatSongDir = 0;         // 1: create the disc-key folder on a CD-ROM drive
    int DriveKind = 0;            // drive type of the player's drive (5 = CD-ROM)
    QString ProgramFolder;        // fall-back folder when nothing may be created; the lyric
                                  // timer's disc-key folders lie in it

    // The volume serial (eight hex digits) of the drive that holds a path, and
    // the root of that drive. Left empty, the toolkit's drive helpers are used.
    std::function<QString(const QString &path)> volumeSerialOf;
    std::function<QString(const QString &path)> driveRootOf;
};

// The disc key "1A2B-3C4D" of an eight-digit serial.
QString DiscKey(const QString &serial);

// Clears the list and fills it with the items of the lyric file; selects item 0
// when anything was loaded. Missing, empty or unreadable files leave it empty.
void ReadLyric(LyricList &list, const QString &fileName);

// Works out the lyric file of the medium, stores it in place.LyricFile and
// loads it when it exists. A path shorter than four characters changes nothing
// but the list, which is always cleared.
void FindLyric(LyricList &list, const QString &mediaPath, const LyricPlace &place,
               const LyricLookupSettings &settings);

// The due-line answer.
struct DueLine
{
    enum Kind { None, Line, Damaged };
    Kind kind = None;
    int index = 0;        // the due line when kind is Line

    bool operator==(const DueLine &) const = default;
    static DueLine none() { return {}; }
    static DueLine line(int i) { return {Line, i}; }
    static DueLine damaged() { return {Damaged, 0}; }
};

enum class SelectionPolicy
{
    Follow,  // move the selection to the due line (or item 0 when none is due)
    Keep,    // never move it (the lyric timer's edit mode)
};

// Which line is due at playTimeText ("mm:ss:cc..."): with check true a line
// below the title without a stamp gives Damaged; otherwise the last timed line
// whose stamp is not later than the play time.
DueLine ChkLyric(LyricList &list, bool check, const QString &playTimeText,
                 SelectionPolicy policy = SelectionPolicy::Follow);

// True when the item carries a stamp (its third character is ":").
bool IsTimedLine(const QString &item);
