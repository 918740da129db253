// The MIDI file reader and the renderer that plays its events through the
// synthesiser, on files written here byte by byte.
#include "MediaTestSupport.h"
#include "TestMidi.h"
#include "MidiFile.h"
#include "MidiRenderer.h"
#include "MidiSynth.h"

#include <gtest/gtest.h>

#include <QList>

#include <vector>

namespace {

// The loudest sample of frames rendered from the renderer's place on.
int loudest(MidiRenderer &renderer, qint64 frames)
{
    std::vector<qint16> samples(size_t(frames) * 2);
    const qint64 rendered = renderer.render(samples.data(), frames);
    int peak = 0;
    for (qint64 i = 0; i < rendered * 2; ++i)
        peak = qMax(peak, qAbs(int(samples[size_t(i)])));
    return peak;
}

} // namespace

TEST(MidiFileTest, ReadsBothTypesAndTheWrapperWithTheirTempoMaps)
{
    for (const int format : {0, 1}) {
        const TestMidiSong song{format, 8, 120, 240};
        const QByteArray bytes = testMidiFile(song);
        for (const QByteArray &file : {bytes, riffMidiFile(bytes)}) {
            QString why;
            const std::optional<MidiFile> midi = MidiFile::read(file, &why);
            ASSERT_TRUE(midi) << "type " << format << ": " << why.toStdString();
            EXPECT_TRUE(MidiFile::looksLikeMidi(file.left(12)));
            EXPECT_EQ(midi->format(), format);
            EXPECT_EQ(midi->trackCount(), format == 0 ? 1 : 2);
            // Four beats at 120 a minute, four at 240.
            EXPECT_DOUBLE_EQ(midi->lengthSeconds(), 3.0);
            EXPECT_EQ(midi->noteCount(), 8);  // the offs ride on running status
            const MidiFile::Event &fifth = midi->events().at(1 + 2 * 4);  // after the program, four on-off pairs
            EXPECT_EQ(fifth.status, 0x90);
            EXPECT_DOUBLE_EQ(fifth.seconds, 2.0);
        }
    }
    const std::optional<MidiFile> silent = MidiFile::read(testMidiFile({1, 6, 60, 120, false}));
    ASSERT_TRUE(silent);
    EXPECT_EQ(silent->noteCount(), 0);
    EXPECT_DOUBLE_EQ(silent->lengthSeconds(), 4.5);

    // Time code: 25 frames a second of 40 ticks, a note off a second in.
    const QByteArray timeCode = QByteArray("MThd\0\0\0\x06\0\0\0\x01\xe7\x28", 14) + "MTrk"
                                + QByteArray("\0\0\0\x0c\x00\x90\x3c\x64\x87\x68\x3c\x00\x00\xff\x2f", 15) + '\0';
    const std::optional<MidiFile> smpte = MidiFile::read(timeCode);
    ASSERT_TRUE(smpte);
    EXPECT_DOUBLE_EQ(smpte->lengthSeconds(), 1.0);
}

TEST(MidiFileTest, RefusesWhatIsNoMidiFileAndReadsATrackCutShortAsFarAsItGoes)
{
    const QByteArray good = testMidiFile({});
    QByteArray noStatus = good;
    noStatus[good.indexOf("\xc0")] = '\x10';  // the first event, a program change, loses its status
    QByteArray noDivision = good;
    noDivision[12] = noDivision[13] = '\0';
    const QList<QByteArray> refused = {
        QByteArray(), QByteArray(4096, '\x13'), good.left(10), good.left(14), noStatus, noDivision,
        "RIFF" + QByteArray(4, '\0') + "RMIDLIST" + QByteArray(4, '\0'),
        // A delta time of days.
        QByteArray("MThd\0\0\0\x06\0\0\0\x01\0\x01MTrk\0\0\0\x07\xff\xff\xff\x7f\xff\x2f\x00", 29),
    };
    for (const QByteArray &bytes : refused) {
        QString why;
        EXPECT_FALSE(MidiFile::read(bytes, &why)) << bytes.toHex().left(60).toStdString();
        EXPECT_FALSE(why.isEmpty());
    }
    // Cut inside its note track: the notes before the cut play.
    const std::optional<MidiFile> cut = MidiFile::read(good.left(good.size() - 20));
    ASSERT_TRUE(cut);
    EXPECT_GT(cut->noteCount(), 2);
    EXPECT_LT(cut->noteCount(), 8);
}

TEST(MidiRendererTest, SoundsWhereTheNotesAreFromAnyPointAndEndsAtTheLength)
{
    if (!MidiSynth::unavailableMessage().isEmpty())
        GTEST_SKIP() << MidiSynth::unavailableMessage().toStdString();
    std::optional<MidiFile> song = MidiFile::read(testMidiFile({1, 8, 120, 240}));
    ASSERT_TRUE(song);
    MidiRenderer renderer(std::move(*song), MidiSynth::create());
    EXPECT_EQ(renderer.frameCount(), 3 * MidiSynth::SampleRate);
    EXPECT_GT(loudest(renderer, MidiSynth::SampleRate / 4), 1000);
    // Moved to just before the last note (the program kept), and on to the end.
    renderer.moveTo(renderer.frameCount() - MidiSynth::SampleRate / 3);
    EXPECT_GT(loudest(renderer, MidiSynth::SampleRate), 1000);
    EXPECT_EQ(renderer.frame(), renderer.frameCount());
    EXPECT_EQ(loudest(renderer, 100), 0);
    // Moved to the very start of a note (the fifth, at 2 s), and back to 0:00: the note there
    // sounds at once, before the next one comes.
    for (const qint64 note : {2 * MidiSynth::SampleRate, 0}) {
        renderer.moveTo(note);
        EXPECT_GT(loudest(renderer, MidiSynth::SampleRate / 5), 1000) << "from frame " << note;
    }

    std::optional<MidiFile> silent = MidiFile::read(testMidiFile({0, 4, 120, 120, false}));
    ASSERT_TRUE(silent);
    MidiRenderer quiet(std::move(*silent), MidiSynth::create());
    EXPECT_EQ(quiet.frameCount(), 2 * MidiSynth::SampleRate);
    EXPECT_LE(loudest(quiet, quiet.frameCount()), 2);  // the dither's noise
}
