#pragma once

#include "CdDrive.h"

class MediaClock;

// A disc in a simulated drive, driven by the media clock (mediaClock() unless
// one is given): tracks of given lengths, data tracks for mixed discs, a disc
// present or absent, a tray in or out, an optional spin-up time during which
// the drive is not ready. Playing runs on through the tracks and stops at the
// end of the disc (or at the "to" position), holding the position there.
class SimulatedDisc : public CdDrive {
public:
    struct Track {
        qint64 lengthMs = 0;
        bool audio = true;
    };

    explicit SimulatedDisc(MediaClock *clock = nullptr);

    // Puts a disc in and closes the tray (the disc spins up first).
    void insertDisc(const QVector<Track> &tracks);
    // Convenience: audio tracks of these lengths in milliseconds.
    void insertAudioDisc(const QVector<qint64> &lengthsMs);
    void removeDisc();
    void setSpinUpMs(int ms) { m_spinUpMs = ms; }

    State state() const override;
    bool mediaPresent() const override;
    QVector<CdTrack> tracks() const override;
    qint64 positionMs() const override;
    bool play(qint64 fromMs, qint64 toMs) override;
    bool pause() override;
    bool resume() override;
    bool stop() override;
    bool seek(qint64 ms) override;
    bool setTrayOpen(bool open) override;
    void setVolume(int level) override { m_volume = qBound(0, level, 1000); }
    int volume() const override { return m_volume; }
    QString lastError() const override { return m_error; }

    bool trayOpen() const { return m_trayOpen; }

private:
    MediaClock &clock() const;
    qint64 discLength() const;
    bool ready() const;
    bool fail(const QString &why);
    void settle() const;  // turns a play that reached its end into a stop

    MediaClock *m_clock = nullptr;
    QVector<Track> m_disc;
    bool m_hasDisc = false;
    bool m_trayOpen = false;
    int m_spinUpMs = 0;
    int m_volume = 1000;
    qint64 m_readyAt = 0;
    // Play state; mutable because reading the position settles an ended play.
    mutable CdDrive::State m_playState = CdDrive::State::Stopped;
    mutable qint64 m_anchorPos = 0;   // position at m_anchorTime
    mutable qint64 m_anchorTime = 0;
    mutable qint64 m_playTo = -1;
    QString m_error;
};

// The process-wide simulated disc used under the simulated back end.
SimulatedDisc &simulatedDisc();
