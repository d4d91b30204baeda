#pragma once

#include "model/world.h"

namespace zentorix {

// The staging grid replaces the layer: every cell over columns -3..ExtentX and
// rows -3..ExtentY takes the staging value, empty cells included. Cells beyond
// the extents are kept, as a change of field size keeps them.
void ReplaceLayerFromStaging(World& world, Layer layer);

// Empties the layer over columns -3..ExtentX and rows -3..ExtentY.
void ClearLayer(World& world, Layer layer);

// Staging cells with a state above 0 over -3..ExtentX by -3..ExtentY are copied
// into the layer; all other cells keep their values.
void MergeStagingIntoLayer(World& world, Layer layer);

// The layer with the number of the layer lists (0 Main Field, 1 Eternal Life,
// 2 Eternal Dead, 3 Other Reality); false for any other number.
bool LayerFromIndex(int index, Layer& layer);

}  // namespace zentorix
