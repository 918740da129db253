#pragma once
// The editor's entry routine: its names, folders and log, before the main window shows.

struct EditorState;

// Sets the settings names ("Pelloran", "Quorvel Editor"), the log Quorvel.log,
// the Skin and Button Mask folders beside the program and the temporary
// folder of the key-face cache (setting "TempDir"), creating the folders.
void StartEditor(EditorState &state);
