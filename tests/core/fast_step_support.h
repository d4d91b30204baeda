#pragma once

// Twin worlds for comparing the fast generation step with the reference one:
// both worlds are built from the same seed, stepped side by side and compared
// grid by grid, counter by counter and repaint call by repaint call.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/test_support.h"
#include "engine/generation_step.h"
#include "engine/other_reality.h"
#include "engine/rule_text.h"
#include "engine/step_engine.h"

namespace zentorix::test {

using Rng = std::mt19937_64;

inline int Pick(Rng& rng, int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(rng);
}
inline bool Chance(Rng& rng, double p) {
    return std::bernoulli_distribution(p)(rng);
}
inline std::int32_t AnyInt32(Rng& rng) {
    return std::uniform_int_distribution<std::int32_t>(
        std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max())(rng);
}

// How large the weights of a random rule are.
enum class WeightScale { Small, Byte, Typical, Large, Extreme };

// A rule with weights drawn from a few distinct values, so that many
// neighbourhoods share a sum, and lists made from sums the weights can reach.
inline RuleSet RandomWeightedRule(Rng& rng, WeightScale scale) {
    RuleSet r;
    r.Extended = Chance(rng, 0.5);
    r.ExtendedValue = r.Extended ? 2 : 0;
    r.History = Chance(rng, 0.4);
    r.HistoryRange = r.History ? Pick(rng, 2, 9) : Pick(rng, 0, 5);
    // Ranges the editor never offers but a program can set: below 2 every
    // state ends at once, huge ones never end.
    if (r.History && Chance(rng, 0.15))
        r.HistoryRange = std::vector<std::int32_t>{
            -5, 0, 1, 300,
            std::numeric_limits<std::int32_t>::max()}[static_cast<std::size_t>(Pick(rng, 0, 4))];

    auto value = [&]() -> std::int32_t {
        switch (scale) {
            case WeightScale::Small:
                return Pick(rng, -4, 4);
            case WeightScale::Byte:
                return Pick(rng, -20, 20);
            case WeightScale::Typical:
                return Pick(rng, -999, 9999);
            case WeightScale::Large:
                return Pick(rng, -200000000, 200000000);
            case WeightScale::Extreme:
                break;
        }
        return Chance(rng, 0.5) ? AnyInt32(rng)
                                : (Chance(rng, 0.5) ? std::numeric_limits<std::int32_t>::max()
                                                    : std::numeric_limits<std::int32_t>::min());
    };
    const int distinct = Chance(rng, 0.2) ? 25 : Pick(rng, 1, 4);
    std::vector<std::int32_t> palette;
    for (int i = 0; i < distinct; ++i)
        palette.push_back(value());
    const double zeros = Chance(rng, 0.3) ? 0.6 : 0.15;
    for (std::int32_t& w : r.Weights)
        w = Chance(rng, zeros) ? 0 : palette[static_cast<std::size_t>(Pick(rng, 0, distinct - 1))];

    // Sums of random subsets of the weights the neighbourhood reads.
    const int radius = r.Radius();
    auto reachable = [&]() -> std::int64_t {
        std::int64_t s = 0;
        for (int dx = -radius; dx <= radius; ++dx)
            for (int dy = -radius; dy <= radius; ++dy)
                if (Chance(rng, 0.4))
                    s += r.Weight(dx, dy);
        return s;
    };
    auto fill = [&](std::vector<std::int32_t>& list) {
        const int n = Chance(rng, 0.15) ? Pick(rng, 9, 60) : Pick(rng, 0, 6);
        for (int i = 0; i < n; ++i) {
            std::int64_t s = reachable();
            if (Chance(rng, 0.1))
                s = 0;
            if (Chance(rng, 0.1))
                s = Pick(rng, -30, 30);
            if (Chance(rng, 0.05))
                s = AnyInt32(rng);
            if (s >= std::numeric_limits<std::int32_t>::min() &&
                s <= std::numeric_limits<std::int32_t>::max())
                list.push_back(static_cast<std::int32_t>(s));
        }
    };
    fill(r.BirthList);
    fill(r.SurvivalList);
    return r;
}

// A rule of one of the digit families, read from rule text.
inline void RandomFamilyRule(Rng& rng, World& w, int index) {
    auto digits = [&](int maxCount) {
        std::string s;
        const int n = Pick(rng, 0, maxCount);
        for (int i = 0; i < n; ++i)
            s += static_cast<char>('0' + Pick(rng, 0, 9));
        return s;
    };
    // Built piece by piece: chains of string + trip a false warning in GCC 12.
    std::string text;
    const int family = Pick(rng, 0, 4);
    switch (family) {
        case 0:
            text.append(digits(4)).append("/").append(digits(3));
            ParseRuleString(w, text, "Life", index);
            break;
        case 1:
            text.append(digits(4)).append("/").append(digits(3)).append("/");
            text.append(std::to_string(Pick(rng, 0, 12)));
            ParseRuleString(w, text, "Generations", index);
            break;
        case 2:
            ParseRuleString(w, digits(5), "Vote", index);
            break;
        case 3:
            text.append("B").append(digits(3)).append("/S").append(digits(3));
            ParseRuleString(w, text, "OldLife", index);
            break;
        default:
            ParseRuleString(w, kStartUpRuleText1, "Zentorix", index);
            break;
    }
}

// Writes random states into a rectangle of a grid.
inline void Sprinkle(Rng& rng, StateField& field, int x0, int y0, int x1, int y1, double density,
                     int maxState, bool oddStates) {
    for (int x = x0; x <= x1; ++x)
        for (int y = y0; y <= y1; ++y) {
            if (!Chance(rng, density))
                continue;
            std::int32_t v = Chance(rng, 0.7) ? 1 : Pick(rng, 1, std::max(1, maxState));
            if (oddStates && Chance(rng, 0.05)) {
                const std::int32_t odd[] = {-1,
                                            -7,
                                            0,
                                            255,
                                            256,
                                            257,
                                            100000,
                                            std::numeric_limits<std::int32_t>::max(),
                                            std::numeric_limits<std::int32_t>::min()};
                v = odd[Pick(rng, 0, 8)];
            }
            field.at(x, y) = v;
        }
}

// Options for building a random experiment.
struct ScenarioOptions {
    bool familyRules = false;  // digit families instead of weighted rules
    WeightScale scale = WeightScale::Small;
    bool landscape = true;  // Eternal layers, random fills, Other Reality
    bool oddStates = false;
    bool margins = false;  // live cells in the margins too
    int minSize = 25, maxSize = 60;
};

// Everything random about one experiment that is not in the World.
struct Scenario {
    Settings settings;
    CellRect window;
    int torusMode = 0;  // 0 plain steps, 1 torus steps, 2 both at random
    double otherRealitySteps = 0.0;
    double disturbances = 0.0;
    int parts = 0;
    bool baselineKernels = false;
};

// Indices up to this one on both axes hold everything a small experiment
// touches; the twins are compared and cleared over them.
inline constexpr int kSmallWorldReach = 80;

// Returns a World used by an earlier small experiment to the start-up state
// (clearing only what an experiment can have touched: building fresh worlds
// would cost more than the steps).
inline void ResetSmallWorld(World& w) {
    static const std::array<RuleSet, 3> startUpRules = [] {
        auto fresh = std::make_unique<World>();
        return fresh->Rules;
    }();
    for (StateField* f :
         {&w.MainField, &w.EternalLifeField, &w.EternalDeadField, &w.OtherRealityField})
        f->FillRect(f->Low(), f->Low(), kSmallWorldReach, kSmallWorldReach, 0);
    for (MarkField* f : {&w.BornMarks, &w.DiedMarks, &w.OtherBornMarks, &w.OtherDiedMarks})
        f->FillRect(f->Low(), f->Low(), kSmallWorldReach, kSmallWorldReach, 0);
    w.Rules = startUpRules;
    w.Counters = GenerationCounters{};
    w.Landscape = LandscapePhases{};
}

// Builds one World of the experiment; called twice with the same seed it builds
// two identical worlds.
inline void BuildWorld(std::uint64_t seed, const ScenarioOptions& opt, World& w) {
    ResetSmallWorld(w);
    Rng rng(seed);
    w.SetFieldWidth(Pick(rng, opt.minSize, opt.maxSize));
    w.SetFieldHeight(Pick(rng, opt.minSize, opt.maxSize));
    const int W = w.FieldWidth(), H = w.FieldHeight();
    for (int i = 0; i < 3; ++i) {
        if (opt.familyRules)
            RandomFamilyRule(rng, w, i);
        else
            w.Rules[static_cast<std::size_t>(i)] = RandomWeightedRule(rng, opt.scale);
    }
    const int maxState = std::max(2, w.Rules[0].HistoryRange + 1);
    const double density = std::vector<double>{0.05, 0.3, 0.5, 0.8}[Pick(rng, 0, 3)];
    if (opt.margins)
        Sprinkle(rng, w.MainField, -11, -11, W + 3, H + 3, density, maxState, opt.oddStates);
    else
        Sprinkle(rng, w.MainField, 1, 1, W, H, density, maxState, opt.oddStates);
    if (opt.landscape) {
        Sprinkle(rng, w.EternalLifeField, -3, -3, W + 1, H + 1, Pick(rng, 0, 5) / 100.0, 3, false);
        Sprinkle(rng, w.EternalDeadField, -3, -3, W + 1, H + 1, Pick(rng, 0, 5) / 100.0, 3, false);
        // The area of other laws: nowhere, everywhere, or a block.
        switch (Pick(rng, 0, 3)) {
            case 0:
                break;
            case 1:
                Sprinkle(rng, w.OtherRealityField, -3, -3, W + 1, H + 1, 1.0, 3, false);
                break;
            case 2:
                Sprinkle(rng, w.OtherRealityField, Pick(rng, -3, W / 2), Pick(rng, -3, H / 2),
                         Pick(rng, W / 2, W + 1), Pick(rng, H / 2, H + 1), 0.9, 3, false);
                break;
            default:
                Sprinkle(rng, w.OtherRealityField, -3, -3, W + 1, H + 1, 0.4, 3, opt.oddStates);
                break;
        }
        w.Landscape.EternalLifePhase = Pick(rng, 0, 3);
        w.Landscape.EternalDeadPhase = Pick(rng, 0, 3);
    }
    w.Counters.ColourPhase =
        Chance(rng, 0.9) ? Pick(rng, 1, 5) : std::numeric_limits<std::int32_t>::max();
    w.Counters.Generation = Pick(rng, 1, 4);
    w.Random.FixSeed(seed ^ 0x5eedu);
}

inline Scenario MakeScenario(std::uint64_t seed, const ScenarioOptions& opt, const World& w) {
    Rng rng(seed * 7919u + 17u);
    Scenario sc;
    Settings& s = sc.settings;
    s.EternalLifeOn = opt.landscape && Chance(rng, 0.6);
    s.EternalLifePeriod = Pick(rng, 1, 4);
    s.EternalLifeIntensity = Pick(rng, 1, 4);
    s.EternalDeadOn = opt.landscape && Chance(rng, 0.5);
    s.EternalDeadPeriod = Pick(rng, 1, 4);
    s.EternalDeadIntensity = Pick(rng, 1, 4);
    if (opt.landscape && Chance(rng, 0.4)) {
        s.MainFillRandom = Chance(rng, 0.6);
        s.EtenalLifeFillRandom = Chance(rng, 0.4);
        s.EtenalDeadFillRandom = Chance(rng, 0.4);
        s.OtherRealFillRandom = Chance(rng, 0.4);
        s.RandomFillIntensity = Pick(rng, 0, 100);
        s.RandomFillPeriod = Pick(rng, 1, 3);
    }
    s.OtherRealityOn = opt.landscape && Chance(rng, 0.6);
    s.AutoStop = Chance(rng, 0.3);
    s.Colours.ColorMode = Chance(rng, 0.4);
    s.Colours.GenColourCount = std::vector<int>{1, 2, 5, 64, 256, 0, 300}[Pick(rng, 0, 6)];
    s.Colours.ShowBirthCells = Chance(rng, 0.5);
    s.Colours.ShowDeadCells = Chance(rng, 0.5);
    s.Colours.RebuildStateColours();
    const int W = w.FieldWidth(), H = w.FieldHeight();
    switch (Pick(rng, 0, 3)) {
        case 0:
            sc.window = {};
            break;
        case 1:
            sc.window = {1, 1, W, H};
            break;
        case 2:
            sc.window = {-20, -20, W + 40, H + 40};
            break;
        default:
            sc.window = {Pick(rng, -5, W / 2), Pick(rng, -5, H / 2), Pick(rng, W / 2, W + 5),
                         Pick(rng, H / 2, H + 5)};
            break;
    }
    sc.torusMode = Pick(rng, 0, 2);
    sc.otherRealitySteps = Chance(rng, 0.5) ? 0.3 : 0.0;
    sc.disturbances = Chance(rng, 0.5) ? 0.15 : 0.0;
    sc.parts = Pick(rng, 0, 5);
    sc.baselineKernels = Chance(rng, 0.3);
    return sc;
}

// A change some other code makes between two steps: painting, erasing, loading
// a rule. Applied to both worlds with the same seed.
inline void Disturb(std::uint64_t seed, World& w) {
    Rng rng(seed);
    const int W = w.FieldWidth(), H = w.FieldHeight();
    switch (Pick(rng, 0, 4)) {
        case 0:
            Sprinkle(rng, w.MainField, 1, 1, W, H, 0.05, 3, false);
            break;
        case 1:
            w.MainField.FillRect(Pick(rng, -3, W), Pick(rng, -3, H), W / 2, H / 2, 0);
            break;
        case 2:
            w.Rules[0].Weights[static_cast<std::size_t>(Pick(rng, 0, 24))] = Pick(rng, -3, 3);
            break;
        case 3:
            w.Rules[1].BirthList.push_back(Pick(rng, -2, 6));
            w.Rules[2].History = !w.Rules[2].History;
            break;
        default:
            Sprinkle(rng, w.OtherRealityField, -3, -3, W + 1, H + 1, 0.05, 2, false);
            break;
    }
}

// The first difference between the two worlds' grids, marks, counters and
// phases, over the indices up to `reach` on both axes.
inline ::testing::AssertionResult SameWorld(const World& fast, const World& ref, int reach) {
    auto grid = [&](const char* name, const auto& a, const auto& b) -> std::string {
        const int hi = std::min(reach, kGridHigh);
        for (int x = a.Low(); x <= hi; ++x)
            for (int y = a.Low(); y <= hi; ++y)
                if (a.at(x, y) != b.at(x, y)) {
                    std::ostringstream out;
                    out << name << " differs at (" << x << ", " << y << "): fast "
                        << static_cast<std::int64_t>(a.at(x, y)) << ", reference "
                        << static_cast<std::int64_t>(b.at(x, y));
                    return out.str();
                }
        return {};
    };
    for (std::string diff :
         {grid("Main Field", fast.MainField, ref.MainField),
          grid("born mark", fast.BornMarks, ref.BornMarks),
          grid("died mark", fast.DiedMarks, ref.DiedMarks),
          grid("Other Reality Field", fast.OtherRealityField, ref.OtherRealityField),
          grid("Other Reality born mark", fast.OtherBornMarks, ref.OtherBornMarks),
          grid("Other Reality died mark", fast.OtherDiedMarks, ref.OtherDiedMarks),
          grid("Eternal Life Field", fast.EternalLifeField, ref.EternalLifeField),
          grid("Eternal Dead Field", fast.EternalDeadField, ref.EternalDeadField)})
        if (!diff.empty())
            return ::testing::AssertionFailure() << diff;
    const GenerationCounters& a = fast.Counters;
    const GenerationCounters& b = ref.Counters;
    if (a.LiveCount != b.LiveCount || a.StateOneCount != b.StateOneCount ||
        a.BornCount != b.BornCount || a.DiedCount != b.DiedCount || a.Generation != b.Generation ||
        a.ColourPhase != b.ColourPhase)
        return ::testing::AssertionFailure()
               << "counters differ: fast " << a.LiveCount << "/" << a.StateOneCount << "/"
               << a.BornCount << "/" << a.DiedCount << " gen " << a.Generation << " phase "
               << a.ColourPhase << ", reference " << b.LiveCount << "/" << b.StateOneCount << "/"
               << b.BornCount << "/" << b.DiedCount << " gen " << b.Generation << " phase "
               << b.ColourPhase;
    if (fast.Landscape.EternalLifePhase != ref.Landscape.EternalLifePhase ||
        fast.Landscape.EternalDeadPhase != ref.Landscape.EternalDeadPhase ||
        fast.Landscape.EternalDeadActive != ref.Landscape.EternalDeadActive)
        return ::testing::AssertionFailure() << "landscape phases differ";
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult SameReports(const RecordingObserver& fast,
                                              const RecordingObserver& ref) {
    if (fast.finished != ref.finished || fast.stops != ref.stops)
        return ::testing::AssertionFailure() << "finished/stop reports differ";
    const std::size_t n = std::min(fast.drawn.size(), ref.drawn.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto& a = fast.drawn[i];
        const auto& b = ref.drawn[i];
        if (a.x != b.x || a.y != b.y || a.colour != b.colour)
            return ::testing::AssertionFailure()
                   << "repaint call " << i << " differs: fast (" << a.x << ", " << a.y << ", "
                   << a.colour << "), reference (" << b.x << ", " << b.y << ", " << b.colour << ")";
    }
    if (fast.drawn.size() != ref.drawn.size())
        return ::testing::AssertionFailure()
               << "repaint calls: fast " << fast.drawn.size() << ", reference " << ref.drawn.size();
    return ::testing::AssertionSuccess();
}

// A pair of worlds for one experiment after another.
struct Twins {
    std::unique_ptr<World> fast = std::make_unique<World>();
    std::unique_ptr<World> ref = std::make_unique<World>();
};

// Builds the twin worlds of one seed and runs them side by side for `steps`
// generations, comparing after every step; stops at the first difference.
inline ::testing::AssertionResult RunTwins(Twins& twins, std::uint64_t seed,
                                           const ScenarioOptions& opt, int steps) {
    World* fast = twins.fast.get();
    World* ref = twins.ref.get();
    BuildWorld(seed, opt, *fast);
    BuildWorld(seed, opt, *ref);
    const Scenario sc = MakeScenario(seed, opt, *fast);
    StepEngine& engine = StepEngineOf(*fast);
    engine.SetParts(sc.parts);
    engine.SetBaselineOnly(sc.baselineKernels);
    Rng rng(seed + 99);
    const int reach = kSmallWorldReach;
    for (int step = 0; step < steps; ++step) {
        if (Chance(rng, sc.disturbances)) {
            const std::uint64_t s = rng();
            Disturb(s, *fast);
            Disturb(s, *ref);
        }
        std::string what;
        if (Chance(rng, sc.otherRealitySteps)) {
            OtherRealityStep(*fast);
            reference::OtherRealityStep(*ref);
            what = "Other Reality step";
        } else {
            const bool torus = sc.torusMode == 2 ? Chance(rng, 0.5) : sc.torusMode == 1;
            const StepForm form = torus ? StepForm::Torus : StepForm::Plain;
            RecordingObserver fo, ro;
            fo.window = ro.window = sc.window;
            GenerationStep(*fast, sc.settings, fo, form);
            reference::GenerationStep(*ref, sc.settings, ro, form);
            what = torus ? "torus step" : "plain step";
            auto same = SameWorld(*fast, *ref, reach);
            if (!same)
                return same << " (seed " << seed << ", " << what << " " << step << ")";
            auto reports = SameReports(fo, ro);
            if (!reports)
                return reports << " (seed " << seed << ", " << what << " " << step << ")";
            continue;
        }
        auto same = SameWorld(*fast, *ref, reach);
        if (!same)
            return same << " (seed " << seed << ", " << what << " " << step << ")";
    }
    return ::testing::AssertionSuccess();
}

}  // namespace zentorix::test
