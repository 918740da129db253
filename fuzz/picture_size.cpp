// Picture sizes read from the headers of BMP, GIF and JPG files; the first byte of the input
// picks the kind, the rest is the file.

#include "FuzzSupport.h"
#include "ModFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    static const QString kinds[] = {QStringLiteral("BMP"), QStringLiteral("GIF"), QStringLiteral("JPG")};
    const QSize picture = PictureSizeOf(Fuzz::bytesOf(data + 1, size - 1), kinds[data[0] % 3]);
    Fuzz::require(!picture.isValid() || (picture.width() >= 0 && picture.height() >= 0),
                  "a size read is never negative");
    return 0;
}
