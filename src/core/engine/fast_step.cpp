// The generation step the program runs. The landscape phases, the random fills
// and the statistics hook are shared with the reference step; evaluation and
// update run on byte planes across the worker threads (StepEngine), which also
// read the Eternal presets unless a fill may change the layers first; the
// repaint skips runs of cells with nothing to paint.
#include <algorithm>
#include <array>
#include <bit>
#include <vector>

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

// A cell's pixel in a whole-window paint of one pixel a cell without layers:
// the state's colour (state 0 holds the background), unless a shown mark
// paints over it. The masks are 0xFF for a shown mark, else 0.
inline std::uint32_t WholePixel(const RepaintColours& rgb, std::int32_t v, std::uint8_t born,
                                std::uint8_t died, std::uint8_t birthMask, std::uint8_t deadMask) {
    std::uint32_t pixel = rgb.state[static_cast<std::size_t>(std::clamp(v, 0, kPaletteSize))];
    pixel = (born & birthMask) != 0 ? rgb.birth : pixel;
    return (died & deadMask) != 0 ? rgb.dead : pixel;
}

// Columns painted together: their pixels of one image row share a cache line at
// small cell sizes, so the image is written row by row within the strip instead
// of one scattered pixel per row.
constexpr int kPaintStrip = 16;

struct StripColumn {
    int left, right;  // the cell's pixels in an image row, clipped to the image
    const std::int32_t* v;
    const std::uint8_t* b;
    const std::uint8_t* d;
};

// One pixel per cell: a soup changes half its cells in no order, so each pixel
// is chosen without a branch (a cell with nothing to paint keeps its pixel).
void PaintStripOnePixel(const ColourModel& colours, const PixelSurface& surface,
                        const RepaintColours& rgb, const StripColumn* strip, int count,
                        int firstRow, int lastRow) {
    const bool showDead = colours.ShowDeadCells, showBirth = colours.ShowBirthCells;
    const int first = std::max(firstRow, surface.originY + 1);
    const int last = std::min(lastRow, surface.originY + surface.height);
    for (int y = first; y <= last; ++y) {
        std::uint32_t* row =
            surface.pixels + static_cast<std::ptrdiff_t>(y - 1 - surface.originY) * surface.stride;
        for (int i = 0; i < count; ++i) {
            const StripColumn& col = strip[i];
            const std::int32_t v = col.v[y];
            const bool died = col.d[y] != 0;
            std::uint32_t pixel = row[col.left];
            pixel = v == 0 && died ? rgb.background : pixel;
            pixel =
                v > 0 ? rgb.state[static_cast<std::size_t>(std::clamp(v, 0, kPaletteSize))] : pixel;
            pixel = showBirth && col.b[y] != 0 ? rgb.birth : pixel;
            pixel = showDead && died ? rgb.dead : pixel;
            row[col.left] = pixel;
        }
    }
}

// Paints the changed cells of the columns straight into the surface. Each cell's
// square takes the colour the last of its DrawCell calls would have given it.
void PaintColumns(const World& world, const ColourModel& colours, const PixelSurface& surface,
                  const RepaintColours& rgb, int firstColumn, int lastColumn, int firstRow,
                  int lastRow) {
    const int c = surface.cellSize;
    std::array<StripColumn, kPaintStrip> strip;
    for (int x0 = firstColumn; x0 <= lastColumn; x0 += kPaintStrip) {
        int count = 0;
        for (int x = x0; x <= std::min(x0 + kPaintStrip - 1, lastColumn); ++x) {
            const int left = std::max((x - 1) * c + surface.insetLead - surface.originX, 0);
            const int right = std::min(x * c - surface.insetTrail - surface.originX, surface.width);
            if (left < right)
                strip[static_cast<std::size_t>(count++)] = {
                    left, right, world.MainField.Column(x) - world.MainField.Low(),
                    world.BornMarks.Column(x) - world.BornMarks.Low(),
                    world.DiedMarks.Column(x) - world.DiedMarks.Low()};
        }
        if (count == 0)
            continue;
        if (c == 1) {
            PaintStripOnePixel(colours, surface, rgb, strip.data(), count, firstRow, lastRow);
            continue;
        }
        for (int y = firstRow; y <= lastRow; ++y) {
            const int top = std::max((y - 1) * c + surface.insetLead - surface.originY, 0);
            const int bottom =
                std::min(y * c - surface.insetTrail - surface.originY, surface.height);
            if (top >= bottom)
                continue;
            for (int i = 0; i < count; ++i) {
                const StripColumn& col = strip[static_cast<std::size_t>(i)];
                const std::int32_t v = col.v[y];
                const std::uint8_t d = col.d[y];
                std::uint32_t pixel;
                if (colours.ShowDeadCells && d != 0)
                    pixel = rgb.dead;
                else if (colours.ShowBirthCells && col.b[y] != 0)
                    pixel = rgb.birth;
                else if (v > 0)
                    pixel = rgb.state[static_cast<std::size_t>(std::min(v, kPaletteSize))];
                else if (v == 0 && d != 0)
                    pixel = rgb.background;
                else
                    continue;
                for (int py = top; py < bottom; ++py) {
                    std::uint32_t* row =
                        surface.pixels + static_cast<std::ptrdiff_t>(py) * surface.stride;
                    std::fill(row + col.left, row + col.right, pixel);
                }
            }
        }
    }
}

// One column of the whole-window paint: its pixels in an image row and its layers.
struct WholeColumn {
    int left, right;
    const std::int32_t *v, *eternalDead, *eternalLife, *other;
    const std::uint8_t *b, *d;
};

// Paints rows firstRow..lastRow of up to kPaintStrip columns, each cell as a full
// redraw followed by the last generation's repaint would leave it. Without
// Layers no landscape layer shows a cell in the window.
template <bool Layers>
void PaintWholeStrip(const Settings& settings, const PixelSurface& surface,
                     const RepaintColours& rgb, std::uint32_t lifeLayer, std::uint32_t otherLayer,
                     const WholeColumn* strip, int count, int firstRow, int lastRow) {
    const ColourModel& colours = settings.Colours;
    const bool showDead = colours.ShowDeadCells, showBirth = colours.ShowBirthCells;
    const bool dead = Layers && settings.EternalDeadRefresh,
               life = Layers && settings.EternalLifeRefresh,
               other = Layers && settings.OtherRealRefresh;
    const int c = surface.cellSize;
    if (!Layers && c == 1 && surface.insetLead == 0 && surface.insetTrail == 0) {
        const std::uint8_t birthMask = showBirth ? 0xFF : 0, deadMask = showDead ? 0xFF : 0;
        const int first = std::max(firstRow, surface.originY + 1);
        const int last = std::min(lastRow, surface.originY + surface.height);
        for (int y = first; y <= last; ++y) {
            std::uint32_t* row =
                surface.pixels +
                static_cast<std::ptrdiff_t>(y - 1 - surface.originY) * surface.stride;
            for (int i = 0; i < count; ++i) {
                const WholeColumn& col = strip[i];
                row[col.left] = WholePixel(rgb, col.v[y], col.b[y], col.d[y], birthMask, deadMask);
            }
        }
        return;
    }
    for (int y = firstRow; y <= lastRow; ++y) {
        const int top = std::max((y - 1) * c + surface.insetLead - surface.originY, 0);
        const int bottom = std::min(y * c - surface.insetTrail - surface.originY, surface.height);
        if (top >= bottom)
            continue;
        for (int i = 0; i < count; ++i) {
            const WholeColumn& col = strip[i];
            const std::int32_t v = col.v[y];
            const bool died = col.d[y] != 0;
            const bool empty = v <= 0 && !died;
            std::uint32_t pixel = rgb.background;
            if (Layers) {
                pixel = empty && dead && col.eternalDead[y] > 0 ? rgb.dead : pixel;
                pixel = empty && life && col.eternalLife[y] > 0 ? lifeLayer : pixel;
                pixel = empty && other && col.other[y] > 0 ? otherLayer : pixel;
            }
            pixel =
                v > 0 ? rgb.state[static_cast<std::size_t>(std::clamp(v, 0, kPaletteSize))] : pixel;
            pixel = showBirth && col.b[y] != 0 ? rgb.birth : pixel;
            pixel = showDead && died ? rgb.dead : pixel;
            if (c == 1) {
                surface.pixels[static_cast<std::ptrdiff_t>(top) * surface.stride + col.left] =
                    pixel;
                continue;
            }
            for (int py = top; py < bottom; ++py) {
                std::uint32_t* row =
                    surface.pixels + static_cast<std::ptrdiff_t>(py) * surface.stride;
                std::fill(row + col.left, row + col.right, pixel);
            }
        }
    }
}

// Everything that decides the pixels of a whole-window paint of one pixel a
// cell without layers.
std::vector<std::uint32_t> PaintKey(const PixelSurface& surface, const ColourModel& colours,
                                    const RepaintColours& rgb, const CellRect& window) {
    const auto pixels = reinterpret_cast<std::uintptr_t>(surface.pixels);
    std::vector<std::uint32_t> key = {
        static_cast<std::uint32_t>(pixels),
        static_cast<std::uint32_t>(static_cast<std::uint64_t>(pixels) >> 32),
        static_cast<std::uint32_t>(surface.imageVersion),
        static_cast<std::uint32_t>(surface.imageVersion >> 32),
        static_cast<std::uint32_t>(surface.stride),
        static_cast<std::uint32_t>(surface.width),
        static_cast<std::uint32_t>(surface.height),
        static_cast<std::uint32_t>(surface.originX),
        static_cast<std::uint32_t>(surface.originY),
        static_cast<std::uint32_t>(window.FirstColumn),
        static_cast<std::uint32_t>(window.FirstRow),
        static_cast<std::uint32_t>(window.LastColumn),
        static_cast<std::uint32_t>(window.LastRow),
        colours.ShowBirthCells ? 1u : 0u,
        colours.ShowDeadCells ? 1u : 0u,
        rgb.background,
        rgb.birth,
        rgb.dead};
    key.insert(key.end(), rgb.state.begin(), rgb.state.end());
    return key;
}

// Paints the cells of `changed` within `part`, one pixel a cell, as the whole
// window's paint would: the others show what they showed at the last paint.
void PaintChangedCells(const World& cells, const ColourModel& colours, const PixelSurface& surface,
                       const RepaintColours& rgb, const fast::BitPlane& changed,
                       const CellRect& part) {
    const std::uint8_t birthMask = colours.ShowBirthCells ? 0xFF : 0;
    const std::uint8_t deadMask = colours.ShowDeadCells ? 0xFF : 0;
    const int firstRow = std::max(part.FirstRow, surface.originY + 1);
    const int lastRow = std::min(part.LastRow, surface.originY + surface.height);
    const int firstColumn = std::max(part.FirstColumn, surface.originX + 1);
    const int lastColumn = std::min(part.LastColumn, surface.originX + surface.width);
    if (firstRow > lastRow)
        return;
    const int firstWord = (firstRow - changed.firstRow) / 64;
    const int lastWord = (lastRow - changed.firstRow) / 64;
    for (int x = firstColumn; x <= lastColumn; ++x) {
        const std::int32_t* v = cells.MainField.Column(x) - cells.MainField.Low();
        const std::uint8_t* b = cells.BornMarks.Column(x) - cells.BornMarks.Low();
        const std::uint8_t* d = cells.DiedMarks.Column(x) - cells.DiedMarks.Low();
        std::uint32_t* column = surface.pixels + (x - 1 - surface.originX);
        for (int k = firstWord; k <= lastWord; ++k) {
            const int base = changed.firstRow + 64 * k;
            std::uint64_t word = *changed.At(k, x);
            if (base < firstRow)
                word &= ~std::uint64_t{0} << (firstRow - base);
            if (lastRow - base < 63)
                word &= ~(~std::uint64_t{0} << (lastRow - base + 1));
            for (; word != 0; word &= word - 1) {
                const int y = base + std::countr_zero(word);
                column[static_cast<std::ptrdiff_t>(y - 1 - surface.originY) * surface.stride] =
                    WholePixel(rgb, v[y], b[y], d[y], birthMask, deadMask);
            }
        }
    }
}

}  // namespace

void RepaintChangedCellsFast(World& world, const Settings& settings, StepObserver& observer) {
    // Read only: a write access would tell the engine the field changed.
    const World& cells = world;
    const CellRect window = RepaintWindow(observer);
    if (window.Empty())
        return;
    // The columns go to the workers: writes put off are done on this thread.
    cells.MainField.Settle();
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
                                                PaintColumns(cells, colours, *surface, rgb, first,
                                                             last, window.FirstRow, window.LastRow);
                                            });
        return;
    }
    const std::uint8_t bornMask = colours.ShowBirthCells ? 0xFF : 0;
    for (int x = window.FirstColumn; x <= window.LastColumn; ++x) {
        const std::int32_t* v = cells.MainField.Column(x) - cells.MainField.Low();
        const std::uint8_t* b = cells.BornMarks.Column(x) - cells.BornMarks.Low();
        const std::uint8_t* d = cells.DiedMarks.Column(x) - cells.DiedMarks.Low();
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
    if (RandomFillDue(world, settings)) {
        // The fills may change the layers after the presets were taken from
        // them, so the landscape passes run as they are. In the generations
        // between fills the presets come from the layers as without fills.
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

void PaintVisibleCells(World& world, const Settings& settings, StepObserver& observer) {
    StepEngine& engine = StepEngineOf(world);
    const World& cells = world;  // read only, as in the repaint
    const CellRect window = RepaintWindow(observer);
    if (window.Empty())
        return;
    const ColourModel& colours = settings.Colours;
    PixelSurface* surface = observer.Surface();
    if (!surface || !surface->toPixel) {
        cells.MainField.Settle();
        for (int x = window.FirstColumn; x <= window.LastColumn; ++x)
            for (int y = window.FirstRow; y <= window.LastRow; ++y) {
                const std::int32_t v = cells.MainField.at(x, y);
                const std::uint8_t died = cells.DiedMarks.at(x, y);
                if (v == 0 && died == 0)
                    continue;  // a full redraw is the observer's
                RepaintCell(observer, colours, x, y, v, cells.BornMarks.at(x, y), died);
            }
        return;
    }
    RepaintColours rgb;
    for (int v = 1; v <= kPaletteSize; ++v)
        rgb.state[static_cast<std::size_t>(v)] = surface->toPixel(colours.StateColour[v]);
    rgb.background = surface->toPixel(colours.BackgroundColour);
    rgb.state[0] = rgb.background;
    rgb.birth = surface->toPixel(colours.BirthColour);
    rgb.dead = surface->toPixel(colours.DeadColour);
    const std::uint32_t lifeLayer = surface->toPixel(colours.BirthColour);
    const std::uint32_t otherLayer = surface->toPixel(colours.BigGridColour);
    const int c = surface->cellSize;
    // Layers are seldom shown and mostly empty: then the cells alone decide.
    const bool layers =
        (settings.EternalDeadRefresh && engine.LayerHoldsCells(cells.EternalDeadField, window)) ||
        (settings.EternalLifeRefresh && engine.LayerHoldsCells(cells.EternalLifeField, window)) ||
        (settings.OtherRealRefresh && engine.LayerHoldsCells(cells.OtherRealityField, window));
    // A kept image of one pixel a cell is painted only where cells changed.
    std::vector<std::uint32_t> key;
    if (!layers && c == 1 && surface->insetLead == 0 && surface->insetTrail == 0 &&
        surface->imageVersion != 0)
        key = PaintKey(*surface, colours, rgb, window);
    const fast::BitPlane* changed = engine.SettleForPaint(world, key);
    if (changed) {
        engine.ForColumnRanges(
            window.FirstColumn, window.LastColumn, [&](int firstColumn, int lastColumn) {
                PaintChangedCells(cells, colours, *surface, rgb, *changed,
                                  {firstColumn, window.FirstRow, lastColumn, window.LastRow});
            });
        engine.NotePainted(world, std::move(key));
        return;
    }
    engine.ForColumnRanges(
        window.FirstColumn, window.LastColumn, [&](int firstColumn, int lastColumn) {
            std::array<WholeColumn, kPaintStrip> strip;
            for (int x0 = firstColumn; x0 <= lastColumn; x0 += kPaintStrip) {
                int count = 0;
                for (int x = x0; x <= std::min(x0 + kPaintStrip - 1, lastColumn); ++x) {
                    const int left =
                        std::max((x - 1) * c + surface->insetLead - surface->originX, 0);
                    const int right =
                        std::min(x * c - surface->insetTrail - surface->originX, surface->width);
                    if (left >= right)
                        continue;
                    auto column = [x](const auto& field) { return field.Column(x) - field.Low(); };
                    strip[static_cast<std::size_t>(count++)] = {left,
                                                                right,
                                                                column(cells.MainField),
                                                                column(cells.EternalDeadField),
                                                                column(cells.EternalLifeField),
                                                                column(cells.OtherRealityField),
                                                                column(cells.BornMarks),
                                                                column(cells.DiedMarks)};
                }
                (layers ? PaintWholeStrip<true>
                        : PaintWholeStrip<false>)(settings, *surface, rgb, lifeLayer, otherLayer,
                                                  strip.data(), count, window.FirstRow,
                                                  window.LastRow);
            }
        });
    if (!key.empty())
        engine.NotePainted(world, std::move(key));
}

}  // namespace zentorix
