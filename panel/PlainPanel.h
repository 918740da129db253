#pragma once

#include <QImage>

class PanelObjects;

// The ground a panel wears when no panel picture can be shown: a light plain
// picture over the area of the panel objects with a raised cap at every visible
// key and dark wells behind the picture area and the message and time lines, so
// that every key has a face and every text (the logo that opens the menu among
// them) stands out.
QImage PlainPanelPicture(const PanelObjects &objects);
