// Text in code page 950: decoding any bytes, the write back that must give the same text,
// line splitting and the cut on whole characters. (The bytes themselves may change: a few
// characters have two codes in the code page, and are written back with the usual one.)

#include "Cp950.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = Fuzz::bytesOf(data, size);
    const QString text = Cp950::decode(bytes);
    Fuzz::require(Cp950::decode(Cp950::encode(text)) == text, "text written and read again is the same text");

    const QStringList lines = Cp950::splitLines(text);
    Cp950::joinCrLf(lines);

    const int limit = size > 0 ? data[0] % 64 : 0;
    const QString cut = Cp950::cutToBytes(text, limit);
    Fuzz::require(text.startsWith(cut), "the cut keeps the start of the text");
    Fuzz::require(Cp950::byteLength(cut) <= limit, "the cut fits the byte limit");
    return 0;
}
