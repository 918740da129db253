// Writes an 8-bit GIF picture. Qt reads GIF but cannot write it, and panels
// with a window outline must be GIF files.
#pragma once

#include <QByteArray>
#include <QImage>

namespace art {

// Encodes an indexed image (Format_Indexed8, at most 256 colours). No colour
// is marked transparent: the outline is taken from the key colour itself, so
// every pixel must keep its colour when the file is read back.
QByteArray encodeGif(const QImage &indexed);

// Maps a true-colour picture onto a fixed palette for GIF output. Pixels that
// are exactly `keyColour` get the key's palette entry; no other pixel ever
// does, so the key-colour margin stays exact and the body never has holes.
QImage toIndexedWithKey(const QImage &picture, QRgb keyColour);

} // namespace art
