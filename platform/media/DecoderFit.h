#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

// Engine options that fit the medium about to be opened.
namespace DecoderFit {

// The largest picture a single decoder thread is given: a DVD frame. Decoding such a picture
// takes a fraction of one core, so more threads only add their hand-over costs.
constexpr int SingleThreadWidth = 720;
constexpr int SingleThreadHeight = 576;

// Where the medium's bytes come from.
enum class Source {
    File,       // a file of its own
    DiscDrive,  // a video-CD track read from a drive's sectors
    DiscImage,  // a video-CD track read from a disc image's sectors
};

// The picture size an MPEG-1 or MPEG-2 video sequence header near the start of the bytes
// gives; empty when there is none.
QSize mpegPictureSize(const QByteArray &start);

// The per-file engine options ("key=value,...") for a video-CD track (always a small MPEG-1
// picture) or for the file at path, judged from its first bytes; "" to keep the engine's own.
// processorScaling: the picture is converted and scaled on the processor (the software output).
QByteArray optionsFor(const QString &path, Source source, bool processorScaling);

}  // namespace DecoderFit
