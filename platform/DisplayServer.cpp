#include "DisplayServer.h"

#include <QtGlobal>

namespace DisplayServer {

QByteArray platformFor(const QByteArray& sessionType, const QByteArray& userPlatform)
{
    if (!userPlatform.trimmed().isEmpty()) return {};
    if (sessionType.trimmed().toLower() != "wayland") return {};
    return QByteArrayLiteral("xcb;wayland");
}

void PreferX11UnderWayland()
{
    const QByteArray platform = platformFor(qgetenv("XDG_SESSION_TYPE"), qgetenv("QT_QPA_PLATFORM"));
    if (!platform.isEmpty()) qputenv("QT_QPA_PLATFORM", platform);
}

}  // namespace DisplayServer
