#include <gtest/gtest.h>

#include "core/temp_folder.h"
#include "core/test_support.h"
#include "formats/pattern_load.h"
#include "formats/text_file.h"

namespace zentorix {
namespace {

using test::Cells;
using test::TempFolder;

TEST(ClassifyPatternFile, FirstLineAndContentRules) {
    const struct {
        const char* name;
        std::string_view content;
        PatternFormat expected;
    } cases[] = {
        {"native.zlf", "#Zentorix configuration file\r\n#L A\r\n", PatternFormat::Native},
        {"native-anywhere.txt", "xx #Zentorix yy\n", PatternFormat::Native},
        {"mcell.mcl", "#MCell 4.20\n#L 3A\n", PatternFormat::MCell},
        {"life20.l", "dxxxR\n", PatternFormat::Life20},
        {"life105.lif", "#Life 1.05\n", PatternFormat::Life105},
        {"life105b.lif", "#Life 1.05b\n", PatternFormat::Life106},
        {"life106.lif", "#Life 1.06\r\n0 0\r\n", PatternFormat::Life106},
        // With a trailing blank the header test fails and the content decides.
        {"life106-blank-alone.lif", "#Life 1.06 \n", PatternFormat::None},
        {"life106-blank-cells.lif", "#Life 1.06 \n0 -1\n1 0\n", PatternFormat::Life106},
        {"life106-blank-picture.lif", "#Life 1.06 \n.*\n*.\n", PatternFormat::Life105},
        // Headerless files.
        {"cells.txt", "0 -1\n1 0\n-1 1\n", PatternFormat::Life106},
        {"cells-leading-blank-rest.txt", "0    -1\n", PatternFormat::Life106},
        {"three-numbers.txt", "1 2 3\n", PatternFormat::None},
        {"first-word-empty.txt", " 1 2\n", PatternFormat::None},
        {"picture.txt", ".*.\n..*\n***\n", PatternFormat::Life105},
        {"picture-o.txt", ".o\no.\n", PatternFormat::Life105},
        {"half-pair.txt", ".*\n.*\n", PatternFormat::None},
        {"rle.txt", "x = 3, y = 3\nbo$2bo$3o!\n", PatternFormat::Rle},
        {"rle-missing-bang.txt", "bo$2bo$3o\n", PatternFormat::None},
        // Comment lines carry no marks; a full header line names RLE whatever the
        // data holds (state 15 is "O", so ".O." is multi-state data).
        {"rle-with-pair.txt", "bo$2bo$3o!\n#C .o and o.\n", PatternFormat::Rle},
        {"rle-versions.rle", "#C Made with 10.0; 4.0 is older\nx = 3, y = 3\nbo$2bo$3o!\n",
         PatternFormat::Rle},
        {"rle-states.rle", "x = 3, y = 2, rule = 23/3/16\n.O.$O.O!\n", PatternFormat::Rle},
        {"picture-comment.txt", "#C the rle marks b o $ !\n.*\n*.\n", PatternFormat::Life105},
        // Random bytes and programs hold NUL bytes: no text pattern.
        {"binary.bin", std::string_view(".*\0*.\nbo$!\n", 11), PatternFormat::None},
        // A pattern without empty runs has no "b"; its header line tells.
        {"block.rle", "#N Block\nx = 2, y = 2, rule = B3/S23\n2o$2o!\n", PatternFormat::Rle},
        {"block-compact.rle", "x=2,y=2\n2o$2o!\n", PatternFormat::Rle},
        {"not-a-header.txt", "xx = 2\n2o$2o!\n", PatternFormat::None},
        // Marks after the last coordinate line take the Life 1.06 tag away again;
        // a coordinate line forgets the marks before it.
        {"cells-then-marks.txt", "1 2\n3 4\nbo$\n", PatternFormat::None},
        {"cells-then-rle.txt", "1 2\nbo$o!\n", PatternFormat::Rle},
        {"marks-then-cells.txt", "bo$o!\n.*\n*.\n1 2\n", PatternFormat::Life106},
        {"empty.txt", "", PatternFormat::None},
        // A bitmap goes by its extension alone.
        {"picture.BMP", "bo$2bo$3o!\n", PatternFormat::Bitmap},
        {"picture.bmp", "", PatternFormat::Bitmap},
    };
    TempFolder folder;
    for (const auto& c : cases)
        EXPECT_EQ(ClassifyPatternFile(folder.Write(c.name, c.content)), c.expected) << c.name;
    EXPECT_EQ(ClassifyPatternFile(folder.Path() / "missing.rle"), PatternFormat::None);
    EXPECT_EQ(ClassifyPatternFile(folder.Path() / "missing.bmp"), PatternFormat::None);
}

struct PatternLoad : ::testing::Test {
    TempFolder folder;
    World world;
    Settings settings;
};

TEST_F(PatternLoad, OpenMissingHugeUnknownAndGoodFiles) {
    world.Description = {"kept"};
    world.MainField.at(10, 10) = 1;
    EXPECT_FALSE(OpenPatternFile(world, settings, folder.Path() / "missing.rle").found);
    // A file too large for any pattern is refused before anything changes.
    const auto huge = folder.Write("huge.rle", "bo$2bo$3o!\n");
    std::filesystem::resize_file(huge, kMaxPatternFileBytes + 1);
    EXPECT_THROW(OpenPatternFile(world, settings, huge), FileError);
    EXPECT_EQ(world.Description, std::vector<std::string>{"kept"});

    // A file that fits no test is not read; only the description is emptied.
    OpenResult r = OpenPatternFile(world, settings, folder.Write("notes.txt", "nothing to see\n"));
    EXPECT_TRUE(r.found);
    EXPECT_EQ(r.format, PatternFormat::None);
    EXPECT_TRUE(world.Description.empty());
    EXPECT_EQ(test::AllLive(world.MainField), (Cells{{10, 10}}));

    // An opened pattern stops the run and lands on the field.
    settings.StopForLoad = true;
    world.Counters.Generation = 321;
    r = OpenPatternFile(world, settings, folder.Write("row.rle", "x = 3, y = 2\r\n3o$bob!\r\n"),
                        PanelSize{1000, 1000});
    EXPECT_EQ(r.format, PatternFormat::Rle);
    EXPECT_TRUE(r.stopRun);
    EXPECT_EQ(world.Counters.Generation, 1);
    // w = 4, h = 2: extents 104 by 102, the cell size 1000 / 104.
    EXPECT_EQ(settings.CellSize, 9);
    EXPECT_EQ(test::AllLive(world.MainField), (Cells{{52, 51}, {53, 51}, {53, 52}, {54, 51}}));
}

TEST_F(PatternLoad, BeginClearsTheEraseTargetsAndTheStagingGrid) {
    settings.EternalLifeErase = false;
    const int ex = world.ExtentX(), ey = world.ExtentY();
    world.MainField.at(-3, -3) = 1;
    world.MainField.at(ex + 1, 0) = 1;  // beyond the erased range
    world.EternalLifeField.at(5, 5) = 1;
    world.EternalDeadField.at(5, 5) = 1;
    world.StagingGrid.at(ex, ey) = 4;
    world.Counters.Generation = 57;

    EXPECT_FALSE(BeginPatternLoad(world, settings, "/some/folder/glider.lif", "Life 1.05"));
    EXPECT_EQ(world.CurrentFileName, "glider.lif");
    EXPECT_EQ(world.Description, std::vector<std::string>{"Life 1.05"});
    EXPECT_EQ(world.Counters.Generation, 57);
    EXPECT_EQ(test::AllLive(world.MainField), (Cells{{ex + 1, 0}}));
    EXPECT_EQ(world.EternalLifeField.at(5, 5), 1);
    EXPECT_EQ(world.EternalDeadField.at(5, 5), 0);
    EXPECT_EQ(world.StagingGrid.at(ex, ey), 0);

    settings.StopForLoad = true;
    settings.ClearForLoad = false;
    world.MainField.at(7, 7) = 1;
    world.StagingGrid.at(2, 2) = 3;
    EXPECT_TRUE(BeginPatternLoad(world, settings, "b.rle", "RLE-file"));
    EXPECT_EQ(world.Counters.Generation, 1);
    EXPECT_EQ(world.MainField.at(7, 7), 1);
    EXPECT_EQ(world.StagingGrid.at(2, 2), 3);
}

TEST_F(PatternLoad, FittingBringsTheExtentNearThePatternAndSizesTheCells) {
    const auto extents = [&] { return std::pair(world.ExtentX(), world.ExtentY()); };
    PlacePattern(world, settings, 10, 10, true, {});
    EXPECT_EQ(extents(), std::pair(110, 110));  // 161 lowered to w + 100
    EXPECT_EQ(settings.CellSize, 7);            // no panel: kept

    // The cell size from the panel stays within its range.
    settings.SetSizeCells(7);
    PlacePattern(world, settings, 10, 10, true, PanelSize{800, 600});
    EXPECT_EQ(settings.CellSize, 5);  // min(600 / 110, 800 / 110)
    PlacePattern(world, settings, 10, 10, true, PanelSize{50, 50});
    EXPECT_EQ(settings.CellSize, 1);
    EXPECT_EQ(settings.SizeCells, 1);
    PlacePattern(world, settings, 10, 10, true, PanelSize{100000, 100000});
    EXPECT_EQ(settings.CellSize, 50);

    world.SetFieldWidth(25);
    world.SetFieldHeight(60);
    PlacePattern(world, settings, 10, 10, true, {});
    EXPECT_EQ(extents(), std::pair(30, 61));  // 26 raised to w + 20; 61 inside the range

    // Fitting only with ClearForLoad, and only when asked.
    PlacePattern(world, settings, 200, 200, false, {});
    EXPECT_EQ(world.ExtentX(), 30);
    settings.ClearForLoad = false;
    PlacePattern(world, settings, 200, 200, true, {});
    EXPECT_EQ(world.ExtentX(), 30);
}

TEST_F(PatternLoad, PlacementOffsetsCarryTheExtraTwoColumns) {
    world.StagingGrid.at(0, 0) = 1;
    world.StagingGrid.at(3, 4) = 2;
    world.StagingGrid.at(4, 5) = 9;  // outside 0..w by 0..h
    PlacePattern(world, settings, 3, 4, true, {});
    // Extents 103 and 104: cx = 51 - 1 + 2, cy = 52 - 2.
    EXPECT_EQ(test::AllLive(world.MainField), (Cells{{52, 50}, {55, 54}}));
    EXPECT_EQ(std::pair(world.MainField.at(52, 50), world.MainField.at(55, 54)), std::pair(1, 2));

    // A negative width copies nothing.
    world.StagingGrid.at(0, 0) = 5;
    PlacePattern(world, settings, -1, 4, false, {});
    EXPECT_EQ(world.MainField.at(52, 50), 1);

    // The load selector chooses the layer.
    settings.LoadFieldSelector = static_cast<int>(Layer::EternalDead);
    PlacePattern(world, settings, 3, 4, false, {});
    EXPECT_EQ(test::AllLive(world.EternalDeadField), (Cells{{52, 50}, {55, 54}}));
    EXPECT_EQ(world.EternalDeadField.at(52, 50), 5);
}

TEST_F(PatternLoad, LargePatternsAreCutAndNeverWrittenPastTheExtent) {
    world.StagingGrid.FillRect(0, 0, 999, 999, 1);
    PlacePattern(world, settings, 2000, 2000, true, {});
    EXPECT_EQ(std::pair(world.FieldWidth(), world.FieldHeight()), std::pair(997, 997));
    // w and h cut to 996: cx = 499 - 498 + 2 = 3, cy = 1.
    EXPECT_EQ(world.MainField.at(2, 1), 0);
    EXPECT_EQ(world.MainField.at(3, 1), 1);
    EXPECT_EQ(world.MainField.at(998, 997), 1);
    EXPECT_EQ(world.MainField.at(999, 997), 0);
    const std::int64_t placed = static_cast<std::int64_t>(test::AllLive(world.MainField).size());
    EXPECT_EQ(world.LastPatternCut.liveLeftOut, 1000 * 1000 - placed);

    // Opened from a file: what the staging grid could not hold counts too, and
    // the open says what was lost (the window shows it, the batch program prints it).
    std::string rle = "x = 3145, y = 396\n";
    for (int row = 0; row < 396; ++row)
        rle += "3145o$";
    rle.back() = '!';
    World opened;
    const OpenResult r = OpenPatternFile(opened, settings, folder.Write("wide.rle", rle));
    const std::int64_t shown = static_cast<std::int64_t>(test::AllLive(opened.MainField).size());
    EXPECT_GT(shown, 0);
    EXPECT_EQ(r.problems,
              std::vector<std::string>{
                  "The pattern is 3145 x 396 cells, the field 997 x " +
                  std::to_string(opened.FieldHeight()) + ": only the part that fits was placed, " +
                  std::to_string(3145 * 396 - shown) + " live cells were left out."});
    // A pattern that fits says nothing.
    EXPECT_TRUE(
        OpenPatternFile(opened, settings, folder.Write("g.rle", "bo$2bo$3o!\n")).problems.empty());

    // Without clearing the field keeps its size and the cells outside the
    // rectangle; a wide pattern is cut at the right.
    World small;
    settings.ClearForLoad = false;
    small.SetFieldWidth(25);
    small.SetFieldHeight(25);
    small.MainField.at(1, 1) = 7;
    small.MainField.at(27, 11) = 5;
    for (int i = 0; i < 40; ++i)
        small.StagingGrid.at(i, 0) = i + 1;
    PlacePattern(small, settings, 40, 5, true, {});
    EXPECT_EQ(small.FieldWidth(), 25);
    // w cut to 24: cx = 13 - 12 + 2 = 3, cy = 13 - 2 = 11.
    EXPECT_EQ(small.MainField.at(3, 11), 1);
    EXPECT_EQ(small.MainField.at(26, 11), 24);
    EXPECT_EQ(small.MainField.at(27, 11), 5);
    EXPECT_EQ(small.MainField.at(1, 1), 7);
    EXPECT_EQ(small.LastPatternCut.liveLeftOut, 16);
}

}  // namespace
}  // namespace zentorix
