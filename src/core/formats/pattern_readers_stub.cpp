// Placeholders for the MCell, Life 2.0 and bitmap readers until they arrive.
#include "formats/bitmap_file.h"
#include "formats/life20_file.h"
#include "formats/mcell_file.h"

namespace zentorix {

void ReadMCellFile(World&, Settings&, const std::filesystem::path&, PanelSize) {}
void ReadLife20File(World&, Settings&, const std::filesystem::path&, PanelSize) {}
void ReadBitmapFile(World&, Settings&, const std::filesystem::path&, PanelSize) {}

}  // namespace zentorix
