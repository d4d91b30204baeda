#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "census/census_json.h"
#include "census/census_rules.h"
#include "census/census_run.h"

namespace zentorix {

// Everything that decides which runs a census holds and how each one goes.
struct CensusParameters {
    std::optional<std::filesystem::path> rulesFile;
    std::string rulesDigest;  // of the rules file's bytes
    std::optional<RandomRuleSpec> random;
    CensusStart start;
    std::string baseDigest;  // of the base file's bytes
    std::uint64_t seedFirst = 1;
    std::uint64_t seedLast = 1;
    CensusLimits limits;
    int shardIndex = 1;  // 1..shardCount
    int shardCount = 1;
};

// The grid of runs: every rule with every seed. Run r holds rule r / seeds and
// seed seedFirst + r % seeds; shard i of n holds the runs with r % n = i - 1,
// so n shards cover the grid exactly once with no coordination.
struct CensusPlan {
    CensusParameters parameters;
    std::vector<CensusRule> rules;  // the file's rules, then the generated ones
    std::vector<RuleLineProblem> problems;
    std::string baseRuleText;  // the base's own rule in tokens, shown for an empty rule

    std::uint64_t Seeds() const { return parameters.seedLast - parameters.seedFirst + 1; }
    std::uint64_t Runs() const { return rules.size() * Seeds(); }
    std::uint64_t RunsInShard() const;
    bool InShard(std::uint64_t run) const {
        return run % static_cast<std::uint64_t>(parameters.shardCount) ==
               static_cast<std::uint64_t>(parameters.shardIndex - 1);
    }
    std::size_t RuleOf(std::uint64_t run) const { return static_cast<std::size_t>(run / Seeds()); }
    std::uint64_t SeedOf(std::uint64_t run) const { return parameters.seedFirst + run % Seeds(); }
};

// A census never holds more runs than this.
inline constexpr std::uint64_t kMaxCensusRuns = 1'000'000'000;

// Reads the rules file and makes the random rules; without either, the one
// rule is the base's own (empty text). Builds one start to prove the base
// opens. Throws FileError when the rules or the base file cannot be read.
CensusPlan MakeCensusPlan(CensusParameters parameters);

// The parameters as the header carries them; two censuses with equal texts
// hold the same runs with the same results.
JsonValue ParametersJson(const CensusParameters& parameters);
// The same without what may differ between the shards of one census (the
// shard, and where each machine keeps the files), for merging.
JsonValue MergeableParametersJson(const JsonValue& parameters);

// The first line of a census file (newline included).
std::string CensusHeaderLine(const CensusPlan& plan, std::string_view version,
                             std::string_view started);
// One run's line (newline included).
std::string CensusRunLine(const CensusPlan& plan, std::uint64_t run, const RunFigures& figures);

// The start a census's header names (base, field, soup, topology), for
// rebuilding one of its runs; nothing when the parameters are not a census's.
std::optional<CensusStart> StartOfParameters(const JsonValue& parameters);

// FNV-1a of the bytes, as 16 hexadecimal digits.
std::string ContentDigest(std::string_view bytes);

}  // namespace zentorix
