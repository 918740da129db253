#include "DelSpace.h"

namespace {

constexpr QChar kBlank = u' ';
constexpr QChar kFullWidthBlank = QChar(0x3000);
constexpr int kBlanksThatEndTheText = 3;

QChar replaceForFileName(QChar c)
{
    switch (c.unicode()) {
    case u'/':
    case u'\\':
        return u'_';
    case u'?':
        return QChar(0xFF1F); // ？
    case u':':
        return QChar(0xFF1A); // ：
    case u'.':
        return QChar(0xFF0E); // ．
    default:
        return c;
    }
}

// Letters and the six signs between "Z" and "a" ("A" to "z" in code order), and digits.
bool isWordCharacter(QChar c)
{
    return (c >= u'A' && c <= u'z') || (c >= u'0' && c <= u'9');
}

QString trimBlanks(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == kBlank)
        ++first;
    while (last > first && text.at(last - 1) == kBlank)
        --last;
    return text.mid(first, last - first);
}

} // namespace

QString DelSpace(const QString& Text)
{
    // Written into a buffer of the input's size: the result is never longer.
    QString result(Text.size(), Qt::Uninitialized);
    QChar* out = result.data();
    qsizetype length = 0;
    // A blank is kept only right after a character kept as a word character
    // (or a blank kept that way); the very start counts as such.
    bool previousWasWord = true;
    int blanksInRow = 0;
    for (const QChar original : Text) {
        const QChar c = replaceForFileName(original);
        const bool isBlank = c == kBlank || c == kFullWidthBlank;
        blanksInRow = isBlank ? blanksInRow + 1 : 0;
        if (blanksInRow >= kBlanksThatEndTheText)
            break;
        if (isWordCharacter(c)) {
            out[length++] = c;
            previousWasWord = true;
        } else if (c == kBlank && previousWasWord) {
            out[length++] = c;
        } else {
            if (!isBlank)
                out[length++] = c;
            previousWasWord = false;
        }
    }
    result.truncate(length);
    return trimBlanks(result);
}
