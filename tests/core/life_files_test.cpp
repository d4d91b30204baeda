#include <gtest/gtest.h>

#include "core/temp_folder.h"
#include "core/test_support.h"
#include "engine/rule_text.h"
#include "formats/life_files.h"
#include "formats/text_file.h"
#include "rules/rule_editor.h"

namespace zentorix {
namespace {

using test::Cells;
using test::TempFolder;
using Lines = std::vector<std::string>;
using Sums = std::vector<std::int32_t>;

class LifeFiles : public ::testing::Test {
  protected:
    // Reads on a 160 by 140 field, so a pattern's w and h show as the extents
    // w + 100 and h + 100.
    void Read(bool life106, std::string_view content) {
        world.SetFieldWidth(160);
        world.SetFieldHeight(140);
        (life106 ? ReadLife106File : ReadLife105File)(
            world, settings, folder.Write("p.lif", content), {}, &problems);
    }
    Cells Staging() const { return test::AllLive(world.StagingGrid); }

    TempFolder folder;
    World world;
    Settings settings;
    FileProblems problems;
};

// A rule is read into the chosen set, which holds a three-state rule before.
TEST_F(LifeFiles, CellsSizesRulesAndDescription) {
    struct Case {
        bool life106;
        const char* content;
        Cells cells;
        int w, h;
        int set = 0;
        Sums birth = {}, survival = {};  // empty: the rule is not checked
        Lines description = {};          // empty: not checked
    };
    const Case cases[] = {
        // Without a rule line a Life 1.05 file means Conway's rule.
        {false, "#Life 1.05\r\n#D A glider\r\n#P -1 -1\r\n.*.\r\n..*\r\n***\r\n",
         Cells{{1, 3}, {2, 1}, {2, 3}, {3, 2}, {3, 3}}, 3, 4, 1, Sums{3}, Sums{2, 3},
         Lines{"Life 1.05", "A glider"}},
        // Blocks keep their distances; rows before the first "#P" belong to a
        // block at 0, 0.
        {false, "#Life 1.05\r\n#P -5 0\r\n*\r\n#P 2 3\r\n**\r\n", {{1, 1}, {8, 4}, {9, 4}}, 9, 5},
        {false, "*.\r\n#P 3 3\r\n*\r\n", {{1, 1}, {4, 4}}, 4, 5},
        // Rows with "#" or "!" are no rows at all; "x" writes nothing.
        {false, "#Life 1.05\r\n#R 23/36\r\n.*.!\r\n**#\r\n.oO0x*\r\n",
         Cells{{2, 1}, {3, 1}, {4, 1}, {6, 1}}, 6, 2, 0, Sums{3, 6}, Sums{2, 3}},
        // Life 1.06 cells count from their smallest coordinates.
        {true, "#Life 1.06\r\n0 -1\r\n1 0\r\n-1 1\r\n0 1\r\n1 1\r\n",
         Cells{{0, 2}, {1, 0}, {1, 2}, {2, 1}, {2, 2}}, 2, 2},
        {true, "#Life 1.06\r\n#D Two cells\r\n#N\r\n0 0\r\n1 0\r\n", Cells{{0, 0}, {1, 0}}, 1, 0, 0,
         Sums{3}, Sums{2, 3}, Lines{"Life 1.06", "Two cells"}},
        {true, "#Life 1.06\r\n#N\r\n#R 23/36\r\n0 0\r\n", {{0, 0}}, 0, 0, 0, {3, 6}, {2, 3}},
        // Rule lines as other programs write them; one that does not read keeps the
        // rules (Conway's, from "#N") and is a problem.
        {false, "#R B36/S23\r\n*\r\n", {{1, 1}}, 1, 2, 0, {3, 6}, {2, 3}},
        {true, "#N\r\n#R B3/S23-a4\r\n0 0\r\n", {{0, 0}}, 0, 0, 0, {3}, {2, 3}},
        // Far coordinates neither crash nor wrap; the field grows to its largest.
        {false, "#P 2000000000 -2000000000\r\n*\r\n#P -2000000000 2000000000\r\n*\r\n", Cells{},
         898, 898},
        {true, "2000000000 2000000000\r\n-2000000000 -2000000000\r\n", {{0, 0}}, 898, 898},
        // A third number is the state; a negative state is an empty cell; tabs part
        // the numbers as blanks do; text lines set nothing.
        {true, "3 4 7\r\n4\t4\r\n5 4 -5\r\n#C 9 9\r\nabc 1\r\n", {{0, 0}, {1, 0}}, 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content);
        settings.LoadRulesSelector = c.set;
        if (!c.birth.empty())
            ParseRuleString(world, "345/2/4", kFamilyGenerations, c.set);
        Read(c.life106, c.content);
        EXPECT_EQ(Staging(), c.cells);
        EXPECT_EQ(test::AllLive(world.MainField).size(), c.cells.size());
        EXPECT_EQ(std::pair(world.ExtentX(), world.ExtentY()), std::pair(c.w + 100, c.h + 100));
        if (!c.birth.empty()) {
            EXPECT_EQ(std::pair(world.Rules[c.set].BirthList, world.Rules[c.set].SurvivalList),
                      std::pair(c.birth, c.survival));
            EXPECT_FALSE(world.Rules[c.set].History);
        }
        if (!c.description.empty()) {
            EXPECT_EQ(world.Description, c.description);
        }
        const bool unreadable = Contains(c.content, "-a4");
        ASSERT_EQ(problems.size(), unreadable ? 1u : 0u);
        if (unreadable) {
            EXPECT_NE(problems[0].find("\"B3/S23-a4\""), std::string::npos);
        }
        problems.clear();
    }
    EXPECT_EQ(world.StagingGrid.at(0, 0), 7);
    EXPECT_EQ(world.StagingGrid.at(1, 0), 1);

    // "." writes an empty cell over what the staging grid held.
    settings.ClearForLoad = false;
    world.StagingGrid.at(1, 1) = 4;
    Read(false, ".*");
    EXPECT_EQ(world.StagingGrid.at(1, 1), 0);
}

TEST_F(LifeFiles, Life105WriterBoundingBoxRowsRuleLineAndReadBack) {
    world.MainField.at(5, 7) = 1;
    world.MainField.at(6, 9) = 3;
    world.MainField.at(0, 0) = 1;  // margin cells are not part of the field
    world.Description = {"Life 1.05", "two cells"};
    const auto write = [&](const World& w, const char* name) {
        return TempFolder::Read(WriteLife105File(w, folder.Path() / name));
    };
    EXPECT_EQ(write(world, "out.zlf"),
              "#Life 1.05\r\n#R 23/3\r\n#D Life 1.05\r\n#D two cells\r\n*.\r\n..\r\n.*\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "out.lif.tmp"));

    // A line end inside a description line never lets text into the picture.
    world.MainField.at(6, 9) = 0;
    world.Description = {"one\r\n**", ""};
    EXPECT_EQ(write(world, "out.zlf"), "#Life 1.05\r\n#R 23/3\r\n#D one\r\n#D **\r\n#D \r\n*\r\n");

    EXPECT_EQ(write(World{}, "empty"), "#Life 1.05\r\n#R 23/3\r\n");
    EXPECT_THROW(WriteLife105File(world, folder.Path() / "missing" / "x.lif"), FileError);

    // A glider reads back one column and row in.
    world.MainField.Clear();
    ParseRuleString(world, "#R 23/36", kFamilyLife, 0);
    test::Draw(world.MainField, 40, 70, {".*.", "..*", "***"});
    const auto file = WriteLife105File(world, folder.Path() / "glider");
    EXPECT_EQ(file.filename(), "glider.lif");
    World back;
    ReadLife105File(back, settings, file, {});
    EXPECT_EQ(test::AllLive(back.StagingGrid), (Cells{{1, 3}, {2, 1}, {2, 3}, {3, 2}, {3, 3}}));
    EXPECT_EQ(std::pair(back.Rules[0].BirthList, back.Rules[0].SurvivalList),
              std::pair(Sums{3, 6}, Sums{2, 3}));
}

}  // namespace
}  // namespace zentorix
