// The panels this suite ships: the default panel and the panels of the Skin
// folder, each sized for a screen-size class.
#pragma once

#include "PanelLayout.h"

#include <vector>

namespace art {

// The default panel, loaded from "Desk" when no other panel was chosen.
PanelLayout defaultPanel();

// Every panel of the Skin folder (the default panel among them).
std::vector<PanelLayout> skinPanels();

} // namespace art
