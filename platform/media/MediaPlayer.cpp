#include "MediaPlayer.h"

#include "MediaBackend.h"
#include "MpvPlayer.h"
#include "SimulatedMedia.h"

namespace {
// Tells every player that the device volume moved.
class DeviceVolume : public QObject {
    Q_OBJECT
public:
    static DeviceVolume &instance()
    {
        static DeviceVolume volume;
        return volume;
    }
    int level = 1000;
signals:
    void changed();
};
} // namespace

MediaPlayer::MediaPlayer(QObject *parent) : QObject(parent)
{
    connect(&DeviceVolume::instance(), &DeviceVolume::changed, this, [this] { setVolume(volume()); });
}

void setDeviceVolume(int level)
{
    DeviceVolume::instance().level = qBound(0, level, 1000);
    emit DeviceVolume::instance().changed();
}

int deviceVolume() { return DeviceVolume::instance().level; }

int audibleVolume(int ownLevel) { return qBound(0, ownLevel, 1000) * deviceVolume() / 1000; }

std::unique_ptr<MediaPlayer> createMediaPlayer(QObject *parent)
{
    if (mediaBackend() == MediaBackend::Simulated)
        return std::make_unique<SimulatedPlayer>(parent);
    return std::make_unique<MpvPlayer>(parent);
}

#include "MediaPlayer.moc"
