#pragma once

// Twin worlds for comparing the fast generation step with the reference one:
// both worlds are built from the same seed, stepped side by side and compared
// grid by grid, counter by counter and repaint call by repaint call.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
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
inline constexpr std::int32_t kMin32 = std::numeric_limits<std::int32_t>::min();
inline constexpr std::int32_t kMax32 = std::numeric_limits<std::int32_t>::max();

inline int Pick(Rng& rng, int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(rng);
}
inline bool Chance(Rng& rng, double p) {
    return std::bernoulli_distribution(p)(rng);
}
template <typename T>
T OneOf(Rng& rng, std::initializer_list<T> values) {
    return values.begin()[Pick(rng, 0, static_cast<int>(values.size()) - 1)];
}

// How large the weights of a random rule are; Extreme takes any 32-bit value
// and the limits themselves.
enum class WeightScale { Small, Byte, Typical, Large, Extreme };

inline std::int32_t RandomWeight(Rng& rng, WeightScale scale) {
    constexpr int bounds[][2] = {{-4, 4}, {-20, 20}, {-999, 9999}, {-200000000, 200000000}};
    const auto i = static_cast<std::size_t>(scale);
    if (scale != WeightScale::Extreme)
        return Pick(rng, bounds[i][0], bounds[i][1]);
    return Chance(rng, 0.5) ? Pick(rng, kMin32, kMax32) : OneOf(rng, {kMax32, kMin32});
}

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
        r.HistoryRange = OneOf<std::int32_t>(rng, {-5, 0, 1, 300, kMax32});
    const int last = Chance(rng, 0.2) ? 24 : Pick(rng, 0, 3);
    std::vector<std::int32_t> palette(static_cast<std::size_t>(last) + 1);
    for (std::int32_t& w : palette)
        w = RandomWeight(rng, scale);
    const double zeros = Chance(rng, 0.3) ? 0.6 : 0.15;
    for (std::int32_t& w : r.Weights)
        w = Chance(rng, zeros) ? 0 : palette[static_cast<std::size_t>(Pick(rng, 0, last))];

    // Sums of random subsets of the weights the neighbourhood reads; now and
    // then 0, a small sum or any value.
    const int radius = r.Radius();
    for (auto* list : {&r.BirthList, &r.SurvivalList})
        for (int n = Chance(rng, 0.15) ? Pick(rng, 9, 60) : Pick(rng, 0, 6); n > 0; --n) {
            std::int64_t s = 0;
            for (int dx = -radius; dx <= radius; ++dx)
                for (int dy = -radius; dy <= radius; ++dy)
                    s += Chance(rng, 0.4) ? r.Weight(dx, dy) : 0;
            s = Chance(rng, 0.1) ? 0 : Chance(rng, 0.1) ? Pick(rng, -30, 30) : s;
            s = Chance(rng, 0.05) ? Pick(rng, kMin32, kMax32) : s;
            if (s >= kMin32 && s <= kMax32)
                list->push_back(static_cast<std::int32_t>(s));
        }
    return r;
}

// A rule of one of the digit families, read from rule text.
inline void RandomFamilyRule(Rng& rng, World& w, int index) {
    auto digits = [&](int maxCount) {
        std::string s;
        for (int n = Pick(rng, 0, maxCount); n > 0; --n)
            s += static_cast<char>('0' + Pick(rng, 0, 9));
        return s;
    };
    const char* families[] = {"Life", "Generations", "Vote", "OldLife", "Zentorix"};
    const int family = Pick(rng, 0, 4);
    // Built piece by piece: chains of string + trip a false warning in GCC 12.
    std::string text = family == 4 ? kStartUpRuleText1 : "";
    if (family <= 1)
        text.append(digits(4)).append("/").append(digits(3));
    if (family == 1)
        text.append("/").append(std::to_string(Pick(rng, 0, 12)));
    if (family == 2)
        text = digits(5);
    if (family == 3)
        text.append("B").append(digits(3)).append("/S").append(digits(3));
    ParseRuleString(w, text, families[family], index);
}

// Writes random states into a rectangle of a grid (cut at the grid's end); odd
// states are values no editor writes (negative, huge, just past a byte).
inline void Sprinkle(Rng& rng, StateField& field, int x0, int y0, int x1, int y1, double density,
                     int maxState, bool oddStates = false) {
    for (int x = x0; x <= std::min(x1, kGridHigh); ++x)
        for (int y = y0; y <= std::min(y1, kGridHigh); ++y) {
            if (!Chance(rng, density))
                continue;
            std::int32_t v = Chance(rng, 0.7) ? 1 : Pick(rng, 1, std::max(1, maxState));
            if (oddStates && Chance(rng, 0.05))
                v = OneOf<std::int32_t>(rng, {-1, -7, 0, 255, 256, 257, 100000, kMax32, kMin32});
            field.at(x, y) = v;
        }
}

// Indices up to this one on both axes hold everything a small experiment
// touches; the twins are compared and cleared over them.
inline constexpr int kSmallWorldReach = 80;

// Options for building a random experiment.
struct ScenarioOptions {
    bool familyRules = false;  // digit families instead of weighted rules
    WeightScale scale = WeightScale::Small;
    bool landscape = true;  // Eternal layers, random fills, Other Reality
    bool oddStates = false;
    bool margins = false;  // live cells in the margins too
    int minSize = 25, maxSize = 60;
    int parts = -1;                // column ranges of the fast step; -1 at random
    std::string rule{};            // rule text for all three sets instead of random rules
    int reach = kSmallWorldReach;  // kGridHigh for full-size worlds
};

// Builds one World of the experiment; called twice with the same seed it builds
// two identical worlds. A World of an earlier experiment is reused: only what
// an experiment can touch is cleared, as building fresh ones would cost more
// than the steps.
inline void BuildWorld(std::uint64_t seed, const ScenarioOptions& opt, World& w) {
    static const std::array<RuleSet, 3> startUpRules = std::make_unique<World>()->Rules;
    for (StateField* f :
         {&w.MainField, &w.EternalLifeField, &w.EternalDeadField, &w.OtherRealityField})
        f->FillRect(f->Low(), f->Low(), opt.reach, opt.reach, 0);
    for (MarkField* f : {&w.BornMarks, &w.DiedMarks, &w.OtherBornMarks, &w.OtherDiedMarks})
        f->FillRect(f->Low(), f->Low(), opt.reach, opt.reach, 0);
    w.Rules = startUpRules;
    w.Counters = GenerationCounters{};
    w.Landscape = LandscapePhases{};

    Rng rng(seed);
    w.SetFieldWidth(Pick(rng, opt.minSize, opt.maxSize));
    w.SetFieldHeight(Pick(rng, opt.minSize, opt.maxSize));
    const int W = w.FieldWidth(), H = w.FieldHeight();
    for (int i = 0; i < 3; ++i) {
        if (!opt.rule.empty())
            ParseRuleString(w, opt.rule, "Zentorix", i);
        else if (opt.familyRules)
            RandomFamilyRule(rng, w, i);
        else
            w.Rules[static_cast<std::size_t>(i)] = RandomWeightedRule(rng, opt.scale);
    }
    const int maxState = std::max(2, w.Rules[0].HistoryRange + 1);
    const double density = OneOf(rng, {0.05, 0.3, 0.5, 0.8});
    const int edge = opt.margins ? -11 : 1, over = opt.margins ? 3 : 0;
    Sprinkle(rng, w.MainField, edge, edge, W + over, H + over, density, maxState, opt.oddStates);
    if (opt.landscape) {
        Sprinkle(rng, w.EternalLifeField, -3, -3, W + 1, H + 1, Pick(rng, 0, 5) / 100.0, 3);
        Sprinkle(rng, w.EternalDeadField, -3, -3, W + 1, H + 1, Pick(rng, 0, 5) / 100.0, 3);
        // The area of other laws: nowhere, everywhere, a block or scattered.
        const int area = Pick(rng, 0, 3);
        if (area == 1)
            Sprinkle(rng, w.OtherRealityField, -3, -3, W + 1, H + 1, 1.0, 3);
        if (area == 2)
            Sprinkle(rng, w.OtherRealityField, Pick(rng, -3, W / 2), Pick(rng, -3, H / 2),
                     Pick(rng, W / 2, W + 1), Pick(rng, H / 2, H + 1), 0.9, 3);
        if (area == 3)
            Sprinkle(rng, w.OtherRealityField, -3, -3, W + 1, H + 1, 0.4, 3, opt.oddStates);
        w.Landscape.EternalLifePhase = Pick(rng, 0, 3);
        w.Landscape.EternalDeadPhase = Pick(rng, 0, 3);
    }
    w.Counters.ColourPhase = Chance(rng, 0.9) ? Pick(rng, 1, 5) : kMax32;
    w.Counters.Generation = Pick(rng, 1, 4);
    w.Random.FixSeed(seed ^ 0x5eedu);
}

inline Settings RandomSettings(Rng& rng, bool landscape) {
    Settings s;
    s.EternalLifeOn = landscape && Chance(rng, 0.6);
    s.EternalLifePeriod = Pick(rng, 1, 4);
    s.EternalLifeIntensity = Pick(rng, 1, 4);
    s.EternalDeadOn = landscape && Chance(rng, 0.5);
    s.EternalDeadPeriod = Pick(rng, 1, 4);
    s.EternalDeadIntensity = Pick(rng, 1, 4);
    if (landscape && Chance(rng, 0.4)) {
        s.MainFillRandom = Chance(rng, 0.6);
        s.EtenalLifeFillRandom = Chance(rng, 0.4);
        s.EtenalDeadFillRandom = Chance(rng, 0.4);
        s.OtherRealFillRandom = Chance(rng, 0.4);
        s.RandomFillIntensity = Pick(rng, 0, 100);
        s.RandomFillPeriod = Pick(rng, 1, 3);
    }
    s.OtherRealityOn = landscape && Chance(rng, 0.6);
    s.AutoStop = Chance(rng, 0.3);
    s.Colours.ColorMode = Chance(rng, 0.4);
    s.Colours.GenColourCount = OneOf(rng, {1, 2, 5, 64, 256, 0, 300});
    s.Colours.ShowBirthCells = Chance(rng, 0.5);
    s.Colours.ShowDeadCells = Chance(rng, 0.5);
    s.Colours.RebuildStateColours();
    return s;
}

// The visible window: none, the field, past the grids, or a part.
inline CellRect RandomWindow(Rng& rng, int W, int H) {
    const CellRect part{Pick(rng, -5, W / 2), Pick(rng, -5, H / 2), Pick(rng, W / 2, W + 5),
                        Pick(rng, H / 2, H + 5)};
    return OneOf(rng, {CellRect{}, CellRect{1, 1, W, H}, CellRect{-20, -20, W + 40, H + 40}, part});
}

// A change some other code makes between two steps: painting, erasing, loading
// a rule. Applied to both worlds with the same seed.
inline void Disturb(std::uint64_t seed, World& w) {
    Rng rng(seed);
    const int W = w.FieldWidth(), H = w.FieldHeight();
    switch (Pick(rng, 0, 4)) {
        case 0:
            return Sprinkle(rng, w.MainField, 1, 1, W, H, 0.05, 3);
        case 1:
            return w.MainField.FillRect(Pick(rng, -3, W), Pick(rng, -3, H), W / 2, H / 2, 0);
        case 2:
            w.Rules[0].Weights[static_cast<std::size_t>(Pick(rng, 0, 24))] = Pick(rng, -3, 3);
            return;
        case 3:
            w.Rules[1].BirthList.push_back(Pick(rng, -2, 6));
            w.Rules[2].History = !w.Rules[2].History;
            return;
        default:
            return Sprinkle(rng, w.OtherRealityField, -3, -3, W + 1, H + 1, 0.05, 2);
    }
}

// The first difference between the two worlds' grids and marks (over the
// indices up to `reach` on both axes), counters and phases; empty if none.
inline std::string Difference(const World& fast, const World& ref, int reach) {
    auto grid = [&](const char* name, const auto& a, const auto& b) -> std::string {
        for (int x = a.Low(); x <= reach; ++x)
            for (int y = a.Low(); y <= reach; ++y)
                if (a.at(x, y) != b.at(x, y))
                    return std::string(name) + " differs at (" + std::to_string(x) + ", " +
                           std::to_string(y) + "): fast " + std::to_string(a.at(x, y)) +
                           ", reference " + std::to_string(b.at(x, y));
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
            return diff;
    auto counters = [](const World& w) {
        const GenerationCounters& c = w.Counters;
        const LandscapePhases& l = w.Landscape;
        std::ostringstream out;
        out << "live " << c.LiveCount << ", state 1 " << c.StateOneCount << ", born " << c.BornCount
            << ", died " << c.DiedCount << ", generation " << c.Generation << ", colour phase "
            << c.ColourPhase << ", landscape phases " << l.EternalLifePhase << "/"
            << l.EternalDeadPhase << "/" << l.EternalDeadActive;
        return out.str();
    };
    if (counters(fast) != counters(ref))
        return "counters differ: fast " + counters(fast) + "; reference " + counters(ref);
    return {};
}

// The first difference in what the two steps reported: repaint calls in their
// order, finished generations and stop requests; empty if none.
inline std::string Difference(const RecordingObserver& fast, const RecordingObserver& ref) {
    if (fast.finished != ref.finished || fast.stops != ref.stops)
        return "finished/stop reports differ";
    const auto& a = fast.drawn;
    const auto& b = ref.drawn;
    const auto i = static_cast<std::size_t>(
        std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin());
    auto call = [i](const auto& d) {
        std::ostringstream out;
        if (i < d.size())
            out << "(" << d[i].x << ", " << d[i].y << ", " << d[i].colour << ")";
        return i < d.size() ? out.str() : "none";
    };
    if (i == a.size() && i == b.size())
        return {};
    return "repaint call " + std::to_string(i) + " differs: fast " + call(a) + ", reference " +
           call(b);
}

// Builds the twin worlds of one seed and runs them side by side for `steps`
// generations, plain, torus or of the Other Reality, with changes by other code
// in between; gives the first difference, or nothing. The worlds are reused
// from one experiment to the next.
struct Twins {
    std::unique_ptr<World> fast = std::make_unique<World>();
    std::unique_ptr<World> ref = std::make_unique<World>();

    std::string Run(std::uint64_t seed, const ScenarioOptions& opt, int steps) {
        BuildWorld(seed, opt, *fast);
        BuildWorld(seed, opt, *ref);
        Rng rng(seed * 7919u + 17u);
        const Settings settings = RandomSettings(rng, opt.landscape);
        RecordingObserver fo, ro;
        fo.window = ro.window = RandomWindow(rng, fast->FieldWidth(), fast->FieldHeight());
        const int torusMode = Pick(rng, 0, 2);  // plain, torus, or either at random
        const double otherRealitySteps = Chance(rng, 0.5) ? 0.3 : 0.0;
        const double disturbances = Chance(rng, 0.5) ? 0.15 : 0.0;
        const int parts = Pick(rng, 0, 5);
        StepEngine& engine = StepEngineOf(*fast);
        engine.SetParts(opt.parts >= 0 ? opt.parts : parts);
        engine.SetBaselineOnly(Chance(rng, 0.3));
        rng.seed(seed + 99);
        for (int step = 0; step < steps; ++step) {
            if (Chance(rng, disturbances)) {
                const std::uint64_t s = rng();
                Disturb(s, *fast);
                Disturb(s, *ref);
            }
            const bool other = Chance(rng, otherRealitySteps);
            const bool torus = !other && (torusMode == 2 ? Chance(rng, 0.5) : torusMode == 1);
            const StepForm form = torus ? StepForm::Torus : StepForm::Plain;
            fo.drawn.clear();
            ro.drawn.clear();
            if (other) {
                OtherRealityStep(*fast);
                reference::OtherRealityStep(*ref);
            } else {
                GenerationStep(*fast, settings, fo, form);
                reference::GenerationStep(*ref, settings, ro, form);
            }
            std::string diff = Difference(*fast, *ref, opt.reach);
            if (diff.empty())
                diff = Difference(fo, ro);
            if (!diff.empty())
                return diff + " (seed " + std::to_string(seed) + ", step " + std::to_string(step) +
                       (other   ? ", Other Reality)"
                        : torus ? ", torus)"
                                : ", plain)");
        }
        return {};
    }
};

}  // namespace zentorix::test
