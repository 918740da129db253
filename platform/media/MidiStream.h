#pragma once

#include <QByteArray>
#include <QString>

struct mpv_handle;

// Hands MIDI files to libmpv, which has no synthesiser, as sound: through
// its stream callbacks a MIDI file reads as a WAV file of known size whose
// samples are rendered when they are read (MidiRenderer), so that the song
// starts at once and length, position, seeking, speed, volume and the end
// of the medium act as for any other song file.
namespace MidiStream {

// Lets the engine open the locations below; once for each new engine.
void registerOn(mpv_handle *mpv);

// The file is played as MIDI: its name ends in .mid, .midi or .rmi, or it
// begins as a MIDI file does.
bool isMidiFile(const QString &path);

// The location libmpv opens for the MIDI file at path.
QByteArray locationFor(const QString &path);

} // namespace MidiStream
