#include "PlayerOptions.h"
#include "ShellTestSupport.h"

#include <gtest/gtest.h>

using ShellTest::MemoryStore;

TEST(PlayerOptions, OptionGroupsFollowButtonByButtonReading)
{
    MemoryStore m;
    EXPECT_EQ(OptionRules::readGroup(m.store(), OptionGroups::ScanType()), 2);  // design choice
    m.values = {{"ScanType1", "True"}, {"ScanType2", "True"}, {"ScanType3", "False"}};
    EXPECT_EQ(OptionRules::readGroup(m.store(), OptionGroups::ScanType()), 1);  // the later True wins
    m.values = {{"ScanType1", "False"}, {"ScanType2", "False"}, {"ScanType3", "False"}};
    EXPECT_EQ(OptionRules::readGroup(m.store(), OptionGroups::ScanType()), -1);  // none chosen
    m.values = {{"ScanType1", "abc"}, {"ScanType2", "7"}};
    EXPECT_EQ(OptionRules::readGroup(m.store(), OptionGroups::ScanType()), 2);  // garbage keeps design
}

TEST(PlayerOptions, NumbersOutsideTheirRangeFallBack)
{
    MemoryStore m;
    m.values = {{"Volume", "abc"}, {"ShowTime", "31"}, {"CutDelay", "x"}, {"GameCD", "5"}};
    EXPECT_EQ(OptionRules::readVolume(m.store()), 1000);
    EXPECT_EQ(OptionRules::readShowTime(m.store(), 5), 5);
    EXPECT_EQ(OptionRules::readCutDelay(m.store(), "1.0"), "1.0");
    EXPECT_EQ(OptionRules::readCheck(m.store(), "GameCD", 0), 0);
    m.values = {{"Volume", "99999"}, {"ShowTime", "-1"}, {"CutDelay", "11"}, {"GameCD", "2"}};
    EXPECT_EQ(OptionRules::readVolume(m.store()), 1000);
    EXPECT_EQ(OptionRules::readShowTime(m.store(), 7), 7);
    EXPECT_EQ(OptionRules::readCutDelay(m.store(), "1.0"), "1.0");
    EXPECT_EQ(OptionRules::readCheck(m.store(), "GameCD", 0), 2);
    m.values = {{"Volume", "0"}, {"ShowTime", "30"}, {"CutDelay", "2.5"}};
    EXPECT_EQ(OptionRules::readVolume(m.store()), 0);
    EXPECT_EQ(OptionRules::readShowTime(m.store(), 5), 30);
    EXPECT_EQ(OptionRules::readCutDelay(m.store(), "1.0"), "2.5");
}

TEST(PlayerOptions, EmptyFolderCountsAsMissing)
{
    MemoryStore m;
    m.values = {{"SongTempDir", ""}, {"CutDir", "/x"}};
    EXPECT_EQ(OptionRules::readFolder(m.store(), "SongTempDir", "/def"), "/def");
    EXPECT_EQ(OptionRules::readFolder(m.store(), "CutDir", "/def"), "/x");
}

TEST(PlayerOptions, FirstStartFileTypesAndPattern)
{
    MemoryStore m;
    const auto list = OptionRules::readFileTypes(m.store());
    ASSERT_EQ(list.size(), 8);
    QVector<bool> sel;
    for (const auto& e : list) sel << e.selected;
    EXPECT_EQ(sel, (QVector<bool>{true, true, true, false, true, true, false, false}));
    EXPECT_EQ(OptionRules::ChkPatten(list), "*.CDA;*.DAT;*.AVI;*.MP3;*.MID");
}

TEST(PlayerOptions, PatternOfOddEntries)
{
    EXPECT_EQ(OptionRules::ChkExtName("MP3 (*.mp3)"), "*.mp3");
    EXPECT_EQ(OptionRules::ChkExtName("no pattern"), "");
    EXPECT_EQ(OptionRules::ChkExtName("x(*.)"), "x(*.");  // five characters before ")" at most
    QVector<FileTypeEntry> none{{"MP3 (*.mp3)", false}};
    EXPECT_EQ(OptionRules::ChkPatten(none), "");
    QVector<FileTypeEntry> bad{{"junk", true}, {"OGG (*.ogg)", true}};
    EXPECT_EQ(OptionRules::ChkPatten(bad), ";*.OGG");
}

TEST(PlayerOptions, FileTypesRoundTripWithUserEntriesAndEndMark)
{
    MemoryStore m;
    auto list = OptionRules::readFileTypes(m.store());
    list.append({"OGG (*.ogg)", true});
    list.append({"FLAC (*.fla)", false});
    OptionRules::writeFileTypes(m.store(), list);
    EXPECT_EQ(m.values.value("FileTypeText10"), "");
    EXPECT_EQ(OptionRules::readFileTypes(m.store()), list);

    // A shorter list ends where it now ends.
    list.removeLast();
    OptionRules::writeFileTypes(m.store(), list);
    EXPECT_EQ(OptionRules::readFileTypes(m.store()), list);
}

TEST(PlayerOptions, DeletedBuiltInTypeComesBackAndKeepsTheUsersEntries)
{
    MemoryStore m;
    auto list = OptionRules::readFileTypes(m.store());
    list[7].selected = true;
    list.append({"OGG (*.ogg)", true});
    list.append({"AAC (*.aac)", false});
    list.remove(7);  // the user deletes "MPEG (*.mpg)"
    OptionRules::writeFileTypes(m.store(), list);

    const auto again = OptionRules::readFileTypes(m.store());
    ASSERT_EQ(again.size(), 10);
    EXPECT_EQ(again[7], (FileTypeEntry{"MPEG (*.mpg)", false}));
    EXPECT_EQ(again[8], (FileTypeEntry{"OGG (*.ogg)", true}));
    EXPECT_EQ(again[9], (FileTypeEntry{"AAC (*.aac)", false}));
}

TEST(PlayerOptions, StoredBuiltInTextsNeverReplaceTheBuiltIns)
{
    MemoryStore m;
    m.values = {{"FileTypeText2", "Changed (*.xyz)"}, {"FileType2", "False"}};
    const auto list = OptionRules::readFileTypes(m.store());
    EXPECT_EQ(list[2], (FileTypeEntry{"AVI (*.avi)", false}));
}

TEST(PlayerOptions, EmptyFileTypeEntriesAreSkippedWhenWritten)
{
    MemoryStore m;
    auto list = OptionRules::readFileTypes(m.store());
    list.append({"", true});
    list.append({"OGG (*.ogg)", true});
    OptionRules::writeFileTypes(m.store(), list);
    EXPECT_EQ(m.values.value("FileTypeText8"), "OGG (*.ogg)");
    EXPECT_EQ(m.values.value("FileType8"), "True");
    EXPECT_EQ(m.values.value("FileTypeText9"), "");
    list.remove(8);
    EXPECT_EQ(OptionRules::readFileTypes(m.store()), list);
}
