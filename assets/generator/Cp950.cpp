#include "Cp950.h"

#include <cerrno>
#include <iconv.h>

namespace art {
namespace {

// Runs one whole conversion through iconv; nullopt on any invalid or
// unconvertible input, so that no text is silently altered.
std::optional<QByteArray> convert(const char *to, const char *from, const QByteArray &input)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    QByteArray output;
    output.resize(input.size() * 4 + 16);
    char *in = const_cast<char *>(input.constData());
    size_t inLeft = static_cast<size_t>(input.size());
    char *out = output.data();
    size_t outLeft = static_cast<size_t>(output.size());
    const size_t rc = iconv(cd, &in, &inLeft, &out, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1) || inLeft != 0)
        return std::nullopt;
    output.resize(output.size() - static_cast<qsizetype>(outLeft));
    return output;
}

} // namespace

std::optional<QByteArray> encodeCp950(const QString &text)
{
    return convert("CP950", "UTF-8", text.toUtf8());
}

std::optional<QString> decodeCp950(const QByteArray &bytes)
{
    auto utf8 = convert("UTF-8", "CP950", bytes);
    if (!utf8)
        return std::nullopt;
    return QString::fromUtf8(*utf8);
}

} // namespace art
