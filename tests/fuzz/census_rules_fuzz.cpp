// Any rules file of a census is read without crashing or hanging: every rule it
// keeps reads again as the typed-rule box reads it, and every problem names a
// line of the file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "census/census_rules.h"
#include "fuzz_pattern_file.h"
#include "model/rule_set.h"
#include "rules/typed_rule.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const zentorix::RuleListText list = zentorix::ReadRuleList(bytes);
    const auto lines = static_cast<int>(std::count(bytes.begin(), bytes.end(), '\n') +
                                        std::count(bytes.begin(), bytes.end(), '\r') + 1);
    for (const zentorix::CensusRule& rule : list.rules) {
        zentorix::RuleSet rules;
        zentorix::fuzz::Check(rule.line >= 1 && rule.line <= lines &&
                              zentorix::ReadTypedRule(rules, rule.text).problem.empty() &&
                              rules.BirthCount() <= zentorix::kMaxListEntries);
    }
    for (const zentorix::RuleLineProblem& problem : list.problems)
        zentorix::fuzz::Check(problem.line >= 1 && problem.line <= lines &&
                              !problem.problem.empty());
    return 0;
}
