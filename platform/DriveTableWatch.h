#pragma once
// Tells whether the drives may have changed since the last look: the kernel marks the mount
// table's file when a volume is mounted or unmounted, and a drive plugged in or out adds or
// removes its node in the device folder. Reading the mount table and probing the optical drives
// at every look would cost a playing program more than anything else it does between frames.

#include <QString>

#include <sys/types.h>

class DriveTableWatch
{
public:
    explicit DriveTableWatch(const QString &mountTable = QStringLiteral("/proc/self/mountinfo"),
                             const QString &deviceFolder = QStringLiteral("/dev"));
    ~DriveTableWatch();

    DriveTableWatch(const DriveTableWatch &) = delete;
    DriveTableWatch &operator=(const DriveTableWatch &) = delete;

    // True at the first call, after any change since the previous call, and always when the
    // mount table cannot be watched.
    bool changed();

private:
    struct FolderStamp
    {
        qint64 seconds = -1;
        qint64 nanoseconds = -1;
        qint64 size = -1;
        qint64 links = -1;
        bool operator==(const FolderStamp &) const = default;
    };
    FolderStamp folderStamp() const;
    bool mountTableChanged() const;

    int m_mountTable = -1;
    QString m_deviceFolder;
    FolderStamp m_folder;
    bool m_looked = false;
};
