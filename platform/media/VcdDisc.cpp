#include "VcdDisc.h"

#include "Drives.h"

#include <QRegularExpression>

#include <cdio/bytesex.h>
#include <cdio/cdio.h>
#include <cdio/iso9660.h>
#include <cdio/xa.h>

#include <algorithm>

namespace {

// A recorded name without its version and without the dot of a name that has
// no extension ("AVSEQ01.DAT;1" is "AVSEQ01.DAT", "README.;1" is "README").
QString plainName(const char *recorded)
{
    QString name = QString::fromLatin1(recorded);
    const int version = name.lastIndexOf(QLatin1Char(';'));
    if (version > 0)
        name.truncate(version);
    if (name.endsWith(QLatin1Char('.')))
        name.chop(1);
    return name;
}

// An entry of a folder on the disc: its plain name, its name as recorded, and
// whether it is a folder.
struct FolderEntry {
    QString name;
    QByteArray recorded;
    bool folder = false;
};

QList<FolderEntry> readFolder(CdIo_t *cdio, const QByteArray &recordedFolder)
{
    QList<FolderEntry> entries;
    CdioISO9660FileList_t *list = iso9660_fs_readdir(cdio, recordedFolder.constData());
    if (!list)
        return entries;
    CdioListNode_t *node;
    _CDIO_LIST_FOREACH (node, list) {
        const auto *stat = static_cast<const iso9660_stat_t *>(_cdio_list_node_data(node));
        const QString name = plainName(stat->filename);
        if (name == QLatin1String(".") || name == QLatin1String("..") || name.isEmpty())
            continue;
        entries.append({name, QByteArray(stat->filename), stat->type == iso9660_stat_s::_STAT_DIR});
    }
    iso9660_filelist_free(list);
    return entries;
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
        m_cdio = cdio_open(device.constData(), DRIVER_UNKNOWN);
    // An audio CD has no file system to read.
    if (m_cdio && cdio_get_track_format(m_cdio, cdio_get_first_track_num(m_cdio)) == TRACK_FORMAT_AUDIO) {
        cdio_destroy(m_cdio);
        m_cdio = nullptr;
    }
}

VcdDisc::~VcdDisc()
{
    if (m_cdio)
        cdio_destroy(m_cdio);
}

std::optional<QByteArray> VcdDisc::recordedPath(const QString &path, bool folder) const
{
    if (!m_cdio)
        return std::nullopt;
    QByteArray recorded = "/";
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (int i = 0; i < parts.size(); ++i) {
        const bool wantFolder = folder || i + 1 < parts.size();
        const QList<FolderEntry> entries = readFolder(m_cdio, recorded);
        const auto match = std::find_if(entries.begin(), entries.end(), [&](const FolderEntry &entry) {
            return entry.folder == wantFolder && entry.name.compare(parts[i], Qt::CaseInsensitive) == 0;
        });
        if (match == entries.end())
            return std::nullopt;
        recorded += match->recorded + (wantFolder ? "/" : "");
    }
    return recorded;
}

QStringList VcdDisc::files(const QString &folder, const QString &wildcard) const
{
    QStringList names;
    const std::optional<QByteArray> recorded = recordedPath(folder, true);
    if (!recorded)
        return names;
    const QRegularExpression pattern(QRegularExpression::wildcardToRegularExpression(wildcard),
                                     QRegularExpression::CaseInsensitiveOption);
    for (const FolderEntry &entry : readFolder(m_cdio, *recorded))
        if (!entry.folder && pattern.match(entry.name).hasMatch())
            names << entry.name;
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return names;
}

std::optional<DiscFile> VcdDisc::file(const QString &path) const
{
    const std::optional<QByteArray> recorded = recordedPath(path, false);
    if (!recorded)
        return std::nullopt;
    iso9660_stat_t *stat = iso9660_fs_stat(m_cdio, recorded->constData());
    if (!stat)
        return std::nullopt;
    DiscFile found;
    found.device = m_device;
    found.firstSector = stat->lsn;
    found.sectors = stat->secsize;
    found.form2 = stat->b_xa && (uint16_from_be(stat->xa.attributes) & XA_ATTR_MODE2FORM2);
    // A Form 2 file's recorded size counts 2048 bytes a sector; its sectors hold more.
    found.bytes = found.form2 ? qint64(found.sectors) * DiscFile::Form2Bytes : qint64(stat->size);
    iso9660_stat_free(stat);
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
