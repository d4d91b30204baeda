#pragma once

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "model/settings.h"
#include "model/world.h"

namespace zentorix {

// Editing by hand: painting cells, and moving, turning, mirroring and copying the
// selected block. Every write is clipped to the field with its margins (columns
// -3..ExtentX, rows -3..ExtentY), so no cell lands where no erase can reach it;
// reads outside a layer's grid see empty cells. The caller redraws the view.

// The largest state an edit writes: the colour table and the field files end here.
inline constexpr std::int32_t kHighestEditedState = 256;

// The layers whose paint target is on, Main Field first, then Eternal Life,
// Eternal Dead, Other Reality.
std::vector<Layer> PaintTargetLayers(const Settings& settings);

// One cell a paint command changed, with the value it held before.
struct CellChange {
    Layer layer;
    int x, y;
    std::int32_t before;
};

// A press of the Paint tool on cell (x, y) of the shown field (1..W, 1..H): the
// first paint target (Main Field, Other Reality, Eternal Life, Eternal Dead) whose
// cell is not negative flips it, 0 to 1 or live to 0. Gives the draw mode the
// drag goes on with (1 or 0), or -1 when no layer acted. The change is appended
// to `changes`.
int PaintPress(World& world, const Settings& settings, int x, int y,
               std::vector<CellChange>* changes = nullptr);

// A paint drag from cell (x0, y0) to (x1, y1): every cell on the line between
// them that lies in the shown field is set to the draw mode in every paint
// target, so a fast drag leaves no gaps. The changed cells are appended to
// `changes` (when given).
void PaintStroke(World& world, const Settings& settings, int x0, int y0, int x1, int y1,
                 int drawMode, std::vector<CellChange>* changes = nullptr);

// Gives the cells back their values from before the changes (latest first).
void UndoCellChanges(World& world, const std::vector<CellChange>& changes);

// Calls visit(x, y) for the cells of the line from (x0, y0) to (x1, y1), both
// ends included, in order from the first.
template <typename Visit>
void ForLineCells(int x0, int y0, int x1, int y1, Visit&& visit) {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        visit(x0, y0);
        if (x0 == x1 && y0 == y1)
            break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

// The selection rectangle of a drag of the Select tool from the pressed cell to
// the cell under the pointer at release (both 1-based): to the right and down,
// the cells wholly between the two grid corners; to the left or up, both cells
// and those between them. A click selects its cell.
CellRect DraggedSelection(int pressColumn, int pressRow, int releaseColumn, int releaseRow);

enum class TransformMode { Turn90, TurnMinus90, Turn180, MirrorColumns, MirrorRows };

// Turns or mirrors the selected block in every paint target. A turn of a block
// that is not square keeps its top-left corner; the selection keeps its
// coordinates.
void TransformSelection(World& world, const Settings& settings, TransformMode mode);

// The offset a block may move by: its cells stay within the field and margins
// where the field is large enough to hold the block.
void LimitMoveOffset(const World& world, const CellRect& block, int& dx, int& dy);

// Moves (or with `copy` copies) the selected block by the limited offset in every
// paint target. With TransparentMode the moved states are added to those at the
// target, at most kHighestEditedState; otherwise they replace them.
void MoveSelection(World& world, const Settings& settings, int dx, int dy, bool copy);

// The clipboard holds columns and rows 0..kClipboardHigh.
inline constexpr int kClipboardHigh = 999;

// Copies the selected block of the Main Field into the clipboard from its origin;
// a cut empties the copied cells. A block larger than the clipboard is copied as
// far as it fits and only that part is cut.
void CopySelection(World& world, bool cut);

// Writes the clipboard's block into the Main Field with its first cell at
// (column, row): every cell when opaque, else only live ones.
void PasteClipboard(World& world, int column, int row, bool opaque);

}  // namespace zentorix
