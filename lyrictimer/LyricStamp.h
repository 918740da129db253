#pragma once

#include <QString>
#include <QStringList>

// The text rules of a timed lyric line: a seven-character stamp "mm:ss:t"
// followed directly by the lyric text. Play times are "mm:ss:cc".
namespace LyricStamp {

inline constexpr int StampLength = 7;

// True when the line carries a stamp (its third character is ":").
bool hasStamp(const QString &line);

// The line stamped with the first seven characters of the play time: an
// unstamped line keeps all of its text, a stamped one keeps the text after its
// old stamp.
QString stampLine(const QString &line, const QString &playTimeText);

// The line with its stamp moved by deltaHundredths. Lines without a stamp come
// back unchanged; a time that would fall below zero stops at 00:00:0.
QString shiftStamp(const QString &line, int deltaHundredths);

// Whole seconds of a "mm:ss:cc" text (padded or cut to eight characters),
// rounded to the nearest second.
int MscToSec(const QString &timeText);

// "mm:ss:cc" of a CD position "tt:mm:ss:ff" (75 frames a second): the minutes
// and seconds within the track and the frames as hundredths, so that a stamp
// (its first seven characters) ends in the tenth of the second.
QString cdPositionToPlayTime(const QString &tmsf);

// "mm:ss:cc" of a position in milliseconds.
QString msToPlayTime(qint64 ms);

// The lines a timed lyric file holds for the list's lines: everything up to
// and including a line's first "=" is dropped, empty lines are left out, and
// commas and double quotes take their full-width forms (FieldSafeText).
QStringList savedLines(const QStringList &listLines);

// The characters of the lines that code page 950 cannot hold, each once, in
// order of appearance ("" when all can be saved).
QString charactersLackingInCp950(const QStringList &lines);

// The text of the line shown on the lyric labels: from the eighth character on.
QString lyricText(const QString &line);

} // namespace LyricStamp
