#pragma once
// A folder read in one pass of its directory, as the song scans need it: its sub-folders and
// the files that match a song pattern, each in the order a list box shows them (by name
// without regard to case, hidden names left out). Only a link's target is looked at; other
// entries are known from the directory itself, so a folder costs one read.

#include <QString>
#include <QStringList>

#include <functional>

struct FolderListing
{
    bool readable = false;
    // The folder itself, so that a link leading back to a folder already read is known.
    quint64 device = 0;
    quint64 inode = 0;
    QStringList subFolders;  // names, folders and links to folders
    QStringList songFiles;   // names of regular files (or links to them) matching the pattern
    // The first song file (in list order) that the caller's test accepts, and its modification
    // time in milliseconds since the epoch (kept raw: turning it into a local date costs more
    // than reading the folder).
    int datedSong = -1;
    qint64 datedSongModifiedMs = 0;
};

// A folder kept open while its sub-folders are read, so that each of them is found from it
// rather than by its whole path again.
class OpenFolder
{
public:
    explicit OpenFolder(const QString& path);
    ~OpenFolder();
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;

    // Reads the sub-folder Name (its whole path is Path, used when this folder could not be
    // opened). Patterns: wildcard names (any case); none matches every file. Dated picks the
    // song file whose time is wanted.
    FolderListing read(const QString& name, const QString& path, const QStringList& patterns,
                       const std::function<bool(const QString&)>& dated = {}) const;

private:
    int fd_ = -1;
};

// Reads the folder at Path, as OpenFolder::read does.
FolderListing ReadFolderListing(const QString& path, const QStringList& patterns,
                                const std::function<bool(const QString&)>& dated = {});
