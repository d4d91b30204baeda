#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "census/census_json.h"
#include "census/census_run.h"

namespace zentorix {

// One run as a census file tells it.
struct CensusRunRecord {
    std::uint64_t run = 0;
    std::int64_t ruleIndex = 0;
    std::string rule;
    std::uint64_t seed = 0;
    CensusOutcome outcome = CensusOutcome::Active;
    int period = 0;  // 0 for none
    std::int64_t generation = 0;
    std::int64_t liveFirst = 0, liveMin = 0, liveMax = 0, liveFinal = 0;
    std::int64_t bornTotal = 0, diedTotal = 0;
};

struct CensusFileContent {
    JsonValue header;
    std::vector<CensusRunRecord> runs;
    // Bytes up to the end of the last whole line: a census killed while writing
    // leaves a part of a line after them, which a resume cuts off.
    std::size_t completeBytes = 0;
    int unreadableLines = 0;  // whole lines that are not a run
    std::string error;        // not a census file at all
};

// Reads a census file's text: the header object, then one run a line. A last
// line without its line end is a run being written when the census stopped and
// is left out; any other line that is not a run is counted and skipped.
CensusFileContent ReadCensusText(std::string_view text);

// Whether the text starts as a census file does (a window's open path asks).
bool LooksLikeCensus(std::string_view head);

// The run of one line, or nothing when the line is not one.
std::optional<CensusRunRecord> ReadRunLine(const JsonValue& line);

}  // namespace zentorix
