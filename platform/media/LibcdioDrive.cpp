#include "LibcdioDrive.h"

#include "CdioOpen.h"
#include "Drives.h"
#include "FolderDisc.h"
#include "MpvPlayer.h"
#include "SimulatedDisc.h"
#include "MediaBackend.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <cdio/cdio.h>
#include <cdio/mmc.h>

namespace {
constexpr qint64 kFramesPerSecond = 75;
constexpr double kSampleRate = 44100;  // CD audio
// Each block of sound the engine plays measured: its zero crossings tell a tone's pitch.
constexpr char kSoundMeter[] = "@meter:lavfi=[astats=metadata=1:reset=1]";
qint64 framesToMs(qint64 frames) { return frames * 1000 / kFramesPerSecond; }
} // namespace

LibcdioDrive::LibcdioDrive()
{
    const QList<QByteArray> drives = opticalDrives();
    if (!drives.isEmpty())
        m_device = drives.first();
}

LibcdioDrive::LibcdioDrive(const QByteArray &device) : m_device(device) {}

LibcdioDrive::~LibcdioDrive() { closeDevice(); }

QList<QByteArray> LibcdioDrive::opticalDrives()
{
    QList<QByteArray> out;
    char **devices = cdio_get_devices(DRIVER_DEVICE);
    if (!devices)
        return out;
    for (char **device = devices; *device; ++device)
        out.append(QByteArray(*device));
    cdio_free_device_list(devices);
    return out;
}

bool LibcdioDrive::fail(const QString &why) const
{
    m_error = why;
    return false;
}

bool LibcdioDrive::openDevice() const
{
    if (m_cdio)
        return true;
    if (m_device.isEmpty())
        return fail(QStringLiteral("no optical drive"));
    m_cdio = OpenCdio(m_device);
    return m_cdio != nullptr || fail(QStringLiteral("cannot open the drive"));
}

void LibcdioDrive::closeDevice() const
{
    if (m_cdio)
        cdio_destroy(m_cdio);
    m_cdio = nullptr;
    m_toc.clear();
}

bool LibcdioDrive::readToc() const
{
    // A disc changed by hand (the drive's own button) makes the table stale.
    if (!m_toc.isEmpty() && m_cdio && cdio_get_media_changed(m_cdio) == 1)
        closeDevice();
    if (!m_toc.isEmpty())
        return true;
    if (!openDevice())
        return false;
    const track_t first = cdio_get_first_track_num(m_cdio);
    const track_t count = cdio_get_num_tracks(m_cdio);
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0) {
        closeDevice();  // the next look reopens: the disc may still be spinning up
        return fail(QStringLiteral("no readable disc"));
    }
    const lsn_t origin = cdio_get_track_lsn(m_cdio, first);
    for (track_t t = first; t < first + count; ++t) {
        const lsn_t start = cdio_get_track_lsn(m_cdio, t);
        const lsn_t next = cdio_get_track_lsn(m_cdio, t + 1 < first + count ? track_t(t + 1) : track_t(CDIO_CDROM_LEADOUT_TRACK));
        CdTrack track;
        track.startMs = framesToMs(start - origin);
        track.lengthMs = framesToMs(next - start);
        track.audio = cdio_get_track_format(m_cdio, t) == TRACK_FORMAT_AUDIO;
        m_toc.append(track);
    }
    return true;
}

bool LibcdioDrive::trayOpenedByHand() const
{
    if (!openDevice())
        return false;
    if (mmc_get_tray_status(m_cdio) != 1)
        return false;
    m_toc.clear();
    return true;
}

qint64 LibcdioDrive::discLength() const
{
    return m_toc.isEmpty() ? 0 : m_toc.last().startMs + m_toc.last().lengthMs;
}

// The engine's CD stream runs from the first audio track's start to the last
// one's end: a mixed disc's data track before the sound is not in it.
qint64 LibcdioDrive::soundStartMs() const
{
    for (const CdTrack &track : std::as_const(m_toc))
        if (track.audio)
            return track.startMs;
    return 0;
}

qint64 LibcdioDrive::soundEndMs() const
{
    for (auto track = m_toc.crbegin(); track != m_toc.crend(); ++track)
        if (track->audio)
            return track->startMs + track->lengthMs;
    return 0;
}

qint64 LibcdioDrive::toStream(qint64 discMs) const
{
    return qBound<qint64>(0, discMs - soundStartMs(), soundEndMs() - soundStartMs());
}

CdDrive::State LibcdioDrive::state() const
{
    if (m_device.isEmpty())
        return State::NoDisc;
    if (m_trayOpen || trayOpenedByHand())
        return State::TrayOpen;
    if (!readToc())
        return State::NotReady;
    if (!m_player)
        return State::Stopped;
    if (m_playTo >= 0 && m_player->state() == MediaPlayer::State::Playing && m_player->positionMs() >= m_playTo)
        const_cast<LibcdioDrive *>(this)->pause();
    switch (m_player->state()) {
    case MediaPlayer::State::Playing:
        return State::Playing;
    case MediaPlayer::State::Paused:
        return State::Paused;
    default:
        return State::Stopped;
    }
}

bool LibcdioDrive::mediaPresent() const { return !m_trayOpen && readToc(); }

QVector<CdTrack> LibcdioDrive::tracks() const
{
    readToc();
    return m_toc;
}

qint64 LibcdioDrive::positionMs() const
{
    if (!m_player || m_player->state() == MediaPlayer::State::Closed)
        return m_heldMs;
    const qint64 position = m_player->atEnd() ? discLength() : m_player->positionMs() + soundStartMs();
    return m_playTo >= 0 ? qMin(position, m_playTo) : position;
}

bool LibcdioDrive::ensurePlayer()
{
    if (m_player && m_player->state() != MediaPlayer::State::Closed)
        return true;
    m_player = std::make_unique<MpvPlayer>();
    m_player->setVolume(m_volume);
    // cdda:// reads the disc's sound as one stream, from the first audio track to the end of
    // the last.
    QList<QPair<QByteArray, QByteArray>> options{{"cdrom-device", CdioSourcePath(m_device)}};
    m_metered = qEnvironmentVariableIntValue("PELLORAN_TEST_CONTROL") == 1;
    if (m_metered)
        options.append(qMakePair(QByteArray("af"), QByteArray(kSoundMeter)));  // lets a test hear which tone plays
    const auto result = m_player->openLocation(QStringLiteral("cdda://"), options);
    if (result != MediaPlayer::Opened) {
        m_player.reset();
        return fail(QStringLiteral("cannot play the disc"));
    }
    m_player->assumeLength(soundEndMs() - soundStartMs());
    m_player->seek(toStream(m_heldMs));
    return true;
}

bool LibcdioDrive::play(qint64 fromMs, qint64 toMs)
{
    if (m_trayOpen)
        return fail(QStringLiteral("the disc is out"));
    if (!readToc())
        return false;
    if (fromMs < 0 || fromMs >= discLength())
        return fail(QStringLiteral("play range out of the disc"));
    for (const CdTrack &track : std::as_const(m_toc))
        if (fromMs >= track.startMs && fromMs < track.startMs + track.lengthMs && !track.audio)
            return fail(QStringLiteral("cannot play a data track"));
    if (!ensurePlayer())
        return false;
    m_player->seek(toStream(fromMs));
    m_playTo = toMs >= 0 && toMs < discLength() ? toMs : -1;
    m_player->play();
    return true;
}

bool LibcdioDrive::pause()
{
    if (!m_player)
        return readToc();
    m_player->pause();
    return true;
}

bool LibcdioDrive::resume()
{
    if (!m_player)
        return readToc();
    if (m_player->state() == MediaPlayer::State::Paused)
        m_player->play();
    return true;
}

bool LibcdioDrive::stop()
{
    if (!m_player)
        return readToc();
    m_player->stop();
    return true;
}

bool LibcdioDrive::seek(qint64 ms)
{
    if (!readToc())
        return false;
    if (ms < 0 || ms > discLength())
        return fail(QStringLiteral("seek out of the disc"));
    m_heldMs = ms;
    if (m_player) {
        m_player->stop();
        m_player->seek(toStream(ms));
    }
    return true;
}

void LibcdioDrive::setVolume(int level)
{
    m_volume = qBound(0, level, 1000);
    if (m_player)
        m_player->setVolume(m_volume);
}

double LibcdioDrive::engineVolume() const { return m_player ? m_player->engineProperty("volume") : -1; }

double LibcdioDrive::toneHeard() const
{
    if (!m_metered || !m_player || m_player->state() != MediaPlayer::State::Playing)
        return -1;
    // The meter's last readings, as one JSON object of texts (this engine crashes when one of
    // them is asked for by name).
    const QJsonObject readings = QJsonDocument::fromJson(m_player->engineText("af-metadata/meter")).object();
    bool ok = false;
    const double crossingsPerSample = readings.value("lavfi.astats.1.Zero_crossings_rate").toString().toDouble(&ok);
    return ok ? crossingsPerSample * kSampleRate / 2 : -1;
}

bool LibcdioDrive::isImage() const
{
    if (!openDevice())
        return false;
    const driver_id_t driver = cdio_get_driver_id(m_cdio);
    return driver == DRIVER_BINCUE || driver == DRIVER_NRG || driver == DRIVER_CDRDAO;
}

bool LibcdioDrive::setTrayOpen(bool open)
{
    if (m_device.isEmpty())
        return fail(QStringLiteral("no optical drive"));
    const bool image = isImage();
    m_player.reset();
    m_heldMs = 0;
    m_playTo = -1;
    if (image) {
        // A disc image has no tray: it is taken out and put back as a disc
        // would be, so that the eject key loads what it ejected.
        m_trayOpen = open;
        return true;
    }
    closeDevice();
    driver_return_code_t result = DRIVER_OP_ERROR;
    if (open) {
        // Ejecting consumes the handle when it succeeds (or is unsupported).
        CdIo_t *handle = OpenCdio(m_device);
        if (handle)
            result = cdio_eject_media(&handle);
        if (handle)
            cdio_destroy(handle);
    } else {
        result = cdio_close_tray(m_device.constData(), nullptr);
    }
    if (result != DRIVER_OP_SUCCESS)
        return fail(QStringLiteral("the tray did not move"));
    m_trayOpen = open;
    return true;
}

// ---- the drive in use -----------------------------------------------------

namespace {
std::shared_ptr<CdDrive> &installedDrive()
{
    static std::shared_ptr<CdDrive> drive;
    return drive;
}

// The chosen device, else the first drive libcdio lists; made again when the
// choice changes.
CdDrive &systemDrive()
{
    static std::unique_ptr<CdDrive> drive;
    static QString madeFor;
    const QString chosen = Drives::ChosenOpticalDevice();
    if (!drive || chosen != madeFor) {
        if (chosen.isEmpty())
            drive = std::make_unique<LibcdioDrive>();
        else if (QFileInfo(chosen).isDir())
            drive = std::make_unique<FolderDisc>();  // a disc mounted at a folder: no device of its own
        else
            drive = std::make_unique<LibcdioDrive>(QFile::encodeName(chosen));
        madeFor = chosen;
    }
    return *drive;
}

} // namespace

CdDrive &cdDrive()
{
    if (installedDrive())
        return *installedDrive();
    if (mediaBackend() == MediaBackend::Simulated)
        return simulatedDisc();
    return systemDrive();
}

void setCdDrive(std::shared_ptr<CdDrive> drive) { installedDrive() = std::move(drive); }
