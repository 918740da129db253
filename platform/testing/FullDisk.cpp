#include "FullDisk.h"

#include <QDirIterator>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

FullDisk::FullDisk(int kilobytes) {
    if (!dir_.isValid()) {
        whyNot_ = QStringLiteral("no temporary folder");
        return;
    }
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0755";
    if (::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                options.constData()) != 0) {
        whyNot_ = QStringLiteral("cannot mount a small tmpfs here: ") + QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    mounted_ = true;
}

FullDisk::~FullDisk() {
    // Lazily, so that a file a failed test left open does not keep the mount behind.
    if (mounted_) ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
}

void FullDisk::fill() {
    const int fd = ::open(QFile::encodeName(filePath(FillerName)).constData(),
                          O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return;
    // Big pieces first, then single bytes, until not one more byte fits.
    static const char zeros[4096] = {};
    for (size_t piece : {sizeof zeros, size_t(1)})
        while (::write(fd, zeros, piece) > 0) {
        }
    ::close(fd);
}

void FullDisk::free() { QFile::remove(filePath(FillerName)); }

QStringList FullDisk::names() const {
    QStringList result;
    QDirIterator it(path(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) result << it.next().mid(path().size() + 1);
    result.sort();
    return result;
}

SettingsFolder::SettingsFolder(const QString& folder) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
}

SettingsFolder::~SettingsFolder() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}
