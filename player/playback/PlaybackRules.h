#pragma once

#include <QList>
#include <QString>

// The arithmetic of playing, kept apart from windows and devices.
namespace PlaybackRules {

// The device volume value of a level 0..1000: the same 16-bit channel value in
// the low (left) and high (right) half. Levels outside 0..1000 are clamped.
quint32 PackVolume(int level);

enum class DeviceFamily { Auxiliary, WaveOut, MidiOut };
struct DeviceVolumeCall
{
    DeviceFamily family;
    int device;          // -1 addresses the family's mapper
    quint32 packed;
    bool operator==(const DeviceVolumeCall &) const = default;
};
// Every device call of one volume change, in order: each family from its
// mapper (-1) up to its last device.
QList<DeviceVolumeCall> DeviceVolumeCalls(int level, int auxCount, int waveCount, int midiCount);

// A ratio kept within the seek groove (0 to 1); NaN counts as 0.
double ClampRatio(double ratio);

// Left edge of the seek knob for a play position.
double KnobLeft(double grooveLeft, double grooveWidth, double knobWidth, double seekPos, double mediaLength);

// The seek step of a seek-menu caption ("0.5 Sec", "5   Frame", "1  Min"):
// frames are divided by the frame rate, minutes become seconds; a music file
// that counts in hundredths multiplies it by 100. An empty caption gives 0.
double SeekStepOf(const QString &caption, double frameRate, bool inHundredths);

// Speed steps of a video: slower goes down by 250 (to 100 from 250 and below);
// faster goes to the next multiple of 250.
int SlowerSpeed(int controlSpeed, int playSpeed);
int FasterSpeed(int playSpeed);
constexpr int MaxSpeed = 2250;

// Seconds of an audio-CD time "mm:ss:ff", its frame count read as hundredths.
double CdTimeToSeconds(const QString &mmssff);

// The track file of an audio-CD track on a drive: <drive>/Track05.cda.
QString CdTrackPath(const QString &cdDrive, int track);

// The screen-size class: the width, or 640, 800, 1024, 1152, 1280 or 1600 for
// a screen 480, 600, 768, 864, 1024 or 1200 pixels high.
int ScreenClassOf(int width, int height);

// A number as the player writes it into texts: whole numbers without a point.
QString NumberText(double value);

// "Volume=70%" for level 700.
QString VolumeText(int level);

} // namespace PlaybackRules
