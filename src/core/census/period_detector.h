#pragma once

#include <cstdint>
#include <vector>

#include "engine/generation_step.h"
#include "model/settings.h"
#include "model/world.h"

namespace zentorix {

// Finds the first field that repeats one of the last `maxPeriod` fields and
// confirms the repeat cell by cell. Every field is hashed; a hash seen again
// keeps a copy of the field, and the run goes on until a field equals the copy
// (the period, smallest first) or `maxPeriod` generations pass without one (a
// collision, forgotten). What is compared is what decides the future: the
// cells the step updates (live or empty, or the state under a rule with
// history, never a live cell's age or colour) and the landscape phases.
class PeriodDetector {
  public:
    PeriodDetector(const World& world, const Settings& settings, StepForm form, int maxPeriod);

    // After each generation; gives the period once a repeat is confirmed, else 0.
    int Observe(const World& world);

  private:
    std::uint64_t Hash(const World& world) const;
    void Capture(const World& world, std::vector<std::int32_t>& into) const;
    bool SameAsAnchor(const World& world) const;

    int firstX_, lastX_, firstY_, lastY_;
    bool states_;  // compare states, not only live or empty
    int maxPeriod_;
    std::vector<std::uint32_t> coefficients_;  // two per cell, a column of each in turn
    std::vector<std::uint64_t> ring_;          // hashes of the last maxPeriod fields
    int filled_ = 0;
    int next_ = 0;
    // The field kept when its hash was seen again.
    bool anchored_ = false;
    std::uint64_t anchorHash_ = 0;
    int sinceAnchor_ = 0;
    std::vector<std::int32_t> anchor_;
    mutable std::vector<std::int32_t> scratch_;
};

}  // namespace zentorix
