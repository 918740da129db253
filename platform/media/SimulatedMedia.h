#pragma once

#include "MediaPlayer.h"

#include <QHash>

class ClockTimer;

// What the simulated back end knows of a file. Files not described here are
// probed by reading a few header bytes: WAV (length from its header), MP3
// (length from the first frame's bit rate), MPEG program/video streams, AVI,
// QuickTime/MP4 and MIDI (length from its tempo map, a damaged one unreadable). Anything
// else, an empty file or a file that cannot be read is an unreadable format;
// a WAV in a coding no decoder knows has no driver.
struct SimulatedFileInfo {
    qint64 lengthMs = 0;
    QSize videoSize;          // empty: audio only
    int openError = 0;        // 0, or MediaPlayer::UnreadableFormat / NoDriver
};

// Tests describe files here (by absolute path); cleared with clear().
class SimulatedMediaFiles {
public:
    static void describe(const QString &path, const SimulatedFileInfo &info);
    static void clear();
    // The description or the probe result for path.
    static SimulatedFileInfo info(const QString &path);
};

// A file played on the media clock (mediaClock()).
class SimulatedPlayer : public MediaPlayer {
    Q_OBJECT
public:
    explicit SimulatedPlayer(QObject *parent = nullptr);
    ~SimulatedPlayer() override;

    OpenResult open(const QString &path) override;
    void close() override;
    void play() override;
    void pause() override;
    void stop() override;
    void seek(qint64 ms) override;
    State state() const override;
    qint64 positionMs() const override;
    qint64 lengthMs() const override { return m_info.lengthMs; }
    bool atEnd() const override;
    void setSpeed(double factor) override;
    void setVolume(int level) override { m_volume = qBound(0, level, 1000); }
    int volume() const override { return m_volume; }
    bool hasVideo() const override { return !m_info.videoSize.isEmpty(); }
    QSize videoSize() const override { return m_info.videoSize; }
    QImage currentFrame() override;

    int audible() const { return audibleVolume(m_volume); }
    double speed() const { return m_speed; }

private:
    void scheduleEnd();
    void cancelEnd();
    void reachEnd();
    void holdAt(qint64 pos);

    SimulatedFileInfo m_info;
    State m_state = State::Closed;
    qint64 m_anchorPos = 0;
    qint64 m_anchorTime = 0;
    double m_speed = 1.0;
    int m_volume = 1000;
    ClockTimer *m_endTimer = nullptr;
    bool m_atEnd = false;
};
