// Draws the symbols of the keys (play, stop, disc, ...).
#pragma once

#include "PanelLayout.h"

#include <QImage>

namespace art {

// A key icon: the symbol filling a transparent square of the given side, dark ink
// with a light rim so that it reads on dark and light key caps alike.
QImage drawIcon(Glyph glyph, int side);

} // namespace art
