#include "MidiStream.h"

#include "MidiRenderer.h"
#include "MidiSynth.h"
#include "StreamCallbacks.h"

#include <QFile>
#include <QFileInfo>

#include <mpv/stream_cb.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr char kProtocol[] = "pelloran-midi";
constexpr int kHeaderBytes = 44;
constexpr int kFrameBytes = 4;  // 16-bit stereo
constexpr qint64 kFramesARead = 8192;

void putLe32(char *at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = char(value >> (8 * i));
}

void putLe16(char *at, quint16 value)
{
    at[0] = char(value);
    at[1] = char(value >> 8);
}

// A song as a WAV file: its header, then the frames the renderer gives.
class WaveStream {
public:
    explicit WaveStream(std::unique_ptr<MidiRenderer> renderer) : m_renderer(std::move(renderer))
    {
        const quint32 dataBytes = quint32(m_renderer->frameCount() * kFrameBytes);
        std::memcpy(m_header, "RIFF", 4);
        putLe32(m_header + 4, 36 + dataBytes);
        std::memcpy(m_header + 8, "WAVEfmt ", 8);
        putLe32(m_header + 16, 16);
        putLe16(m_header + 20, 1);  // PCM
        putLe16(m_header + 22, 2);
        putLe32(m_header + 24, MidiSynth::SampleRate);
        putLe32(m_header + 28, MidiSynth::SampleRate * kFrameBytes);
        putLe16(m_header + 32, kFrameBytes);
        putLe16(m_header + 34, 16);
        std::memcpy(m_header + 36, "data", 4);
        putLe32(m_header + 40, dataBytes);
    }

    int64_t size() const { return kHeaderBytes + m_renderer->frameCount() * kFrameBytes; }

    int64_t seek(int64_t offset)
    {
        if (offset < 0 || offset > size())
            return MPV_ERROR_GENERIC;
        m_position = offset;
        return offset;
    }

    int64_t read(char *buffer, uint64_t wanted)
    {
        int64_t done = 0;
        while (done < int64_t(wanted) && m_position < size()) {
            const int64_t count = m_position < kHeaderBytes ? readHeader(buffer + done, int64_t(wanted) - done)
                                                            : readFrames(buffer + done, int64_t(wanted) - done);
            done += count;
            m_position += count;
        }
        return done;
    }

private:
    int64_t readHeader(char *out, int64_t wanted) const
    {
        const int64_t count = qMin<int64_t>(wanted, kHeaderBytes - m_position);
        std::memcpy(out, m_header + m_position, size_t(count));
        return count;
    }

    // Whole frames are rendered; a read that starts or ends inside a frame
    // takes the part of it asked for.
    int64_t readFrames(char *out, int64_t wanted)
    {
        const qint64 frame = (m_position - kHeaderBytes) / kFrameBytes;
        const int skip = int((m_position - kHeaderBytes) % kFrameBytes);
        if (m_renderer->frame() != frame)
            m_renderer->moveTo(frame);
        const qint64 frames = qMin<qint64>(kFramesARead, (skip + wanted + kFrameBytes - 1) / kFrameBytes);
        m_samples.resize(size_t(frames) * 2);
        const qint64 rendered = m_renderer->render(m_samples.data(), frames);
        const int64_t count = qMin<int64_t>(wanted, rendered * kFrameBytes - skip);
        std::memcpy(out, reinterpret_cast<const char *>(m_samples.data()) + skip, size_t(qMax<int64_t>(0, count)));
        return qMax<int64_t>(0, count);
    }

    std::unique_ptr<MidiRenderer> m_renderer;
    char m_header[kHeaderBytes] = {};
    int64_t m_position = 0;
    std::vector<qint16> m_samples;
};

int openStream(void *, char *uri, mpv_stream_cb_info *info)
{
    const QByteArray prefix = QByteArray(kProtocol) + "://";
    const QByteArray location(uri);
    if (!location.startsWith(prefix))
        return MPV_ERROR_LOADING_FAILED;
    const QString path = QFile::decodeName(QByteArray::fromPercentEncoding(location.mid(prefix.size())));
    QString why;
    std::optional<MidiFile> file = MidiFile::load(path, &why);
    // A song that lasts no time holds nothing to play, as a still picture does.
    if (file && std::llround(file->lengthSeconds() * MidiSynth::SampleRate) == 0) {
        why = QStringLiteral("it lasts no time");
        file.reset();
    }
    if (!file) {
        qWarning("%s is no MIDI file that can be played: %s", qPrintable(path), qPrintable(why));
        return MPV_ERROR_LOADING_FAILED;
    }
    std::unique_ptr<MidiSynth> synth = MidiSynth::create();
    if (!synth) {
        MidiSynth::tellOnce(MidiSynth::unreadableSoundFontMessage());
        return MPV_ERROR_LOADING_FAILED;
    }
    handStreamToEngine(std::make_unique<WaveStream>(std::make_unique<MidiRenderer>(std::move(*file), std::move(synth))),
                       info);
    return 0;
}

} // namespace

namespace MidiStream {

void registerOn(mpv_handle *mpv) { mpv_stream_cb_add_ro(mpv, kProtocol, nullptr, openStream); }

bool isMidiFile(const QString &path)
{
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension == QLatin1String("mid") || extension == QLatin1String("midi") || extension == QLatin1String("rmi"))
        return true;
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && MidiFile::looksLikeMidi(file.read(12));
}

QByteArray locationFor(const QString &path)
{
    return QByteArray(kProtocol) + "://" + QFile::encodeName(QFileInfo(path).absoluteFilePath()).toPercentEncoding();
}

} // namespace MidiStream
