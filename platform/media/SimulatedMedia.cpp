#include "SimulatedMedia.h"

#include "Clock.h"
#include "MidiFile.h"

#include <QColor>
#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace {
QHash<QString, SimulatedFileInfo> &described()
{
    static QHash<QString, SimulatedFileInfo> files;
    return files;
}

QString keyOf(const QString &path) { return QFileInfo(path).absoluteFilePath(); }

quint32 le32(const QByteArray &b, int at)
{
    return quint8(b[at]) | quint32(quint8(b[at + 1])) << 8 | quint32(quint8(b[at + 2])) << 16 |
           quint32(quint8(b[at + 3])) << 24;
}

qint64 lengthAtRate(qint64 bytes, qint64 bytesPerSecond) { return bytes * 1000 / qMax<qint64>(1, bytesPerSecond); }

// Length of a WAV file from its format and data chunks.
SimulatedFileInfo probeWave(const QByteArray &head, qint64 size)
{
    SimulatedFileInfo info;
    quint32 byteRate = 0;
    qint64 dataBytes = -1;
    int at = 12;
    while (at + 8 <= head.size()) {
        const QByteArray id = head.mid(at, 4);
        const quint32 chunk = le32(head, at + 4);
        if (id == "fmt " && at + 20 <= head.size()) {
            byteRate = le32(head, at + 16);
            // Codings a sound decoder here reads; others lack their driver.
            static const QList<quint16> kKnown = {0x0001, 0x0002, 0x0003, 0x0006, 0x0007, 0x0011, 0x0055, 0xfffe};
            const quint16 coding = quint16(quint8(head[at + 8]) | quint8(head[at + 9]) << 8);
            if (!kKnown.contains(coding)) {
                info.openError = MediaPlayer::NoDriver;
                return info;
            }
        }
        if (id == "data") {
            dataBytes = qMin<qint64>(chunk, size - at - 8);
            break;
        }
        at += 8 + int(chunk + (chunk & 1));
    }
    if (byteRate == 0 || dataBytes < 0)
        info.openError = MediaPlayer::UnreadableFormat;
    else
        info.lengthMs = lengthAtRate(dataBytes, byteRate);
    return info;
}

// Length of an MP3 file from the bit rate of its first frame.
SimulatedFileInfo probeMp3(const QByteArray &head, qint64 size)
{
    SimulatedFileInfo info;
    int at = 0;
    if (head.startsWith("ID3") && head.size() >= 10)
        at = 10 + ((quint8(head[6]) & 0x7f) << 21 | (quint8(head[7]) & 0x7f) << 14 | (quint8(head[8]) & 0x7f) << 7 |
                   (quint8(head[9]) & 0x7f));
    static const int kBitRates[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
    for (; at + 4 <= head.size(); ++at) {
        if (quint8(head[at]) != 0xff || (quint8(head[at + 1]) & 0xe0) != 0xe0)
            continue;
        const int kbps = kBitRates[(quint8(head[at + 2]) >> 4) & 0x0f];
        if (kbps == 0)
            continue;
        info.lengthMs = lengthAtRate(size - at, kbps * 125);
        return info;
    }
    info.openError = MediaPlayer::UnreadableFormat;
    return info;
}

SimulatedFileInfo probe(const QString &path)
{
    SimulatedFileInfo info;
    QFile file(path);
    const qint64 size = file.size();
    if (size <= 0 || !file.open(QIODevice::ReadOnly)) {
        info.openError = MediaPlayer::UnreadableFormat;
        return info;
    }
    // ID3 tags may be long; 64 KiB covers the usual ones.
    const QByteArray head = file.read(64 * 1024);
    const QByteArray four = head.left(4);
    if (four == "RIFF" && head.mid(8, 4) == "WAVE")
        return probeWave(head, size);
    if (four == "RIFF" && head.mid(8, 4) == "AVI ") {
        info.lengthMs = lengthAtRate(size, 150000);
        info.videoSize = QSize(320, 240);
        return info;
    }
    if (MidiFile::looksLikeMidi(head)) {
        const std::optional<MidiFile> midi = MidiFile::load(path);
        info.lengthMs = midi ? qRound64(midi->lengthSeconds() * 1000.0) : 0;
        info.openError = info.lengthMs > 0 ? 0 : MediaPlayer::UnreadableFormat;  // no time: nothing to play
        return info;
    }
    if (four == QByteArray("\x00\x00\x01\xba", 4) || four == QByteArray("\x00\x00\x01\xb3", 4)) {
        // MPEG-1 program or video stream: a video CD's rate.
        info.lengthMs = lengthAtRate(size, 176400);
        info.videoSize = QSize(352, 240);
        return info;
    }
    if (head.mid(4, 4) == "ftyp" || head.mid(4, 4) == "moov") {
        info.lengthMs = lengthAtRate(size, 150000);
        info.videoSize = QSize(320, 240);
        return info;
    }
    if (head.startsWith("ID3") || (head.size() >= 2 && quint8(head[0]) == 0xff && (quint8(head[1]) & 0xe0) == 0xe0))
        return probeMp3(head, size);
    info.openError = MediaPlayer::UnreadableFormat;
    return info;
}
} // namespace

void SimulatedMediaFiles::describe(const QString &path, const SimulatedFileInfo &info)
{
    described().insert(keyOf(path), info);
}

void SimulatedMediaFiles::clear() { described().clear(); }

SimulatedFileInfo SimulatedMediaFiles::info(const QString &path)
{
    const auto it = described().constFind(keyOf(path));
    if (it != described().constEnd())
        return *it;
    return probe(path);
}

// ---- SimulatedPlayer ------------------------------------------------------

SimulatedPlayer::SimulatedPlayer(QObject *parent) : MediaPlayer(parent), m_endTimer(new ClockTimer(this))
{
    m_endTimer->setSingleShot(true);
    connect(m_endTimer, &ClockTimer::timeout, this, &SimulatedPlayer::reachEnd);
}

SimulatedPlayer::~SimulatedPlayer() = default;



MediaPlayer::OpenResult SimulatedPlayer::open(const QString &path)
{
    close();
    const QFileInfo file(path);
    const bool describedFile = described().contains(keyOf(path));
    if (!describedFile && (!file.isFile() || !file.isReadable()))
        return UnreadableFormat;
    const SimulatedFileInfo info = SimulatedMediaFiles::info(path);
    if (info.openError != 0)
        return OpenResult(info.openError);
    m_info = info;
    m_state = State::Stopped;
    holdAt(0);
    return Opened;
}

void SimulatedPlayer::close()
{
    cancelEnd();
    m_state = State::Closed;
    m_info = {};
    m_anchorPos = 0;
    m_atEnd = false;
}

void SimulatedPlayer::holdAt(qint64 pos)
{
    m_anchorPos = qBound<qint64>(0, pos, m_info.lengthMs);
    m_anchorTime = mediaClock().now();
}

qint64 SimulatedPlayer::positionMs() const
{
    if (m_state == State::Closed)
        return 0;
    if (m_atEnd)
        return m_info.lengthMs;
    if (m_state != State::Playing)
        return m_anchorPos;
    const qint64 moved = qint64(std::floor(double(mediaClock().now() - m_anchorTime) * m_speed));
    return qMin(m_info.lengthMs, m_anchorPos + moved);
}

bool SimulatedPlayer::atEnd() const { return m_atEnd; }

MediaPlayer::State SimulatedPlayer::state() const { return m_state; }

void SimulatedPlayer::play()
{
    if (m_state == State::Closed || m_state == State::Playing)
        return;
    if (m_atEnd) {
        m_atEnd = false;
        m_anchorPos = 0;
    }
    m_anchorTime = mediaClock().now();
    m_state = State::Playing;
    scheduleEnd();
}

void SimulatedPlayer::pause()
{
    if (m_state != State::Playing)
        return;
    holdAt(positionMs());
    cancelEnd();
    m_state = State::Paused;
}

void SimulatedPlayer::stop()
{
    if (m_state == State::Closed)
        return;
    if (m_state == State::Playing)
        holdAt(positionMs());
    cancelEnd();
    m_state = State::Stopped;
}

void SimulatedPlayer::seek(qint64 ms)
{
    if (m_state == State::Closed)
        return;
    m_atEnd = false;
    holdAt(ms);
    if (m_state == State::Playing)
        scheduleEnd();
}

void SimulatedPlayer::setSpeed(double factor)
{
    if (factor <= 0)
        return;
    if (m_state == State::Playing)
        holdAt(positionMs());
    m_speed = factor;
    if (m_state == State::Playing)
        scheduleEnd();
}

void SimulatedPlayer::scheduleEnd()
{
    cancelEnd();
    const qint64 left = m_info.lengthMs - m_anchorPos;
    // At least 1 ms: a timer of 0 would never fire.
    m_endTimer->start(qMax(1, int(std::ceil(double(qMax<qint64>(0, left)) / m_speed))));
}

void SimulatedPlayer::cancelEnd() { m_endTimer->stop(); }

void SimulatedPlayer::reachEnd()
{
    if (m_state != State::Playing)
        return;
    m_atEnd = true;
    m_anchorPos = m_info.lengthMs;
    m_state = State::Stopped;
    emit ended();
}

QImage SimulatedPlayer::currentFrame()
{
    if (m_state == State::Closed || m_info.videoSize.isEmpty())
        return {};
    // A plain picture whose shade follows the position, so that captures of
    // different places differ.
    QImage frame(m_info.videoSize, QImage::Format_RGB32);
    const int shade = int((positionMs() / 40) % 256);
    frame.fill(QColor(shade, 255 - shade, 128));
    return frame;
}
