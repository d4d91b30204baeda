#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/colour_model.h"
#include "view/palette_commands.h"

namespace zentorix {
namespace {

std::vector<std::string> AllLines(const ColourModel& c) {
    std::vector<std::string> lines;
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
        source.ShowBirthCells = s & 1;
        source.ShowDeadCells = s & 2;
        source.ColorOn = s & 4;
        source.ColorMode = s & 8;
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
        EXPECT_EQ(AllLines(copy), AllLines(source));
        EXPECT_EQ(copy.GenPalette, source.GenPalette);
        EXPECT_EQ(copy.StateColour, source.StateColour);
    }
}

TEST_F(PaletteLine, LayoutOfEachKindEvenForColoursTooWide) {
    c.ShowBirthCells = c.ColorMode = true;
    c.ColorOn = false;
    c.CellColour = 255;
    c.BackgroundColour = 10789024;
    c.GenColourCount = 7;
    for (int k = 249; k <= 256; ++k)
        c.GenPalette[k] = 16777200 + k - 249;
    EXPECT_EQ(FormatPaletteLine(c, kSchemeLineKind),
              "#CX B  G     25510789024      64      91     25510789024");
    EXPECT_EQ(FormatPaletteLine(c, kCountLineKind), "#CZ   7");
    EXPECT_EQ(FormatPaletteLine(c, 31),
              "#CV 1677720016777201167772021677720316777204167772051677720616777207");
    EXPECT_EQ(FormatPaletteLine(c, 10).substr(0, 4), "#CA ");
    EXPECT_EQ(FormatPaletteLine(c, 32), "");
    EXPECT_EQ(FormatPaletteLine(c, -3), "");

    // Colours too wide for their field keep the columns.
    c.CellColour = -2147483647 - 1;
    c.BackgroundColour = 0x7FFFFFFF;
    c.GenPalette[1] = 123456789;
    ASSERT_EQ(FormatPaletteLine(c, kSchemeLineKind).size(), 56u);
    ASSERT_EQ(FormatPaletteLine(c, 0).size(), 68u);
    ColourModel back;
    ApplyPaletteLine(back, FormatPaletteLine(c, kSchemeLineKind));
    ApplyPaletteLine(back, FormatPaletteLine(c, 0));
    // What is written is the colour the view paints with.
    EXPECT_EQ(back.CellColour, 0);
    EXPECT_EQ(back.BackgroundColour, 0xFFFFFF);
    EXPECT_EQ(back.GridColour, c.GridColour);
    EXPECT_EQ(back.GenPalette[1], 123456789 & 0xFFFFFF);
    EXPECT_EQ(back.GenPalette[2], c.GenPalette[2]);
}

TEST_F(PaletteLine, SchemeSwitchesAndFieldsAreReadByColumn) {
    // The line written back shows every switch and colour that was read.
    auto scheme = [&] { return FormatPaletteLine(c, kSchemeLineKind); };
    std::string zeros;
    for (int i = 0; i < 6; ++i)
        zeros += "       0";
    ApplyPaletteLine(c, "#CX B                                                   ");
    EXPECT_EQ(scheme(), "#CX B   " + zeros);
    ApplyPaletteLine(c, "#CX   S");  // a short line: the colours read 0
    EXPECT_EQ(scheme(), "#CX   S " + zeros);
    // A letter that occurs before its column does not switch; case counts.
    ApplyPaletteLine(c, "#CX SSDG");
    EXPECT_EQ(scheme(), "#CX    G" + zeros);
    ApplyPaletteLine(c, "#CX bdsg");
    EXPECT_EQ(scheme(), "#CX     " + zeros);
    // Touching numbers, a blank field, a field that is not a number, a number
    // left-aligned in its field, and a row that ends in its seventh field.
    ApplyPaletteLine(c, "#C0 1677721616777215        12ab5678255       77       ");
    const Colour expected[] = {16777216, 16777215, 0, 0, 255, 77, 0, 0};
    for (int k = 1; k <= 8; ++k)
        EXPECT_EQ(c.GenPalette[k], expected[k - 1]) << k;
    EXPECT_EQ(c.GenPalette[9], 10239);  // the next row is untouched
    EXPECT_EQ(c.PanelTextColour[3], 0xFFFFFF);
    // Nine digits cannot be one field: the ninth belongs to the next.
    ApplyPaletteLine(c, "#C1 123456789");
    EXPECT_EQ(c.GenPalette[9], 12345678);
    EXPECT_EQ(c.GenPalette[10], 9);
}

TEST_F(PaletteLine, RowAndCountStayInsideThePalette) {
    ApplyPaletteLine(c, "#CV        1       2       3       4       5       6       7       8");
    EXPECT_EQ(c.GenPalette[249], 1);
    EXPECT_EQ(c.GenPalette[256], 8);
    // Lower case and a missing row character name row 0.
    ApplyPaletteLine(c, "#Ca       21");
    EXPECT_EQ(c.GenPalette[1], 21);
    ApplyPaletteLine(c, "#C");
    EXPECT_EQ(c.GenPalette[1], 0);
    // Row "W" lies past the palette, and other lines are not palette lines:
    // nothing changes anywhere in the tables.
    const ColourModel before = c;
    ApplyPaletteLine(c, "#CW        1       2       3       4       5       6       7       8");
    ApplyPaletteLine(c, "Name - #C0       5");
    ApplyPaletteLine(c, "");
    EXPECT_EQ(c.GenPalette, before.GenPalette);
    EXPECT_EQ(c.StateColour, before.StateColour);
    EXPECT_EQ(c.PanelTextColour, before.PanelTextColour);

    const std::pair<const char*, int> cases[] = {
        {"#CZ 999", 256}, {"#CZ   0", 1}, {"#CZ -12", 1}, {"#CZ", 1}, {"#CZ 1000", 100}};
    for (const auto& [line, count] : cases) {
        ApplyPaletteLine(c, line);
        EXPECT_EQ(c.GenColourCount, count) << line;
    }
    ApplyPaletteLine(c, "#CZ  20");
    for (int v = 1; v <= kPaletteSize; ++v)
        ASSERT_EQ(c.StateColour[v], c.GenPalette[(v - 1) % 20 + 1]);
    // A count damaged outside the model still writes a line that reads back.
    c.GenColourCount = 5000;
    EXPECT_EQ(FormatPaletteLine(c, kCountLineKind), "#CZ 256");
}

}  // namespace
}  // namespace zentorix
