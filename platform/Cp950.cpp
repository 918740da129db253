#include "Cp950.h"

#include "SafeFile.h"

#include <QStringDecoder>

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <optional>

namespace {

// One conversion through iconv. Input that can't be converted is handled byte by byte (or
// character by character) by the callers, so this works on whole runs only.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as possible; returns the number of input bytes consumed.
    size_t convert(const char* in, size_t inSize, QByteArray& out) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* inPtr = const_cast<char*>(in);
        size_t inLeft = inSize;
        char buffer[4096];
        while (inLeft > 0) {
            char* outPtr = buffer;
            size_t outLeft = sizeof buffer;
            size_t rc = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<int>(sizeof buffer - outLeft));
            if (rc == static_cast<size_t>(-1) && errno != E2BIG) break;
        }
        return inSize - inLeft;
    }

private:
    iconv_t cd_;
};

Converter& toUtf16() {
    thread_local Converter c("UTF-16LE", "CP950");
    return c;
}

Converter& fromUtf16() {
    thread_local Converter c("CP950", "UTF-16LE");
    return c;
}

QString utf16ToString(const QByteArray& utf16) {
    return QString(reinterpret_cast<const QChar*>(utf16.constData()), utf16.size() / 2);
}

bool isLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool isTrailByte(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0xA1 && b <= 0xFE); }

// Undecodable bytes become the lone low surrogates U+DC00+byte: no character of any text
// uses them, they show as a replacement mark, and encode() turns them back into their bytes.
// A broken double-byte pair is escaped whole, so that its second byte never reads as a
// backslash or a bracket.
constexpr ushort EscapeBase = 0xDC00;
QChar escapeOf(unsigned char b) { return QChar(static_cast<ushort>(EscapeBase + b)); }
bool isEscape(QChar c) { return c.unicode() >= EscapeBase && c.unicode() <= EscapeBase + 0xFF; }

}  // namespace

namespace Cp950 {

QString decode(const QByteArray& bytes) {
    Converter& c = toUtf16();
    QString result;
    const char* data = bytes.constData();
    size_t size = static_cast<size_t>(bytes.size());
    size_t pos = 0;
    while (pos < size) {
        QByteArray out;
        if (c.valid()) pos += c.convert(data + pos, size - pos, out);
        result += utf16ToString(out);
        if (pos >= size) break;
        // A byte (or lead byte and its follower) that is no character: kept as escape
        // characters so that writing the text back gives the same bytes.
        const bool pair = isLeadByte(static_cast<unsigned char>(data[pos])) && pos + 1 < size &&
                          isTrailByte(static_cast<unsigned char>(data[pos + 1]));
        for (size_t n = pair ? 2 : 1; n > 0; --n, ++pos) result += escapeOf(static_cast<unsigned char>(data[pos]));
    }
    return result;
}

QByteArray encode(const QString& text) {
    Converter& c = fromUtf16();
    QByteArray result;
    const char* data = reinterpret_cast<const char*>(text.utf16());
    size_t size = static_cast<size_t>(text.size()) * 2;
    size_t pos = 0;
    while (pos < size) {
        if (c.valid()) pos += c.convert(data + pos, size - pos, result);
        if (pos >= size) break;
        const QChar ch = text.at(static_cast<qsizetype>(pos / 2));
        if (isEscape(ch)) {  // a byte that decode() could not read goes back unchanged
            result += static_cast<char>(ch.unicode() - EscapeBase);
            pos += 2;
            continue;
        }
        // A character the code page lacks (a surrogate pair counts as one).
        result += '?';
        const bool pair = ch.isHighSurrogate() && pos + 2 < size;
        pos += pair ? 4 : 2;
    }
    return result;
}

bool hasUndecodableBytes(const QString& text) {
    return std::any_of(text.begin(), text.end(), isEscape);
}

int byteLength(const QString& text) { return encode(text).size(); }

QString cutToBytes(const QString& text, int maxBytes) {
    if (maxBytes <= 0) return QString();
    if (encode(text).size() <= maxBytes) return text;
    int used = 0;
    int i = 0;
    while (i < text.size()) {
        int len = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        int bytes = encode(text.mid(i, len)).size();
        if (used + bytes > maxBytes) break;
        used += bytes;
        i += len;
    }
    return text.left(i);
}

bool hasUtf8Bom(const QByteArray& bytes) { return bytes.startsWith("\xEF\xBB\xBF"); }

QString decodeText(const QByteArray& bytes) {
    if (hasUtf8Bom(bytes)) return QString::fromUtf8(bytes.mid(3));
    // Saved as "Unicode" by a Windows editor: read as code page 950 it was nothing but noise.
    const auto utf16 = bytes.startsWith("\xFF\xFE")   ? std::optional(QStringConverter::Utf16LE)
                       : bytes.startsWith("\xFE\xFF") ? std::optional(QStringConverter::Utf16BE)
                                                       : std::nullopt;
    if (utf16) {
        QStringDecoder decoder(*utf16, QStringDecoder::Flag::Stateless);
        return decoder.decode(bytes.mid(2));
    }
    return decode(bytes);
}

QString readTextFile(const QString& path, bool* ok) {
    bool readOk = false;
    const QByteArray bytes = SafeFile::read(path, &readOk);
    if (ok) *ok = readOk;
    if (!readOk) return QString();
    return decodeText(bytes);
}

bool writeTextFile(const QString& path, const QString& text) {
    return SafeFile::write(path, encode(text));
}

bool appendTextFile(const QString& path, const QString& text) {
    return SafeFile::append(path, encode(text));
}

QStringList splitLines(const QString& text) {
    QStringList lines;
    int start = 0;
    int i = 0;
    while (i < text.size()) {
        QChar ch = text.at(i);
        if (ch == u'\r' || ch == u'\n') {
            lines << text.mid(start, i - start);
            if (ch == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') ++i;
            start = i + 1;
        }
        ++i;
    }
    if (start < text.size()) lines << text.mid(start);
    return lines;
}

QString joinCrLf(const QStringList& lines) {
    QString text;
    for (const QString& line : lines) {
        text += line;
        text += QStringLiteral("\r\n");
    }
    return text;
}

}  // namespace Cp950
