#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/temp_folder.h"
#include "formats/text_file.h"
#include "model/colour_model.h"
#include "view/builtin_palettes.h"
#include "view/palette_commands.h"
#include "view/palette_files.h"

namespace zentorix {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

struct ColourFiles : ::testing::Test {
    TempFolder dir;
    ColourModel c;
};

TEST_F(ColourFiles, SchemeFileRoundTrip) {
    ApplyBuiltInColourScheme(c, 3);
    c.ShowDeadCells = c.ColorMode = true;
    SaveColourScheme(c, dir.Path(), "Ліс темний");
    EXPECT_EQ(TempFolder::Read(dir / "Ліс темний.col"),
              "File of color (main) for Zentorix\r\n"
              "Name - Ліс темний\r\n"
              "#CX  D G   327681263942412632256 8421504   65280   32896\r\n");
    EXPECT_TRUE(PaletteFileExists(dir.Path(), "Ліс темний", kColourSchemeExtension));
    EXPECT_FALSE(fs::exists(dir / "Ліс темний.col.tmp"));

    ColourModel back;
    SetGenColourCount(back, 9);
    ASSERT_TRUE(LoadColourScheme(back, dir.Path(), "Ліс темний"));
    EXPECT_EQ(FormatPaletteLine(back, kSchemeLineKind), FormatPaletteLine(c, kSchemeLineKind));
    // A scheme file leaves the palette alone.
    EXPECT_EQ(back.GenColourCount, 9);
    EXPECT_EQ(back.GenPalette, ColourModel{}.GenPalette);
    // With or without the extension the same file is found.
    ColourModel again;
    ASSERT_TRUE(LoadColourScheme(again, dir.Path(), "Ліс темний.col"));
    EXPECT_EQ(again.CellColour, 32768);
}

TEST_F(ColourFiles, PaletteFileHoldsOnlyEntriesUpTo128) {
    SetGenColourCount(c, 200);
    for (int k = 1; k <= kPaletteSize; ++k)
        c.GenPalette[k] = k * 1000;
    SaveGenPalette(c, dir.Path(), "Wide");
    // The heading, the name, the count and 16 rows, in CR LF.
    const std::string bytes = TempFolder::Read(dir / "Wide.gen");
    EXPECT_EQ(SplitLines(bytes).size(), 19u);
    EXPECT_NE(bytes.find("\r\n#CZ 200\r\n#C0 "), std::string::npos);

    ColourModel back;
    for (int k = 129; k <= kPaletteSize; ++k)
        back.GenPalette[k] = 7;
    ASSERT_TRUE(LoadGenPalette(back, dir.Path(), "Wide"));
    EXPECT_EQ(back.GenColourCount, 200);
    for (int k = 1; k <= 200; ++k)
        ASSERT_EQ(back.GenPalette[k], k <= 128 ? k * 1000 : 7) << k;
    EXPECT_EQ(back.ColourOfState(150), 7);
    EXPECT_EQ(back.ColourOfState(201), 1000);
}

TEST_F(ColourFiles, HandWrittenFilesInWindows1251) {
    // Windows-1251 name line, CR LF, a comment, a damaged count, a short row and a
    // scheme line inside a palette file (palette files apply every "#C" line).
    dir.Write("old.gen",
              "File of color (generation) for Zentorix\r\n"
              "Name - \xCF\xE0\xEB\xB3\xF2\xF0\xE0\r\n"
              "; \xEA\xEE\xEC\xE5\xED\xF2\xE0\xF0\r\n"
              "#CZ 0\r\n"
              "#C1      100     200\r\n"
              "#CX B   \r\n");
    ASSERT_TRUE(LoadGenPalette(c, dir.Path(), "old"));
    EXPECT_EQ(c.GenColourCount, 1);
    EXPECT_EQ(c.GenPalette[10], 200);
    EXPECT_EQ(FormatPaletteLine(c, kSchemeLineKind).substr(0, 8), "#CX B   ");

    // A scheme file applies only lines beginning "#CX ": the row and the count in
    // it are skipped, and so is "#CXB" without its blank.
    dir.Write("old.col",
              "File of color (main) for Zentorix\n"
              "Name - \xD1\xF2\xE0\xF0\xE0\n"
              "#C0        1\n"
              "#CZ   5\n"
              "#CXB        9\n"
              "#CX   S      255       1       2       3       4       5");
    ColourModel s;
    ASSERT_TRUE(LoadColourScheme(s, dir.Path(), "old"));
    EXPECT_EQ(FormatPaletteLine(s, kSchemeLineKind),
              "#CX   S      255       1       2       3       4       5");
    EXPECT_EQ(s.GenColourCount, 64);
    EXPECT_EQ(s.GenPalette[1], ColourModel{}.GenPalette[1]);
}

TEST_F(ColourFiles, MissingUnsafeOrOversizedFilesChangeNothing) {
    const ColourModel before;
    EXPECT_FALSE(LoadColourScheme(c, dir.Path(), "nothing"));
    EXPECT_FALSE(LoadGenPalette(c, dir.Path(), "nothing"));
    EXPECT_FALSE(LoadGenPalette(c, dir / "no-such-folder", "x"));
    dir.Write("outside.gen", "#CZ   3\r\n");
    fs::create_directories(dir / "sub");
    EXPECT_FALSE(LoadGenPalette(c, dir / "sub", "../outside"));
    EXPECT_FALSE(LoadGenPalette(c, dir.Path(), ""));
    dir.Write("huge.gen", "#CZ  12\r\n" + std::string(2 << 20, ' '));
    EXPECT_THROW(LoadGenPalette(c, dir.Path(), "huge"), FileError);
    EXPECT_EQ(c.GenColourCount, before.GenColourCount);
    EXPECT_EQ(FormatPaletteLine(c, kSchemeLineKind), FormatPaletteLine(before, kSchemeLineKind));

    EXPECT_THROW(SaveGenPalette(c, dir / "sub", "../escape"), FileError);
    EXPECT_THROW(SaveColourScheme(c, dir.Path(), ""), FileError);
    EXPECT_FALSE(fs::exists(dir / "escape.gen"));
    // A folder that does not exist is reported, not ignored.
    EXPECT_THROW(SaveColourScheme(c, dir / "no-such-folder", "x"), FileError);
}

TEST_F(ColourFiles, ListingGivesNamesThatLoadTheirFiles) {
    SaveColourScheme(c, dir.Path(), "b");
    SaveColourScheme(c, dir.Path(), "a");
    SaveGenPalette(c, dir.Path(), "my.colours");
    SaveGenPalette(c, dir.Path(), "x.gen");  // already has its extension
    dir.Write("a.col.col", "#CX  D");
    dir.Write("notes.txt", "");
    dir.Write(".col", "");
    fs::create_directories(dir / "dir.gen");

    const PaletteFileNames names = ListPaletteFiles(dir.Path());
    EXPECT_EQ(names.ColourSchemes, (std::vector<std::string>{"a", "a.col.col", "b"}));
    EXPECT_EQ(names.GenPalettes, (std::vector<std::string>{"my.colours", "x"}));
    ASSERT_TRUE(LoadColourScheme(c, dir.Path(), names.ColourSchemes[1]));
    EXPECT_TRUE(c.ShowDeadCells);  // "a.col.col" loaded itself, not "a.col"
    for (const auto& name : names.GenPalettes)
        EXPECT_TRUE(LoadGenPalette(c, dir.Path(), name));
    EXPECT_TRUE(ListPaletteFiles(dir / "no-such-folder").GenPalettes.empty());

    // Entries past the built-in ones load their file.
    ColourModel chosen;
    ASSERT_TRUE(SelectGenPalette(chosen, dir.Path(), 6, "ignored"));
    EXPECT_EQ(chosen.GenColourCount, 12);
    SaveColourScheme(chosen, dir.Path(), "Життя");
    ASSERT_TRUE(SelectColourScheme(chosen, dir.Path(), 3, "Життя"));
    EXPECT_EQ(chosen.CellColour, 32768);
    ASSERT_TRUE(SelectColourScheme(chosen, dir.Path(), 5, "Життя"));
    EXPECT_EQ(chosen.CellColour, 65535);
    EXPECT_FALSE(SelectGenPalette(chosen, dir.Path(), 7, "absent"));
}

}  // namespace
}  // namespace zentorix
