#include "FolderListing.h"

#include "DirSearch.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

enum class EntryKind { Folder, File, Other };

EntryKind kindOf(const dirent& entry, int folderFd)
{
    switch (entry.d_type) {
    case DT_DIR:
        return EntryKind::Folder;
    case DT_REG:
        return EntryKind::File;
    case DT_LNK:
    case DT_UNKNOWN: {
        // A link counts as what it leads to; a file system without entry types is asked.
        struct stat target {};
        if (::fstatat(folderFd, entry.d_name, &target, 0) != 0) return EntryKind::Other;
        if (S_ISDIR(target.st_mode)) return EntryKind::Folder;
        return S_ISREG(target.st_mode) ? EntryKind::File : EntryKind::Other;
    }
    default:
        return EntryKind::Other;
    }
}

}  // namespace

FolderListing ReadFolderListing(const QString& folder, const QStringList& patterns)
{
    FolderListing listing;
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir) return listing;
    const int fd = ::dirfd(dir);
    struct stat self {};
    if (::fstat(fd, &self) == 0) {
        listing.readable = true;
        listing.device = self.st_dev;
        listing.inode = self.st_ino;
    }
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.') continue;  // ".", ".." and hidden names
        const EntryKind kind = kindOf(*entry, fd);
        if (kind == EntryKind::Other) continue;
        const QString name = QFile::decodeName(entry->d_name);
        if (kind == EntryKind::Folder)
            listing.subFolders << name;
        else if (DirSearch::MatchesAny(name, patterns))
            listing.songFiles << name;
    }
    ::closedir(dir);
    DirSearch::SortByName(listing.subFolders);
    DirSearch::SortByName(listing.songFiles);
    return listing;
}
