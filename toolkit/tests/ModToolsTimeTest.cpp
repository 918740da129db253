#include "ModTools.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(SecToTime, WritesTwoDigitFieldsThatGrowWhenNeeded) {
    EXPECT_EQ(SecToTime(0), QStringLiteral("00:00:00"));
    EXPECT_EQ(SecToTime(3661), QStringLiteral("01:01:01"));
    EXPECT_EQ(SecToTime(360000), QStringLiteral("100:00:00"));
    EXPECT_EQ(SecToTime(59), QStringLiteral("00:00:59"));
}

// Rounding the seconds field alone would show 59.5 s as "00:00:00" and 119.6 s as "00:01:00".
TEST(SecToTime, RoundsTheWholeDurationBeforeSplittingIt) {
    EXPECT_EQ(SecToTime(59.5), QStringLiteral("00:01:00"));
    EXPECT_EQ(SecToTime(119.6), QStringLiteral("00:02:00"));
    EXPECT_EQ(SecToTime(3599.5), QStringLiteral("01:00:00"));
    EXPECT_EQ(SecToTime(2.5), QStringLiteral("00:00:02"));  // halves to even
    EXPECT_EQ(SecToTime(3.5), QStringLiteral("00:00:04"));
}

TEST(HsecToTime, WritesMinutesSecondsHundredths) {
    EXPECT_EQ(HsecToTime(6150), QStringLiteral("01:01:50"));
    EXPECT_EQ(HsecToTime(0), QStringLiteral("00:00:00"));
    EXPECT_EQ(HsecToTime(540000), QStringLiteral("90:00:00"));  // no hour field
    EXPECT_EQ(HsecToTime(5999.5), QStringLiteral("01:00:00"));
}

TEST(TimeToSec, ReadsTheFirstEightCharactersAsAClockTime) {
    EXPECT_EQ(TimeToSec(QStringLiteral("00:03:25")), 205);
    EXPECT_EQ(TimeToSec(QStringLiteral("00:03:25 and more")), 205);
    EXPECT_EQ(TimeToSec(QStringLiteral("00:03:2599")), 205);
    EXPECT_EQ(TimeToSec(QStringLiteral("01:02")), 3720);  // two fields are hours and minutes
    EXPECT_EQ(TimeToSec(QStringLiteral("09:06:07")), 32767);
    EXPECT_EQ(TimeToSec(QStringLiteral("00:59:59")), 3599);  // the last minute and second of a field
    EXPECT_EQ(TimeToSec(QStringLiteral("01:59")), 7140);
}

TEST(TimeToSec, GivesZeroForNoTimeAndForSumsBeyond16Bits) {
    EXPECT_EQ(TimeToSec(QString()), 0);
    EXPECT_EQ(TimeToSec(QStringLiteral("hello")), 0);
    EXPECT_EQ(TimeToSec(QStringLiteral("00:61:00")), 0);
    EXPECT_EQ(TimeToSec(QStringLiteral("00:60:00")), 0);
    EXPECT_EQ(TimeToSec(QStringLiteral("00:00:60")), 0);
    EXPECT_EQ(TimeToSec(QStringLiteral("25:00:00")), 0);
    EXPECT_EQ(TimeToSec(QStringLiteral("09:06:08")), 0);
    EXPECT_EQ(TimeToSec(QStringLiteral("10:00:00")), 0);
}

TEST(FmtTime, Writes24HourClock) {
    EXPECT_EQ(FmtTime(QTime(7, 5, 3)), QStringLiteral("07:05:03"));
    EXPECT_EQ(FmtTime(QTime(23, 59, 59)), QStringLiteral("23:59:59"));
}

TEST(SecToTime, OddInputsGiveReadableTexts) {
    EXPECT_EQ(SecToTime(std::nan("")), QStringLiteral("00:00:00"));
    EXPECT_EQ(SecToTime(-61), QStringLiteral("-00:01:01"));
    EXPECT_EQ(SecToTime(1e12), QStringLiteral("277777777:46:40"));
}
