#include "GifWriter.h"

#include <QVector>
#include <array>
#include <cstdlib>

namespace art {
namespace {

void putWord(QByteArray &out, int value)
{
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>((value >> 8) & 0xFF));
}

// Packs variable-width codes least significant bit first into 255-byte blocks.
class CodeStream {
public:
    void put(int code, int width)
    {
        bits_ |= static_cast<quint32>(code) << count_;
        count_ += width;
        while (count_ >= 8) {
            bytes_.append(static_cast<char>(bits_ & 0xFF));
            bits_ >>= 8;
            count_ -= 8;
        }
    }
    QByteArray finish()
    {
        if (count_ > 0)
            bytes_.append(static_cast<char>(bits_ & 0xFF));
        QByteArray blocks;
        for (qsizetype i = 0; i < bytes_.size(); i += 255) {
            const qsizetype n = qMin<qsizetype>(255, bytes_.size() - i);
            blocks.append(static_cast<char>(n));
            blocks.append(bytes_.mid(i, n));
        }
        blocks.append('\0');
        return blocks;
    }

private:
    QByteArray bytes_;
    quint32 bits_ = 0;
    int count_ = 0;
};

// Literal-only LZW: every pixel is sent as its own 9-bit code and the table is
// cleared before the decoder's table could grow to 10-bit codes. Larger than
// real compression, but simple and readable by every decoder.
QByteArray pixelData(const QImage &image)
{
    constexpr int clearCode = 256;
    constexpr int endCode = 257;
    constexpr int codeWidth = 9;
    constexpr int literalsPerClear = 250;
    CodeStream stream;
    stream.put(clearCode, codeWidth);
    int sinceClear = 0;
    for (int y = 0; y < image.height(); ++y) {
        const uchar *line = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            if (sinceClear == literalsPerClear) {
                stream.put(clearCode, codeWidth);
                sinceClear = 0;
            }
            stream.put(line[x], codeWidth);
            ++sinceClear;
        }
    }
    stream.put(endCode, codeWidth);
    return stream.finish();
}

// Palette entry 0 is the key colour; the rest is a 6 x 7 x 6 colour cube plus
// three greys, with the key colour itself taken out of the cube.
QVector<QRgb> paletteWithKey(QRgb key)
{
    QVector<QRgb> palette;
    palette.append(key);
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 7; ++g)
            for (int b = 0; b < 6; ++b) {
                const QRgb c = qRgb(r * 51, g * 255 / 6, b * 51);
                // The key colour must name the margin alone.
                palette.append(c == (key | 0xFF000000u) ? qRgb(96, 96, 96) : c);
            }
    for (int grey : {64, 128, 192})
        palette.append(qRgb(grey, grey, grey));
    return palette;
}

int nearestEntry(const QVector<QRgb> &palette, int r, int g, int b)
{
    int best = 1;
    int bestDistance = 1 << 30;
    for (int i = 1; i < palette.size(); ++i) {
        const int dr = qRed(palette[i]) - r;
        const int dg = qGreen(palette[i]) - g;
        const int db = qBlue(palette[i]) - b;
        const int distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

} // namespace

QByteArray encodeGif(const QImage &indexed)
{
    QByteArray out("GIF89a");
    putWord(out, indexed.width());
    putWord(out, indexed.height());
    out.append(static_cast<char>(0xF7));   // global table of 256 entries, 8-bit colour
    out.append('\0');                      // background colour index
    out.append('\0');                      // square pixels
    const QVector<QRgb> table = indexed.colorTable();
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < table.size() ? table[i] : qRgb(0, 0, 0);
        out.append(static_cast<char>(qRed(c)));
        out.append(static_cast<char>(qGreen(c)));
        out.append(static_cast<char>(qBlue(c)));
    }
    out.append(',');
    putWord(out, 0);
    putWord(out, 0);
    putWord(out, indexed.width());
    putWord(out, indexed.height());
    out.append('\0');                      // no local table, not interlaced
    out.append(static_cast<char>(8));      // LZW minimum code size
    out.append(pixelData(indexed));
    out.append(';');
    return out;
}

QImage toIndexedWithKey(const QImage &picture, QRgb keyColour)
{
    static constexpr std::array<int, 16> bayer = {0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5};
    const QImage source = picture.convertToFormat(QImage::Format_RGB32);
    const QVector<QRgb> palette = paletteWithKey(keyColour);
    QImage indexed(source.size(), QImage::Format_Indexed8);
    indexed.setColorTable(palette);
    const QRgb key = keyColour | 0xFF000000u;
    for (int y = 0; y < source.height(); ++y) {
        const QRgb *in = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        uchar *out = indexed.scanLine(y);
        for (int x = 0; x < source.width(); ++x) {
            if ((in[x] | 0xFF000000u) == key) {
                out[x] = 0;
                continue;
            }
            // Ordered dither of about half a cube step keeps gradients smooth.
            const int offset = (bayer[(y % 4) * 4 + x % 4] - 8) * 3 / 2;
            const int r = qBound(0, qRed(in[x]) + offset, 255);
            const int g = qBound(0, qGreen(in[x]) + offset, 255);
            const int b = qBound(0, qBlue(in[x]) + offset, 255);
            out[x] = static_cast<uchar>(nearestEntry(palette, r, g, b));
        }
    }
    return indexed;
}

} // namespace art
