#include "MpvPlayer.h"

#include "DecoderFit.h"
#include "EngineDisplay.h"
#include "MediaBackend.h"
#include "MidiStream.h"
#include "MidiSynth.h"
#include "VcdStream.h"

#include "UserInputHold.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QMetaObject>
#include <QPointer>
#include <QSet>
#include <QTimer>

#include <mpv/client.h>

#include <clocale>
#include <cstring>

namespace {
// Longest time a file may take to load before it counts as unreadable.
constexpr double kLoadTimeoutSeconds = 10.0;
// Longest wait for the picture's output once a video is loaded.
constexpr double kVideoOutputTimeoutSeconds = 2.0;

void wakeUp(void *context)
{
    QMetaObject::invokeMethod(static_cast<QObject *>(context), "drainEvents", Qt::QueuedConnection);
}
} // namespace

MpvPlayer::MpvPlayer(QObject *parent) : MediaPlayer(parent) {}

MpvPlayer::~MpvPlayer() { stopEngine(); }

bool MpvPlayer::startEngine(const QList<QPair<QByteArray, QByteArray>> &options)
{
    stopEngine();
    // libmpv refuses to start unless numbers are formatted the C way.
    std::setlocale(LC_NUMERIC, "C");
    m_mpv = mpv_create();
    if (!m_mpv)
        return false;
    const bool headless = mediaIsHeadless();
    const bool withWindow = m_windowId != 0 && !headless;
    QList<QPair<QByteArray, QByteArray>> all = {
        {"config", "no"},          {"terminal", "no"},      {"load-scripts", "no"},
        {"ytdl", "no"},            {"osc", "no"},           {"input-default-bindings", "no"},
        // The engine's built-in overlay scripts open only by key bindings, which are off: each
        // would start a script interpreter on a thread of its own for nothing.
        {"load-stats-overlay", "no"}, {"load-osd-console", "no"}, {"load-auto-profiles", "no"},
        {"input-vo-keyboard", "no"}, {"input-cursor", "no"}, {"cursor-autohide", "no"},
        {"keep-open", "yes"},      {"idle", "yes"},         {"pause", "yes"},
        {"audio-display", "no"},   {"hr-seek", "yes"},      {"force-window", "no"},
        // MPEG program streams (video-CD tracks) are sought by byte estimates
        // that may land past the target; starting a second earlier lets the
        // exact seek decode up to the target instead of stopping behind it.
        {"hr-seek-demuxer-offset", "1"},
        // Without a window of ours (sound only, or an alias) no picture is shown.
        {"vo", withWindow ? embeddedVideoOutput() : QByteArrayLiteral("null")},
        {"ao", headless ? "null" : "pipewire,pulse,alsa,null"},
        // Should the GL check take a software renderer for a hardware one, the
        // gpu output still draws on it instead of refusing to start.
        {"gpu-sw", "yes"},
    };
    // The software output scales and converts every frame on the processor. An engine built
    // with zimg converts with it (and its own scaler); one without it uses swscale, whose fast
    // scaler costs least and looks the same at the small sizes it shows. The gpu output scales
    // alone.
    m_processorScaling = withWindow && embeddedVideoOutput() == "x11";
    if (m_processorScaling)
        all.append(qMakePair(QByteArray("sws-scaler"), QByteArray("fast-bilinear")));
    if (withWindow)
        all.append({"wid", QByteArray::number(qulonglong(m_windowId))});
    all.append(options);
    if (withWindow)
        guardEngineDisplays();
    for (const auto &option : all)
        mpv_set_option_string(m_mpv, option.first.constData(), option.second.constData());
    if (mpv_initialize(m_mpv) < 0) {
        mpv_terminate_destroy(m_mpv);
        m_mpv = nullptr;
        return false;
    }
    VcdStream::registerOn(m_mpv);
    MidiStream::registerOn(m_mpv);
    mpv_observe_property(m_mpv, 0, "eof-reached", MPV_FORMAT_FLAG);
    mpv_set_wakeup_callback(m_mpv, wakeUp, this);
    return true;
}

void MpvPlayer::stopEngine()
{
    endOpenWait(true);
    if (!m_mpv)
        return;
    mpv_set_wakeup_callback(m_mpv, nullptr, nullptr);
    mpv_terminate_destroy(m_mpv);
    m_mpv = nullptr;
}

MediaPlayer::OpenResult MpvPlayer::open(const QString &path)
{
    close();
    // A file on a disc (a video-CD track) is read from the disc's sectors.
    const QByteArray discFile = VcdStream::locationFor(path);
    const QFileInfo info(path);
    if (discFile.isEmpty() && (!info.isFile() || !info.isReadable() || info.size() == 0))
        return UnreadableFormat;
    if (!m_mpv && !startEngine({}))
        return NoDriver;
    if (discFile.isEmpty() && MidiStream::isMidiFile(path)) {
        // Without a synthesiser the user is told once what to install; the
        // song counts as one that cannot be played, not as a broken driver,
        // so that no one is offered to delete a good file for it.
        if (const QString missing = MidiSynth::unavailableMessage(); !missing.isEmpty()) {
            MidiSynth::tellOnce(missing);
            return UnreadableFormat;
        }
        return load(MidiStream::locationFor(path));
    }
    const DecoderFit::Source source = discFile.isEmpty()                   ? DecoderFit::Source::File
                                      : VcdStream::readsDiscImage(discFile) ? DecoderFit::Source::DiscImage
                                                                            : DecoderFit::Source::DiscDrive;
    return load(discFile.isEmpty() ? QFile::encodeName(info.absoluteFilePath()) : discFile,
                DecoderFit::optionsFor(path, source, m_processorScaling));
}

MediaPlayer::OpenResult MpvPlayer::openLocation(const QString &location,
                                                const QList<QPair<QByteArray, QByteArray>> &options)
{
    close();
    if (!startEngine(options))
        return NoDriver;
    return load(location.toUtf8());
}

MediaPlayer::OpenResult MpvPlayer::load(const QByteArray &location, const QByteArray &fileOptions)
{
    // The programs read the length and the picture size right after opening, so opening waits
    // for the file to load (or to be refused). The engine reads it on its own threads, which
    // may take long for a long or slow file: meanwhile the windows draw and the timers and
    // the channel are served, and what the user does waits until the open is done.
    const UserInputHold userWaits;
    int paused = 1;
    mpv_set_property(m_mpv, "pause", MPV_FORMAT_FLAG, &paused);
    const char *command[] = {"loadfile", location.constData(), "replace",
                             fileOptions.isEmpty() ? nullptr : fileOptions.constData(), nullptr};
    if (mpv_command(m_mpv, command) < 0)
        return UnreadableFormat;

    QPointer<MpvPlayer> self(this);
    const OpenWait loaded = waitForEngine(MPV_EVENT_FILE_LOADED, kLoadTimeoutSeconds);
    if (!self || loaded.abandoned)
        return UnreadableFormat;  // closed, opened anew or gone while the file loaded
    if (!loaded.heard) {
        const char *stopCommand[] = {"stop", nullptr};
        if (m_mpv)
            mpv_command(m_mpv, stopCommand);
        // Streams found but none could be decoded: the file is read well enough, what is
        // missing is a decoder for it.
        return loaded.endError == MPV_ERROR_NOTHING_TO_PLAY ? NoDriver : UnreadableFormat;
    }
    double duration = 0;
    if (mpv_get_property(m_mpv, "duration", MPV_FORMAT_DOUBLE, &duration) < 0)
        duration = 0;
    m_lengthMs = qRound64(duration * 1000.0);
    const OpenResult tracks = readTracks();
    if (tracks != Opened) {
        const char *stopCommand[] = {"stop", nullptr};
        mpv_command(m_mpv, stopCommand);
        return tracks;
    }
    m_state = State::Stopped;
    m_atEnd = false;
    m_endAnnounced = false;
    m_pendingSeekMs = -1;
    setSpeed(m_speed);
    setVolume(m_volume);
    return waitForVideoOutput() ? Opened : UnreadableFormat;
}

MpvPlayer::OpenWait MpvPlayer::waitForEngine(int awaited, double seconds)
{
    OpenWait wait;
    wait.awaited = awaited;
    QEventLoop loop;
    wait.loop = &loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(int(seconds * 1000));
    m_openWait = &wait;
    QPointer<MpvPlayer> self(this);
    drainEvents();  // what the engine said before it could wake us
    // Ends early, unheard, when the program ends or the player closes meanwhile.
    if (self && !wait.heard && !wait.ended && !wait.abandoned)
        loop.exec();
    if (!self)
        wait.abandoned = true;
    else if (m_openWait == &wait)
        m_openWait = nullptr;
    return wait;
}

void MpvPlayer::noteForOpen(const mpv_event *event)
{
    OpenWait &wait = *m_openWait;
    if (event->event_id == wait.awaited) {
        wait.heard = true;
    } else if (event->event_id == MPV_EVENT_END_FILE && wait.awaited == MPV_EVENT_FILE_LOADED) {
        auto *end = static_cast<mpv_event_end_file *>(event->data);
        if (end->reason != MPV_END_FILE_REASON_ERROR)
            return;
        wait.ended = true;
        wait.endError = end->error;
    } else if (event->event_id == MPV_EVENT_SHUTDOWN) {
        wait.ended = true;
    } else {
        return;
    }
    endOpenWait();
}

void MpvPlayer::endOpenWait(bool abandoned)
{
    if (!m_openWait)
        return;
    m_openWait->abandoned = abandoned;
    m_openWait->loop->quit();
    m_openWait = nullptr;
}

bool MpvPlayer::waitForVideoOutput()
{
    // The engine shows its picture window inside ours when ours is shown,
    // but hears of that only once its output is set up: the caller shows ours
    // right after opening, so opening waits until then.
    if (m_windowId == 0 || m_videoSize.isEmpty() || mediaIsHeadless())
        return true;
    return !waitForEngine(MPV_EVENT_VIDEO_RECONFIG, kVideoOutputTimeoutSeconds).abandoned;
}

QSet<QByteArray> MpvPlayer::decodableCodecs() const
{
    QSet<QByteArray> codecs;
    mpv_node list;
    if (mpv_get_property(m_mpv, "decoder-list", MPV_FORMAT_NODE, &list) < 0)
        return codecs;
    if (list.format == MPV_FORMAT_NODE_ARRAY) {
        for (int i = 0; i < list.u.list->num; ++i) {
            const mpv_node &entry = list.u.list->values[i];
            if (entry.format != MPV_FORMAT_NODE_MAP)
                continue;
            for (int k = 0; k < entry.u.list->num; ++k)
                if (!std::strcmp(entry.u.list->keys[k], "codec") && entry.u.list->values[k].format == MPV_FORMAT_STRING)
                    codecs.insert(entry.u.list->values[k].u.string);
        }
    }
    mpv_free_node_contents(&list);
    return codecs;
}

QByteArray MpvPlayer::trackText(int64_t track, const char *field) const
{
    return engineText(("track-list/" + QByteArray::number(qlonglong(track)) + "/" + field).constData());
}

MediaPlayer::OpenResult MpvPlayer::readTracks()
{
    m_videoSize = QSize();
    const QSet<QByteArray> decoders = decodableCodecs();
    bool playable = false;
    bool undecodable = false;
    int64_t count = 0;
    mpv_get_property(m_mpv, "track-list/count", MPV_FORMAT_INT64, &count);
    for (int64_t i = 0; i < count; ++i) {
        const QByteArray type = trackText(i, "type");
        // A cover picture is not a video, and a still picture is no medium.
        if (type != "audio" && (type != "video" || trackText(i, "albumart") == "yes" || trackText(i, "image") == "yes"))
            continue;
        // A stream no decoder here can read: the medium lacks its driver.
        if (!decoders.isEmpty() && !decoders.contains(trackText(i, "codec"))) {
            undecodable = true;
            continue;
        }
        playable = true;
        if (type == "video" && m_videoSize.isEmpty()) {
            const int w = trackText(i, "demux-w").toInt();
            const int h = trackText(i, "demux-h").toInt();
            if (w > 0 && h > 0)
                m_videoSize = QSize(w, h);
        }
    }
    if (undecodable)
        return NoDriver;
    return playable ? Opened : UnreadableFormat;
}

void MpvPlayer::close()
{
    endOpenWait(true);  // a file still loading is given up
    if (m_mpv && m_state != State::Closed) {
        const char *command[] = {"stop", nullptr};
        mpv_command(m_mpv, command);
    }
    m_state = State::Closed;
    m_lengthMs = 0;
    m_videoSize = QSize();
    m_atEnd = false;
    m_pendingSeekMs = -1;
}

void MpvPlayer::setPaused(bool paused)
{
    int flag = paused ? 1 : 0;
    mpv_set_property(m_mpv, "pause", MPV_FORMAT_FLAG, &flag);
}

void MpvPlayer::play()
{
    if (m_state == State::Closed)
        return;
    // Played to its end before: again from the start. Only put at its end by
    // a seek: it ends at once, as playing from there would.
    if (m_atEnd && m_endAnnounced)
        seek(0);
    setPaused(false);
    m_state = State::Playing;
    if (m_atEnd)
        announceEndSoon();
}

void MpvPlayer::announceEndSoon()
{
    QMetaObject::invokeMethod(this, &MpvPlayer::announceEnd, Qt::QueuedConnection);
}

void MpvPlayer::announceEnd()
{
    if (m_state != State::Playing || !m_atEnd || m_endAnnounced)
        return;
    m_endAnnounced = true;
    m_pendingSeekMs = -1;
    setPaused(true);
    m_state = State::Stopped;
    emit ended();
}

void MpvPlayer::pause()
{
    if (m_state != State::Playing)
        return;
    setPaused(true);
    m_state = State::Paused;
}

void MpvPlayer::stop()
{
    if (m_state == State::Closed)
        return;
    setPaused(true);
    m_state = State::Stopped;
}

void MpvPlayer::seek(qint64 ms)
{
    if (m_state == State::Closed)
        return;
    ms = qBound<qint64>(0, ms, m_lengthMs);
    const QByteArray seconds = QByteArray::number(double(ms) / 1000.0, 'f', 3);
    const char *command[] = {"seek", seconds.constData(), "absolute+exact", nullptr};
    if (mpv_command(m_mpv, command) < 0)
        return;
    m_pendingSeekMs = ms;
    // A seek to the length puts the medium at its end: the engine, parked
    // there, would tell of no new end, so the end is told here.
    m_atEnd = m_lengthMs > 0 && ms >= m_lengthMs;
    m_endAnnounced = false;
    if (m_atEnd && m_state == State::Playing)
        announceEndSoon();
}

void MpvPlayer::refresh()
{
    if (!m_mpv || m_state != State::Playing || m_atEnd || m_pendingSeekMs >= 0)
        return;
    int atEnd = 0;
    if (mpv_get_property(m_mpv, "eof-reached", MPV_FORMAT_FLAG, &atEnd) < 0 || !atEnd)
        return;
    m_atEnd = true;
    m_endAnnounced = false;
    announceEndSoon();
}

MediaPlayer::State MpvPlayer::state() const { return m_state; }

qint64 MpvPlayer::positionMs() const
{
    if (m_state == State::Closed)
        return 0;
    if (m_atEnd)
        return m_lengthMs;
    if (m_pendingSeekMs >= 0)
        return m_pendingSeekMs;
    double seconds = 0;
    if (mpv_get_property(m_mpv, "time-pos", MPV_FORMAT_DOUBLE, &seconds) < 0)
        return 0;
    // Rounded as the length is, so that the last position reads the length.
    return qBound<qint64>(0, qRound64(seconds * 1000.0), m_lengthMs);
}

double MpvPlayer::engineProperty(const char *name) const
{
    double value = -1;
    if (!m_mpv || mpv_get_property(m_mpv, name, MPV_FORMAT_DOUBLE, &value) < 0)
        return -1;
    return value;
}

QByteArray MpvPlayer::engineText(const char *name) const
{
    char *text = m_mpv ? mpv_get_property_string(m_mpv, name) : nullptr;
    const QByteArray value = text ? QByteArray(text) : QByteArray();
    mpv_free(text);
    return value;
}

void MpvPlayer::setSpeed(double factor)
{
    m_speed = factor;
    if (m_mpv)
        mpv_set_property(m_mpv, "speed", MPV_FORMAT_DOUBLE, &factor);
}

void MpvPlayer::setVolume(int level)
{
    m_volume = qBound(0, level, 1000);
    double volume = audibleVolume(m_volume) / 10.0;
    if (m_mpv)
        mpv_set_property(m_mpv, "volume", MPV_FORMAT_DOUBLE, &volume);
}

QImage MpvPlayer::currentFrame()
{
    if (!m_mpv || m_videoSize.isEmpty())
        return {};
    mpv_node result;
    const char *command[] = {"screenshot-raw", "video", nullptr};
    if (mpv_command_ret(m_mpv, command, &result) < 0)
        return {};
    QImage image;
    int64_t w = 0, h = 0, stride = 0;
    QByteArray format;
    const mpv_byte_array *data = nullptr;
    if (result.format == MPV_FORMAT_NODE_MAP) {
        for (int i = 0; i < result.u.list->num; ++i) {
            const char *key = result.u.list->keys[i];
            const mpv_node &value = result.u.list->values[i];
            if (!std::strcmp(key, "w"))
                w = value.u.int64;
            else if (!std::strcmp(key, "h"))
                h = value.u.int64;
            else if (!std::strcmp(key, "stride"))
                stride = value.u.int64;
            else if (!std::strcmp(key, "format") && value.format == MPV_FORMAT_STRING)
                format = value.u.string;
            else if (!std::strcmp(key, "data") && value.format == MPV_FORMAT_BYTE_ARRAY)
                data = value.u.ba;
        }
    }
    if (data && w > 0 && h > 0 && stride >= w * 4 && format == "bgr0" && qint64(data->size) >= stride * h) {
        // bgr0 is the byte order of a little-endian 0xffRRGGBB word.
        QImage frame(static_cast<const uchar *>(data->data), int(w), int(h), int(stride), QImage::Format_RGB32);
        image = frame.copy();
    }
    mpv_free_node_contents(&result);
    return image;
}

void MpvPlayer::drainEvents()
{
    // The engine wakes us again only once its queue has been emptied, so the
    // queue is read to the end before anyone hears of what happened.
    bool reachedEnd = false;
    bool failedToPlay = false;
    while (m_mpv) {
        mpv_event *event = mpv_wait_event(m_mpv, 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        if (m_openWait)
            noteForOpen(event);
        if (event->event_id == MPV_EVENT_PROPERTY_CHANGE) {
            auto *property = static_cast<mpv_event_property *>(event->data);
            if (!std::strcmp(property->name, "eof-reached") && property->format == MPV_FORMAT_FLAG)
                reachedEnd = *static_cast<int *>(property->data) != 0;
        } else if (event->event_id == MPV_EVENT_PLAYBACK_RESTART) {
            m_pendingSeekMs = -1;
        } else if (event->event_id == MPV_EVENT_END_FILE) {
            auto *end = static_cast<mpv_event_end_file *>(event->data);
            failedToPlay = failedToPlay || end->reason == MPV_END_FILE_REASON_ERROR;
        }
    }
    if (m_state == State::Closed)
        return;
    if (failedToPlay) {
        m_state = State::Stopped;
        emit failed(UnreadableFormat);  // listeners may close or destroy this player
        return;
    }
    // The engine resets the display's error handling when a picture closes.
    guardEngineDisplays();
    if (!reachedEnd || m_atEnd)
        return;
    m_atEnd = true;
    m_endAnnounced = false;
    if (m_state == State::Playing)
        announceEnd();
}
