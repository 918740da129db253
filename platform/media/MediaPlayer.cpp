#include "MediaPlayer.h"

#include "MediaBackend.h"
#include "MpvPlayer.h"
#include "SimulatedMedia.h"

std::unique_ptr<MediaPlayer> createMediaPlayer(QObject *parent)
{
    if (mediaBackend() == MediaBackend::Simulated)
        return std::make_unique<SimulatedPlayer>(parent);
    return std::make_unique<MpvPlayer>(parent);
}
