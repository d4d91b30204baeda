#pragma once

#include "model/world.h"
#include "view/colour_model.h"

namespace zentorix {

// What the generation step tells whoever runs it. The GUI paints and records
// statistics; the batch program prints counts. Every method has a do-nothing
// default so a caller overrides only what it needs.
class StepObserver {
  public:
    virtual ~StepObserver() = default;

    // The cells the repaint pass covers (columns and rows, both ends included);
    // an empty rectangle skips the pass.
    virtual CellRect VisibleWindow() const { return {}; }
    // Paint one cell of the visible window.
    virtual void DrawCell(int x, int y, Colour colour) {
        (void)x;
        (void)y;
        (void)colour;
    }
    // A generation is complete: the counters hold its counts and Generation its
    // number (not yet advanced).
    virtual void GenerationFinished(const World& world) { (void)world; }
    // The field died out with auto-stop on: the run is to stop.
    virtual void StopRequested() {}
};

}  // namespace zentorix
