#pragma once

#include <QString>

#include <ostream>

#include <functional>

// Helpers shared by the media tests.

// Makes a media file with ffmpeg from lavfi sources; returns false (and the
// test should be skipped) when ffmpeg is not installed.
bool makeMediaWithFfmpeg(const QStringList &arguments, const QString &output);

// Waits up to ms of real time, letting events run, until done() holds.
bool waitUntil(const std::function<bool()> &done, int ms);

// A QApplication for widget tests (made once per test program).
void ensureApplication();

// Readable QString values in test failure messages.
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }
