#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zentorix {

// One rule of a census: its text as the typed-rule box reads it, and where it
// came from (its line in the rules file, or 0 for a generated rule).
struct CensusRule {
    std::string text;
    int line = 0;
};

// A line of the rules file that does not read as a rule.
struct RuleLineProblem {
    int line = 0;
    std::string problem;
};

struct RuleListText {
    std::vector<CensusRule> rules;
    std::vector<RuleLineProblem> problems;
};

// A census never takes more rules than this from one file.
inline constexpr std::size_t kMaxCensusRules = 1'000'000;

// Reads a rules file: one rule a line in any notation of the typed-rule box
// ("B3/S23", "23/3", "345/2/4", tokens with weights and history, "#R " in
// front or not). Blank lines and lines starting with "#" (other than "#R ")
// or "//" are comments. A line that is not a rule is kept as a problem naming
// its line, and the rest is read on; lines past the rule limit are problems too.
RuleListText ReadRuleList(std::string_view fileText);

enum class RandomRuleFamily { Life, Generations, Weighted };

struct RandomRuleSpec {
    int count = 0;
    RandomRuleFamily family = RandomRuleFamily::Life;
    std::uint64_t seed = 1;
    int weightMin = -1;  // weighted rules: the range of each inner weight
    int weightMax = 1;
};

// The same spec gives the same rules on every machine: births and survivals of
// Life-like rules ("B36/S23"), the same with a state count of 3 to 8
// ("B2/S345/C4"), or inner weights drawn from the range with birth and survival
// sums drawn from the sums those weights can reach (token text).
std::vector<CensusRule> RandomRules(const RandomRuleSpec& spec);

std::string_view RandomFamilyName(RandomRuleFamily family);

}  // namespace zentorix
