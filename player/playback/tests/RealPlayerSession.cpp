#include "RealPlayerSession.h"

#include <QDir>

RealPlayerSession::RealPlayerSession() : TavrinSandbox({700, 800})
{
    QDir().mkpath(musicFolder());
    setMedia(Media::Real);
    requireTool(QStringLiteral("ffmpeg"));
}

bool RealPlayerSession::start()
{
    setting(QStringLiteral("ReadMe"), QStringLiteral("1"));
    // The chosen device is the music folder; what it holds plays at once.
    setting(QStringLiteral("ScanType1"), QStringLiteral("False"));
    setting(QStringLiteral("ScanType2"), QStringLiteral("True"));
    setting(QStringLiteral("ScanType3"), QStringLiteral("False"));
    setting(QStringLiteral("DiskName"), musicFolder());
    setting(QStringLiteral("AutoPlay"), QStringLiteral("1"));
    // WAV and MPEG files are songs too.
    setting(QStringLiteral("FileType6"), QStringLiteral("True"));
    setting(QStringLiteral("FileType7"), QStringLiteral("True"));
    setting(QStringLiteral("FileTypeText7"), QStringLiteral("MPEG (*.mpg)"));
    return TavrinSandbox::start();
}
