#include "view/palette_commands.h"

namespace zentorix {

namespace {

// Sets entry and caption colour over the range; the fills that choose a caption
// colour of their own pass it, the others take the inverse.
void Fill(ColourModel& colours, PaletteRange range, Colour colour, Colour caption) {
    const int count = ClampColourCount(colours.GenColourCount);
    const int first = range == PaletteRange::InUse ? 1 : count + 1;
    const int last = range == PaletteRange::InUse ? count : kPaletteSize;
    for (int k = first; k <= last; ++k) {
        colours.GenPalette[k] = colour;
        colours.PanelTextColour[k] = caption;
    }
    // The field must not keep painting with colours the palette no longer has.
    colours.RebuildStateColours();
}

}  // namespace

void SetPanelEntry(ColourModel& colours, int k, Colour colour) {
    if (k < 1 || k > kPaletteSize)
        return;
    colours.GenPalette[k] = colour;
    colours.PanelTextColour[k] = InverseColour(colour);
}

bool SetPaletteEntry(ColourModel& colours, int k, Colour colour) {
    if (k < 1 || k > ClampColourCount(colours.GenColourCount))
        return false;
    SetPanelEntry(colours, k, colour);
    colours.RebuildStateColours();
    return true;
}

void SetGenColourCount(ColourModel& colours, int count) {
    colours.GenColourCount = ClampColourCount(count);
    colours.RebuildStateColours();
}

void FillPaletteBlack(ColourModel& colours, PaletteRange range) {
    Fill(colours, range, 0, 0xFFFFFF);
}

void FillPaletteSilver(ColourModel& colours, PaletteRange range) {
    Fill(colours, range, kSilver, 0);
}

void FillPaletteBackground(ColourModel& colours, PaletteRange range) {
    Fill(colours, range, colours.BackgroundColour, colours.CellColour);
}

void FillPaletteWith(ColourModel& colours, PaletteRange range, Colour colour) {
    Fill(colours, range, colour, InverseColour(colour));
}

void SetCellColour(ColourModel& colours, Colour colour) {
    colours.CellColour = colour;
    colours.RebuildStateColours();
}

void SetColorOn(ColourModel& colours, bool on) {
    colours.ColorOn = on;
    colours.RebuildStateColours();
}

}  // namespace zentorix
