#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "core/temp_folder.h"
#include "core/test_support.h"
#include "engine/format_error.h"
#include "engine/rule_text.h"
#include "formats/mcell_file.h"
#include "formats/text_file.h"
#include "rules/rule_editor.h"

namespace zentorix {
namespace {

using test::Cells;
using Lines = std::vector<std::string>;
using Sums = std::vector<std::int32_t>;

class MCellFile : public ::testing::Test {
  protected:
    // Writes the lines as an MCell file (CR LF) and reads it.
    void Read(const Lines& lines) {
        std::string text;
        for (const auto& line : lines)
            text += line + "\r\n";
        problems.clear();
        ReadMCellFile(world, settings, folder.Write("pattern.mcl", text), {}, &problems);
    }
    Cells MainCells() const { return test::AllLive(world.MainField); }
    // The staging grid's live cells as (x, y, state).
    std::vector<std::array<int, 3>> Staging() const {
        std::vector<std::array<int, 3>> cells;
        for (const auto& [x, y] : test::AllLive(world.StagingGrid))
            cells.push_back({x, y, world.StagingGrid.at(x, y)});
        return cells;
    }

    test::TempFolder folder;
    World world;
    Settings settings;
    FileProblems problems;
};

// The pattern starts at row 1. The width passed to the placement is the column
// the row ends reached (a count adds rows, not columns), and data that ends inside a row still
// places that row: the last row passed is the one the last "$" reached, or row 1 without any. On a
// 400 by 400 field the fitting makes the extent w + 100, so the field size shows
// the w and h passed.
TEST_F(MCellFile, CellDataStartsAtRowOneAndAnUnfinishedRowIsPlacedWhole) {
    struct Case {
        const char* data;
        std::pair<int, int> passed;
        std::size_t cells;
    };
    for (const Case& c : {Case{"A$5A", {5, 2}, 6}, Case{"4A", {4, 1}, 4},
                          Case{"A30$A$", {2, 32}, 2}, Case{".A$2.B", {3, 2}, 2}}) {
        world.SetFieldWidth(400);
        world.SetFieldHeight(400);
        Read({"#MCell 4.20", std::string("#L ") + c.data});
        EXPECT_EQ(std::pair(world.FieldWidth() - 99, world.FieldHeight() - 99), c.passed) << c.data;
        EXPECT_EQ(MainCells().size(), c.cells) << c.data;
    }
    EXPECT_EQ(Staging(), (std::vector<std::array<int, 3>>{{1, 1, 1}, {2, 2, 2}}));
    ReadMCellFile(world, settings, folder.Path() / "absent.mcl", {});  // changes nothing
    EXPECT_EQ(MainCells().size(), 2u);
    EXPECT_EQ(world.CurrentFileName, "pattern.mcl");
}

// Block letters, counts and rows run across lines; "0A" is one cell; a count
// before an unknown character is lost.
TEST_F(MCellFile, BlockLettersCountsAndRowsRunAcrossLines) {
    Read({"#MCell 4.20", "#L 3a", "#L BcA$0A2?A", "#LB 7A", "#L"});
    EXPECT_EQ(Staging(),
              (std::vector<std::array<int, 3>>{
                  {0, 1, 26}, {0, 2, 1}, {1, 1, 26}, {1, 2, 1}, {2, 1, 26}, {3, 1, 73}}));
}

TEST_F(MCellFile, CountsNobodyCanDrawAreCutWithoutLoopingOrOverflow) {
    settings.ClearForLoad = false;
    Read({"#MCell 4.20", "#L 99999999999999999999999999A$B999999999999999$C", "#L 2147483648$D",
          "#L 4294967296.E"});
    for (int x = 0; x <= 999; ++x)
        ASSERT_EQ(world.StagingGrid.at(x, 1), 1) << x;
    EXPECT_EQ(world.StagingGrid.at(0, 2), 2);
    EXPECT_EQ(test::LiveCells(world.StagingGrid, -11, 3, 1001, 1001).size(), 0u);
    // The placement is cut to the field, which keeps its size, and never reaches
    // past the extent (columns 3..161 of the full row, and the one cell below).
    EXPECT_EQ(world.FieldWidth(), 160);
    EXPECT_EQ(MainCells().size(), 159u + 1u);
}

TEST_F(MCellFile, HeaderLinesAndMalformedNumbers) {
    world.MainField.at(10, 10) = 1;
    settings.ClearForLoad = false;
    try {
        Read({"#MCell 4.20", "#WRAP 1", "#SPEED fast", "#L 5A"});
        FAIL() << "no error";
    } catch (const FormatError& e) {
        EXPECT_STREQ(e.what(), "' fast' is not a valid integer value");
    }
    EXPECT_TRUE(settings.EnableTOR);  // applied before the bad line
    EXPECT_EQ(MainCells(), (Cells{{10, 10}}));

    for (const char* board : {"#BOARD 200", "#BOARD 200x", "#BOARD 99999999999x100"})
        EXPECT_THROW(Read({"#MCell 4.20", board}), FormatError) << board;
    EXPECT_EQ(world.FieldWidth(), 160);
    // A bad rule token fails only after the pattern was placed.
    EXPECT_THROW(Read({"#MCell 4.20", "#GAME Weighted Life", "#RULE NWx,", "#L A"}), FormatError);
    EXPECT_EQ(MainCells().size(), 2u);

    // Good header lines set torus, speed, board and description.
    settings.EnableTOR = false;
    std::string longText;  // 3500 characters of two bytes each
    for (int i = 0; i < 3500; ++i)
        longText += "\xD0\x96";
    Read({"#MCell 4.20", "#WRAP 1", "#SPEED 5000", "#BOARD 5x2000", "#D first", "#Dx not a line",
          "#D " + longText, "#PALETTE ignored", "#L A"});
    EXPECT_TRUE(settings.EnableTOR);
    EXPECT_EQ(settings.SpeedMain, 1000);
    EXPECT_EQ(std::pair(world.FieldWidth(), world.FieldHeight()), std::pair(25, 997));
    EXPECT_EQ(world.Description, (Lines{"Mcell 4.20", "first", longText.substr(0, 3000 * 2)}));
}

TEST_F(MCellFile, GameLineChoosesTheRuleFamily) {
    // The notations themselves are the rule reader's; here only the family counts.
    Read({"#MCell 4.20", "#GAME Generations", "#RULE 345/2/4", "#L A"});
    EXPECT_EQ(world.Rules[0].HistoryRange, 4);
    Read({"#MCell 4.20", "#GAME Vote for Life", "#RULE 46789"});
    const Sums vote{4, 6, 7, 8, 9};
    EXPECT_EQ(world.Rules[0].BirthList, vote);
    EXPECT_EQ(world.Rules[0].SurvivalList, vote);

    // Several "#RULE" lines make one text; the rule goes to the chosen set.
    settings.LoadRulesSelector = 2;
    Read({"#MCell 4.20", "#GAME Weighted Life", "#RULE NW2,NN1,NE1,WW1,ME0,", "#RULE EE1,SW1,SS1,",
          "#RULE SE1,HI0,RB5,RS1"});
    EXPECT_EQ(world.Rules[2].Weight(-1, -1), 2);
    EXPECT_EQ(world.Rules[2].BirthList, Sums{5});
    EXPECT_EQ(world.Rules[0].BirthList, vote);

    EXPECT_TRUE(problems.empty());

    // A game the reader has no family for, or none at all: empty lists, and the
    // user is told which rule did not run; so for a rule not read whole.
    Read({"#MCell 4.20", "#GAME Larger than Life", "#RULE R5,C0,M1,S34..58,B34..45"});
    EXPECT_TRUE(world.Rules[2].BirthList.empty());
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("\"Larger than Life\""), std::string::npos) << problems[0];
    Read({"#MCell 4.20", "#GAME Generations", "#RULE 23/3/3"});
    EXPECT_TRUE(problems.empty());
    Read({"#MCell 4.20", "#GAME Life", "#RULE 23/3q"});
    EXPECT_EQ(problems.size(), 1u);
    Read({"#MCell 4.20", "#RULE 23/3"});
    EXPECT_TRUE(world.Rules[2].SurvivalList.empty());
    EXPECT_EQ(problems.size(), 1u);
}

TEST_F(MCellFile, WriterLayoutKeepsDescriptionLineBreaksOutOfTheCellData) {
    world.SetFieldWidth(30);
    world.SetFieldHeight(25);
    world.MainField.at(2, 1) = 1;
    world.MainField.at(3, 1) = 30;
    world.Description = {"Mcell 4.20", "a glider"};
    const auto written = WriteMCellFile(world, settings, folder.Path() / "out.zlf");
    EXPECT_EQ(written, folder.Path() / "out.mcl");
    EXPECT_EQ(*ReadFileBytes(written),
              "#MCell 4.20\r\n#GAME Weighted Life\r\n"
              "#RULE NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,RS2,RS3,\r\n"
              "#BOARD 30x25\r\n#WRAP 0\r\n#D Mcell 4.20\r\n#D a glider\r\n#L $2.AaF\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "out.mcl.tmp"));

    world.MainField.Clear();
    world.Description = {"one\r\n#L 5A\rtwo", ""};
    const auto lines = *ReadTextLines(WriteMCellFile(world, settings, written));
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "#D #L 5A"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "#D "), 1);
    World back;
    ReadMCellFile(back, settings, written, {});
    EXPECT_TRUE(test::AllLive(back.MainField).empty());
    EXPECT_EQ(back.Description, (Lines{"Mcell 4.20", "one", "#L 5A", "two", ""}));
}

TEST_F(MCellFile, WriteAndReadBackKeepPatternRuleWrapAndSize) {
    world.SetFieldWidth(120);
    world.SetFieldHeight(90);
    world.Random.FixSeed(11);
    for (int x = 20; x <= 100; ++x)
        for (int y = 15; y <= 70; ++y)
            if (world.Random.Below(4) == 0)
                world.MainField.at(x, y) = 1 + static_cast<int>(world.Random.Below(264));
    ParseRuleString(world,
                    "#R NW2,NN-1,NE1,WW1,ME3,EE1,SW1,SS1,SE-7,2N2W5,2S2E-2,HI6,EX2,RB3,RB-4,RS0,",
                    kFamilyZentorix, 0);
    settings.EnableTOR = true;
    world.Description = {"Mcell 4.20", "round trip"};
    const auto written = WriteMCellFile(world, settings, folder.Path() / "trip");

    World back;
    Settings backSettings;
    backSettings.ClearForLoad = false;
    ReadMCellFile(back, backSettings, written, {});
    EXPECT_EQ(std::pair(back.FieldWidth(), back.FieldHeight()), std::pair(120, 90));
    EXPECT_TRUE(backSettings.EnableTOR);
    EXPECT_EQ(back.Rules[0], world.Rules[0]);
    // The description follows the reader's own label.
    EXPECT_EQ(back.Description, (Lines{"Mcell 4.20", "Mcell 4.20", "round trip"}));
    EXPECT_EQ(test::Shape(back.MainField), test::Shape(world.MainField));
}

}  // namespace
}  // namespace zentorix
