#include "FolderListing.h"

#include "DirSearch.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// The modification time of the first song the test accepts, read from the open folder.
void dateFirstSong(FolderListing& listing, int folderFd, const std::function<bool(const QString&)>& dated)
{
    if (!dated) return;
    for (int i = 0; i < listing.songFiles.size(); ++i) {
        if (!dated(listing.songFiles.at(i))) continue;
        listing.datedSong = i;
        struct stat song {};
        if (::fstatat(folderFd, QFile::encodeName(listing.songFiles.at(i)).constData(), &song, 0) == 0)
            listing.datedSongModifiedMs = qint64(song.st_mtim.tv_sec) * 1000 + song.st_mtim.tv_nsec / 1000000;
        return;
    }
}

// Lists the folder open on Fd (taken over and closed).
FolderListing listOpenFolder(int fd, const QStringList& patterns, const std::function<bool(const QString&)>& dated)
{
    FolderListing listing;
    if (fd < 0) return listing;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return listing;
    }
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
    DirSearch::SortByName(listing.subFolders);
    DirSearch::SortByName(listing.songFiles);
    dateFirstSong(listing, fd, dated);
    ::closedir(dir);
    return listing;
}

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

}  // namespace

OpenFolder::OpenFolder(const QString& path) : fd_(::open(QFile::encodeName(path).constData(), kFolderFlags)) {}

OpenFolder::~OpenFolder()
{
    if (fd_ >= 0) ::close(fd_);
}

FolderListing OpenFolder::read(const QString& name, const QString& path, const QStringList& patterns,
                               const std::function<bool(const QString&)>& dated) const
{
    const int fd = fd_ >= 0 ? ::openat(fd_, QFile::encodeName(name).constData(), kFolderFlags)
                            : ::open(QFile::encodeName(path).constData(), kFolderFlags);
    return listOpenFolder(fd, patterns, dated);
}

FolderListing ReadFolderListing(const QString& path, const QStringList& patterns,
                                const std::function<bool(const QString&)>& dated)
{
    return listOpenFolder(::open(QFile::encodeName(path).constData(), kFolderFlags), patterns, dated);
}
