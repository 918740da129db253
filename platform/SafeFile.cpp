#include "SafeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// On the disk, or on a file system that has no such thing as a sync (some network and
// user-space file systems): that is no failure of the data.
bool synced(int fd) {
    if (::fsync(fd) == 0) return true;
    return errno == EINVAL || errno == ENOSYS || errno == ENOTSUP;
}

// Makes the rename itself last through a power cut; the new file is already whole and in
// place, so a folder that can't be synced is no failure of the write.
void syncFolderOf(const QString& path) {
    const int fd = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

namespace SafeFile {

QByteArray read(const QString& path, bool* ok) {
    QFile file(path);
    bool opened = !path.isEmpty() && file.open(QIODevice::ReadOnly);
    if (ok) *ok = opened;
    if (!opened) return QByteArray();
    QByteArray bytes = file.readAll();
    if (ok) *ok = file.error() == QFileDevice::NoError;
    return bytes;
}

bool holds(const QString& path, const QByteArray& bytes) {
    const QFileInfo info(path);
    if (!info.isFile() || info.size() != bytes.size()) return false;
    bool ok = false;
    return read(path, &ok) == bytes && ok;
}

namespace {
// A temporary file beside the target, written whole and renamed over it, as QSaveFile does,
// but without the sync its commit always makes.
bool replaceWithoutSync(const QString& path, const QByteArray& bytes) {
    QByteArray temporary = QFile::encodeName(path) + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return false;
    struct stat old;  // the new file keeps the old one's permissions
    const mode_t mode = ::stat(QFile::encodeName(path).constData(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) break;
        written += count;
    }
    const bool whole = written == bytes.size() && ::fchmod(fd, mode) == 0;
    if (::close(fd) != 0 || !whole || ::rename(temporary.constData(), QFile::encodeName(path).constData()) != 0) {
        ::unlink(temporary.constData());
        return false;
    }
    return true;
}

}  // namespace

bool write(const QString& path, const QByteArray& bytes, bool waitForDisk) {
    if (path.isEmpty()) return false;
    // The programs rewrite several files at every start (the media-driver entries, the
    // built-in panel layout) that mostly hold these very bytes already; replacing such a
    // file costs a flush to disk and a rename for nothing.
    if (holds(path, bytes)) return true;
    if (!waitForDisk) return replaceWithoutSync(path, bytes);
    QSaveFile file(path);
    // Unbuffered: QSaveFile does not notice a buffered write whose flush fails at commit
    // (a small file on a full disk) and would rename the empty temporary file over the
    // target. So every byte is written, and synced, before commit is asked to rename.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    if (file.write(bytes) != bytes.size() || (waitForDisk && !synced(file.handle()))) {
        file.cancelWriting();
        return false;  // the temporary file goes with `file`
    }
    if (!file.commit()) return false;
    if (waitForDisk) syncFolderOf(path);
    return true;
}

bool append(const QString& path, const QByteArray& bytes) {
    if (path.isEmpty()) return false;
    QFile file(path);
    const bool existed = file.exists();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) return false;
    const qint64 oldSize = file.size();
    if (file.write(bytes) == bytes.size()) return true;
    // Take back the part that got in: the file ends where it ended before.
    if (existed)
        file.resize(oldSize);
    else
        file.remove();
    return false;
}

}  // namespace SafeFile
