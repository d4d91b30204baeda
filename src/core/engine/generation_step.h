#pragma once

#include <algorithm>

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
// The step in its plain, literal form, kept as the oracle that the
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
// Paints every cell of the observer's visible window as a full redraw followed
// by the last generation's repaint would: for a view that skipped the repaint of
// generations it never showed. An empty cell with no died mark shows the
// displayed landscape layers (Other Reality over Eternal Life over Eternal Dead)
// or the background.
void PaintVisibleCells(World& world, const Settings& settings, StepObserver& observer);
// Statistics hook, generation and colour-phase advance, auto-stop.
void FinishGeneration(World& world, const Settings& settings, StepObserver& observer);

// The observer's visible window clipped to the marks, the smallest grids:
// nothing outside them can be painted.
inline CellRect RepaintWindow(const StepObserver& observer) {
    CellRect window = observer.VisibleWindow();
    window.FirstColumn = std::max(window.FirstColumn, kLayerLow);
    window.FirstRow = std::max(window.FirstRow, kLayerLow);
    window.LastColumn = std::min(window.LastColumn, kGridHigh);
    window.LastRow = std::min(window.LastRow, kGridHigh);
    return window;
}

// The repaint of one cell: its state, an emptied cell's background, then the
// born and died highlights, each call painting over the one before.
inline void RepaintCell(StepObserver& observer, const ColourModel& colours, int x, int y,
                        std::int32_t v, std::uint8_t born, std::uint8_t died) {
    if (v > 0)
        observer.DrawCell(x, y, colours.ColourOfState(v));
    if (v == 0 && died != 0)
        observer.DrawCell(x, y, colours.BackgroundColour);
    if (colours.ShowBirthCells && born != 0)
        observer.DrawCell(x, y, colours.BirthColour);
    if (colours.ShowDeadCells && died != 0)
        observer.DrawCell(x, y, colours.DeadColour);
}

// Adds one to a state without wrapping past the largest value.
inline std::int32_t SaturatingIncrement(std::int32_t v) {
    return v == INT32_MAX ? v : v + 1;
}

// The next value of a cell without history, coloured by age: a live cell dies
// on its died mark or ages, an empty one is born on its born mark, and an age
// past `ageLimit` starts again at 1.
inline std::int32_t NextAge(std::int32_t cur, std::uint8_t born, std::uint8_t died,
                            std::int32_t ageLimit) {
    std::int32_t n = cur;
    if (cur >= 1 && died == 1)
        n = 0;
    if (cur >= 1 && died == 0)
        n = SaturatingIncrement(n);
    if ((cur == 0 && born == 1) || n > ageLimit)
        n = 1;
    return n;
}

// The next value of a multi-state cell: a live cell that fails survival starts
// to decay (not counted as died yet), decay goes on whatever the neighbours, and
// the last of `range` states ends with the cell empty and its died mark set.
inline std::int32_t NextHistoryState(std::int32_t cur, std::uint8_t born, std::uint8_t& died,
                                     std::int32_t range) {
    std::int32_t n = cur;
    if (cur == 1 && died == 1) {
        n = 2;
        died = 0;
    }
    if (born == 1 && cur == 0)
        n = 1;
    if (cur > 1)
        n = SaturatingIncrement(cur);
    if (range <= cur || range <= n) {
        n = 0;
        died = 1;
    }
    return n;
}

}  // namespace zentorix
