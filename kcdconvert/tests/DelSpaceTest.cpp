#include "DelSpace.h"

#include <gtest/gtest.h>

TEST(DelSpace, KeepsTwoBlanksBetweenLatinLetters)
{
    EXPECT_EQ(DelSpace(QStringLiteral("a  b")), QStringLiteral("a  b"));
}
