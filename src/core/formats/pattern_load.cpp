// The one way into the program for every file, and the common start and end of
// the pattern readers: clearing before a load and centring the result.
#include "formats/pattern_load.h"

#include <algorithm>
#include <cstdint>
#include <system_error>

#include "engine/field_regions.h"
#include "formats/bitmap_file.h"
#include "formats/life20_file.h"
#include "formats/life_files.h"
#include "formats/mcell_file.h"
#include "formats/native_file.h"
#include "formats/rle_file.h"

namespace zentorix {

namespace {

// Brings a field extent into last + 20 .. last + 100 and keeps it below 999.
// Gives the new extent; `last` is cut to 998 with it.
std::int64_t FitExtent(std::int64_t extent, std::int64_t& last) {
    extent = std::clamp(extent, last + 20, last + 100);
    if (extent >= kMaxFieldSize) {
        extent = kMaxFieldSize - 1;
        last = kMaxFieldSize - 1;
    }
    return extent;
}

// The first and last index holding a live staging cell, per axis.
struct LiveSpan {
    int first = kPatternHigh + 1, last = -1;
    bool Any() const { return last >= 0; }
};

// The live cells of the staging grid within columns 0..w and rows 0..h: their
// span per axis, and how many there are.
struct LiveBoxOf {
    LiveSpan xs, ys;
    std::int64_t live = 0;
};
LiveBoxOf LiveBox(const StateField& staging, int w, int h) {
    LiveSpan xs, ys;
    std::int64_t live = 0;
    const int lastX = std::min(w, kPatternHigh), lastY = std::min(h, kPatternHigh);
    for (int x = 0; x <= lastX; ++x) {
        const std::int32_t* column = staging.Column(x) - staging.Low();
        for (int y = 0; y <= lastY; ++y)
            if (column[y] > 0) {
                ++live;
                xs.first = std::min(xs.first, x);
                xs.last = x;
                ys.first = std::min(ys.first, y);
                ys.last = std::max(ys.last, y);
            }
    }
    return {xs, ys, live};
}

// Whether any staging cell within columns and rows 0..kPatternHigh is live; it
// stops at the first, where LiveBox would go on over the whole grid.
bool AnyLive(const StateField& staging) {
    for (int x = 0; x <= kPatternHigh; ++x) {
        const std::int32_t* column = staging.Column(x) - staging.Low();
        for (int y = 0; y <= kPatternHigh; ++y)
            if (column[y] > 0)
                return true;
    }
    return false;
}

// A pattern that fits the shown field (1..size) but that the centring offset or
// the empty row above it would push past its edge is moved back onto it, so that
// a pattern as large as the field keeps its edge; `last` grows to take in its
// live cells. Other patterns keep their place.
void KeepOnField(int& offset, std::int64_t& last, const LiveSpan& span, int size) {
    if (!span.Any() || span.last - span.first + 1 > size)
        return;
    if (offset + span.last > size)
        offset = size - span.last;
    if (offset + span.first < 1)
        offset = 1 - span.first;
    last = std::max<std::int64_t>(last, span.last);
}

bool IsPatternFormat(PatternFormat format) {
    return format != PatternFormat::None && format != PatternFormat::Native;
}

}  // namespace

OpenResult OpenPatternFile(World& world, Settings& settings, const std::filesystem::path& file,
                           PanelSize panel) {
    OpenResult result;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        return result;
    result.found = true;
    result.format = ClassifyPatternFile(file);
    if (result.format != PatternFormat::Bitmap)
        world.Description.clear();
    // Pattern readers stop the run in BeginPatternLoad; the native reader decides itself.
    const bool patternStops = settings.StopForLoad;
    switch (result.format) {
        case PatternFormat::Native:
            result.stopRun = ReadNativeFile(world, settings, file).stopRun;
            break;
        case PatternFormat::MCell:
            ReadMCellFile(world, settings, file, panel, &result.problems);
            result.stopRun = patternStops;
            break;
        case PatternFormat::Rle:
            ReadRleFile(world, settings, file, panel, &result.problems);
            result.stopRun = patternStops;
            break;
        case PatternFormat::Life105:
            ReadLife105File(world, settings, file, panel, &result.problems);
            result.stopRun = patternStops;
            break;
        case PatternFormat::Life106:
            ReadLife106File(world, settings, file, panel);
            result.stopRun = patternStops;
            break;
        case PatternFormat::Life20:
            ReadLife20File(world, settings, file, panel);
            result.stopRun = patternStops;
            break;
        case PatternFormat::Bitmap:
            ReadBitmapFile(world, settings, file, panel);
            result.stopRun = patternStops;
            break;
        case PatternFormat::None:
            break;
    }
    // The reader decoded into the staging grid (cleared first unless ClearForLoad
    // is off); a file whose data gave no cell would otherwise look like success.
    if (IsPatternFormat(result.format) && !AnyLive(world.StagingGrid))
        result.problems.push_back("The file's pattern data gave no live cell.");
    if (const World::PatternCut& cut = world.LastPatternCut;
        IsPatternFormat(result.format) && cut.liveLeftOut > 0)
        result.problems.push_back(
            "The pattern is " + std::to_string(cut.columns) + " x " + std::to_string(cut.rows) +
            " cells, the field " + std::to_string(cut.fieldWidth) + " x " +
            std::to_string(cut.fieldHeight) + ": only the part that fits was placed, " +
            std::to_string(cut.liveLeftOut) + " live cells were left out.");
    return result;
}

bool BeginPatternLoad(World& world, const Settings& settings, const std::filesystem::path& file,
                      std::string_view label) {
    world.CurrentFileName = file.filename().string();
    world.Description.assign(1, std::string(label));
    world.PatternLiveOutside = {};
    world.LastPatternCut = {};
    if (settings.StopForLoad)
        world.Counters.Generation = 1;
    if (settings.ClearForLoad) {
        const CellRect whole = WholeFieldRect(world);
        EraseRegion(world, settings, whole, false);
        world.StagingGrid.FillRect(whole.FirstColumn, whole.FirstRow, whole.LastColumn,
                                   whole.LastRow, 0);
    }
    return settings.StopForLoad;
}

void PlacePattern(World& world, Settings& settings, int w, int h, bool fit, PanelSize panel) {
    const auto [liveColumns, liveRows, live] = LiveBox(world.StagingGrid, w, h);
    std::int64_t lastColumn = w, lastRow = h;
    if (fit && settings.ClearForLoad) {
        const std::int64_t ex = FitExtent(world.ExtentX(), lastColumn);
        const std::int64_t ey = FitExtent(world.ExtentY(), lastRow);
        world.SetFieldWidth(static_cast<int>(ex - 1));
        world.SetFieldHeight(static_cast<int>(ey - 1));
        if (panel.width > 0 && panel.height > 0) {
            // A panel smaller than the field would give size 0: the cell size
            // keeps within its control's range.
            settings.CellSize =
                std::min(panel.height / world.ExtentY(), panel.width / world.ExtentX());
            settings.SetSizeCells(settings.SizeCells);
        }
    }
    if (lastColumn >= world.FieldWidth())
        lastColumn = world.FieldWidth() - 1;
    if (lastRow >= world.FieldHeight())
        lastRow = world.FieldHeight() - 1;
    // The pattern's size: the box of its live cells, those beyond the staging
    // grid included.
    // Named copies: a lambda may not capture structured bindings (clang 14).
    const auto noteLoss = [&, liveColumns = liveColumns, liveRows = liveRows,
                           live = live](std::int64_t placed) {
        const World::PatternOutside& out = world.PatternLiveOutside;
        const std::int64_t lost = live + out.live - placed;
        if (lost <= 0)
            return;
        std::int64_t x0 = out.minX, x1 = out.maxX, y0 = out.minY, y1 = out.maxY;
        if (liveColumns.Any()) {
            x0 = std::min<std::int64_t>(x0, liveColumns.first);
            x1 = std::max<std::int64_t>(x1, liveColumns.last);
            y0 = std::min<std::int64_t>(y0, liveRows.first);
            y1 = std::max<std::int64_t>(y1, liveRows.last);
        }
        world.LastPatternCut = {x1 - x0 + 1, y1 - y0 + 1, world.FieldWidth(), world.FieldHeight(),
                                lost};
    };
    if (lastColumn < 0)
        return noteLoss(0);
    int cx = world.ExtentX() / 2 - static_cast<int>(lastColumn / 2) + 2;
    int cy = world.ExtentY() / 2 - static_cast<int>(lastRow / 2);
    KeepOnField(cx, lastColumn, liveColumns, world.FieldWidth());
    KeepOnField(cy, lastRow, liveRows, world.FieldHeight());
    // The offset pushes a pattern as wide as the field past the extent; cells
    // there could never be erased again, so the copy stops at the extent.
    const int lastX = std::min<int>(cx + static_cast<int>(lastColumn), world.ExtentX());
    const int lastY = std::min<int>(cy + static_cast<int>(lastRow), world.ExtentY());
    StateField& target =
        world.LayerField(static_cast<Layer>(static_cast<int>(settings.LoadFieldSelector)));
    const StateField& staging = world.StagingGrid;
    std::int64_t placed = 0;
    for (int x = cx; x <= lastX; ++x)
        for (int y = cy; y <= lastY; ++y) {
            const std::int32_t state = staging.Get(x - cx, y - cy);
            placed += state > 0;
            target.Set(x, y, state);
        }
    noteLoss(placed);
}

}  // namespace zentorix
