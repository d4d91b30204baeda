#pragma once

#include "model/settings.h"
#include "model/world.h"

namespace zentorix {

// Clears the rectangle (clipped to the grids) in the layers chosen for erasing,
// or in all four layers with allLayers, and always clears its born and died
// marks. The caller redraws the view with every layer forced.
void EraseRegion(World& world, const Settings& settings, CellRect rect, bool allLayers);

// The whole field including its margins: columns and rows -3..Extent.
inline CellRect WholeFieldRect(const World& world) {
    return {-3, -3, world.ExtentX(), world.ExtentY()};
}

}  // namespace zentorix
