// The program's step must equal the reference step cell by cell, mark by mark
// and count by count, whatever the field, the rule and the switches: the input
// chooses them, both steps run a few generations and any difference traps.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine/generation_step.h"
#include "engine/step_engine.h"
#include "fuzz_pattern_file.h"
#include "model/world.h"

namespace {

using namespace zentorix;

// Reads the input a byte at a time; past its end every byte is 0.
struct Bytes {
    const std::uint8_t* data;
    std::size_t size, at = 0;
    std::uint8_t Next() { return at < size ? data[at++] : 0; }
    int Pick(int lo, int hi) { return lo + Next() % (hi - lo + 1); }
    bool Chance() { return (Next() & 1) != 0; }
};

constexpr int kReach = 72;  // every index the worlds may touch, margins included

void Build(Bytes in, World& w, Settings& s) {
    auto clear = [&](auto&... f) { (f.FillRect(f.Low(), f.Low(), kReach, kReach, 0), ...); };
    clear(w.MainField, w.EternalLifeField, w.EternalDeadField, w.OtherRealityField, w.BornMarks,
          w.DiedMarks);
    w.Counters = GenerationCounters{};
    w.Landscape = LandscapePhases{};
    w.SetFieldWidth(in.Pick(25, 66));
    w.SetFieldHeight(in.Pick(25, 66));
    // Mostly rules of equal neighbours, which the bit planes run.
    for (RuleSet& r : w.Rules) {
        r = RuleSet{};
        const std::int32_t outer = in.Pick(-2, 3), centre = in.Pick(-2, 3);
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                r.Weights[static_cast<std::size_t>(PositionIndex(dx, dy))] =
                    dx || dy ? outer : centre;
        if (in.Next() < 32)
            r.Weights[static_cast<std::size_t>(in.Pick(0, 24))] = in.Pick(-3, 3);
        r.Extended = in.Chance();
        r.History = in.Next() < 40;
        r.HistoryRange = in.Pick(0, 6);
        for (int n = in.Pick(0, 5); n > 0; --n)
            r.BirthList.push_back(in.Pick(-6, 30));
        for (int n = in.Pick(0, 5); n > 0; --n)
            r.SurvivalList.push_back(in.Pick(-6, 30));
    }
    s = Settings{};
    s.Colours.ColorMode = in.Chance();
    s.Colours.GenColourCount = in.Pick(0, 300);
    const std::uint8_t switches = in.Next();
    s.EternalLifeOn = (switches & 1) != 0;
    s.EternalDeadOn = (switches & 2) != 0;
    s.OtherRealityOn = (switches & 4) != 0;
    s.MainFillRandom = (switches & 8) != 0;
    s.RandomFillIntensity = in.Pick(0, 100);
    s.RandomFillPeriod = in.Pick(1, 3);
    s.EternalLifePeriod = in.Pick(1, 4);
    s.EternalLifeIntensity = in.Pick(1, 4);
    s.EternalDeadPeriod = in.Pick(1, 4);
    s.EternalDeadIntensity = in.Pick(1, 4);
    w.Counters.ColourPhase = in.Pick(0, 5);
    w.Counters.Generation = in.Pick(1, 4);
    w.Random.FixSeed(in.Next());
    // The cells come from a generator seeded by the rest of the input, so
    // that short inputs fill whole fields too; one byte sets how full.
    const int density = in.Next();
    std::uint64_t seed = 0x9E3779B97F4A7C15ULL;
    for (std::size_t i = in.at; i < in.size; ++i)
        seed = (seed ^ in.data[i]) * 0x100000001B3ULL;
    auto draw = [&seed] {
        seed ^= seed << 13;
        seed ^= seed >> 7;
        seed ^= seed << 17;
        return seed;
    };
    for (int x = -3; x <= w.ExtentX(); ++x)
        for (int y = -3; y <= w.ExtentY(); ++y) {
            const std::uint64_t r = draw();
            std::int32_t v =
                static_cast<int>(r & 0xFF) < density ? 1 + static_cast<int>(r >> 8) % 3 : 0;
            if (((r >> 16) & 0x3FF) == 0)
                v = static_cast<std::int32_t>(r >> 32);  // a value no editor writes
            w.MainField.at(x, y) = v;
            if (((r >> 26) & 0x3F) == 0)
                w.EternalLifeField.at(x, y) = 1;
            if (((r >> 32) & 0x3F) == 1)
                w.EternalDeadField.at(x, y) = 1;
            if (((r >> 38) & 0x3F) == 2)
                w.OtherRealityField.at(x, y) = 1;
        }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto fast = std::make_unique<World>();
    static const auto reference = std::make_unique<World>();
    if (size < 4)
        return 0;
    Bytes in{data, size};
    const int steps = in.Pick(1, 4);
    const std::uint8_t forms = in.Next();
    StepEngineOf(*fast).SetBaselineOnly(in.Chance());
    StepEngineOf(*fast).SetParts(in.Pick(0, 3));
    Settings settings;
    Build(in, *fast, settings);
    Build(in, *reference, settings);
    StepObserver quiet;
    for (int step = 0; step < steps; ++step) {
        const StepForm form = (forms >> step) & 1 ? StepForm::Torus : StepForm::Plain;
        GenerationStep(*fast, settings, quiet, form);
        reference::GenerationStep(*reference, settings, quiet, form);
        auto same = [](const auto& a, const auto& b) {
            for (int x = a.Low(); x <= kReach; ++x)
                for (int y = a.Low(); y <= kReach; ++y)
                    fuzz::Check(a.at(x, y) == b.at(x, y));
        };
        const GenerationCounters &f = fast->Counters, &r = reference->Counters;
        fuzz::Check(f.LiveCount == r.LiveCount && f.StateOneCount == r.StateOneCount &&
                    f.BornCount == r.BornCount && f.DiedCount == r.DiedCount &&
                    f.Generation == r.Generation && f.ColourPhase == r.ColourPhase);
        // Grids left unread for a few generations are written when read.
        if (step < steps - 1 && (forms >> (4 + step)) & 1)
            continue;
        same(fast->MainField, reference->MainField);
        same(fast->BornMarks, reference->BornMarks);
        same(fast->DiedMarks, reference->DiedMarks);
    }
    return 0;
}
