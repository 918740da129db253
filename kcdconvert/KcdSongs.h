#pragma once

#include "EventPump.h"

#include <QString>
#include <QStringList>
#include <optional>

// The songs of a KCD file, as the converter window lists them.
struct KcdSongListing
{
    QStringList songNames;   // "NN_title", N counting the titled songs from 1; untitled: the stand-in name
    QStringList titleFields; // "iii title", iii the index of the song's title field
    // The album name, present only when the first song record starts at field 0.
    std::optional<QString> album;
};

// Finds the song records of a KCD file's fields: a field of at least two
// characters (after DelSpace) whose value is 10 or more starts a record, and
// the field after it is the title field.
KcdSongListing ListKcdSongs(const QStringList& fields, const LetEventsRun& letEventsRun);

// The timed lines of the song whose title field has index startPos: the title
// line "00:00:0 " & songName, one line per stamp of the time field with the
// lyric line of the same position, and " ---End---" after a last line that
// holds a stamp only.
struct KcdSongLines
{
    QStringList lines;
    // Lyric lines beyond the last stamp: they have no time and are left out.
    int droppedLyricLines = 0;
};
KcdSongLines ReadKcdSongLines(const QStringList& fields, int startPos, const QString& songName,
                              const LetEventsRun& letEventsRun);

// The title-field index at the head of a "iii title" entry. Only the digits
// before the blank count, so that a title that starts with digits does not
// run into the index.
int TitleFieldIndex(const QString& titleFieldEntry);

// The title stands before the earliest "曲" (composer), "詞" (lyricist) or "＠".
QString TitleOfTitleField(const QString& titleField);

// The album: the text after the first "＠" of the title field, less the field's
// last character; empty when the field has no "＠".
QString AlbumOfTitleField(const QString& titleField);
