#pragma once
// Drives as the programs see them: the roots of mounted volumes plus the
// optical drives (an optical drive counts as a drive even when it is empty or
// holds an audio CD, which is never mounted).
//
// A drive is named by its root: the mount point of its volume, or, for an
// optical drive without a mounted volume, its device node ("/dev/sr0").
// The drive list shows each drive as "<root> [<label>]" (just "<root>" when
// the volume has no label); DriveOfEntry() turns such a text back into a root.

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace Drives {

// Drive type numbers as the programs compare them.
enum Type : int {
    TypeUnknown = 0,
    TypeNoRoot = 1,     // no drive at that name
    TypeRemovable = 2,
    TypeFixed = 3,
    TypeOptical = 5,
};

struct Drive {
    QString root;    // mount point, or the device node of an unmounted optical drive
    QString device;  // block device ("/dev/sr0"), may be empty
    QString label;   // volume label, may be empty
    int type = TypeFixed;
    bool mounted = true;  // false: an optical drive whose disc (if any) is not mounted
};

// Where the drive list and the volume serial numbers come from. The system's
// source reads the mount table, /sys and libcdio; tests install their own.
class Source {
public:
    virtual ~Source() = default;
    virtual QList<Drive> drives() = 0;
    // The volume serial of the drive's volume; nullopt when it cannot be read.
    virtual std::optional<quint32> serial(const Drive& drive) = 0;
    // The numbers of the audio tracks on the disc in an optical drive without
    // a mounted volume, from the disc's table of contents; {} when there are none.
    virtual QList<int> audioTracks(const Drive& drive) { (void)drive; return {}; }
};

// A fixed set of drives and serials, for tests and for programs run without hardware.
class FixedSource : public Source {
public:
    FixedSource(QList<Drive> drives, QMap<QString, quint32> serialByRoot = {});
    QList<Drive> drives() override;
    std::optional<quint32> serial(const Drive& drive) override;
    void setDrives(QList<Drive> drives);
    void setSerial(const QString& root, std::optional<quint32> serial);
    QList<int> audioTracks(const Drive& drive) override;
    void setAudioTracks(const QString& root, QList<int> tracks);

private:
    QList<Drive> drives_;
    QMap<QString, quint32> serials_;
    QMap<QString, QList<int>> audioTracks_;
};

// Installs the source that all functions below use; nullptr restores the system's.
void SetSource(std::shared_ptr<Source> source);

// The drives in list order: mount roots sorted by path ("/" first), then the
// optical drives without a mounted volume, then the drive that
// PELLORAN_CD_DEVICE names (see ChosenOpticalDevice), so that a search for the
// optical drive that takes the last one finds it.
QList<Drive> List();

// What the environment variable PELLORAN_CD_DEVICE names as an optical drive,
// as an absolute path; empty when unset. A device node or a disc image that
// libcdio reads (.cue/.bin, .nrg, .toc) is an optical drive without a mounted
// volume (its root is that path); a folder is a disc mounted at that folder.
QString ChosenOpticalDevice();

// The drive that holds Path: the listed mount root that is the longest leading
// part of Path (at a "/" boundary). A Path that names a drive itself (a root,
// a device node or a drive-list text) gives that drive. Empty for an empty or
// relative path.
QString RootOf(const QString& path);

// The drive named by a root, device node, drive-list text or any absolute path on it.
std::optional<Drive> Find(const QString& drive);

// Drive type of the drive named by Drive (see Find); TypeNoRoot when there is none.
int DriveType(const QString& drive);

// The volume serial of the drive; nullopt when there is no such drive or no readable volume.
std::optional<quint32> VolumeSerial(const QString& drive);

// What the root of an audio disc holds, as the programs look for CD tracks:
// "Track01.cda", "Track02.cda" ..., one per audio track (named by its number)
// of the disc in the optical drive whose root Folder names, when that drive
// has no mounted volume; {} for any other folder. The track of a listed name
// plays through the CD audio device; "<root>/Track05.cda" lies on that drive.
QStringList AudioTrackNames(const QString& folder);

// "<root> [<label>]" or "<root>".
QString EntryText(const Drive& drive);
// The root named by a drive-list text; the text itself when it carries no label.
QString DriveOfEntry(const QString& text);

// Pure helpers of the system source, public so that they can be tested.
// A serial from a file system UUID text ("ABCD-1234", "0123456789ABCDEF",
// "c0ffee00-....", or any other text, hashed); nullopt for an empty text.
std::optional<quint32> SerialFromUuid(const QString& uuid);
// A serial from a volume's first sectors (FAT boot sector, NTFS boot sector,
// ISO 9660 primary volume descriptor at byte 32768); nullopt when none is recognised.
std::optional<quint32> SerialFromHeader(const QByteArray& firstBytes);
// A stable serial from an audio CD's table of contents (track start sectors and lead-out).
quint32 SerialFromToc(const QList<qint32>& trackStarts, qint32 leadOut);

}  // namespace Drives
