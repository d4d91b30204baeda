// The census's cost over the bare step: the same 64x64 torus soups of Conway's
// rule run 1000 generations or until settled, once by the census (hashing,
// confirmation, bookkeeping) and once by the step alone for the same number of
// generations. Both single-threaded, as each census job is.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "census/census_run.h"
#include "engine/generation_step.h"
#include "engine/step_engine.h"

namespace zentorix {
namespace {

constexpr int kSoups = 16;

CensusStart Start() {
    CensusStart start;
    start.field = {64, 64};
    start.soup = {64, 64};
    start.density = 35;
    start.torus = true;
    return start;
}

// How many generations the census ran for each soup.
const std::vector<std::int64_t>& Lengths() {
    static const std::vector<std::int64_t> lengths = [] {
        std::vector<std::int64_t> n;
        CensusLimits limits;
        for (int seed = 1; seed <= kSoups; ++seed) {
            auto world = std::make_unique<World>();
            Settings settings;
            BuildCensusStart(*world, settings, Start(), "B3/S23", static_cast<std::uint64_t>(seed));
            n.push_back(RunCensusExperiment(*world, settings, limits).generation);
        }
        return n;
    }();
    return lengths;
}

// Soups are built outside the timing; the worlds are fresh for each pass.
template <typename Run>
void Soups(benchmark::State& state, Run run) {
    std::int64_t generations = 0;
    for (auto _ : state) {
        for (int seed = 1; seed <= kSoups; ++seed) {
            state.PauseTiming();
            auto world = std::make_unique<World>();
            Settings settings;
            BuildCensusStart(*world, settings, Start(), "B3/S23", static_cast<std::uint64_t>(seed));
            world->StepCaches = std::make_shared<StepEngine>(1);
            state.ResumeTiming();
            run(*world, settings, seed);
            generations += Lengths()[static_cast<std::size_t>(seed - 1)];
        }
    }
    state.counters["generations/s"] =
        benchmark::Counter(static_cast<double>(generations), benchmark::Counter::kIsRate);
}

void BareStep(benchmark::State& state) {
    Lengths();
    Soups(state, [](World& world, const Settings& settings, int seed) {
        StepObserver quiet;
        for (std::int64_t g = 0; g < Lengths()[static_cast<std::size_t>(seed - 1)]; ++g)
            GenerationStep(world, settings, quiet, StepForm::Torus);
        benchmark::DoNotOptimize(world.Counters.LiveCount);
    });
}
BENCHMARK(BareStep)->Unit(benchmark::kMillisecond)->MinTime(2);

void CensusRun(benchmark::State& state) {
    Lengths();
    Soups(state, [](World& world, const Settings& settings, int) {
        benchmark::DoNotOptimize(RunCensusExperiment(world, settings, CensusLimits{}).liveFinal);
    });
}
BENCHMARK(CensusRun)->Unit(benchmark::kMillisecond)->MinTime(2);

}  // namespace
}  // namespace zentorix

BENCHMARK_MAIN();
