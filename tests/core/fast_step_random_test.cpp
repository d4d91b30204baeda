// Thousands of small random experiments, each stepped by the fast and by the
// reference step side by side, compared after every generation.
#include "core/fast_step_support.h"

namespace zentorix::test {
namespace {

constexpr int kSteps = 24;

void RunMany(std::uint64_t firstSeed, int worlds, const ScenarioOptions& opt) {
    Twins twins;
    for (int i = 0; i < worlds; ++i) {
        ASSERT_TRUE(RunTwins(twins, firstSeed + static_cast<std::uint64_t>(i), opt, kSteps));
    }
}

TEST(FastStepRandom, DigitFamilies) {
    ScenarioOptions opt;
    opt.familyRules = true;
    RunMany(1000, 400, opt);
}

TEST(FastStepRandom, SmallWeightsCountAndByteLanes) {
    ScenarioOptions opt;
    opt.scale = WeightScale::Small;
    RunMany(2000, 300, opt);
    opt.scale = WeightScale::Byte;
    RunMany(2500, 300, opt);
}

TEST(FastStepRandom, TypicalWeights) {
    ScenarioOptions opt;
    opt.scale = WeightScale::Typical;
    RunMany(3000, 400, opt);
}

TEST(FastStepRandom, LargeAndExtremeWeights) {
    ScenarioOptions opt;
    opt.scale = WeightScale::Large;
    RunMany(4000, 250, opt);
    opt.scale = WeightScale::Extreme;
    RunMany(4500, 250, opt);
}

TEST(FastStepRandom, OddStatesAndLiveMargins) {
    ScenarioOptions opt;
    opt.oddStates = true;
    opt.margins = true;
    opt.scale = WeightScale::Small;
    RunMany(5000, 200, opt);
    opt.familyRules = true;
    RunMany(5500, 200, opt);
}

TEST(FastStepRandom, WithoutLandscape) {
    ScenarioOptions opt;
    opt.landscape = false;
    opt.scale = WeightScale::Byte;
    RunMany(6000, 200, opt);
}

}  // namespace
}  // namespace zentorix::test
