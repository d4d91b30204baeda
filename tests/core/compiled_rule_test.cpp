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
// each width: one more and a narrower lane would overflow.
TEST(CompiledRule, LaneIsTheNarrowestThatHoldsEverySum) {
    EXPECT_EQ(CompileRule(TwoWeights(100, 27), 2).lanes, Lanes::Int8);
    EXPECT_EQ(CompileRule(TwoWeights(100, 28), 2).lanes, Lanes::Int16);
    EXPECT_EQ(CompileRule(TwoWeights(-100, -27), 2).lanes, Lanes::Int8);
    EXPECT_EQ(CompileRule(TwoWeights(-100, -28), 2).lanes, Lanes::Int16);
    // Mixed signs never add up beyond the larger side.
    EXPECT_EQ(CompileRule(TwoWeights(127, -127), 2).lanes, Lanes::Int8);
    EXPECT_EQ(CompileRule(TwoWeights(32000, 767), 2).lanes, Lanes::Int16);
    EXPECT_EQ(CompileRule(TwoWeights(32000, 768), 2).lanes, Lanes::Int32);
    const std::int32_t max = std::numeric_limits<std::int32_t>::max();
    const std::int32_t min = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(CompileRule(TwoWeights(max - 5, 5), 2).lanes, Lanes::Int32);
    EXPECT_EQ(CompileRule(TwoWeights(max - 5, 6), 2).lanes, Lanes::Int64);
    EXPECT_EQ(CompileRule(TwoWeights(min, 1), 2).lanes, Lanes::Int64);
    // Equal weights are counted, whatever their size.
    EXPECT_EQ(CompileRule(TwoWeights(max, max), 2).lanes, Lanes::Count);
}

TEST(CompiledRule, OnlyPositionsWithinTheRadiusCount) {
    RuleSet r;
    r.Weights.fill(0);
    r.Weights[PositionIndex(2, 2)] = 1000;  // outer ring
    r.Weights[PositionIndex(0, 1)] = 1;
    r.Extended = false;
    CompiledRule c = CompileRule(r, 2);
    EXPECT_EQ(c.termCount, 1);
    EXPECT_EQ(c.radius, 1);
    r.Extended = true;
    c = CompileRule(r, 2);
    EXPECT_EQ(c.termCount, 2);
    EXPECT_EQ(c.lanes, Lanes::Int16);
    // The Other Reality reads the inner ring whatever the rule says.
    c = CompileRule(r, 1);
    EXPECT_EQ(c.termCount, 1);
    EXPECT_EQ(c.radius, 1);
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
    EXPECT_EQ(c.ClassOf(3), CompiledRule::kBirth);  // -21
    EXPECT_EQ(c.ClassOf(0), CompiledRule::kBirth);  // 0
    EXPECT_EQ(c.ClassOf(9), CompiledRule::kSurvival);
    EXPECT_EQ(c.ClassOf(10), 0);  // -70 needs ten positions, there are nine
    for (int count : {1, 2, 4, 5, 6, 7, 8})
        EXPECT_EQ(c.ClassOf(count), 0) << count;

    // No weighted position at all: the sum is always 0.
    RuleSet none;
    none.Weights.fill(0);
    none.BirthList = {0};
    none.SurvivalList = {1};
    const CompiledRule z = CompileRule(none, 2);
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
    EXPECT_EQ(c.ClassOf(99), 0);

    // Many reachable sums over a small range: a table.
    RuleSet many = TwoWeights(1000, -1000);
    for (int s : {-1000, 0, 1000})
        many.BirthList.push_back(s);
    for (int i = 0; i < 20; ++i)
        many.SurvivalList.push_back(i * 7);
    c = CompileRule(many, 2);
    EXPECT_EQ(c.decision, Decision::Table);
    EXPECT_EQ(c.ClassOf(-1000), CompiledRule::kBirth);
    EXPECT_EQ(c.ClassOf(0), CompiledRule::kBirth | CompiledRule::kSurvival);
    EXPECT_EQ(c.ClassOf(7), CompiledRule::kSurvival);
    EXPECT_EQ(c.ClassOf(8), 0);

    // Many sums over a huge range: a search.
    RuleSet huge = TwoWeights(2000000000, -2000000000);
    for (int i = 0; i < 30; ++i)
        huge.BirthList.push_back(i * 1000003);
    c = CompileRule(huge, 2);
    EXPECT_EQ(c.decision, Decision::Search);
    EXPECT_EQ(c.ClassOf(29 * 1000003), CompiledRule::kBirth);
    EXPECT_EQ(c.ClassOf(29 * 1000003 + 1), 0);
}

TEST(CompiledRule, CacheRebuildsOnlyWhenTheRuleChanges) {
    CompiledRuleCache cache;
    RuleSet r = TwoWeights(1, 1);
    r.BirthList = {2};
    const CompiledRule* first = &cache.Get(r, 2);
    EXPECT_EQ(first->ClassOf(2), CompiledRule::kBirth);
    r.BirthList[0] = 1;  // changed in place, as an editor would
    EXPECT_EQ(cache.Get(r, 2).ClassOf(2), 0);
    EXPECT_EQ(cache.Get(r, 2).ClassOf(1), CompiledRule::kBirth);
    r.Weights[PositionIndex(1, 1)] = 5;
    EXPECT_EQ(cache.Get(r, 2).lanes, Lanes::Int8);
    r.History = true;
    EXPECT_TRUE(cache.Get(r, 2).firstStateOnly);
}

}  // namespace
}  // namespace zentorix
