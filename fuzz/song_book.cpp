// The CD-ROM song book "CDROMLib.TXT": its disc count, each disc's title and folders, the
// music library's count kept in the same form, and the song book window's disc list.

#include "FuzzSupport.h"
#include "ProfileFile.h"
#include "SongBookFiles.h"
#include "frmFindMusic.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzz::startWidgets();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = Fuzz::writeInput(data, size, QStringLiteral("CDROMLib.TXT"));
    const CdromLibrary library(path);
    library.discCount();
    MusicLibrary::readCount(path);
    ProfileDocument document;
    document.load(path);
    for (const QString &discKey : document.sections()) {
        library.title(discKey);
        library.folders(discKey);
    }
    static frmFindMusic *window = new frmFindMusic;  // one window for every input, as in the player
    window->ReadDiscList(path);
    return 0;
}
