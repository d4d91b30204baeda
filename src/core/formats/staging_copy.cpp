#include "formats/staging_copy.h"

namespace zentorix {

void ReplaceLayerFromStaging(World& world, Layer layer) {
    world.LayerField(layer).CopyRect(world.StagingGrid, -3, -3, world.ExtentX(), world.ExtentY());
}

void ClearLayer(World& world, Layer layer) {
    world.LayerField(layer).FillRect(-3, -3, world.ExtentX(), world.ExtentY(), 0);
}

void MergeStagingIntoLayer(World& world, Layer layer) {
    StateField& target = world.LayerField(layer);
    const StateField& staging = world.StagingGrid;
    for (int x = -3; x <= world.ExtentX(); ++x)
        for (int y = -3; y <= world.ExtentY(); ++y)
            if (const std::int32_t v = staging.at(x, y); v > 0)
                target.at(x, y) = v;
}

bool LayerFromIndex(int index, Layer& layer) {
    if (index < 0 || index > 3)
        return false;
    layer = static_cast<Layer>(index);
    return true;
}

}  // namespace zentorix
