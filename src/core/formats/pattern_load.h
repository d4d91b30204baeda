#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "formats/file_problems.h"
#include "formats/pattern_text.h"
#include "model/settings.h"
#include "model/world.h"

namespace zentorix {

// What a file is, judged by its content (a bitmap by its extension).
enum class PatternFormat { None, Native, MCell, Rle, Life105, Life106, Life20, Bitmap };

// The size in pixels of the field panel, for choosing the cell size when a
// pattern is fitted. Zero (the batch program) keeps the cell size.
struct PanelSize {
    int width = 0;
    int height = 0;
};

struct OpenResult {
    PatternFormat format = PatternFormat::None;
    bool found = false;     // the file existed
    bool stopRun = false;   // StopForLoad was on: the caller stops its run timer
    FileProblems problems;  // what the user is told although the file opened
};

// Pattern readers write staging cells only within these columns and rows.
inline constexpr int kPatternLow = -3;
inline constexpr int kPatternHigh = 999;

// Writes one staging cell for a pattern reader; positions outside the pattern
// range (however far, the coordinates come from a file) are dropped.
// Live cells of a pattern at columns x0..x1 of row y that the staging grid
// cannot hold: counted, so the open can tell what was lost.
inline void NotePatternOutside(World& world, std::int64_t x0, std::int64_t x1, std::int64_t y) {
    World::PatternOutside& out = world.PatternLiveOutside;
    out.live += x1 - x0 + 1;
    out.minX = std::min(out.minX, x0);
    out.maxX = std::max(out.maxX, x1);
    out.minY = std::min(out.minY, y);
    out.maxY = std::max(out.maxY, y);
}

inline void SetPatternCell(World& world, std::int64_t x, std::int64_t y, std::int32_t state) {
    if (x >= kPatternLow && x <= kPatternHigh && y >= kPatternLow && y <= kPatternHigh)
        world.StagingGrid.at(static_cast<int>(x), static_cast<int>(y)) = state;
    else if (state > 0)
        NotePatternOutside(world, x, x, y);
}

// Writes a run of `n` cells of one state from column x of row y, both 0 or
// more, as RLE and MCell lines give them: the part within the staging grid is
// written, the live cells beyond it are counted.
inline void SetPatternRun(World& world, std::int64_t x, std::int64_t n, std::int64_t y,
                          std::int32_t state) {
    const std::int64_t last = x + n - 1;
    if (y <= kPatternHigh)
        for (std::int64_t c = x; c <= std::min<std::int64_t>(last, kPatternHigh); ++c)
            SetPatternCell(world, c, y, state);
    if (state > 0 && (y > kPatternHigh || last > kPatternHigh))
        NotePatternOutside(
            world, y > kPatternHigh ? x : std::max<std::int64_t>(x, kPatternHigh + 1), last, y);
}

// A pattern's last column or row as PlacePattern takes it: whatever a file
// claims, it stays far inside int.
inline int PatternExtent(std::int64_t last) {
    constexpr std::int64_t kBound = std::int64_t{1} << 30;
    return static_cast<int>(last < -kBound ? -kBound : (last > kBound ? kBound : last));
}

// Classifies a file by its first line, else by its content. A missing file is
// None; a file too large to be a pattern raises FileError.
PatternFormat ClassifyPatternFile(const std::filesystem::path& file);
// The same judgement over a file's text (no bitmap: that one goes by extension).
PatternFormat ClassifyPatternText(const PatternText& text);

// Opens a file of any supported format and hands it to its reader. A missing
// file changes nothing. Readers raise FormatError for a malformed number; a file
// too large to be a pattern (kMaxPatternFileBytes) raises FileError and changes
// nothing.
OpenResult OpenPatternFile(World& world, Settings& settings, const std::filesystem::path& file,
                           PanelSize panel = {});

// The common start of the pattern readers: current file name, the description
// starting with the format label, a stop when StopForLoad is set (Generation 1),
// and with ClearForLoad the field erased in the erase targets and the staging
// grid cleared. Gives true when the run is to stop.
bool BeginPatternLoad(World& world, const Settings& settings, const std::filesystem::path& file,
                      std::string_view label);

// Copies the staging grid's columns 0..w and rows 0..h, centred, into the layer
// chosen by LoadFieldSelector; with fit (and ClearForLoad) the field is first
// sized to the pattern and, given a panel, the cell size fitted (within 1..50).
// What did not fit is kept in World::LastPatternCut.
void PlacePattern(World& world, Settings& settings, int w, int h, bool fit, PanelSize panel);

}  // namespace zentorix
