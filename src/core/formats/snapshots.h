#pragma once
// Placeholder until the snapshot commands land; replaced at merge.
#include "formats/program_folder.h"
#include "model/settings.h"
#include "model/world.h"

namespace zentorix {
void UndoSnapshot(World& world, const Settings& settings, const ProgramFolder& folder);
void UndoBack(World& world, Settings& settings, const ProgramFolder& folder);
void UndoForward(World& world, Settings& settings, const ProgramFolder& folder);
void QuickSave(const World& world, const Settings& settings, const ProgramFolder& folder);
}  // namespace zentorix
