#pragma once

#include "MediaPlayer.h"

#include <QSet>

#include <cstdint>

struct mpv_event;
struct mpv_handle;
class QEventLoop;

// A media file played by libmpv. Video goes into the window given with
// setVideoWindow() on a real display, else to a null output; audio goes to
// the first working output of pipewire, pulse, alsa, else a null output (so
// that files still play in time on machines without sound).
class MpvPlayer : public MediaPlayer {
    Q_OBJECT
public:
    explicit MpvPlayer(QObject *parent = nullptr);
    ~MpvPlayer() override;

    OpenResult open(const QString &path) override;
    // Opens a location libmpv reads itself (cdda://), with options as
    // name/value pairs given before the engine starts.
    OpenResult openLocation(const QString &location, const QList<QPair<QByteArray, QByteArray>> &options = {});
    void close() override;
    void play() override;
    void pause() override;
    void stop() override;
    void seek(qint64 ms) override;
    bool seeking() const override { return m_pendingSeekMs >= 0; }
    // The engine tells of a changed end only once: played to the end again
    // soon after a seek, it may not tell at all.
    void refresh() override;
    State state() const override;
    qint64 positionMs() const override;
    qint64 lengthMs() const override { return m_lengthMs; }
    bool atEnd() const override { return m_atEnd; }
    void setSpeed(double factor) override;
    void setVolume(int level) override;
    int volume() const override { return m_volume; }
    bool hasVideo() const override { return !m_videoSize.isEmpty(); }
    QSize videoSize() const override { return m_videoSize; }
    QImage currentFrame() override;
    // Read when the engine starts, at the first open: the window is the engine's for its life.
    void setVideoWindow(quintptr windowId) override { m_windowId = windowId; }

    // A numeric property as the engine holds it ("volume", "speed"); -1
    // without an engine. Lets tests see that settings reach the engine.
    double engineProperty(const char *name) const;
    // A property as text (a filter's measurement); empty without an engine or property.
    QByteArray engineText(const char *name) const;
    // For a stream whose length the engine cannot tell (an audio CD read as
    // one stream): the length to report and to keep seeks within.
    void assumeLength(qint64 ms) { m_lengthMs = ms; }

private slots:
    void drainEvents();

private:
    bool startEngine(const QList<QPair<QByteArray, QByteArray>> &options);
    void stopEngine();
    // fileOptions: engine options for this file alone ("key=value,..."), or none.
    OpenResult load(const QByteArray &location, const QByteArray &fileOptions = {});
    // Opened, UnreadableFormat when the file holds nothing to play, NoDriver
    // when one of its streams has no decoder here.
    OpenResult readTracks();
    QSet<QByteArray> decodableCodecs() const;
    // False when the player was closed, opened anew or went away meanwhile.
    bool waitForVideoOutput();
    // What an open waits for from the engine, and what it heard.
    struct OpenWait {
        int awaited = 0;              // the engine's event id
        QEventLoop *loop = nullptr;
        bool heard = false;           // the awaited event came
        bool ended = false;           // the file was refused, or the engine shut down, first
        int endError = 0;             // the engine's error of that refusal
        bool abandoned = false;       // the player closed or opened anew meanwhile
    };
    // Waits, letting events run, until the engine sends awaited, refuses the file or the
    // time runs out; the engine's events reach it through drainEvents().
    OpenWait waitForEngine(int awaited, double seconds);
    void noteForOpen(const mpv_event *event);
    void endOpenWait(bool abandoned = false);
    QByteArray trackText(int64_t track, const char *field) const;
    void setPaused(bool paused);
    // The medium is at its end while playing: it stops there and ended() is
    // raised, once per end; soon = from the event loop, after the caller.
    void announceEnd();
    void announceEndSoon();

    mpv_handle *m_mpv = nullptr;
    OpenWait *m_openWait = nullptr;  // the wait of an open in progress
    quintptr m_windowId = 0;
    bool m_processorScaling = false;  // the engine's output converts and scales on the processor
    State m_state = State::Closed;
    qint64 m_lengthMs = 0;
    qint64 m_pendingSeekMs = -1;  // reported as the position until the seek lands
    QSize m_videoSize;
    bool m_atEnd = false;          // the position is the length
    bool m_endAnnounced = false;   // ended() was raised for this end
    double m_speed = 1.0;
    int m_volume = 1000;
};
