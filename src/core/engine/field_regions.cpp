#include "engine/field_regions.h"

#include <algorithm>
#include <vector>

namespace zentorix {

namespace {

// The layers a fill writes, in the order the targets are listed.
std::vector<StateField*> FillLayers(World& world, const Settings& s, FillTargets targets) {
    const bool all = targets == FillTargets::All;
    const bool fill = targets == FillTargets::RandomFill;
    const std::pair<bool, StateField*> layers[] = {
        {all || (fill ? s.MainFillRandom : s.MainLifePaint), &world.MainField},
        {all || (fill ? s.EtenalLifeFillRandom : s.EternalLifePaint), &world.EternalLifeField},
        {all || (fill ? s.EtenalDeadFillRandom : s.EternalDeadPaint), &world.EternalDeadField},
        {all || (fill ? s.OtherRealFillRandom : s.OtherRealPaint), &world.OtherRealityField}};
    std::vector<StateField*> chosen;
    for (const auto& [on, layer] : layers)
        if (on)
            chosen.push_back(layer);
    return chosen;
}

}  // namespace

void EraseRegion(World& world, const Settings& s, CellRect r, bool allLayers) {
    if (r.Empty())
        return;
    if (s.EternalLifeErase || allLayers)
        world.EternalLifeField.FillRect(r.FirstColumn, r.FirstRow, r.LastColumn, r.LastRow, 0);
    if (s.EternalDeadErase || allLayers)
        world.EternalDeadField.FillRect(r.FirstColumn, r.FirstRow, r.LastColumn, r.LastRow, 0);
    if (s.OtherRealErase || allLayers)
        world.OtherRealityField.FillRect(r.FirstColumn, r.FirstRow, r.LastColumn, r.LastRow, 0);
    if (s.MainLifeErase || allLayers)
        world.MainField.FillRect(r.FirstColumn, r.FirstRow, r.LastColumn, r.LastRow, 0);
    world.BornMarks.FillRect(r.FirstColumn, r.FirstRow, r.LastColumn, r.LastRow, 0);
    world.DiedMarks.FillRect(r.FirstColumn, r.FirstRow, r.LastColumn, r.LastRow, 0);
}

void FillRegion(World& world, const Settings& s, CellRect r, FillTargets targets, int intensity) {
    world.Random.Reseed();
    // Every layer and both mark grids hold -3..kGridHigh.
    r.FirstColumn = std::max(r.FirstColumn, kLayerLow);
    r.FirstRow = std::max(r.FirstRow, kLayerLow);
    r.LastColumn = std::min(r.LastColumn, kGridHigh);
    r.LastRow = std::min(r.LastRow, kGridHigh);
    if (r.Empty() || intensity <= 0)
        return;
    const std::vector<StateField*> layers = FillLayers(world, s, targets);
    if (intensity >= 100) {
        // A solid fill: the layers chosen, not other targets, and marks of the
        // last generation no longer belong to these cells.
        for (StateField* layer : layers)
            layer->FillRect(r.FirstColumn, r.FirstRow, r.LastColumn, r.LastRow, 1);
        world.BornMarks.FillRect(r.FirstColumn, r.FirstRow, r.LastColumn, r.LastRow, 0);
        world.DiedMarks.FillRect(r.FirstColumn, r.FirstRow, r.LastColumn, r.LastRow, 0);
        return;
    }
    for (int x = r.FirstColumn; x <= r.LastColumn; ++x)
        for (int y = r.FirstRow; y <= r.LastRow; ++y)
            if (world.Random.Below(100) < static_cast<std::uint32_t>(intensity))
                for (StateField* layer : layers)
                    layer->at(x, y) = 1;
}

}  // namespace zentorix
