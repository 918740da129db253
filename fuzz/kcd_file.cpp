// KCD lyric files: the field reader, the song listing and the timed lines of every song
// listed, as the converter runs them.

#include "FuzzSupport.h"
#include "KcdDocument.h"
#include "KcdSongs.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzz::scratchFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const KcdDocument document = ReadKcdDocument(Fuzz::writeInput(data, size, QStringLiteral("album.kcd")), {});
    const KcdSongListing listing = ListKcdSongs(document.fields, {});
    Fuzz::require(listing.songNames.size() == listing.titleFields.size(), "every song listed has its title field");
    for (int i = 0; i < listing.titleFields.size(); ++i) {
        const QString &entry = listing.titleFields.at(i);
        TitleOfTitleField(entry);
        AlbumOfTitleField(entry);
        ReadKcdSongLines(document.fields, TitleFieldIndex(entry), listing.songNames.at(i), {});
    }
    return 0;
}
