#pragma once

#include "CdDrive.h"

#include <QByteArray>

#include <memory>

class MpvPlayer;
struct _CdIo;

// The first optical drive libcdio finds: its table of contents and tray
// through libcdio, its audio tracks played by libmpv (cdda://). With no
// drive (or no disc) every action fails and the state says so.
class LibcdioDrive : public CdDrive {
public:
    // The first optical drive libcdio lists.
    LibcdioDrive();
    // A given drive, or a disc image libcdio reads (a .cue file).
    explicit LibcdioDrive(const QByteArray &device);
    ~LibcdioDrive() override;

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
    void setVolume(int level) override;
    int volume() const override { return m_volume; }
    QString lastError() const override { return m_error; }

    // The volume the engine that plays the disc holds (0..100), -1 while no
    // engine plays: lets tests see that volume commands reach it.
    double engineVolume() const;
    // The pitch (Hz) of the sound the engine plays, from a meter it carries only under test
    // control; -1 while nothing plays or unmeasured: lets tests hear where the sound is.
    double toneHeard() const;

    // Device paths of the optical drives libcdio lists.
    static QList<QByteArray> opticalDrives();

private:
    bool openDevice() const;
    void closeDevice() const;
    bool readToc() const;
    bool trayOpenedByHand() const;  // the drive says its tray is out
    bool isImage() const;  // a disc image rather than a drive
    bool fail(const QString &why) const;
    bool ensurePlayer();
    qint64 discLength() const;
    qint64 soundStartMs() const;
    qint64 soundEndMs() const;
    qint64 toStream(qint64 discMs) const;  // a disc position as the engine's stream's

    QByteArray m_device;
    mutable _CdIo *m_cdio = nullptr;
    mutable QVector<CdTrack> m_toc;
    mutable bool m_trayOpen = false;
    std::unique_ptr<MpvPlayer> m_player;
    qint64 m_heldMs = 0;     // position while no stream is open
    qint64 m_playTo = -1;
    int m_volume = 1000;
    bool m_metered = false;  // the engine carries the sound meter
    mutable QString m_error;
};
