#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "model/settings.h"
#include "model/world.h"

namespace zentorix {

// Where every run of a census starts.
struct CensusStart {
    std::optional<std::filesystem::path> base;  // any file the program opens
    std::optional<std::pair<int, int>> field;   // field width and height
    std::optional<std::pair<int, int>> soup;    // soup width and height, centred
    int density = 50;                           // percent of the soup's cells set
    std::optional<bool> torus;                  // else the base decides
};

// Brings a world and its settings to a run's start: the base file opened over
// them (or the state they hold), the field size, the topology, the rule read
// over rule set 0 as the typed-rule box reads it (an empty text keeps the
// base's rule), the random source fixed at the seed, then the soup filled in
// the centre by the program's random fill. Throws FileError or a runtime_error
// when the base cannot be opened or the rule does not read.
void BuildCensusStart(World& world, Settings& settings, const CensusStart& start,
                      std::string_view rule, std::uint64_t seed);

// The cells of the soup: centred on the field, clipped to it.
CellRect SoupRect(const World& world, int width, int height);

enum class CensusOutcome { Dies, Still, Periodic, Active };
std::string_view OutcomeName(CensusOutcome outcome);
std::optional<CensusOutcome> OutcomeNamed(std::string_view name);

struct CensusLimits {
    std::int64_t generations = 1000;
    int maxPeriod = 256;
};

// What one run came to. Populations count the cells the step counts.
struct RunFigures {
    CensusOutcome outcome = CensusOutcome::Active;
    int period = 0;               // periodic, still (1); else 0
    std::int64_t generation = 0;  // generations run when the outcome was known
    std::int64_t liveFirst = 0;   // at the start
    std::int64_t liveMin = 0;     // over the start and every generation
    std::int64_t liveMax = 0;
    std::int64_t liveFinal = 0;
    // The totals a statistics recording of every generation would close with.
    std::int64_t bornTotal = 0;
    std::int64_t diedTotal = 0;
    std::int64_t liveTotal = 0;
};

// Runs the world until its outcome is known or the limit is reached: dies out
// (the field empty with nothing that can bring life back), still or periodic (a
// repeated field, confirmed cell by cell), else active. Random fills can always
// bring something new, so with one switched on every run goes to the limit.
// The step runs on the calling thread only.
RunFigures RunCensusExperiment(World& world, const Settings& settings, const CensusLimits& limits);

// Live cells over the range the step counts.
std::int64_t CountStepLive(const World& world, bool torus);

}  // namespace zentorix
