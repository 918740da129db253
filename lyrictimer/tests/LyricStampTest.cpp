#include "LyricStamp.h"

#include <gtest/gtest.h>

using namespace LyricStamp;

TEST(StampLine, UnstampedLineKeepsAllItsTextAfterTheStamp)
{
    EXPECT_EQ(stampLine("hello", "01:02:34"), "01:02:3hello");
    EXPECT_EQ(stampLine("00:10:5hello", "01:02:34"), "01:02:3hello");
    EXPECT_EQ(stampLine("", "00:00:99"), "00:00:9");
    // Chinese text stays whole after the stamp.
    EXPECT_EQ(stampLine("00:01:0第一句", "00:05:10"), "00:05:1第一句");
}

TEST(StampLine, ShortStampedLineBecomesTheStampAlone)
{
    EXPECT_EQ(stampLine("ab:c", "01:02:34"), "01:02:3");
}

TEST(ShiftStamp, HalfSecondAcrossMinuteAndBack)
{
    EXPECT_EQ(shiftStamp("00:59:7abc", 50), "01:00:2abc");
    EXPECT_EQ(shiftStamp("01:00:2abc", -50), "00:59:7abc");
    EXPECT_EQ(shiftStamp("09:59:9x", 50), "10:00:4x");
}

TEST(ShiftStamp, NeverBelowZeroAndUnstampedLinesUntouched)
{
    EXPECT_EQ(shiftStamp("00:00:3abc", -50), "00:00:0abc");
    EXPECT_EQ(shiftStamp("hello", 50), "hello");
    EXPECT_EQ(shiftStamp("", -50), "");
}

TEST(MscToSec, RoundsToTheNearestSecond)
{
    EXPECT_EQ(MscToSec("00:00:00"), 0);
    EXPECT_EQ(MscToSec("01:02:49"), 62);
    EXPECT_EQ(MscToSec("01:02:51"), 63);
    EXPECT_EQ(MscToSec("99:99:99"), 99 * 60 + 100);
    EXPECT_EQ(MscToSec(""), 0);
    EXPECT_EQ(MscToSec("03"), 180);
}

TEST(PlayTimes, FromMillisecondsAndCdPositions)
{
    EXPECT_EQ(msToPlayTime(0), "00:00:00");
    EXPECT_EQ(msToPlayTime(62345), "01:02:34");
    EXPECT_EQ(msToPlayTime(-5), "00:00:00");
    // Frames (75 a second) become hundredths, so a stamp ends in the tenth.
    EXPECT_EQ(cdPositionToPlayTime("05:01:02:74"), "01:02:98");
    EXPECT_EQ(cdPositionToPlayTime("05:01:02:38"), "01:02:50");
    EXPECT_EQ(cdPositionToPlayTime("garbage"), "00:00:00");
}

TEST(SavedLines, DropsEverythingUpToTheFirstEqualsAndEmptyLines)
{
    EXPECT_EQ(savedLines({"01:00:0a=b", "", "01:01:0c"}), QStringList({"b", "01:01:0c"}));
    EXPECT_EQ(savedLines({"x=", "a=b=c", "title"}), QStringList({"b=c", "title"}));
}
