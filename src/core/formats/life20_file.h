#pragma once

#include <filesystem>

#include "formats/pattern_load.h"
#include "model/settings.h"
#include "model/world.h"

namespace zentorix {

// Reads a binary Life 2.0 pattern: little-endian 32-bit records holding the
// pattern's width and height, a birth count, a survival range, nine
// neighbourhood flags, the birth-cells display switch, and then the cell
// states column by column. The pattern is placed centred (fitted to the field)
// and its rule read into the rule set chosen by LoadRulesSelector. A missing
// file changes nothing; a truncated one places nothing and sets no rule. A rule
// whose numbers the rule text cannot hold raises FormatError after placement.
void ReadLife20File(World& world, Settings& settings, const std::filesystem::path& file,
                    PanelSize panel);

}  // namespace zentorix
