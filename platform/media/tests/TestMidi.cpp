#include "TestMidi.h"

#include <QFile>

namespace {
QByteArray be32(quint32 v) { return QByteArray(1, char(v >> 24)) + char(v >> 16) + char(v >> 8) + char(v); }
QByteArray le32(quint32 v) { return QByteArray(1, char(v)) + char(v >> 8) + char(v >> 16) + char(v >> 24); }
QByteArray chunk(const char *id, const QByteArray &body) { return id + be32(quint32(body.size())) + body; }

QByteArray tempoEvent(int beatsAMinute)
{
    const quint32 microseconds = quint32(60000000 / beatsAMinute);
    return QByteArray("\xff\x51\x03", 3) + char(microseconds >> 16) + char(microseconds >> 8) + char(microseconds);
}

// A delta time as a variable-length number.
QByteArray delta(int ticks)
{
    QByteArray bytes(1, char(ticks & 0x7f));
    while (ticks >>= 7)
        bytes.prepend(char(0x80 | (ticks & 0x7f)));
    return bytes;
}

constexpr int kTicksABeat = 96;
const QByteArray kEndOfTrack("\x00\xff\x2f\x00", 4);
} // namespace

QByteArray testMidiFile(const TestMidiSong &song)
{
    static const char kScale[] = {60, 62, 64, 65, 67, 69, 71, 72};
    const int half = song.beats / 2;
    const QByteArray piano("\x00\xc0\x00", 3);
    // A beat's note: its status named when running status cannot carry it.
    const auto note = [&](int beat, bool named) {
        const char key = kScale[beat % 8];
        return QByteArray(1, '\0') + (named ? QByteArray("\x90", 1) : QByteArray()) + key + char(100)
               + delta(kTicksABeat) + key + char(0);
    };
    QByteArray tracks;
    if (song.format == 0) {
        QByteArray track = QByteArray(1, '\0') + tempoEvent(song.tempo) + piano;
        int silent = 0;  // ticks since the last event
        for (int beat = 0; beat < song.beats; ++beat) {
            if (beat == half)
                track += delta(silent) + tempoEvent(song.laterTempo), silent = 0;
            if (song.notes)
                track += note(beat, beat == 0 || beat == half);  // a meta event ends running status
            else
                silent += kTicksABeat;
        }
        tracks = chunk("MTrk", track + delta(silent) + QByteArray("\xff\x2f\x00", 3));
    } else {
        const QByteArray tempoMap = QByteArray(1, '\0') + tempoEvent(song.tempo) + delta(half * kTicksABeat)
                                    + tempoEvent(song.laterTempo) + delta((song.beats - half) * kTicksABeat)
                                    + QByteArray("\xff\x2f\x00", 3);
        QByteArray notes = piano;
        for (int beat = 0; beat < song.beats && song.notes; ++beat)
            notes += note(beat, beat == 0);
        tracks = chunk("MTrk", tempoMap) + chunk("MTrk", notes + kEndOfTrack);
    }
    const QByteArray header = QByteArray(1, '\0') + char(song.format) + QByteArray(1, '\0')
                              + char(song.format == 0 ? 1 : 2) + QByteArray(1, '\0') + char(kTicksABeat);
    return chunk("MThd", header) + tracks;
}

QByteArray riffMidiFile(const QByteArray &midi)
{
    QByteArray data = "data" + le32(quint32(midi.size())) + midi;
    if (midi.size() % 2)
        data += '\0';
    return "RIFF" + le32(quint32(data.size() + 4)) + "RMID" + data;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

QByteArray denseMidiFile(int notes)
{
    QByteArray track = QByteArray("\x00\xc0\x00", 3) + QByteArray("\x00\x90\x3c\x64", 4);
    track.reserve(3 * notes + 16);
    for (int i = 1; i < notes; ++i) {
        track += char(1);
        track += char(36 + i % 48);
        track += char(i % 2 ? 0 : 100);
    }
    const QByteArray header("\x00\x00\x00\x01\x01\xe0", 6);  // type 0, one track, 480 ticks a beat
    return chunk("MThd", header) + chunk("MTrk", track + kEndOfTrack);
}
