#include "census/census_run.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "census/period_detector.h"
#include "engine/field_regions.h"
#include "engine/step_engine.h"
#include "formats/pattern_load.h"
#include "formats/text_file.h"
#include "rules/rule_editor.h"
#include "rules/typed_rule.h"

namespace zentorix {

namespace {

bool BirthOnNothing(const RuleSet& rules) {
    return std::find(rules.BirthList.begin(), rules.BirthList.end(), 0) != rules.BirthList.end();
}

bool LayerHasCell(const StateField& layer, const World& world) {
    for (int x = -3; x <= world.ExtentX(); ++x)
        for (int y = -3; y <= world.ExtentY(); ++y)
            if (layer.at(x, y) > 0)
                return true;
    return false;
}

// Whether an empty field stays empty for good.
bool EmptyStaysEmpty(const World& world, const Settings& settings) {
    if (settings.AnyRandomFill() || BirthOnNothing(world.Rules[0]))
        return false;
    if (settings.OtherRealityOn && BirthOnNothing(world.Rules[1]))
        return false;
    return !(settings.EternalLifeOn && LayerHasCell(world.EternalLifeField, world));
}

}  // namespace

CellRect SoupRect(const World& world, int width, int height) {
    const int w = std::clamp(width, 0, world.FieldWidth());
    const int h = std::clamp(height, 0, world.FieldHeight());
    const int x0 = 1 + (world.FieldWidth() - w) / 2;
    const int y0 = 1 + (world.FieldHeight() - h) / 2;
    return {x0, y0, x0 + w - 1, y0 + h - 1};
}

void BuildCensusStart(World& world, Settings& settings, const CensusStart& start,
                      std::string_view rule, std::uint64_t seed) {
    world.Random.FixSeed(seed);
    // A pattern is centred on the field as it is when it is placed; a native
    // file brings its own size, which the census's size then replaces.
    if (start.field) {
        world.SetFieldWidth(start.field->first);
        world.SetFieldHeight(start.field->second);
    }
    if (start.base) {
        const OpenResult opened = OpenPatternFile(world, settings, *start.base);
        if (!opened.found)
            throw FileError(start.base->string() + ": no such file, or it cannot be read");
        if (opened.format == PatternFormat::None)
            throw FileError(start.base->string() + ": not a format Zentorix reads");
    }
    if (start.field) {
        world.SetFieldWidth(start.field->first);
        world.SetFieldHeight(start.field->second);
    }
    if (start.torus)
        settings.EnableTOR = *start.torus;
    if (!rule.empty()) {
        const TypedRuleResult read = ReadTypedRule(world.Rules[0], rule);
        if (!read.problem.empty())
            throw std::runtime_error(read.problem);
        RefreshRuleEditor(world, world.Editor.EditedRuleSet);
    }
    // A fixed seed only fixes the sequence; the fill draws from where the seed
    // put it, as `run --seed` does for the random fills of a run.
    world.Random.FixSeed(seed);
    if (start.soup && start.density > 0) {
        Settings fill = settings;
        fill.MainLifePaint = true;
        fill.EternalLifePaint = fill.EternalDeadPaint = fill.OtherRealPaint = false;
        FillRegion(world, fill, SoupRect(world, start.soup->first, start.soup->second),
                   FillTargets::Paint, start.density);
    }
}

std::string_view OutcomeName(CensusOutcome outcome) {
    switch (outcome) {
        case CensusOutcome::Dies:
            return "dies";
        case CensusOutcome::Still:
            return "still";
        case CensusOutcome::Periodic:
            return "periodic";
        case CensusOutcome::Active:
            return "active";
    }
    return "active";
}

std::optional<CensusOutcome> OutcomeNamed(std::string_view name) {
    for (CensusOutcome o : {CensusOutcome::Dies, CensusOutcome::Still, CensusOutcome::Periodic,
                            CensusOutcome::Active})
        if (OutcomeName(o) == name)
            return o;
    return std::nullopt;
}

std::int64_t CountStepLive(const World& world, bool torus) {
    const int first = torus ? 0 : 1;
    const int lastX = torus ? world.FieldWidth() : world.ExtentX();
    const int lastY = torus ? world.FieldHeight() : world.ExtentY();
    std::int64_t n = 0;
    for (int x = first; x <= lastX; ++x) {
        const std::int32_t* column = world.MainField.Column(x) - world.MainField.Low();
        for (int y = first; y <= lastY; ++y)
            n += column[y] > 0;
    }
    return n;
}

RunFigures RunCensusExperiment(World& world, const Settings& settings, const CensusLimits& limits) {
    if (!world.StepCaches)
        world.StepCaches = std::make_shared<StepEngine>(1);
    const StepForm form = settings.EnableTOR ? StepForm::Torus : StepForm::Plain;
    RunFigures f;
    f.liveFirst = f.liveMin = f.liveMax = f.liveFinal = CountStepLive(world, settings.EnableTOR);
    const bool settles = !settings.AnyRandomFill();
    const bool emptyIsFinal = EmptyStaysEmpty(world, settings);
    std::optional<PeriodDetector> detector;
    if (settles)
        detector.emplace(world, settings, form, limits.maxPeriod);
    // Auto-stop and the repaint belong to the window; the census decides itself.
    StepObserver quiet;
    for (std::int64_t g = 1; g <= limits.generations; ++g) {
        GenerationStep(world, settings, quiet, form);
        const GenerationCounters& c = world.Counters;
        f.generation = g;
        f.liveFinal = c.LiveCount;
        f.liveMin = std::min<std::int64_t>(f.liveMin, c.LiveCount);
        f.liveMax = std::max<std::int64_t>(f.liveMax, c.LiveCount);
        f.liveTotal += c.LiveCount;
        f.bornTotal += c.BornCount;
        f.diedTotal += c.DiedCount;
        if (c.LiveCount == 0 && emptyIsFinal) {
            f.outcome = CensusOutcome::Dies;
            return f;
        }
        if (detector) {
            if (const int period = detector->Observe(world); period > 0) {
                f.outcome = period == 1 ? CensusOutcome::Still : CensusOutcome::Periodic;
                f.period = period;
                return f;
            }
        }
    }
    f.outcome = CensusOutcome::Active;
    return f;
}

}  // namespace zentorix
