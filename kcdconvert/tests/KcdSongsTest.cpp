#include "KcdSongs.h"
#include "KcdTestFiles.h"

#include <gtest/gtest.h>

namespace {

const QString kAlbumTitleField = QStringLiteral("情人的眼淚曲:作曲者詞:作詞者＠我的專集＠");

QStringList twoSongs()
{
    return {
        "12", kAlbumTitleField, "00:10:5 00:14:2 00:18:0 ", QStringLiteral("第一句＠第二句＠"),
        "15", QStringLiteral("第二首 詞:某人＠"), "00:05:0 00:09:5 ",
        QStringLiteral("歌詞一＠歌詞二＠歌詞三＠歌詞四＠"),
    };
}

} // namespace

TEST(ListKcdSongs, ListsEachRecordByNumberAndTitleFieldIndex)
{
    const KcdSongListing listing = ListKcdSongs(twoSongs(), {});
    EXPECT_EQ(listing.songNames, (QStringList{QStringLiteral("01_情人的眼淚"), QStringLiteral("02_第二首")}));
    EXPECT_EQ(listing.titleFields, (QStringList{QStringLiteral("001 情人的眼淚"), QStringLiteral("005 第二首")}));
    ASSERT_TRUE(listing.album.has_value());
    EXPECT_EQ(*listing.album, QStringLiteral("我的專集"));
}

TEST(ListKcdSongs, SongNumberMustBeTenOrMoreWithTwoCharacters)
{
    const QStringList fields{"5", "a", " 9 ", "b", "10", QStringLiteral("十號"), "00:01:0 ", "x"};
    const KcdSongListing listing = ListKcdSongs(fields, {});
    EXPECT_EQ(listing.songNames, (QStringList{QStringLiteral("01_十號")}));
    EXPECT_EQ(listing.titleFields, (QStringList{QStringLiteral("005 十號")}));
    // The first record starts at field 4: no album.
    EXPECT_FALSE(listing.album.has_value());
}

TEST(ListKcdSongs, NumberFieldAtTheEndHasNoTitleAndIsNoSong)
{
    EXPECT_TRUE(ListKcdSongs({"a", "12"}, {}).songNames.isEmpty());
}

TEST(TitleOfTitleField, EndsAtTheEarliestMark)
{
    EXPECT_EQ(TitleOfTitleField(QStringLiteral("歌名曲:甲詞:乙＠專集")), QStringLiteral("歌名"));
    EXPECT_EQ(TitleOfTitleField(QStringLiteral("歌名詞:乙曲:甲")), QStringLiteral("歌名"));
    EXPECT_EQ(TitleOfTitleField(QStringLiteral("歌名＠專集＠")), QStringLiteral("歌名"));
    EXPECT_EQ(TitleOfTitleField(QStringLiteral("歌名")), QStringLiteral("歌名"));
}

TEST(AlbumOfTitleField, TextAfterTheFirstMarkLessTheLastCharacter)
{
    EXPECT_EQ(AlbumOfTitleField(QStringLiteral("歌＠專集＠")), QStringLiteral("專集"));
    EXPECT_EQ(AlbumOfTitleField(QStringLiteral("歌＠專＠集\"")), QStringLiteral("專＠集"));
    EXPECT_EQ(AlbumOfTitleField(QStringLiteral("歌名")), QString());
    EXPECT_EQ(AlbumOfTitleField(QStringLiteral("歌＠")), QString());
}

TEST(ListKcdSongs, SongNumbersBeyondNinetyNineKeepAllDigits)
{
    QStringList fields;
    for (int i = 0; i < 100; ++i)
        fields << "10" << QStringLiteral("歌%1").arg(i);
    const KcdSongListing listing = ListKcdSongs(fields, {});
    ASSERT_EQ(listing.songNames.size(), 100);
    EXPECT_EQ(listing.songNames.last(), QStringLiteral("100_歌99"));
    EXPECT_EQ(listing.titleFields.last(), QStringLiteral("199 歌99"));
    EXPECT_EQ(TitleFieldIndex(listing.titleFields.last()), 199);
}

// A title that starts with digits must not run into the index before it.
TEST(TitleFieldIndex, ReadsOnlyTheDigitsBeforeTheBlank)
{
    EXPECT_EQ(TitleFieldIndex(QStringLiteral("012 5566")), 12);
    EXPECT_EQ(TitleFieldIndex(QStringLiteral("001 歌")), 1);
}

TEST(ReadKcdSongLines, ThreeStampsTwoLyricLinesEndMarkOnTheLoneStamp)
{
    const KcdSongLines song = ReadKcdSongLines(twoSongs(), 1, QStringLiteral("01_情人的眼淚"), {});
    EXPECT_EQ(song.lines, (QStringList{QStringLiteral("00:00:0 01_情人的眼淚"), QStringLiteral("00:10:5 第一句"),
                                       QStringLiteral("00:14:2 第二句"), QStringLiteral("00:18:0 ---End---")}));
    EXPECT_EQ(song.droppedLyricLines, 0);
}

TEST(ReadKcdSongLines, LyricLinesBeyondTheLastStampAreLeftOut)
{
    const KcdSongLines song = ReadKcdSongLines(twoSongs(), 5, QStringLiteral("02_第二首"), {});
    EXPECT_EQ(song.lines, (QStringList{QStringLiteral("00:00:0 02_第二首"), QStringLiteral("00:05:0 歌詞一"),
                                       QStringLiteral("00:09:5 歌詞二")}));
    EXPECT_EQ(song.droppedLyricLines, 2);
}

TEST(ReadKcdSongLines, TimeFieldWithoutTrailingSeparatorAndLyricWithoutTrailingMark)
{
    const QStringList fields{"10", "a", "00:01:0 00:02:0 00:03:0", QStringLiteral("一＠二＠三")};
    const KcdSongLines song = ReadKcdSongLines(fields, 1, "01_a", {});
    EXPECT_EQ(song.lines, (QStringList{"00:00:0 01_a", QStringLiteral("00:01:0 一"), QStringLiteral("00:02:0 二"),
                                       QStringLiteral("00:03:0 三")}));
}

TEST(ReadKcdSongLines, LyricLinesPassThroughDelSpace)
{
    const QStringList fields{"10", "a", "00:01:0 00:02:0 ", QStringLiteral("我 愛 你＠I  love   you＠")};
    const KcdSongLines song = ReadKcdSongLines(fields, 1, "01_a", {});
    EXPECT_EQ(song.lines.value(1), QStringLiteral("00:01:0 我愛你"));
    EXPECT_EQ(song.lines.value(2), QStringLiteral("00:02:0 I  love"));
}

TEST(ReadKcdSongLines, StopsAtTheNextSongAndIgnoresFieldsBeforeStartPos)
{
    // The next record ends the song, also one numbered exactly 10.
    for (const QString next : {"12", "10"}) {
        const QStringList fields{"00:09:9 ", "old", "11", "a", "00:01:0 ", QStringLiteral("一＠"), next, "b",
                                 "00:07:0 ", QStringLiteral("七＠")};
        const KcdSongLines song = ReadKcdSongLines(fields, 3, "01_a", {});
        EXPECT_EQ(song.lines, (QStringList{"00:00:0 01_a", QStringLiteral("00:01:0 一")})) << next.toStdString();
    }
}

TEST(ReadKcdSongLines, RecordWithoutTimeFieldHasNoLines)
{
    const QStringList fields{"11", "a", QStringLiteral("只有歌詞＠"), "12", "b"};
    EXPECT_TRUE(ReadKcdSongLines(fields, 1, "01_a", {}).lines.isEmpty());
}

TEST(ReadKcdSongLines, StartBeyondTheFileGivesNothing)
{
    EXPECT_TRUE(ReadKcdSongLines(twoSongs(), 500, "x", {}).lines.isEmpty());
}
