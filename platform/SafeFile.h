#pragma once
// Whole-file reads and safe replacement: a failed write never leaves a half-written file.

#include <QByteArray>
#include <QString>

namespace SafeFile {

// The whole file; "" and *ok = false when it is missing or unreadable.
QByteArray read(const QString& path, bool* ok = nullptr);

// Writes to a temporary file beside the target and renames it over the target; a file that
// already holds exactly these bytes is left as it is. The folder must exist; false on any
// failure, the old file then unchanged.
bool write(const QString& path, const QByteArray& bytes);

// Appends (creating the file when missing); false on failure.
bool append(const QString& path, const QByteArray& bytes);

}  // namespace SafeFile
