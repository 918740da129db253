#pragma once

class PanelForm;

// The panel definition file. Both work on the file the global IniFile names;
// the caller sets IniFile first and PanelState::Zoom holds the form's scale.

// Deletes the old file and writes the form's layout and colour settings.
void SaveButtonIni(PanelForm &Form);

// Applies the definition to the form and the colour settings; the sizes of
// the keys change only when WithSize is True. A missing file: one log line.
void ReadButtonIni(PanelForm &Form, bool WithSize);
