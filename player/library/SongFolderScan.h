#pragma once
// The breadth-first walk that finds the folders holding songs, with the date range of the
// first song of each such folder.

#include <QDate>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>

// The files of Folder that match Pattern (wildcard names joined by ";", any case), sorted by
// name as a file list box shows them; hidden names are left out.
QStringList ListSongFiles(const QString& folder, const QString& pattern);

class SongFolderScan
{
public:
    explicit SongFolderScan(QString pattern);

    // Shown for each folder as it is entered, and "搜尋完成!" at the end.
    std::function<void(const QString&)> showProgress;

    // Walks Root level by level (each level in name order) and returns the folders holding
    // songs, in the order found. Links that lead back into the walk are not followed again.
    QStringList ScanFileEx(const QString& root);

    // 1 when Folder holds a song (a listed file whose extension occurs in the pattern),
    // else 0. The first song's date widens the range when it is from 1990 on.
    int FindFileList(const QString& folder);

    // Today's date for both until a dated song is found.
    QDate FirstSongDate;
    QDate LastSongDate;

private:
    // One level: sub-folders of Folder go to the queue, those holding songs to Found. Folder is
    // taken by value: it is often an entry of the queue, which this call appends to.
    void ScanSubDirEx(QString folder, QStringList& queue, QStringList& found);
    void widenDates(const QDate& date);

    QString pattern_;
    bool dated_ = false;
    QSet<QString> visited_;
};
