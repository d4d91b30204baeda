#pragma once

#include "model/settings.h"
#include "model/world.h"

namespace zentorix {

// Clears the rectangle (clipped to the grids) in the layers chosen for erasing,
// or in all four layers with allLayers, and always clears its born and died
// marks. The caller redraws the view with every layer forced.
void EraseRegion(World& world, const Settings& settings, CellRect rect, bool allLayers);

// Which layers a fill sets: the paint targets (the selection's fills), the
// random-fill targets (the landscape page's fill button), or all four.
enum class FillTargets { Paint, RandomFill, All };

// Sets cells of the rectangle (clipped to the layers' margins) to 1 in the
// chosen layers: every cell at intensity 100 or more, none at 0 or less, else
// each cell with a chance of intensity in 100. A fill never clears a cell; at
// full intensity the filled cells' born and died marks are cleared. The random
// source is reseeded first. The caller redraws the view.
void FillRegion(World& world, const Settings& settings, CellRect rect, FillTargets targets,
                int intensity);

// The whole field including its margins: columns and rows -3..Extent.
inline CellRect WholeFieldRect(const World& world) {
    return {-3, -3, world.ExtentX(), world.ExtentY()};
}

}  // namespace zentorix
