#pragma once

#include <QString>
#include <QStringList>

// The words of media command strings and the time texts they carry.
namespace mci {

constexpr qint64 kCdFramesPerSecond = 75;

enum class TimeFormat { Msf, Tmsf, Milliseconds, Frames };

// Splits a command into words at blanks; a double-quoted word may hold blanks.
QStringList splitWords(const QString &command);
// Case-insensitive comparison with a keyword.
bool same(const QString &a, const char *b);
// Drops the flags that change nothing here (wait, notify, shareable).
QStringList withoutFlags(QStringList words);
// The word after keyword, or empty; found tells whether the keyword was there.
QString valueAfter(const QStringList &words, const char *keyword, bool *found = nullptr);

// Two digits at least ("05").
QString two(qint64 n);
// "mm:ss:ff" of a time (75 frames a second, cut to whole frames).
QString msfText(qint64 ms);
// Milliseconds of "mm[:ss[:ff]]" parts; the frame part is rounded up so
// that it reads back as the same frame. False on a part that is no number.
bool partsToMs(const QStringList &parts, qint64 *ms);

bool parseTimeFormat(const QString &word, TimeFormat *format);
QString timeFormatName(TimeFormat format);
QString boolText(bool value);

} // namespace mci
