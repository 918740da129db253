// Draws a panel picture from its layout: body, screen, read-outs, seek groove
// and the key caps with their symbols, each exactly where the definition file
// places the matching panel object.
#pragma once

#include "PanelLayout.h"

#include <QImage>

namespace art {

QImage paintPanel(const PanelLayout &panel);

} // namespace art
