#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "formats/text_file.h"
#include "model/world.h"

namespace zentorix {

// The line prefix a layer's data lines carry ("#L ", "#LB ", "#LD ", "#LR ") and
// the three characters a reader recognises them by ("#L ", "#LB", "#LD", "#LR").
std::string_view FieldSectionPrefix(Layer layer);
std::string_view FieldSectionKey(Layer layer);

// Cell symbols: "." for 0, "A".."X" for 1..24, a block letter "a".."j" and a
// capital for 25..264. States outside 0..264 are written as the nearest state
// that has a symbol, so a reader decodes the same number of cells.
void AppendCellSymbol(std::string& out, std::int32_t state);
inline constexpr std::int32_t kHighestSymbolState = 264;
// The block base of "a".."j" (24, 48, ... 240), or -1 for any other character.
int BlockBase(char c);

// Appends the data lines of a layer: the whole layer over columns 0..W and rows
// 0..H, or (whole = false, Main Field only) the selection rectangle.
void WriteFieldSection(TextBuilder& out, const World& world, Layer layer, bool whole);

// Decodes every line that begins with the three-character key into the staging
// grid, after clearing it over -3..ExtentX by -3..ExtentY. Gives true when a data
// line of five or more characters was found. Data beyond the extents is cut off.
bool ReadFieldSection(World& world, const std::vector<std::string>& lines, std::string_view key);
// As above over the lines of a whole text, without a copy of any line.
bool ReadFieldSectionText(World& world, std::string_view text, std::string_view key);
// As above from a file; a missing file gives false and leaves the staging grid as
// it was.
bool ReadFieldSectionFile(World& world, const std::filesystem::path& path, std::string_view key);

// Reads a run count from its digits without ever overflowing: counts beyond any
// grid saturate at kCountLimit.
inline constexpr std::int64_t kCountLimit = std::int64_t{1} << 40;
std::int64_t RunCount(std::string_view digits);

}  // namespace zentorix
