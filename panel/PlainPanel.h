#pragma once

#include <QImage>

class PanelObjects;

// The ground a panel wears when no panel picture can be shown: a light plain
// picture over the area of the panel objects with a raised cap at every visible
// key, so that every key has a face and dark captions (the logo that opens the
// menu) stand out.
QImage PlainPanelPicture(const PanelObjects &objects);
