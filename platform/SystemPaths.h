#pragma once
// The fixed places the programs use, mapped to this system's folders.

#include <QString>

namespace SystemPaths {

// The folder of the running executable, without a trailing "/". The environment variable
// PELLORAN_PROGRAM_DIR overrides it; setProgramFolder (tests) overrides both.
QString ProgramFolder();
void setProgramFolder(const QString& folder);  // "" returns to the default

// $XDG_CONFIG_HOME/Pelloran (default ~/.config/Pelloran).
QString ConfigFolder();
// $XDG_DATA_HOME/Pelloran (default ~/.local/share/Pelloran).
QString DataFolder();
// The Windows folder stand-in (SYSTEM.INI, WIN.INI): ConfigFolder()/Windows, created on demand.
QString WindowsFolder();
// "C:\Temp": DataFolder()/Temp, created on demand.
QString TempFolder();
// The file-backed registry store: ConfigFolder()/registry.ini.
QString RegistryFile();

// Maps a fixed Windows place to its folder here: "C:\Temp" (any case, with or without a
// trailing separator, and anything below it) to TempFolder(), "C:\Windows" to
// WindowsFolder(); other texts come back unchanged.
QString mapWindowsPlace(const QString& path);

// Creates the folder and its parents; true when it exists afterwards.
bool ensureFolder(const QString& folder);

}  // namespace SystemPaths
