// The music library "MusicLib.TXT": folder header lines and song names, read by the song
// book window's song and album searches.

#include "Cp950.h"
#include "FuzzSupport.h"
#include "SongBookSearch.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzz::scratchFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = Cp950::readTextFile(Fuzz::writeInput(data, size, QStringLiteral("MusicLib.TXT")));
    const SongBookSearchResult songs = FindSongIn(text, QString());
    Fuzz::require(songs.rows.size() == songs.count, "an empty search finds every line");
    FindSongIn(text, QStringLiteral("a"));
    for (const SongBookRow &album : FindAlbumIn(text, QString()).rows)
        SplitAlbum(album.third);
    FindAlbumIn(text, QStringLiteral("歌"));
    return 0;
}
