#pragma once

#include <cstdint>
#include <vector>

#include "model/colour_model.h"
#include "model/world.h"

namespace zentorix {

// The Main Field as a picture of palette indices, for animations: each cell a
// square of `scale` pixels in the colour the view paints it (its state colour,
// the background, or the birth and death highlights where they are shown).
class FieldFrames {
  public:
    // At most 256 colours: the background, the birth and death colours and the
    // state colours; a scheme with more distinct colours has the rest drawn in
    // the nearest of the first 256.
    explicit FieldFrames(const ColourModel& colours);

    // The palette as 0xRRGGBB.
    const std::vector<std::uint32_t>& Palette() const { return palette_; }

    // Columns and rows of `area`, `scale` pixels a cell, row after row.
    void Render(const World& world, CellRect area, int scale,
                std::vector<std::uint8_t>& pixels) const;

  private:
    std::uint8_t IndexOf(Colour colour);

    std::vector<std::uint32_t> palette_;
    std::vector<Colour> colours_;
    std::vector<std::uint8_t> stateIndex_;  // by state 1..kPaletteSize
    std::uint8_t background_ = 0, birth_ = 0, dead_ = 0;
    bool showBirth_ = false, showDead_ = false;
};

}  // namespace zentorix
