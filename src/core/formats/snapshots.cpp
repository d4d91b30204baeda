#include "formats/snapshots.h"

#include <limits>
#include <system_error>

#include "engine/field_regions.h"
#include "formats/field_section.h"
#include "formats/text_file.h"

namespace zentorix {

namespace {

constexpr std::int32_t kMaxCounter = std::numeric_limits<std::int32_t>::max();

void CreateFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    // A folder that cannot be made shows as the write's own FileError.
}

// Writes the staging grid's live cells into the Main Field, moved by (dx, dy);
// cells that would land outside the field and its margins are dropped.
void PlaceStagingCells(World& world, std::int64_t dx, std::int64_t dy) {
    const int ex = world.ExtentX(), ey = world.ExtentY();
    for (int x = -3; x <= ex; ++x) {
        const std::int64_t tx = x + dx;
        if (tx < -3 || tx > ex)
            continue;
        for (int y = -3; y <= ey; ++y) {
            const std::int64_t ty = y + dy;
            const std::int32_t v = world.StagingGrid.at(x, y);
            if (v > 0 && ty >= -3 && ty <= ey)
                world.MainField.at(static_cast<int>(tx), static_cast<int>(ty)) = v;
        }
    }
}

}  // namespace

std::string QuickSaveFileName(const LocalDateTime& t) {
    std::string name = "-";
    for (int part : {t.Hour, t.Minute, t.Second}) {
        name.append(std::to_string(part));
        name.push_back('_');
    }
    name.append(FormatDate(t));
    name.append(".qlf");
    return name;
}

std::filesystem::path QuickSave(const World& world, Settings& settings, const ProgramFolder& folder,
                                const LocalDateTime& moment) {
    CreateFolder(folder.QuickSave());
    return SaveNativeFile(world, settings, folder.QuickSave() / QuickSaveFileName(moment),
                          NativeKind::Qsave);
}

std::filesystem::path UndoSnapshotPath(const ProgramFolder& folder, std::int32_t n) {
    return folder.Undo() / (std::to_string(n) + ".qlf");
}

std::filesystem::path UndoSnapshot(World& world, Settings& settings, const ProgramFolder& folder,
                                   std::int32_t n) {
    CreateFolder(folder.Undo());
    const auto path =
        SaveNativeFile(world, settings, UndoSnapshotPath(folder, n), NativeKind::Qsave);
    if (world.UndoCounter < kMaxCounter)
        ++world.UndoCounter;
    return path;
}

NativeReadResult UndoRestore(World& world, Settings& settings, const ProgramFolder& folder,
                             std::int32_t n) {
    world.Counters.Generation = 1;
    NativeReadResult result = ReadNativeFile(world, settings, UndoSnapshotPath(folder, n));
    result.stopRun = true;
    return result;
}

NativeReadResult UndoBack(World& world, Settings& settings, const ProgramFolder& folder) {
    world.UndoCounter = world.UndoCounter <= 1 ? 1 : world.UndoCounter - 1;
    return UndoRestore(world, settings, folder, world.UndoCounter);
}

NativeReadResult UndoForward(World& world, Settings& settings, const ProgramFolder& folder) {
    if (world.UndoCounter < kMaxCounter)
        ++world.UndoCounter;
    return UndoRestore(world, settings, folder, world.UndoCounter);
}

std::filesystem::path SelectionFilePath(const std::filesystem::path& folder,
                                        std::string_view name) {
    std::string file(name);
    file += ".mlf";
    return folder / file;
}

std::filesystem::path SaveSelectionFile(World& world, Settings& settings,
                                        const std::filesystem::path& folder, std::string_view name,
                                        const std::vector<std::string>& description) {
    world.Description = description;
    return SaveNativeFile(world, settings, SelectionFilePath(folder, name), NativeKind::Mini);
}

void PairPlacementStep(World& world, const Settings& settings, const ProgramFolder& folder) {
    EraseRegion(world, settings, WholeFieldRect(world), false);
    const std::string_view key = FieldSectionKey(Layer::Main);
    ReadFieldSectionFile(world, folder.Root / "1.mlf", key);
    PlaceStagingCells(world, kPairPlacementOrigin, kPairPlacementOrigin);
    ReadFieldSectionFile(world, folder.Root / "2.mlf", key);
    PlaceStagingCells(world, std::int64_t{kPairPlacementOrigin} + world.PairOffsetX,
                      std::int64_t{kPairPlacementOrigin} + world.PairOffsetY);

    if (world.PairOffsetX < kMaxCounter)
        ++world.PairOffsetX;
    if (world.PairOffsetX > settings.UpDown4) {
        world.PairOffsetX = 1;
        if (world.PairOffsetY < kMaxCounter)
            ++world.PairOffsetY;
    }
}

}  // namespace zentorix
