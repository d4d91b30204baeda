// Bulk edits of a 997x997 block on the largest loaded field: each is to take
// well under 50 ms.
#include <benchmark/benchmark.h>

#include "engine/field_regions.h"
#include "view/field_editing.h"

namespace zentorix {
namespace {

struct Field {
    World world;
    Settings settings;
    Field() {
        world.SetFieldWidth(kMaxLoadedFieldSize);
        world.SetFieldHeight(kMaxLoadedFieldSize);
        settings.EternalLifePaint = true;  // two layers, as a user drawing a landscape
        world.Random.FixSeed(3);
        world.Selection = {1, 1, kMaxLoadedFieldSize, kMaxLoadedFieldSize};
        FillRegion(world, settings, world.Selection, FillTargets::Paint, 50);
    }
};

void BM_FillSolid(benchmark::State& state) {
    Field f;
    for (auto _ : state)
        FillRegion(f.world, f.settings, f.world.Selection, FillTargets::Paint, 100);
}
void BM_FillRandom(benchmark::State& state) {
    Field f;
    for (auto _ : state)
        FillRegion(f.world, f.settings, f.world.Selection, FillTargets::Paint, 30);
}
void BM_Erase(benchmark::State& state) {
    Field f;
    for (auto _ : state)
        EraseRegion(f.world, f.settings, f.world.Selection, false);
}
void BM_Transform(benchmark::State& state) {
    Field f;
    const auto mode = static_cast<TransformMode>(state.range(0));
    for (auto _ : state)
        TransformSelection(f.world, f.settings, mode);
}
void BM_CopyAndPaste(benchmark::State& state) {
    Field f;
    CopySelection(f.world, false);
    for (auto _ : state)
        PasteClipboard(f.world, 1, 1, true);
}
void BM_Move(benchmark::State& state) {
    Field f;
    for (auto _ : state)
        MoveSelection(f.world, f.settings, 0, 0, false);
}

BENCHMARK(BM_FillSolid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillRandom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Erase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Transform)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyAndPaste)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Move)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zentorix

BENCHMARK_MAIN();
