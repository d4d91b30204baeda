#include <gtest/gtest.h>

#include <array>

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
    EXPECT_EQ(std::pair(LiveCount(w.EternalDeadField, all), LiveCount(w.MainField, all)),
              std::pair(cells, 0));
    EXPECT_EQ((std::array<int, 4>{w.EternalLifeField.at(w.ExtentX() + 1, 0), w.BornMarks.at(5, 5),
                                  w.DiedMarks.at(-3, -3), w.BornMarks.at(50, 50)}),
              (std::array{0, 0, 0, 1}));

    // The selection's solid fill writes the paint targets.
    const CellRect block{2, 3, 4, 5};
    FillRegion(w, s, block, FillTargets::Paint, 100);
    EXPECT_EQ(LiveCount(w.MainField, all) + LiveCount(w.MainField, block), 18);

    // A selection reaching far beyond the grids fills up to their edges.
    FillRegion(w, s, {-500, 990, 5000, 5000}, FillTargets::Paint, 100);
    EXPECT_EQ((std::array{w.MainField.at(-3, kGridHigh), w.MainField.at(kGridHigh, 990),
                          w.MainField.at(-4, 995), w.MainField.at(0, 989)}),
              (std::array{1, 1, 0, 0}));
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
    // Other Reality set or kept, never cleared; only a solid fill clears marks.
    EXPECT_EQ(std::pair(w.OtherRealityField.at(10, 10) > 0, int{w.BornMarks.at(11, 11)}),
              std::pair(true, 1));
    EXPECT_EQ(LiveCount(w.MainField, WholeFieldRect(w)), live);
}

TEST(CellField, IndexRangesSizesAndWrap) {
    World world;
    // The far corners are addressable and start empty; outside the range reads 0
    // and drops writes.
    world.MainField.at(-11, 1001) = 5;
    world.OtherRealityField.at(1001, -3) = 7;
    world.MainField.Set(1002, 0, 9);
    EXPECT_EQ((std::vector{world.MainField.at(-11, 1001), world.OtherRealityField.at(1001, -3),
                           world.MainField.at(1001, -11), world.MainField.Get(1002, 0),
                           world.MainField.Get(-12, 0)}),
              (std::vector{5, 7, 0, 0, 0}));
    // Field sizes keep within 25..999; Extent is one past.
    world.SetFieldWidth(10);
    world.SetFieldHeight(5000);
    EXPECT_EQ(
        (std::array{world.FieldWidth(), world.FieldHeight(), world.ExtentX(), world.ExtentY()}),
        (std::array{25, 999, 26, 1000}));

    for (auto [a, wrapped] : {std::pair{-1, 25}, {26, 0}, {-27, 25}, {5, 5}})
        EXPECT_EQ(WrapIndex(a, 26), wrapped) << a;
}

}  // namespace
}  // namespace zentorix
