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

// Keeps the X errors of an engine's own display connection from ending the
// process: a failed request is logged, a broken connection leaves that engine
// without a picture. Errors of the program's own connection keep their
// handling. Safe to call often (an engine resets the error handler when its
// output closes); does nothing off X11.
void guardEngineDisplays();

