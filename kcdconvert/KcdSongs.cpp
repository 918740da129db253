#include "KcdSongs.h"

#include "DelSpace.h"
#include "SongLibrary.h"
#include "VbRuntime.h"

namespace {

const QChar kLineMark = QChar(0xFF20); // ＠, ends a lyric line and introduces the album
const QString kTitleEndMarks[] = {QStringLiteral("曲"), QStringLiteral("詞"), QString(kLineMark)};
constexpr int kFirstSongNumber = 10;
constexpr int kStampLength = 7;
constexpr int kStampGroupLength = 8;
constexpr int kShortestTextLine = 9; // a line of 8 characters or fewer holds a stamp only

void letRun(const LetEventsRun& letEventsRun)
{
    if (letEventsRun)
        letEventsRun();
}

// Whether Val can read a number from the text: its first character that Val
// and DelSpace do not skip must be able to start one.
bool mayStartWithNumber(const QString& field)
{
    for (const QChar c : field) {
        if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c.unicode() == 0x3000)
            continue;
        return c.isDigit() || c == u'+' || c == u'-' || c == u'&';
    }
    return false;
}

bool startsSongRecord(const QString& field)
{
    // Most fields are lyrics: they are told apart before DelSpace walks them.
    if (!mayStartWithNumber(field))
        return false;
    const QString number = DelSpace(field);
    return number.size() >= 2 && Vb::Val(number) >= kFirstSongNumber;
}

void appendStamps(const QString& timeField, QStringList& lines)
{
    const qsizetype lastGroup = timeField.size() / kStampGroupLength + 1;
    for (qsizetype k = 0; k <= lastGroup; ++k) {
        const QString stamp = timeField.mid(k * kStampGroupLength, kStampLength);
        if (!stamp.isEmpty())
            lines.append(stamp);
    }
}

// Puts the lyric lines of a lyric field after the stamps, line e of the field
// going to line e of the song (line 0 is the title line).
int appendLyrics(const QString& lyricField, QStringList& lines)
{
    int dropped = 0;
    auto addToLine = [&](qsizetype e, QStringView lyric) {
        if (e < lines.size())
            lines[e] += u' ' + DelSpace(lyric.toString());
        else
            ++dropped;
    };
    // The rest of the field is the text from `start` on; it is walked, not copied.
    const QStringView field(lyricField);
    qsizetype start = 0;
    qsizetype e = 1;
    while (start < field.size()) {
        const qsizetype p = field.indexOf(kLineMark, start);
        if (p >= 0 && p != field.size() - 1) {
            addToLine(e, field.sliced(start, p - start));
            start = p + 1;
            ++e;
        } else {
            const qsizetype end = p >= 0 ? p : field.size();
            addToLine(e, field.sliced(start, end - start));
            start = field.size();
        }
    }
    return dropped;
}

} // namespace

QString TitleOfTitleField(const QString& titleField)
{
    qsizetype end = titleField.size();
    for (const QString& mark : kTitleEndMarks) {
        const qsizetype at = titleField.indexOf(mark);
        if (at >= 0 && at < end)
            end = at;
    }
    return titleField.left(end);
}

QString AlbumOfTitleField(const QString& titleField)
{
    const qsizetype at = titleField.indexOf(kLineMark);
    if (at < 0)
        return QString();
    QString album = titleField.mid(at + 1);
    album.chop(1);
    return album;
}

int TitleFieldIndex(const QString& titleFieldEntry)
{
    const QString digits = titleFieldEntry.section(u' ', 0, 0);
    return int(Vb::Val(digits));
}

KcdSongListing ListKcdSongs(const QStringList& fields, const LetEventsRun& letEventsRun)
{
    KcdSongListing listing;
    int songNumber = 1;
    for (qsizetype f = 0; f < fields.size(); ++f) {
        if (startsSongRecord(fields.at(f)) && f + 1 < fields.size()) {
            const qsizetype titleIndex = ++f;
            const QString& titleField = fields.at(titleIndex);
            if (titleIndex == 1)
                listing.album = AlbumOfTitleField(titleField);
            const QString title = DelSpace(TitleOfTitleField(titleField));
            listing.titleFields.append(Vb::Format(double(titleIndex), QStringLiteral("000")) + u' ' + title);
            // A song without a title (or one made only of dropped characters) is
            // still converted, under the stand-in name; it takes no song number.
            if (title.isEmpty()) {
                listing.songNames.append(kStandInTitle);
            } else {
                listing.songNames.append(Vb::Format(songNumber, QStringLiteral("00")) + u'_' + title);
                ++songNumber;
            }
        }
        letRun(letEventsRun);
    }
    return listing;
}

KcdSongLines ReadKcdSongLines(const QStringList& fields, int startPos, const QString& songName,
                              const LetEventsRun& letEventsRun)
{
    KcdSongLines song;
    for (qsizetype f = qMax(startPos, 0); f < fields.size(); ++f) {
        const QString& s = fields.at(f);
        if (f > startPos && Vb::Val(s) >= kFirstSongNumber)
            break;
        if (s.startsWith(QStringLiteral("00"))) {
            song.lines.append(QStringLiteral("00:00:0 ") + songName);
            appendStamps(s, song.lines);
            ++f;
            if (f < fields.size())
                song.droppedLyricLines += appendLyrics(fields.at(f), song.lines);
        }
        letRun(letEventsRun);
    }
    if (!song.lines.isEmpty() && song.lines.last().size() < kShortestTextLine)
        song.lines.last() += QStringLiteral(" ---End---");
    return song;
}
