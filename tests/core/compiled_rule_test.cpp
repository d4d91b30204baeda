#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "engine/compiled_rule.h"

namespace zentorix {
namespace {

using Lanes = CompiledRule::Lanes;
using Decision = CompiledRule::Decision;
using Sums = std::vector<std::int32_t>;
constexpr int kBirth = CompiledRule::kBirth, kSurvival = CompiledRule::kSurvival;

// A rule weighting the corners NW and SE only.
RuleSet TwoWeights(std::int32_t a, std::int32_t b, Sums birth = {}, Sums survival = {}) {
    RuleSet r;
    r.Weights[PositionIndex(-1, -1)] = a;
    r.Weights[PositionIndex(1, 1)] = b;
    r.BirthList = birth;
    r.SurvivalList = survival;
    return r;
}

// The lane must hold every sum the weights can reach, at the exact border of
// each width: one more and a narrower lane would overflow. Mixed signs never
// add up beyond the larger side; equal weights are counted, whatever their size.
TEST(CompiledRule, LaneIsTheNarrowestThatHoldsEverySum) {
    const std::int32_t max = std::numeric_limits<std::int32_t>::max();
    const std::int32_t min = std::numeric_limits<std::int32_t>::min();
    const struct {
        std::int32_t a, b;
        Lanes lanes;
    } cases[] = {{100, 27, Lanes::Int8},     {100, 28, Lanes::Int16},    {-100, -27, Lanes::Int8},
                 {-100, -28, Lanes::Int16},  {127, -127, Lanes::Int8},   {32000, 767, Lanes::Int16},
                 {32000, 768, Lanes::Int32}, {max - 5, 5, Lanes::Int32}, {max - 5, 6, Lanes::Int64},
                 {min, 1, Lanes::Int64},     {max, max, Lanes::Count}};
    for (const auto& c : cases)
        EXPECT_EQ(CompileRule(TwoWeights(c.a, c.b), 2).lanes, c.lanes) << c.a << ", " << c.b;
}

// Counted rules decide on the number of live positions: a listed sum applies
// only where it is that number times the common weight.
TEST(CompiledRule, CountedRulesMapSumsToCounts) {
    RuleSet r = TwoWeights(0, 0, {-21, -20, 7, 0}, {-63, -70});
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            r.Weights[PositionIndex(dx, dy)] = -7;
    const CompiledRule c = CompileRule(r, 2);
    ASSERT_EQ(c.lanes, Lanes::Count);
    // -21 is three positions, -63 nine; -70 would need ten, there are nine.
    for (int count = 0; count <= 10; ++count)
        EXPECT_EQ(c.ClassOf(count), "10010000020"[count] - '0') << count;

    // No weighted position at all: the sum is always 0.
    const CompiledRule z = CompileRule(TwoWeights(0, 0, {0}, {-63, -70}), 2);
    EXPECT_EQ(std::pair(z.termCount, int{z.ClassOf(0)}), std::pair(0, kBirth));
}

TEST(CompiledRule, DecisionByCompareTableOrSearch) {
    // Duplicates and an unreachable sum leave three keys to compare.
    CompiledRule c = CompileRule(TwoWeights(3, -2, {3, 1, 3, 1, 99}, {-2, 1}), 2);
    EXPECT_EQ(std::tuple(c.decision, c.keys.size(), int{c.ClassOf(1)}),
              std::tuple(Decision::Compare, 3u, kBirth | kSurvival));

    // Many reachable sums over a small range: a table; over a huge range: a search.
    RuleSet many = TwoWeights(1000, -1000, {-1000, 0, 1000});
    RuleSet huge = TwoWeights(2000000000, -2000000000);
    for (int i = 0; i < 30; ++i) {
        many.SurvivalList.push_back(i * 7);
        huge.BirthList.push_back(i * 1000003);
    }
    c = CompileRule(many, 2);
    EXPECT_EQ(std::pair(c.decision, int{c.ClassOf(0)}),
              std::pair(Decision::Table, kBirth | kSurvival));
    c = CompileRule(huge, 2);
    EXPECT_EQ(std::pair(c.decision, int{c.ClassOf(29 * 1000003 + 1)}),
              std::pair(Decision::Search, 0));
}

}  // namespace
}  // namespace zentorix
