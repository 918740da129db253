#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

// A General MIDI synthesiser (FluidSynth with the system's sound font) that
// renders 16-bit stereo sound on demand. FluidSynth is opened at run time, at
// the first MIDI file, not linked: the programs start without it, and run on
// without it, only unable to play MIDI files.
//
// Loaded synthesisers are kept for the next song once a song is done with
// them, so that only the first MIDI song of a run waits for the sound font.
class MidiSynth {
public:
    static constexpr int SampleRate = 44100;

    // The sound font: $PELLORAN_MIDI_SOUNDFONT when set, else the system's
    // General MIDI sound font, which the user may replace with a better one.
    static QString soundFontPath();
    // The library file opened: $PELLORAN_FLUIDSYNTH_LIBRARY when set, else the
    // soname the programs were built against.
    static QByteArray libraryName();
    // "" when MIDI files can be played; else what a user is told about why not
    // and what to install.
    static QString unavailableMessage();
    // What a user is told when the sound font is there but cannot be loaded.
    static QString unreadableSoundFontMessage();
    // Shows the message in a message box from the event loop (the caller
    // carries on at once), the first time only: any thread.
    static void tellOnce(const QString &message);

    // A synthesiser, reset, with the sound font loaded; null when FluidSynth
    // or the sound font cannot be loaded. Any thread.
    static std::unique_ptr<MidiSynth> create();
    ~MidiSynth();
    MidiSynth(const MidiSynth &) = delete;
    MidiSynth &operator=(const MidiSynth &) = delete;

    // A channel message (status 0x80..0xEF and its data bytes).
    void send(quint8 status, quint8 data1, quint8 data2);
    // A system exclusive message, without its F0 and F7.
    void sendSysex(const QByteArray &bytes);
    // Every sound stops and every channel goes back to its start state.
    void reset();
    // Renders frames stereo frames (left, right interleaved) into out.
    void render(qint16 *out, int frames);

    // A loaded FluidSynth synthesiser (kept by this unit).
    struct Loaded;

private:
    explicit MidiSynth(Loaded *loaded) : m_loaded(loaded) {}
    Loaded *m_loaded;
};
