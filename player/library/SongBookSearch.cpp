#include "SongBookSearch.h"

#include "FieldReader.h"

namespace {

const QString kDir = QStringLiteral("<Dir>");

// The text between the first Open and the first Close after it; to the end when Close is missing.
QString between(const QString& text, QChar open, QChar close)
{
    const int start = text.indexOf(open);
    if (start < 0) return {};
    const int end = text.indexOf(close, start + 1);
    return end < 0 ? text.mid(start + 1) : text.mid(start + 1, end - start - 1);
}

QString headerFolder(const QString& line) { return between(line, QLatin1Char('>'), QLatin1Char('[')).trimmed(); }

QString afterFirstSlash(const QString& text)
{
    const int slash = text.indexOf(QLatin1Char('/'));
    return slash < 0 ? text : text.mid(slash + 1);
}

}  // namespace

AlbumParts SplitAlbum(const QString& folder)
{
    QString singer = folder;
    QString album = folder;
    const int open = folder.indexOf(QLatin1Char('('));
    const int close = open < 0 ? -1 : folder.indexOf(QLatin1Char(')'), open + 1);
    if (close > open) {
        singer = folder.mid(open + 1, close - open - 1);
        album = folder.mid(close + 1);
    }
    for (const QString& separator : {QStringLiteral("~"), QStringLiteral("-"), QStringLiteral("_"),
                                    QStringLiteral("～"), QStringLiteral("－")}) {
        const int at = singer.indexOf(separator);
        if (at < 0) continue;
        singer = singer.left(at);
        // The album drops as many characters as stood before and at the separator in the singer.
        if (album.size() > at + 1) album = album.mid(at + 1);
    }
    return {afterFirstSlash(singer), afterFirstSlash(album)};
}

SongBookSearchResult FindSongIn(const QString& musicLibText, const QString& search)
{
    SongBookSearchResult result;
    const QString wanted = search.trimmed().toUpper();
    QString folder;
    QString title;
    for (const QString& field : ReadFields(musicLibText).fields) {
        if (field.isEmpty()) continue;
        const bool header = field.contains(kDir);
        if (header) {
            folder = headerFolder(field);
            title = between(field, QLatin1Char('['), QLatin1Char(']'));
        }
        if (field.toUpper().contains(wanted)) {
            const int bracket = field.indexOf(QLatin1Char('['));
            const QString text = header && bracket >= 0 ? field.left(bracket) : field;
            result.rows.append({text, folder, title});
        }
        ++result.count;
    }
    return result;
}

SongBookSearchResult FindAlbumIn(const QString& musicLibText, const QString& search)
{
    SongBookSearchResult result;
    const QString wanted = search.trimmed().toUpper();
    for (const QString& field : ReadFields(musicLibText).fields) {
        if (!field.contains(kDir) || !field.toUpper().contains(wanted)) continue;
        const QString folder = headerFolder(field);
        const AlbumParts parts = SplitAlbum(folder);
        result.rows.append({parts.album, parts.singer, folder});
        ++result.count;
    }
    return result;
}
