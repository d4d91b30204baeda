#include "formats/pattern_load.h"
#include "core/format_test_support.h"
#include "formats/save_as.h"

namespace zentorix {
namespace {

using namespace test;

TEST(ClassifyPatternFile, FirstLineAndContentRules) {
    // The file's name and content, and the format it is taken for.
    const std::tuple<const char*, std::string_view, PatternFormat> cases[] = {
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
    for (const auto& [name, content, expected] : cases)
        EXPECT_EQ(ClassifyPatternFile(folder.Write(name, content)), expected) << name;
    EXPECT_EQ(ClassifyPatternFile(folder.Path() / "missing.rle"), PatternFormat::None);
    EXPECT_EQ(ClassifyPatternFile(folder.Path() / "missing.bmp"), PatternFormat::None);
}

using PatternLoad = FileTest;

TEST_F(PatternLoad, OpenMissingHugeUnknownAndGoodFiles) {
    world.Description = {"kept"};
    world.MainField.at(10, 10) = 1;
    EXPECT_FALSE(OpenPatternFile(world, settings, dir.Path() / "missing.rle").found);
    // A file too large for any pattern is refused before anything changes.
    const auto huge = dir.Write("huge.rle", "bo$2bo$3o!\n");
    std::filesystem::resize_file(huge, kMaxPatternFileBytes + 1);
    EXPECT_THROW(OpenPatternFile(world, settings, huge), FileError);
    EXPECT_EQ(world.Description, Lines{"kept"});

    // A file that fits no test is not read; only the description is emptied.
    OpenResult r = OpenPatternFile(world, settings, dir.Write("notes.txt", "nothing to see\n"));
    EXPECT_EQ(std::tuple(r.found, r.format, world.Description.empty()),
              std::tuple(true, PatternFormat::None, true));
    EXPECT_EQ(AllLive(world.MainField), (Cells{{10, 10}}));

    // An opened pattern stops the run and lands on the field.
    settings.StopForLoad = true;
    world.Counters.Generation = 321;
    r = OpenPatternFile(world, settings, dir.Write("row.rle", "x = 3, y = 2\r\n3o$bob!\r\n"),
                        PanelSize{1000, 1000});
    // w = 4, h = 2: extents 104 by 102, the cell size 1000 / 104.
    EXPECT_EQ(std::tuple(r.format, r.stopRun, world.Counters.Generation, settings.CellSize),
              std::tuple(PatternFormat::Rle, true, 1, 9));
    EXPECT_EQ(AllLive(world.MainField), (Cells{{52, 51}, {53, 51}, {53, 52}, {54, 51}}));
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
    EXPECT_EQ(std::tuple(world.CurrentFileName, world.Description, world.Counters.Generation),
              std::tuple("glider.lif", Lines{"Life 1.05"}, 57));
    EXPECT_EQ(AllLive(world.MainField), (Cells{{ex + 1, 0}}));
    EXPECT_EQ(std::tuple(world.EternalLifeField.at(5, 5), world.EternalDeadField.at(5, 5),
                         world.StagingGrid.at(ex, ey)),
              std::tuple(1, 0, 0));

    settings.StopForLoad = true;
    settings.ClearForLoad = false;
    world.MainField.at(7, 7) = 1;
    world.StagingGrid.at(2, 2) = 3;
    EXPECT_TRUE(BeginPatternLoad(world, settings, "b.rle", "RLE-file"));
    EXPECT_EQ(
        std::tuple(world.Counters.Generation, world.MainField.at(7, 7), world.StagingGrid.at(2, 2)),
        std::tuple(1, 1, 3));
}

TEST_F(PatternLoad, FittingAndPlacementOffsets) {
    const auto extents = [&] { return std::tuple(world.ExtentX(), world.ExtentY()); };
    // Extents of 161 are lowered to w + 100; the cell size from the panel stays
    // within its range.
    settings.SetSizeCells(7);
    const std::pair<PanelSize, int> panels[] = {
        {{800, 600}, 5}, {{50, 50}, 1}, {{100000, 100000}, 50}};  // 5: min(600 / 110, 800 / 110)
    for (const auto& [panel, size] : panels) {
        PlacePattern(world, settings, 10, 10, true, panel);
        EXPECT_EQ(std::tuple(extents(), settings.CellSize), std::tuple(std::tuple(110, 110), size));
        EXPECT_TRUE(size != 1 || settings.SizeCells == 1);
    }
    Put(world.StagingGrid, "0,0 3,4=2 4,5=9");  // the last outside 0..w by 0..h
    PlacePattern(world, settings, 3, 4, true, {});
    // Extents 103 and 104, so cx = 51 - 1 + 2, cy = 52 - 2.
    EXPECT_EQ(extents(), std::tuple(103, 104));
    EXPECT_EQ(Staged(world.MainField), (States{{52, 50, 1}, {55, 54, 2}}));
    EXPECT_EQ(settings.CellSize, 50);  // no panel: kept

    // A negative width copies nothing; the load selector chooses the layer.
    world.StagingGrid.at(0, 0) = 5;
    PlacePattern(world, settings, -1, 4, false, {});
    EXPECT_EQ(world.MainField.at(52, 50), 1);
    settings.LoadFieldSelector = static_cast<int>(Layer::EternalDead);
    PlacePattern(world, settings, 3, 4, false, {});
    EXPECT_EQ(Staged(world.EternalDeadField), (States{{52, 50, 5}, {55, 54, 2}}));

    SetFieldSize(world, 25, 60);
    PlacePattern(world, settings, 10, 10, true, {});
    EXPECT_EQ(extents(), std::tuple(30, 61));  // 26 raised to w + 20; 61 inside the range
    // Fitting only with ClearForLoad, and only when asked.
    PlacePattern(world, settings, 200, 200, false, {});
    settings.ClearForLoad = false;
    PlacePattern(world, settings, 200, 200, true, {});
    EXPECT_EQ(extents(), std::tuple(30, 61));

    // A pattern as large as the field, below the empty row a reader leaves above
    // it, keeps its edge cells.
    World full;
    SetFieldSize(full, 25, 25);
    Put(full.StagingGrid, "0,1 24,1 0,25 24,25");
    PlacePattern(full, settings, 24, 25, false, {});
    EXPECT_EQ(CellText(full.EternalDeadField), "1,1 1,25 25,1 25,25");
}

TEST_F(PatternLoad, LargePatternsAreCutAndNeverWrittenPastTheExtent) {
    // What the field cannot hold, and what the staging grid could not, is left
    // out; the open says what was lost (the window shows it, the batch program prints it).
    std::string rle = "x = 3145, y = 999\n";
    for (int row = 0; row < 396; ++row)
        rle += "3145o$";
    rle += "602$o!";  // row 999 of the staging grid, its last
    World opened;
    const OpenResult r = OpenPatternFile(opened, settings, dir.Write("wide.rle", rle));
    const std::int64_t shown = static_cast<std::int64_t>(AllLive(opened.MainField).size());
    EXPECT_GT(shown, 0);
    EXPECT_EQ(r.problems,
              std::vector<std::string>{
                  "The pattern is 3145 x 999 cells, the field 997 x " +
                  std::to_string(opened.FieldHeight()) + ": only the part that fits was placed, " +
                  std::to_string(3145 * 396 + 1 - shown) + " live cells were left out."});
    // A pattern that fits says nothing.
    EXPECT_TRUE(
        OpenPatternFile(opened, settings, dir.Write("g.rle", "bo$2bo$3o!\n")).problems.empty());

    // Without clearing the field keeps its size and the cells outside the
    // rectangle; a wide pattern is cut at the right.
    World small;
    settings.ClearForLoad = false;
    SetFieldSize(small, 25, 25);
    Put(small.MainField, "1,1=7 27,11=5");
    for (int i = 0; i < 40; ++i)
        small.StagingGrid.at(i, 0) = i + 1;
    PlacePattern(small, settings, 40, 5, true, {});
    // w cut to 24: cx = 13 - 12 + 2 = 3, cy = 13 - 2 = 11.
    States row = {{1, 1, 7}};
    for (int x = 3; x <= 27; ++x)
        row.push_back({x, 11, x == 27 ? 5 : x - 2});
    EXPECT_EQ(Staged(small.MainField), row);
    EXPECT_EQ(std::tuple(small.FieldWidth(), small.LastPatternCut.liveLeftOut), std::tuple(25, 16));
}

// Every writer: a field holding each state 1..top is saved, opened again as a
// user opens it, and compared cell for cell (with what the format can carry of
// the states: all, two, or up to a highest) and by its rule; what a format
// cannot name is announced on save.
TEST(PatternRoundTrip, EveryWriterReadsBackWhatItCanCarry) {
    // The format, the rule and its family, the states 1..top on the field, the
    // highest state the file keeps, and the problems announced on save.
    using Case = std::tuple<SaveFormat, const char*, std::string_view, int, int, std::size_t>;
    const char* kWeighted = "NW1,NN2,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,RS2,RS3,";
    const char* kFiveByFive =
        "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,2N2W1,2N1W1,1N2W1,2N2N1,2N2E1,2N1E1,1N2E1,2W2W1,"
        "2E2E1,2S2W1,2S1W1,1S2W1,2S2S1,2S2E1,2S1E1,1S2E1,HI0,EX2,RB5,RS4,RS5,RS6,";
    const char* kHistory300 = "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI300,EX0,RB2,";
    const char* kOdd = "NW2,NN-1,NE1,WW1,ME3,EE1,SW1,SS1,SE-7,2N2W5,2S2E-2,HI300,EX2,RB3,RB-4,RS0,";
    const Case cases[] = {
        {SaveFormat::Zlf, "23/3", kFamilyLife, 40, 40, 0},
        {SaveFormat::Zlf, kHistory300, kFamilyZentorix, 264, 264, 0},
        {SaveFormat::Life105, "23/3", kFamilyLife, 5, 1, 0},
        {SaveFormat::Life105, kWeighted, kFamilyZentorix, 3, 1, 1},
        {SaveFormat::Life105, "345/2/4", kFamilyGenerations, 2, 1, 2},
        {SaveFormat::MCell, kOdd, kFamilyZentorix, 264, 264, 0},
        // Our own cell letters end at 264: the states above are cut, and said so.
        {SaveFormat::Zlf, kHistory300, kFamilyZentorix, 299, 264, 1},
        {SaveFormat::MCell, kHistory300, kFamilyZentorix, 299, 264, 1},
        {SaveFormat::Rle, "23/36", kFamilyLife, 7, 1, 0},
        {SaveFormat::Rle, "B2/S34V", kFamilyOldLife, 1, 1, 0},
        {SaveFormat::Rle, "B1/S/H", kFamilyOldLife, 1, 1, 0},
        {SaveFormat::Rle, kFiveByFive, kFamilyZentorix, 2, 1, 1},
        {SaveFormat::Rle, "23/3/256", kFamilyGenerations, 255, 255, 0},
        // More states than letters: the rule travels in our comment, the states
        // above 255 as 255.
        {SaveFormat::Rle, kHistory300, kFamilyZentorix, 299, 255, 2},
    };
    TempFolder folder;
    for (const auto& [format, rule, family, top, carried, problems] : cases) {
        SCOPED_TRACE(std::string(rule) + " as " + SavedFilePath(format, "f").extension().string());
        World world, back;
        Settings settings, backSettings;
        settings.SaveRulesCheckBox = true;
        SetFieldSize(world, 61, 45);
        ParseRuleString(world, rule, family, 0);
        // Each state once, spaced so that every run is one cell, around a block.
        for (int s = 1; s <= top; ++s)
            world.MainField.at(3 + (s - 1) % 28 * 2, 3 + (s - 1) / 28 * 4) = s;
        Draw(world.MainField, 20, 42, {"oo", "oo"});

        const SaveResult saved = SaveAs(world, settings, folder.Path() / "f", format);
        EXPECT_EQ(saved.problems.size(), problems);
        EXPECT_TRUE(OpenPatternFile(back, backSettings, saved.path).problems.empty());
        auto expected = Shape(world.MainField);
        for (auto& cell : expected)
            cell[2] = std::min(cell[2], carried);
        EXPECT_EQ(Shape(back.MainField), expected);
        EXPECT_EQ(FormatRuleTokens(back.Rules[0]), FormatRuleTokens(world.Rules[0]));
    }
}

}  // namespace
}  // namespace zentorix
