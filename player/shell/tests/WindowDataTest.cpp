#include "WindowData.h"
#include "ShellTestSupport.h"

#include <gtest/gtest.h>

using ShellTest::MemoryStore;

TEST(WindowData, FirstRunDefaults)
{
    MemoryStore m;
    const WindowData d = WindowDataRules::read(m.store(), {}, "/prog");
    EXPECT_EQ(d.DeskPic, "");
    EXPECT_EQ(d.CutPic, "/prog/Cut/cut-000.bmp");
    EXPECT_EQ(d.Width, 354);
    EXPECT_EQ(d.Height, 242);
    EXPECT_EQ(d.CutWidth, 354);
    EXPECT_EQ(d.CutHeight, 242);
    EXPECT_EQ(d.Volume, 1000);
    EXPECT_EQ(d.SearchDrive, "");
}

TEST(WindowData, VideoSizeMustExceedOneHundred)
{
    MemoryStore m;
    m.values = {{"Width", "100"}, {"Height", "101"}};
    const WindowData d = WindowDataRules::read(m.store(), {}, "/p");
    EXPECT_EQ(d.Width, 354);
    EXPECT_EQ(d.Height, 101);
}

TEST(WindowData, GarbageAndOutOfRangeFallBackToDefaults)
{
    MemoryStore m;
    m.values = {{"Width", "abc"},       {"Height", "1e30"},     {"CutWidtht", "x"},
                {"CutHeight", "-5"},    {"Volume", "99999"},    {"R", "40"},
                {"G", "50"},            {"B", "60"},            {"Light", "-70"},
                {"CDROMPATH", "/Music"}};
    const WindowData d = WindowDataRules::read(m.store(), {352, 240}, "/p");
    EXPECT_EQ(d.Width, 352);
    EXPECT_EQ(d.Height, 240);
    EXPECT_EQ(d.CutWidth, 352);
    EXPECT_EQ(d.CutHeight, 240);
    EXPECT_EQ(d.Volume, 1000);
    m.values["Volume"] = "abc";
    EXPECT_EQ(WindowDataRules::read(m.store(), {}, "/p").Volume, 1000);
    // Colour bars and the search folder are never read back.
    EXPECT_EQ(d.ColourBars[0], 0);
    EXPECT_EQ(d.ColourBars[1], 0);
    EXPECT_EQ(d.ColourBars[2], 0);
    EXPECT_EQ(d.ColourBars[3], 0);
    EXPECT_EQ(d.SearchFolder, "");
}

TEST(WindowData, WriteOrderAndRoundTrip)
{
    MemoryStore m;
    WindowData d;
    d.DeskPic = "/skin/Blue.jpg";
    d.CutPic = "/cut/x.bmp";
    d.Width = 440;
    d.Height = 300;
    d.CutWidth = 320;
    d.CutHeight = 200;
    d.ColourBars[0] = 40;
    d.Volume = 700;
    d.SearchFolder = "/Music";
    d.SearchDrive = "/media";
    WindowDataRules::write(m.store(), d);
    EXPECT_EQ(m.writes, (QStringList{"DeskPic", "CutPic", "Width", "Height", "CutHeight", "CutWidtht", "R",
                                     "G", "B", "Light", "Volume", "CDROMPATH", "CDROMDISK"}));
    const WindowData back = WindowDataRules::read(m.store(), {}, "/p");
    EXPECT_EQ(back.DeskPic, d.DeskPic);
    EXPECT_EQ(back.Width, 440);
    EXPECT_EQ(back.Height, 300);
    EXPECT_EQ(back.CutWidth, 320);
    EXPECT_EQ(back.CutHeight, 200);
    EXPECT_EQ(back.Volume, 700);
    EXPECT_EQ(back.SearchDrive, "/media");
    EXPECT_EQ(back.SearchFolder, "");
}
