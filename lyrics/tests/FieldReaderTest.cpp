#include "FieldReader.h"

#include <gtest/gtest.h>

TEST(FieldReader, CommaAndLineEndsSplitFieldsAndLeadingBlanksAreSkipped)
{
    const FieldReadResult r = ReadFields(QStringLiteral("Title\r\n00:10:0 one,  two\r\n\r\n00:20:0 three\n"));
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(r.fields, (QStringList{"Title", "00:10:0 one", "two", "", "00:20:0 three"}));
}

TEST(FieldReader, QuotedFieldKeepsCommasAndDropsItsQuotes)
{
    const FieldReadResult r = ReadFields(QStringLiteral("\"a, b\"junk,c\r\n  \"x\"\r\n"));
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(r.fields, (QStringList{"a, b", "c", "x"}));
}

TEST(FieldReader, UnclosedQuoteEndsTheReadWithWhatCameBefore)
{
    const FieldReadResult r = ReadFields(QStringLiteral("one\r\n\"two\r\nthree\r\n"));
    EXPECT_FALSE(r.complete);
    EXPECT_EQ(r.fields, (QStringList{"one"}));
}

TEST(FieldReader, ChineseTextAndLastLineWithoutLineEnd)
{
    const FieldReadResult r = ReadFields(QStringLiteral("功能設定\r\n00:01:2 歌詞"));
    EXPECT_EQ(r.fields, (QStringList{"功能設定", "00:01:2 歌詞"}));
}
