#include "LyricStamp.h"

#include "Cp950.h"
#include "FieldReader.h"
#include "ModFiles.h"
#include "VbRuntime.h"

namespace LyricStamp {

namespace {

QString twoDigits(qint64 n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

QString playTime(qint64 minutes, qint64 seconds, qint64 hundredths)
{
    return twoDigits(minutes) + u':' + twoDigits(seconds) + u':' + twoDigits(hundredths);
}

} // namespace

bool hasStamp(const QString &line) { return line.size() >= 3 && line.at(2) == u':'; }

QString stampLine(const QString &line, const QString &playTimeText)
{
    const QString stamp = playTimeText.left(StampLength);
    // A stamped line shorter than a stamp has no text after it: it becomes the stamp alone.
    return hasStamp(line) ? stamp + line.mid(StampLength) : stamp + line;
}

QString shiftStamp(const QString &line, int deltaHundredths)
{
    if (!hasStamp(line))
        return line;  // nothing to move
    const qint64 minutes = qint64(Vb::Val(line.mid(0, 2)));
    const qint64 seconds = qint64(Vb::Val(line.mid(3, 2)));
    const qint64 tenths = qint64(Vb::Val(line.mid(6, 1)));
    const qint64 time = qMax<qint64>(0, minutes * 6000 + seconds * 100 + tenths * 10 + deltaHundredths);
    const QString stamp = playTime(time / 6000, (time / 100) % 60, time % 100).left(StampLength);
    return stamp + line.mid(StampLength);
}

int MscToSec(const QString &timeText)
{
    const QString text = FixLen(timeText, 8);
    const double minutes = Vb::Val(text.mid(0, 2));
    const double seconds = Vb::Val(text.mid(3, 2));
    const double hundredths = Vb::Val(text.mid(6, 2));
    return int(Vb::RoundHalfEven(minutes * 60 + seconds + hundredths / 100));
}

QString cdPositionToPlayTime(const QString &tmsf)
{
    const QStringList parts = tmsf.trimmed().split(u':');
    if (parts.size() < 4)
        return playTime(0, 0, 0);
    const qint64 frames = qint64(Vb::Val(parts.at(3)));
    return playTime(qint64(Vb::Val(parts.at(1))), qint64(Vb::Val(parts.at(2))), qMin<qint64>(99, frames * 100 / 75));
}

QString msToPlayTime(qint64 ms)
{
    const qint64 hundredths = qMax<qint64>(0, ms) / 10;
    return playTime(hundredths / 6000, (hundredths / 100) % 60, hundredths % 100);
}

QStringList savedLines(const QStringList &listLines)
{
    QStringList saved;
    for (const QString &line : listLines) {
        const int equals = line.indexOf(u'=');
        const QString text = equals >= 0 ? line.mid(equals + 1) : line;
        if (!text.isEmpty())
            saved << FieldSafeText(text);
    }
    return saved;
}

QString charactersLackingInCp950(const QStringList &lines)
{
    QString lacking;
    for (const QString &line : lines) {
        for (qsizetype i = 0; i < line.size(); ++i) {
            // One character: a surrogate pair is taken whole.
            const qsizetype length = line.at(i).isHighSurrogate() && i + 1 < line.size() ? 2 : 1;
            const QString character = line.mid(i, length);
            i += length - 1;
            if (character != u"?" && Cp950::encode(character) == "?" && !lacking.contains(character))
                lacking += character;
        }
    }
    return lacking;
}

QString lyricText(const QString &line) { return line.mid(StampLength); }

} // namespace LyricStamp
