#include "view/field_editing.h"

#include <algorithm>
#include <cstdlib>

#include "engine/field_regions.h"

namespace zentorix {

namespace {

bool Inside(const CellRect& r, int x, int y) {
    return x >= r.FirstColumn && x <= r.LastColumn && y >= r.FirstRow && y <= r.LastRow;
}

CellRect Intersect(CellRect a, const CellRect& b) {
    a.FirstColumn = std::max(a.FirstColumn, b.FirstColumn);
    a.FirstRow = std::max(a.FirstRow, b.FirstRow);
    a.LastColumn = std::min(a.LastColumn, b.LastColumn);
    a.LastRow = std::min(a.LastRow, b.LastRow);
    return a;
}

// The selected block's cells of one layer, column by column, empty where the
// layer's grid ends.
class Block {
  public:
    Block(const StateField& layer, const CellRect& r)
        : w_(r.LastColumn - r.FirstColumn + 1), h_(r.LastRow - r.FirstRow + 1) {
        cells_.assign(static_cast<std::size_t>(w_) * h_, 0);
        for (int i = 0; i < w_; ++i)
            for (int j = 0; j < h_; ++j)
                cells_[Index(i, j)] = layer.Get(r.FirstColumn + i, r.FirstRow + j);
    }
    int Width() const { return w_; }
    int Height() const { return h_; }
    std::int32_t operator()(int i, int j) const { return cells_[Index(i, j)]; }

  private:
    std::size_t Index(int i, int j) const { return static_cast<std::size_t>(i) * h_ + j; }
    int w_, h_;
    std::vector<std::int32_t> cells_;
};

// Empties the block's cells that lie within the field and its margins.
void ClearBlock(World& world, StateField& layer, const CellRect& r) {
    const CellRect c = Intersect(r, WholeFieldRect(world));
    if (!c.Empty())
        layer.FillRect(c.FirstColumn, c.FirstRow, c.LastColumn, c.LastRow, 0);
}

}  // namespace

std::vector<Layer> PaintTargetLayers(const Settings& s) {
    std::vector<Layer> layers;
    if (s.MainLifePaint)
        layers.push_back(Layer::Main);
    if (s.EternalLifePaint)
        layers.push_back(Layer::EternalLife);
    if (s.EternalDeadPaint)
        layers.push_back(Layer::EternalDead);
    if (s.OtherRealPaint)
        layers.push_back(Layer::OtherReality);
    return layers;
}

int PaintPress(World& world, const Settings& s, int x, int y, std::vector<CellChange>* changes) {
    if (x < 1 || y < 1 || x > world.FieldWidth() || y > world.FieldHeight())
        return -1;
    const std::pair<bool, Layer> order[] = {{s.MainLifePaint, Layer::Main},
                                            {s.OtherRealPaint, Layer::OtherReality},
                                            {s.EternalLifePaint, Layer::EternalLife},
                                            {s.EternalDeadPaint, Layer::EternalDead}};
    for (const auto& [on, layer] : order) {
        StateField& field = world.LayerField(layer);
        if (!on || field.at(x, y) < 0)
            continue;
        if (changes)
            changes->push_back({layer, x, y, field.at(x, y)});
        const int mode = field.at(x, y) == 0 ? 1 : 0;
        field.at(x, y) = mode;
        return mode;
    }
    return -1;
}

void PaintStroke(World& world, const Settings& s, int x0, int y0, int x1, int y1, int drawMode,
                 std::vector<CellChange>* changes) {
    const CellRect shown{1, 1, world.FieldWidth(), world.FieldHeight()};
    const std::vector<Layer> layers = PaintTargetLayers(s);
    ForLineCells(x0, y0, x1, y1, [&](int x, int y) {
        if (!Inside(shown, x, y))
            return;
        for (Layer layer : layers) {
            StateField& field = world.LayerField(layer);
            if (field.at(x, y) == drawMode)
                continue;
            if (changes)
                changes->push_back({layer, x, y, field.at(x, y)});
            field.at(x, y) = drawMode;
        }
    });
}

void UndoCellChanges(World& world, const std::vector<CellChange>& changes) {
    for (auto it = changes.rbegin(); it != changes.rend(); ++it)
        world.LayerField(it->layer).Set(it->x, it->y, it->before);
}

CellRect DraggedSelection(int pressColumn, int pressRow, int releaseColumn, int releaseRow) {
    CellRect r{pressColumn + 1, pressRow + 1, releaseColumn - 1, releaseRow - 1};
    if (r.LastColumn < r.FirstColumn)
        r = {r.LastColumn + 1, r.FirstRow, r.FirstColumn - 1, r.LastRow};
    if (r.LastRow < r.FirstRow)
        r = {r.FirstColumn, r.LastRow + 1, r.LastColumn, r.FirstRow - 1};
    return r;
}

void TransformSelection(World& world, const Settings& s, TransformMode mode) {
    const CellRect r = world.Selection;
    if (r.Empty())
        return;
    const CellRect field = WholeFieldRect(world);
    const int w = r.LastColumn - r.FirstColumn, h = r.LastRow - r.FirstRow;
    for (Layer layer : PaintTargetLayers(s)) {
        StateField& grid = world.LayerField(layer);
        const Block block(grid, r);
        ClearBlock(world, grid, r);
        for (int i = 0; i <= w; ++i)
            for (int j = 0; j <= h; ++j) {
                int x = 0, y = 0;
                switch (mode) {
                    case TransformMode::Turn90:
                        x = r.FirstColumn + j, y = r.FirstRow + w - i;
                        break;
                    case TransformMode::TurnMinus90:
                        x = r.FirstColumn + h - j, y = r.FirstRow + i;
                        break;
                    case TransformMode::Turn180:
                        x = r.FirstColumn + w - i, y = r.FirstRow + h - j;
                        break;
                    case TransformMode::MirrorColumns:
                        x = r.FirstColumn + w - i, y = r.FirstRow + j;
                        break;
                    case TransformMode::MirrorRows:
                        x = r.FirstColumn + i, y = r.FirstRow + h - j;
                        break;
                }
                if (Inside(field, x, y))
                    grid.at(x, y) = block(i, j);
            }
    }
}

void LimitMoveOffset(const World& world, const CellRect& b, int& dx, int& dy) {
    dx = std::max(std::min(dx, world.ExtentX() - b.LastColumn), kLayerLow - b.FirstColumn);
    dy = std::max(std::min(dy, world.ExtentY() - b.LastRow), kLayerLow - b.FirstRow);
}

void MoveSelection(World& world, const Settings& s, int dx, int dy, bool copy) {
    const CellRect r = world.Selection;
    if (r.Empty())
        return;
    LimitMoveOffset(world, r, dx, dy);
    const CellRect field = WholeFieldRect(world);
    for (Layer layer : PaintTargetLayers(s)) {
        StateField& grid = world.LayerField(layer);
        const Block block(grid, r);
        if (!copy)
            ClearBlock(world, grid, r);
        for (int i = 0; i < block.Width(); ++i)
            for (int j = 0; j < block.Height(); ++j) {
                const int x = r.FirstColumn + dx + i, y = r.FirstRow + dy + j;
                if (!Inside(field, x, y))
                    continue;
                std::int32_t& cell = grid.at(x, y);
                if (s.TransparentMode) {
                    const std::int64_t sum = std::int64_t{cell} + block(i, j);
                    cell =
                        static_cast<std::int32_t>(std::min<std::int64_t>(sum, kHighestEditedState));
                } else {
                    cell = block(i, j);
                }
            }
    }
}

void CopySelection(World& world, bool cut) {
    CellRect r = world.Selection;
    if (r.Empty())
        return;
    r.LastColumn = std::min(r.LastColumn, r.FirstColumn + kClipboardHigh);
    r.LastRow = std::min(r.LastRow, r.FirstRow + kClipboardHigh);
    world.ClipboardField.FillRect(0, 0, kClipboardHigh, kClipboardHigh, 0);
    const Block block(world.MainField, r);
    for (int i = 0; i < block.Width(); ++i)
        for (int j = 0; j < block.Height(); ++j)
            world.ClipboardField.at(i, j) = block(i, j);
    world.ClipboardLastColumn = block.Width() - 1;
    world.ClipboardLastRow = block.Height() - 1;
    if (cut)
        ClearBlock(world, world.MainField, r);
}

void PasteClipboard(World& world, int column, int row, bool opaque) {
    const CellRect field = WholeFieldRect(world);
    const int lastColumn = std::clamp(world.ClipboardLastColumn, 0, kClipboardHigh);
    const int lastRow = std::clamp(world.ClipboardLastRow, 0, kClipboardHigh);
    for (int i = 0; i <= lastColumn; ++i)
        for (int j = 0; j <= lastRow; ++j) {
            const std::int32_t v = world.ClipboardField.at(i, j);
            const std::int64_t x = std::int64_t{column} + i, y = std::int64_t{row} + j;
            if ((opaque || v > 0) && x >= field.FirstColumn && x <= field.LastColumn &&
                y >= field.FirstRow && y <= field.LastRow)
                world.MainField.at(static_cast<int>(x), static_cast<int>(y)) = v;
        }
}

}  // namespace zentorix
