#include "VbRuntime.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

TEST(VbVal, ReadsTheLeadingNumber) {
    EXPECT_EQ(Vb::Val("123abc"), 123);
    EXPECT_EQ(Vb::Val("  -12.5xyz"), -12.5);
    EXPECT_EQ(Vb::Val("1 2 3"), 123);       // blanks inside are skipped
    EXPECT_EQ(Vb::Val(".5"), 0.5);
    EXPECT_EQ(Vb::Val("1e3"), 1000);
    EXPECT_EQ(Vb::Val("2D2"), 200);
    EXPECT_EQ(Vb::Val("1e"), 1);            // an exponent without digits is no exponent
    EXPECT_EQ(Vb::Val("1,000"), 1);
    EXPECT_EQ(Vb::Val("&H1F"), 31);
    EXPECT_EQ(Vb::Val("&o17"), 15);
    EXPECT_EQ(Vb::Val(""), 0);
    EXPECT_EQ(Vb::Val("abc"), 0);
    EXPECT_EQ(Vb::Val("-"), 0);
    EXPECT_EQ(Vb::Val("1e999"), 0);          // no overflow to infinity
}

TEST(VbRounding, HalvesGoToTheEvenNeighbourIntFloorsFixTruncates) {
    EXPECT_EQ(Vb::RoundHalfEven(0.5), 0);
    EXPECT_EQ(Vb::RoundHalfEven(1.5), 2);
    EXPECT_EQ(Vb::RoundHalfEven(2.5), 2);
    EXPECT_EQ(Vb::RoundHalfEven(-2.5), -2);
    EXPECT_EQ(Vb::RoundHalfEven(2.6), 3);
    EXPECT_EQ(Vb::Int(-1.5), -2);
    EXPECT_EQ(Vb::Int(1.9), 1);
    EXPECT_EQ(Vb::Fix(-1.5), -1);
}

TEST(VbRounding, ModRoundsItsOperandsFirst) {
    EXPECT_EQ(Vb::Mod(119.6, 60), 0);  // 120 mod 60
    EXPECT_EQ(Vb::Mod(7, 3), 1);
    EXPECT_EQ(Vb::Mod(-7, 3), -1);
    EXPECT_EQ(Vb::Mod(5, 0), 0);       // swallowed, never a crash
}

TEST(VbRanges, SixteenBitConversionsCheckTheirRange) {
    EXPECT_EQ(Vb::toInt16(32767.4), std::optional<int16_t>(32767));
    EXPECT_FALSE(Vb::toInt16(32767.5).has_value());  // rounds to 32768
    EXPECT_EQ(Vb::toInt16(-32768), std::optional<int16_t>(-32768));
    EXPECT_FALSE(Vb::toInt16(-32769).has_value());
    EXPECT_FALSE(Vb::toInt16(std::nan("")).has_value());
    EXPECT_EQ(Vb::toInt16Or(1e9, -1), -1);
    EXPECT_EQ(Vb::toInt32(2147483647.0), std::optional<int32_t>(2147483647));
    EXPECT_FALSE(Vb::toInt32(2147483648.0).has_value());
}

TEST(VbFormat, DigitMasks) {
    EXPECT_EQ(Vb::Format(5, "00"), QStringLiteral("05"));
    EXPECT_EQ(Vb::Format(123, "00"), QStringLiteral("123"));
    EXPECT_EQ(Vb::Format(7, "0000"), QStringLiteral("0007"));
    EXPECT_EQ(Vb::Format(3.14159, "0.00"), QStringLiteral("3.14"));
    EXPECT_EQ(Vb::Format(2.5, "0"), QStringLiteral("3"));  // Format rounds halves away from zero
    EXPECT_EQ(Vb::Format(-2.5, "0"), QStringLiteral("-3"));
    EXPECT_EQ(Vb::Format(1234567, "#,##0"), QStringLiteral("1,234,567"));
    EXPECT_EQ(Vb::Format(1.5, "0.##"), QStringLiteral("1.5"));
    EXPECT_EQ(Vb::Format(1, "0.##"), QStringLiteral("1."));
    EXPECT_EQ(Vb::Format(0, "#"), QString());
    EXPECT_EQ(Vb::Format(42, "Cut0000.BMP"), QStringLiteral("Cut0042.BMP"));
}

TEST(VbFormat, ClockMasks) {
    EXPECT_EQ(Vb::FormatTime(QTime(7, 5, 3), "hh:mm:ss"), QStringLiteral("07:05:03"));
    EXPECT_EQ(Vb::FormatTime(QTime(17, 5, 3), "h:nn"), QStringLiteral("17:05"));
}

TEST(VbConversions, TextsOfValues) {
    EXPECT_EQ(Vb::CStr(true), QStringLiteral("True"));
    EXPECT_EQ(Vb::CStr(false), QStringLiteral("False"));
    EXPECT_EQ(Vb::CStr(3.0), QStringLiteral("3"));
    EXPECT_EQ(Vb::CStr(0.1), QStringLiteral("0.1"));
    EXPECT_EQ(Vb::CStr(12), QStringLiteral("12"));
    EXPECT_EQ(Vb::CStr(QStringLiteral("x")), QStringLiteral("x"));
    EXPECT_TRUE(Vb::CBool("TRUE"));
    EXPECT_FALSE(Vb::CBool("false"));
    EXPECT_TRUE(Vb::CBool("-1"));
    EXPECT_FALSE(Vb::CBool("0"));
    EXPECT_EQ(Vb::Hex(0xDEADBEEF), QStringLiteral("DEADBEEF"));
    EXPECT_EQ(Vb::Hex(0), QStringLiteral("0"));
}

TEST(VbTimer, IntervalZeroNeverFires) {
    QTimer timer;
    int fired = 0;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++fired; });
    Vb::setTimer(timer, 0, true);
    EXPECT_FALSE(timer.isActive());
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 30) QCoreApplication::processEvents();
    EXPECT_EQ(fired, 0);

    Vb::setTimer(timer, 5, true);
    EXPECT_TRUE(timer.isActive());
    Vb::setTimer(timer, 5, false);
    EXPECT_FALSE(timer.isActive());
}
