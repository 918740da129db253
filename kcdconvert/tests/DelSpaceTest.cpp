#include "DelSpace.h"
#include "KcdTestFiles.h"

#include <gtest/gtest.h>

TEST(DelSpace, KeepsBlanksAfterLatinLettersAndDigits)
{
    EXPECT_EQ(DelSpace(QStringLiteral("a  b")), QStringLiteral("a  b"));
    EXPECT_EQ(DelSpace(QStringLiteral("Love 2 Me")), QStringLiteral("Love 2 Me"));
    // The signs between "Z" and "a" count as letters.
    EXPECT_EQ(DelSpace(QStringLiteral("a[ b")), QStringLiteral("a[ b"));
}

TEST(DelSpace, DropsBlanksAfterOtherCharacters)
{
    EXPECT_EQ(DelSpace(QStringLiteral("中 文")), QStringLiteral("中文"));
    EXPECT_EQ(DelSpace(QStringLiteral("中 a")), QStringLiteral("中a"));
    EXPECT_EQ(DelSpace(QStringLiteral("é b")), QStringLiteral("éb"));
}

TEST(DelSpace, DropsFullWidthBlanksEverywhere)
{
    EXPECT_EQ(DelSpace(QStringLiteral("　中　文　")), QStringLiteral("中文"));
    EXPECT_EQ(DelSpace(QStringLiteral("a　b")), QStringLiteral("ab"));
}

TEST(DelSpace, StopsAtTheThirdBlankInARow)
{
    EXPECT_EQ(DelSpace(QStringLiteral("ab   cd")), QStringLiteral("ab"));
    // Both kinds count, dropped or kept.
    EXPECT_EQ(DelSpace(QStringLiteral("a 　 b")), QStringLiteral("a"));
    EXPECT_EQ(DelSpace(QStringLiteral("中　　　文")), QStringLiteral("中"));
    // Any other character starts the count again.
    EXPECT_EQ(DelSpace(QStringLiteral("a  b  c")), QStringLiteral("a  b  c"));
}

TEST(DelSpace, TrimsBothEnds)
{
    EXPECT_EQ(DelSpace(QStringLiteral("  abc  ")), QStringLiteral("abc"));
    EXPECT_EQ(DelSpace(QStringLiteral("   abc")), QString());
}

TEST(DelSpace, ReplacesSeparatorsAndSignsUnfitForFileNames)
{
    EXPECT_EQ(DelSpace(QStringLiteral("a/b:c")), QStringLiteral("a_b：c"));
    EXPECT_EQ(DelSpace(QStringLiteral("a\\b?c.d")), QStringLiteral("a_b？c．d"));
    // "_" from a separator is a letter for the blank rule; "：" is not.
    EXPECT_EQ(DelSpace(QStringLiteral("a/ b: c")), QStringLiteral("a_ b：c"));
}

TEST(DelSpace, NamesThatCouldLeaveAFolderBecomeHarmless)
{
    EXPECT_EQ(DelSpace(QStringLiteral("..")), QStringLiteral("．．"));
    EXPECT_EQ(DelSpace(QStringLiteral("../x")), QStringLiteral("．．_x"));
    EXPECT_EQ(DelSpace(QStringLiteral("　 ")), QString());
}
