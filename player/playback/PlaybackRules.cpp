#include "PlaybackRules.h"

#include "ModFiles.h"
#include "ModTools.h"
#include "VbRuntime.h"

#include <QtMath>
#include <cmath>

namespace PlaybackRules {

quint32 PackVolume(int level)
{
    level = qBound(0, level, 1000);
    const qint64 units = qint64(Vb::Int(level / 1000.0 * 65536.0));
    quint32 channel = 0;
    if (units >= 65536)
        channel = 0xFFFF;
    else if (units == 32768)
        channel = 0x7FFF;  // the device calls take the half level as 7FFF
    else
        channel = quint32(units);
    return (channel << 16) | channel;
}

QList<DeviceVolumeCall> DeviceVolumeCalls(int level, int auxCount, int waveCount, int midiCount)
{
    const quint32 packed = PackVolume(level);
    QList<DeviceVolumeCall> calls;
    const auto family = [&](DeviceFamily kind, int count) {
        for (int device = -1; device < count; ++device)
            calls << DeviceVolumeCall{kind, device, packed};
    };
    family(DeviceFamily::Auxiliary, auxCount);
    family(DeviceFamily::WaveOut, waveCount);
    family(DeviceFamily::MidiOut, midiCount);
    return calls;
}

double ClampRatio(double ratio)
{
    if (std::isnan(ratio))
        return 0;
    return qBound(0.0, ratio, 1.0);
}

double KnobLeft(double grooveLeft, double grooveWidth, double knobWidth, double seekPos, double mediaLength)
{
    if (mediaLength <= 0)
        return grooveLeft + 2;
    const double travel = qMax(0.0, grooveWidth - knobWidth);
    return grooveLeft + ClampRatio(seekPos / mediaLength) * travel;
}

double SeekStepOf(const QString &caption, double frameRate, bool inHundredths)
{
    double step = 0;
    if (!caption.isEmpty()) {
        const double number = Vb::Val(caption);
        // The unit is the last of the three names the caption contains.
        QString unit;
        for (const char *name : {"Frame", "Sec", "Min"}) {
            if (caption.contains(QLatin1String(name)))
                unit = QLatin1String(name);
        }
        if (unit == QLatin1String("Frame"))
            step = frameRate != 0 ? number / frameRate : 0;
        else if (unit == QLatin1String("Sec"))
            step = number;
        else if (unit == QLatin1String("Min"))
            step = number * 60;
    }
    if (inHundredths)
        step *= 100;
    return step;
}

int SlowerSpeed(int controlSpeed, int playSpeed)
{
    return controlSpeed > 250 ? playSpeed - 250 : 100;
}

int FasterSpeed(int playSpeed)
{
    return int(Vb::Int((playSpeed + 250) / 250.0)) * 250;
}

double CdTimeToSeconds(const QString &mmssff)
{
    return TimeToSec(QStringLiteral("00:") + mmssff.left(5)) + Vb::Val(mmssff.right(2)) / 100.0;
}

QString CdTrackPath(const QString &cdDrive, int track)
{
    return AddPath(cdDrive, QStringLiteral("Track") + ZeroFill(track, 2) + QStringLiteral(".cda"));
}

QString VolumeText(int level)
{
    return QStringLiteral("Volume=") + QString::number(level / 10) + QLatin1Char('%');
}

} // namespace PlaybackRules

int PlaybackRules::ScreenClassOf(int width, int height)
{
    switch (height) {
    case 480: return 640;
    case 600: return 800;
    case 768: return 1024;
    case 864: return 1152;
    case 1024: return 1280;
    case 1200: return 1600;
    default: return width;
    }
}

QString PlaybackRules::NumberText(double value)
{
    return QString::number(value, 'g', 15);
}
