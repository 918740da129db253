#pragma once
// Opens a document with the program the desktop chooses for it (xdg-open). The opener ends
// at once when it finds no program (printing "no method available" on the terminal), but
// may also run as long as the program it started: so its answer comes later, and only a
// failure is told.

#include <QString>
#include <functional>

namespace DocumentOpener {

// Starts opening path; cannotOpen runs (from the event loop) when the opener is missing or
// ends in failure.
void Open(const QString& path, std::function<void()> cannotOpen);

}  // namespace DocumentOpener
