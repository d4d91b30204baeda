// Thousands of small random experiments: twin worlds built from one seed,
// stepped by the fast and by the reference step side by side and compared grid
// by grid, counter by counter and repaint call by repaint call.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "core/test_support.h"
#include "engine/generation_step.h"
#include "engine/other_reality.h"
#include "engine/rule_text.h"
#include "engine/step_engine.h"
#include "rules/rule_editor.h"

namespace zentorix::test {
namespace {

constexpr std::int32_t kMin32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax32 = std::numeric_limits<std::int32_t>::max();

struct Rng : std::mt19937_64 {
    using std::mt19937_64::mt19937_64;
    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(*this); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(*this); }
    template <typename T>
    T OneOf(std::initializer_list<T> v) {
        return v.begin()[Pick(0, int(v.size()) - 1)];
    }
};

// How large random weights are; Extreme takes any 32-bit value and the limits.
enum class WeightScale { Small, Byte, Typical, Large, Extreme };

// A rule with weights drawn from a few distinct values, so that many
// neighbourhoods share a sum, and lists made from sums the weights can reach.
RuleSet RandomWeightedRule(Rng& rng, WeightScale scale) {
    RuleSet r;
    r.Extended = rng.Chance(0.5);
    r.ExtendedValue = r.Extended ? 2 : 0;
    r.History = rng.Chance(0.4);
    r.HistoryRange = r.History ? rng.Pick(2, 9) : rng.Pick(0, 5);
    // Ranges only a program sets: below 2 every state ends at once, huge ones never.
    if (r.History && rng.Chance(0.15))
        r.HistoryRange = rng.OneOf<std::int32_t>({-5, 0, 1, 300, kMax32});
    const int last = rng.Chance(0.2) ? 24 : rng.Pick(0, 3);
    constexpr int bounds[][2] = {{-4, 4}, {-20, 20}, {-999, 9999}, {-200000000, 200000000}};
    const auto [lo, hi] = bounds[std::min(static_cast<std::size_t>(scale), std::size_t{3})];
    std::vector<std::int32_t> palette(static_cast<std::size_t>(last) + 1);
    for (std::int32_t& w : palette)
        w = scale != WeightScale::Extreme ? rng.Pick(lo, hi)
            : rng.Chance(0.5)             ? rng.Pick(kMin32, kMax32)
                                          : rng.OneOf({kMax32, kMin32});
    const double zeros = rng.Chance(0.3) ? 0.6 : 0.15;
    for (std::int32_t& w : r.Weights)
        w = rng.Chance(zeros) ? 0 : palette[static_cast<std::size_t>(rng.Pick(0, last))];

    // Sums of random subsets of the weights the neighbourhood reads; now and
    // then 0, a small sum or any value.
    const int radius = r.Radius();
    for (auto* list : {&r.BirthList, &r.SurvivalList})
        for (int n = rng.Chance(0.15) ? rng.Pick(9, 60) : rng.Pick(0, 6); n > 0; --n) {
            std::int64_t s = 0;
            for (int dx = -radius; dx <= radius; ++dx)
                for (int dy = -radius; dy <= radius; ++dy)
                    s += rng.Chance(0.4) ? r.Weight(dx, dy) : 0;
            s = rng.Chance(0.1) ? 0 : rng.Chance(0.1) ? rng.Pick(-30, 30) : s;
            s = rng.Chance(0.05) ? rng.Pick(kMin32, kMax32) : s;
            if (s >= kMin32 && s <= kMax32)
                list->push_back(static_cast<std::int32_t>(s));
        }
    return r;
}

// A two-state rule that the bit planes can run most of the time: the eight
// neighbours weigh the same, the centre anything; the lists hold sums of n
// neighbours, with or without the centre, and now and then anything. Now and
// then an outer-ring weight, a differing neighbour or history makes the rule
// one for the byte planes.
RuleSet RandomLifeRule(Rng& rng) {
    RuleSet r;
    r.Extended = rng.Chance(0.3);
    r.ExtendedValue = r.Extended ? 2 : 0;
    const std::int32_t w = rng.OneOf<std::int32_t>({1, 1, 1, 2, -1, 3, 0, 100000, kMax32});
    const std::int32_t centre = rng.OneOf<std::int32_t>({0, 0, 1, w, -2, 5, kMin32});
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            r.Weights[static_cast<std::size_t>(PositionIndex(dx, dy))] = dx || dy ? w : centre;
    if (rng.Chance(0.05))
        r.Weights[static_cast<std::size_t>(rng.Pick(0, 24))] = rng.Pick(-2, 2);
    // With history: ranges the bit planes take (2..255) and a few they leave.
    r.History = rng.Chance(0.4);
    r.HistoryRange =
        r.History ? rng.OneOf<std::int32_t>({2, 3, 3, 4, 5, 9, 255, 1, 256}) : rng.Pick(0, 5);
    for (auto* list : {&r.BirthList, &r.SurvivalList})
        for (int n = rng.Pick(0, 6); n > 0; --n) {
            std::int64_t s = std::int64_t{w} * rng.Pick(0, 8) + (rng.Chance(0.5) ? centre : 0);
            s = rng.Chance(0.05) ? rng.Pick(-10, 10) : s;
            if (s >= kMin32 && s <= kMax32)
                list->push_back(static_cast<std::int32_t>(s));
        }
    return r;
}

// A rule of one of the digit families, read from rule text.
void RandomFamilyRule(Rng& rng, World& w, int index) {
    auto digits = [&](int maxCount) {
        std::string s;
        for (int n = rng.Pick(0, maxCount); n > 0; --n)
            s += static_cast<char>('0' + rng.Pick(0, 9));
        return s;
    };
    const char* families[] = {"Life", "Generations", "Vote", "OldLife", "Zentorix"};
    const int family = rng.Pick(0, 4);
    // Built piece by piece: chains of string + trip a false warning in GCC 12.
    std::string text = family == 4 ? kStartUpRuleText1 : "";
    if (family <= 1)
        text.append(digits(4)).append("/").append(digits(3));
    if (family == 1)
        text.append("/").append(std::to_string(rng.Pick(0, 12)));
    if (family == 2)
        text = digits(5);
    if (family == 3)
        text.append("B").append(digits(3)).append("/S").append(digits(3));
    ParseRuleString(w, text, families[family], index);
}

// Writes random states into a rectangle of a grid (cut at the grid's end); odd
// states are values no editor writes (negative, huge, just past a byte).
void Sprinkle(Rng& rng, StateField& field, int x0, int y0, int x1, int y1, double density,
              int maxState, bool oddStates = false) {
    for (int x = x0; x <= std::min(x1, kGridHigh); ++x)
        for (int y = y0; y <= std::min(y1, kGridHigh); ++y) {
            if (!rng.Chance(density))
                continue;
            std::int32_t v = rng.Chance(0.7) ? 1 : rng.Pick(1, std::max(1, maxState));
            if (oddStates && rng.Chance(0.05))
                v = rng.OneOf<std::int32_t>({-1, -7, 0, 255, 256, 257, 100000, kMax32, kMin32});
            field.at(x, y) = v;
        }
}

// Options for building a random experiment.
struct ScenarioOptions {
    bool familyRules = false;  // digit families instead of weighted rules
    bool lifeRules = false;    // two-state rules of equal neighbours, mostly
    WeightScale scale = WeightScale::Small;
    bool landscape = true;  // Eternal layers, random fills, Other Reality
    bool oddStates = false;
    bool margins = false;  // live cells in the margins too
    int minSize = 25, maxSize = 60;
    int parts = -1;  // column ranges of the fast step; -1 at random
    int reach = 80;  // indices compared and cleared on both axes
};

// Builds one World of the experiment, the same for the same seed. Worlds are
// reused and only what an experiment can touch is cleared: building fresh ones
// would cost more than the steps.
void BuildWorld(std::uint64_t seed, const ScenarioOptions& opt, World& w) {
    static const std::array<RuleSet, 3> startUpRules = std::make_unique<World>()->Rules;
    auto clear = [&](auto&... f) { (f.FillRect(f.Low(), f.Low(), opt.reach, opt.reach, 0), ...); };
    clear(w.MainField, w.EternalLifeField, w.EternalDeadField, w.OtherRealityField, w.BornMarks,
          w.DiedMarks, w.OtherBornMarks, w.OtherDiedMarks);
    w.Rules = startUpRules;
    w.Counters = GenerationCounters{};
    w.Landscape = LandscapePhases{};

    Rng rng(seed);
    w.SetFieldWidth(rng.Pick(opt.minSize, opt.maxSize));
    w.SetFieldHeight(rng.Pick(opt.minSize, opt.maxSize));
    const int W = w.FieldWidth(), H = w.FieldHeight();
    for (int i = 0; i < 3; ++i) {
        if (opt.familyRules)
            RandomFamilyRule(rng, w, i);
        else if (opt.lifeRules)
            w.Rules[static_cast<std::size_t>(i)] = RandomLifeRule(rng);
        else
            w.Rules[static_cast<std::size_t>(i)] = RandomWeightedRule(rng, opt.scale);
    }
    // A range of kMax32 still draws states up to the limit, not past it.
    const int maxState = static_cast<int>(
        std::clamp<std::int64_t>(std::int64_t{w.Rules[0].HistoryRange} + 1, 2, kMax32));
    const double density = rng.OneOf({0.05, 0.3, 0.5, 0.8});
    const int edge = opt.margins ? -11 : 1, over = opt.margins ? 3 : 0;
    Sprinkle(rng, w.MainField, edge, edge, W + over, H + over, density, maxState, opt.oddStates);
    if (opt.landscape) {
        Sprinkle(rng, w.EternalLifeField, -3, -3, W + 1, H + 1, rng.Pick(0, 5) / 100.0, 3);
        Sprinkle(rng, w.EternalDeadField, -3, -3, W + 1, H + 1, rng.Pick(0, 5) / 100.0, 3);
        // The area of other laws: nowhere, everywhere, a block or scattered.
        const int area = rng.Pick(0, 3);
        if (area == 1)
            Sprinkle(rng, w.OtherRealityField, -3, -3, W + 1, H + 1, 1.0, 3);
        if (area == 2)
            Sprinkle(rng, w.OtherRealityField, rng.Pick(-3, W / 2), rng.Pick(-3, H / 2),
                     rng.Pick(W / 2, W + 1), rng.Pick(H / 2, H + 1), 0.9, 3);
        if (area == 3)
            Sprinkle(rng, w.OtherRealityField, -3, -3, W + 1, H + 1, 0.4, 3, opt.oddStates);
        w.Landscape.EternalLifePhase = rng.Pick(0, 3);
        w.Landscape.EternalDeadPhase = rng.Pick(0, 3);
    }
    // Phases a file may bring: past the palette, 0 or below (newborn cells not live).
    w.Counters.ColourPhase = rng.Chance(0.9) ? rng.Pick(1, 5) : rng.OneOf({kMax32, 0, -3});
    w.Counters.Generation = rng.Pick(1, 4);
    w.Random.FixSeed(seed ^ 0x5eedu);
}

Settings RandomSettings(Rng& rng, bool landscape) {
    Settings s;
    s.EternalLifeOn = landscape && rng.Chance(0.6);
    s.EternalLifePeriod = rng.Pick(1, 4);
    s.EternalLifeIntensity = rng.Pick(1, 4);
    s.EternalDeadOn = landscape && rng.Chance(0.5);
    s.EternalDeadPeriod = rng.Pick(1, 4);
    s.EternalDeadIntensity = rng.Pick(1, 4);
    if (landscape && rng.Chance(0.4)) {
        s.MainFillRandom = rng.Chance(0.6);
        s.EtenalLifeFillRandom = rng.Chance(0.4);
        s.EtenalDeadFillRandom = rng.Chance(0.4);
        s.OtherRealFillRandom = rng.Chance(0.4);
        s.RandomFillIntensity = rng.Pick(0, 100);
        s.RandomFillPeriod = rng.Pick(1, 3);
    }
    s.OtherRealityOn = landscape && rng.Chance(0.6);
    s.AutoStop = rng.Chance(0.3);
    s.Colours.ColorMode = rng.Chance(0.4);
    s.Colours.GenColourCount = rng.OneOf({1, 2, 5, 64, 256, 0, 300});
    s.Colours.ShowBirthCells = rng.Chance(0.5);
    s.Colours.ShowDeadCells = rng.Chance(0.5);
    s.Colours.RebuildStateColours();
    return s;
}

// A change some other code makes between two steps: painting, erasing, loading
// a rule or marks, resizing the field. Applied to both worlds with the same seed.
void Disturb(std::uint64_t seed, World& w) {
    Rng rng(seed);
    const int W = w.FieldWidth(), H = w.FieldHeight();
    switch (rng.Pick(0, 6)) {
        case 0:
            return Sprinkle(rng, w.MainField, 1, 1, W, H, 0.05, 3);
        case 1:
            return w.MainField.FillRect(rng.Pick(-3, W), rng.Pick(-3, H), W / 2, H / 2, 0);
        case 2:
            w.Rules[0].Weights[static_cast<std::size_t>(rng.Pick(0, 24))] = rng.Pick(-3, 3);
            return;
        case 3:
            w.Rules[1].BirthList.push_back(rng.Pick(-2, 6));
            w.Rules[2].History = !w.Rules[2].History;
            return;
        case 4:
            return Sprinkle(rng, w.OtherRealityField, -3, -3, W + 1, H + 1, 0.05, 2);
        case 5:
            // A file that stores marks.
            for (int x = -3; x <= W + 1; ++x)
                for (int y = -3; y <= H + 1; ++y)
                    if (rng.Chance(0.02))
                        (rng.Chance(0.5) ? w.BornMarks : w.DiedMarks).at(x, y) = 1;
            return;
        default:
            // A smaller field leaves marks where it no longer reaches.
            w.SetFieldWidth(W + rng.Pick(-3, 3));
            w.SetFieldHeight(H + rng.Pick(-3, 3));
            return;
    }
}

// The window's image, one pixel a cell, kept between whole-window paints as
// the window keeps it (version 0: not kept). It reaches past the field on
// every side, or a `clipped` one starts and ends inside it.
struct KeptImage : StepObserver {
    CellRect window;
    int origin, width, height;
    std::uint64_t version;
    std::vector<std::uint32_t> pixels;
    PixelSurface surface;

    KeptImage(const CellRect& shown, int fieldWidth, int fieldHeight, bool clipped, std::uint64_t v)
        : window(shown),
          origin(clipped ? 5 : -3),
          width(std::max(1, fieldWidth + (clipped ? -6 : 6))),
          height(std::max(1, fieldHeight + (clipped ? -7 : 6))),
          version(v) {
        Clear();
    }
    static std::uint32_t Pixel(Colour c) { return static_cast<std::uint32_t>(c) | 0xFF000000u; }
    // Something else painted the whole image.
    void Clear() {
        pixels.assign(static_cast<std::size_t>(width * height), 0x123456);
        version += version != 0 ? 1 : 0;
    }
    CellRect VisibleWindow() const override { return window; }
    PixelSurface* Surface() override {
        surface = {.pixels = pixels.data(),
                   .stride = width,
                   .width = width,
                   .height = height,
                   .originX = origin,
                   .originY = origin - 1,
                   .imageVersion = version,
                   .toPixel = &Pixel};
        return &surface;
    }
};

std::array<std::int32_t, 9> CountersAndPhases(const World& w) {
    const GenerationCounters& c = w.Counters;
    const LandscapePhases& l = w.Landscape;
    return {c.LiveCount,   c.StateOneCount,    c.BornCount,        c.DiedCount,        c.Generation,
            c.ColourPhase, l.EternalLifePhase, l.EternalDeadPhase, l.EternalDeadActive};
}

// The sanitizer build runs every step many times slower; there the random tests
// take one world in eight, which still reaches every path of the step, and the
// plain build runs them all.
#ifndef __has_feature
#define __has_feature(x) 0
#endif
#if defined(__SANITIZE_ADDRESS__) || __has_feature(address_sanitizer)
constexpr std::uint64_t kWorldShare = 8;
#else
constexpr std::uint64_t kWorldShare = 1;
#endif

// Runs the twin worlds of each seed side by side for `steps` generations, plain,
// torus or of the Other Reality, with changes by other code in between; fails at
// the first difference in grids, marks, counters, phases or reports. Gives the
// numbers of generations the bit planes ran, without history and with it.
std::array<std::uint64_t, 2> RunMany(std::uint64_t firstSeed, std::uint64_t worlds,
                                     const ScenarioOptions& opt, int steps = 24) {
    auto fast = std::make_unique<World>(), ref = std::make_unique<World>();
    worlds = (worlds + kWorldShare - 1) / kWorldShare;
    for (auto seed = firstSeed; seed < firstSeed + worlds && !testing::Test::HasFailure(); ++seed) {
        BuildWorld(seed, opt, *fast);
        BuildWorld(seed, opt, *ref);
        Rng rng(seed * 7919u + 17u);
        const Settings settings = RandomSettings(rng, opt.landscape);
        // The visible window: none, the field, past the grids, or a part.
        const int W = fast->FieldWidth(), H = fast->FieldHeight();
        const CellRect part{rng.Pick(-5, W / 2), rng.Pick(-5, H / 2), rng.Pick(W / 2, W + 5),
                            rng.Pick(H / 2, H + 5)};
        const CellRect window =
            rng.OneOf({CellRect{}, CellRect{1, 1, W, H}, CellRect{-20, -20, W + 40, H + 40}, part});
        const int torusMode = rng.Pick(0, 2);  // plain, torus, or either at random
        const double otherRealitySteps = rng.Chance(0.5) ? 0.3 : 0.0;
        const double disturbances = rng.Chance(0.5) ? 0.15 : 0.0;
        const int parts = rng.Pick(0, 5);
        // Grids compared after every step, or only after some: unread grids
        // let the bit planes put their writes off for several generations.
        const int compareEvery = rng.OneOf({1, 1, 3, 8});
        StepEngineOf(*fast).SetParts(opt.parts >= 0 ? opt.parts : parts);
        StepEngineOf(*fast).SetBaselineOnly(rng.Chance(0.3));
        // A whole-window paint of a kept image paints only the cells that
        // changed since it last painted: it must leave the image as a paint
        // of a fresh one does. A step with a window repaints, so the image
        // without one shows the field or a part.
        // Some worlds paint a new image each time into the same memory.
        const CellRect shown =
            window.Empty() ? (seed % 2 == 0 ? CellRect{-1, 0, W + 2, H + 1} : part) : window;
        const bool clipped = seed % 3 == 0;
        KeptImage kept(shown, W, H, clipped, seed % 4 == 1 ? 0 : 1);
        rng.seed(seed + 99);
        for (int step = 0; step < steps && !testing::Test::HasFailure(); ++step) {
            if (rng.Chance(disturbances)) {
                const std::uint64_t s = rng();
                Disturb(s, *fast);
                Disturb(s, *ref);
                // A new field size is drawn anew, as the window does.
                if (fast->FieldWidth() != W || fast->FieldHeight() != H)
                    kept.Clear();
            }
            const bool other = rng.Chance(otherRealitySteps);
            const bool torus = !other && (torusMode == 2 ? rng.Chance(0.5) : torusMode == 1);
            SCOPED_TRACE(::testing::Message()
                         << "seed " << seed << ", step " << step << ", "
                         << (other ? "Other Reality" : (torus ? "torus" : "plain")));
            RecordingObserver fo, ro;
            fo.window = ro.window = window;
            if (other) {
                OtherRealityStep(*fast);
                reference::OtherRealityStep(*ref);
            } else {
                const StepForm form = torus ? StepForm::Torus : StepForm::Plain;
                GenerationStep(*fast, settings, fo, form);
                reference::GenerationStep(*ref, settings, ro, form);
            }
            EXPECT_EQ(CountersAndPhases(*fast), CountersAndPhases(*ref))
                << "live, state 1, born, died, generation, colour phase, landscape phases";
            EXPECT_EQ(std::pair(fo.finished, fo.stops), std::pair(ro.finished, ro.stops));
            // Repaint calls in their order.
            EXPECT_TRUE(fo.drawn == ro.drawn)
                << fo.drawn.size() << " repaint calls, the reference " << ro.drawn.size();
            if (step % compareEvery != compareEvery - 1 && step != steps - 1)
                continue;
            KeptImage fresh(shown, W, H, clipped, 0);
            if (kept.version == 0)
                kept.Clear();
            PaintVisibleCells(*fast, settings, kept);
            PaintVisibleCells(*ref, settings, fresh);
            EXPECT_TRUE(kept.pixels == fresh.pixels)
                << "a whole-window paint of the kept image differs from a fresh one";
            // The grids the step writes, numbered in the order listed.
            int grid = 0;
            auto same = [&](const auto& a, const auto& b) {
                ++grid;
                for (int x = a.Low(); x <= opt.reach; ++x)
                    for (int y = a.Low(); y <= opt.reach; ++y)
                        if (a.at(x, y) != b.at(x, y))
                            FAIL() << "grid " << grid << " differs at (" << x << ", " << y
                                   << "): fast " << +a.at(x, y) << ", reference " << +b.at(x, y);
            };
            for (auto g : {&World::MainField, &World::OtherRealityField, &World::EternalLifeField,
                           &World::EternalDeadField})
                same(*fast.*g, *ref.*g);
            for (auto g : {&World::BornMarks, &World::DiedMarks, &World::OtherBornMarks,
                           &World::OtherDiedMarks})
                same(*fast.*g, *ref.*g);
        }
    }
    const StepEngine& engine = StepEngineOf(*fast);
    return {engine.Generations(StepEngine::Path::LifeBits),
            engine.Generations(StepEngine::Path::StateBits)};
}

// Rules of equal neighbours, two-state or with history, run on bit planes in
// the generations no layer takes part in, and hand over to the byte planes and
// back where one does, where a cell holds a value below 0 (or a state past the
// range) or where other code changed the field. Heights cross the planes' 64-row words (61 and 125
// rows with margins).
// One ctest entry per row; each row must run the bit planes, without and with
// history, at least so many generations (together more than 10,000 each).
struct BitRun {
    std::uint64_t firstSeed, worlds;
    ScenarioOptions options;
    int steps;
    std::uint64_t minLife, minStates;
};
// Two-state rules without layers; tall fields cross a second 64-row word; odd
// states and cells in the margins with layers; fields of the largest size.
const ScenarioOptions kLifeWorlds{
    .lifeRules = true, .landscape = false, .maxSize = 70, .reach = 75};
const ScenarioOptions kTall{
    .lifeRules = true, .landscape = false, .minSize = 115, .maxSize = 130, .reach = 135};
const ScenarioOptions kOdd{
    .lifeRules = true, .oddStates = true, .margins = true, .maxSize = 70, .reach = 75};
const ScenarioOptions kLargest{
    .lifeRules = true, .landscape = false, .minSize = 999, .maxSize = 999, .reach = kGridHigh};
const BitRun kBitRuns[] = {{9000, 600, kLifeWorlds, 24, 5500, 2800},
                           {10000, 600, kLifeWorlds, 24, 5500, 2800},
                           {11000, 600, kLifeWorlds, 24, 5500, 2800},
                           {9600, 80, kTall, 24, 750, 350},
                           {9700, 150, kOdd, 24, 0, 0},
                           {9800, 3, kLargest, 4, 3, 2}};
struct FastStepBitPlanes : ::testing::TestWithParam<std::size_t> {};
TEST_P(FastStepBitPlanes, EqualTheReference) {
    const BitRun& run = kBitRuns[GetParam()];
    const auto [life, states] = RunMany(run.firstSeed, run.worlds, run.options, run.steps);
    // One world in eight varies more: there half the share is enough.
    const std::uint64_t share = kWorldShare == 1 ? 1 : 2 * kWorldShare;
    EXPECT_GE(life, run.minLife / share);
    EXPECT_GE(states, run.minStates / share);
}
INSTANTIATE_TEST_SUITE_P(Row, FastStepBitPlanes,
                         ::testing::Range(std::size_t{0}, std::size(kBitRuns)));

// Every rule family and weight scale: small and byte weights run in the count
// and byte lanes, larger ones in wider lanes and beyond 32 bits. Full-size worlds
// reach the ends of the grids.
// One ctest entry per row, so that they run side by side.
using Runs = std::tuple<std::uint64_t, std::uint64_t, ScenarioOptions, int>;
const Runs kRuns[] = {
    {1000, 400, {.familyRules = true}, 24},
    {2000, 300, {.scale = WeightScale::Small}, 24},
    {2500, 300, {.scale = WeightScale::Byte}, 24},
    {3000, 400, {.scale = WeightScale::Typical}, 24},
    {4000, 250, {.scale = WeightScale::Large}, 24},
    {4500, 250, {.scale = WeightScale::Extreme}, 24},
    {5000, 200, {.oddStates = true, .margins = true}, 24},
    {5500, 200, {.familyRules = true, .oddStates = true, .margins = true}, 24},
    {6000, 200, {.scale = WeightScale::Byte, .landscape = false}, 24},
    {8000,
     2,
     {.oddStates = true, .margins = true, .minSize = 999, .maxSize = 999, .reach = kGridHigh},
     3}};
struct FastStepRandomRuns : ::testing::TestWithParam<std::size_t> {};
TEST_P(FastStepRandomRuns, EveryFamilyWeightScaleAndLayer) {
    std::apply(RunMany, kRuns[GetParam()]);
}
INSTANTIATE_TEST_SUITE_P(Row, FastStepRandomRuns,
                         ::testing::Range(std::size_t{0}, std::size(kRuns)));

// A part per column and more: the borders between parts fall everywhere.
TEST(FastStepRandom, AnyNumberOfParts) {
    for (int parts : {1, 2, 13, 26, 40})
        RunMany(0, 6, {.scale = WeightScale::Byte, .minSize = 25, .maxSize = 25, .parts = parts},
                8);
}

}  // namespace
}  // namespace zentorix::test
