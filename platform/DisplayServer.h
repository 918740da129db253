#pragma once
// The window system the programs draw on. Their borderless windows are placed and dragged by
// their own code, and video is embedded by window id: both need X11. Under a Wayland session
// the programs therefore run on XWayland, unless the user chose a platform plugin himself.

#include <QByteArray>

namespace DisplayServer {

// The platform plugin list to ask Qt for: "xcb;wayland" (XWayland first, native Wayland when
// no X server is there) for a Wayland session when the user set none; otherwise "" (leave
// the choice as it is).
QByteArray platformFor(const QByteArray& sessionType, const QByteArray& userPlatform);

// Applies platformFor to this process's environment (XDG_SESSION_TYPE, QT_QPA_PLATFORM).
// Called in main before the QApplication is created.
void PreferX11UnderWayland();

}  // namespace DisplayServer
