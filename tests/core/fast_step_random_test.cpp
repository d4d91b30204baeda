// Thousands of small random experiments, each stepped by the fast and by the
// reference step side by side, compared after every generation.
#include "core/fast_step_support.h"

namespace zentorix::test {
namespace {

void RunMany(std::uint64_t firstSeed, int worlds, const ScenarioOptions& opt) {
    Twins twins;
    for (int i = 0; i < worlds; ++i)
        ASSERT_EQ(RunTwins(twins, firstSeed + static_cast<std::uint64_t>(i), opt, 24), "");
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

}  // namespace
}  // namespace zentorix::test
