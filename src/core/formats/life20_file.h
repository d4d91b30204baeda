#pragma once

#include <filesystem>

#include "formats/pattern_load.h"
#include "model/settings.h"
#include "model/world.h"

namespace zentorix {

// Reads a Life 2.0 pattern into the layer chosen by LoadFieldSelector.
void ReadLife20File(World& world, Settings& settings, const std::filesystem::path& file,
                    PanelSize panel);

}  // namespace zentorix
