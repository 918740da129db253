#include "SongFolderScan.h"

#include "DirSearch.h"
#include "FolderListing.h"
#include "ModFiles.h"
#include "ModTools.h"

#include <QCoreApplication>
#include <QDateTime>

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
      // Folded once here: the matching folds them again at every name, at no cost when folded.
      patterns_(DirSearch::SplitPatterns(pattern_.toCaseFolded())),
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
    const FolderListing listing = ReadFolderListing(root, patterns_, songTest(root));
    if (firstVisit(root, listing) && testFolder(root, listing) >= 1) found << root;
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
    if (names.isEmpty()) return;
    const OpenFolder parent(folder);
    const QString& time = stepTime_;
    for (const QString& name : names) {
        const QString path = AddPath(folder, name);
        const FolderListing listing = parent.read(name, path, patterns_, songTest(path));
        if (!firstVisit(path, listing)) continue;
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

bool SongFolderScan::firstVisit(const QString& folder, const FolderListing& listing)
{
    // An unreadable folder is still walked (and logged); it simply lists nothing.
    if (listing.readable) {
        const std::pair<quint64, quint64> identity{listing.device, listing.inode};
        if (visited_.contains(identity)) return false;
        visited_.insert(identity);
    }
    if (!listing.subFolders.isEmpty()) pendingSubFolders_.insert(folder, listing.subFolders);
    return true;
}

std::function<bool(const QString&)> SongFolderScan::songTest(const QString& folder) const
{
    // The extension is taken from the full path, as the song test has always done.
    return [this, folder](const QString& name) {
        const QString ext = GetExtName(AddPath(folder, name)).toUpper();
        return !ext.isEmpty() && upperPattern_.contains(ext);
    };
}

int SongFolderScan::FindFileList(const QString& folder)
{
    return testFolder(folder, ReadFolderListing(folder, patterns_, songTest(folder)));
}

int SongFolderScan::testFolder(const QString& folder, const FolderListing& listing)
{
    if (listing.datedSong < 0) return 0;
    widenDates(listing.datedSongModifiedMs);
    if (keepSongFiles) songFiles_.insert(folder, listing.songFiles);
    return 1;
}

void SongFolderScan::progress(const QString& folder)
{
    if (sinceShown_.isValid() && sinceShown_.elapsed() < kProgressStepMs) return;
    sinceShown_.start();
    stepTime_ = FmtTime(QTime::currentTime());  // the log's time of day, to the second
    flushLog();
    if (showProgress) showProgress(folder);
    QCoreApplication::processEvents();
}

void SongFolderScan::flushLog()
{
    // The walk's log lines go out together, one append each step rather than one per folder.
    WriteLogLines(logLines_);
    logLines_.clear();
}

void SongFolderScan::widenDates(qint64 modifiedMs)
{
    // Only songs from 1990 on count. Times are compared as they are; a time becomes a date
    // only when it widens the range, which is seldom.
    static const qint64 firstCountedMs = QDateTime(QDate(1990, 1, 1), QTime(0, 0)).toMSecsSinceEpoch();
    if (modifiedMs < firstCountedMs) return;
    const bool first = !dated_;
    dated_ = true;
    if (first || modifiedMs > lastSongMs_) {
        lastSongMs_ = modifiedMs;
        LastSongDate = QDateTime::fromMSecsSinceEpoch(modifiedMs).date();
    }
    if (first || modifiedMs < firstSongMs_) {
        firstSongMs_ = modifiedMs;
        FirstSongDate = QDateTime::fromMSecsSinceEpoch(modifiedMs).date();
    }
}
