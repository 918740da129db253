#pragma once

#include <QString>
#include <QVector>
#include <QtGlobal>

#include <memory>

// One track of a disc's table of contents.
struct CdTrack {
    qint64 startMs = 0;  // from the start of the first track
    qint64 lengthMs = 0;
    bool audio = true;   // false for a data track (mixed discs)
};

// An optical drive as the CD device of the command interpreter sees it.
// Positions are milliseconds from the start of the first track.
class CdDrive {
public:
    enum class State { NoDisc, TrayOpen, NotReady, Stopped, Playing, Paused };

    virtual ~CdDrive() = default;

    virtual State state() const = 0;
    virtual bool mediaPresent() const = 0;
    virtual QVector<CdTrack> tracks() const = 0;  // empty when not ready
    virtual qint64 positionMs() const = 0;

    // Play from fromMs to toMs (toMs < 0: to the end of the disc); false on
    // failure (no disc, tray out, out of range, the start is in a data track).
    virtual bool play(qint64 fromMs, qint64 toMs) = 0;
    virtual bool pause() = 0;
    virtual bool resume() = 0;
    virtual bool stop() = 0;
    virtual bool seek(qint64 ms) = 0;  // stops playing
    virtual bool setTrayOpen(bool open) = 0;
    // The volume of the drive's sound, 0..1000 (the CD audio line's own
    // level, scaled by the sound devices' volume like every player's).
    virtual void setVolume(int level) = 0;
    virtual int volume() const = 0;

    // Last failure in words, for logs.
    virtual QString lastError() const { return {}; }
};

// The drive the CD device uses: the simulated disc under the simulated back
// end, else the device node or disc image that PELLORAN_CD_DEVICE names, else
// the first optical drive that libcdio finds (a drive stand-in that is never
// ready when there is none). Tests may install their own.
CdDrive &cdDrive();
void setCdDrive(std::shared_ptr<CdDrive> drive);  // nullptr: back to the default choice
