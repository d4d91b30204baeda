// Times the generation step on a 997 by 997 random field and reports the time
// per evaluated cell, for the reference step and the program's
// fast step, plain and torus, and at the end how many times faster the fast
// step is; then the path table (rule family by field size by form), each row
// labelled with the path that ran.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/generation_step.h"
#include "engine/rule_text.h"
#include "engine/step_engine.h"
#include "rules/rule_editor.h"
#include "soup.h"

namespace {

using namespace zentorix;

enum class Rule { Classic, Generations, AllWeights };

const char* RuleName(Rule rule) {
    switch (rule) {
        case Rule::Classic:
            return "classic B3/S23";
        case Rule::Generations:
            return "Generations 345/2/4";
        case Rule::AllWeights:
            return "25 mixed weights, history";
    }
    return "";
}

void Prepare(World& world, Settings& settings, Rule rule) {
    bench::FillSoup(world, 997, 12345);
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

// Both steps time the same early, dense part of the soup's history: every
// kRestoreEvery steps the field goes back to the start, outside the timing.
constexpr int kRestoreEvery = 16;

template <typename StepFn>
void TimeSteps(benchmark::State& state, World& world, const Settings& settings, StepForm form,
               StepFn step) {
    auto start = std::make_unique<World>();
    start->MainField.CopyRect(world.MainField, -11, -11, kGridHigh, kGridHigh);
    StepObserver quiet;
    int steps = 0;
    for (auto _ : state) {
        if (++steps % kRestoreEvery == 0) {
            state.PauseTiming();
            world.MainField.CopyRect(start->MainField, -11, -11, kGridHigh, kGridHigh);
            state.ResumeTiming();
        }
        step(world, settings, quiet, form);
    }
}

// Seconds per cell of the evaluated range (-2..997 on both axes); printed with
// an SI suffix, so "2.5n" reads 2.5 ns per cell.
void ReportPerCell(benchmark::State& state) {
    const double cells = 1000.0 * 1000.0;
    state.counters["per_cell"] =
        benchmark::Counter(cells * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_ReferenceStep(benchmark::State& state) {
    const Rule rule = static_cast<Rule>(state.range(0));
    const StepForm form = state.range(1) ? StepForm::Torus : StepForm::Plain;
    auto world = std::make_unique<World>();
    Settings settings;
    Prepare(*world, settings, rule);
    TimeSteps(state, *world, settings, form,
              [](World& w, const Settings& s, StepObserver& o, StepForm f) {
                  reference::GenerationStep(w, s, o, f);
              });
    ReportPerCell(state);
}

// The program's step; the third argument is the number of threads (0: all the
// processor has).
void BM_Step(benchmark::State& state) {
    const Rule rule = static_cast<Rule>(state.range(0));
    const StepForm form = state.range(1) ? StepForm::Torus : StepForm::Plain;
    auto world = std::make_unique<World>();
    world->StepCaches = std::make_shared<StepEngine>(static_cast<unsigned>(state.range(2)));
    Settings settings;
    Prepare(*world, settings, rule);
    TimeSteps(state, *world, settings, form,
              [](World& w, const Settings& s, StepObserver& o, StepForm f) {
                  GenerationStep(w, s, o, f);
              });
    ReportPerCell(state);
    state.counters["threads"] = world->StepCaches->Threads();
    state.SetLabel(StepEngine::PathName(world->StepCaches->LastPath()));
}

// The path table: one rule of each family on soups of 100, 400 and 997 cells a
// side, plain and torus, one thread. The label names the path that ran.
struct FamilyRule {
    const char* family;
    const char* text;
};
constexpr FamilyRule kFamilies[] = {
    {"Life", "23/3"}, {"Vote", "56789"}, {"Generations", "/2/3"}, {"Generations", "345/2/4"}};
constexpr int kPathSides[] = {100, 400, 997};

void BM_Path(benchmark::State& state) {
    const FamilyRule& rule = kFamilies[state.range(0)];
    const int side = kPathSides[state.range(1)];
    const StepForm form = state.range(2) ? StepForm::Torus : StepForm::Plain;
    auto world = std::make_unique<World>();
    world->StepCaches = std::make_shared<StepEngine>(1);
    Settings settings;
    bench::FillSoup(*world, side, 12345);
    ParseRuleString(*world, rule.text, rule.family, 0);
    settings.Colours.RebuildStateColours();
    TimeSteps(state, *world, settings, form,
              [](World& w, const Settings& s, StepObserver& o, StepForm f) {
                  GenerationStep(w, s, o, f);
              });
    const double cells = static_cast<double>(side + 3) * (side + 3);
    state.counters["per_cell"] =
        benchmark::Counter(cells * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetLabel(std::string(rule.family) + " " + rule.text + ", " +
                   StepEngine::PathName(world->StepCaches->LastPath()));
}

void PathArgs(benchmark::internal::Benchmark* b) {
    b->ArgNames({"rule", "side", "torus"});
    for (int rule = 0; rule < 4; ++rule)
        for (int side = 0; side < 3; ++side)
            for (int torus = 0; torus < 2; ++torus)
                b->Args({rule, side, torus});
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}
BENCHMARK(BM_Path)->Apply(PathArgs);

// The repaint pass over the whole 997 by 997 window of a soup that has thinned
// out for 200 generations, with a view that only counts the calls.
struct CountingView : StepObserver {
    CellRect VisibleWindow() const override { return {1, 1, 997, 997}; }
    void DrawCell(int, int, Colour colour) override { sum += static_cast<unsigned>(colour); }
    unsigned sum = 0;
};

// The soup after 200 generations of Conway's rule.
void ThinnedSoup(World& world, Settings& settings) {
    Prepare(world, settings, Rule::Classic);
    StepObserver quiet;
    for (int g = 0; g < 200; ++g)
        GenerationStep(world, settings, quiet, StepForm::Plain);
}

template <typename RepaintFn>
void TimeRepaint(benchmark::State& state, RepaintFn repaint) {
    auto world = std::make_unique<World>();
    Settings settings;
    settings.Colours.ShowDeadCells = true;
    ThinnedSoup(*world, settings);
    CountingView view;
    for (auto _ : state)
        repaint(*world, settings, view);
    benchmark::DoNotOptimize(view.sum);
}

void BM_RepaintReference(benchmark::State& state) {
    TimeRepaint(state,
                [](World& w, const Settings& s, StepObserver& o) { RepaintChangedCells(w, s, o); });
}
void BM_RepaintFast(benchmark::State& state) {
    TimeRepaint(state, [](World& w, const Settings& s, StepObserver& o) {
        RepaintChangedCellsFast(w, s, o);
    });
}
BENCHMARK(BM_RepaintReference)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintFast)->Unit(benchmark::kMillisecond);

// The whole-window paint a running view makes about 30 times a second: the
// same soup into a 997 by 997 image at one pixel a cell.
struct ImageView : StepObserver {
    std::vector<std::uint32_t> image = std::vector<std::uint32_t>(997 * 997);
    PixelSurface surface{.pixels = image.data(),
                         .stride = 997,
                         .width = 997,
                         .height = 997,
                         .toPixel = [](Colour c) { return static_cast<std::uint32_t>(c); }};
    CellRect VisibleWindow() const override { return {1, 1, 997, 997}; }
    PixelSurface* Surface() override { return &surface; }
};
void BM_PaintVisible(benchmark::State& state) {
    auto world = std::make_unique<World>();
    Settings settings;
    ThinnedSoup(*world, settings);
    ImageView view;
    for (auto _ : state)
        PaintVisibleCells(*world, settings, view);
    benchmark::DoNotOptimize(view.image.data());
}
BENCHMARK(BM_PaintVisible)->Unit(benchmark::kMillisecond);

void ReferenceArgs(benchmark::internal::Benchmark* b) {
    b->ArgNames({"rule", "torus"});
    for (int rule = 0; rule < 3; ++rule)
        for (int torus = 0; torus < 2; ++torus)
            b->Args({rule, torus});
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}

void StepArgs(benchmark::internal::Benchmark* b) {
    b->ArgNames({"rule", "torus", "threads"});
    for (int rule = 0; rule < 3; ++rule)
        for (int torus = 0; torus < 2; ++torus)
            for (int threads : {1, 0})
                b->Args({rule, torus, threads});
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK(BM_ReferenceStep)->Apply(ReferenceArgs);
BENCHMARK(BM_Step)->Apply(StepArgs);

// Prints the usual table, then the speed-up of the fast step over the
// reference for every rule and form.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    RatioReporter() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration)
                times_[run.run_name.function_name + "/" + run.run_name.args] =
                    run.GetAdjustedRealTime();
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\nSpeed-up of the fast step over the reference (wall time per step)\n");
        for (int rule = 0; rule < 3; ++rule)
            for (int torus = 0; torus < 2; ++torus) {
                const std::string args =
                    "rule:" + std::to_string(rule) + "/torus:" + std::to_string(torus);
                const auto ref = times_.find("BM_ReferenceStep/" + args);
                if (ref == times_.end())
                    continue;
                std::printf("  %-28s %-6s", RuleName(static_cast<Rule>(rule)),
                            torus ? "torus" : "plain");
                for (int threads : {1, 0}) {
                    const auto fast =
                        times_.find("BM_Step/" + args + "/threads:" + std::to_string(threads));
                    if (fast != times_.end() && fast->second > 0)
                        std::printf("  %s: %6.1fx", threads ? "1 thread" : "all threads",
                                    ref->second / fast->second);
                }
                std::printf("\n");
            }
    }

  private:
    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
