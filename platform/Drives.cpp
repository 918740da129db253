#include "Drives.h"

#include "CdioOpen.h"
#include "DriveTableWatch.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QtEndian>

#include <cdio/cdio.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <mutex>

namespace Drives {

// ---------------------------------------------------------------- FixedSource

FixedSource::FixedSource(QList<Drive> drives, QMap<QString, quint32> serialByRoot)
    : drives_(std::move(drives)), serials_(std::move(serialByRoot)) {}

QList<Drive> FixedSource::drives() { return drives_; }

std::optional<quint32> FixedSource::serial(const Drive& drive) {
    auto it = serials_.constFind(drive.root);
    if (it == serials_.constEnd()) return std::nullopt;
    return *it;
}

void FixedSource::setDrives(QList<Drive> drives) { drives_ = std::move(drives); }

void FixedSource::setSerial(const QString& root, std::optional<quint32> serial) {
    if (serial) serials_[root] = *serial;
    else serials_.remove(root);
}

QList<int> FixedSource::audioTracks(const Drive& drive) { return audioTracks_.value(drive.root); }

void FixedSource::setAudioTracks(const QString& root, QList<int> tracks) { audioTracks_[root] = std::move(tracks); }

// ------------------------------------------------------------- pure helpers

namespace {

quint32 fnv1a(const QByteArray& bytes) {
    quint32 hash = 2166136261u;
    for (char c : bytes) {
        hash ^= static_cast<quint8>(c);
        hash *= 16777619u;
    }
    return hash;
}

quint32 le32(const QByteArray& b, int at) {
    return qFromLittleEndian<quint32>(reinterpret_cast<const uchar*>(b.constData()) + at);
}

bool bytesAt(const QByteArray& b, int at, const char* text) {
    const int n = int(qstrlen(text));
    return b.size() >= at + n && b.mid(at, n) == QByteArray(text, n);
}

constexpr int kIsoDescriptor = 16 * 2048;  // primary volume descriptor of an ISO 9660 volume
constexpr int kHeaderBytes = kIsoDescriptor + 2048;

}  // namespace

std::optional<quint32> SerialFromUuid(const QString& uuid) {
    if (uuid.isEmpty()) return std::nullopt;
    QString hex = uuid;
    hex.remove(QLatin1Char('-'));
    static const QRegularExpression hexDigits(QStringLiteral("^[0-9A-Fa-f]+$"));
    const bool ok = (hex.size() == 8 || hex.size() == 16 || hex.size() == 32) && hexDigits.match(hex).hasMatch();
    if (ok) {
        // FAT "ABCD-1234" is the serial itself; NTFS keeps it in the low half
        // of its 64-bit number; longer UUIDs give their first eight digits.
        const QString digits = hex.size() == 16 ? hex.right(8) : hex.left(8);
        return digits.toUInt(nullptr, 16);
    }
    return fnv1a(uuid.toUtf8());
}

std::optional<quint32> SerialFromHeader(const QByteArray& b) {
    if (b.size() >= 512 && quint8(b[510]) == 0x55 && quint8(b[511]) == 0xAA) {
        if (bytesAt(b, 3, "NTFS    ")) return le32(b, 0x48);
        if (bytesAt(b, 3, "EXFAT   ")) return le32(b, 0x64);
        if (bytesAt(b, 82, "FAT32   ") && quint8(b[66]) == 0x29) return le32(b, 67);
        if (quint8(b[38]) == 0x29 && bytesAt(b, 54, "FAT")) return le32(b, 39);
    }
    if (b.size() >= kHeaderBytes && quint8(b[kIsoDescriptor]) == 1 && bytesAt(b, kIsoDescriptor + 1, "CD001")) {
        // Byte-wise sums of the descriptor's four-byte groups, each byte
        // wrapping on its own: stable for a pressed disc.
        quint8 sum[4] = {0, 0, 0, 0};
        for (int i = 0; i < 2048; i += 4)
            for (int k = 0; k < 4; ++k) sum[3 - k] = quint8(sum[3 - k] + quint8(b[kIsoDescriptor + i + k]));
        return quint32(sum[0]) | quint32(sum[1]) << 8 | quint32(sum[2]) << 16 | quint32(sum[3]) << 24;
    }
    return std::nullopt;
}

quint32 SerialFromToc(const QList<qint32>& trackStarts, qint32 leadOut) {
    QByteArray bytes;
    for (qint32 start : trackStarts) bytes.append(reinterpret_cast<const char*>(&start), sizeof start);
    bytes.append(reinterpret_cast<const char*>(&leadOut), sizeof leadOut);
    return fnv1a(bytes);
}

// ------------------------------------------------------------ system source

namespace {

// Roots that are parts of the operating system, not places a user keeps media.
bool isSystemMount(const QString& root, const QByteArray& fsType) {
    static const QStringList systemPrefixes = {"/proc", "/sys", "/dev", "/boot", "/snap", "/var/lib", "/etc", "/usr"};
    if (fsType == "squashfs" || fsType == "autofs") return true;
    if (root.startsWith("/run/") && !root.startsWith("/run/media/")) return true;
    if (root == "/run") return true;
    for (const QString& prefix : systemPrefixes)
        if (root == prefix || root.startsWith(prefix + '/')) return true;
    return false;
}

QString canonicalDevice(const QString& device) {
    const QString canonical = QFileInfo(device).canonicalFilePath();
    return canonical.isEmpty() ? device : canonical;
}

QStringList opticalDevices() {
    QStringList devices;
    char** list = cdio_get_devices(DRIVER_DEVICE);
    if (!list) return devices;
    for (char** p = list; *p; ++p) devices << canonicalDevice(QString::fromLocal8Bit(*p));
    cdio_free_device_list(list);
    devices.removeDuplicates();
    return devices;
}

QString readSysFlag(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromLatin1(f.readAll()).trimmed();
}

bool isRemovableDevice(const QString& device) {
    const QString name = QFileInfo(device).fileName();
    if (name.isEmpty()) return false;
    const QString sysDir = "/sys/class/block/" + name;
    if (readSysFlag(sysDir + "/removable") == "1") return true;
    // A partition carries the flag on its whole disc, the parent folder.
    const QString parent = QFileInfo(sysDir + "/..").canonicalFilePath();
    return !parent.isEmpty() && readSysFlag(parent + "/removable") == "1";
}

QString uuidOfDevice(const QString& device) {
    const QString wanted = canonicalDevice(device);
    QDirIterator it("/dev/disk/by-uuid", QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        if (canonicalDevice(it.filePath()) == wanted) return it.fileName();
    }
    return {};
}

std::optional<quint32> audioDiscSerial(const QString& device) {
    // Any driver: a disc image has its table of contents too.
    CdIo_t* cdio = OpenCdio(QFile::encodeName(device));
    if (!cdio) return std::nullopt;
    std::optional<quint32> serial;
    const track_t first = cdio_get_first_track_num(cdio);
    const track_t count = cdio_get_num_tracks(cdio);
    if (first != CDIO_INVALID_TRACK && count != CDIO_INVALID_TRACK && count > 0) {
        QList<qint32> starts;
        for (track_t t = first; t < first + count; ++t) starts << cdio_get_track_lsn(cdio, t);
        serial = SerialFromToc(starts, cdio_get_track_lsn(cdio, CDIO_CDROM_LEADOUT_TRACK));
    }
    cdio_destroy(cdio);
    return serial;
}

QList<int> audioTracksOnDisc(const QString& device) {
    CdIo_t* cdio = OpenCdio(QFile::encodeName(device));
    if (!cdio) return {};
    QList<int> tracks;
    const track_t first = cdio_get_first_track_num(cdio);
    const track_t count = cdio_get_num_tracks(cdio);
    // A damaged table of contents can claim any count: a disc has at most 99 tracks.
    if (first != CDIO_INVALID_TRACK && count != CDIO_INVALID_TRACK && first >= 1 && first + count - 1 <= 99) {
        for (track_t t = first; t < first + count; ++t)
            if (cdio_get_track_format(cdio, t) == TRACK_FORMAT_AUDIO) tracks << int(t);
    }
    cdio_destroy(cdio);
    return tracks;
}

class SystemSource : public Source {
public:
    QList<Drive> drives() override {
        // The list is asked for by every path helper: it is made again at most once a second,
        // and the system's drives in it are read again only when they may have changed.
        std::lock_guard<std::mutex> guard(cacheLock_);
        if (cacheAge_.isValid() && cacheAge_.elapsed() < 1000) return cache_;
        if (tableWatch_.changed()) systemDrives_ = readSystemDrives();
        cache_ = systemDrives_;
        addChosenDrive(cache_);
        cacheAge_.start();
        return cache_;
    }

    std::optional<quint32> serial(const Drive& drive) override {
        if (!drive.device.isEmpty()) {
            QFile dev(drive.device);
            if (dev.open(QIODevice::ReadOnly)) {
                if (auto s = SerialFromHeader(dev.read(kHeaderBytes))) return s;
            }
            if (auto s = SerialFromUuid(uuidOfDevice(drive.device))) return s;
            if (!drive.mounted) return audioDiscSerial(drive.device);
        }
        if (!drive.mounted) return std::nullopt;
        struct statvfs info {};
        if (statvfs(QFile::encodeName(drive.root).constData(), &info) != 0) return std::nullopt;
        const quint64 fsid = info.f_fsid;
        return quint32(fsid ^ (fsid >> 32));
    }

    QList<int> audioTracks(const Drive& drive) override {
        if (drive.mounted || drive.device.isEmpty()) return {};
        return audioTracksOnDisc(drive.device);
    }

private:
    static QList<Drive> readSystemDrives() {
        const QStringList optical = opticalDevices();
        QList<Drive> drives;
        QStringList mountedOptical;
        for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
            const QString root = volume.rootPath();
            if (root != "/" && isSystemMount(root, volume.fileSystemType())) continue;
            if (!QFileInfo(root).isDir()) continue;
            Drive d;
            d.root = root;
            const QString device = QString::fromLocal8Bit(volume.device());
            d.device = device.startsWith("/dev/") ? device : QString();
            d.label = volume.name();
            const QString canonical = d.device.isEmpty() ? QString() : canonicalDevice(d.device);
            const QByteArray fs = volume.fileSystemType();
            if ((!canonical.isEmpty() && optical.contains(canonical)) || fs == "iso9660" || fs == "udf") {
                d.type = TypeOptical;
                mountedOptical << canonical;
            } else {
                d.type = !d.device.isEmpty() && isRemovableDevice(d.device) ? TypeRemovable : TypeFixed;
            }
            auto same = std::find_if(drives.begin(), drives.end(), [&](const Drive& o) { return o.root == root; });
            if (same != drives.end()) *same = d;  // the last mount on a root is the one seen
            else drives << d;
        }
        std::sort(drives.begin(), drives.end(), [](const Drive& a, const Drive& b) { return a.root < b.root; });
        for (const QString& device : optical) {
            if (mountedOptical.contains(device)) continue;
            drives << Drive{device, device, QString(), TypeOptical, false};
        }
        return drives;
    }

    // The drive PELLORAN_CD_DEVICE names goes last, taking the place of a
    // listing of the same root; a drive whose disc is mounted stays where it
    // is, reached at its mount.
    static void addChosenDrive(QList<Drive>& drives) {
        const QString chosen = ChosenOpticalDevice();
        if (chosen.isEmpty()) return;
        const QString device = canonicalDevice(chosen);
        if (std::any_of(drives.begin(), drives.end(), [&](const Drive& d) {
                return d.mounted && !d.device.isEmpty() && canonicalDevice(d.device) == device;
            }))
            return;
        drives.removeIf([&](const Drive& d) { return d.root == chosen || d.root == device; });
        if (QFileInfo(chosen).isDir())
            drives << Drive{chosen, QString(), QFileInfo(chosen).fileName(), TypeOptical, true};
        else
            drives << Drive{chosen, chosen, QString(), TypeOptical, false};
    }

    std::mutex cacheLock_;
    DriveTableWatch tableWatch_;
    QList<Drive> systemDrives_;
    QList<Drive> cache_;
    QElapsedTimer cacheAge_;
};

std::mutex sourceLock;
std::shared_ptr<Source>& currentSource() {
    static std::shared_ptr<Source> source = std::make_shared<SystemSource>();
    return source;
}

std::shared_ptr<Source> source() {
    std::lock_guard<std::mutex> guard(sourceLock);
    return currentSource();
}

bool isUnder(const QString& path, const QString& root) {
    if (root == "/") return path.startsWith('/');
    return path == root || path.startsWith(root + '/');
}

std::optional<Drive> findNamed(const QList<Drive>& drives, const QString& name) {
    for (const Drive& d : drives)
        if (d.root == name || (!d.device.isEmpty() && d.device == name) || EntryText(d) == name) return d;
    return std::nullopt;
}

std::optional<Drive> holderOf(const QList<Drive>& drives, const QString& path) {
    if (!path.startsWith('/')) return std::nullopt;
    const QString clean = QDir::cleanPath(path);
    std::optional<Drive> best;
    for (const Drive& d : drives) {
        // An unmounted audio disc holds the track names listed in its root.
        if (!isUnder(clean, d.root)) continue;
        if (!best || d.root.size() > best->root.size()) best = d;
    }
    return best;
}

}  // namespace

QString ChosenOpticalDevice() {
    const QString named = qEnvironmentVariable("PELLORAN_CD_DEVICE").trimmed();
    if (named.isEmpty()) return {};
    return QDir::cleanPath(QFileInfo(named).absoluteFilePath());
}

void SetSource(std::shared_ptr<Source> newSource) {
    std::lock_guard<std::mutex> guard(sourceLock);
    currentSource() = newSource ? std::move(newSource) : std::make_shared<SystemSource>();
}

QList<Drive> List() { return source()->drives(); }

std::optional<Drive> Find(const QString& drive) {
    if (drive.isEmpty()) return std::nullopt;
    const QList<Drive> drives = List();
    if (auto named = findNamed(drives, drive)) return named;
    if (drive.endsWith(QLatin1Char(']')))
        if (auto named = findNamed(drives, DriveOfEntry(drive))) return named;
    return holderOf(drives, drive);
}

QString RootOf(const QString& path) {
    auto d = Find(path);
    if (d) return d->root;
    // With no listed volume holding it, an absolute path lies on the system root.
    return path.startsWith('/') ? QStringLiteral("/") : QString();
}

int DriveType(const QString& drive) {
    auto d = Find(drive);
    return d ? d->type : TypeNoRoot;
}

std::optional<quint32> VolumeSerial(const QString& drive) {
    auto d = Find(drive);
    if (!d) return std::nullopt;
    return source()->serial(*d);
}

QStringList AudioTrackNames(const QString& folder) {
    if (!folder.startsWith('/')) return {};
    const auto drive = findNamed(List(), QDir::cleanPath(folder));
    if (!drive || drive->mounted || drive->type != TypeOptical) return {};
    QStringList names;
    for (int track : source()->audioTracks(*drive)) names << QString::asprintf("Track%02d.cda", track);
    return names;
}

QString EntryText(const Drive& drive) {
    return drive.label.isEmpty() ? drive.root : drive.root + " [" + drive.label + "]";
}

QString DriveOfEntry(const QString& text) {
    // A listed drive's own text is exact even when its label holds brackets.
    for (const Drive& d : List())
        if (EntryText(d) == text) return d.root;
    if (!text.endsWith(']')) return text;
    const int open = text.lastIndexOf(" [");
    return open > 0 ? text.left(open) : text;
}

}  // namespace Drives
