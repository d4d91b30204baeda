#pragma once

#include <filesystem>

#include "formats/pattern_load.h"
#include "model/settings.h"
#include "model/world.h"

namespace zentorix {

// Reads a one-bit bitmap into the layer chosen by LoadFieldSelector.
void ReadBitmapFile(World& world, Settings& settings, const std::filesystem::path& file,
                    PanelSize panel);

}  // namespace zentorix
