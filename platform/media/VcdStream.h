#pragma once

#include <QByteArray>
#include <QString>

struct DiscFile;
struct mpv_handle;
struct mpv_stream_cb_info;

// Hands files on a disc to libmpv through its stream callbacks: the sectors
// are read through libcdio (Mode 2 Form 2 for video-CD tracks) and joined
// into one stream of known size that libmpv can seek in, so that length,
// position, seeking and speed act as on a file.
namespace VcdStream {

// Lets the engine open the locations below; once for each new engine.
void registerOn(mpv_handle *mpv);

// The location libmpv opens for a file on a disc.
QByteArray locationOf(const DiscFile &file);

// The location for a path of the programs when it names a file on an
// optical drive's disc (discFileAt); empty otherwise.
QByteArray locationFor(const QString &path);

// Whether a location reads a disc image (a file) rather than a drive.
bool readsDiscImage(const QByteArray &location);

// Opens a location as libmpv does once registerOn has let it: 0 with info
// filled in, or an mpv error code.
int open(const QByteArray &location, mpv_stream_cb_info *info);

} // namespace VcdStream
