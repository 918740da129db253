#include "MediaSession.h"

#include "LyricStamp.h"
#include "MciCommand.h"
#include "VbRuntime.h"

namespace {

constexpr int ReplyLength = 80;

void send(const QString &command) { mciSendString(command); }

bool repliesPlaying(const QString &mode) { return mode.left(7) == QStringLiteral("playing"); }

// Milliseconds of "mm:ss:ff" (75 frames a second).
qint64 msfToMs(const QString &msf)
{
    const QStringList parts = msf.trimmed().split(u':');
    if (parts.size() < 2)
        return 0;
    const qint64 frames = parts.size() > 2 ? qint64(Vb::Val(parts.at(2))) : 0;
    return (qint64(Vb::Val(parts.at(0))) * 60 + qint64(Vb::Val(parts.at(1)))) * 1000 + frames * 1000 / 75;
}

QString two(qint64 n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

} // namespace

QString mciStatus(const QString &command)
{
    QString reply(ReplyLength, u' ');
    if (mciSendString(command, &reply, ReplyLength) != MciOk)
        return {};
    return reply.trimmed();
}

void MediaSession::stopAndClose()
{
    send(QStringLiteral("Stop ") + m_device);
    send(QStringLiteral("Close ") + m_device);
}

void MediaSession::playCdTrack(int track)
{
    // A file playing before the track would otherwise sound on beneath it.
    if (m_device == FileAlias)
        stopAndClose();
    m_device = CdDevice;
    const QString mode = mciStatus(QStringLiteral("Status CDaudio Mode"));
    send(QStringLiteral("Stop CDaudio"));
    if (!repliesPlaying(mode)) {
        send(QStringLiteral("Close CDaudio"));
        send(QStringLiteral("Open CDaudio Shareable"));
    }
    send(QStringLiteral("Stop CDaudio "));
    send(QStringLiteral("Set CDaudio Time format tmsf"));
    send(QStringLiteral("Seek CDaudio to %1").arg(track));
    send(QStringLiteral("Play CDaudio"));
}

void MediaSession::playFile(const QString &path)
{
    stopAndClose();
    m_device = FileAlias;
    PlayMp3File(path);
}

void MediaSession::PlayMp3File(const QString &path)
{
    send(QStringLiteral("close MP3"));
    // The path is quoted so that blanks in it stay part of the name.
    send(QStringLiteral("open \"") + path + QStringLiteral("\" alias MP3"));
    send(QStringLiteral("play MP3"));
}

void MediaSession::play() { send(QStringLiteral("Play ") + m_device); }

void MediaSession::pause() { send(QStringLiteral("Pause ") + m_device); }

QString MediaSession::mode() const
{
    return m_device.isEmpty() ? QString() : mciStatus(QStringLiteral("Status ") + m_device + QStringLiteral(" Mode"));
}

bool MediaSession::isPlaying() const { return repliesPlaying(mode()); }

bool MediaSession::isStopped() const { return mode().startsWith(QStringLiteral("stopped")); }

MediaSession::ClockReading MediaSession::readClock() const
{
    ClockReading reading;
    if (!isPlaying())
        return reading;
    reading.playing = true;
    if (m_device == FileAlias) {
        send(QStringLiteral("Set MP3 time format frames"));
        const qint64 position = qint64(Vb::Val(mciStatus(QStringLiteral("Status MP3 position"))));
        const qint64 length = qint64(Vb::Val(mciStatus(QStringLiteral("Status MP3 length "))));
        reading.playTimeText = LyricStamp::msToPlayTime(position);
        reading.lengthText = LyricStamp::msToPlayTime(length);
    } else {
        send(QStringLiteral("Set CDaudio time format tmsf"));
        const int track = currentCdTrack();
        const QString position = mciStatus(QStringLiteral("Status CDaudio position Wait"));
        const QString length = mciStatus(QStringLiteral("Status CDaudio length Track %1").arg(track));
        reading.lengthText = length.leftJustified(8, u' ', true);
        reading.playTimeText = LyricStamp::cdPositionToPlayTime(position);
    }
    return reading;
}

int MediaSession::currentCdTrack() const
{
    return int(Vb::Val(mciStatus(QStringLiteral("Status CDaudio Current Track"))));
}

qint64 MediaSession::lengthMs() const
{
    if (m_device == FileAlias) {
        send(QStringLiteral("Set MP3 time format frames"));
        return qint64(Vb::Val(mciStatus(QStringLiteral("Status MP3 length "))));
    }
    if (m_device == CdDevice) {
        send(QStringLiteral("Set CDaudio time format tmsf"));
        return msfToMs(mciStatus(QStringLiteral("Status CDaudio length Track %1").arg(currentCdTrack())));
    }
    return 0;
}

QString MediaSession::timeAtFraction(double fraction) const
{
    return LyricStamp::msToPlayTime(qint64(qBound(0.0, fraction, 1.0) * lengthMs()));
}

QString MediaSession::seekToFraction(double fraction, bool resume)
{
    if (m_device.isEmpty())
        return {};
    const qint64 target = qint64(qBound(0.0, fraction, 1.0) * lengthMs());
    QString played;
    if (m_device == CdDevice) {
        const int track = currentCdTrack();
        send(QStringLiteral("Stop CDaudio"));
        send(QStringLiteral("Set CDaudio Time format tmsf"));
        mciStatus(QStringLiteral("Status CDaudio position "));
        const qint64 seconds = target / 1000;
        send(QStringLiteral("Seek CDaudio to %1:%2:%3 Wait").arg(two(track), two(seconds / 60), two(seconds % 60)));
        played = LyricStamp::cdPositionToPlayTime(mciStatus(QStringLiteral("Status CDaudio position")));
    } else {
        send(QStringLiteral("Pause ") + m_device);
        send(QStringLiteral("Set ") + m_device + QStringLiteral(" Time format frames"));
        mciStatus(QStringLiteral("Status ") + m_device + QStringLiteral(" position "));
        send(QStringLiteral("Seek ") + m_device + QStringLiteral(" to %1 Wait").arg(target));
        played = LyricStamp::msToPlayTime(qint64(Vb::Val(mciStatus(QStringLiteral("Status ") + m_device + QStringLiteral(" position")))));
    }
    if (resume)
        send(QStringLiteral("play ") + m_device);
    return played;
}

bool MediaSession::toggleTray(const std::function<void(const QString &)> &showMessage)
{
    const bool open = mciStatus(QStringLiteral("Status CDAudio Mode")).left(4).toUpper() == QStringLiteral("OPEN");
    if (!open) {
        showMessage(QStringLiteral("退片中,請稍後..."));
        send(QStringLiteral("Close CDAudio "));
        send(QStringLiteral("Set CDAudio Door Open"));
        return true;
    }
    showMessage(QStringLiteral("進片中,請稍後..."));
    send(QStringLiteral("Open CDAudio "));
    send(QStringLiteral("Set CDAudio Door Closed"));
    return false;
}
