#include "PlaybackRules.h"

#include <gtest/gtest.h>
#include <cmath>

using namespace PlaybackRules;

TEST(VolumePacking, BothHalvesCarryTheClampedChannelValue)
{
    EXPECT_EQ(PackVolume(1000), 0xFFFFFFFFu);
    EXPECT_EQ(PackVolume(1200), 0xFFFFFFFFu);
    EXPECT_EQ(PackVolume(500), 0x7FFF7FFFu);
    EXPECT_EQ(PackVolume(0), 0u);
    EXPECT_EQ(PackVolume(-300), 0u);
    EXPECT_EQ(PackVolume(600), (39321u << 16) | 39321u);
    EXPECT_EQ(PackVolume(1), (65u << 16) | 65u);
}

TEST(VolumePacking, EveryFamilyStartsAtItsMapperEvenWithoutDevices)
{
    const auto calls = DeviceVolumeCalls(500, 0, 2, 0);
    const QList<DeviceVolumeCall> expected = {
        {DeviceFamily::Auxiliary, -1, 0x7FFF7FFFu},
        {DeviceFamily::WaveOut, -1, 0x7FFF7FFFu},
        {DeviceFamily::WaveOut, 0, 0x7FFF7FFFu},
        {DeviceFamily::WaveOut, 1, 0x7FFF7FFFu},
        {DeviceFamily::MidiOut, -1, 0x7FFF7FFFu},
    };
    EXPECT_EQ(calls, expected);
}

TEST(SeekGroove, RatiosAndKnobStayWithinTheGroove)
{
    EXPECT_EQ(ClampRatio(-0.5), 0);
    EXPECT_EQ(ClampRatio(1.7), 1);
    EXPECT_EQ(ClampRatio(std::nan("")), 0);
    EXPECT_EQ(ClampRatio(0.25), 0.25);

    // groove 1000..4000, knob 200 wide: travel 2800
    EXPECT_EQ(KnobLeft(1000, 3000, 200, 50, 100), 2400);
    EXPECT_EQ(KnobLeft(1000, 3000, 200, 150, 100), 3800);   // past the end
    EXPECT_EQ(KnobLeft(1000, 3000, 200, -5, 100), 1000);
    EXPECT_EQ(KnobLeft(1000, 3000, 200, 5, 0), 1002);       // no length: two twips in
    EXPECT_EQ(KnobLeft(1000, 3000, 200, 5, -1), 1002);
    EXPECT_EQ(KnobLeft(1000, 100, 200, 50, 100), 1000);     // knob wider than the groove
}

TEST(SeekStep, CaptionsOfTheSeekMenu)
{
    EXPECT_DOUBLE_EQ(SeekStepOf("0.5 Sec", 10, true), 50);
    EXPECT_DOUBLE_EQ(SeekStepOf("5   Frame", 30, false), 1.0 / 6);
    EXPECT_DOUBLE_EQ(SeekStepOf("1  Min", 30, false), 60);
    EXPECT_DOUBLE_EQ(SeekStepOf("10  Min", 30, true), 60000);
    EXPECT_DOUBLE_EQ(SeekStepOf("10 Frame", 0, false), 0);
    EXPECT_DOUBLE_EQ(SeekStepOf("", 30, true), 0);
}

TEST(SpeedSteps, SlowerAndFaster)
{
    EXPECT_EQ(SlowerSpeed(1000, 1000), 750);
    EXPECT_EQ(SlowerSpeed(250, 250), 100);
    EXPECT_EQ(SlowerSpeed(300, 300), 50);     // above 250: down by 250 from the play speed
    EXPECT_EQ(FasterSpeed(1000), 1250);
    EXPECT_EQ(FasterSpeed(100), 250);
    EXPECT_EQ(FasterSpeed(2000), 2250);
}

TEST(CdTimes, FramesReadAsHundredthsAndTrackFiles)
{
    EXPECT_DOUBLE_EQ(CdTimeToSeconds("01:30:45"), 90.45);
    EXPECT_DOUBLE_EQ(CdTimeToSeconds(""), 0);
    EXPECT_EQ(CdTrackPath("/media/cd", 5), "/media/cd/Track05.cda");
    EXPECT_EQ(CdTrackPath("/media/cd/", 12), "/media/cd/Track12.cda");
    EXPECT_EQ(VolumeText(700), "Volume=70%");
}
