#include <gtest/gtest.h>

#include "model/cell_field.h"
#include "model/world.h"

namespace zentorix {
namespace {

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
