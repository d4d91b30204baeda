#include <gtest/gtest.h>

#include "core/temp_folder.h"
#include "core/test_support.h"
#include "engine/rule_text.h"
#include "formats/life_files.h"
#include "formats/text_file.h"

namespace zentorix {
namespace {

using test::Cells;
using test::TempFolder;
using Sums = std::vector<std::int32_t>;

class LifeRead : public ::testing::Test {
  protected:
    // Reads on a 160 by 140 field, so a pattern's w and h show as the extents
    // w + 100 and h + 100.
    void Read105(std::string_view content) {
        Reset();
        ReadLife105File(world, settings, folder.Write("p.lif", content), {});
    }
    void Read106(std::string_view content) {
        Reset();
        ReadLife106File(world, settings, folder.Write("p.lif", content), {});
    }
    void Reset() {
        world.SetFieldWidth(160);
        world.SetFieldHeight(140);
    }
    Cells Staging() const { return test::AllLive(world.StagingGrid); }

    TempFolder folder;
    World world;
    Settings settings;
};

TEST_F(LifeRead, Life105BlockAtItsCornerWithConwaysRule) {
    settings.LoadRulesSelector = 1;  // set 1 starts as a three-state rule
    Read105("#Life 1.05\r\n#D A glider\r\n#P -1 -1\r\n.*.\r\n..*\r\n***\r\n");
    EXPECT_EQ(Staging(), (Cells{{1, 3}, {2, 1}, {2, 3}, {3, 2}, {3, 3}}));
    EXPECT_EQ(world.ExtentX(), 103);  // w = 3
    EXPECT_EQ(world.ExtentY(), 104);  // h = 4
    EXPECT_EQ(world.Description, (std::vector<std::string>{"Life 1.05", "A glider"}));
    EXPECT_EQ(world.Rules[1].BirthList, Sums{3});
    EXPECT_EQ(world.Rules[1].SurvivalList, (Sums{2, 3}));
    EXPECT_FALSE(world.Rules[1].History);
}

TEST_F(LifeRead, Life105BlocksKeepTheirDistances) {
    Read105("#Life 1.05\r\n#P -5 0\r\n*\r\n#P 2 3\r\n**\r\n");
    EXPECT_EQ(Staging(), (Cells{{1, 1}, {8, 4}, {9, 4}}));
    EXPECT_EQ(world.ExtentX(), 109);
    EXPECT_EQ(world.ExtentY(), 105);

    // Rows before the first "#P" belong to a block at 0, 0.
    Read105("*.\r\n#P 3 3\r\n*\r\n");
    EXPECT_EQ(Staging(), (Cells{{1, 1}, {4, 4}}));
}

TEST_F(LifeRead, Life105RowsSymbolsAndRule) {
    Read105("#Life 1.05\r\n#R 23/36\r\n.*.!\r\n**#\r\n.oO0x*\r\n");
    // Rows with "#" or "!" are no rows at all; "x" writes nothing.
    EXPECT_EQ(Staging(), (Cells{{2, 1}, {3, 1}, {4, 1}, {6, 1}}));
    EXPECT_EQ(world.Rules[0].BirthList, (Sums{3, 6}));
    EXPECT_EQ(world.Rules[0].SurvivalList, (Sums{2, 3}));

    // "." writes an empty cell over what the staging grid held.
    settings.ClearForLoad = false;
    world.StagingGrid.at(1, 1) = 4;
    Read105(".*");
    EXPECT_EQ(world.StagingGrid.at(1, 1), 0);
}

TEST_F(LifeRead, Life105FarCornersNeitherCrashNorWrap) {
    Read105("#P 2000000000 -2000000000\r\n*\r\n#P -2000000000 2000000000\r\n*\r\n");
    EXPECT_EQ(world.FieldWidth(), 997);
    EXPECT_TRUE(Staging().empty());
    EXPECT_TRUE(test::AllLive(world.MainField).empty());
}

TEST_F(LifeRead, Life106CellsFromTheirSmallestCoordinates) {
    Read106("#Life 1.06\r\n0 -1\r\n1 0\r\n-1 1\r\n0 1\r\n1 1\r\n");
    EXPECT_EQ(Staging(), (Cells{{0, 2}, {1, 0}, {1, 2}, {2, 1}, {2, 2}}));
    EXPECT_EQ(world.ExtentX(), 102);
    EXPECT_EQ(world.ExtentY(), 102);

    // A third number is the state; a negative state is an empty cell; tabs part
    // the numbers as blanks do; text lines set nothing.
    Read106("3 4 7\r\n4\t4\r\n5 4 -5\r\n#C 9 9\r\nabc 1\r\n");
    EXPECT_EQ(world.StagingGrid.at(0, 0), 7);
    EXPECT_EQ(world.StagingGrid.at(1, 0), 1);
    EXPECT_EQ(world.StagingGrid.at(2, 0), 0);
    EXPECT_EQ(world.ExtentX(), 102);
    EXPECT_EQ(world.ExtentY(), 100);
}

TEST_F(LifeRead, Life106RulesAndDescription) {
    ParseRuleString(world, "#R 1/1", kFamilyLife, 0);
    Read106("#Life 1.06\r\n#D Two cells\r\n#N\r\n0 0\r\n1 0\r\n");
    EXPECT_EQ(world.Rules[0].BirthList, Sums{3});
    EXPECT_EQ(world.Description, (std::vector<std::string>{"Life 1.06", "Two cells"}));
    Read106("#Life 1.06\r\n#N\r\n#R 23/36\r\n0 0\r\n");
    EXPECT_EQ(world.Rules[0].BirthList, (Sums{3, 6}));
}

TEST_F(LifeRead, Life106FarCoordinatesAreDropped) {
    Read106("2000000000 2000000000\r\n-2000000000 -2000000000\r\n");
    EXPECT_EQ(Staging(), (Cells{{0, 0}}));
    EXPECT_EQ(world.FieldWidth(), 997);
}

class Life105Write : public ::testing::Test {
  protected:
    std::string Write() {
        return TempFolder::Read(WriteLife105File(world, folder.Path() / "out.zlf"));
    }
    TempFolder folder;
    World world;
};

TEST_F(Life105Write, BoundingBoxRowsAndRuleLine) {
    world.MainField.at(5, 7) = 1;
    world.MainField.at(6, 9) = 3;
    world.MainField.at(0, 0) = 1;  // margin cells are not part of the field
    world.Description = {"Life 1.05", "two cells"};
    EXPECT_EQ(Write(),
              "#Life 1.05\r\n#R 23/3\r\n#D Life 1.05\r\n#D two cells\r\n*.\r\n..\r\n.*\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "out.lif.tmp"));

    // A line end inside a description line never lets text into the picture.
    world.MainField.at(6, 9) = 0;
    world.Description = {"one\r\n**", ""};
    EXPECT_EQ(Write(), "#Life 1.05\r\n#R 23/3\r\n#D one\r\n#D **\r\n#D \r\n*\r\n");

    World empty;
    empty.Description.clear();
    EXPECT_EQ(TempFolder::Read(WriteLife105File(empty, folder.Path() / "empty")),
              "#Life 1.05\r\n#R 23/3\r\n");
    EXPECT_THROW(WriteLife105File(world, folder.Path() / "missing" / "x.lif"), FileError);
}

TEST_F(Life105Write, GliderReadsBackOneColumnAndRowIn) {
    ParseRuleString(world, "#R 23/36", kFamilyLife, 0);
    test::Draw(world.MainField, 40, 70, {".*.", "..*", "***"});
    const auto file = WriteLife105File(world, folder.Path() / "glider");
    EXPECT_EQ(file.filename(), "glider.lif");

    World back;
    Settings settings;
    ReadLife105File(back, settings, file, {});
    EXPECT_EQ(test::AllLive(back.StagingGrid), (Cells{{1, 3}, {2, 1}, {2, 3}, {3, 2}, {3, 3}}));
    EXPECT_EQ(back.Rules[0].BirthList, (Sums{3, 6}));
    EXPECT_EQ(back.Rules[0].SurvivalList, (Sums{2, 3}));
}

}  // namespace
}  // namespace zentorix
