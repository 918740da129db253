#include "SongFolderScan.h"

#include "ModFiles.h"
#include "ModTools.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QStringList ListSongFiles(const QString& folder, const QString& pattern)
{
    QStringList filters;
    for (const QString& part : pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        filters << part.trimmed();
    if (filters.isEmpty()) filters << QStringLiteral("*");
    QDir dir(folder);
    dir.setNameFilters(filters);
    dir.setFilter(QDir::Files);  // no hidden files
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    return dir.entryList();
}

SongFolderScan::SongFolderScan(QString pattern)
    : FirstSongDate(QDate::currentDate()), LastSongDate(QDate::currentDate()), pattern_(std::move(pattern))
{
}

QStringList SongFolderScan::ScanFileEx(const QString& root)
{
    FirstSongDate = LastSongDate = QDate::currentDate();
    dated_ = false;
    visited_.clear();
    visited_.insert(QFileInfo(root).canonicalFilePath());

    QStringList found;
    if (FindFileList(root) >= 1) found << root;
    QStringList queue;
    ScanSubDirEx(root, queue, found);
    // The queue grows while it is walked: breadth first. Each folder is handed over as a copy,
    // since appending to the queue may move its entries.
    for (int i = 0; i < queue.size(); ++i) ScanSubDirEx(queue.at(i), queue, found);

    if (showProgress) showProgress(QStringLiteral("搜尋完成!"));
    return found;
}

void SongFolderScan::ScanSubDirEx(QString folder, QStringList& queue, QStringList& found)
{
    if (showProgress) showProgress(folder);
    QDir dir(folder);
    const QStringList names = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        const QString path = AddPath(folder, name);
        // A link back to a folder already walked would make the walk endless.
        const QString canonical = QFileInfo(path).canonicalFilePath();
        if (canonical.isEmpty() || visited_.contains(canonical)) continue;
        visited_.insert(canonical);

        const int n = FindFileList(path);
        queue << path;
        const QString time = FmtTime(QTime::currentTime());
        if (n < 1) {
            WriteLog(path + QLatin1Char(' ') + time);
        } else {
            found << path;
            QCoreApplication::processEvents();
            WriteLog(path + QStringLiteral(" [") + QString::number(n) + QStringLiteral("] ") + time);
        }
    }
}

int SongFolderScan::FindFileList(const QString& folder)
{
    int result = 0;
    const QString upperPattern = pattern_.toUpper();
    for (const QString& name : ListSongFiles(folder, pattern_)) {
        const QString full = AddPath(folder, name);
        const QString ext = GetExtName(full).toUpper();
        if (ext.isEmpty() || !upperPattern.contains(ext)) continue;
        result = 1;
        const QDate date = QFileInfo(full).lastModified().date();
        if (date.year() >= 1990) widenDates(date);
        break;
    }
    QCoreApplication::processEvents();
    return result;
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
