#include "MciWords.h"

namespace mci {

// Splits a command into words at blanks; a double-quoted word may hold blanks.
QStringList splitWords(const QString &command)
{
    QStringList words;
    QString word;
    bool quoted = false;
    bool inWord = false;
    for (QChar c : command) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && c.isSpace()) {
            if (inWord)
                words.append(word);
            word.clear();
            inWord = false;
        } else {
            word.append(c);
            inWord = true;
        }
    }
    if (inWord)
        words.append(word);
    return words;
}

bool same(const QString &a, const char *b) { return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0; }

// Drops the flags that change nothing here (every command completes before
// it returns; devices are always shared).
QStringList withoutFlags(QStringList words)
{
    words.removeIf([](const QString &w) { return same(w, "wait") || same(w, "notify") || same(w, "shareable"); });
    return words;
}

// The word after keyword, or empty; found tells whether the keyword was there.
QString valueAfter(const QStringList &words, const char *keyword, bool *found)
{
    for (int i = 0; i < words.size(); ++i) {
        if (same(words[i], keyword)) {
            if (found)
                *found = true;
            return i + 1 < words.size() ? words[i + 1] : QString();
        }
    }
    if (found)
        *found = false;
    return {};
}

QString two(qint64 n) { return QString::number(n).rightJustified(2, QLatin1Char('0')); }

QString msfText(qint64 ms)
{
    const qint64 frames = ms * kCdFramesPerSecond / 1000;
    const qint64 seconds = frames / kCdFramesPerSecond;
    return two(seconds / 60) + QLatin1Char(':') + two(seconds % 60) + QLatin1Char(':') +
           two(frames % kCdFramesPerSecond);
}

// Milliseconds of "mm:ss:ff"-style parts; the frame part is rounded up so
// that it reads back as the same frame.
bool partsToMs(const QStringList &parts, qint64 *ms)
{
    static const qint64 kScale[] = {60000, 1000};
    qint64 total = 0;
    for (int i = 0; i < parts.size(); ++i) {
        bool ok = false;
        const qint64 n = parts[i].toLongLong(&ok);
        if (!ok || n < 0)
            return false;
        total += i < 2 ? n * kScale[i] : (n * 1000 + kCdFramesPerSecond - 1) / kCdFramesPerSecond;
    }
    *ms = total;
    return true;
}

bool parseTimeFormat(const QString &word, TimeFormat *format)
{
    if (same(word, "msf"))
        *format = TimeFormat::Msf;
    else if (same(word, "tmsf"))
        *format = TimeFormat::Tmsf;
    else if (same(word, "milliseconds") || same(word, "ms"))
        *format = TimeFormat::Milliseconds;
    else if (same(word, "frames"))
        *format = TimeFormat::Frames;
    else
        return false;
    return true;
}

QString timeFormatName(TimeFormat format)
{
    switch (format) {
    case TimeFormat::Msf:
        return QStringLiteral("msf");
    case TimeFormat::Tmsf:
        return QStringLiteral("tmsf");
    case TimeFormat::Frames:
        return QStringLiteral("frames");
    case TimeFormat::Milliseconds:
        break;
    }
    return QStringLiteral("milliseconds");
}

QString boolText(bool value) { return value ? QStringLiteral("true") : QStringLiteral("false"); }

} // namespace mci
