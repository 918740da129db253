#pragma once

#include "MidiFile.h"

#include <memory>

class MidiSynth;

// Plays a MIDI file's events into a synthesiser and renders the sound frame
// by frame, from any point: a move to another frame silences the synthesiser
// and sets every channel's program and controllers as the song has them
// there, so that the song goes on from that point as it would have sounded.
class MidiRenderer {
public:
    MidiRenderer(MidiFile file, std::unique_ptr<MidiSynth> synth);
    ~MidiRenderer();

    // The song's length in stereo frames at the synthesiser's rate.
    qint64 frameCount() const { return m_frameCount; }
    // The frame the next render() starts at.
    qint64 frame() const { return m_frame; }
    void moveTo(qint64 frame);
    // Renders up to frames stereo frames (16-bit, interleaved) into out and
    // returns how many; 0 at the end of the song.
    qint64 render(qint16 *out, qint64 frames);

private:
    qint64 frameOf(const MidiFile::Event &event) const;
    void play(const MidiFile::Event &event);

    MidiFile m_file;
    std::unique_ptr<MidiSynth> m_synth;
    qint64 m_frameCount = 0;
    qint64 m_frame = 0;
    size_t m_next = 0;  // the first event not yet played
};
