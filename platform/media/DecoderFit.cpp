#include "DecoderFit.h"

#include <QFile>

namespace DecoderFit {

namespace {
// A program stream's first video sequence header comes within its first packs.
constexpr qint64 LookAheadBytes = 256 * 1024;

bool smallMpegPicture(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QSize picture = mpegPictureSize(file.read(LookAheadBytes));
    return !picture.isEmpty() && picture.width() <= SingleThreadWidth && picture.height() <= SingleThreadHeight;
}
}  // namespace

QSize mpegPictureSize(const QByteArray &start)
{
    static const QByteArray sequenceHeader("\x00\x00\x01\xB3", 4);
    const qsizetype at = start.indexOf(sequenceHeader);
    if (at < 0 || at + 7 > start.size())
        return {};
    const auto byte = [&](qsizetype i) { return int(quint8(start[at + 4 + i])); };
    // Twelve bits of width, then twelve of height.
    const QSize size((byte(0) << 4) | (byte(1) >> 4), ((byte(1) & 0x0F) << 8) | byte(2));
    return size.width() > 0 && size.height() > 0 ? size : QSize();
}

QByteArray optionsFor(const QString &path, Source source, bool processorScaling)
{
    if (source == Source::File && !smallMpegPicture(path))
        return {};
    QByteArray options = QByteArrayLiteral("vd-lavc-threads=1");
    // The software output hands each small picture's conversion to helper threads by slices
    // that take less time than waking the helpers does.
    if (processorScaling)
        options += ",zimg-threads=1";
    // A disc image is a local file that answers at once: the engine reads it between frames
    // itself instead of waking a reader thread for every pack. A drive keeps its reader
    // thread, whose read-ahead rides out the drive's seeks and spin-ups.
    if (source == Source::DiscImage)
        options += ",demuxer-thread=no";
    return options;
}

}  // namespace DecoderFit
