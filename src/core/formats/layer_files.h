#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "formats/program_folder.h"
#include "model/settings.h"
#include "model/world.h"

namespace zentorix {

// The library files of the three landscape layers live in the program's Field
// folder: Eternal Life ".bfld", Eternal Dead ".dfld", Other Reality ".rfld" (which
// also carries rule set 1). The Main Field has no library: the functions below do
// nothing for it.

// The extension of the layer's library files, empty for the Main Field.
std::string_view LayerFileExtension(Layer layer);
// The library file of the given name (the list box's text, without extension).
std::filesystem::path LayerFilePath(const ProgramFolder& folder, Layer layer,
                                    std::string_view name);
// The name a save uses when the list box's text is empty: the layer's stem and
// the number of entries in its list ("EternalLifeField3" for three entries).
std::string DefaultLayerFileName(Layer layer, int entryCount);

// Writes the layer's file (its switches and rhythm, the ".rfld" rule, the whole
// layer's data). The overwrite question is the caller's. Throws FileError when
// the file cannot be written (the Field folder is not created here).
std::filesystem::path SaveLayerFile(const World& world, const Settings& settings,
                                    const ProgramFolder& folder, Layer layer,
                                    std::string_view name);

// Reads the layer's file: its keys set their settings, its data replaces the
// whole layer over -3..Extent, and a ".rfld" rule goes into rule set 1. A missing
// file gives false and changes nothing. A malformed number raises FormatError;
// the layer is then not loaded.
bool LoadLayerFile(World& world, Settings& settings, const ProgramFolder& folder, Layer layer,
                   std::string_view name);

// The names (without extension) of the layer's library files, sorted.
std::vector<std::string> ListLayerFiles(const ProgramFolder& folder, Layer layer);

// Copies one whole layer onto another over columns -3..ExtentX and rows
// -3..ExtentY, through the staging grid.
void CopyLayer(World& world, Layer from, Layer to);
// The copy button: the layers chosen in CopyFromComboBox and CopyToComboBox.
void CopyFieldButtonClick(World& world, const Settings& settings);

}  // namespace zentorix
