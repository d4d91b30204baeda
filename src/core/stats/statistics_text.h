#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "stats/stat_texts.h"

namespace zentorix {

// What the opening block of "stat.txt" tells about the experiment.
struct StatisticsHeaderFacts {
    std::string timeAndDate;  // "HH:mm:ss dd.MM.yyyy"
    std::string fileName;
    std::vector<std::string> description;
    std::string rule;  // rule set 0 in rule text
    bool eternalLife = false;
    bool eternalDead = false;
    bool otherRules = false;
    bool autoStart = false;
    std::int32_t start = 0;       // automatic range, when autoStart
    std::int32_t end = 0;         //
    std::int32_t generation = 0;  // the first recorded generation, by hand
};

// Sums over the recorded generations. 64 bits: a whole recording on the
// largest field passes 32 bits long before it ends.
struct StatisticsTotals {
    std::int64_t live = 0;
    std::int64_t born = 0;
    std::int64_t died = 0;
};

// The blocks and lines of "stat.txt", each line ended by CR LF.
std::string StatisticsHeaderText(const StatTexts& texts, const StatisticsHeaderFacts& facts);
// One recorded generation: 55 characters while the numbers fit their columns.
std::string StatisticsDataLine(std::int64_t generation, std::int64_t live, std::int64_t first,
                               std::int64_t born, std::int64_t died);
// `lines` is the number of data lines written; `diedOutAt` the generation in
// which the population died out, when that ended the recording.
std::string StatisticsFooterText(const StatTexts& texts, const StatisticsTotals& totals,
                                 std::int64_t lines, std::optional<std::int64_t> diedOutAt);
// numerator x 100 / (divisor + 1) with two decimals, truncated: "12.34%".
std::string StatisticsPercentage(std::int64_t numerator, std::int64_t divisor);

// Opens the file (anew when `replace`, else for appending), writes and closes it.
// Gives the reason of a failure, or nothing.
std::optional<std::string> WriteStatisticsText(const std::filesystem::path& file,
                                               std::string_view text, bool replace);

}  // namespace zentorix
