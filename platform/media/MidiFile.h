#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// A Standard MIDI File (type 0, 1 or 2, or one in a RIFF 'RMID' wrapper) read
// into one list of the events a synthesiser plays, in time order, with their
// times from the file's tempo map. Running status, meta events and system
// exclusive messages are understood; a track cut short ends where its data
// ends. What cannot be a MIDI file (no header, no track, a bad division, an
// event that has no status, a length beyond what a song can last) is refused
// with the reason.
class MidiFile {
public:
    struct Event {
        double seconds = 0;   // from the start of the song
        quint8 status = 0;    // 0x80..0xEF a channel message, 0xF0 system exclusive
        quint8 data1 = 0;
        quint8 data2 = 0;
        int sysex = -1;       // for 0xF0: the index of its bytes (sysexBytes)
    };

    // Longest song read: a longer one cannot be handed on as one sound stream.
    static constexpr double MaxSeconds = 6 * 3600.0;

    // The file's bytes read; nullopt, with the reason in *why, when they are
    // not a MIDI file.
    static std::optional<MidiFile> read(const QByteArray &bytes, QString *why = nullptr);
    // The file at path read (at most a few megabytes are taken from it).
    static std::optional<MidiFile> load(const QString &path, QString *why = nullptr);
    // The first bytes are those of a MIDI file ("MThd", or "RIFF" .. "RMID").
    static bool looksLikeMidi(const QByteArray &head);

    int format() const { return m_format; }
    int trackCount() const { return m_tracks; }
    double lengthSeconds() const { return m_length; }
    const std::vector<Event> &events() const { return m_events; }
    // The bytes of a system exclusive message, without its F0 and closing F7.
    const QByteArray &sysexBytes(int index) const { return m_sysex.at(size_t(index)); }
    int noteCount() const;

private:
    MidiFile() = default;

    int m_format = 0;
    int m_tracks = 0;
    double m_length = 0;
    std::vector<Event> m_events;
    std::vector<QByteArray> m_sysex;

    friend class MidiFileReader;
};
