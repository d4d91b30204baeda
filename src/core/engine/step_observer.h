#pragma once

#include <cstdint>

#include "model/colour_model.h"
#include "model/world.h"

namespace zentorix {

// An image the repaint pass may fill itself instead of calling DrawCell for each
// cell: 32-bit pixels holding cells of `cellSize` pixels, each painted square
// leaving `insetLead` pixels free at its left and top and `insetTrail` at its
// right and bottom, exactly as DrawCell paints it.
struct PixelSurface {
    std::uint32_t* pixels = nullptr;  // the image's top-left pixel
    int stride = 0;                   // pixels from one image row to the next
    int width = 0;
    int height = 0;
    int originX = 0;  // surface position (cell (1, 1) starts at 0, 0) of pixel (0, 0)
    int originY = 0;
    int cellSize = 1;
    int insetLead = 0;
    int insetTrail = 0;
    // Changes whenever anything but the step's painters changes the image;
    // 0 when the image is not kept between paints. A kept image is painted
    // only where cells changed since the step last painted it.
    std::uint64_t imageVersion = 0;
    // The surface's pixel value of a stored colour.
    std::uint32_t (*toPixel)(Colour) = nullptr;
};

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
    // A surface to paint into directly, or null to receive DrawCell calls.
    virtual PixelSurface* Surface() { return nullptr; }
    // A generation is complete: the counters hold its counts and Generation its
    // number (not yet advanced).
    virtual void GenerationFinished(const World& world) { (void)world; }
    // The field died out with auto-stop on: the run is to stop.
    virtual void StopRequested() {}
};

}  // namespace zentorix
