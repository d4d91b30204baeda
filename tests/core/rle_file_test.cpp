#include <gtest/gtest.h>

#include <algorithm>

#include "core/temp_folder.h"
#include "core/test_support.h"
#include "engine/rule_text.h"
#include "formats/rle_file.h"
#include "formats/text_file.h"

namespace zentorix {
namespace {

using test::Cells;
using test::TempFolder;

Cells StagingCells(const World& world) {
    return test::AllLive(world.StagingGrid);
}

class RleRead : public ::testing::Test {
  protected:
    // Reads the content as an RLE file on a fresh 160 by 140 field; a pattern's
    // w and h then show as the extents w + 100 and h + 100 while they are below 61.
    void Read(std::string_view content) {
        world.SetFieldWidth(160);
        world.SetFieldHeight(140);
        ReadRleFile(world, settings, folder.Write("p.rle", content), {});
    }
    TempFolder folder;
    World world;
    Settings settings;
};

TEST_F(RleRead, GliderWithHeaderAndComment) {
    settings.LoadRulesSelector = 2;
    ParseRuleString(world, "#R 23/36", kFamilyLife, 2);
    Read("#C A glider\r\nx = 3, y = 3, rule = B3/S23\r\nbo$2bo$3o!\r\n");
    EXPECT_EQ(StagingCells(world), (Cells{{0, 3}, {1, 1}, {1, 3}, {2, 2}, {2, 3}}));
    EXPECT_EQ(world.ExtentX(), 104);  // w = 4
    EXPECT_EQ(world.ExtentY(), 103);  // h = 3
    EXPECT_EQ(world.Rules[2].BirthList, std::vector<std::int32_t>{3});
    EXPECT_EQ(world.Rules[2].SurvivalList, (std::vector<std::int32_t>{2, 3}));
    EXPECT_EQ(world.Description,
              (std::vector<std::string>{"RLE-file", "A glider", " 3, y = 3, rule = B3/S23", "!"}));
    ReadRleFile(world, settings, folder.Path() / "none.rle", {});  // changes nothing
    EXPECT_EQ(world.Description.size(), 4u);
}

TEST_F(RleRead, SizeFromRunsAndRowEnds) {
    Read("3o!");
    EXPECT_EQ(StagingCells(world), (Cells{{0, 1}, {1, 1}, {2, 1}}));
    EXPECT_EQ(world.ExtentX(), 104);  // w = 4
    EXPECT_EQ(world.ExtentY(), 101);  // h = 1

    // "2$" before "!" moves two rows down and widens w by 2 past the column.
    Read("o2$!");
    EXPECT_EQ(world.ExtentX(), 103);
    EXPECT_EQ(world.ExtentY(), 103);
    Read("o$$!");
    EXPECT_EQ(world.ExtentX(), 102);

    // A count of 0 is 1; a count before a character that means nothing is lost.
    Read("0o2o3xo!");
    EXPECT_EQ(StagingCells(world), (Cells{{0, 1}, {1, 1}, {2, 1}, {3, 1}}));
}

TEST_F(RleRead, LinesAfterTheEndAreDescriptionOnly) {
    Read("bo$2bo$3o! tail\r\nxxoooo after\r\n#C late\r\n3o$3o!\r\n");
    EXPECT_EQ(StagingCells(world), (Cells{{0, 3}, {1, 1}, {1, 3}, {2, 2}, {2, 3}}));
    EXPECT_EQ(world.Description,
              (std::vector<std::string>{"RLE-file", "! tail", "ooo after", "late", "3o!"}));
}

TEST_F(RleRead, HashLinesNeverHoldCells) {
    Read(
        "#N Glider bo$!\r\n#O Someone ob$\r\n#C cc\r\n#c lower\r\n#r 23/3\r\n"
        "#CXRLE Pos=0,0\r\nx = 1, y = 1\r\no!\r\n");
    EXPECT_EQ(StagingCells(world), (Cells{{0, 1}}));
    EXPECT_EQ(world.Description, (std::vector<std::string>{"RLE-file", "Glider bo$!", "Someone ob$",
                                                           "cc", "lower", "RLE Pos=0,0", "!"}));
}

TEST_F(RleRead, TheHeaderGivesTheRule) {
    struct Case {
        const char* header;
        std::vector<std::int32_t> birth, survival;
    };
    const Case cases[] = {
        {"x = 1, y = 1, rule = 23/36", {3, 6}, {2, 3}},
        {"x=1,y=1,rule=B36/S125", {3, 6}, {1, 2, 5}},
    };
    for (const Case& c : cases) {
        Read(std::string(c.header) + "\r\n2o!\r\n");
        EXPECT_EQ(world.Rules[0].BirthList, c.birth) << c.header;
        EXPECT_EQ(world.Rules[0].SurvivalList, c.survival) << c.header;
        // The header itself never holds cells, compact or not.
        EXPECT_EQ(StagingCells(world), (Cells{{0, 1}, {1, 1}})) << c.header;
    }
}

TEST_F(RleRead, MultiStateLettersSetNothingAndDoNotMove) {
    Read("oAo2B.o!");
    EXPECT_EQ(StagingCells(world), (Cells{{0, 1}, {1, 1}, {2, 1}}));
}

TEST_F(RleRead, MissingEndMarkStillPlacesTheLastRow) {
    Read("x = 3, y = 3\nbo$2bo$3o\n");
    EXPECT_EQ(world.ExtentX(), 104);
    EXPECT_EQ(world.ExtentY(), 103);
    EXPECT_EQ(test::AllLive(world.MainField).size(), 5u);
}

TEST_F(RleRead, HugeCountsAreCutAtTheGrid) {
    Read("99999999999999999999999o$2000000000$o!");
    EXPECT_EQ(world.FieldWidth(), 997);
    EXPECT_EQ(world.FieldHeight(), 997);
    // The first row, 1000 cells of the staging grid, cut to 996 columns at cx = 3.
    const Cells placed = test::LiveCells(world.MainField, -3, -3, 1001, 1001);
    EXPECT_EQ(placed.size(), 996u);
    EXPECT_EQ(placed.front(), (std::pair<int, int>{3, 2}));
    EXPECT_EQ(placed.back(), (std::pair<int, int>{998, 2}));
}

class RleWrite : public ::testing::Test {
  protected:
    RleWrite() {
        world.SetFieldWidth(25);
        world.SetFieldHeight(25);
    }
    std::string Write() { return TempFolder::Read(WriteRleFile(world, folder.Path() / "out.txt")); }
    TempFolder folder;
    World world;
};

// Lines end in LF alone, which other simulators read; the round trip below reads
// such a file back.
TEST_F(RleWrite, TwoStateGliderWithAgesAsLiveCells) {
    test::Draw(world.MainField, 1, 1, {".*.", "..*", "***"});
    world.MainField.at(3, 3) = 5;  // an age, not a state
    world.Description = {"RLE-file", "A glider"};
    EXPECT_EQ(Write(),
              "#C RLE-file\n#C A glider\nx = 26, y = 26, rule = B3/S23\n"
              "$2bo$3bo$b3o!\n");
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "out.txt"));
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "out.rle.tmp"));
}

TEST_F(RleWrite, LongRowsKeepLinesShortAndTheFileReadsBack) {
    world.SetFieldWidth(99);
    world.SetFieldHeight(60);
    std::uint32_t seed = 12345;
    for (int y = 1; y <= 60; ++y)
        for (int x = 1; x <= 99; ++x) {
            seed = seed * 1103515245u + 12345u;
            world.MainField.at(x, y) = (seed >> 16) % 3 == 0 ? 1 : 0;
        }
    ParseRuleString(world, "#R 23/36", kFamilyLife, 0);
    const std::string text = Write();
    for (const std::string& line : SplitLines(text))
        EXPECT_LE(line.size(), 70u) << line;
    EXPECT_NE(text.find("rule = B36/S23"), std::string::npos);

    World back;
    Settings settings;
    ReadRleFile(back, settings, folder.Path() / "out.rle", {});
    EXPECT_EQ(test::Shape(back.MainField), test::Shape(world.MainField));
    EXPECT_EQ(back.Rules[0].BirthList, (std::vector<std::int32_t>{3, 6}));
}

TEST_F(RleWrite, HistoryRulesWriteOneLetterPerState) {
    ParseRuleString(world, "345/2/4", kFamilyGenerations, 0);
    test::Draw(world.MainField, 0, 1, {"ABC"});
    world.MainField.at(0, 2) = 30;
    world.MainField.at(1, 2) = 30;
    world.MainField.at(3, 2) = 999;  // beyond the notation: the highest symbol
    world.MainField.at(0, 5) = 24;
    EXPECT_EQ(Write(), "x = 26, y = 26, rule = 345/2/4\n$ABC$2pF.yO3$X!\n");
}

TEST_F(RleWrite, RulesWithoutACountFormAreKeptAsAComment) {
    ParseRuleString(world, "#R NW1,NN2,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,", kFamilyZentorix,
                    0);
    world.MainField.at(25, 25) = 1;  // the last column and row are covered
    world.Description = {"two\nlines"};
    EXPECT_EQ(Write(),
              "#C two\n#C lines\n#C Zentorix rule "
              "NW1,NN2,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,\n"
              "x = 26, y = 26\n25$25bo!\n");
}

TEST_F(RleWrite, UnwritableFolderLeavesNothingBehind) {
    EXPECT_THROW(WriteRleFile(world, folder.Path() / "no" / "such" / "out.rle"), FileError);
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "no"));
}

}  // namespace
}  // namespace zentorix
