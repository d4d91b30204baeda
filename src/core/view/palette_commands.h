#pragma once

#include <algorithm>
#include <cstdint>

#include "model/colour_model.h"

namespace zentorix {

// The commands of the palette editor and the scheme boxes. Each keeps StateColour
// in step with what it changed; none repaints (the caller decides).

inline constexpr Colour kSilver = 0xC0C0C0;

// Colour counts outside 1..256 come only from damaged lines; a count of 0 would
// leave the palette empty and one above 256 would reach past it.
inline int ClampColourCount(std::int64_t count) {
    return static_cast<int>(std::clamp<std::int64_t>(count, 1, kPaletteSize));
}

// The caption colour that stays legible on an entry: white minus the colour.
inline Colour InverseColour(Colour colour) {
    return static_cast<Colour>(0xFFFFFFu - static_cast<std::uint32_t>(colour));
}

// Sets entry k (1..256; others are ignored) and gives its panel the inverse
// caption colour. StateColour is not rebuilt.
void SetPanelEntry(ColourModel& colours, int k, Colour colour);

// Whether the panel of entry k is shown: the entries in use, and always entry 1.
inline bool PanelShown(const ColourModel& colours, int k) {
    return k == 1 || (k >= 1 && k <= ClampColourCount(colours.GenColourCount));
}

// The colour picked for one panel of the editor. Only entries in use can be
// picked (the others are hidden); returns whether the entry changed.
bool SetPaletteEntry(ColourModel& colours, int k, Colour colour);

// The number of palette entries in use, kept within 1..256.
void SetGenColourCount(ColourModel& colours, int count);

// The bulk fills of the palette's context menu, on the entries in use
// (1..GenColourCount) or on the others (GenColourCount + 1..256).
enum class PaletteRange { InUse, Others };
void FillPaletteBlack(ColourModel& colours, PaletteRange range);
void FillPaletteSilver(ColourModel& colours, PaletteRange range);
void FillPaletteBackground(ColourModel& colours, PaletteRange range);
void FillPaletteWith(ColourModel& colours, PaletteRange range, Colour colour);

// Scheme changes that the state colours depend on.
void SetCellColour(ColourModel& colours, Colour colour);
void SetColorOn(ColourModel& colours, bool on);

}  // namespace zentorix
