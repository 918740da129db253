#include "SongLibrary.h"

#include "Cp950.h"
#include "DelSpace.h"
#include "FieldReader.h"
#include "SafeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QString kLibraryFolderName = QStringLiteral("SongLib");
const QString kSongExtension = QStringLiteral(".txt");

bool makeFolder(const QString& path)
{
    return QFileInfo(path).isDir() || QDir().mkdir(path);
}

// The first of name.txt, name(2).txt, name(3).txt ... that does not exist yet, or that
// already holds this very song: converting the same KCD again adds no copy of it.
QString freePath(const QString& folder, const QString& name, const QByteArray& bytes)
{
    QString path = folder + u'/' + name + kSongExtension;
    for (int copy = 2; QFileInfo::exists(path) && !SafeFile::holds(path, bytes); ++copy)
        path = folder + u'/' + name + u'(' + QString::number(copy) + u')' + kSongExtension;
    return path;
}

// "NN_" of a song name "NN_title", or "" when the name does not start so.
QString songNumberPrefix(const QString& songName)
{
    static const QRegularExpression prefix(QStringLiteral("^[0-9]+_"));
    return prefix.match(songName).captured(0);
}

} // namespace

bool IsUsableFileName(const QString& name)
{
    if (name.isEmpty() || name == u"." || name == u"..")
        return false;
    for (const QChar c : name) {
        if (c == u'/' || c == u'\\' || c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    }
    return true;
}

bool IsUntitledSongName(const QString& songName)
{
    static const QRegularExpression numberOnly(QStringLiteral("^[0-9]+_$"));
    return numberOnly.match(songName).hasMatch();
}

SongLibrary::SongLibrary(const QString& programFolder)
    : m_folder(programFolder + u'/' + kLibraryFolderName)
{
}

QString SongLibrary::plannedPath(const QString& folderName, const QString& songName) const
{
    return m_folder + u'/' + folderName + u'/' + songName + kSongExtension;
}

SongFileResult SongLibrary::save(const QString& folderName, const QString& songName, const QStringList& lines,
                                 const LetEventsRun& letEventsRun) const
{
    SongFileResult result;
    QString album = folderName;
    if (!IsUsableFileName(album)) {
        album = kStandInAlbum;
        result.standInName = true;
    }
    QString name = songName;
    if (name == kStandInTitle || IsUntitledSongName(name) || !IsUsableFileName(name)) {
        name = songNumberPrefix(name) + kStandInTitle;
        result.standInName = true;
    }
    QString text;
    for (const QString& line : lines) {
        // A quoted KCD field may hold a comma or a quote: the reader of song files must not split there.
        text += FieldSafeText(line);
        text += QStringLiteral("\r\n");
        if (letEventsRun)
            letEventsRun();
    }
    const QByteArray bytes = Cp950::encode(text);

    const QString albumFolder = m_folder + u'/' + album;
    // A stand-in name never replaces another song's file: it may stand for several songs.
    result.path = result.standInName ? freePath(albumFolder, name, bytes) : albumFolder + u'/' + name + kSongExtension;
    if (!makeFolder(m_folder) || !makeFolder(albumFolder))
        return result;
    // Replaced whole, but not synced song by song: a folder of KCD files makes thousands.
    result.written = SafeFile::write(result.path, bytes, false);
    return result;
}
