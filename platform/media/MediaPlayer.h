#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>

#include <memory>

// One opened media file, whatever plays it (libmpv or the simulation).
// Times are milliseconds. The media window control and the file aliases of
// the command interpreter are both built on it.
class MediaPlayer : public QObject {
    Q_OBJECT
public:
    enum class State { Closed, Stopped, Playing, Paused };
    enum OpenResult { Opened = 0, UnreadableFormat = 275, NoDriver = 296 };

    explicit MediaPlayer(QObject *parent = nullptr);
    ~MediaPlayer() override = default;

    // Opens path paused at 0; blocks until the file is loaded or refused.
    virtual OpenResult open(const QString &path) = 0;
    virtual void close() = 0;
    virtual void play() = 0;   // from the current position; from 0 when at the end
    virtual void pause() = 0;
    virtual void stop() = 0;   // holds the current position
    virtual void seek(qint64 ms) = 0;  // keeps playing or holding as before
    // A seek was asked for and its picture is not shown yet.
    virtual bool seeking() const { return false; }
    // Looks for news the engine may not have sent, such as an end reached
    // again after a seek; called while playing, now and then.
    virtual void refresh() {}
    virtual State state() const = 0;
    virtual qint64 positionMs() const = 0;  // equals lengthMs() once the end is reached
    virtual qint64 lengthMs() const = 0;
    virtual bool atEnd() const = 0;
    virtual void setSpeed(double factor) = 0;  // 1.0 normal
    // The player's own volume, 0..1000; what sounds is this scaled by the
    // sound devices' volume (deviceVolume()).
    virtual void setVolume(int level) = 0;
    virtual int volume() const = 0;
    virtual bool hasVideo() const = 0;
    virtual QSize videoSize() const = 0;       // natural size; empty without video
    virtual QImage currentFrame() = 0;         // null without video
    // Video output into this native window (0: none). Set before open().
    virtual void setVideoWindow(quintptr windowId) { Q_UNUSED(windowId) }

signals:
    // Playing reached the end of the file (raised once per end).
    void ended();
    // Something failed while playing (an error code as open() gives).
    void failed(int code);
};

// The volume of the sound devices, 0..1000 (clamped), applied on top of the
// own volume of every player, the CD drive's included. Starts at 1000.
void setDeviceVolume(int level);
int deviceVolume();
// Own volume scaled by the device volume, 0..1000.
int audibleVolume(int ownLevel);

// A player of the current back end (mediaBackend()).
std::unique_ptr<MediaPlayer> createMediaPlayer(QObject *parent = nullptr);
