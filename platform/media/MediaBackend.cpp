#include "MediaBackend.h"

#include <QGuiApplication>
#include <QString>

namespace {
MediaBackend initialBackend()
{
    const QByteArray chosen = qgetenv("PELLORAN_MEDIA").trimmed().toLower();
    return chosen == "sim" ? MediaBackend::Simulated : MediaBackend::Real;
}

MediaBackend &current()
{
    static MediaBackend backend = initialBackend();
    return backend;
}
} // namespace

MediaBackend mediaBackend() { return current(); }

void setMediaBackend(MediaBackend backend) { current() = backend; }

bool mediaIsHeadless()
{
    const QString platform = QGuiApplication::instance() ? QGuiApplication::platformName()
                                                          : QString::fromLocal8Bit(qgetenv("QT_QPA_PLATFORM"));
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return true;
    if (platform == QLatin1String("xcb"))
        return false;
    return qgetenv("DISPLAY").isEmpty() && qgetenv("WAYLAND_DISPLAY").isEmpty();
}

bool mediaCanEmbedVideo()
{
    return QGuiApplication::instance() && QGuiApplication::platformName() == QLatin1String("xcb");
}
