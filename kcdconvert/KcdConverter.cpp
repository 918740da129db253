#include "KcdConverter.h"

#include "DelSpace.h"
#include "KcdSongs.h"
#include "ModFiles.h"

#include <QFileInfo>

namespace {
const QString kLogFileName = QStringLiteral("Harlune.logo");
const QString kNoAlbum = QStringLiteral("專集名稱");
}

KcdConverter::KcdConverter(const QString& programFolder, QObject* parent)
    : QObject(parent)
    , m_library(programFolder)
    , m_programFolder(programFolder)
{
}

QString KcdConverter::logPath() const
{
    return m_programFolder + u'/' + kLogFileName;
}

void KcdConverter::setLetEventsRun(LetEventsRun letEventsRun)
{
    m_letEventsRun = std::move(letEventsRun);
}

void KcdConverter::letEventsRun() const
{
    if (m_letEventsRun)
        m_letEventsRun();
}

void KcdConverter::setKcdPath(const QString& path)
{
    m_state.KcdPath = path;
}

void KcdConverter::ReadSongFile()
{
    m_state.List1.clear();
    m_state.List2.clear();
    m_state.List3.clear();
    emit linesListed();
    // An unreadable file lists the songs read before the damage (none when it cannot be opened).
    const KcdDocument& document = m_documents.load(m_state.KcdPath, m_letEventsRun);
    m_listedReads = m_documents.reads();
    const KcdSongListing listing = ListKcdSongs(document.fields, m_letEventsRun);
    m_state.List1 = listing.songNames;
    m_state.List3 = listing.titleFields;
    // Every file starts afresh: one whose first record does not start at field 0
    // has no album of its own and must not take the previous file's.
    m_state.Label1 = listing.album.value_or(kNoAlbum);
    m_hasAlbum = listing.album.has_value();
    emit songsListed();
}

void KcdConverter::ReadList(int StartPos)
{
    m_state.List2.clear();
    const KcdDocument& document = m_documents.load(m_state.KcdPath, m_letEventsRun);
    m_state.List2 = ReadKcdSongLines(document.fields, StartPos, m_state.SongName, m_letEventsRun).lines;
    emit linesListed();
}

bool KcdConverter::SaveList()
{
    const SongPlace place = songPlace();
    // A song without a time field has no timed lines: an empty file would only
    // replace a good one, so nothing is written and the song counts as a failure.
    if (m_state.List2.isEmpty()) {
        reportFailure(m_library.plannedPath(place.folderName, m_state.SongName));
        return false;
    }
    // A song written under a stand-in name is no failure: only what was not written is.
    const SongFileResult result = m_library.save(place, m_state.SongName, m_state.List2, m_letEventsRun);
    if (!result.written)
        reportFailure(result.path);
    return result.written;
}

// An album's songs share the album's folder: the same song from another disc
// of that album is the same song and replaces it. A file without an album (no
// album field, an empty one, or a first record not at field 0) gets a folder
// named after the file itself and no other file's, so no other file's song is
// ever replaced, and converting the file again replaces its own songs. No album
// folder can take that name: DelSpace turns every "." of an album into "．",
// while the file name keeps the dot of its extension.
SongPlace KcdConverter::songPlace() const
{
    SongPlace place;
    const QFileInfo file(m_state.KcdPath);
    place.sourceFile = file.canonicalFilePath().isEmpty() ? file.absoluteFilePath() : file.canonicalFilePath();
    place.song = m_songIndex;
    const QString album = DelSpace(m_state.Label1);
    if (m_hasAlbum && IsUsableFileName(album)) {
        place.folderName = album;
    } else {
        place.folderName = m_library.fileFolderName(GetFileName(m_state.KcdPath), place.sourceFile);
        place.folderOfTheFile = true;
    }
    return place;
}

void KcdConverter::reportFailure(const QString& outputPath)
{
    const QString line = GetFileName(m_state.KcdPath) + u' ' + GetFileName(outputPath);
    if (m_log.isOpen() && !m_log.write(line)) {
        // Said once; the failures still reach the list.
        emit logUnwritable(QStringLiteral("無法寫入記錄檔：") + m_log.path());
        m_log.close();
    }
    m_state.List4.append(line);
    emit failureAdded(line);
}

void KcdConverter::startRun(bool batch)
{
    m_running = true;
    emit runStarted(batch);
    // The failure list and the log hold the failures of this run, the same in both.
    m_state.List4.clear();
    emit failuresCleared();
    if (!m_log.open(logPath()))
        emit logUnwritable(QStringLiteral("無法建立記錄檔：") + logPath());
}

void KcdConverter::endRun(bool batch)
{
    m_log.close();
    m_running = false;
    m_aborted = false;
    emit runFinished(batch);
}

void KcdConverter::SelectSong(int i)
{
    // A file changed on disk since it was listed (edited in the meantime) is
    // listed again: the title-field places of the old listing point elsewhere now.
    m_documents.load(m_state.KcdPath, m_letEventsRun);
    const bool listedAgain = m_documents.reads() != m_listedReads;
    if (listedAgain)
        ReadSongFile();
    if (i < 0 || i >= m_state.List1.size())
        return;
    if (listedAgain)
        emit songSelected(i);
    m_state.SongName = m_state.List1.at(i);
    m_songIndex = i;
    ReadList(TitleFieldIndex(m_state.List3.value(i)));
}

void KcdConverter::ConvertFile()
{
    const bool nested = m_running;
    if (!nested)
        startRun(false);
    for (int i = 0; i < m_state.List1.size() && !m_aborted; ++i) {
        emit songSelected(i);
        SelectSong(i);
        SaveList();
    }
    if (!nested)
        endRun(false);
}

void KcdConverter::RunBatch(const QString& folder, const QStringList& fileNames, int startIndex)
{
    startRun(true);
    m_state.StopFlag = false;
    for (int i = qMax(startIndex, 0); i < fileNames.size(); ++i) {
        emit fileSelected(i);
        m_state.KcdPath = folder + u'/' + fileNames.at(i);
        ReadSongFile();
        ConvertFile();
        if (m_state.StopFlag || m_aborted)
            break;
    }
    endRun(true);
}

void KcdConverter::Abort()
{
    if (m_running) {
        m_aborted = true;
        m_state.StopFlag = true;
    }
}
