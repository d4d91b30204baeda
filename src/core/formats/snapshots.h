#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "formats/local_time.h"
#include "formats/native_file.h"
#include "formats/program_folder.h"
#include "model/settings.h"
#include "model/world.h"

namespace zentorix {

// Quick saves, undo snapshots and mini files: the native file written and read
// without the save panel. Pausing the run timer around a save is the caller's.

// The quick save's name for a moment: "-", the hour, "_", the minute, "_", the
// second (without leading zeros), "_", the date as dd.MM.yyyy and ".qlf", e.g.
// "-9_5_7_05.12.2026.qlf". The date never depends on the locale, so the name
// never holds a character a file name cannot carry.
std::string QuickSaveFileName(const LocalDateTime& moment);

// Writes a complete snapshot (kind qsave) into the QuickSave folder, creating
// the folder when it is missing. Gives the path written; throws FileError.
std::filesystem::path QuickSave(const World& world, Settings& settings, const ProgramFolder& folder,
                                const LocalDateTime& moment = CurrentLocalTime());

// The undo folder's snapshot number n: "n.qlf".
std::filesystem::path UndoSnapshotPath(const ProgramFolder& folder, std::int32_t n);

// Writes snapshot n (creating the undo folder when missing), then UndoCounter
// grows by 1. A snapshot that cannot be written throws FileError and leaves the
// counter as it was.
std::filesystem::path UndoSnapshot(World& world, Settings& settings, const ProgramFolder& folder,
                                   std::int32_t n);

// Stops the run as the Stop button does (Generation 1, stopRun set in the
// result), then reads snapshot n. A missing snapshot changes nothing else.
NativeReadResult UndoRestore(World& world, Settings& settings, const ProgramFolder& folder,
                             std::int32_t n);
// UndoCounter falls by 1 (never below 1) and that snapshot is restored.
NativeReadResult UndoBack(World& world, Settings& settings, const ProgramFolder& folder);
// UndoCounter grows by 1 and that snapshot is restored.
NativeReadResult UndoForward(World& world, Settings& settings, const ProgramFolder& folder);

// The mini file a selection is saved to: the folder, the name and ".mlf". A name
// that holds dots keeps them, so the file asked about is the file written.
std::filesystem::path SelectionFilePath(const std::filesystem::path& folder, std::string_view name);
// The description takes the given text, then the selection of the Main Field is
// written as a mini file. The overwrite question is the caller's.
std::filesystem::path SaveSelectionFile(World& world, Settings& settings,
                                        const std::filesystem::path& folder, std::string_view name,
                                        const std::vector<std::string>& description);

// The column and row the first pattern of the Automaton panel is placed at.
inline constexpr int kPairPlacementOrigin = 33;

// One press of the Automaton panel's start button: the field is erased as by the
// erase button, the live cells of the program folder's "1.mlf" are placed at
// (+33, +33) and those of "2.mlf" at (+33 + PairOffsetX, +33 + PairOffsetY),
// both clipped to the field and its margins; then the offsets advance, PairOffsetX
// running 1..UpDown4 and PairOffsetY growing by 1 at each wrap.
void PairPlacementStep(World& world, const Settings& settings, const ProgramFolder& folder);

}  // namespace zentorix
