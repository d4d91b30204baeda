#include <gtest/gtest.h>

#include "core/test_support.h"
#include "formats/field_section.h"

namespace zentorix {
namespace {

std::vector<std::string> Lines(const TextBuilder& out) {
    return SplitLines(out.Text());
}

struct FieldSection : ::testing::Test {
    World world;
};

TEST_F(FieldSection, EmptyLayerIsOneBarePrefixLineAndReadsBackAsNoData) {
    TextBuilder out;
    WriteFieldSection(out, world, Layer::Main, true);
    EXPECT_EQ(out.Text(), "#L \r\n");
    world.StagingGrid.at(5, 5) = 9;
    EXPECT_FALSE(ReadFieldSection(world, Lines(out), "#L "));
    EXPECT_EQ(world.StagingGrid.at(5, 5), 0);
}

TEST_F(FieldSection, RunsRowEndsAndEdgeCells) {
    world.SetFieldWidth(30);
    world.SetFieldHeight(30);
    // Row 0 empty; row 1 starts with a live cell at column 0; row 2 holds a cell
    // at the last column W; rows 3..5 empty; row 6 a run of three.
    world.MainField.at(0, 1) = 1;
    world.MainField.at(30, 2) = 2;
    world.MainField.at(4, 6) = 1;
    world.MainField.at(5, 6) = 1;
    world.MainField.at(6, 6) = 1;
    TextBuilder out;
    WriteFieldSection(out, world, Layer::Main, true);
    EXPECT_EQ(out.Text(), "#L $A$30.B4$4.3A\r\n");
    ASSERT_TRUE(ReadFieldSection(world, Lines(out), "#L "));
    EXPECT_EQ(test::LiveCells(world.StagingGrid, -3, -3, 31, 31),
              (std::vector<std::pair<int, int>>{{0, 1}, {4, 6}, {5, 6}, {6, 6}, {30, 2}}));
    EXPECT_EQ(world.StagingGrid.at(30, 2), 2);
}

TEST_F(FieldSection, StateSymbolsCoverEveryBlockAndClampTheRest) {
    std::string s;
    for (int state : {0, 1, 24, 25, 48, 49, 72, 73, 264, 265, -7, 100000}) {
        AppendCellSymbol(s, state);
        s += ' ';
    }
    EXPECT_EQ(s, ". A X aA aX bA bX cA jX jX . jX ");

    const std::vector<std::string> lines = {"#L 3aB.cA$A", "#LB X"};
    ASSERT_TRUE(ReadFieldSection(world, lines, "#L "));
    EXPECT_EQ(world.StagingGrid.at(0, 0), 26);
    EXPECT_EQ(world.StagingGrid.at(2, 0), 26);
    EXPECT_EQ(world.StagingGrid.at(3, 0), 0);
    EXPECT_EQ(world.StagingGrid.at(4, 0), 73);
    EXPECT_EQ(world.StagingGrid.at(0, 1), 1);
}

TEST_F(FieldSection, RoundTripOfEveryLayerWithLongLinesAndAllStates) {
    world.SetFieldWidth(120);
    world.SetFieldHeight(90);
    world.Random.FixSeed(7);
    for (Layer layer : {Layer::Main, Layer::OtherReality}) {
        StateField& field = world.LayerField(layer);
        for (int x = 0; x <= 120; ++x)
            for (int y = 0; y <= 90; ++y)
                field.at(x, y) = world.Random.Below(3) == 0 ? 1 + world.Random.Below(264) : 0;
        TextBuilder out;
        WriteFieldSection(out, world, layer, true);
        const auto lines = Lines(out);
        for (const auto& line : lines) {
            EXPECT_TRUE(StartsWith(line, FieldSectionPrefix(layer)));
            EXPECT_LE(line.size(), 4u + 71u + 16u);
        }
        ASSERT_TRUE(ReadFieldSection(world, lines, FieldSectionKey(layer)));
        for (int x = 0; x <= 120; ++x)
            for (int y = 0; y <= 90; ++y)
                ASSERT_EQ(world.StagingGrid.at(x, y), field.at(x, y)) << x << "," << y;
    }
}

TEST_F(FieldSection, KeysAreExactAndSplitsMayFallBetweenCountAndSymbol) {
    const std::vector<std::string> lines = {"#LB 5A", "#L 12", "#L A$0A", "#LR $$$A"};
    ASSERT_TRUE(ReadFieldSection(world, lines, "#L "));
    EXPECT_EQ(test::LiveCells(world.StagingGrid, -3, -3, 20, 20).size(), 13u);
    EXPECT_EQ(world.StagingGrid.at(11, 0), 1);
    EXPECT_EQ(world.StagingGrid.at(0, 1), 1);  // "0A" counts as one cell
    EXPECT_EQ(world.StagingGrid.at(1, 1), 0);
}

TEST_F(FieldSection, HugeCountsAreClippedWithoutLoopingOrOverflow) {
    world.SetFieldWidth(25);
    world.SetFieldHeight(25);
    const std::vector<std::string> lines = {"#L 99999999999999999999999999A3B$999999999999$C",
                                            "#L 2147483647$D"};
    ASSERT_TRUE(ReadFieldSection(world, lines, "#L "));
    // The first run fills the row to the extent; later cells of the row are cut.
    for (int x = 0; x <= 26; ++x)
        EXPECT_EQ(world.StagingGrid.at(x, 0), 1);
    EXPECT_EQ(world.StagingGrid.at(27, 0), 0);
    EXPECT_EQ(test::LiveCells(world.StagingGrid, -3, 1, 1001, 1001).size(), 0u);
}

TEST_F(FieldSection, SelectionOfTheMainFieldStartsAtItsFirstCell) {
    world.MainField.at(10, 20) = 3;
    world.MainField.at(12, 21) = 1;
    world.EternalLifeField.at(10, 20) = 1;
    world.Selection = {10, 20, 12, 21};
    TextBuilder out;
    WriteFieldSection(out, world, Layer::Main, false);
    EXPECT_EQ(out.Text(), "#L C$2.A\r\n");
}

}  // namespace
}  // namespace zentorix
