#include "MidiRenderer.h"

#include "MidiSynth.h"

#include <cmath>

MidiRenderer::MidiRenderer(MidiFile file, std::unique_ptr<MidiSynth> synth)
    : m_file(std::move(file)), m_synth(std::move(synth)),
      m_frameCount(qint64(std::llround(m_file.lengthSeconds() * MidiSynth::SampleRate)))
{
}

MidiRenderer::~MidiRenderer() = default;

qint64 MidiRenderer::frameOf(const MidiFile::Event &event) const
{
    return qint64(std::llround(event.seconds * MidiSynth::SampleRate));
}

void MidiRenderer::play(const MidiFile::Event &event)
{
    if (event.status == 0xf0)
        m_synth->sendSysex(m_file.sysexBytes(event.sysex));
    else
        m_synth->send(event.status, event.data1, event.data2);
}

void MidiRenderer::moveTo(qint64 frame)
{
    frame = qBound<qint64>(0, frame, m_frameCount);
    if (frame == m_frame)
        return;
    m_synth->reset();
    // Everything but the notes: what the channels are set to at that point.
    const std::vector<MidiFile::Event> &events = m_file.events();
    for (m_next = 0; m_next < events.size() && frameOf(events[m_next]) < frame; ++m_next) {
        const int kind = events[m_next].status & 0xf0;
        if (kind != 0x80 && kind != 0x90 && kind != 0xa0)
            play(events[m_next]);
    }
    m_frame = frame;
}

qint64 MidiRenderer::render(qint16 *out, qint64 frames)
{
    const std::vector<MidiFile::Event> &events = m_file.events();
    qint64 done = 0;
    frames = qMin(frames, m_frameCount - m_frame);
    while (done < frames) {
        while (m_next < events.size() && frameOf(events[m_next]) <= m_frame)
            play(events[m_next++]);
        qint64 run = frames - done;
        if (m_next < events.size())
            run = qMin(run, frameOf(events[m_next]) - m_frame);
        m_synth->render(out + 2 * done, int(run));
        done += run;
        m_frame += run;
    }
    return done;
}
