#pragma once
// The breadth-first walk that finds the folders holding songs, with the date range of the
// first song of each such folder.

#include <QDate>
#include <QElapsedTimer>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <utility>

struct FolderListing;

// The files of Folder that match Pattern (wildcard names joined by ";", any case), sorted by
// name as a file list box shows them; hidden names are left out.
QStringList ListSongFiles(const QString& folder, const QString& pattern);

class SongFolderScan
{
public:
    explicit SongFolderScan(QString pattern);

    // Shown as the walk enters folders, and "搜尋完成!" at the end. A folder is shown, and
    // events run, at most every few hundredths of a second: as often as the eye follows,
    // without costing the walk more than reading the folders does.
    std::function<void(const QString&)> showProgress;

    // Walks Root level by level (each level in name order) and returns the folders holding
    // songs, in the order found. Links that lead back into the walk are not followed again.
    QStringList ScanFileEx(const QString& root);

    // 1 when Folder holds a song (a listed file whose extension occurs in the pattern),
    // else 0. The first song's date widens the range when it is from 1990 on.
    int FindFileList(const QString& folder);

    // With KeepSongFiles set, the song files (in list order) of each folder the last walk
    // found, as read by the walk.
    bool keepSongFiles = false;
    const QHash<QString, QStringList>& songFiles() const { return songFiles_; }

    // Today's date for both until a dated song is found.
    QDate FirstSongDate;
    QDate LastSongDate;

private:
    // One level: sub-folders of Folder go to the queue, those holding songs to Found. Folder is
    // taken by value: it is often an entry of the queue, which this call appends to.
    void ScanSubDirEx(QString folder, QStringList& queue, QStringList& found);
    // FindFileList on a folder already read.
    int testFolder(const QString& folder, const FolderListing& listing);
    // Which file of Folder is its song: the first listed whose extension is in the pattern.
    std::function<bool(const QString&)> songTest(const QString& folder) const;
    // False when the folder was read before (a link back into the walk); else keeps its
    // sub-folders for when it is walked.
    bool firstVisit(const QString& folder, const FolderListing& listing);
    void widenDates(qint64 modifiedMs);
    void progress(const QString& folder);
    void flushLog();

    QString pattern_;
    QStringList patterns_;
    QString upperPattern_;
    bool dated_ = false;
    qint64 firstSongMs_ = 0;
    qint64 lastSongMs_ = 0;
    QSet<std::pair<quint64, quint64>> visited_;      // device and inode of each folder read
    QHash<QString, QStringList> pendingSubFolders_;  // read when met, walked when dequeued
    QHash<QString, QStringList> songFiles_;
    QStringList logLines_;
    QString stepTime_;  // the time of day of the last progress step
    QElapsedTimer sinceShown_;
};
