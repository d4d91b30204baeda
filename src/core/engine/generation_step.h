#pragma once

#include "engine/step_observer.h"
#include "model/settings.h"
#include "model/world.h"

namespace zentorix {

// The plain step treats the field as a bounded plane; the torus step wraps both
// axes over ExtentX by ExtentY cells.
enum class StepForm { Plain, Torus };

// One generation of the Main Field: landscape passes, rule evaluation, update,
// repaint of the visible window, statistics hook, counters, auto-stop. Runs on
// the World's worker threads and returns when the generation is complete.
void GenerationStep(World& world, const Settings& settings, StepObserver& observer, StepForm form);

namespace reference {
// A literal transcription of the documented step, kept as the oracle that the
// fast step is tested against.
void GenerationStep(World& world, const Settings& settings, StepObserver& observer, StepForm form);
}  // namespace reference

// The parts every implementation shares.
// Resets the counts and runs the landscape passes that precede the evaluation.
void BeginGeneration(World& world, const Settings& settings);
// Repaints the changed cells of the observer's visible window.
void RepaintChangedCells(const World& world, const Settings& settings, StepObserver& observer);
// The same repaint, the same calls in the same order, skipping runs of cells
// with nothing to paint.
void RepaintChangedCellsFast(World& world, const Settings& settings, StepObserver& observer);
// Statistics hook, generation and colour-phase advance, auto-stop.
void FinishGeneration(World& world, const Settings& settings, StepObserver& observer);

// Adds one to a state without wrapping past the largest value.
inline std::int32_t SaturatingIncrement(std::int32_t v) {
    return v == INT32_MAX ? v : v + 1;
}

}  // namespace zentorix
