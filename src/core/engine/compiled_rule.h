#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/rule_set.h"

namespace zentorix {

// A rule set turned into what the fast step's kernels need: the weighted
// positions it reads, the narrowest integer lane that holds every sum exactly,
// and a decision (birth, survival) per possible sum, prepared once per change of
// the rule.
struct CompiledRule {
    // How the neighbourhood is summed. Count: every weighted position carries the
    // same weight, so the number of live positions decides; the others hold the
    // weighted sum in lanes of 8, 16, 32 or 64 bits, chosen by the largest sum
    // the weights can reach.
    enum class Lanes : std::uint8_t { Count, Int8, Int16, Int32, Int64 };
    // How a key (the count or the sum) becomes its class. Compare: a handful of
    // keys matter, tested one by one; Table: a byte per key of the reachable
    // range; Search: a binary search over the keys that matter, for huge ranges.
    enum class Decision : std::uint8_t { Compare, Table, Search };

    // Class bits of a key.
    static constexpr std::uint8_t kBirth = 1;
    static constexpr std::uint8_t kSurvival = 2;
    static constexpr int kMaxCompareKeys = 8;

    struct Term {
        std::int8_t dx, dy;
        std::int32_t weight;
    };

    Lanes lanes = Lanes::Count;
    Decision decision = Decision::Compare;
    bool firstStateOnly = false;  // history: only state-1 cells count
    bool history = false;
    std::int32_t historyRange = 0;
    int radius = 1;

    int termCount = 0;
    std::array<Term, kPositionCount> terms{};
    std::int32_t commonWeight = 0;  // Lanes::Count: the weight every term carries

    // Keys are counts (Lanes::Count) or sums; every reachable key lies in
    // lowKey..highKey.
    std::int64_t lowKey = 0;
    std::int64_t highKey = 0;

    // Decision::Compare and Decision::Search: the keys with a non-zero class,
    // ascending, and their classes.
    std::vector<std::int64_t> keys;
    std::vector<std::uint8_t> keyClasses;
    // Decision::Table: the class of key lowKey + i.
    std::vector<std::uint8_t> table;

    // The class of a key, the slow way; used to build the decision and by tests.
    std::uint8_t ClassOf(std::int64_t key) const;
};

// Prepares a rule set for the fast step. `maxRadius` caps the neighbourhood (the
// Other Reality reads the inner ring only, whatever the rule says).
CompiledRule CompileRule(const RuleSet& rules, int maxRadius);

// Keeps the compiled form of one rule set and rebuilds it only when the rule set
// has changed since the last call.
class CompiledRuleCache {
  public:
    const CompiledRule& Get(const RuleSet& rules, int maxRadius);

  private:
    bool valid_ = false;
    int maxRadius_ = 0;
    RuleSet source_;
    CompiledRule compiled_;
};

}  // namespace zentorix
