#include "view/edit_commands.h"

namespace zentorix {

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

}  // namespace zentorix
