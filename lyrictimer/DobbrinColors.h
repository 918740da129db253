#pragma once

#include <QColor>

// The three colours of the lyric timer's window, kept in the per-user settings
// as Windows colour numbers (red in the low byte, then green, then blue).
struct DobbrinColors {
    QColor background;
    QColor currentLine;  // Label1(1)
    QColor nextLine;     // Label1(3)

    // The design colours.
    static DobbrinColors design();
    // "BackColor", "SongColor", "SongColor1", each defaulting to the given colour.
    static DobbrinColors load(const DobbrinColors &defaults);
    void save() const;
};

int toColorNumber(const QColor &color);
QColor fromColorNumber(int number);
