#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "census/census_file.h"

namespace zentorix {

// The runs of one rule, summed up.
struct RuleSummary {
    std::int64_t ruleIndex = 0;
    std::string rule;
    std::int64_t runs = 0;
    std::int64_t dies = 0, still = 0, periodic = 0, active = 0;
    std::vector<std::pair<int, std::int64_t>> periods;  // period, runs; most common first
    std::optional<double> medianSettled;                // generation of the runs that settled
    double meanFinal = 0;                               // final population
};

// One row per rule, in the rules' order; each run counted once however many
// files hold it.
std::vector<RuleSummary> SummariseRuns(const std::vector<CensusRunRecord>& runs);

enum class SummaryStyle { Text, Csv, Markdown };

// The table: rule, runs, % dying, % still, % periodic with its three most
// common periods ("2:12 3:1" for period 2 twelve times and 3 once), % active,
// median generation of settling, mean final population.
std::string SummaryTable(const std::vector<RuleSummary>& rows, SummaryStyle style);

}  // namespace zentorix
