#pragma once

#include <filesystem>

#include "formats/pattern_load.h"
#include "model/settings.h"
#include "model/world.h"

namespace zentorix {

// Reads an MCell pattern (".mcl"): board size, wrap switch, speed, description
// and cell data; places the pattern centred in the layer chosen by
// LoadFieldSelector and then reads the rule, in the family the "#GAME" line
// names, into the rule set chosen by LoadRulesSelector. A missing file changes
// nothing. A malformed number in "#SPEED" or "#BOARD", or in the rule, raises
// FormatError; what was applied before it stays applied. A rule that will not run
// as the file means (a game without a family here, a rule not read whole) is
// named in problems.
void ReadMCellFile(World& world, Settings& settings, const std::filesystem::path& file,
                   PanelSize panel, FileProblems* problems = nullptr);

// Writes the Main Field with rule set 0 as an MCell "Weighted Life" pattern, to
// the name with its extension replaced by ".mcl"; gives the path written.
// Throws FileError when it cannot be written (an old file is then untouched).
std::filesystem::path WriteMCellFile(const World& world, const Settings& settings,
                                     const std::filesystem::path& file);

}  // namespace zentorix
