// Colour schemes and generation palettes: their lines, the shipped ones, the
// palette editor's commands and the files they are kept in.
#include "core/format_test_support.h"
#include "model/colour_model.h"
#include "view/builtin_palettes.h"
#include "view/palette_commands.h"
#include "view/palette_files.h"

namespace zentorix {
namespace {

namespace fs = std::filesystem;
using namespace test;

Lines AllLines(const ColourModel& c) {
    Lines lines;
    for (int kind = kSchemeLineKind; kind < kPaletteRowCount; ++kind)
        lines.push_back(FormatPaletteLine(c, kind));
    return lines;
}

struct PaletteLine : ::testing::Test {
    ColourModel c;
};

TEST_F(PaletteLine, EveryKindReadsBackWhatItWrote) {
    // Values of every width, including ones that fill their field and touch
    // their neighbour, negative ones, and all switch combinations.
    const Colour values[] = {0, 7, 255, 65535, 10789024, 16777215, 99999999, -1, -9999999};
    for (int s = 0; s < 16; ++s) {
        ColourModel source;
        std::tie(source.ShowBirthCells, source.ShowDeadCells, source.ColorOn, source.ColorMode) =
            std::tuple(s & 1, s & 2, s & 4, s & 8);
        Colour* scheme[] = {&source.CellColour,    &source.BackgroundColour, &source.GridColour,
                            &source.BigGridColour, &source.BirthColour,      &source.DeadColour};
        for (int i = 0; i < 6; ++i)
            *scheme[i] = values[(s + i) % 9];
        for (int k = 1; k <= kPaletteSize; ++k)
            source.GenPalette[k] = values[(k + s) % 9];
        SetGenColourCount(source, 1 + s * 17);

        ColourModel copy;
        FillPaletteWith(copy, PaletteRange::Others, 54321);
        for (const std::string& line : AllLines(source))
            ApplyPaletteLine(copy, line);
        EXPECT_EQ(std::tuple(AllLines(copy), copy.GenPalette, copy.StateColour),
                  std::tuple(AllLines(source), source.GenPalette, source.StateColour));
    }
}

// Colours too wide for their field keep the columns; what is written is the
// colour the view paints with. Kinds outside the table write nothing. Switches
// and colours are read by their columns.
TEST_F(PaletteLine, ColoursTooWideKeepTheColumnsAndLinesAreReadByColumn) {
    EXPECT_EQ(FormatPaletteLine(c, 32) + FormatPaletteLine(c, -3), "");
    c.CellColour = -2147483647 - 1;
    c.BackgroundColour = 0x7FFFFFFF;
    c.GenPalette[1] = 123456789;
    ASSERT_EQ(FormatPaletteLine(c, kSchemeLineKind).size(), 56u);
    ASSERT_EQ(FormatPaletteLine(c, 0).size(), 68u);
    ColourModel back;
    ApplyPaletteLine(back, FormatPaletteLine(c, kSchemeLineKind));
    ApplyPaletteLine(back, FormatPaletteLine(c, 0));
    EXPECT_EQ(std::tuple(back.CellColour, back.BackgroundColour, back.GridColour,
                         back.GenPalette[1], back.GenPalette[2]),
              std::tuple(0, 0xFFFFFF, c.GridColour, 123456789 & 0xFFFFFF, c.GenPalette[2]));

    // The line written back shows every switch and colour that was read.
    const std::string zeros = "       0       0       0       0       0       0";
    const std::pair<const char*, std::string> schemes[] = {
        {"#CX B                                                   ", "#CX B   " + zeros},
        {"#CX   S", "#CX   S " + zeros},  // a short line: the colours read 0
        // A letter that occurs before its column does not switch; case counts.
        {"#CX SSDG", "#CX    G" + zeros},
        {"#CX bdsg", "#CX     " + zeros},
    };
    for (const auto& [line, written] : schemes) {
        ApplyPaletteLine(c, line);
        EXPECT_EQ(FormatPaletteLine(c, kSchemeLineKind), written) << line;
    }
    // Touching numbers, a blank field, a field that is not a number, a number
    // left-aligned in its field, and a row that ends in its seventh field; the
    // next row is untouched.
    ApplyPaletteLine(c, "#C0 1677721616777215        12ab5678255       77       ");
    EXPECT_EQ(std::vector<Colour>(c.GenPalette.begin() + 1, c.GenPalette.begin() + 10),
              (std::vector<Colour>{16777216, 16777215, 0, 0, 255, 77, 0, 0, 10239}));
    EXPECT_EQ(c.PanelTextColour[3], 0xFFFFFF);
    // Nine digits cannot be one field: the ninth belongs to the next.
    ApplyPaletteLine(c, "#C1 123456789");
    EXPECT_EQ(std::pair(c.GenPalette[9], c.GenPalette[10]), std::pair(12345678, 9));
}

TEST_F(PaletteLine, RowAndCountStayInsideThePalette) {
    ApplyPaletteLine(c, "#CV        1       2       3       4       5       6       7       8");
    EXPECT_EQ(std::pair(c.GenPalette[249], c.GenPalette[256]), std::pair(1, 8));
    // Lower case and a missing row character name row 0.
    ApplyPaletteLine(c, "#Ca       21");
    EXPECT_EQ(c.GenPalette[1], 21);
    ApplyPaletteLine(c, "#C");
    EXPECT_EQ(c.GenPalette[1], 0);
    // Row "W" lies past the palette, and other lines are not palette lines:
    // nothing changes anywhere in the tables.
    const ColourModel before = c;
    for (const char* line : {"#CW        1       2       3       4       5       6       7       8",
                             "Name - #C0   5", ""})
        ApplyPaletteLine(c, line);
    EXPECT_EQ(std::tuple(c.GenPalette, c.StateColour, c.PanelTextColour),
              std::tuple(before.GenPalette, before.StateColour, before.PanelTextColour));

    const std::pair<const char*, int> counts[] = {{"#CZ 999", 256},  {"#CZ   0", 1},
                                                  {"#CZ -12", 1},    {"#CZ", 1},
                                                  {"#CZ 1000", 100}, {"#CZ  20", 20}};
    for (const auto& [line, count] : counts) {
        ApplyPaletteLine(c, line);
        EXPECT_EQ(c.GenColourCount, count) << line;
    }
    for (int v = 1; v <= kPaletteSize; ++v)
        ASSERT_EQ(c.StateColour[v], c.GenPalette[(v - 1) % 20 + 1]);
    // A count damaged outside the model still writes a line that reads back.
    c.GenColourCount = 5000;
    EXPECT_EQ(FormatPaletteLine(c, kCountLineKind), "#CZ 256");
}

// Each shipped scheme reads back to its own line, switches and all; without
// colour by state every state shows the cell colour.
TEST(BuiltInColours, SchemesAndPalettesReadBackToTheirLines) {
    ASSERT_EQ(BuiltInColourSchemes().size(), 5u);
    for (int i = 0; i < 5; ++i) {
        const BuiltInColourScheme& scheme = BuiltInColourSchemes()[i];
        ColourModel c;
        c.ColorMode = c.ShowDeadCells = true;
        ASSERT_TRUE(ApplyBuiltInColourScheme(c, i));
        EXPECT_EQ(FormatPaletteLine(c, kSchemeLineKind), scheme.Line.substr(0, 56)) << i;
        EXPECT_EQ(c.ColourOfState(200), c.ColorOn ? c.GenPalette[8] : c.CellColour) << i;
    }
    ColourModel c;
    EXPECT_FALSE(ApplyBuiltInColourScheme(c, 5) || ApplyBuiltInColourScheme(c, -1));

    // Palettes fill the entries they do not name from the background.
    ASSERT_EQ(BuiltInGenPalettes().size(), 7u);
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        const BuiltInGenPalette& palette = BuiltInGenPalettes()[i];
        ColourModel p;
        ApplyBuiltInColourScheme(p, 1);  // background 12632256
        ASSERT_TRUE(ApplyBuiltInGenPalette(p, i));
        EXPECT_EQ(FormatPaletteLine(p, kCountLineKind), palette.Lines[0]);
        // Each row the palette lists writes back exactly as listed.
        for (std::size_t n = 1; n < palette.Lines.size(); ++n)
            if (palette.Lines[n].size() == 68) {
                EXPECT_EQ(FormatPaletteLine(p, static_cast<int>(n) - 1), palette.Lines[n]);
            }
        for (int k = static_cast<int>(palette.Lines.size() - 1) * 8 + 1; k <= kPaletteSize; ++k)
            ASSERT_EQ(p.GenPalette[k], 12632256) << k;
    }
    // The short row of the Life 2.0 palette leaves its tail black.
    ApplyBuiltInColourScheme(c, 4);  // a background that is not black
    ASSERT_TRUE(ApplyBuiltInGenPalette(c, 6));
    EXPECT_EQ(std::vector<Colour>(c.GenPalette.begin() + 12, c.GenPalette.begin() + 18),
              (std::vector<Colour>{65535, 0, 0, 0, 0, 15780518}));
    EXPECT_FALSE(ApplyBuiltInGenPalette(c, 7));
}

TEST(PaletteCommands, BulkFillsTouchTheirRangeAndOnlyShownEntriesArePicked) {
    ColourModel c;
    SetGenColourCount(c, 10);
    const Colour eleventh = c.GenPalette[11];
    // The field paints with the new colours at once.
    FillPaletteSilver(c, PaletteRange::InUse);
    EXPECT_EQ(
        std::tuple(c.GenPalette[10], c.PanelTextColour[10], c.GenPalette[11], c.ColourOfState(3)),
        std::tuple(kSilver, 0, eleventh, kSilver));
    c.BackgroundColour = 0x00AA00;
    c.CellColour = 0x0000BB;
    FillPaletteBackground(c, PaletteRange::Others);
    EXPECT_EQ(
        std::tuple(c.GenPalette[10], c.GenPalette[11], c.GenPalette[256], c.PanelTextColour[256]),
        std::tuple(kSilver, 0x00AA00, 0x00AA00, 0x0000BB));
    FillPaletteBlack(c, PaletteRange::Others);
    FillPaletteWith(c, PaletteRange::InUse, 0x0F0F0F);
    EXPECT_EQ(std::tuple(c.GenPalette[11], c.PanelTextColour[1], c.ColourOfState(11)),
              std::tuple(0, 0xF0F0F0, 0x0F0F0F));

    // With every entry in use there are no others to fill.
    SetGenColourCount(c, 256);
    const auto before = c.GenPalette;
    FillPaletteSilver(c, PaletteRange::Others);
    EXPECT_EQ(c.GenPalette, before);

    // Only entries the editor shows can be picked.
    SetGenColourCount(c, 5);
    EXPECT_TRUE(PanelShown(c, 1) && PanelShown(c, 5));
    EXPECT_FALSE(PanelShown(c, 6) || PanelShown(c, 0));
    EXPECT_TRUE(SetPaletteEntry(c, 5, 0xABCDEF));
    EXPECT_EQ(c.ColourOfState(10), 0xABCDEF);
    const auto unpicked = c.GenPalette;
    EXPECT_FALSE(SetPaletteEntry(c, 6, 1) || SetPaletteEntry(c, 257, 1));
    EXPECT_EQ(c.GenPalette, unpicked);
}

struct ColourFiles : ::testing::Test {
    TempFolder dir;
    ColourModel c;
};

// A scheme file leaves the palette alone; a palette file holds only the entries
// up to 128.
TEST_F(ColourFiles, SchemeAndPaletteFilesRoundTripWhatTheyHold) {
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
    EXPECT_EQ(
        std::tuple(FormatPaletteLine(back, kSchemeLineKind), back.GenColourCount, back.GenPalette),
        std::tuple(FormatPaletteLine(c, kSchemeLineKind), 9, ColourModel{}.GenPalette));
    // With or without the extension the same file is found.
    ColourModel again;
    ASSERT_TRUE(LoadColourScheme(again, dir.Path(), "Ліс темний.col"));
    EXPECT_EQ(again.CellColour, 32768);

    SetGenColourCount(c, 200);
    for (int k = 1; k <= kPaletteSize; ++k)
        c.GenPalette[k] = k * 1000;
    SaveGenPalette(c, dir.Path(), "Wide");
    // The heading, the name, the count and 16 rows, in CR LF.
    const std::string bytes = TempFolder::Read(dir / "Wide.gen");
    EXPECT_EQ(std::pair(SplitLines(bytes).size(), Contains(bytes, "\r\n#CZ 200\r\n#C0 ")),
              std::pair(19ul, true));

    ColourModel wide;
    for (int k = 129; k <= kPaletteSize; ++k)
        wide.GenPalette[k] = 7;
    ASSERT_TRUE(LoadGenPalette(wide, dir.Path(), "Wide"));
    EXPECT_EQ(wide.GenColourCount, 200);
    for (int k = 1; k <= 200; ++k)
        ASSERT_EQ(wide.GenPalette[k], k <= 128 ? k * 1000 : 7) << k;
    EXPECT_EQ(std::pair(wide.ColourOfState(150), wide.ColourOfState(201)), std::pair(7, 1000));
}

TEST_F(ColourFiles, HandWrittenFilesInWindows1251) {
    // Windows-1251 name line, CR LF, a comment, a damaged count, a short row and a
    // scheme line inside a palette file (palette files apply every "#C" line).
    dir.Write("old.gen",
              "File of color (generation) for Zentorix\r\n"
              "Name - \xCF\xE0\xEB\xB3\xF2\xF0\xE0\r\n"
              "; \xEA\xEE\xEC\xE5\xED\xF2\xE0\xF0\r\n"
              "#CZ 0\r\n#C1      100     200\r\n#CX B   \r\n");
    ASSERT_TRUE(LoadGenPalette(c, dir.Path(), "old"));
    EXPECT_EQ(std::tuple(c.GenColourCount, c.GenPalette[10],
                         FormatPaletteLine(c, kSchemeLineKind).substr(0, 8)),
              std::tuple(1, 200, "#CX B   "));

    // A scheme file applies only lines beginning "#CX ": the row and the count in
    // it are skipped, and so is "#CXB" without its blank.
    dir.Write("old.col",
              "File of color (main) for Zentorix\nName - \xD1\xF2\xE0\xF0\xE0\n#C0        1\n"
              "#CZ   5\n#CXB        9\n#CX   S      255       1       2       3       4       5");
    ColourModel s;
    ASSERT_TRUE(LoadColourScheme(s, dir.Path(), "old"));
    EXPECT_EQ(FormatPaletteLine(s, kSchemeLineKind),
              "#CX   S      255       1       2       3       4       5");
    EXPECT_EQ(std::pair(s.GenColourCount, s.GenPalette[1]),
              std::pair(64, ColourModel{}.GenPalette[1]));
}

TEST_F(ColourFiles, MissingUnsafeOrOversizedFilesChangeNothing) {
    const ColourModel before;
    dir.Write("outside.gen", "#CZ   3\r\n");
    fs::create_directories(dir / "sub");
    EXPECT_FALSE(LoadColourScheme(c, dir.Path(), "nothing") ||
                 LoadGenPalette(c, dir.Path(), "nothing") ||
                 LoadGenPalette(c, dir / "no-such-folder", "x") ||
                 LoadGenPalette(c, dir / "sub", "../outside") || LoadGenPalette(c, dir.Path(), ""));
    dir.Write("huge.gen", "#CZ  12\r\n" + std::string(2 << 20, ' '));
    EXPECT_THROW(LoadGenPalette(c, dir.Path(), "huge"), FileError);
    EXPECT_EQ(AllLines(c), AllLines(before));

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
    EXPECT_EQ(std::pair(names.ColourSchemes, names.GenPalettes),
              std::pair(Lines{"a", "a.col.col", "b"}, Lines{"my.colours", "x"}));
    ASSERT_TRUE(LoadColourScheme(c, dir.Path(), names.ColourSchemes[1]));
    EXPECT_TRUE(c.ShowDeadCells);  // "a.col.col" loaded itself, not "a.col"
    for (const auto& name : names.GenPalettes)
        EXPECT_TRUE(LoadGenPalette(c, dir.Path(), name));
    EXPECT_TRUE(ListPaletteFiles(dir / "no-such-folder").GenPalettes.empty());
}

}  // namespace
}  // namespace zentorix
