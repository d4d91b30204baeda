// Undo over snapshots of any content: the input is written as the snapshot the
// Undo button goes back to. What it restores is then snapshotted again, the
// field changed, and Undo must bring back exactly the cells of every layer, the
// field's size and the rule sets; the program must read every snapshot it wrote.
#include <array>
#include <vector>

#include "formats/program_folder.h"
#include "formats/snapshots.h"
#include "fuzz_pattern_file.h"

namespace {

struct Shot {
    int width = 0, height = 0;
    std::vector<std::int32_t> cells;
    std::array<zentorix::RuleSet, 3> rules;
    bool operator==(const Shot&) const = default;
};

Shot Take(const zentorix::World& world) {
    using zentorix::Layer;
    Shot shot{world.FieldWidth(), world.FieldHeight(), {}, world.Rules};
    // The rule text carries the 5x5 switch (not the last "EX" number read) and a
    // history range only while history is on.
    for (zentorix::RuleSet& rules : shot.rules) {
        rules.ExtendedValue = rules.Extended ? 2 : 0;
        if (!rules.History)
            rules.HistoryRange = 0;
    }
    for (Layer layer : {Layer::Main, Layer::EternalLife, Layer::EternalDead, Layer::OtherReality}) {
        const zentorix::StateField& field = world.LayerField(layer);
        // A column's cells are contiguous: rows 0..height of columns 0..width.
        for (int x = 0; x <= world.FieldWidth(); ++x) {
            const std::int32_t* column = field.Column(x) - field.Low();
            shot.cells.insert(shot.cells.end(), column, column + world.FieldHeight() + 1);
        }
    }
    return shot;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zentorix;
    static World world;
    static Settings settings;
    // Fresh settings are copied: building the start-up colours costs more than an input.
    static const Settings fresh;
    static const ProgramFolder folder = [] {
        ProgramFolder f{fuzz::WorkFolder()};
        std::filesystem::create_directories(f.Undo());
        return f;
    }();
    settings = fresh;
    fuzz::WriteFile(UndoSnapshotPath(folder, 1),
                    std::string_view(reinterpret_cast<const char*>(data), size));
    world.UndoCounter = 2;
    try {
        UndoBack(world, settings, folder);
    } catch (const FormatError&) {
        return 0;
    }
    fuzz::Check(world.UndoCounter == 1);
    if (!fuzz::SmallField(world))
        return 0;

    UndoSnapshot(world, settings, folder, world.UndoCounter);
    const Shot before = Take(world);
    world.MainField.FillRect(-3, -3, world.ExtentX(), world.ExtentY(), 1);
    world.Rules[0].BirthList.assign({0, 1});
    fuzz::ReadOwn([&] { UndoBack(world, settings, folder); });
    fuzz::Check(Take(world) == before);
    return 0;
}
