#include "view/field_frame.h"

#include <algorithm>

namespace zentorix {

namespace {

// Stored colours hold red in the lowest byte; the palette wants 0xRRGGBB.
std::uint32_t Rgb(Colour c) {
    const auto v = static_cast<std::uint32_t>(c);
    return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

int Distance(std::uint32_t a, std::uint32_t b) {
    int sum = 0;
    for (int shift : {0, 8, 16}) {
        const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        sum += d * d;
    }
    return sum;
}

}  // namespace

std::uint8_t FieldFrames::IndexOf(Colour colour) {
    const std::uint32_t rgb = Rgb(colour);
    for (std::size_t i = 0; i < palette_.size(); ++i)
        if (palette_[i] == rgb)
            return static_cast<std::uint8_t>(i);
    if (palette_.size() < 256) {
        palette_.push_back(rgb);
        return static_cast<std::uint8_t>(palette_.size() - 1);
    }
    std::size_t best = 0;
    for (std::size_t i = 1; i < palette_.size(); ++i)
        if (Distance(palette_[i], rgb) < Distance(palette_[best], rgb))
            best = i;
    return static_cast<std::uint8_t>(best);
}

FieldFrames::FieldFrames(const ColourModel& colours)
    : showBirth_(colours.ShowBirthCells), showDead_(colours.ShowDeadCells) {
    background_ = IndexOf(colours.BackgroundColour);
    birth_ = showBirth_ ? IndexOf(colours.BirthColour) : background_;
    dead_ = showDead_ ? IndexOf(colours.DeadColour) : background_;
    stateIndex_.resize(kPaletteSize + 1);
    for (int v = 1; v <= kPaletteSize; ++v)
        stateIndex_[static_cast<std::size_t>(v)] = IndexOf(colours.ColourOfState(v));
}

void FieldFrames::Render(const World& world, CellRect area, int scale,
                         std::vector<std::uint8_t>& pixels) const {
    const int columns = std::max(0, area.LastColumn - area.FirstColumn + 1);
    const int rows = std::max(0, area.LastRow - area.FirstRow + 1);
    const std::size_t width = static_cast<std::size_t>(columns) * static_cast<std::size_t>(scale);
    pixels.assign(width * static_cast<std::size_t>(rows) * static_cast<std::size_t>(scale),
                  background_);
    std::vector<std::uint8_t> line(width);
    for (int r = 0; r < rows; ++r) {
        const int y = area.FirstRow + r;
        for (int c = 0; c < columns; ++c) {
            const int x = area.FirstColumn + c;
            const std::int32_t v = world.MainField.Get(x, y);
            std::uint8_t index = v > 0 ? stateIndex_[static_cast<std::size_t>(
                                             std::clamp<std::int32_t>(v, 1, kPaletteSize))]
                                       : background_;
            // The view paints the highlights over the state, death last.
            if (showBirth_ && world.BornMarks.Get(x, y) != 0)
                index = birth_;
            if (showDead_ && world.DiedMarks.Get(x, y) != 0)
                index = dead_;
            std::fill_n(line.begin() + static_cast<std::ptrdiff_t>(c) * scale, scale, index);
        }
        for (int k = 0; k < scale; ++k)
            std::copy(line.begin(), line.end(),
                      pixels.begin() + static_cast<std::ptrdiff_t>(
                                           (static_cast<std::size_t>(r) * scale + k) * width));
    }
}

}  // namespace zentorix
