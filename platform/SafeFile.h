#pragma once
// Whole-file reads and safe writes of the user's files: a failed write never leaves an
// emptied or half-written file in place of a good one, and always says so.

#include <QByteArray>
#include <QString>

namespace SafeFile {

// The whole file; "" and *ok = false when it is missing or unreadable.
QByteArray read(const QString& path, bool* ok = nullptr);

// Replaces the file: the bytes go unbuffered into a temporary file beside the target, which
// is synced to the disk and only then renamed over the target. The folder must exist. False
// on any failure (a full disk included); the old file is then unchanged and no temporary
// file is left behind. A file that already holds exactly these bytes is left as it is.
// Without waitForDisk the file is replaced just as safely but not synced: for a file that is
// recreated at every start and is worth nothing after a power cut (the log), where waiting
// for a busy disk would cost more than the whole rest of the start.
bool write(const QString& path, const QByteArray& bytes, bool waitForDisk = true);

// True when the file exists and holds exactly these bytes.
bool holds(const QString& path, const QByteArray& bytes);

// Appends all of the bytes or none of them, creating the file when missing: a write that
// fails part-way is taken back, so a failed append never leaves half a line. False on failure.
bool append(const QString& path, const QByteArray& bytes);

}  // namespace SafeFile
