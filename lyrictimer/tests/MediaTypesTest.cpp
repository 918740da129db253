#include "MediaTypes.h"

#include <gtest/gtest.h>

using namespace MediaTypes;

TEST(MediaTypes, PatternHoldsTheTickedNamesEachEndedByCrLf)
{
    const QStringList names = TypeNames();
    ASSERT_EQ(names.size(), 6);
    EXPECT_EQ(names.at(2), "MP3 (*.mp3)");
    EXPECT_EQ(typePattern({names.at(1), names.at(2)}), "MIDI (*.mid,*.rmi)\r\nMP3 (*.mp3)\r\n");
    EXPECT_EQ(typePattern({}), "");
}

TEST(MediaTypes, FilesPickedByTheirExtension)
{
    const QString mp3Only = typePattern({TypeNames().at(2)});
    EXPECT_TRUE(matchesPattern("a.mp3", mp3Only));
    EXPECT_TRUE(matchesPattern("LOUD.MP3", mp3Only));
    EXPECT_FALSE(matchesPattern("a.wav", mp3Only));
    EXPECT_FALSE(matchesPattern("README", mp3Only));
    const QString all = typePattern(TypeNames());
    EXPECT_EQ(playableFiles({"a.txt", "b.wav", "c.mp3", "d.aiff", "Track01.cda", "e.jpg"}, all),
              QStringList({"b.wav", "c.mp3", "d.aiff", "Track01.cda"}));
    // With MP3 unticked the .mp3 files are left out.
    QStringList withoutMp3 = TypeNames();
    withoutMp3.removeAt(2);
    EXPECT_EQ(playableFiles({"b.wav", "c.mp3"}, typePattern(withoutMp3)), QStringList({"b.wav"}));
}

TEST(MediaTypes, CdTracksAndPaths)
{
    EXPECT_TRUE(isCdTrack("/media/cd/Track05.cda"));
    EXPECT_FALSE(isCdTrack("/music/a.mp3"));
    EXPECT_EQ(cdTrackNumber("/media/cd/Track05.cda"), 5);
    EXPECT_EQ(cdTrackNumber("/media/cd/Track12.cda"), 12);
    EXPECT_EQ(cdTrackNumber("/media/cd/Track7.cda"), 7);
    EXPECT_EQ(cdTrackNumber("/media/cd/Track.cda"), 0);
    EXPECT_EQ(entryPath("/music", "a.mp3"), "/music/a.mp3");
    EXPECT_EQ(entryPath("/", "a.mp3"), "/a.mp3");
    EXPECT_EQ(lastFolderName("/music/Song"), "Song");
    EXPECT_EQ(lastFolderName("/music/Song/"), "Song");
    EXPECT_EQ(lastFolderName("/"), "");
}
