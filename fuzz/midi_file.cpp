// MIDI songs: the reader the media layer hands every MIDI file to before the synthesiser
// plays it, from the raw bytes (a plain file or one in a RIFF wrapper).

#include "FuzzSupport.h"
#include "MidiFile.h"

#include <cmath>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzz::scratchFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::optional<MidiFile> song = MidiFile::read(Fuzz::bytesOf(data, size));
    if (!song)
        return 0;
    const double length = song->lengthSeconds();
    Fuzz::require(length >= 0 && length <= MidiFile::MaxSeconds, "a song's length is one a sound stream can hold");
    Fuzz::require(song->trackCount() > 0, "a song read has a track");
    double before = 0;
    for (const MidiFile::Event &event : song->events()) {
        Fuzz::require(std::isfinite(event.seconds) && event.seconds >= before && event.seconds <= length,
                      "events come in time order within the song");
        before = event.seconds;
        Fuzz::require(event.status >= 0x80 && event.status <= 0xf0 && event.data1 < 0x80 && event.data2 < 0x80,
                      "events are channel messages or system exclusive ones with data bytes");
        if (event.status == 0xf0)
            song->sysexBytes(event.sysex);  // at() insists on an index of the list
    }
    song->noteCount();
    return 0;
}
