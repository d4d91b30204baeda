#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "census/census_plan.h"

namespace zentorix {

// Receives each run as it ends, one call at a time; false stops the census
// (the runs in progress end, no new one starts).
using CensusSink = std::function<bool(std::uint64_t run, const RunFigures& figures)>;

// Runs every run of the plan's shard not marked in `done` (indexed by run,
// may be shorter than the grid), `jobs` at a time, each on a thread of its
// own with a world of its own. With one job the runs end in grid order. A run
// that fails (its base became unreadable) stops the census with its reason
// rethrown here.
void RunCensus(const CensusPlan& plan, int jobs, const std::vector<bool>& done,
               const CensusSink& sink);

// One run of the plan from its start.
RunFigures RunOne(const CensusPlan& plan, std::uint64_t run);

}  // namespace zentorix
