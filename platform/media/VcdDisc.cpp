#include "VcdDisc.h"

#include "CdioOpen.h"
#include "Drives.h"

#include <QRegularExpression>

#include <cdio/cdio.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// The ISO 9660 records a video CD needs, read here rather than by a library,
// so that every size and place the disc records is checked against the disc
// before anything is read: a damaged disc then has nothing to play, rather
// than making the reader allocate or read gigabytes or past its buffers.
constexpr int kSectorBytes = 2048;
constexpr lsn_t kFirstVolumeDescriptor = 16;
constexpr int kMostVolumeDescriptors = 16;
// A folder of a few thousand names; a video CD's folders take one sector.
constexpr quint32 kMostFolderSectors = 256;

using Sector = std::array<uchar, kSectorBytes>;

// Offsets in a directory record.
constexpr int kExtentAt = 2;       // first sector, little-endian half of a both-endian number
constexpr int kSizeAt = 10;        // bytes, likewise
constexpr int kFlagsAt = 25;
constexpr int kNameLengthAt = 32;
constexpr int kNameAt = 33;
constexpr uchar kFolderFlag = 0x02;
// The system-use field of a video CD's records holds an XA record: its
// attributes (big-endian) at 4, "XA" at 6.
constexpr int kXaBytes = 14;
constexpr quint16 kXaForm2 = 0x1000;
constexpr int kRootRecordAt = 156;  // in the primary volume descriptor

quint32 littleEndian32(const uchar *at) { return at[0] | at[1] << 8 | at[2] << 16 | quint32(at[3]) << 24; }

// A recorded name without its version and without the dot of a name that has
// no extension ("AVSEQ01.DAT;1" is "AVSEQ01.DAT", "README.;1" is "README").
QString plainName(const QByteArray &recorded)
{
    QString name = QString::fromLatin1(recorded);
    const int version = name.lastIndexOf(QLatin1Char(';'));
    if (version > 0)
        name.truncate(version);
    if (name.endsWith(QLatin1Char('.')))
        name.chop(1);
    return name;
}

// An entry of a folder on the disc, as its record gives it.
struct FolderEntry {
    QString name;
    bool folder = false;
    quint32 firstSector = 0;
    quint32 bytes = 0;
    bool form2 = false;
};

bool isForm2(const uchar *record, int length, int nameLength)
{
    const int systemUse = kNameAt + nameLength + (nameLength % 2 == 0 ? 1 : 0);
    if (length - systemUse < kXaBytes)
        return false;
    const uchar *xa = record + systemUse;
    return xa[6] == 'X' && xa[7] == 'A' && ((xa[4] << 8 | xa[5]) & kXaForm2);
}

// The record at the start of bytes (available of them); its length, or 0
// where the record is missing or damaged and nothing after it can be trusted.
int parseRecord(const uchar *record, int available, FolderEntry *entry)
{
    const int length = available > 0 ? record[0] : 0;
    if (length < kNameAt + 1 || length > available)
        return 0;
    const int nameLength = record[kNameLengthAt];
    if (nameLength == 0 || kNameAt + nameLength > length)
        return 0;
    entry->name = plainName(QByteArray(reinterpret_cast<const char *>(record + kNameAt), nameLength));
    entry->folder = record[kFlagsAt] & kFolderFlag;
    entry->firstSector = littleEndian32(record + kExtentAt);
    entry->bytes = littleEndian32(record + kSizeAt);
    entry->form2 = isForm2(record, length, nameLength);
    return length;
}

// Whether a recorded name is one of the folder's entries: not the folder
// itself or its parent (recorded as the bytes 0 and 1, or as "." and ".."),
// nor a name that would lead a path elsewhere.
bool isEntryName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String("\x01") && name != QLatin1String(".")
           && name != QLatin1String("..") && !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

quint32 sectorsOf(quint32 bytes) { return bytes / kSectorBytes + (bytes % kSectorBytes ? 1 : 0); }

// The file system of a disc of count sectors: each sector is read only when
// it lies on the disc, each folder only when it lies whole on the disc and
// is no larger than a folder can sensibly be.
class FileSystemReader {
public:
    FileSystemReader(CdIo_t *cdio, quint32 count) : m_cdio(cdio), m_count(count) {}

    bool onDisc(quint32 first, quint32 sectors) const { return first < m_count && sectors <= m_count - first; }

    // The root folder, as the primary volume descriptor records it.
    std::optional<FolderEntry> root() const
    {
        Sector sector;
        for (lsn_t at = kFirstVolumeDescriptor; at < kFirstVolumeDescriptor + kMostVolumeDescriptors; ++at) {
            if (!read(at, &sector) || std::memcmp(sector.data() + 1, "CD001", 5) != 0 || sector[0] == 255)
                return std::nullopt;
            FolderEntry root;
            if (sector[0] == 1 && parseRecord(sector.data() + kRootRecordAt, kSectorBytes - kRootRecordAt, &root))
                return root.folder ? std::optional(root) : std::nullopt;
        }
        return std::nullopt;
    }

    // The entries of a folder; none where it is damaged, and none after a
    // damaged record in the same sector.
    QList<FolderEntry> entries(const FolderEntry &folder) const
    {
        QList<FolderEntry> entries;
        const quint32 sectors = sectorsOf(folder.bytes);
        if (!folder.folder || sectors > kMostFolderSectors || !onDisc(folder.firstSector, sectors))
            return entries;
        Sector sector;
        for (quint32 i = 0; i < sectors && read(folder.firstSector + i, &sector); ++i) {
            FolderEntry entry;
            for (int at = 0, length = 0; at < kSectorBytes; at += length) {
                length = parseRecord(sector.data() + at, kSectorBytes - at, &entry);
                if (length == 0)
                    break;  // the rest of the sector is padding, or cannot be trusted
                if (isEntryName(entry.name))
                    entries.append(entry);
            }
        }
        return entries;
    }

private:
    bool read(quint32 at, Sector *sector) const
    {
        return onDisc(at, 1)
               && cdio_read_data_sectors(m_cdio, sector->data(), lsn_t(at), kSectorBytes, 1) == DRIVER_OP_SUCCESS;
    }

    CdIo_t *m_cdio;
    quint32 m_count;
};

// The entry at path ("/Mpegav/Avseq01.dat"), each part matched without
// regard to case; nullopt when a part is missing or cannot be read.
std::optional<FolderEntry> entryAt(const FileSystemReader &disc, const QString &path, bool folder)
{
    std::optional<FolderEntry> entry = disc.root();
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (int i = 0; entry && i < parts.size(); ++i) {
        const bool wantFolder = folder || i + 1 < parts.size();
        const QList<FolderEntry> entries = disc.entries(*entry);
        const auto match = std::find_if(entries.begin(), entries.end(), [&](const FolderEntry &candidate) {
            return candidate.folder == wantFolder && candidate.name.compare(parts[i], Qt::CaseInsensitive) == 0;
        });
        entry = match == entries.end() ? std::nullopt : std::optional(*match);
    }
    return entry;
}

QString withoutTrailingSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

// The optical drive whose disc holds path, read through its device node: the
// longest root that leads path, of the drives that have a device.
std::optional<Drives::Drive> discDriveOf(const QString &path)
{
    std::optional<Drives::Drive> best;
    for (const Drives::Drive &drive : Drives::List()) {
        if (drive.type != Drives::TypeOptical || drive.device.isEmpty())
            continue;
        const QString root = withoutTrailingSlash(drive.root);
        if (!path.startsWith(root + QLatin1Char('/')))
            continue;
        if (!best || root.size() > best->root.size())
            best = drive;
    }
    return best;
}

} // namespace

VcdDisc::VcdDisc(const QByteArray &device) : m_device(device)
{
    if (!device.isEmpty())
        m_cdio = OpenCdio(device);
    // An audio CD has no file system to read.
    if (m_cdio && cdio_get_track_format(m_cdio, cdio_get_first_track_num(m_cdio)) == TRACK_FORMAT_AUDIO) {
        cdio_destroy(m_cdio);
        m_cdio = nullptr;
    }
    if (m_cdio) {
        const lsn_t end = cdio_get_disc_last_lsn(m_cdio);
        m_sectors = end == CDIO_INVALID_LSN || end < 0 ? 0 : quint32(end);
    }
}

VcdDisc::~VcdDisc()
{
    if (m_cdio)
        cdio_destroy(m_cdio);
}

QStringList VcdDisc::files(const QString &folder, const QString &wildcard) const
{
    QStringList names;
    if (!m_cdio)
        return names;
    const FileSystemReader disc(m_cdio, m_sectors);
    const std::optional<FolderEntry> found = entryAt(disc, folder, true);
    if (!found)
        return names;
    const QRegularExpression pattern(QRegularExpression::wildcardToRegularExpression(wildcard),
                                     QRegularExpression::CaseInsensitiveOption);
    for (const FolderEntry &entry : disc.entries(*found))
        if (!entry.folder && pattern.match(entry.name).hasMatch())
            names << entry.name;
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return names;
}

std::optional<DiscFile> VcdDisc::file(const QString &path) const
{
    if (!m_cdio)
        return std::nullopt;
    const FileSystemReader disc(m_cdio, m_sectors);
    const std::optional<FolderEntry> entry = entryAt(disc, path, false);
    if (!entry || !disc.onDisc(entry->firstSector, 1))
        return std::nullopt;
    DiscFile found;
    found.device = m_device;
    found.firstSector = qint32(entry->firstSector);
    // A file recorded as longer than the disc holds plays as far as the disc goes.
    found.sectors = std::min(sectorsOf(entry->bytes), m_sectors - entry->firstSector);
    found.form2 = entry->form2;
    // A Form 2 file's recorded size counts 2048 bytes a sector; its sectors hold more.
    found.bytes = found.form2 ? qint64(found.sectors) * DiscFile::Form2Bytes
                              : std::min<qint64>(entry->bytes, qint64(found.sectors) * DiscFile::DataBytes);
    return found;
}
std::optional<DiscFile> discFileAt(const QString &path)
{
    const std::optional<Drives::Drive> drive = discDriveOf(path);
    if (!drive)
        return std::nullopt;
    const VcdDisc disc(drive->device.toLocal8Bit());
    return disc.file(path.mid(withoutTrailingSlash(drive->root).size()));
}

QStringList unmountedDiscFiles(const QString &pattern)
{
    const int slash = pattern.lastIndexOf(QLatin1Char('/'));
    const std::optional<Drives::Drive> drive = discDriveOf(pattern);
    if (slash < 0 || !drive || drive->mounted)
        return {};
    const QString folder = pattern.left(slash);
    const VcdDisc disc(drive->device.toLocal8Bit());
    QStringList paths;
    for (const QString &name : disc.files(folder.mid(withoutTrailingSlash(drive->root).size()), pattern.mid(slash + 1)))
        paths << folder + QLatin1Char('/') + name;
    return paths;
}
