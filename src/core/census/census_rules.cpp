#include "census/census_rules.h"

#include <algorithm>

#include "formats/text_file.h"
#include "model/rule_set.h"
#include "rules/typed_rule.h"

namespace zentorix {

namespace {

// splitmix64: the same numbers on every machine and library, unlike the
// standard distributions.
class RuleRandom {
  public:
    explicit RuleRandom(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // Uniform in lo..hi.
    int Between(int lo, int hi) {
        const auto span = static_cast<std::uint64_t>(static_cast<std::int64_t>(hi) - lo + 1);
        return static_cast<int>(lo + static_cast<std::int64_t>(Next() % span));
    }
    bool Coin() { return (Next() >> 63) != 0; }

  private:
    std::uint64_t state_;
};

std::string Digits(RuleRandom& random, int first, bool atLeastOne) {
    std::string digits;
    for (int d = first; d <= 8; ++d)
        if (random.Coin())
            digits.push_back(static_cast<char>('0' + d));
    if (digits.empty() && atLeastOne)
        digits.push_back(static_cast<char>('0' + random.Between(first, 8)));
    return digits;
}

std::string WeightedRule(RuleRandom& random, int lo, int hi) {
    std::string text;
    int low = 0, high = 0;
    for (int i = 0; i < kInnerTokenCount; ++i) {
        const int w = random.Between(lo, hi);
        // The cell's own weight counts for a live cell only; the reach below is
        // what any cell can see.
        (w < 0 ? low : high) += w;
        text.append(kPositionTokens[static_cast<std::size_t>(i)].name)
            .append(std::to_string(w))
            .push_back(',');
    }
    text.append("EX0,HI0,");
    std::string births, survivals;
    // Sum 0 is left out of births, or every empty region would fill at once.
    for (int s = low; s <= high; ++s) {
        if (s != 0 && random.Between(0, 2) == 0)
            births.append("RB").append(std::to_string(s)).push_back(',');
        if (random.Between(0, 2) == 0)
            survivals.append("RS").append(std::to_string(s)).push_back(',');
    }
    if (births.empty())
        births.append("RB")
            .append(std::to_string(high > 0 ? high : (low < 0 ? low : 1)))
            .push_back(',');
    return text.append(births).append(survivals);
}

}  // namespace

RuleListText ReadRuleList(std::string_view fileText) {
    RuleListText list;
    const std::string text = DecodeText(fileText);
    int number = 0;
    ForEachTextLine(text, [&](std::string_view line) {
        ++number;
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        if (line.empty() || StartsWith(line, "//") ||
            (StartsWith(line, "#") && !StartsWith(line, "#R ")))
            return;
        if (list.rules.size() >= kMaxCensusRules) {
            list.problems.push_back({number, "more than " + std::to_string(kMaxCensusRules) +
                                                 " rules: the line is left out"});
            return;
        }
        RuleSet scratch;
        const TypedRuleResult read = ReadTypedRule(scratch, line);
        if (!read.problem.empty())
            list.problems.push_back({number, read.problem});
        else
            list.rules.push_back({std::string(line), number});
    });
    return list;
}

std::vector<CensusRule> RandomRules(const RandomRuleSpec& spec) {
    RuleRandom random(spec.seed);
    std::vector<CensusRule> rules;
    rules.reserve(static_cast<std::size_t>(std::max(spec.count, 0)));
    for (int i = 0; i < spec.count; ++i) {
        std::string text;
        switch (spec.family) {
            case RandomRuleFamily::Life:
            case RandomRuleFamily::Generations:
                // Births and survivals drawn in this order, the state count last.
                text.append("B").append(Digits(random, 1, true));
                text.append("/S").append(Digits(random, 0, false));
                if (spec.family == RandomRuleFamily::Generations)
                    text.append("/C").append(std::to_string(random.Between(3, 8)));
                break;
            case RandomRuleFamily::Weighted:
                text = WeightedRule(random, spec.weightMin, spec.weightMax);
                break;
        }
        rules.push_back({std::move(text), 0});
    }
    return rules;
}

std::string_view RandomFamilyName(RandomRuleFamily family) {
    switch (family) {
        case RandomRuleFamily::Life:
            return "life";
        case RandomRuleFamily::Generations:
            return "generations";
        case RandomRuleFamily::Weighted:
            return "weighted";
    }
    return "life";
}

}  // namespace zentorix
