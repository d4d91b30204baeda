// Temporary stand-ins until the native file, snapshot and pattern commands are
// merged; removed with that merge.
#include <stdexcept>

#include "formats/native_file.h"
#include "formats/pattern_load.h"
#include "formats/snapshots.h"

namespace zentorix {
std::filesystem::path WriteNativeFile(const World&, const Settings&,
                                      const std::filesystem::path& file, NativeKind) {
    return file;
}
NativeReadResult ReadNativeFile(World&, Settings&, const std::filesystem::path&) { return {}; }
OpenResult OpenPatternFile(World&, Settings&, const std::filesystem::path&, PanelSize) {
    return {};
}
void UndoSnapshot(World& world, const Settings&, const ProgramFolder&) { ++world.UndoCounter; }
void UndoBack(World&, Settings&, const ProgramFolder&) {}
void UndoForward(World&, Settings&, const ProgramFolder&) {}
void QuickSave(const World&, const Settings&, const ProgramFolder&) {}
}  // namespace zentorix
