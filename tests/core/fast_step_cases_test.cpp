// Full-size worlds and the cases that random small worlds reach rarely.
#include "core/fast_step_support.h"

namespace zentorix::test {
namespace {

// A 999 by 999 world under `rules`, stepped plain and torus by both steps and
// compared over every stored cell, with a visible window that reaches past the
// grids.
void RunFullSize(const RuleSet& rules, bool otherReality, int parts) {
    Twins twins;
    for (World* w : {twins.fast.get(), twins.ref.get()}) {
        w->SetFieldWidth(999);
        w->SetFieldHeight(999);
        w->Rules[0] = rules;
        w->Rules[2] = rules;
        Rng rng(77);
        Sprinkle(rng, w->MainField, -4, -4, 1001, 1001, 0.4, 6, true);
        if (otherReality) {
            Sprinkle(rng, w->OtherRealityField, 200, 300, 700, 800, 1.0, 1, false);
            Sprinkle(rng, w->EternalDeadField, -3, -3, 1001, 1001, 0.01, 1, false);
            Sprinkle(rng, w->EternalLifeField, -3, -3, 1001, 1001, 0.01, 1, false);
        }
    }
    StepEngineOf(*twins.fast).SetParts(parts);
    Settings settings;
    settings.OtherRealityOn = otherReality;
    settings.EternalDeadOn = otherReality;
    settings.Colours.ShowBirthCells = settings.Colours.ShowDeadCells = true;
    settings.Colours.RebuildStateColours();
    for (StepForm form : {StepForm::Plain, StepForm::Torus, StepForm::Plain})
        ASSERT_EQ(twins.Step(settings, form, {-20, 990, 1100, 1100}, kGridHigh), "");
    if (otherReality) {
        ASSERT_EQ(twins.OtherRealityStep(kGridHigh), "");
    }
}

// A rule with the weights given in rule-text order (inner ring first).
RuleSet Weighted(std::initializer_list<std::int32_t> weights, bool extended, int history,
                 std::vector<std::int32_t> birth, std::vector<std::int32_t> survival) {
    RuleSet r;
    std::size_t i = 0;
    for (std::int32_t w : weights) {
        const PositionToken& p = kPositionTokens[i++];
        r.Weights[static_cast<std::size_t>(PositionIndex(p.dx, p.dy))] = w;
    }
    r.Extended = extended;
    r.History = history >= 2;
    r.HistoryRange = history;
    r.BirthList = std::move(birth);
    r.SurvivalList = std::move(survival);
    return r;
}

TEST(FastStepFullSize, ClassicAndGenerationsRules) {
    auto world = std::make_unique<World>();
    RunFullSize(world->Rules[0], false, 0);  // B3/S23 as at start-up
    ParseRuleString(*world, "345/2/4", "Generations", 0);
    RunFullSize(world->Rules[0], true, 7);
}

TEST(FastStepFullSize, MixedAndExtremeWeights) {
    // All 25 positions, mixed signs, history: byte sums.
    RunFullSize(Weighted({2,  -1, 3, 1,  1, -2, 1, 2,  -1, 1, -1, 2, 1,
                          -2, 1,  1, -1, 2, 1,  1, -2, 1,  1, -1, 1},
                         true, 5, {3, 4, 7}, {2, 3, 5, 6}),
                false, 0);
    // Sums beyond 16 bits with a table of many sums.
    std::vector<std::int32_t> many;
    for (int i = -12; i <= 12; ++i)
        many.push_back(i * 40000);
    RunFullSize(Weighted({40000, -40000, 40000, 40000, 0, -40000, 40000, 80000, -40000}, false, 0,
                         many, {40000, 0, 120000}),
                false, 3);
    // Sums beyond 32 bits: the exact slow path; only sums within 32 bits can match.
    const std::int32_t big = 2000000000;
    RunFullSize(Weighted({big, big, -big, big, 1, -big, big, 7, 3}, false, 3, {big, 1, 8, -big + 3},
                         {1, big + 7}),
                true, 0);
}

// Planes are derived afresh in every step: cells written between steps by any
// code (painting, loading, erasing) take part in the next generation.
TEST(FastStepCases, CellsWrittenBetweenStepsTakePart) {
    auto world = std::make_unique<World>();
    world->SetFieldWidth(200);
    world->SetFieldHeight(200);
    Settings settings;
    RecordingObserver quiet;
    GenerationStep(*world, settings, quiet, StepForm::Plain);
    EXPECT_EQ(world->Counters.LiveCount, 0);

    Draw(world->MainField, 100, 100, {"***"});
    GenerationStep(*world, settings, quiet, StepForm::Plain);
    EXPECT_EQ(LiveCells(world->MainField, 1, 1, 200, 200),
              (std::vector<std::pair<int, int>>{{101, 99}, {101, 100}, {101, 101}}));

    // Erased by other code: the next step sees an empty field.
    world->MainField.FillRect(1, 1, 200, 200, 0);
    GenerationStep(*world, settings, quiet, StepForm::Torus);
    EXPECT_EQ(world->Counters.LiveCount, 0);
    EXPECT_EQ(world->Counters.DiedCount, 0);

    // A rule changed in place is used at once.
    Draw(world->MainField, 10, 10, {"**", "**"});
    world->Rules[0].SurvivalList = {7};
    GenerationStep(*world, settings, quiet, StepForm::Plain);
    EXPECT_EQ(world->Counters.LiveCount, 0);
    EXPECT_EQ(world->Counters.DiedCount, 4);
}

// A part per column and more: the borders between parts fall everywhere.
TEST(FastStepCases, AnyNumberOfPartsGivesTheSameResult) {
    Twins twins;
    for (int parts : {1, 2, 13, 26, 40})
        for (std::uint64_t seed = 0; seed < 6; ++seed)
            ASSERT_EQ(
                RunTwins(twins, seed,
                         {.scale = WeightScale::Byte, .minSize = 25, .maxSize = 25, .parts = parts},
                         8),
                "")
                << parts << " parts";
}

}  // namespace
}  // namespace zentorix::test
