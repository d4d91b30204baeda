#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace zentorix {

// A 24-bit RGB value with red in the lowest byte, as the files store it.
using Colour = std::int32_t;

inline constexpr int kPaletteSize = 256;
// Palette line kinds besides the rows 0..31.
inline constexpr int kSchemeLineKind = -2;
inline constexpr int kCountLineKind = -1;
inline constexpr int kPaletteRowCount = kPaletteSize / 8;

// The scheme colours, their switches, the generation palette and the table the
// view paints live cells with.
struct ColourModel {
    // The start-up state: the start-up scheme, every palette entry the background
    // colour, then the start-up palette of 64 colours.
    ColourModel();

    Colour CellColour = 65535;
    Colour BackgroundColour = 0;
    Colour GridColour = 64;
    Colour BigGridColour = 91;
    Colour BirthColour = 255;
    Colour DeadColour = 10789024;
    bool ShowBirthCells = false;
    bool ShowDeadCells = false;
    bool ColorOn = true;     // live cells coloured from the palette by state
    bool ColorMode = false;  // a live cell's value is its birth phase, not its age

    std::array<Colour, kPaletteSize + 1> GenPalette{};   // entries 1..256
    int GenColourCount = 64;                             // 1..256 entries in use
    std::array<Colour, kPaletteSize + 1> StateColour{};  // states 1..256
    // The caption colour of each entry's panel in the palette editor: usually the
    // inverse of the entry, but the bulk fills choose their own (black on silver,
    // the cell colour on the background), so it is kept, not derived.
    std::array<Colour, kPaletteSize + 1> PanelTextColour{};

    // StateColour from the palette (repeating every GenColourCount states) or,
    // with ColorOn off, CellColour for every state.
    void RebuildStateColours() {
        const int count = std::clamp(GenColourCount, 1, kPaletteSize);
        for (int v = 1; v <= kPaletteSize; ++v)
            StateColour[v] = ColorOn ? GenPalette[((v - 1) % count) + 1] : CellColour;
    }

    // The colour a live cell of state v is painted with; states beyond the table
    // take the colour of its last entry.
    Colour ColourOfState(std::int32_t v) const {
        return StateColour[std::clamp<std::int32_t>(v, 1, kPaletteSize)];
    }
};

// One palette line: kind -2 the scheme line "#CX ", -1 the count line "#CZ ", 0..31
// palette row i; any other kind gives an empty line.
std::string FormatPaletteLine(const ColourModel& colours, int kind);
// Applies one palette line of any kind, then rebuilds StateColour. A line that
// does not begin "#C" changes nothing.
void ApplyPaletteLine(ColourModel& colours, std::string_view line);
// The same without the rebuild, for a run of lines: the table is rebuilt once
// after the last of them, by whoever reads the run.
void ReadPaletteLine(ColourModel& colours, std::string_view line);

}  // namespace zentorix
