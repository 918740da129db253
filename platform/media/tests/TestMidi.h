#pragma once
// MIDI files for the tests, written byte by byte.

#include <QByteArray>
#include <QString>

// A MIDI song written byte by byte: a piano plays a rising scale, one note a
// beat; beats at `tempo` beats a minute, from the middle on at `laterTempo`;
// note offs in running status. Type 0 is one track; type 1 a tempo track and
// a note track. Without notes the song is its tempo map and its length only.
struct TestMidiSong {
    int format = 1;
    int beats = 8;
    int tempo = 120;
    int laterTempo = 240;
    bool notes = true;
};
QByteArray testMidiFile(const TestMidiSong &song);
// A type 0 song of `notes` note-on events (every other one of velocity 0, ending the note
// before it) in running status, one a tick at 480 ticks a beat and 120 beats a minute: three
// bytes a note, a million of them 17 min 21.67 s long.
QByteArray denseMidiFile(int notes);
// The MIDI file in a RIFF 'RMID' wrapper, as .rmi files hold it.
QByteArray riffMidiFile(const QByteArray &midi);
// Writes bytes as the file at path.
bool writeFile(const QString &path, const QByteArray &bytes);
