#include "engine/compiled_rule.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace zentorix {

namespace {

// Above this many keys a table would cost more memory than it saves time.
constexpr std::int64_t kMaxTableKeys = std::int64_t{1} << 18;

bool Contains(const std::vector<std::int32_t>& list, std::int64_t sum) {
    return std::find(list.begin(), list.end(), sum) != list.end();
}

// The key a listed sum stands for, or false when no neighbourhood can reach it.
bool KeyOfSum(const CompiledRule& rule, std::int64_t sum, std::int64_t& key) {
    if (rule.lanes != CompiledRule::Lanes::Count) {
        key = sum;
        return sum >= rule.lowKey && sum <= rule.highKey;
    }
    if (rule.termCount == 0) {
        key = 0;
        return sum == 0;
    }
    const std::int64_t w = rule.commonWeight;
    if (sum % w != 0)
        return false;
    key = sum / w;
    return key >= rule.lowKey && key <= rule.highKey;
}

}  // namespace

std::uint8_t CompiledRule::ClassOf(std::int64_t key) const {
    if (key < lowKey || key > highKey)
        return 0;
    if (decision == Decision::Table)
        return table[static_cast<std::size_t>(key - lowKey)];
    const auto it = std::lower_bound(keys.begin(), keys.end(), key);
    if (it == keys.end() || *it != key)
        return 0;
    return keyClasses[static_cast<std::size_t>(it - keys.begin())];
}

CompiledRule CompileRule(const RuleSet& rules, int maxRadius) {
    CompiledRule rule;
    rule.radius = std::min(rules.Radius(), maxRadius);
    rule.history = rules.History;
    rule.firstStateOnly = rules.History;
    rule.historyRange = rules.HistoryRange;

    std::int64_t positive = 0, negative = 0;
    bool allEqual = true;
    for (int dx = -rule.radius; dx <= rule.radius; ++dx) {
        for (int dy = -rule.radius; dy <= rule.radius; ++dy) {
            const std::int32_t w = rules.Weight(dx, dy);
            if (w == 0)
                continue;
            if (rule.termCount > 0 && w != rule.terms[0].weight)
                allEqual = false;
            rule.terms[static_cast<std::size_t>(rule.termCount++)] = {
                static_cast<std::int8_t>(dx), static_cast<std::int8_t>(dy), w};
            (w > 0 ? positive : negative) += w;
        }
    }

    const std::int64_t reach = std::max(positive, -negative);
    if (allEqual) {
        rule.lanes = CompiledRule::Lanes::Count;
        rule.commonWeight = rule.termCount > 0 ? rule.terms[0].weight : 0;
        rule.lowKey = 0;
        rule.highKey = rule.termCount;
    } else {
        // The partial sums of any order stay between the negative and the
        // positive total, so the lane only has to hold the larger magnitude.
        if (reach <= std::numeric_limits<std::int8_t>::max())
            rule.lanes = CompiledRule::Lanes::Int8;
        else if (reach <= std::numeric_limits<std::int16_t>::max())
            rule.lanes = CompiledRule::Lanes::Int16;
        else if (reach <= std::numeric_limits<std::int32_t>::max())
            rule.lanes = CompiledRule::Lanes::Int32;
        else
            rule.lanes = CompiledRule::Lanes::Int64;
        rule.lowKey = negative;
        rule.highKey = positive;
    }

    // Every key that some listed sum reaches, with its class.
    std::vector<std::int64_t> candidates;
    for (const auto* list : {&rules.BirthList, &rules.SurvivalList}) {
        for (std::int32_t sum : *list) {
            std::int64_t key = 0;
            if (KeyOfSum(rule, sum, key))
                candidates.push_back(key);
        }
    }
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    for (std::int64_t key : candidates) {
        const std::int64_t sum =
            rule.lanes == CompiledRule::Lanes::Count ? key * rule.commonWeight : key;
        std::uint8_t cls = 0;
        if (Contains(rules.BirthList, sum))
            cls |= CompiledRule::kBirth;
        if (Contains(rules.SurvivalList, sum))
            cls |= CompiledRule::kSurvival;
        rule.keys.push_back(key);
        rule.keyClasses.push_back(cls);
    }

    const std::int64_t span = rule.highKey - rule.lowKey + 1;
    if (static_cast<int>(rule.keys.size()) <= CompiledRule::kMaxCompareKeys) {
        rule.decision = CompiledRule::Decision::Compare;
    } else if (span <= kMaxTableKeys) {
        rule.decision = CompiledRule::Decision::Table;
        rule.table.assign(static_cast<std::size_t>(span), 0);
        for (std::size_t i = 0; i < rule.keys.size(); ++i)
            rule.table[static_cast<std::size_t>(rule.keys[i] - rule.lowKey)] = rule.keyClasses[i];
    } else {
        rule.decision = CompiledRule::Decision::Search;
    }
    return rule;
}

const CompiledRule& CompiledRuleCache::Get(const RuleSet& rules, int maxRadius) {
    if (!valid_ || maxRadius != maxRadius_ || !(rules == source_)) {
        compiled_ = CompileRule(rules, maxRadius);
        source_ = rules;
        maxRadius_ = maxRadius;
        valid_ = true;
    }
    return compiled_;
}

}  // namespace zentorix
