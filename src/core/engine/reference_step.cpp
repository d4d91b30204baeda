// The generation step in its plain form, written as literally as the language
// allows. It is the oracle for the fast step; clarity matters more than speed.
#include <algorithm>

#include "engine/generation_step.h"
#include "engine/landscape.h"

namespace zentorix {

namespace reference {

void GenerationStep(World& world, const Settings& settings, StepObserver& observer, StepForm form) {
    const bool torus = form == StepForm::Torus;
    const int W = world.FieldWidth(), H = world.FieldHeight();
    const int EX = world.ExtentX(), EY = world.ExtentY();
    auto wx = [&](int x) { return torus ? WrapIndex(x, EX) : x; };
    auto wy = [&](int y) { return torus ? WrapIndex(y, EY) : y; };
    auto ruleOf = [&](int x, int y) -> const RuleSet& {
        const bool other = settings.OtherRealityOn && world.OtherRealityField.at(x, y) > 0;
        return world.Rules[other ? 1 : 0];
    };

    BeginGeneration(world, settings);

    // Evaluation: marks only; every cell sees the previous generation.
    for (int x = -2; x <= W; ++x) {
        for (int y = -2; y <= H; ++y) {
            const int cx = wx(x), cy = wy(y);
            const RuleSet& rules = ruleOf(cx, cy);
            const int radius = rules.Radius();
            std::int64_t liveSum = 0, firstStateSum = 0;
            for (int dx = -radius; dx <= radius; ++dx) {
                for (int dy = -radius; dy <= radius; ++dy) {
                    const std::int32_t v = world.MainField.at(wx(x + dx), wy(y + dy));
                    const std::int32_t weight = rules.Weight(dx, dy);
                    if (v >= 1)
                        liveSum += weight;
                    if (v == 1)
                        firstStateSum += weight;
                }
            }
            const std::int64_t sum = rules.History ? firstStateSum : liveSum;
            const std::int32_t cur = world.MainField.at(cx, cy);
            std::uint8_t& born = world.BornMarks.at(cx, cy);
            std::uint8_t& died = world.DiedMarks.at(cx, cy);
            if (cur == 0) {
                for (std::int32_t entry : rules.BirthList) {
                    if (born == 1)
                        break;
                    if (entry == sum)
                        born = 1;
                }
            }
            if (cur > 0) {
                died = 1;
                for (std::int32_t entry : rules.SurvivalList) {
                    if (died != 1)
                        break;
                    if (entry == sum)
                        died = 0;
                }
            }
        }
    }

    // Update: marks become new cell values.
    const int colourCount = std::clamp(settings.Colours.GenColourCount, 1, kPaletteSize);
    GenerationCounters& c = world.Counters;
    for (int x = 1; x <= EX; ++x) {
        for (int y = 1; y <= EY; ++y) {
            const int cx = wx(x), cy = wy(y);
            const RuleSet& rules = ruleOf(cx, cy);
            const std::int32_t cur = world.MainField.at(cx, cy);
            const std::uint8_t b = world.BornMarks.at(cx, cy);
            std::uint8_t& d = world.DiedMarks.at(cx, cy);
            std::int32_t n;
            if (rules.History)
                n = NextHistoryState(cur, b, d, rules.HistoryRange);
            else if (settings.Colours.ColorMode)
                n = cur >= 1 && d == 1 ? 0 : (cur == 0 && b == 1 ? c.ColourPhase : cur);
            else
                n = NextAge(cur, b, d, colourCount);
            if (world.Landscape.EternalDeadActive && n >= 1 &&
                world.EternalDeadField.at(cx, cy) >= 1) {
                n = 0;
                d = 1;
            }
            world.MainField.at(cx, cy) = n;
            if (n >= 1)
                ++c.LiveCount;
            if (n == 1)
                ++c.StateOneCount;
            if (b == 1)
                ++c.BornCount;
            if (d == 1)
                ++c.DiedCount;
        }
    }

    RepaintChangedCells(world, settings, observer);
    FinishGeneration(world, settings, observer);
}

}  // namespace reference

void BeginGeneration(World& world, const Settings& settings) {
    GenerationCounters& c = world.Counters;
    c.LiveCount = c.StateOneCount = c.BornCount = c.DiedCount = 0;
    ApplyEternalLayers(world, settings);
    if (settings.AnyRandomFill())
        ApplyRandomFills(world, settings);
}

void RepaintChangedCells(const World& world, const Settings& settings, StepObserver& observer) {
    const CellRect window = RepaintWindow(observer);
    for (int x = window.FirstColumn; x <= window.LastColumn; ++x)
        for (int y = window.FirstRow; y <= window.LastRow; ++y)
            RepaintCell(observer, settings.Colours, x, y, world.MainField.at(x, y),
                        world.BornMarks.at(x, y), world.DiedMarks.at(x, y));
}

void FinishGeneration(World& world, const Settings& settings, StepObserver& observer) {
    observer.GenerationFinished(world);
    GenerationCounters& c = world.Counters;
    c.Generation = SaturatingIncrement(c.Generation);
    c.ColourPhase = c.ColourPhase < settings.Colours.GenColourCount ? c.ColourPhase + 1 : 1;
    if (c.LiveCount == 0 && settings.AutoStop) {
        c.Generation = 1;
        observer.StopRequested();
    }
}

}  // namespace zentorix
