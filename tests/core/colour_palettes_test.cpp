#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>

#include "model/colour_model.h"
#include "view/builtin_palettes.h"
#include "view/palette_commands.h"

namespace zentorix {
namespace {

// The palette line tests pin the columns both ways (touching numbers included);
// here each shipped scheme must read back to its own line, switches and all.
TEST(BuiltInColours, SchemesReadBackToTheirLines) {
    const char* captions[] = {"Колір", "Класика", "Вишивка", "Ліс", "Вода"};
    ASSERT_EQ(BuiltInColourSchemes().size(), 5u);
    for (int i = 0; i < 5; ++i) {
        const BuiltInColourScheme& scheme = BuiltInColourSchemes()[i];
        EXPECT_EQ(scheme.Caption, captions[i]);
        ColourModel c;
        c.ColorMode = c.ShowDeadCells = true;
        ASSERT_TRUE(ApplyBuiltInColourScheme(c, i));
        EXPECT_EQ(FormatPaletteLine(c, kSchemeLineKind), scheme.Line.substr(0, 56)) << i;
        // Without colour by state every state shows the cell colour.
        EXPECT_EQ(c.ColourOfState(200), c.ColorOn ? c.GenPalette[8] : c.CellColour) << i;
    }
    ColourModel c;
    EXPECT_FALSE(ApplyBuiltInColourScheme(c, 5));
    EXPECT_FALSE(ApplyBuiltInColourScheme(c, -1));
}

TEST(BuiltInColours, PalettesFillFromTheBackground) {
    const char* captions[] = {"Жовто-Червона 32", "Жовто-Червона 64", "Синьо-Червона-32",
                              "Синьо-Червона-64", "Блакитно-Синя 32", "Блакитно-Синя 64",
                              "Палітра Life 2.0"};
    ASSERT_EQ(BuiltInGenPalettes().size(), 7u);
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        const BuiltInGenPalette& palette = BuiltInGenPalettes()[i];
        EXPECT_EQ(palette.Caption, captions[i]);
        ColourModel c;
        ApplyBuiltInColourScheme(c, 1);  // background 12632256
        ASSERT_TRUE(ApplyBuiltInGenPalette(c, i));
        EXPECT_EQ(FormatPaletteLine(c, kCountLineKind), palette.Lines[0]);
        // Each row the palette lists writes back exactly as listed.
        for (std::size_t n = 1; n < palette.Lines.size(); ++n)
            if (palette.Lines[n].size() == 68) {
                EXPECT_EQ(FormatPaletteLine(c, static_cast<int>(n) - 1), palette.Lines[n]);
            }
        const int firstUnnamed = static_cast<int>(palette.Lines.size() - 1) * 8 + 1;
        for (int k = firstUnnamed; k <= kPaletteSize; ++k)
            ASSERT_EQ(c.GenPalette[k], 12632256) << k;
    }
    // The short row of the Life 2.0 palette leaves its tail black.
    ColourModel c;
    ApplyBuiltInColourScheme(c, 4);  // a background that is not black
    ASSERT_TRUE(ApplyBuiltInGenPalette(c, 6));
    EXPECT_EQ(c.GenPalette[12], 65535);
    for (int k = 13; k <= 16; ++k)
        EXPECT_EQ(c.GenPalette[k], 0) << k;
    EXPECT_EQ(c.GenPalette[17], 15780518);
    EXPECT_FALSE(ApplyBuiltInGenPalette(c, 7));
}

TEST(StateColours, StartUpStateAndTheyFollowPaletteCountAndSwitch) {
    const ColourModel start;
    EXPECT_EQ(FormatPaletteLine(start, kSchemeLineKind), kStartUpSchemeLine);
    const auto startUp = BuiltInGenPalettes()[kStartUpGenPaletteIndex].Lines;
    ASSERT_EQ(startUp.size(), 9u);
    for (int row = -1; row < 8; ++row)
        EXPECT_EQ(FormatPaletteLine(start, row), startUp[row + 1]);
    // Colour by state is on, so the palette repeats every 64 states.
    EXPECT_EQ(start.ColourOfState(65), 59391);
    EXPECT_EQ(start.PanelTextColour[1], 0xFFFFFF - 59391);
    // The count's repetition and clamping are pinned with the palette lines.
    ColourModel c;
    SetGenColourCount(c, 20);
    SetColorOn(c, false);
    for (int v = 1; v <= kPaletteSize; ++v)
        ASSERT_EQ(c.ColourOfState(v), c.CellColour);
    SetCellColour(c, 0x123456);
    EXPECT_EQ(c.ColourOfState(77), 0x123456);
    SetColorOn(c, true);
    EXPECT_EQ(c.ColourOfState(21), c.GenPalette[1]);
    SetGenColourCount(c, 0);
    EXPECT_EQ(c.ColourOfState(256), c.GenPalette[1]);
}

TEST(PaletteCommands, BulkFillsTouchTheirRangeAndOnlyShownEntriesArePicked) {
    ColourModel c;
    SetGenColourCount(c, 10);
    const Colour eleventh = c.GenPalette[11];

    FillPaletteSilver(c, PaletteRange::InUse);
    EXPECT_EQ(c.GenPalette[10], kSilver);
    EXPECT_EQ(c.PanelTextColour[10], 0);
    EXPECT_EQ(c.GenPalette[11], eleventh);
    // The field paints with the new colours at once.
    EXPECT_EQ(c.ColourOfState(3), kSilver);

    c.BackgroundColour = 0x00AA00;
    c.CellColour = 0x0000BB;
    FillPaletteBackground(c, PaletteRange::Others);
    EXPECT_EQ(c.GenPalette[10], kSilver);
    EXPECT_EQ(c.GenPalette[11], 0x00AA00);
    EXPECT_EQ(c.GenPalette[256], 0x00AA00);
    EXPECT_EQ(c.PanelTextColour[256], 0x0000BB);

    FillPaletteBlack(c, PaletteRange::Others);
    EXPECT_EQ(c.GenPalette[11], 0);
    FillPaletteWith(c, PaletteRange::InUse, 0x0F0F0F);
    EXPECT_EQ(c.PanelTextColour[1], 0xF0F0F0);
    EXPECT_EQ(c.ColourOfState(11), 0x0F0F0F);

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
    EXPECT_FALSE(SetPaletteEntry(c, 6, 1));
    EXPECT_FALSE(SetPaletteEntry(c, 257, 1));
    EXPECT_EQ(c.GenPalette, unpicked);
}

}  // namespace
}  // namespace zentorix
