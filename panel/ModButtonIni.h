#pragma once

#include <QString>
#include <QVector>

class PanelForm;

// One entry of a panel definition, in writing order.
struct ButtonIniEntry
{
    QString section;
    QString key;
    QString value;
};

// The entries SaveButtonIni writes for the form, in the file's order. Sets
// ImageVisible from the picture area, as writing does.
QVector<ButtonIniEntry> ButtonIniEntries(PanelForm &Form);

// The panel definition file. Both work on the file the global IniFile names;
// the caller sets IniFile first and PanelState::Zoom holds the form's scale.

// Deletes the old file and writes the form's layout and colour settings,
// all entries at once in one safe save. False when it could not be written
// (the old file then stays as it was).
bool SaveButtonIni(PanelForm &Form);

// Applies the definition to the form and the colour settings; the sizes of
// the keys change only when WithSize is True. A missing file: one log line.
void ReadButtonIni(PanelForm &Form, bool WithSize);
