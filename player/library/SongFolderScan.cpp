#include "SongFolderScan.h"

#include "DirSearch.h"
#include "FolderListing.h"
#include "ModFiles.h"
#include "ModTools.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

// How often the walk shows where it is and lets events run.
constexpr qint64 kProgressStepMs = 40;

}  // namespace

QStringList ListSongFiles(const QString& folder, const QString& pattern)
{
    return ReadFolderListing(folder, DirSearch::SplitPatterns(pattern)).songFiles;
}

SongFolderScan::SongFolderScan(QString pattern)
    : FirstSongDate(QDate::currentDate()),
      LastSongDate(QDate::currentDate()),
      pattern_(std::move(pattern)),
      patterns_(DirSearch::SplitPatterns(pattern_)),
      upperPattern_(pattern_.toUpper())
{
}

QStringList SongFolderScan::ScanFileEx(const QString& root)
{
    FirstSongDate = LastSongDate = QDate::currentDate();
    dated_ = false;
    visited_.clear();
    pendingSubFolders_.clear();
    songFiles_.clear();
    sinceShown_.invalidate();

    QStringList found;
    FolderListing listing;
    if (readOnce(root, listing) && testFolder(root, listing) >= 1) found << root;
    QStringList queue;
    ScanSubDirEx(root, queue, found);
    // The queue grows while it is walked: breadth first.
    for (int i = 0; i < queue.size(); ++i) ScanSubDirEx(queue.at(i), queue, found);

    flushLog();
    if (showProgress) showProgress(QStringLiteral("搜尋完成!"));
    return found;
}

void SongFolderScan::ScanSubDirEx(QString folder, QStringList& queue, QStringList& found)
{
    progress(folder);
    // Every folder was read when it was met, so its sub-folders are known already.
    const QStringList names = pendingSubFolders_.take(folder);
    const QString time = FmtTime(QTime::currentTime());
    for (const QString& name : names) {
        const QString path = AddPath(folder, name);
        FolderListing listing;
        if (!readOnce(path, listing)) continue;
        const int n = testFolder(path, listing);
        queue << path;
        if (n < 1) {
            logLines_ << path + QLatin1Char(' ') + time;
        } else {
            found << path;
            logLines_ << path + QStringLiteral(" [") + QString::number(n) + QStringLiteral("] ") + time;
        }
    }
}

bool SongFolderScan::readOnce(const QString& folder, FolderListing& listing)
{
    listing = ReadFolderListing(folder, patterns_);
    // An unreadable folder is still walked (and logged); it simply lists nothing.
    if (listing.readable) {
        const std::pair<quint64, quint64> identity{listing.device, listing.inode};
        if (visited_.contains(identity)) return false;
        visited_.insert(identity);
    }
    pendingSubFolders_.insert(folder, listing.subFolders);
    return true;
}

int SongFolderScan::FindFileList(const QString& folder)
{
    return testFolder(folder, ReadFolderListing(folder, patterns_));
}

int SongFolderScan::testFolder(const QString& folder, const FolderListing& listing)
{
    for (const QString& name : listing.songFiles) {
        const QString full = AddPath(folder, name);
        const QString ext = GetExtName(full).toUpper();
        if (ext.isEmpty() || !upperPattern_.contains(ext)) continue;
        const QDate date = QFileInfo(full).lastModified().date();
        if (date.year() >= 1990) widenDates(date);
        songFiles_.insert(folder, listing.songFiles);
        return 1;
    }
    return 0;
}

void SongFolderScan::progress(const QString& folder)
{
    if (sinceShown_.isValid() && sinceShown_.elapsed() < kProgressStepMs) return;
    sinceShown_.start();
    flushLog();
    if (showProgress) showProgress(folder);
    QCoreApplication::processEvents();
}

void SongFolderScan::flushLog()
{
    for (const QString& line : logLines_) WriteLog(line);
    logLines_.clear();
}

void SongFolderScan::widenDates(const QDate& date)
{
    if (!dated_) {
        FirstSongDate = LastSongDate = date;
        dated_ = true;
        return;
    }
    if (date > LastSongDate) LastSongDate = date;
    if (date < FirstSongDate) FirstSongDate = date;
}
