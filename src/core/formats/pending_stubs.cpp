// Temporary stand-in until the open dispatcher is merged; removed with that merge.
#include "formats/pattern_load.h"

namespace zentorix {
OpenResult OpenPatternFile(World&, Settings&, const std::filesystem::path&, PanelSize) {
    return {};
}
}  // namespace zentorix
