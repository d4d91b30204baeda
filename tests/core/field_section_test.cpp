#include <gtest/gtest.h>

#include "core/test_support.h"
#include "formats/field_section.h"

namespace zentorix {
namespace {

// The data lines the writer makes for a layer, or for the selection of the Main Field.
std::string Written(const World& world, Layer layer = Layer::Main, bool whole = true) {
    TextBuilder out;
    WriteFieldSection(out, world, layer, whole);
    return out.Text();
}

struct FieldSection : ::testing::Test {
    World world;
};

TEST_F(FieldSection, EmptyLayerRunsRowEndsEdgeCellsAndSelection) {
    // An empty layer is one bare prefix line and reads back as no data.
    const std::string empty = Written(world);
    EXPECT_EQ(empty, "#L \r\n");
    world.StagingGrid.at(5, 5) = 9;
    EXPECT_FALSE(ReadFieldSection(world, SplitLines(empty), "#L "));
    EXPECT_EQ(world.StagingGrid.at(5, 5), 0);

    // The selection of the Main Field starts at its first cell.
    World selected;
    test::Draw(selected.MainField, 10, 20, {"C..", "..*"});
    selected.EternalLifeField.at(10, 20) = 1;
    selected.Selection = {10, 20, 12, 21};
    EXPECT_EQ(Written(selected, Layer::Main, false), "#L C$2.A\r\n");

    // Row 0 empty; row 1 starts with a live cell at column 0; row 2 holds a cell
    // at the last column W; rows 3..5 empty; row 6 a run of three.
    world.SetFieldWidth(30);
    world.SetFieldHeight(30);
    world.MainField.at(0, 1) = 1;
    world.MainField.at(30, 2) = 2;
    test::Draw(world.MainField, 4, 6, {"***"});
    const std::string runs = Written(world);
    EXPECT_EQ(runs, "#L $A$30.B4$4.3A\r\n");
    ASSERT_TRUE(ReadFieldSection(world, SplitLines(runs), "#L "));
    EXPECT_EQ(test::LiveCells(world.StagingGrid, -3, -3, 31, 31),
              (test::Cells{{0, 1}, {4, 6}, {5, 6}, {6, 6}, {30, 2}}));
    EXPECT_EQ(world.StagingGrid.at(30, 2), 2);
}

TEST_F(FieldSection, SymbolsKeysSplitsAndHugeCounts) {
    std::string s;
    for (int state : {0, 1, 24, 25, 48, 49, 72, 73, 264, 265, -7, 100000}) {
        AppendCellSymbol(s, state);
        s += ' ';
    }
    EXPECT_EQ(s, ". A X aA aX bA bX cA jX jX . jX ");

    ASSERT_TRUE(ReadFieldSection(world, {"#L 3aB.cA$A", "#LB X"}, "#L "));
    const StateField& g = world.StagingGrid;
    EXPECT_EQ((std::vector<int>{g.at(0, 0), g.at(2, 0), g.at(3, 0), g.at(4, 0), g.at(0, 1)}),
              (std::vector<int>{26, 26, 0, 73, 1}));

    // Keys are exact; a split may fall between a count and its symbol.
    ASSERT_TRUE(ReadFieldSection(world, {"#LB 5A", "#L 12", "#L A$0A", "#LR $$$A"}, "#L "));
    EXPECT_EQ(test::LiveCells(world.StagingGrid, -3, -3, 20, 20).size(), 13u);
    EXPECT_EQ(world.StagingGrid.at(11, 0), 1);
    EXPECT_EQ(world.StagingGrid.at(0, 1), 1);  // "0A" counts as one cell
    EXPECT_EQ(world.StagingGrid.at(1, 1), 0);

    // Huge counts: the first run fills the row to the extent, later cells are cut.
    world.SetFieldWidth(25);
    world.SetFieldHeight(25);
    ASSERT_TRUE(ReadFieldSection(
        world, {"#L 99999999999999999999999999A3B$999999999999$C", "#L 2147483647$D"}, "#L "));
    for (int x = 0; x <= 26; ++x)
        EXPECT_EQ(world.StagingGrid.at(x, 0), 1);
    EXPECT_EQ(world.StagingGrid.at(27, 0), 0);
    EXPECT_EQ(test::LiveCells(world.StagingGrid, -3, 1, 1001, 1001).size(), 0u);
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
        const auto lines = SplitLines(Written(world, layer));
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

}  // namespace
}  // namespace zentorix
