// The icons the player puts over its keys, one picture file each in the "Icon"
// folder: control-bar symbols, the play key's play and pause faces and the title
// buttons' symbols. Panel pictures carry no symbols of their own, so one icon set
// serves every panel.
#pragma once

#include "PanelLayout.h"

#include <QImage>
#include <QString>
#include <optional>
#include <vector>

namespace art {

struct IconSpec {
    QString fileName;
    Glyph glyph;
    int side;        // pixels; the icon is square
};

std::vector<IconSpec> keyIcons();

// The icon over a key drawn for glyph (the play key's play face for its play and
// pause glyph); none for keys without a symbol.
std::optional<IconSpec> iconFor(Glyph glyph);

// The icon drawn: transparent around the symbol.
QImage paintIcon(const IconSpec &icon);

} // namespace art
