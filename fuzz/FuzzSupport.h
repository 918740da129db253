#pragma once
// What the fuzz targets share: throw-away folders, the input as a file, and Qt.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace Fuzz {

// Throw-away home, config, data and program folders, made once before any reader can look
// at the user's real ones. Returns the scratch folder.
QString scratchFolder();

// A QApplication on the offscreen platform, for readers that fill widgets.
void startWidgets();

QByteArray bytesOf(const uint8_t *data, size_t size);

// Writes the input as the file `name` in the scratch folder and returns its path: the
// readers under test take a path, as the programs hand them the user's file.
QString writeInput(const uint8_t *data, size_t size, const QString &name);

// The input decoded as a file is read: code page 950, or UTF-8 after a byte-order mark.
QString textOf(const uint8_t *data, size_t size);

// Ends the fuzzing with a report when a reader breaks a promise of its interface.
void require(bool holds, const char *promise);

}  // namespace Fuzz
