#pragma once

#include <filesystem>

#include "formats/pattern_load.h"
#include "model/settings.h"
#include "model/world.h"

namespace zentorix {

// Reads a run-length encoded pattern ("x = .., y = .., rule = ..", runs of "b" and
// "o", "$" row ends, a final "!") into the layer chosen by LoadFieldSelector, its
// rule into the set chosen by LoadRulesSelector and its comments into the
// description. A missing file changes nothing.
void ReadRleFile(World& world, Settings& settings, const std::filesystem::path& file,
                 PanelSize panel);

// Writes the Main Field over columns 0..W and rows 0..H as RLE with the rule of
// rule set 0: two-state ("b", "o") unless the rule keeps history, then one letter
// per state. The extension becomes ".rle"; gives the path written. Throws
// FileError when the file cannot be written (the old file is then untouched).
std::filesystem::path WriteRleFile(const World& world, const std::filesystem::path& file);

}  // namespace zentorix
