// Thousands of small random experiments, each stepped by the fast and by the
// reference step side by side, compared after every generation.
#include "core/fast_step_support.h"

namespace zentorix::test {
namespace {

void RunMany(std::uint64_t firstSeed, int worlds, const ScenarioOptions& opt, int steps = 24) {
    Twins twins;
    for (int i = 0; i < worlds; ++i)
        ASSERT_EQ(twins.Run(firstSeed + static_cast<std::uint64_t>(i), opt, steps), "");
}

TEST(FastStepRandom, DigitFamilies) {
    RunMany(1000, 400, {.familyRules = true});
}

TEST(FastStepRandom, SmallWeightsCountAndByteLanes) {
    RunMany(2000, 300, {.scale = WeightScale::Small});
    RunMany(2500, 300, {.scale = WeightScale::Byte});
}

TEST(FastStepRandom, TypicalWeights) {
    RunMany(3000, 400, {.scale = WeightScale::Typical});
}

TEST(FastStepRandom, LargeAndExtremeWeights) {
    RunMany(4000, 250, {.scale = WeightScale::Large});
    RunMany(4500, 250, {.scale = WeightScale::Extreme});
}

TEST(FastStepRandom, OddStatesAndLiveMargins) {
    RunMany(5000, 200, {.oddStates = true, .margins = true});
    RunMany(5500, 200, {.familyRules = true, .oddStates = true, .margins = true});
}

TEST(FastStepRandom, WithoutLandscape) {
    RunMany(6000, 200, {.scale = WeightScale::Byte, .landscape = false});
}

// A part per column and more: the borders between parts fall everywhere.
TEST(FastStepRandom, AnyNumberOfParts) {
    for (int parts : {1, 2, 13, 26, 40})
        RunMany(0, 6, {.scale = WeightScale::Byte, .minSize = 25, .maxSize = 25, .parts = parts},
                8);
}

// Rules at the lane borders: byte sums over all 25 positions with history, sums
// beyond 16 bits against a table of many sums, sums beyond 32 bits.
TEST(FastStepRandom, HandMadeExtremeWeights) {
    std::string many =
        "NW40000,NN-40000,NE40000,WW40000,ME0,EE-40000,SW40000,SS80000,SE-40000,"
        "HI0,EX0,RS40000,RS0,RS120000,";
    for (int i = -12; i <= 12; ++i)
        many.append("RB").append(std::to_string(i * 40000)).append(",");
    const std::string rules[] = {
        "NW2,NN-1,NE3,WW1,ME1,EE-2,SW1,SS2,SE-1,2N2W1,2N1W-1,1N2W2,2N2N1,2N2E-2,2N1E1,1N2E1,"
        "2W2W-1,2E2E2,2S2W1,2S1W1,1S2W-2,2S2S1,2S2E1,2S1E-1,1S2E1,HI5,EX2,RB3,RB4,RB7,RS2,RS3,"
        "RS5,RS6,",
        many,
        "NW2000000000,NN2000000000,NE-2000000000,WW2000000000,ME1,EE-2000000000,SW2000000000,"
        "SS7,SE3,HI3,EX0,RB2000000000,RB1,RB8,RB-1999999997,RS1,RS2000000007,"};
    for (const std::string& rule : rules)
        RunMany(7000, 60, {.margins = true, .rule = rule});
}

// Full-size worlds reach the ends of the grids.
TEST(FastStepRandom, FullSizeWorlds) {
    RunMany(
        8000, 2,
        {.oddStates = true, .margins = true, .minSize = 999, .maxSize = 999, .reach = kGridHigh},
        3);
}

}  // namespace
}  // namespace zentorix::test
