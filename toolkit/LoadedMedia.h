#pragma once

#include <QString>
#include <QVariant>
#include <QVector>

// What is loaded and where its play stands, as far as the panel reads it: the number pad's
// keys and tips, the slide show by play time and the resuming of a video after a panel change.
// The playback engine's globals extend it, so that each value stays one variable; a window
// that carries a panel without playing anything (the panel editor) keeps one of its own.
struct LoadedMedia
{
    QString MediaKind;              // "VCD", "CDAudio", "MP3", "CDROM" or ""
    int MediaCount = 0;             // tracks, track files or play-array entries (a play list can exceed 16 bits)
    QVector<QVariant> PlayArray;    // play entries (folders or files) from index 0
    bool MixedDisc = false;         // a mixed disc plays its audio tracks, from track 2
    double MediaLength = 0;
    double SeekPos = 0;
    QString MciReply = QString(20, QLatin1Char(' '));  // reply buffer of the CD status strings
};
