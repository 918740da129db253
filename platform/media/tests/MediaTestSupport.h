#pragma once

#include <QString>

#include <ostream>

#include <functional>

// Helpers shared by the media tests.

// Makes a media file with ffmpeg from lavfi sources; returns false (and the
// test should be skipped) when ffmpeg is not installed.
bool makeMediaWithFfmpeg(const QStringList &arguments, const QString &output);

// Makes a video-CD image (folder/vcd.cue and vcd.bin) of one MPEG-1 track per
// entry of seconds, made by ffmpeg and vcdimager; each track shows a moving
// test picture with a tone. Returns the .cue path, or an empty text (with the
// reason in *why) when the tools failed.
QString makeVideoCdImage(const QString &folder, const QList<double> &seconds, QString *why);

// Makes an audio-CD image (folder/audio.cue and audio.bin) of one tone track
// per entry of seconds (whole sectors of 1/75 s), made by ffmpeg. Returns the
// .cue path, or an empty text (with the reason in *why).
QString makeAudioCdImage(const QString &folder, const QList<double> &seconds, QString *why);

// Waits up to ms of real time, letting events run, until done() holds.
bool waitUntil(const std::function<bool()> &done, int ms);

// A QApplication for widget tests (made once per test program).
void ensureApplication();

// Readable QString values in test failure messages.
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }
