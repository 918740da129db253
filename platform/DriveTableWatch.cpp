#include "DriveTableWatch.h"

#include <QFile>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

DriveTableWatch::DriveTableWatch(const QString &mountTable, const QString &deviceFolder)
    : m_mountTable(::open(QFile::encodeName(mountTable).constData(), O_RDONLY | O_CLOEXEC)),
      m_deviceFolder(deviceFolder)
{
}

DriveTableWatch::~DriveTableWatch()
{
    if (m_mountTable >= 0)
        ::close(m_mountTable);
}

bool DriveTableWatch::changed()
{
    // Both are looked at every time: each look also takes the change it reports as seen.
    const bool mounts = mountTableChanged();
    const FolderStamp folder = folderStamp();
    const bool devices = !(folder == m_folder);
    m_folder = folder;
    const bool first = !m_looked;
    m_looked = true;
    return first || mounts || devices || m_mountTable < 0;
}

// The mount table's file reports a change once to each open copy, as an exceptional condition.
bool DriveTableWatch::mountTableChanged() const
{
    if (m_mountTable < 0)
        return true;
    pollfd look{m_mountTable, POLLPRI, 0};
    return ::poll(&look, 1, 0) > 0 && (look.revents & (POLLPRI | POLLERR)) != 0;
}

DriveTableWatch::FolderStamp DriveTableWatch::folderStamp() const
{
    struct stat info {};
    if (::stat(QFile::encodeName(m_deviceFolder).constData(), &info) != 0)
        return {};
    return {qint64(info.st_mtim.tv_sec), qint64(info.st_mtim.tv_nsec), qint64(info.st_size), qint64(info.st_nlink)};
}
