#pragma once

#include <QString>
#include <functional>

// The medium the lyric timer plays, driven by media command strings: an audio
// CD track on the device "CDaudio", any other file under the alias "MP3".
// Command results are not examined; a failure shows as a device that is not
// playing when the clock asks.
class MediaSession
{
public:
    // What one clock step read from the device.
    struct ClockReading {
        bool playing = false;
        QString playTimeText;  // "mm:ss:cc"
        QString lengthText;    // "mm:ss:cc" for files, "mm:ss:ff" for a CD track
    };

    static inline const QString CdDevice = QStringLiteral("CDaudio");
    static inline const QString FileAlias = QStringLiteral("MP3");

    // MciDevice: "" before the first medium.
    QString MciDevice() const { return m_device; }

    // "Stop " and "Close " with the current device name.
    void stopAndClose();
    // Opens the CD device when it is not playing already and plays the track
    // to its own end. False when the device refused to play it.
    bool playCdTrack(int track);
    // Stops and closes the previous device, then opens the file under the
    // alias and plays it. False when the file cannot be opened or played.
    bool playFile(const QString &path);
    // PlayMp3File: "close MP3", "open <path> alias MP3", "play MP3"; whether all went.
    static bool PlayMp3File(const QString &path);

    // Plays on from where the medium stands (a CD track to its own end).
    void play();
    void pause();

    // "Status <device> Mode" begins with "playing".
    bool isPlaying() const;
    // The medium stopped by itself at its end: "Status <device> Mode" is
    // "stopped", or a CD track stands at its own end.
    bool reachedEnd() const;
    // The clock step's reading; playing false (and nothing else read) when the
    // device does not play.
    ClockReading readClock() const;

    // Moves to the fraction (0 to 1) of the medium's length, then plays on when
    // resume is true. Returns the play time the position reads afterwards.
    QString seekToFraction(double fraction, bool resume);
    // The play time ("mm:ss:cc") at the medium's end.
    QString endPlayTime() const { return timeAtFraction(1); }
    // The play time ("mm:ss:cc") at the fraction of the medium's length.
    QString timeAtFraction(double fraction) const;

    // Opens the tray when it is closed, closes it when it is open; the message
    // is shown before the door moves. Returns true when the tray was opened.
    bool toggleTray(const std::function<void(const QString &)> &showMessage);

private:
    QString mode() const;  // "" before the first medium
    qint64 lengthMs() const;
    // The place inside the CD track being played (from its start, at most its length).
    qint64 cdTrackPositionMs() const;
    qint64 cdTrackLengthMs() const;
    // "Play CDaudio to <the track's end>": whether the device took it.
    bool playCdTrackToItsEnd() const;

    QString m_device;
    int m_cdTrack = 0;  // the track of the play list being played, not the one the drive reads
};

// Sends a status query and returns its reply trimmed (80-character buffer).
QString mciStatus(const QString &command);
