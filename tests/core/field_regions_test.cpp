#include <gtest/gtest.h>

#include "core/test_support.h"
#include "engine/field_regions.h"
#include "model/cell_field.h"
#include "model/world.h"

namespace zentorix {
namespace {

int LiveCount(const StateField& field, const CellRect& r) {
    return static_cast<int>(
        test::LiveCells(field, r.FirstColumn, r.FirstRow, r.LastColumn, r.LastRow).size());
}

struct Fill : ::testing::Test {
    World w;
    Settings s;
    Fill() {
        w.SetFieldWidth(40);
        w.SetFieldHeight(30);
        w.Random.FixSeed(7);
    }
};

TEST_F(Fill, RegionSolidFillWritesOnlyTheChosenTargetsWithinTheGridsAndClearsMarks) {
    // Nothing at intensity 0, without targets, or in an empty rectangle.
    FillRegion(w, s, WholeFieldRect(w), FillTargets::All, 0);
    FillRegion(w, s, WholeFieldRect(w), FillTargets::RandomFill, 100);  // no fill targets
    FillRegion(w, s, {5, 5, 4, 9}, FillTargets::All, 100);              // empty rectangle
    for (Layer l : {Layer::Main, Layer::EternalLife, Layer::EternalDead, Layer::OtherReality})
        EXPECT_EQ(LiveCount(w.LayerField(l), {-3, -3, kGridHigh, kGridHigh}), 0);

    // Paint targets stay at their start (the Main Field only); the fill button's
    // targets are the two eternal layers.
    s.EtenalLifeFillRandom = s.EtenalDeadFillRandom = true;
    w.BornMarks.at(5, 5) = 1;
    w.DiedMarks.at(-3, -3) = 1;
    w.BornMarks.at(50, 50) = 1;  // outside the field: stays
    const CellRect all = WholeFieldRect(w);
    FillRegion(w, s, all, FillTargets::RandomFill, 100);
    const int cells = (w.ExtentX() + 4) * (w.ExtentY() + 4);
    EXPECT_EQ(LiveCount(w.EternalDeadField, all), cells);
    EXPECT_EQ(LiveCount(w.MainField, all), 0);
    EXPECT_EQ(w.EternalLifeField.at(w.ExtentX() + 1, 0), 0);
    EXPECT_EQ(w.BornMarks.at(5, 5), 0);
    EXPECT_EQ(w.DiedMarks.at(-3, -3), 0);
    EXPECT_EQ(w.BornMarks.at(50, 50), 1);

    // The selection's solid fill writes the paint targets.
    const CellRect block{2, 3, 4, 5};
    FillRegion(w, s, block, FillTargets::Paint, 100);
    EXPECT_EQ(LiveCount(w.MainField, all), 9);
    EXPECT_EQ(LiveCount(w.MainField, block), 9);

    // A selection reaching far beyond the grids fills up to their edges.
    FillRegion(w, s, {-500, 990, 5000, 5000}, FillTargets::Paint, 100);
    EXPECT_EQ(w.MainField.at(-3, kGridHigh), 1);
    EXPECT_EQ(w.MainField.at(kGridHigh, 990), 1);
    EXPECT_EQ(w.MainField.at(-4, 995), 0);
    EXPECT_EQ(w.MainField.at(0, 989), 0);
}

TEST_F(Fill, RegionPartialIntensitySprinklesTheSameCellsIntoEveryChosenLayerAndNeverClears) {
    w.OtherRealityField.at(10, 10) = 7;
    w.BornMarks.at(11, 11) = 1;
    const CellRect r{1, 1, 40, 30};
    FillRegion(w, s, r, FillTargets::All, 30);
    const int live = LiveCount(w.MainField, r);
    // 1200 cells at 30 %: far inside 300..420 unless the chance is wrong.
    EXPECT_GT(live, 300);
    EXPECT_LT(live, 420);
    EXPECT_EQ(test::LiveCells(w.EternalDeadField, 1, 1, 40, 30),
              test::LiveCells(w.MainField, 1, 1, 40, 30));
    EXPECT_GT(w.OtherRealityField.at(10, 10), 0);  // set or kept, never cleared
    EXPECT_EQ(w.BornMarks.at(11, 11), 1);          // only a solid fill clears marks
    EXPECT_EQ(LiveCount(w.MainField, WholeFieldRect(w)), live);
}

TEST(CellField, IndexRangesSizesAndWrap) {
    World world;
    EXPECT_EQ(world.MainField.Low(), -11);
    EXPECT_EQ(world.StagingGrid.Low(), -11);
    EXPECT_EQ(world.BornMarks.Low(), -3);
    EXPECT_EQ(world.EternalLifeField.Low(), -3);
    // The far corners are addressable and start empty.
    world.MainField.at(-11, 1001) = 5;
    world.OtherRealityField.at(1001, -3) = 7;
    EXPECT_EQ(world.MainField.at(-11, 1001), 5);
    EXPECT_EQ(world.OtherRealityField.at(1001, -3), 7);
    EXPECT_EQ(world.MainField.at(1001, -11), 0);
    // Outside the range reads 0 and drops writes.
    world.MainField.Set(1002, 0, 9);
    EXPECT_EQ(world.MainField.Get(1002, 0), 0);
    EXPECT_EQ(world.MainField.Get(-12, 0), 0);

    // Field sizes start at 160 by 140 and keep within 25..999; Extent is one past.
    EXPECT_EQ(world.FieldWidth(), 160);
    EXPECT_EQ(world.FieldHeight(), 140);
    world.SetFieldWidth(10);
    world.SetFieldHeight(5000);
    EXPECT_EQ(world.FieldWidth(), 25);
    EXPECT_EQ(world.FieldHeight(), 999);
    EXPECT_EQ(world.ExtentX(), 26);
    EXPECT_EQ(world.ExtentY(), 1000);

    for (auto [a, wrapped] : {std::pair{-1, 25}, {26, 0}, {-27, 25}, {5, 5}})
        EXPECT_EQ(WrapIndex(a, 26), wrapped) << a;
}

}  // namespace
}  // namespace zentorix
