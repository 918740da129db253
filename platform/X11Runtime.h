#pragma once

// The X display library, reached at run time so that the build needs no X
// headers and the programs run where there is no X server at all.

struct _XDisplay;
using Display = _XDisplay;

namespace X11Runtime {

// The application's own X connection; null off X (offscreen, Wayland).
Display *applicationDisplay();
// A function of the display library by name; null when the library or the
// function is missing. The library stays loaded for the life of the process.
void *function(const char *name);

} // namespace X11Runtime
