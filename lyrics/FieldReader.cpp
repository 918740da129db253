#include "FieldReader.h"

namespace {

bool isLineEnd(QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); }
bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }
// Old DOS editors end a text file with Ctrl+Z; nothing after it is text.
constexpr QChar kEndOfFileMark = QChar(0x1A);

// Moves past one delimiter (a comma or one line end, CR LF counting as one).
qsizetype skipDelimiter(const QString &text, qsizetype pos)
{
    if (pos >= text.size())
        return pos;
    if (text.at(pos) == QLatin1Char(','))
        return pos + 1;
    if (text.at(pos) == QLatin1Char('\r') && pos + 1 < text.size() && text.at(pos + 1) == QLatin1Char('\n'))
        return pos + 2;
    return pos + 1;
}

} // namespace

FieldReadResult ReadFields(const QString &wholeText)
{
    FieldReadResult result;
    const QString text = wholeText.left(wholeText.indexOf(kEndOfFileMark));
    qsizetype pos = 0;
    const qsizetype size = text.size();
    while (pos < size) {
        while (pos < size && isBlank(text.at(pos)))
            ++pos;
        if (pos >= size)
            break;
        if (text.at(pos) == QLatin1Char('"')) {
            const qsizetype close = text.indexOf(QLatin1Char('"'), pos + 1);
            if (close < 0) {
                // A quote with no partner is a read error: the field is lost.
                result.complete = false;
                return result;
            }
            result.fields << text.mid(pos + 1, close - pos - 1);
            // Whatever follows the closing quote up to the delimiter is not data.
            pos = close + 1;
            while (pos < size && text.at(pos) != QLatin1Char(',') && !isLineEnd(text.at(pos)))
                ++pos;
            pos = skipDelimiter(text, pos);
            continue;
        }
        qsizetype end = pos;
        while (end < size && text.at(end) != QLatin1Char(',') && !isLineEnd(text.at(end)))
            ++end;
        result.fields << text.mid(pos, end - pos);
        pos = skipDelimiter(text, end);
    }
    return result;
}

QString FieldSafeText(const QString &text)
{
    QString stored;
    stored.reserve(text.size());
    bool quoteOpen = false;
    for (const QChar c : text) {
        if (c == u',') {
            stored += QChar(0xFF0C);  // ，
        } else if (c == u'"') {
            stored += quoteOpen ? QChar(0x201D) : QChar(0x201C);  // ” or “
            quoteOpen = !quoteOpen;
        } else {
            stored += c;
        }
    }
    return stored;
}
