#pragma once

#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

class MediaPlayer;
class ClockTimer;
class QWindow;
class VideoHost;

// The media window control: plays one video or audio file in a widget.
// Members keep the names the programs drive them by.
//
// Positions (Position, Length, PositionChange) are in the control's units:
// milliseconds for audio-only media and for every .mp3; for video, frames at
// the format's nominal rate (AVI 10, MOV 15, every other video 30 a second). setTimeFormat
// switches between "ms" and "frames"; unitsPerSecond() tells the rate.
//
// Modes (Mode text / ExtendedModeChange number): "not ready" 524 (nothing
// open), "stopped" 525, "playing" 526, "paused" 529. ExtendedModeChange fires
// on every change of mode. While playing, PositionChange fires every
// positionInterval() ms of the media clock; at the end of the file Position
// reads Length, one last PositionChange fires and the mode becomes "stopped".
//
// Errors: ExtendedError(275) and then Error(275) when a file is missing, its
// format unreadable or it holds nothing to play (a still picture); 296 when
// the file is readable but no decoder here can play it, or no media engine
// can be started. Errors are raised while the member that caused them is
// being set (or, for a failure while playing, when it happens).
class MciWnd : public QWidget {
    Q_OBJECT
public:
    enum ModeCode {
        ModeNotReady = 524,
        ModeStopped = 525,
        ModePlaying = 526,
        ModeRecording = 527,
        ModeSeeking = 528,
        ModePaused = 529,
        ModeOpen = 530,
    };
    enum ErrorCode { ErrorUnreadableFormat = 275, ErrorNoDriver = 296 };

    explicit MciWnd(QWidget *parent = nullptr);
    ~MciWnd() override;

    // A command word, any case: "Play", "Stop", "Pause", "Resume", "Close",
    // "Seek" (to Position 0), "Home", "End". Unknown words are ignored; every
    // command on a control with no file is harmless.
    void setCommand(const QString &command);
    QString Command() const { return m_lastCommand; }

    // Opens the file (blocking until it is loaded or refused, paused at 0);
    // the empty text releases the file. A refused file leaves nothing open.
    void setFileName(const QString &path);
    QString FileName() const { return m_fileName; }

    // "waveaudio" (.wav), "sequencer" (.mid .midi .rmi), "AVIVideo" (.avi with
    // video), "MPEGVideo" (other media with video), "MPEGAudio" (other audio);
    // empty with nothing open.
    QString DeviceType() const;

    qint64 Length() const;
    QString Mode() const;
    int modeCode() const;
    qint64 Position() const;
    void setPosition(qint64 position);  // seeks; keeps playing or holding
    // The last seek has not landed yet: the picture still shows the old place.
    bool isSeeking() const;

    int Speed() const { return m_speed; }  // 1000 = normal
    void setSpeed(int speed);              // clamped to 10..10000
    int Volume() const { return m_volume; }
    void setVolume(int volume);            // clamped to 0..1000

    // When on, opening a video resizes the control to the video's own size
    // (the option the file-playback routines set before FileName).
    void setAutosizeWindow(bool on) { m_autosize = on; }
    bool AutosizeWindow() const { return m_autosize; }

    void setTimeFormat(const QString &format);  // "ms" / "milliseconds" or "frames"
    QString TimeFormat() const;
    double unitsPerSecond() const;

    void setPositionInterval(int ms);  // default 250
    int positionInterval() const { return m_positionInterval; }

    QSize naturalSize() const;   // the open video's own size; empty without video
    QImage currentFrame();       // the frame on screen; null without video

signals:
    void ExtendedModeChange(int mode);
    void PositionChange(qint64 position);
    void ExtendedError(int code);
    void Error(int code);
    // Mouse press on the picture: button 1 left, 2 right, 4 middle; shift
    // 1 Shift, 2 Ctrl, 4 Alt; x, y in pixels of the control.
    void MouseDown(int button, int shift, int x, int y);

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void ensurePlayer();
    // Lays the engine's picture window into this widget's native window as it is now.
    void bindVideoWindow();
    QSize nativeSize() const;
    void releaseFile();
    void raiseError(int code);
    void updateMode();
    void onEnded();
    void onPositionTick();
    void startPositionTicks();
    void stopPositionTicks();
    qint64 toUnits(qint64 ms) const;
    qint64 toMs(qint64 units) const;

    std::unique_ptr<MediaPlayer> m_player;
    std::unique_ptr<VideoHost> m_videoHost;  // the engine's picture window, inside ours while we have one
    QPointer<QWindow> m_watchedWindow;       // whose end takes the picture window out first
    ClockTimer *m_positionTimer = nullptr;
    QString m_fileName;
    QString m_lastCommand;
    QString m_extension;
    bool m_open = false;
    bool m_frames = false;
    bool m_autosize = false;
    int m_speed = 1000;
    int m_volume = 1000;
    int m_positionInterval = 250;
    int m_lastMode = ModeNotReady;
};
