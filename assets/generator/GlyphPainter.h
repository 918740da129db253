// Draws the symbol of a key (play, stop, disc, ...) centred in the key.
#pragma once

#include "PanelLayout.h"

#include <QPainter>

namespace art {

void drawGlyph(QPainter &p, Glyph glyph, const QRectF &key, const QColor &ink);

} // namespace art
