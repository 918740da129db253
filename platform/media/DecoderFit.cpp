#include "DecoderFit.h"

#include <QFile>

namespace DecoderFit {

namespace {
// A program stream's first video sequence header comes within its first packs.
constexpr qint64 LookAheadBytes = 256 * 1024;
const QByteArray OneThread = QByteArrayLiteral("vd-lavc-threads=1");
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

QByteArray optionsFor(const QString &path, bool videoCdTrack)
{
    if (videoCdTrack)
        return OneThread;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QSize picture = mpegPictureSize(file.read(LookAheadBytes));
    if (picture.isEmpty() || picture.width() > SingleThreadWidth || picture.height() > SingleThreadHeight)
        return {};
    return OneThread;
}

}  // namespace DecoderFit
