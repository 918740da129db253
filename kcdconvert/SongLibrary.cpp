#include "SongLibrary.h"

#include "Cp950.h"
#include "DelSpace.h"
#include "FieldReader.h"
#include "LibraryLedger.h"
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

// name, name(2), name(3) ... for the copy number (1 is the name itself).
QString numbered(const QString& name, int copy)
{
    return copy == 1 ? name : name + u'(' + QString::number(copy) + u')';
}

// Which song of which file: the owner of a song file written under a stand-in name.
QString songOwner(const SongPlace& place)
{
    return QString::number(place.song) + u'|' + place.sourceFile;
}

// The file name for a song under a stand-in name: the one this song wrote before,
// else the first of name.txt, name(2).txt ... that no song owns and that is free or
// already holds this very song (written before its owner was recorded).
QString standInFileName(const LibraryLedger& ledger, const QString& folder, const QString& name,
                        const QString& owner, const QByteArray& bytes)
{
    const QString own = ledger.entryOf(owner);
    if (own.startsWith(name) && own.endsWith(kSongExtension))
        return own;
    for (int copy = 1;; ++copy) {
        const QString fileName = numbered(name, copy) + kSongExtension;
        const QString path = folder + u'/' + fileName;
        if (ledger.ownerOf(fileName).isEmpty() && (!QFileInfo::exists(path) || SafeFile::holds(path, bytes)))
            return fileName;
    }
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

QString SongLibrary::fileFolderName(const QString& fileName, const QString& sourceFile) const
{
    for (int copy = 1;; ++copy) {
        const QString name = numbered(fileName, copy);
        const QString path = m_folder + u'/' + name;
        if (!QFileInfo::exists(path) || LibraryLedger(path).ownerOf(LibraryLedger::FolderEntry) == sourceFile)
            return name;
    }
}

SongFileResult SongLibrary::save(const SongPlace& place, const QString& songName, const QStringList& lines,
                                 const LetEventsRun& letEventsRun) const
{
    SongFileResult result;
    QString album = place.folderName;
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
    LibraryLedger ledger(albumFolder);
    // A stand-in name never replaces another song's file: it may stand for several songs.
    const QString owner = songOwner(place);
    const QString fileName = result.standInName ? standInFileName(ledger, albumFolder, name, owner, bytes)
                                                : name + kSongExtension;
    result.path = albumFolder + u'/' + fileName;
    if (!makeFolder(m_folder) || !makeFolder(albumFolder))
        return result;
    // Claimed before its first song: a file of the same name converted later takes another folder.
    if (place.folderOfTheFile && !ledger.record(LibraryLedger::FolderEntry, place.sourceFile))
        return result;
    // Replaced whole, but not synced song by song: a folder of KCD files makes thousands.
    result.written = SafeFile::write(result.path, bytes, false);
    if (result.written && result.standInName)
        ledger.record(fileName, owner);
    return result;
}
