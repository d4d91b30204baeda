#pragma once

#include <span>
#include <string_view>

#include "model/colour_model.h"

namespace zentorix {

// The colour schemes and generation palettes the program ships with, listed
// first in their drop-down lists, and the colours it starts with.

struct BuiltInColourScheme {
    std::string_view Caption;
    std::string_view Line;  // a scheme line
};

struct BuiltInGenPalette {
    std::string_view Caption;
    std::span<const std::string_view> Lines;  // the count line, then rows from row 0
};

std::span<const BuiltInColourScheme> BuiltInColourSchemes();
std::span<const BuiltInGenPalette> BuiltInGenPalettes();

// The scheme line the program starts with: the first built-in scheme with a
// darker grid.
inline constexpr std::string_view kStartUpSchemeLine =
    "#CX   S    65535       0      64      91     25510789024";
// The start-up palette is the second built-in palette.
inline constexpr int kStartUpGenPaletteIndex = 1;

// Applies built-in scheme `index`; false (nothing changed) for an index outside
// the list.
bool ApplyBuiltInColourScheme(ColourModel& colours, int index);

// Sets every palette entry to the background colour, then applies the built-in
// palette's lines, so entries the palette does not name take the background.
// False (nothing changed) for an index outside the list.
bool ApplyBuiltInGenPalette(ColourModel& colours, int index);

// What start-up does to the colours: every entry the background colour, then the
// start-up scheme line and the start-up palette.
void ApplyStartUpColours(ColourModel& colours);

}  // namespace zentorix
