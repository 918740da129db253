#pragma once

#include <QByteArray>

// How the media engines draw video on the X display they share with the
// program's own windows.

// The video output an engine with a window of ours uses: "gpu" where the
// display offers hardware OpenGL, else "x11" (software drawing). Probed once
// per process: an engine that tries GL and falls back leaves the display
// library in a state that later ends the process, so no engine ever tries an
// output that the probe did not find working.
QByteArray embeddedVideoOutput();

// Keeps the failed X requests of an engine's own display connection from
// ending the process: they are logged and the engine carries on. Errors of
// the program's own connection keep their handling. Safe to call often (an
// engine's output puts in the display library's fatal default when it
// closes); does nothing off X11. (A connection that breaks still ends the
// process: the display library decides that before any handler runs.)
void guardEngineDisplays();

