#pragma once
// A folder read in one pass of its directory, as the song scans need it: its sub-folders and
// the files that match a song pattern, each in the order a list box shows them (by name
// without regard to case, hidden names left out). Only a link's target is looked at; other
// entries are known from the directory itself, so a folder costs one read.

#include <QString>
#include <QStringList>

struct FolderListing
{
    bool readable = false;
    // The folder itself, so that a link leading back to a folder already read is known.
    quint64 device = 0;
    quint64 inode = 0;
    QStringList subFolders;  // names, folders and links to folders
    QStringList songFiles;   // names of regular files (or links to them) matching the pattern
};

// Pattern: wildcard names joined by ";" (any case); an empty pattern matches every file.
FolderListing ReadFolderListing(const QString& folder, const QStringList& patterns);
