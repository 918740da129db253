#pragma once

#include "CdDrive.h"

// A folder named as the optical drive stands for a data disc mounted there: it has no
// audio tracks, and its tray takes the folder out and puts it back as a disc's would, so
// that the eject key empties the player and a second press loads the folder again.
class FolderDisc : public CdDrive {
public:
    State state() const override { return m_out ? State::TrayOpen : State::NoDisc; }
    bool mediaPresent() const override { return false; }
    QVector<CdTrack> tracks() const override { return {}; }
    qint64 positionMs() const override { return 0; }
    bool play(qint64, qint64) override { return false; }
    bool pause() override { return false; }
    bool resume() override { return false; }
    bool stop() override { return true; }
    bool seek(qint64) override { return false; }
    bool setTrayOpen(bool open) override
    {
        m_out = open;
        return true;
    }
    void setVolume(int level) override { m_volume = qBound(0, level, 1000); }
    int volume() const override { return m_volume; }
    QString lastError() const override { return QStringLiteral("a folder has no audio tracks"); }

private:
    bool m_out = false;
    int m_volume = 1000;
};
