// The generation step the program runs. The landscape phases, the random fills
// and the statistics hook are shared with the reference step; evaluation and
// update run on byte planes across the worker threads (StepEngine), which also
// read the Eternal presets unless a fill may change the layers first; the
// repaint skips runs of cells with nothing to paint.
#include <algorithm>
#include <array>

#include "engine/generation_step.h"
#include "engine/other_reality.h"
#include "engine/step_engine.h"

namespace zentorix {

namespace {

// Cells per block whose need for painting is tested at once.
constexpr int kRepaintBlock = 32;

// True when some cell of rows y..end-1 has anything to paint: a live value, a
// died mark (emptied or highlighted) or, when shown, a born mark.
bool AnyToPaint(const std::int32_t* v, const std::uint8_t* b, const std::uint8_t* d, int y, int end,
                std::uint8_t bornMask) {
    int any = 0;
    for (int i = y; i < end; ++i)
        any |= (v[i] > 0 ? 1 : 0) | d[i] | (b[i] & bornMask);
    return any != 0;
}

// The pixel values of everything the repaint may paint.
struct RepaintColours {
    std::array<std::uint32_t, kPaletteSize + 1> state;
    std::uint32_t background, birth, dead;
};

// Paints the changed cells of the columns straight into the surface. Each cell's
// square takes the colour the last of its DrawCell calls would have given it.
void PaintColumns(const World& world, const ColourModel& colours, const PixelSurface& surface,
                  const RepaintColours& rgb, int firstColumn, int lastColumn, int firstRow,
                  int lastRow) {
    const int c = surface.cellSize;
    for (int x = firstColumn; x <= lastColumn; ++x) {
        const int left = std::max((x - 1) * c + surface.insetLead - surface.originX, 0);
        const int right = std::min(x * c - surface.insetTrail - surface.originX, surface.width);
        if (left >= right)
            continue;
        const std::int32_t* v = world.MainField.Column(x) - world.MainField.Low();
        const std::uint8_t* b = world.BornMarks.Column(x) - world.BornMarks.Low();
        const std::uint8_t* d = world.DiedMarks.Column(x) - world.DiedMarks.Low();
        for (int y = firstRow; y <= lastRow; ++y) {
            std::uint32_t pixel;
            if (colours.ShowDeadCells && d[y] != 0)
                pixel = rgb.dead;
            else if (colours.ShowBirthCells && b[y] != 0)
                pixel = rgb.birth;
            else if (v[y] > 0)
                pixel = rgb.state[static_cast<std::size_t>(std::min(v[y], kPaletteSize))];
            else if (v[y] == 0 && d[y] != 0)
                pixel = rgb.background;
            else
                continue;
            const int top = std::max((y - 1) * c + surface.insetLead - surface.originY, 0);
            const int bottom =
                std::min(y * c - surface.insetTrail - surface.originY, surface.height);
            for (int py = top; py < bottom; ++py)
                std::fill(surface.pixels + static_cast<std::ptrdiff_t>(py) * surface.stride + left,
                          surface.pixels + static_cast<std::ptrdiff_t>(py) * surface.stride + right,
                          pixel);
        }
    }
}

}  // namespace

void RepaintChangedCellsFast(World& world, const Settings& settings, StepObserver& observer) {
    const CellRect window = RepaintWindow(observer);
    if (window.Empty())
        return;
    const ColourModel& colours = settings.Colours;
    if (PixelSurface* surface = observer.Surface(); surface && surface->toPixel) {
        RepaintColours rgb;
        for (int v = 1; v <= kPaletteSize; ++v)
            rgb.state[static_cast<std::size_t>(v)] = surface->toPixel(colours.StateColour[v]);
        rgb.background = surface->toPixel(colours.BackgroundColour);
        rgb.birth = surface->toPixel(colours.BirthColour);
        rgb.dead = surface->toPixel(colours.DeadColour);
        // Cells never share pixels, so the columns paint in parallel.
        StepEngineOf(world).ForColumnRanges(window.FirstColumn, window.LastColumn,
                                            [&](int first, int last) {
                                                PaintColumns(world, colours, *surface, rgb, first,
                                                             last, window.FirstRow, window.LastRow);
                                            });
        return;
    }
    const std::uint8_t bornMask = colours.ShowBirthCells ? 0xFF : 0;
    for (int x = window.FirstColumn; x <= window.LastColumn; ++x) {
        const std::int32_t* v = world.MainField.Column(x) - world.MainField.Low();
        const std::uint8_t* b = world.BornMarks.Column(x) - world.BornMarks.Low();
        const std::uint8_t* d = world.DiedMarks.Column(x) - world.DiedMarks.Low();
        for (int y = window.FirstRow; y <= window.LastRow;) {
            const int end = std::min(y + kRepaintBlock, window.LastRow + 1);
            if (!AnyToPaint(v, b, d, y, end, bornMask)) {
                y = end;
                continue;
            }
            for (; y < end; ++y)
                RepaintCell(observer, colours, x, y, v[y], b[y], d[y]);
        }
    }
}

void GenerationStep(World& world, const Settings& settings, StepObserver& observer, StepForm form) {
    StepEngine& engine = StepEngineOf(world);
    if (settings.AnyRandomFill()) {
        // The fills may change the layers after the presets were taken from
        // them, so the landscape passes run as they are.
        BeginGeneration(world, settings);
        engine.MainPass(world, settings, form, nullptr);
    } else {
        GenerationCounters& c = world.Counters;
        c.LiveCount = c.StateOneCount = c.BornCount = c.DiedCount = 0;
        const EternalPresets presets = AdvanceEternalPhases(world, settings);
        engine.MainPass(world, settings, form, &presets);
    }
    RepaintChangedCellsFast(world, settings, observer);
    FinishGeneration(world, settings, observer);
}

void OtherRealityStep(World& world) {
    StepEngineOf(world).OtherRealityPass(world);
}

}  // namespace zentorix
