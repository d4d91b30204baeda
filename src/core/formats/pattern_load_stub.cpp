// Stand-in for the common start and end of the pattern readers, so that the
// readers of this branch link and can be tested; the open dispatcher's own
// implementation replaces this file.
#include <algorithm>
#include <cstdint>

#include "formats/pattern_load.h"
#include "view/edit_commands.h"

namespace zentorix {

bool BeginPatternLoad(World& world, const Settings& settings, const std::filesystem::path& file,
                      std::string_view label) {
    world.CurrentFileName = file.filename().string();
    world.Description.clear();
    world.Description.emplace_back(label);
    const bool stop = settings.StopForLoad;
    if (stop)
        world.Counters.Generation = 1;
    if (settings.ClearForLoad) {
        EraseRegion(world, settings, WholeFieldRect(world), false);
        world.StagingGrid.FillRect(-3, -3, world.ExtentX(), world.ExtentY(), 0);
    }
    return stop;
}

namespace {

// Brings the extent into last + 20 .. last + 100; an extent of 999 or more
// becomes 998 and the pattern is cut to it. Gives the new extent.
std::int64_t FitExtent(std::int64_t extent, std::int64_t& last) {
    if (extent < last + 20)
        extent = last + 20;
    else if (extent > last + 100)
        extent = last + 100;
    if (extent >= 999) {
        extent = 998;
        last = 998;
    }
    return extent;
}

}  // namespace

void PlacePattern(World& world, Settings& settings, int w, int h, bool fit, PanelSize panel) {
    std::int64_t lastColumn = w, lastRow = h;
    if (fit && settings.ClearForLoad) {
        const std::int64_t ex = FitExtent(world.ExtentX(), lastColumn);
        const std::int64_t ey = FitExtent(world.ExtentY(), lastRow);
        world.SetFieldWidth(static_cast<int>(std::clamp<std::int64_t>(ex - 1, 0, 999)));
        world.SetFieldHeight(static_cast<int>(std::clamp<std::int64_t>(ey - 1, 0, 999)));
        if (panel.width > 0 && panel.height > 0) {
            settings.CellSize =
                std::min(panel.height / world.ExtentY(), panel.width / world.ExtentX());
            settings.SetSizeCells(settings.SizeCells);
        }
    }
    if (lastColumn >= world.FieldWidth())
        lastColumn = world.FieldWidth() - 1;
    if (lastRow >= world.FieldHeight())
        lastRow = world.FieldHeight() - 1;
    if (lastColumn < 0)
        return;
    const int cx = world.ExtentX() / 2 - static_cast<int>(lastColumn / 2) + 2;
    const int cy = world.ExtentY() / 2 - static_cast<int>(lastRow / 2);
    StateField& layer =
        world.LayerField(static_cast<Layer>(static_cast<int>(settings.LoadFieldSelector)));
    for (int i = 0; i <= lastColumn; ++i)
        for (int j = 0; j <= lastRow; ++j)
            layer.Set(cx + i, cy + j, world.StagingGrid.at(i, j));
}

}  // namespace zentorix
