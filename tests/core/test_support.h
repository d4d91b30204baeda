#pragma once

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "engine/generation_step.h"
#include "model/settings.h"
#include "model/world.h"

namespace zentorix::test {

// Writes a picture into a layer: row strings top to bottom, '.' empty, '*' or 'o'
// state 1, 'A'..'X' states 1..24; the first character lands at (x0, y0).
inline void Draw(StateField& field, int x0, int y0, const std::vector<std::string>& rows) {
    for (int j = 0; j < static_cast<int>(rows.size()); ++j)
        for (int i = 0; i < static_cast<int>(rows[j].size()); ++i) {
            const char c = rows[j][i];
            int v = 0;
            if (c == '*' || c == 'o')
                v = 1;
            if (c >= 'A' && c <= 'X')
                v = c - 'A' + 1;
            field.at(x0 + i, y0 + j) = v;
        }
}

using Cells = std::vector<std::pair<int, int>>;

// Live cells (state above 0) of a layer within the rectangle, as (x, y) pairs.
inline Cells LiveCells(const StateField& field, int x0, int y0, int x1, int y1) {
    Cells cells;
    for (int x = x0; x <= x1; ++x)
        for (int y = y0; y <= y1; ++y)
            if (field.at(x, y) > 0)
                cells.emplace_back(x, y);
    return cells;
}

// Every live cell of a layer, margins included.
inline Cells AllLive(const StateField& field) {
    return LiveCells(field, field.Low(), field.Low(), kGridHigh, kGridHigh);
}

// The live cells of a layer as (x, y, state), moved so that the smallest column and
// row are 0: the pattern wherever it was placed. Without states every cell counts 1.
inline std::vector<std::array<int, 3>> Shape(const StateField& field, bool states = true) {
    std::vector<std::array<int, 3>> cells;
    int x0 = kGridHigh, y0 = kGridHigh;
    for (const auto& [x, y] : AllLive(field)) {
        cells.push_back({x, y, states ? field.at(x, y) : 1});
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
    }
    for (auto& cell : cells) {
        cell[0] -= x0;
        cell[1] -= y0;
    }
    return cells;
}

// Records what the step reports.
struct RecordingObserver : StepObserver {
    CellRect window;
    struct Drawn {
        int x, y;
        Colour colour;
        bool operator==(const Drawn&) const = default;
    };
    std::vector<Drawn> drawn;
    int finished = 0;
    int stops = 0;
    std::vector<GenerationCounters> counts;

    CellRect VisibleWindow() const override { return window; }
    void DrawCell(int x, int y, Colour colour) override { drawn.push_back({x, y, colour}); }
    void GenerationFinished(const World& w) override {
        ++finished;
        counts.push_back(w.Counters);
    }
    void StopRequested() override { ++stops; }
};

}  // namespace zentorix::test
