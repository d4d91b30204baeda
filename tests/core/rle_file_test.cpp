#include <gtest/gtest.h>

#include "core/temp_folder.h"
#include "core/test_support.h"
#include "engine/rule_text.h"
#include "formats/pattern_load.h"
#include "formats/rle_file.h"
#include "formats/text_file.h"
#include "rules/rule_editor.h"

namespace zentorix {
namespace {

using test::Cells;
using test::TempFolder;
using Lines = std::vector<std::string>;
using Sums = std::vector<std::int32_t>;
using States = std::vector<std::array<int, 3>>;

const Cells kGlider{{0, 3}, {1, 1}, {1, 3}, {2, 2}, {2, 3}};
constexpr const char* kGliderFile = "#C A glider\r\nx = 3, y = 3, rule = B3/S23\r\nbo$2bo$3o!\r\n";

class RleFile : public ::testing::Test {
  protected:
    // Reads the content as an RLE file on a fresh 160 by 140 field; a pattern's
    // w and h then show as the extents w + 100 and h + 100 while they are below 61.
    void Read(std::string_view content) {
        world.SetFieldWidth(160);
        world.SetFieldHeight(140);
        ReadRleFile(world, settings, folder.Write("p.rle", content), {});
    }
    std::string Write() { return TempFolder::Read(WriteRleFile(world, folder.Path() / "out.txt")); }
    FileProblems problems;
    TempFolder folder;
    World world;
    Settings settings;
};

// Every row reads into the chosen rule set, which holds B1/S1 before.
TEST_F(RleFile, CellsSizeRuleAndDescription) {
    const Cells row{{0, 1}, {1, 1}, {2, 1}}, pair{{0, 1}, {1, 1}};
    struct Case {
        const char* content;
        Cells cells;
        int w, h;
        int set = 0;
        Sums birth = {}, survival = {};  // empty: the rule is not checked
        Lines description = {};          // empty: not checked
    };
    const Case cases[] = {
        {kGliderFile, kGlider, 4, 3, 2, Sums{3}, Sums{2, 3},
         Lines{"RLE-file", "A glider", " 3, y = 3, rule = B3/S23", "!"}},
        {"3o!", row, 4, 1},
        // "2$" before "!" moves two rows down and widens w by 2 past the column.
        {"o2$!", {{0, 1}}, 2, 3},
        {"o$$!", {{0, 1}}, 2, 3},
        // A count of 0 is 1; a count before a character that means nothing is lost.
        {"0o2o3xo!", {{0, 1}, {1, 1}, {2, 1}, {3, 1}}, 5, 1},
        // State letters and "." are cells too.
        {"oAo2B.o!", {{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {6, 1}}, 8, 1},
        // A missing end mark still places the last row.
        {"x = 3, y = 3\nbo$2bo$3o\n", kGlider, 4, 3},
        // The header never holds cells, compact or not.
        {"x = 1, y = 1, rule = 23/36\r\n2o!\r\n", pair, 3, 1, 0, {3, 6}, {2, 3}},
        {"x=1,y=1,rule=B36/S125\r\n2o!\r\n", pair, 3, 1, 0, {3, 6}, {1, 2, 5}},
        // Lines after the end and hash lines are description only.
        {"bo$2bo$3o! tail\r\nxxoooo after\r\n#C late\r\n3o$3o!\r\n", kGlider, 4, 3, 0, Sums{},
         Sums{}, Lines{"RLE-file", "! tail", "ooo after", "late", "3o!"}},
        // The place another program gave the pattern is not a description.
        {"#N Glider bo$!\r\n#O Someone ob$\r\n#C cc\r\n#c lower\r\n#r 23/3\r\n"
         "#CXRLE Pos=0,0\r\nx = 1, y = 1\r\no!\r\n",
         Cells{{0, 1}}, 2, 1, 0, Sums{}, Sums{},
         Lines{"RLE-file", "Glider bo$!", "Someone ob$", "cc", "lower", "!"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content);
        settings.LoadRulesSelector = c.set;
        ParseRuleString(world, "#R 1/1", kFamilyLife, c.set);
        Read(c.content);
        EXPECT_EQ(test::AllLive(world.StagingGrid), c.cells);
        EXPECT_EQ(test::AllLive(world.MainField).size(), c.cells.size());
        EXPECT_EQ(world.ExtentX(), c.w + 100);
        EXPECT_EQ(world.ExtentY(), c.h + 100);
        if (!c.birth.empty()) {
            EXPECT_EQ(world.Rules[c.set].BirthList, c.birth);
            EXPECT_EQ(world.Rules[c.set].SurvivalList, c.survival);
        }
        if (!c.description.empty()) {
            EXPECT_EQ(world.Description, c.description);
        }
    }
    const Lines before = world.Description;
    ReadRleFile(world, settings, folder.Path() / "none.rle", {});  // changes nothing
    EXPECT_EQ(world.Description, before);
}

TEST_F(RleFile, HugeCountsAreCutAtTheGrid) {
    Read("99999999999999999999999o$2000000000$o!");
    EXPECT_EQ(std::pair(world.FieldWidth(), world.FieldHeight()), std::pair(997, 997));
    // The first row, 1000 cells of the staging grid, cut to 996 columns at cx = 3.
    const Cells placed = test::LiveCells(world.MainField, -3, -3, 1001, 1001);
    EXPECT_EQ(placed.size(), 996u);
    EXPECT_EQ(placed.front(), (std::pair<int, int>{3, 2}));
    EXPECT_EQ(placed.back(), (std::pair<int, int>{998, 2}));
}

// Opened as a user opens it, after a history rule B1/S1 with 5 states: states,
// the rule (or, when it does not read, a problem naming it and the rules kept).
TEST_F(RleFile, StatesRulesAndProblems) {
    struct Case {
        const char* content;
        States cells;  // staging x, y, state
        Sums birth, survival;
        int history;          // states, 0 with history off
        const char* problem;  // a part of the one problem expected, or none
        int neighbours = 8;   // the sum of the inner weights
    };
    const Case cases[] = {
        {"x = 5, y = 2, rule = 23/3/256\n.A2pAyO$3.X!",
         {{1, 1, 1}, {2, 1, 25}, {3, 1, 25}, {3, 2, 24}, {4, 1, 255}},
         {3},
         {2, 3},
         256,
         nullptr},
        // A prefix without its letter is dropped with its count.
        {"x = 3, y = 1, rule = B2/S345/C4\n2B3pbC!",
         {{0, 1, 2}, {1, 1, 2}, {3, 1, 3}},
         {2},
         {3, 4, 5},
         4,
         nullptr},
        // A two-state rule switches history off.
        {"x = 2, y = 1, rule = B3/S23\n2o!", {{0, 1, 1}, {1, 1, 1}}, {3}, {2, 3}, 0, nullptr},
        {"x = 1, y = 1, rule = B2/S34V\no!", {{0, 1, 1}}, {2}, {3, 4}, 0, nullptr, 4},
        {"x = 1, y = 1, rule = 2/2H\no!", {{0, 1, 1}}, {2}, {2}, 0, nullptr, 6},
        {"x = 1, y = 1, rule = B2-a/S12\no!", {{0, 1, 1}}, {1}, {1}, 5, "\"B2-a/S12\""},
        {"x = 1, y = 1, rule = LifeHistory\nA!", {{0, 1, 1}}, {1}, {1}, 5, "\"LifeHistory\""},
        {"x = 0, y = 0, rule = B3/S23\n!", {}, {3}, {2, 3}, 0, "no live cell"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content);
        ParseRuleString(world, "1/1/5", kFamilyGenerations, 0);
        const OpenResult r = OpenPatternFile(world, settings, folder.Write("p.rle", c.content));
        EXPECT_EQ(r.format, PatternFormat::Rle);
        States cells;
        for (const auto& [x, y] : test::AllLive(world.StagingGrid))
            cells.push_back({x, y, world.StagingGrid.at(x, y)});
        EXPECT_EQ(cells, c.cells);
        const RuleSet& rules = world.Rules[0];
        EXPECT_EQ(rules.BirthList, c.birth);
        EXPECT_EQ(rules.SurvivalList, c.survival);
        EXPECT_EQ(rules.History ? rules.HistoryRange : 0, c.history);
        int neighbours = 0;
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                neighbours += rules.Weight(dx, dy);
        EXPECT_EQ(neighbours, c.neighbours);
        ASSERT_EQ(r.problems.size(), c.problem ? 1u : 0u);
        if (c.problem) {
            EXPECT_NE(r.problems[0].find(c.problem), std::string::npos) << r.problems[0];
        }
    }
}

// Lines end in LF alone, which other simulators read; the round trip below reads
// such a file back. The live cells' box is written with its place; ages count as
// live cells; history rules write one letter per state; rules without a count
// form are kept as our own comment, and the user hears of it.
TEST_F(RleFile, WriterLayoutForEachKindOfRule) {
    struct Case {
        const char* rule;  // none: the default rule
        std::string_view family;
        States cells;  // x, y, state
        Lines description;
        const char* expected;
        std::size_t problems = 0;
    };
    const Case cases[] = {
        {nullptr,
         {},
         States{{2, 1, 1}, {3, 2, 1}, {1, 3, 1}, {2, 3, 1}, {3, 3, 5}},
         Lines{"RLE-file", "A glider"},
         "#C RLE-file\n#C A glider\n#CXRLE Pos=1,1\nx = 3, y = 3, rule = B3/S23\nbo$2bo$3o!\n"},
        // Beyond the notation a state takes the highest symbol.
        {"345/2/4", kFamilyGenerations,
         States{{0, 1, 1}, {1, 1, 2}, {2, 1, 3}, {0, 2, 30}, {1, 2, 30}, {3, 2, 999}, {0, 5, 24}},
         Lines{}, "#CXRLE Pos=0,1\nx = 4, y = 5, rule = 345/2/4\nABC$2pF.yO3$X!\n", 1},
        {"B2/S34V", kFamilyOldLife, States{{25, 25, 1}}, Lines{},
         "#CXRLE Pos=25,25\nx = 1, y = 1, rule = B2/S34V\no!\n"},
        {"#R NW1,NN2,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,", kFamilyZentorix,
         States{{25, 25, 1}}, Lines{"two\nlines"},
         "#C two\n#C lines\n#C Zentorix rule NW1,NN2,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,\n"
         "#CXRLE Pos=25,25\nx = 1, y = 1\no!\n",
         1},
        // An empty field is an empty pattern.
        {"#R 23/3", kFamilyLife, States{}, Lines{}, "x = 0, y = 0, rule = B3/S23\n!\n"},
    };
    world.SetFieldWidth(25);
    world.SetFieldHeight(25);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        if (c.rule)
            ParseRuleString(world, c.rule, c.family, 0);
        world.MainField.Clear();
        for (const auto& [x, y, state] : c.cells)
            world.MainField.at(x, y) = state;
        world.Description = c.description;
        FileProblems problems;
        EXPECT_EQ(TempFolder::Read(WriteRleFile(world, folder.Path() / "out.txt", &problems)),
                  c.expected);
        EXPECT_EQ(problems.size(), c.problems);
    }
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "out.txt"));
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "out.rle.tmp"));

    // An unwritable folder leaves nothing behind.
    EXPECT_THROW(WriteRleFile(world, folder.Path() / "no" / "such" / "out.rle"), FileError);
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "no"));
}

// A pattern as large as the largest field reopens whole, edge cells included; a
// 300 by 300 pattern reopens centred on a field fitted to it.
TEST_F(RleFile, LargePatternsReopenWhole) {
    for (const int size : {997, 300}) {
        SCOPED_TRACE(size);
        World big;
        big.SetFieldWidth(997);
        big.SetFieldHeight(997);
        const int first = size == 997 ? 1 : 40;
        for (int x = first; x < first + size; ++x)
            for (int y = first; y < first + size; ++y)
                big.MainField.at(x, y) = (x + y) % 3 == 0 || x == first || y == first ||
                                         x == first + size - 1 || y == first + size - 1;
        const auto file = WriteRleFile(big, folder.Path() / "big.rle");
        World back;
        ReadRleFile(back, settings, file, {});
        EXPECT_EQ(test::Shape(back.MainField), test::Shape(big.MainField));
        const Cells live = test::AllLive(back.MainField);
        const auto [minX, maxX] = std::minmax_element(
            live.begin(), live.end(), [](auto a, auto b) { return a.first < b.first; });
        EXPECT_GE(minX->first, 1);
        EXPECT_LE(maxX->first, back.FieldWidth());
        EXPECT_LE(std::abs((minX->first - 1) - (back.FieldWidth() - maxX->first)), 4);
        if (size == 300) {
            EXPECT_GE(back.FieldWidth(), 320);
            EXPECT_LE(back.FieldWidth(), 400);
        }
    }
}

TEST_F(RleFile, LongRowsKeepLinesShortAndTheFileReadsBack) {
    world.SetFieldWidth(99);
    world.SetFieldHeight(60);
    world.Random.FixSeed(12345);
    for (int y = 1; y <= 60; ++y)
        for (int x = 1; x <= 99; ++x)
            world.MainField.at(x, y) = world.Random.Below(3) == 0 ? 1 : 0;
    ParseRuleString(world, "#R 23/36", kFamilyLife, 0);
    const std::string text = Write();
    for (const std::string& line : SplitLines(text))
        EXPECT_LE(line.size(), 70u) << line;
    EXPECT_NE(text.find("rule = B36/S23"), std::string::npos);

    World back;
    ReadRleFile(back, settings, folder.Path() / "out.rle", {});
    EXPECT_EQ(test::Shape(back.MainField), test::Shape(world.MainField));
    EXPECT_EQ(back.Rules[0].BirthList, (Sums{3, 6}));
}

}  // namespace
}  // namespace zentorix
