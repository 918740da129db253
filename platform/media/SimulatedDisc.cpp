#include "SimulatedDisc.h"

#include "Clock.h"

SimulatedDisc::SimulatedDisc(MediaClock *clock) : m_clock(clock) {}

MediaClock &SimulatedDisc::clock() const { return m_clock ? *m_clock : mediaClock(); }

void SimulatedDisc::insertDisc(const QVector<Track> &tracks)
{
    m_disc = tracks;
    m_hasDisc = true;
    m_trayOpen = false;
    m_playState = State::Stopped;
    m_anchorPos = 0;
    m_playTo = -1;
    m_readyAt = clock().now() + m_spinUpMs;
}

void SimulatedDisc::insertAudioDisc(const QVector<qint64> &lengthsMs)
{
    QVector<Track> tracks;
    for (qint64 length : lengthsMs)
        tracks.append({length, true});
    insertDisc(tracks);
}

void SimulatedDisc::removeDisc()
{
    m_disc.clear();
    m_hasDisc = false;
    m_playState = State::Stopped;
    m_anchorPos = 0;
}

bool SimulatedDisc::ready() const { return m_hasDisc && !m_trayOpen && clock().now() >= m_readyAt; }

qint64 SimulatedDisc::discLength() const
{
    qint64 total = 0;
    for (const Track &track : m_disc)
        total += track.lengthMs;
    return total;
}

void SimulatedDisc::settle() const
{
    if (m_playState != State::Playing)
        return;
    const qint64 end = m_playTo >= 0 ? m_playTo : discLength();
    if (m_anchorPos + (clock().now() - m_anchorTime) >= end) {
        m_playState = State::Stopped;
        m_anchorPos = end;
    }
}

CdDrive::State SimulatedDisc::state() const
{
    if (m_trayOpen)
        return State::TrayOpen;
    if (!m_hasDisc)
        return State::NoDisc;
    if (!ready())
        return State::NotReady;
    settle();
    return m_playState;
}

// As a real drive, which cannot read the disc before it has spun up.
bool SimulatedDisc::mediaPresent() const { return ready(); }

QVector<CdTrack> SimulatedDisc::tracks() const
{
    QVector<CdTrack> out;
    if (!ready())
        return out;
    qint64 start = 0;
    for (const Track &track : m_disc) {
        out.append({start, track.lengthMs, track.audio});
        start += track.lengthMs;
    }
    return out;
}

qint64 SimulatedDisc::positionMs() const
{
    if (!ready())
        return 0;
    settle();
    if (m_playState == State::Playing)
        return m_anchorPos + (clock().now() - m_anchorTime);
    return m_anchorPos;
}

bool SimulatedDisc::fail(const QString &why)
{
    m_error = why;
    return false;
}

bool SimulatedDisc::play(qint64 fromMs, qint64 toMs)
{
    if (!ready())
        return fail(QStringLiteral("no disc ready"));
    const qint64 length = discLength();
    if (toMs < 0 || toMs > length)
        toMs = length;
    if (fromMs < 0 || fromMs >= toMs)
        return fail(QStringLiteral("play range out of the disc"));
    const QVector<CdTrack> toc = tracks();
    for (const CdTrack &track : toc) {
        if (fromMs >= track.startMs && fromMs < track.startMs + track.lengthMs && !track.audio)
            return fail(QStringLiteral("cannot play a data track"));
    }
    m_anchorPos = fromMs;
    m_anchorTime = clock().now();
    m_playTo = toMs;
    m_playState = State::Playing;
    return true;
}

bool SimulatedDisc::pause()
{
    if (!ready())
        return fail(QStringLiteral("no disc ready"));
    settle();
    if (m_playState == State::Playing) {
        m_anchorPos = positionMs();
        m_playState = State::Paused;
    }
    return true;
}

bool SimulatedDisc::resume()
{
    if (!ready())
        return fail(QStringLiteral("no disc ready"));
    if (m_playState == State::Paused) {
        m_anchorTime = clock().now();
        m_playState = State::Playing;
    }
    return true;
}

bool SimulatedDisc::stop()
{
    if (!ready())
        return fail(QStringLiteral("no disc ready"));
    m_anchorPos = positionMs();
    m_playState = State::Stopped;
    return true;
}

bool SimulatedDisc::seek(qint64 ms)
{
    if (!ready())
        return fail(QStringLiteral("no disc ready"));
    if (ms < 0 || ms > discLength())
        return fail(QStringLiteral("seek out of the disc"));
    m_anchorPos = ms;
    m_playState = State::Stopped;
    return true;
}

bool SimulatedDisc::setTrayOpen(bool open)
{
    if (open == m_trayOpen)
        return true;
    m_trayOpen = open;
    m_playState = State::Stopped;
    m_anchorPos = 0;
    m_playTo = -1;
    if (!open)
        m_readyAt = clock().now() + m_spinUpMs;
    return true;
}

SimulatedDisc &simulatedDisc()
{
    static SimulatedDisc disc;
    return disc;
}
