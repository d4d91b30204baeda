// Times the generation step on a 997 by 997 random field and reports the time
// per evaluated cell.
#include <benchmark/benchmark.h>

#include <memory>

#include "engine/generation_step.h"
#include "engine/rule_text.h"

namespace {

using namespace zentorix;

enum class Rule { Classic, Generations, AllWeights };

void Prepare(World& world, Settings& settings, Rule rule) {
    world.SetFieldWidth(997);
    world.SetFieldHeight(997);
    world.Random.FixSeed(12345);
    for (int x = 1; x <= 997; ++x)
        for (int y = 1; y <= 997; ++y)
            world.MainField.at(x, y) = world.Random.Below(2);
    switch (rule) {
        case Rule::Classic:
            break;
        case Rule::Generations:
            ParseRuleString(world, "345/2/4", "Generations", 0);
            break;
        case Rule::AllWeights:
            ParseRuleString(world,
                            "NW2,NN-1,NE3,WW1,ME1,EE-2,SW1,SS2,SE-1,2N2W1,2N1W-1,1N2W2,2N2N1,"
                            "2N2E-2,2N1E1,1N2E1,2W2W-1,2E2E2,2S2W1,2S1W1,1S2W-2,2S2S1,2S2E1,"
                            "2S1E-1,1S2E1,HI5,EX2,RB3,RB4,RB7,RS2,RS3,RS5,RS6,",
                            "Zentorix", 0);
            break;
    }
    settings.Colours.RebuildStateColours();
}

template <typename StepFn>
void RunStep(benchmark::State& state, StepFn step) {
    const Rule rule = static_cast<Rule>(state.range(0));
    const StepForm form = state.range(1) ? StepForm::Torus : StepForm::Plain;
    auto world = std::make_unique<World>();
    Settings settings;
    Prepare(*world, settings, rule);
    StepObserver quiet;
    for (auto _ : state)
        step(*world, settings, quiet, form);
    // Seconds per cell of the evaluated range (-2..997 on both axes); printed with
    // an SI suffix, so "2.5n" reads 2.5 ns per cell.
    const double cells = 1000.0 * 1000.0;
    state.counters["per_cell"] =
        benchmark::Counter(cells * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_ReferenceStep(benchmark::State& state) {
    RunStep(state, [](World& w, const Settings& s, StepObserver& o, StepForm f) {
        reference::GenerationStep(w, s, o, f);
    });
}

void BM_Step(benchmark::State& state) {
    RunStep(state, [](World& w, const Settings& s, StepObserver& o, StepForm f) {
        GenerationStep(w, s, o, f);
    });
}

void Args(benchmark::internal::Benchmark* b) {
    b->ArgNames({"rule", "torus"});
    for (int rule = 0; rule < 3; ++rule)
        for (int torus = 0; torus < 2; ++torus)
            b->Args({rule, torus});
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_ReferenceStep)->Apply(Args);
BENCHMARK(BM_Step)->Apply(Args);

}  // namespace

BENCHMARK_MAIN();
