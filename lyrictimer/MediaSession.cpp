#include "MediaSession.h"

#include "LyricStamp.h"
#include "MciCommand.h"
#include "VbRuntime.h"

namespace {

constexpr int ReplyLength = 80;

void send(const QString &command) { mciSendString(command); }

bool sent(const QString &command) { return mciSendString(command) == MciOk; }

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

bool MediaSession::playCdTrack(int track)
{
    // A file playing before the track would otherwise sound on beneath it.
    if (m_device == FileAlias)
        stopAndClose();
    m_device = CdDevice;
    m_cdTrack = track;
    const QString mode = mciStatus(QStringLiteral("Status CDaudio Mode"));
    send(QStringLiteral("Stop CDaudio"));
    if (!repliesPlaying(mode)) {
        send(QStringLiteral("Close CDaudio"));
        send(QStringLiteral("Open CDaudio Shareable"));
    }
    send(QStringLiteral("Stop CDaudio "));
    send(QStringLiteral("Set CDaudio Time format tmsf"));
    send(QStringLiteral("Seek CDaudio to %1").arg(track));
    return playCdTrackToItsEnd();
}

bool MediaSession::playCdTrackToItsEnd() const
{
    // The track plays alone: the disc's next track is another entry of the
    // play list, which comes (in play mode) when this one has ended.
    send(QStringLiteral("Set CDaudio Time format tmsf"));
    const QString length = mciStatus(QStringLiteral("Status CDaudio length Track %1").arg(m_cdTrack));
    return sent(QStringLiteral("Play CDaudio to %1:%2").arg(two(m_cdTrack), length));
}

bool MediaSession::playFile(const QString &path)
{
    stopAndClose();
    m_device = FileAlias;
    return PlayMp3File(path);
}

bool MediaSession::PlayMp3File(const QString &path)
{
    send(QStringLiteral("close MP3"));
    // The path is quoted so that blanks in it stay part of the name.
    return sent(QStringLiteral("open \"") + path + QStringLiteral("\" alias MP3")) && sent(QStringLiteral("play MP3"));
}

void MediaSession::play()
{
    if (m_device == CdDevice)
        playCdTrackToItsEnd();
    else
        send(QStringLiteral("Play ") + m_device);
}

void MediaSession::pause() { send(QStringLiteral("Pause ") + m_device); }

QString MediaSession::mode() const
{
    return m_device.isEmpty() ? QString() : mciStatus(QStringLiteral("Status ") + m_device + QStringLiteral(" Mode"));
}

bool MediaSession::isPlaying() const { return repliesPlaying(mode()); }

bool MediaSession::reachedEnd() const
{
    const QString now = mode();
    if (now.startsWith(QStringLiteral("stopped")))
        return true;
    // A drive may hold a play that reached its end as paused there (the place and
    // the length are read in whole frames, so the end counts within a few of them).
    constexpr qint64 EndSlackMs = 100;
    return m_device == CdDevice && now.startsWith(QStringLiteral("paused"))
           && cdTrackPositionMs() >= cdTrackLengthMs() - EndSlackMs;
}

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
        // The time inside the listed track, also when the drive stands at the next one's start.
        reading.playTimeText = LyricStamp::msToPlayTime(cdTrackPositionMs());
        send(QStringLiteral("Set CDaudio time format tmsf"));
        const QString length = mciStatus(QStringLiteral("Status CDaudio length Track %1").arg(m_cdTrack));
        reading.lengthText = length.leftJustified(8, u' ', true);
    }
    return reading;
}

qint64 MediaSession::cdTrackPositionMs() const
{
    // In minutes, seconds and frames from the disc's start: the track's start and the position compare.
    send(QStringLiteral("Set CDaudio time format msf"));
    const qint64 start = msfToMs(mciStatus(QStringLiteral("Status CDaudio position Track %1").arg(m_cdTrack)));
    const qint64 position = msfToMs(mciStatus(QStringLiteral("Status CDaudio position Wait")));
    send(QStringLiteral("Set CDaudio time format tmsf"));
    return qBound<qint64>(0, position - start, cdTrackLengthMs());
}

qint64 MediaSession::cdTrackLengthMs() const
{
    send(QStringLiteral("Set CDaudio time format tmsf"));
    return msfToMs(mciStatus(QStringLiteral("Status CDaudio length Track %1").arg(m_cdTrack)));
}

qint64 MediaSession::lengthMs() const
{
    if (m_device == FileAlias) {
        send(QStringLiteral("Set MP3 time format frames"));
        return qint64(Vb::Val(mciStatus(QStringLiteral("Status MP3 length "))));
    }
    if (m_device == CdDevice)
        return cdTrackLengthMs();
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
        // Inside the listed track, though the drive may have stood at the next one's start.
        send(QStringLiteral("Stop CDaudio"));
        send(QStringLiteral("Set CDaudio Time format tmsf"));
        mciStatus(QStringLiteral("Status CDaudio position "));
        const qint64 seconds = target / 1000;
        send(QStringLiteral("Seek CDaudio to %1:%2:%3 Wait").arg(two(m_cdTrack), two(seconds / 60), two(seconds % 60)));
        played = LyricStamp::cdPositionToPlayTime(mciStatus(QStringLiteral("Status CDaudio position")));
        if (resume)
            playCdTrackToItsEnd();
        return played;
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
