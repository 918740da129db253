#pragma once

// Which media back end the process uses: the real one (libmpv, libcdio) or
// the simulated one (SimulatedDisc, simulated files on the media clock).
// The environment variable PELLORAN_MEDIA=sim selects the simulated back end
// at start; tests may switch with setMediaBackend().
enum class MediaBackend { Real, Simulated };

MediaBackend mediaBackend();
void setMediaBackend(MediaBackend backend);
// True when no display is available (offscreen/minimal Qt platform or no
// X display): video then goes to a null output.
bool mediaIsHeadless();
// True when video can be drawn into a widget's own native window (X11).
bool mediaCanEmbedVideo();
