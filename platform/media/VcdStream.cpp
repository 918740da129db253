#include "VcdStream.h"

#include "CdioOpen.h"
#include "StreamCallbacks.h"
#include "VcdDisc.h"

#include <QFileInfo>
#include <QList>

#include <cdio/cdio.h>
#include <mpv/stream_cb.h>

#include <cstring>

namespace {

constexpr char kProtocol[] = "pelloran-disc";
constexpr int kSubheaderBytes = 8;  // before the data of a Mode 2 sector as libcdio gives it

// One open stream; libmpv uses it from one of its own threads, so it has a
// libcdio handle of its own.
class SectorStream {
public:
    SectorStream(CdIo_t *cdio, const DiscFile &file) : m_cdio(cdio), m_file(file) {}
    ~SectorStream() { cdio_destroy(m_cdio); }

    int64_t read(char *buffer, uint64_t wanted)
    {
        int64_t done = 0;
        while (done < int64_t(wanted) && m_position < m_file.bytes) {
            const qint64 sector = m_position / m_file.sectorBytes();
            const int offset = int(m_position % m_file.sectorBytes());
            if (!loadSector(sector))
                return done > 0 ? done : -1;
            const int64_t count = std::min<int64_t>({int64_t(wanted) - done, m_file.sectorBytes() - offset,
                                                     m_file.bytes - m_position});
            std::memcpy(buffer + done, m_data + offset, size_t(count));
            done += count;
            m_position += count;
        }
        return done;
    }

    int64_t seek(int64_t offset)
    {
        if (offset < 0 || offset > m_file.bytes)
            return MPV_ERROR_GENERIC;
        m_position = offset;
        return offset;
    }

    int64_t size() const { return m_file.bytes; }

private:
    bool loadSector(qint64 sector)
    {
        if (sector == m_loaded)
            return true;
        const lsn_t lsn = lsn_t(m_file.firstSector + sector);
        const driver_return_code_t result = m_file.form2 ? cdio_read_mode2_sector(m_cdio, m_raw, lsn, true)
                                                         : cdio_read_data_sectors(m_cdio, m_raw, lsn, DiscFile::DataBytes, 1);
        m_data = m_file.form2 ? m_raw + kSubheaderBytes : m_raw;
        m_loaded = result == DRIVER_OP_SUCCESS ? sector : -1;
        return m_loaded == sector;
    }

    CdIo_t *m_cdio;
    DiscFile m_file;
    qint64 m_position = 0;
    qint64 m_loaded = -1;
    char m_raw[M2RAW_SECTOR_SIZE] = {};
    const char *m_data = m_raw;
};

// "pelloran-disc://<form 2: 1 or 0>/<first sector>/<sectors>/<bytes>/<device, percent-encoded>"
bool parseLocation(const QByteArray &uri, DiscFile *file)
{
    const QByteArray prefix = QByteArray(kProtocol) + "://";
    if (!uri.startsWith(prefix))
        return false;
    const QList<QByteArray> parts = uri.mid(prefix.size()).split('/');
    if (parts.size() != 5)
        return false;
    bool ok[4] = {};
    file->form2 = parts[0].toInt(&ok[0]) == 1;
    file->firstSector = parts[1].toInt(&ok[1]);
    file->sectors = parts[2].toUInt(&ok[2]);
    file->bytes = parts[3].toLongLong(&ok[3]);
    file->device = QByteArray::fromPercentEncoding(parts[4]);
    return ok[0] && ok[1] && ok[2] && ok[3] && !file->device.isEmpty() && file->firstSector >= 0 && file->bytes >= 0
           && file->bytes <= qint64(file->sectors) * file->sectorBytes();
}

int openStream(void *, char *uri, mpv_stream_cb_info *info)
{
    DiscFile file;
    if (!parseLocation(QByteArray(uri), &file))
        return MPV_ERROR_LOADING_FAILED;
    CdIo_t *cdio = OpenCdio(file.device);
    if (!cdio)
        return MPV_ERROR_LOADING_FAILED;
    handStreamToEngine(std::make_unique<SectorStream>(cdio, file), info);
    return 0;
}

} // namespace

namespace VcdStream {

void registerOn(mpv_handle *mpv) { mpv_stream_cb_add_ro(mpv, kProtocol, nullptr, openStream); }

int open(const QByteArray &location, mpv_stream_cb_info *info)
{
    QByteArray uri = location;
    return openStream(nullptr, uri.data(), info);
}

QByteArray locationOf(const DiscFile &file)
{
    return QByteArray(kProtocol) + "://" + QByteArray::number(file.form2 ? 1 : 0) + '/'
           + QByteArray::number(file.firstSector) + '/' + QByteArray::number(file.sectors) + '/'
           + QByteArray::number(file.bytes) + '/' + file.device.toPercentEncoding();
}

bool readsDiscImage(const QByteArray &location)
{
    DiscFile file;
    return parseLocation(location, &file) && QFileInfo(QString::fromLocal8Bit(file.device)).isFile();
}

QByteArray locationFor(const QString &path)
{
    const std::optional<DiscFile> file = discFileAt(path);
    // A mounted disc delivers its data files itself; what takes the disc's
    // road is what no file system here gives: its Form 2 files, and every file
    // of a disc that is not mounted.
    if (!file || (!file->form2 && QFileInfo(path).isFile()))
        return {};
    return locationOf(*file);
}

} // namespace VcdStream
