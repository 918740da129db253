// Draws the key mask bitmaps of "Button Mask". A mask is black outside the
// key (its top left pixel gives the key colour) and grey inside: a grey of
// about 128 keeps the panel picture's colour on the key face, lighter greys
// raise it and darker greys sink it, so the greys give each key its relief.
#pragma once

#include <QImage>
#include <QPainterPath>
#include <QString>
#include <vector>

namespace art {

struct MaskSpec {
    QString fileName;
    QImage image;
};

std::vector<MaskSpec> drawMasks();

// The outline of the named mask stretched over `key`, as the player stretches
// the mask bitmap over the key; used to draw matching key caps on a panel.
QPainterPath maskShapeOver(const QString &maskName, const QRectF &key);

// The grey a mask uses just inside its outline; no inner pixel is darker, so
// no inner pixel can be taken for the black key colour.
constexpr int maskRimGrey = 64;

} // namespace art
