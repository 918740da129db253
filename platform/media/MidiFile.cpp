#include "MidiFile.h"

#include <QFile>

#include <algorithm>

namespace {

constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;  // far beyond any song; keeps a wrong file from filling memory
constexpr quint32 kDefaultTempo = 500000;           // microseconds a quarter note, until a tempo event says otherwise

quint32 be32(const QByteArray &b, qint64 at)
{
    return quint32(quint8(b[at])) << 24 | quint32(quint8(b[at + 1])) << 16 | quint32(quint8(b[at + 2])) << 8 |
           quint32(quint8(b[at + 3]));
}

quint32 le32(const QByteArray &b, qint64 at)
{
    return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8 | quint32(quint8(b[at + 2])) << 16 |
           quint32(quint8(b[at + 3])) << 24;
}

quint16 be16(const QByteArray &b, qint64 at) { return quint16(quint8(b[at]) << 8 | quint8(b[at + 1])); }

// The standard MIDI data a RIFF 'RMID' file wraps in its "data" chunk.
std::optional<QByteArray> unwrapRiff(const QByteArray &bytes)
{
    for (qint64 at = 12; at + 8 <= bytes.size();) {
        const quint32 size = le32(bytes, at + 4);
        if (bytes.mid(at, 4) == "data")
            return bytes.mid(at + 8, qMin<qint64>(size, bytes.size() - at - 8));
        at += 8 + qint64(size) + (size & 1);
    }
    return std::nullopt;
}

struct TempoChange {
    quint64 tick;
    quint32 microsecondsPerQuarter;
};

struct TimedEvent {
    quint64 tick;
    MidiFile::Event event;
};

} // namespace

// Reads the chunks and tracks of one file into a MidiFile.
class MidiFileReader {
public:
    explicit MidiFileReader(const QByteArray &data) : m_data(data) {}

    std::optional<MidiFile> read(QString *why)
    {
        if (!readHeader() || !readChunks() || !timeEvents())
            return fail(why);
        return std::move(m_file);
    }

private:
    std::optional<MidiFile> fail(QString *why)
    {
        if (why)
            *why = m_why;
        return std::nullopt;
    }

    bool refuse(const QString &why)
    {
        m_why = why;
        return false;
    }

    bool readHeader()
    {
        if (m_data.size() < 14 || !m_data.startsWith("MThd"))
            return refuse(QStringLiteral("no MIDI header"));
        const quint32 headerBytes = be32(m_data, 4);
        if (headerBytes < 6 || qint64(headerBytes) + 8 > m_data.size())
            return refuse(QStringLiteral("a MIDI header cut short"));
        m_file.m_format = be16(m_data, 8);
        const quint16 division = be16(m_data, 12);
        if (division & 0x8000) {
            // Time code: frames a second (stored negative) times ticks a frame.
            const int framesPerSecond = -int(qint8(division >> 8));
            m_ticksPerSecond = double(framesPerSecond) * (division & 0xff);
        } else {
            m_ticksPerQuarter = division;
        }
        if (m_ticksPerQuarter == 0 && m_ticksPerSecond <= 0)
            return refuse(QStringLiteral("no time division"));
        m_at = 8 + qint64(headerBytes);
        return true;
    }

    bool readChunks()
    {
        while (m_at + 8 <= m_data.size()) {
            const quint32 size = be32(m_data, m_at + 4);
            const qint64 start = m_at + 8;
            const qint64 end = qMin<qint64>(start + size, m_data.size());
            if (m_data.mid(m_at, 4) == "MTrk") {
                if (!readTrack(start, end))
                    return false;
                ++m_file.m_tracks;
            }
            m_at = start + qint64(size);
        }
        return m_file.m_tracks > 0 || refuse(QStringLiteral("no track"));
    }

    // A variable-length number; false when the track ends inside it.
    bool readNumber(qint64 &at, qint64 end, quint32 *value) const
    {
        *value = 0;
        for (int i = 0; i < 4 && at < end; ++i) {
            const quint8 byte = quint8(m_data[at++]);
            *value = *value << 7 | (byte & 0x7f);
            if (!(byte & 0x80))
                return true;
        }
        return false;
    }

    bool readTrack(qint64 at, qint64 end)
    {
        quint64 tick = 0;
        quint8 running = 0;
        quint32 delta = 0;
        while (at < end && readNumber(at, end, &delta) && at < end) {
            tick += delta;
            quint8 status = quint8(m_data[at]);
            if (status & 0x80)
                ++at;
            else if (running)
                status = running;
            else
                return refuse(QStringLiteral("an event without a status"));
            if (!readEvent(at, end, tick, status, &running))
                break;
        }
        m_lastTick = std::max(m_lastTick, tick);
        return m_why.isEmpty();
    }

    // One event after its status; false at the end of the track or when the
    // track ends inside the event.
    bool readEvent(qint64 &at, qint64 end, quint64 tick, quint8 status, quint8 *running)
    {
        if (status < 0xf0)
            return readChannelMessage(at, end, tick, status, running);
        if (status == 0xff)
            return readMeta(at, end, tick, running);
        if (status == 0xf0 || status == 0xf7)
            return readSysex(at, end, tick, status, running);
        return refuse(QStringLiteral("an unknown event"));
    }

    bool readChannelMessage(qint64 &at, qint64 end, quint64 tick, quint8 status, quint8 *running)
    {
        *running = status;
        const int dataBytes = (status & 0xe0) == 0xc0 ? 1 : 2;  // program and channel pressure take one
        if (at + dataBytes > end)
            return false;
        MidiFile::Event event;
        event.status = status;
        event.data1 = quint8(m_data[at]) & 0x7f;
        event.data2 = dataBytes == 2 ? quint8(m_data[at + 1]) & 0x7f : 0;
        at += dataBytes;
        m_events.push_back({tick, event});
        return true;
    }

    bool readMeta(qint64 &at, qint64 end, quint64 tick, quint8 *running)
    {
        *running = 0;
        quint32 length = 0;
        if (at >= end)
            return false;
        const quint8 type = quint8(m_data[at++]);
        if (!readNumber(at, end, &length) || at + qint64(length) > end)
            return false;
        if (type == 0x51 && length >= 3)
            m_tempos.push_back({tick, quint32(quint8(m_data[at])) << 16 | quint32(quint8(m_data[at + 1])) << 8 |
                                          quint32(quint8(m_data[at + 2]))});
        at += length;
        return type != 0x2f;  // the end of the track
    }

    bool readSysex(qint64 &at, qint64 end, quint64 tick, quint8 status, quint8 *running)
    {
        *running = 0;
        quint32 length = 0;
        if (!readNumber(at, end, &length) || at + qint64(length) > end)
            return false;
        if (status == 0xf0) {
            QByteArray bytes = m_data.mid(at, length);
            if (bytes.endsWith('\xf7'))
                bytes.chop(1);
            MidiFile::Event event;
            event.status = status;
            event.sysex = int(m_file.m_sysex.size());
            m_file.m_sysex.push_back(bytes);
            m_events.push_back({tick, event});
        }
        at += length;
        return true;
    }

    // Event times from ticks through the tempo map (time-code files have no tempo).
    bool timeEvents()
    {
        const auto byTick = [](const auto &a, const auto &b) { return a.tick < b.tick; };
        std::stable_sort(m_events.begin(), m_events.end(), byTick);
        std::stable_sort(m_tempos.begin(), m_tempos.end(), byTick);
        quint64 segmentTick = 0;
        double segmentSeconds = 0;
        double secondsPerTick = m_ticksPerSecond > 0 ? 1.0 / m_ticksPerSecond : kDefaultTempo / 1e6 / m_ticksPerQuarter;
        size_t nextTempo = 0;
        const auto secondsAt = [&](quint64 tick) {
            while (m_ticksPerSecond <= 0 && nextTempo < m_tempos.size() && m_tempos[nextTempo].tick <= tick) {
                const TempoChange &change = m_tempos[nextTempo++];
                segmentSeconds += double(change.tick - segmentTick) * secondsPerTick;
                segmentTick = change.tick;
                secondsPerTick = std::max<quint32>(change.microsecondsPerQuarter, 1) / 1e6 / m_ticksPerQuarter;
            }
            return segmentSeconds + double(tick - segmentTick) * secondsPerTick;
        };
        m_file.m_events.reserve(m_events.size());
        for (TimedEvent &timed : m_events) {
            timed.event.seconds = secondsAt(timed.tick);
            m_file.m_events.push_back(timed.event);
        }
        m_file.m_length = secondsAt(m_lastTick);
        if (!(m_file.m_length <= MidiFile::MaxSeconds))
            return refuse(QStringLiteral("longer than a song can be"));
        return true;
    }

    const QByteArray &m_data;
    MidiFile m_file;
    QString m_why;
    qint64 m_at = 0;
    quint16 m_ticksPerQuarter = 0;
    double m_ticksPerSecond = 0;
    quint64 m_lastTick = 0;
    std::vector<TimedEvent> m_events;
    std::vector<TempoChange> m_tempos;
};

std::optional<MidiFile> MidiFile::read(const QByteArray &bytes, QString *why)
{
    if (bytes.startsWith("RIFF") && bytes.mid(8, 4) == "RMID") {
        const std::optional<QByteArray> wrapped = unwrapRiff(bytes);
        if (!wrapped) {
            if (why)
                *why = QStringLiteral("a RIFF MIDI file without its data");
            return std::nullopt;
        }
        return MidiFileReader(*wrapped).read(why);
    }
    return MidiFileReader(bytes).read(why);
}

std::optional<MidiFile> MidiFile::load(const QString &path, QString *why)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (why)
            *why = file.errorString();
        return std::nullopt;
    }
    return read(file.read(kMaxFileBytes), why);
}

bool MidiFile::looksLikeMidi(const QByteArray &head)
{
    return head.startsWith("MThd") || (head.startsWith("RIFF") && head.mid(8, 4) == "RMID");
}

int MidiFile::noteCount() const
{
    return int(std::count_if(m_events.begin(), m_events.end(),
                             [](const Event &e) { return (e.status & 0xf0) == 0x90 && e.data2 > 0; }));
}
