#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "engine/compiled_rule.h"

namespace zentorix {
namespace {

using Lanes = CompiledRule::Lanes;
using Decision = CompiledRule::Decision;

RuleSet TwoWeights(std::int32_t a, std::int32_t b) {
    RuleSet r;
    r.Weights[PositionIndex(-1, -1)] = a;
    r.Weights[PositionIndex(1, 1)] = b;
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
    RuleSet r;
    r.Weights.fill(0);
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            r.Weights[PositionIndex(dx, dy)] = -7;
    r.BirthList = {-21, -20, 7, 0};
    r.SurvivalList = {-63, -70};
    const CompiledRule c = CompileRule(r, 2);
    ASSERT_EQ(c.lanes, Lanes::Count);
    // -21 is three positions, -63 nine; -70 would need ten, there are nine.
    for (int count = 0; count <= 10; ++count)
        EXPECT_EQ(c.ClassOf(count), count == 0 || count == 3 ? CompiledRule::kBirth
                                    : count == 9             ? CompiledRule::kSurvival
                                                             : 0)
            << count;

    // No weighted position at all: the sum is always 0.
    r.Weights.fill(0);
    r.BirthList = {0};
    const CompiledRule z = CompileRule(r, 2);
    EXPECT_EQ(z.termCount, 0);
    EXPECT_EQ(z.ClassOf(0), CompiledRule::kBirth);
}

TEST(CompiledRule, DecisionByCompareTableOrSearch) {
    RuleSet r = TwoWeights(3, -2);
    r.BirthList = {3, 1, 3, 1, 99};  // duplicates and an unreachable sum
    r.SurvivalList = {-2, 1};
    CompiledRule c = CompileRule(r, 2);
    EXPECT_EQ(c.decision, Decision::Compare);
    EXPECT_EQ(c.keys.size(), 3u);
    EXPECT_EQ(c.ClassOf(1), CompiledRule::kBirth | CompiledRule::kSurvival);

    // Many reachable sums over a small range: a table.
    RuleSet many = TwoWeights(1000, -1000);
    for (int s : {-1000, 0, 1000})
        many.BirthList.push_back(s);
    for (int i = 0; i < 20; ++i)
        many.SurvivalList.push_back(i * 7);
    c = CompileRule(many, 2);
    EXPECT_EQ(c.decision, Decision::Table);
    EXPECT_EQ(c.ClassOf(0), CompiledRule::kBirth | CompiledRule::kSurvival);

    // Many sums over a huge range: a search.
    RuleSet huge = TwoWeights(2000000000, -2000000000);
    for (int i = 0; i < 30; ++i)
        huge.BirthList.push_back(i * 1000003);
    c = CompileRule(huge, 2);
    EXPECT_EQ(c.decision, Decision::Search);
    EXPECT_EQ(c.ClassOf(29 * 1000003 + 1), 0);
}

}  // namespace
}  // namespace zentorix
