#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "formats/text_file.h"
#include "view/builtin_palettes.h"
#include "view/colour_model.h"
#include "view/palette_commands.h"
#include "view/palette_files.h"

namespace zentorix {
namespace {

namespace fs = std::filesystem;

class ColourFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        // Unique per run: other builds may run the same tests at the same time.
        folder_ = fs::path(::testing::TempDir()) /
                  (std::string("colour_files_") +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
                   std::to_string(std::random_device{}()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    void WriteRaw(const std::string& fileName, const std::string& bytes) {
        std::ofstream(folder_ / fileName, std::ios::binary) << bytes;
    }
    std::string ReadRaw(const std::string& fileName) {
        return ReadFileBytes(folder_ / fileName).value_or("<missing>");
    }

    fs::path folder_;
};

TEST_F(ColourFiles, SchemeFileRoundTrip) {
    ColourModel source;
    ApplyBuiltInColourScheme(source, 3);
    source.ShowDeadCells = true;
    source.ColorMode = true;
    SaveColourScheme(source, folder_, "Ліс темний");

    EXPECT_EQ(ReadRaw("Ліс темний.col"),
              "File of color (main) for Zentorix\r\n"
              "Name - Ліс темний\r\n"
              "#CX  D G   327681263942412632256 8421504   65280   32896\r\n");
    EXPECT_TRUE(PaletteFileExists(folder_, "Ліс темний", kColourSchemeExtension));
    EXPECT_FALSE(fs::exists(folder_ / "Ліс темний.col.tmp"));

    ColourModel back;
    SetGenColourCount(back, 9);
    ASSERT_TRUE(LoadColourScheme(back, folder_, "Ліс темний"));
    EXPECT_EQ(FormatPaletteLine(back, kSchemeLineKind), FormatPaletteLine(source, kSchemeLineKind));
    // A scheme file leaves the palette alone.
    EXPECT_EQ(back.GenColourCount, 9);
    EXPECT_EQ(back.GenPalette, ColourModel{}.GenPalette);
    // With or without the extension the same file is found.
    ColourModel again;
    ASSERT_TRUE(LoadColourScheme(again, folder_, "Ліс темний.col"));
    EXPECT_EQ(again.CellColour, 32768);
}

TEST_F(ColourFiles, PaletteFileHoldsOnlyEntriesUpTo128) {
    ColourModel source;
    SetGenColourCount(source, 200);
    for (int k = 1; k <= kPaletteSize; ++k)
        source.GenPalette[k] = k * 1000;
    SaveGenPalette(source, folder_, "Wide");

    const auto lines = ReadTextLines(folder_ / "Wide.gen");
    ASSERT_TRUE(lines);
    ASSERT_EQ(lines->size(), 19u);
    EXPECT_EQ((*lines)[0], "File of color (generation) for Zentorix");
    EXPECT_EQ((*lines)[1], "Name - Wide");
    EXPECT_EQ((*lines)[2], "#CZ 200");
    EXPECT_EQ((*lines)[18], FormatPaletteLine(source, 15));
    EXPECT_NE(ReadRaw("Wide.gen").find("\r\n#C0 "), std::string::npos);

    ColourModel back;
    for (int k = 129; k <= kPaletteSize; ++k)
        back.GenPalette[k] = 7;
    const Colour schemeCell = back.CellColour;
    ASSERT_TRUE(LoadGenPalette(back, folder_, "Wide"));
    EXPECT_EQ(back.GenColourCount, 200);
    for (int k = 1; k <= 128; ++k)
        ASSERT_EQ(back.GenPalette[k], k * 1000) << k;
    for (int k = 129; k <= 200; ++k)
        ASSERT_EQ(back.GenPalette[k], 7) << k;
    EXPECT_EQ(back.CellColour, schemeCell);
    EXPECT_EQ(back.ColourOfState(150), 7);
    EXPECT_EQ(back.ColourOfState(201), 1000);
}

TEST_F(ColourFiles, HandWrittenFilesInWindows1251) {
    // Windows-1251 name line, CR LF, a comment, a damaged count, a short row and a
    // scheme line inside a palette file (palette files apply every "#C" line).
    WriteRaw("old.gen",
             "File of color (generation) for Zentorix\r\n"
             "Name - \xCF\xE0\xEB\xB3\xF2\xF0\xE0\r\n"
             "; \xEA\xEE\xEC\xE5\xED\xF2\xE0\xF0\r\n"
             "#CZ 0\r\n"
             "#C1      100     200\r\n"
             "#CX B   \r\n");
    ColourModel c;
    ASSERT_TRUE(LoadGenPalette(c, folder_, "old"));
    EXPECT_EQ(c.GenColourCount, 1);
    EXPECT_EQ(c.GenPalette[9], 100);
    EXPECT_EQ(c.GenPalette[10], 200);
    EXPECT_EQ(c.GenPalette[11], 0);
    EXPECT_TRUE(c.ShowBirthCells);
    EXPECT_FALSE(c.ColorOn);
    EXPECT_EQ(c.ColourOfState(5), c.CellColour);

    // A scheme file applies only lines beginning "#CX ": the row and the count in
    // it are skipped, and so is "#CXB" without its blank.
    WriteRaw("old.col",
             "File of color (main) for Zentorix\n"
             "Name - \xD1\xF2\xE0\xF0\xE0\n"
             "#C0        1\n"
             "#CZ   5\n"
             "#CXB        9\n"
             "#CX   S      255       1       2       3       4       5");
    ColourModel s;
    ASSERT_TRUE(LoadColourScheme(s, folder_, "old"));
    EXPECT_EQ(s.CellColour, 255);
    EXPECT_EQ(s.DeadColour, 5);
    EXPECT_TRUE(s.ColorOn);
    EXPECT_EQ(s.GenColourCount, 64);
    EXPECT_EQ(s.GenPalette[1], ColourModel{}.GenPalette[1]);
}

TEST_F(ColourFiles, MissingOrUnsafeNamesChangeNothing) {
    ColourModel c;
    const ColourModel before;
    EXPECT_FALSE(LoadColourScheme(c, folder_, "nothing"));
    EXPECT_FALSE(LoadGenPalette(c, folder_, "nothing"));
    EXPECT_FALSE(LoadGenPalette(c, folder_ / "no-such-folder", "x"));
    WriteRaw("outside.gen", "#CZ   3\r\n");
    fs::create_directories(folder_ / "sub");
    EXPECT_FALSE(LoadGenPalette(c, folder_ / "sub", "../outside"));
    EXPECT_FALSE(LoadGenPalette(c, folder_, ""));
    EXPECT_EQ(c.GenColourCount, before.GenColourCount);
    EXPECT_EQ(FormatPaletteLine(c, kSchemeLineKind), FormatPaletteLine(before, kSchemeLineKind));

    EXPECT_THROW(SaveGenPalette(c, folder_ / "sub", "../escape"), FileError);
    EXPECT_THROW(SaveColourScheme(c, folder_, ""), FileError);
    EXPECT_FALSE(fs::exists(folder_ / "escape.gen"));
    // A folder that does not exist is reported, not ignored.
    EXPECT_THROW(SaveColourScheme(c, folder_ / "no-such-folder", "x"), FileError);
}

TEST_F(ColourFiles, OversizedFileIsRefusedWholesale) {
    WriteRaw("huge.gen", "#CZ  12\r\n" + std::string(2 << 20, ' '));
    ColourModel c;
    EXPECT_THROW(LoadGenPalette(c, folder_, "huge"), FileError);
    EXPECT_EQ(c.GenColourCount, 64);
}

TEST_F(ColourFiles, ListingGivesNamesThatLoadTheirFiles) {
    ColourModel c;
    SaveColourScheme(c, folder_, "b");
    SaveColourScheme(c, folder_, "a");
    SaveGenPalette(c, folder_, "my.colours");
    SaveGenPalette(c, folder_, "x.gen");  // already has its extension
    WriteRaw("a.col.col", "#CX  D");
    WriteRaw("notes.txt", "");
    WriteRaw(".col", "");
    fs::create_directories(folder_ / "dir.gen");

    const PaletteFileNames names = ListPaletteFiles(folder_);
    EXPECT_EQ(names.ColourSchemes, (std::vector<std::string>{"a", "a.col.col", "b"}));
    EXPECT_EQ(names.GenPalettes, (std::vector<std::string>{"my.colours", "x"}));
    EXPECT_TRUE(fs::exists(folder_ / "x.gen"));
    for (const auto& name : names.ColourSchemes)
        EXPECT_TRUE(LoadColourScheme(c, folder_, name));
    ASSERT_TRUE(LoadColourScheme(c, folder_, names.ColourSchemes[1]));
    EXPECT_TRUE(c.ShowDeadCells);  // "a.col.col" loaded itself, not "a.col"
    for (const auto& name : names.GenPalettes)
        EXPECT_TRUE(LoadGenPalette(c, folder_, name));

    // Entries past the built-in ones load their file.
    ColourModel chosen;
    ASSERT_TRUE(SelectGenPalette(chosen, folder_, 6, "ignored"));
    EXPECT_EQ(chosen.GenColourCount, 12);
    SaveColourScheme(chosen, folder_, "Життя");
    ASSERT_TRUE(SelectColourScheme(chosen, folder_, 3, "Життя"));
    EXPECT_EQ(chosen.CellColour, 32768);
    ASSERT_TRUE(SelectColourScheme(chosen, folder_, 5, "Життя"));
    EXPECT_EQ(chosen.CellColour, 65535);
    EXPECT_FALSE(SelectGenPalette(chosen, folder_, 7, "absent"));

    EXPECT_TRUE(ListPaletteFiles(folder_ / "no-such-folder").GenPalettes.empty());
    EXPECT_EQ(DefaultPaletteName(9), "ColorPalette9");
    EXPECT_EQ(PaletteFileName("p", kGenPaletteExtension), "p.gen");
    EXPECT_EQ(PaletteFileName("p.gen", kGenPaletteExtension), "p.gen");
}

}  // namespace
}  // namespace zentorix
