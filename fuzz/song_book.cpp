// The CD-ROM song book "CDROMLib.TXT": its disc count, each disc's title and folders, the
// music library's count kept in the same form, and the song book window's disc list.

#include "Cp950.h"
#include "FuzzSupport.h"
#include "ProfileFile.h"
#include "SongBookFiles.h"
#include "frmFindMusic.h"

namespace {

// The readers walk the counts "DiscNum" and "DirNumbers" as they stand in the file; until
// they bound them by what the file holds, inputs with counts of a hundred and more would
// only measure how long a loop of that many lookups (each a look at the file) takes.
bool countsAreSmall(const QString &text)
{
    for (const QString &line : Cp950::splitLines(text)) {
        if (!line.contains(QLatin1String("discnum"), Qt::CaseInsensitive)
            && !line.contains(QLatin1String("dirnumbers"), Qt::CaseInsensitive))
            continue;
        int digits = 0;
        for (const QChar c : line) {
            digits = c.isDigit() ? digits + 1 : 0;
            if (digits >= 3)
                return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzz::startWidgets();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (!countsAreSmall(Fuzz::textOf(data, size)))
        return 0;
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
