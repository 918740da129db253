#pragma once

#include <QString>

#include <functional>

// The media command-string interpreter: the textual device interface the
// programs use for audio CDs ("CDAudio", any case) and for media files opened
// under an alias ("open <file> [type <t>] alias <name>").
//
// Verbs: open, close, play [from a] [to b], pause, resume, stop,
// seek to <start|end|position>, set <device> time format <tmsf|msf|milliseconds|ms|frames>,
// set <device> door <open|closed>, status <device> <item>. The flags wait,
// notify and shareable are accepted and ignored (every command completes
// before it returns). A device that is not open is opened by the first
// command that names it; the time format of a freshly opened CD device is msf.
//
// Status replies (texts exactly as callers parse them):
//   mode                 "playing", "paused", "stopped", "open" (tray out), "not ready"
//   position             tmsf "tt:mm:ss:ff" (75 frames a second), msf "mm:ss:ff",
//                        or a whole number of milliseconds
//   length               of the disc, or "length track n": "mm:ss:ff" in tmsf/msf, else ms
//   position track n     start of track n in the current format
//   number of tracks     "12"
//   current track        "3"
//   media present, ready "true" / "false"
//   type track n         "audio" / "other"
//   time format          "tmsf", "msf", "milliseconds" or "frames"
// The CD plays on through its tracks to the end of the disc (or to the "to"
// position) and then holds there, stopped; a play that starts in a data
// track is refused. Closing the device does not stop the disc.
//
// A file alias counts positions and lengths in milliseconds in every time
// format (frames included); its modes are those above except "open". Opening
// fails with 275 (missing or unreadable file), 296 (no decoder for it) or 289
// (alias in use); "play ... to" is not supported for files; "close all"
// closes everything.
//
// Result codes: 0 on success, an MciError otherwise. On failure the reply is
// empty (callers that read a number from it get 0).
enum MciError {
    MciOk = 0,
    MciErrUnrecognizedKeyword = 259,
    MciErrUnrecognizedCommand = 261,
    MciErrHardware = 262,
    MciErrInvalidDeviceName = 263,
    MciErrOutOfRange = 265,
    MciErrMissingParameter = 273,
    MciErrUnsupportedFunction = 274,
    MciErrFileNotFound = 275,
    MciErrDeviceNotReady = 276,
    MciErrBadTimeFormat = 293,
    MciErrDuplicateAlias = 289,
    MciErrCannotLoadDriver = 296,
    MciErrMissingDeviceName = 298,
    MciErrDeviceNotOpen = 305,
    MciErrNoDataTrackPlay = 320,
};

// Sends one command. The reply (when reply is not null) receives at most
// replyLength characters; with replyLength 0 or less it is set empty.
int mciSendString(const QString &command, QString *reply = nullptr, int replyLength = 0);

// Short English text for a result code, for logs.
QString mciErrorText(int code);

// Observer that sees every command after it ran, with its result and the
// full reply. Tests record the command sequence with it; pass {} to remove.
using MciCommandObserver = std::function<void(const QString &command, int result, const QString &reply)>;
void setMciCommandObserver(MciCommandObserver observer);

// Closes every open device and alias and forgets their state (time formats,
// aliases); the CD drive itself keeps playing or stopped as it is. For tests
// and shut-down.
void mciResetDevices();
