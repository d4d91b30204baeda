#include <gtest/gtest.h>

#include <string>

#include "view/colour_model.h"
#include "view/palette_commands.h"

namespace zentorix {
namespace {

// Every value a palette line carries.
void ExpectSameColours(const ColourModel& a, const ColourModel& b) {
    EXPECT_EQ(a.CellColour, b.CellColour);
    EXPECT_EQ(a.BackgroundColour, b.BackgroundColour);
    EXPECT_EQ(a.GridColour, b.GridColour);
    EXPECT_EQ(a.BigGridColour, b.BigGridColour);
    EXPECT_EQ(a.BirthColour, b.BirthColour);
    EXPECT_EQ(a.DeadColour, b.DeadColour);
    EXPECT_EQ(a.ShowBirthCells, b.ShowBirthCells);
    EXPECT_EQ(a.ShowDeadCells, b.ShowDeadCells);
    EXPECT_EQ(a.ColorOn, b.ColorOn);
    EXPECT_EQ(a.ColorMode, b.ColorMode);
    EXPECT_EQ(a.GenColourCount, b.GenColourCount);
    EXPECT_EQ(a.GenPalette, b.GenPalette);
    EXPECT_EQ(a.StateColour, b.StateColour);
}

void CopyByLines(const ColourModel& from, ColourModel& to) {
    for (int kind = kSchemeLineKind; kind < kPaletteRowCount; ++kind)
        ApplyPaletteLine(to, FormatPaletteLine(from, kind));
}

TEST(PaletteLine, EveryKindReadsBackWhatItWrote) {
    // Values of every width, including ones that fill their field and touch
    // their neighbour, negative ones and all switch combinations.
    const Colour values[] = {0, 7, 255, 65535, 10789024, 16777215, 99999999, -1, -9999999};
    for (int switches = 0; switches < 16; ++switches) {
        ColourModel source;
        source.ShowBirthCells = switches & 1;
        source.ShowDeadCells = switches & 2;
        source.ColorOn = switches & 4;
        source.ColorMode = switches & 8;
        source.CellColour = values[switches % 9];
        source.BackgroundColour = values[(switches + 1) % 9];
        source.GridColour = values[(switches + 2) % 9];
        source.BigGridColour = values[(switches + 3) % 9];
        source.BirthColour = values[(switches + 4) % 9];
        source.DeadColour = values[(switches + 5) % 9];
        source.GenColourCount = 1 + switches * 17;
        for (int k = 1; k <= kPaletteSize; ++k)
            source.GenPalette[k] = values[(k + switches) % 9];
        source.RebuildStateColours();

        ColourModel copy;
        FillPaletteWith(copy, PaletteRange::InUse, 12345);
        FillPaletteWith(copy, PaletteRange::Others, 54321);
        CopyByLines(source, copy);
        ExpectSameColours(source, copy);
    }
}

TEST(PaletteLine, LayoutOfEachKind) {
    ColourModel c;
    c.ShowBirthCells = true;
    c.ColorOn = false;
    c.ColorMode = true;
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

    c.GenColourCount = 256;
    EXPECT_EQ(FormatPaletteLine(c, kCountLineKind), "#CZ 256");
}

TEST(PaletteLine, SchemeSwitchesCountOnlyAtTheirColumn) {
    ColourModel c;
    ApplyPaletteLine(c, "#CX B");
    EXPECT_TRUE(c.ShowBirthCells);
    EXPECT_FALSE(c.ShowDeadCells);
    EXPECT_FALSE(c.ColorOn);
    EXPECT_FALSE(c.ColorMode);
    EXPECT_EQ(c.CellColour, 0);
    EXPECT_EQ(c.DeadColour, 0);

    ApplyPaletteLine(c, "#CX B                                                   ");
    EXPECT_TRUE(c.ShowBirthCells);
    EXPECT_FALSE(c.ColorOn);

    // A letter that occurs earlier than its column does not switch: "S" at 7
    // after an "S" at 5 is off, and "D" at 6 after "D" at 5 likewise.
    ApplyPaletteLine(c, "#CX SSDG");
    EXPECT_FALSE(c.ColorOn);
    EXPECT_FALSE(c.ShowBirthCells);
    EXPECT_FALSE(c.ShowDeadCells);
    EXPECT_TRUE(c.ColorMode);
    ApplyPaletteLine(c, "#CX DDSG");
    EXPECT_FALSE(c.ShowDeadCells);
    EXPECT_TRUE(c.ColorOn);
    // Letters are case-sensitive.
    ApplyPaletteLine(c, "#CX bdsg");
    EXPECT_FALSE(c.ShowBirthCells || c.ShowDeadCells || c.ColorOn || c.ColorMode);
}

TEST(PaletteLine, FieldsAreReadByColumn) {
    ColourModel c;
    // Touching numbers, a blank field, a field that is not a number, and a
    // number left-aligned in its field.
    ApplyPaletteLine(c, "#C0 1677721616777215        12ab5678255       77       ");
    EXPECT_EQ(c.GenPalette[1], 16777216);
    EXPECT_EQ(c.GenPalette[2], 16777215);
    EXPECT_EQ(c.GenPalette[3], 0);
    EXPECT_EQ(c.GenPalette[4], 0);
    EXPECT_EQ(c.GenPalette[5], 255);
    EXPECT_EQ(c.GenPalette[6], 77);
    // The short row ends in the seventh field; the eighth reads 0.
    EXPECT_EQ(c.GenPalette[7], 0);
    EXPECT_EQ(c.GenPalette[8], 0);
    EXPECT_EQ(c.GenPalette[9], 10239);  // the next row is untouched

    // Nine digits cannot be one field: the ninth belongs to the next.
    ApplyPaletteLine(c, "#C1 123456789");
    EXPECT_EQ(c.GenPalette[9], 12345678);
    EXPECT_EQ(c.GenPalette[10], 9);
}

TEST(PaletteLine, RowCharacters) {
    ColourModel c;
    ApplyPaletteLine(c, "#CV        1       2       3       4       5       6       7       8");
    EXPECT_EQ(c.GenPalette[249], 1);
    EXPECT_EQ(c.GenPalette[256], 8);
    ApplyPaletteLine(c, "#C9       11");
    EXPECT_EQ(c.GenPalette[73], 11);
    // Lower case, "X" and a missing row character all name row 0.
    ApplyPaletteLine(c, "#Ca       21");
    EXPECT_EQ(c.GenPalette[1], 21);
    ApplyPaletteLine(c, "#CY       22");
    EXPECT_EQ(c.GenPalette[1], 22);
    ApplyPaletteLine(c, "#C");
    EXPECT_EQ(c.GenPalette[1], 0);
    // Row "W" lies past the palette: nothing changes.
    const ColourModel before = c;
    ApplyPaletteLine(c, "#CW        1       2       3       4       5       6       7       8");
    EXPECT_EQ(c.GenPalette, before.GenPalette);
    EXPECT_EQ(c.StateColour, before.StateColour);
    EXPECT_EQ(c.PanelTextColour, before.PanelTextColour);
    // A line that is not a palette line changes nothing.
    ApplyPaletteLine(c, "Name - #C0       5");
    ApplyPaletteLine(c, "");
    EXPECT_EQ(c.GenPalette, before.GenPalette);
}

TEST(PaletteLine, ReadingAnEntrySetsItsCaptionColour) {
    ColourModel c;
    ApplyPaletteLine(c, "#C2 16777215       0   65280");
    EXPECT_EQ(c.PanelTextColour[17], 0);
    EXPECT_EQ(c.PanelTextColour[18], 0xFFFFFF);
    EXPECT_EQ(c.PanelTextColour[19], 0xFF00FF);
    EXPECT_EQ(c.PanelTextColour[20], 0xFFFFFF);  // missing field, entry 0
}

TEST(PaletteLine, CountIsKeptWithinThePalette) {
    ColourModel c;
    ApplyPaletteLine(c, "#CZ 999");
    EXPECT_EQ(c.GenColourCount, 256);
    ApplyPaletteLine(c, "#CZ   0");
    EXPECT_EQ(c.GenColourCount, 1);
    ApplyPaletteLine(c, "#CZ -12");
    EXPECT_EQ(c.GenColourCount, 1);
    ApplyPaletteLine(c, "#CZ");
    EXPECT_EQ(c.GenColourCount, 1);
    // Only columns 5-7 count.
    ApplyPaletteLine(c, "#CZ 1000");
    EXPECT_EQ(c.GenColourCount, 100);
    ApplyPaletteLine(c, "#CZ  20");
    EXPECT_EQ(c.GenColourCount, 20);
    // With any count the state colours stay inside the palette.
    for (int v = 1; v <= kPaletteSize; ++v)
        EXPECT_EQ(c.StateColour[v], c.GenPalette[(v - 1) % 20 + 1]);

    // A count damaged outside the model still writes a line that reads back.
    c.GenColourCount = 5000;
    EXPECT_EQ(FormatPaletteLine(c, kCountLineKind), "#CZ 256");
}

TEST(PaletteLine, ColoursTooWideForTheirFieldKeepTheColumns) {
    ColourModel c;
    c.CellColour = -2147483647 - 1;
    c.BackgroundColour = 0x7FFFFFFF;
    c.GenPalette[1] = 123456789;
    const std::string scheme = FormatPaletteLine(c, kSchemeLineKind);
    EXPECT_EQ(scheme.size(), 56u);
    ColourModel back;
    ApplyPaletteLine(back, scheme);
    // What is written is the colour the view paints with.
    EXPECT_EQ(back.CellColour, 0);
    EXPECT_EQ(back.BackgroundColour, 0xFFFFFF);
    EXPECT_EQ(back.GridColour, c.GridColour);
    EXPECT_EQ(FormatPaletteLine(c, 0).size(), 68u);
    ApplyPaletteLine(back, FormatPaletteLine(c, 0));
    EXPECT_EQ(back.GenPalette[1], 123456789 & 0xFFFFFF);
    EXPECT_EQ(back.GenPalette[2], c.GenPalette[2]);
}

}  // namespace
}  // namespace zentorix
