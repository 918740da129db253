#pragma once

#include "EventPump.h"
#include "FailureLog.h"
#include "KcdDocument.h"
#include "SongLibrary.h"

#include <QObject>
#include <QString>
#include <QStringList>

// What the converter window shows, kept apart from the window so that the
// conversion can run and be tested without one.
struct ConverterState
{
    QString SongName;                          // "NN_title" of the current song
    QString KcdPath;                           // the current KCD file
    QString Label1 = QStringLiteral("專集名稱"); // the album name
    QStringList List1;                         // songs of the current file
    QStringList List2;                         // timed lines of the current song
    QStringList List3;                         // "iii title": title-field index of each song
    QStringList List4;                         // failures
    bool StopFlag = false;
};

// Converts KCD lyric files into the song lyric library: lists the songs of a
// file, builds the timed lines of a song, writes them, and runs a batch over
// the files of a folder. Signals tell the window what to show.
class KcdConverter : public QObject
{
    Q_OBJECT
public:
    explicit KcdConverter(const QString& programFolder, QObject* parent = nullptr);

    const ConverterState& state() const { return m_state; }
    QString logPath() const;
    bool isRunning() const { return m_running; }
    bool logOpen() const { return m_log.isOpen(); }

    // Called after every field and line (default: nothing).
    void setLetEventsRun(LetEventsRun letEventsRun);

    void setKcdPath(const QString& path);
    // Lists the songs of the current KCD file in List1 and List3, the album in Label1.
    void ReadSongFile();
    // Fills List2 with the timed lines of the song whose title field has index StartPos.
    void ReadList(int StartPos);
    // Writes List2 to the library file of SongName; false when it was not written.
    bool SaveList();

    // Makes song i of List1 the current song and reads its lines.
    void SelectSong(int i);
    // Writes every song of the current file; on its own (not in a batch) it is a
    // run of its own, with a new failure list and log.
    void ConvertFile();
    // Converts the files of a folder from startIndex on (the first when below 0),
    // logging failures to the failure log and List4; a stop ends it after a file.
    void RunBatch(const QString& folder, const QStringList& fileNames, int startIndex);
    void Stop() { m_state.StopFlag = true; }
    // Ends a running conversion between two songs (the window is closing).
    void Abort();

signals:
    void songsListed();
    void linesListed();
    void songSelected(int index);
    void fileSelected(int index);
    void failureAdded(const QString& line);
    void failuresCleared();
    void runStarted(bool batch);
    void runFinished(bool batch);
    // The failure log could not be made or written; the message says which.
    void logUnwritable(const QString& message);

private:
    void letEventsRun() const;
    // Where the current song goes: the library folder of the current file, and its place there.
    SongPlace songPlace() const;
    void reportFailure(const QString& outputPath);
    void startRun(bool batch);
    void endRun(bool batch);

    ConverterState m_state;
    SongLibrary m_library;
    QString m_programFolder;
    KcdDocumentCache m_documents;
    bool m_hasAlbum = false; // the current file names its album
    int m_songIndex = 0; // the current song's place in List1
    int m_listedReads = -1; // the read of the file that List1 and List3 were taken from
    FailureLog m_log;
    LetEventsRun m_letEventsRun;
    bool m_running = false;
    bool m_aborted = false;
};
