// Renders a panel as the player shows it: each key's face recoloured from the
// picture under its mask, the seek knob on its groove, and sample texts in the
// labels. Used to look at the panels and to check that keys stay legible.
#pragma once

#include "DefinitionFile.h"

#include <QDir>
#include <QImage>

// The face of one key: the picture under the key recoloured through the mask
// with the colour settings of the definition's "編輯" section.
QImage buildKeyFace(const QImage &picture, const QRect &key, const QImage &mask, const DefinitionSection &edit);

// The contrasting text colour the panel gives a label over `background`.
QRgb invertColour(QRgb background);

QImage renderPanelPreview(const QImage &picture, const DefinitionFile &definition, const QDir &maskDir);
