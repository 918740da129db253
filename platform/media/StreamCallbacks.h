#pragma once

#include <mpv/stream_cb.h>

#include <memory>

// Hands a stream object to the media engine's stream callbacks: reading, seeking, the size
// and the close call the object's own read, seek and size members, and the engine owns the
// object until it closes the stream.
template <class Stream>
void handStreamToEngine(std::unique_ptr<Stream> stream, mpv_stream_cb_info *info)
{
    info->cookie = stream.release();
    info->read_fn = [](void *cookie, char *buffer, uint64_t bytes) {
        return static_cast<Stream *>(cookie)->read(buffer, bytes);
    };
    info->seek_fn = [](void *cookie, int64_t offset) { return static_cast<Stream *>(cookie)->seek(offset); };
    info->size_fn = [](void *cookie) { return static_cast<Stream *>(cookie)->size(); };
    info->close_fn = [](void *cookie) { delete static_cast<Stream *>(cookie); };
}
