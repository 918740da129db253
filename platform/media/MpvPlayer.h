#pragma once

#include "MediaPlayer.h"

#include <QSet>

#include <cstdint>

struct mpv_handle;

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
    // May change while the engine runs: the picture moves to the new window (0: none) at once.
    void setVideoWindow(quintptr windowId) override;

    // A numeric property as the engine holds it ("volume", "speed"); -1
    // without an engine. Lets tests see that settings reach the engine.
    double engineProperty(const char *name) const;
    // For a stream whose length the engine cannot tell (an audio CD read as
    // one stream): the length to report and to keep seeks within.
    void assumeLength(qint64 ms) { m_lengthMs = ms; }

private slots:
    void drainEvents();

private:
    bool startEngine(const QList<QPair<QByteArray, QByteArray>> &options);
    void stopEngine();
    // A new video output on the current window, the old one closed first.
    void moveVideoOutput();
    // fileOptions: engine options for this file alone ("key=value,..."), or none.
    OpenResult load(const QByteArray &location, const QByteArray &fileOptions = {});
    // Opened, UnreadableFormat when the file holds nothing to play, NoDriver
    // when one of its streams has no decoder here.
    OpenResult readTracks();
    QSet<QByteArray> decodableCodecs() const;
    void waitForVideoOutput();
    QByteArray trackText(int64_t track, const char *field) const;
    void setPaused(bool paused);
    // The medium is at its end while playing: it stops there and ended() is
    // raised, once per end; soon = from the event loop, after the caller.
    void announceEnd();
    void announceEndSoon();

    mpv_handle *m_mpv = nullptr;
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
