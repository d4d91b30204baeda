#pragma once

// What one pass of the fast step needs to know, and the kernels that run it. The
// kernels are compiled once for the baseline instruction set and once for AVX2;
// the engine picks one set at run time.

#include <cstdint>

#include "engine/compiled_rule.h"

namespace zentorix::fast {

// Row flags of a column, combined with the class bits of CompiledRule.
inline constexpr std::uint8_t kRowEvaluated = 4;
inline constexpr std::uint8_t kRowUpdated = 8;

// Rows per column the kernels' scratch can hold (every grid has fewer).
inline constexpr int kMaxRows = 1024;

// A grid seen by the kernels: column x starts at base + (x - low) * side and
// holds rows low..
template <typename T>
struct GridView {
    T* base = nullptr;
    int low = 0;
    int side = 0;
    T* Column(int x) const { return base + static_cast<std::ptrdiff_t>(x - low) * side - low; }
};

// The byte planes: for plane column c (x = firstColumn + c) and plane row r
// (y = firstRow + r), 0xFF where the cell counts, else 0. "live" marks states of
// 1 or more, "first" marks state 1.
struct Planes {
    std::uint8_t* live = nullptr;
    std::uint8_t* first = nullptr;
    int stride = 0;  // bytes between plane columns
    int firstColumn = 0;
    int lastColumn = 0;
    int firstRow = 0;
    int rows = 0;
    std::uint8_t* Live(int x) const {
        return live + static_cast<std::ptrdiff_t>(x - firstColumn) * stride;
    }
    std::uint8_t* First(int x) const {
        return first + static_cast<std::ptrdiff_t>(x - firstColumn) * stride;
    }
};

// One pass: evaluation of the rule and the update of the cells, column by column.
struct PassContext {
    // Main Field step, or the Other Reality step (born test on every cell, marks
    // start cleared, no counters).
    bool otherReality = false;
    // Torus: columns and rows are torus positions 0..modulus-1, and the planes'
    // margins wrap around.
    bool torus = false;
    int wrapX = 0, wrapY = 0;

    // Columns the pass walks (evaluated or updated), and the evaluated and updated
    // ranges within them.
    int firstColumn = 0, lastColumn = 0;
    int evalFirstColumn = 0, evalLastColumn = 0;
    int updateFirstColumn = 0, updateLastColumn = 0;
    // Rows the pass walks, and the evaluated and updated ranges within them.
    int firstRow = 0, lastRow = 0;
    int evalFirstRow = 0, evalLastRow = 0;
    int updateFirstRow = 0, updateLastRow = 0;
    // Per walked row (index y - firstRow): kRowEvaluated or 0, kRowUpdated or 0.
    const std::uint8_t* evalRowFlags = nullptr;
    const std::uint8_t* updateRowFlags = nullptr;

    // Plane margin: the widest radius a rule of the pass can read.
    int halo = 2;
    Planes planes;
    bool needLive = false, needFirst = false;

    GridView<std::int32_t> field;  // the stepped grid
    GridView<std::uint8_t> born, died;
    // Rule set 1 governs the cells where this grid holds more than 0 (null: rule
    // set 0 everywhere).
    GridView<const std::int32_t> otherLaws;
    // The Eternal Dead Field while it kills this generation, else null.
    GridView<const std::int32_t> eternalDead;
    // Where the preset marks of the Main Field come from: the mark grids as the
    // landscape pass left them, or else the layers themselves (a null layer
    // presets nothing).
    bool presetsFromMarks = false;
    GridView<const std::int32_t> presetBornLayer, presetDiedLayer;

    const CompiledRule* rules[2] = {nullptr, nullptr};
    bool colourMode = false;  // newborn cells take the colour phase
    std::int32_t colourPhase = 1;
    std::int32_t ageLimit = 1;  // an age above this restarts at 1
};

// Population counts of the cells one part of a pass updated.
struct PassCounts {
    std::int64_t live = 0, stateOne = 0, born = 0, died = 0;
};

// Bit planes of the live cells (value 1 or more): bit i of word row k stands
// for row firstRow + 64k + i. Word rows are `stride` words apart and hold the
// columns firstColumn..lastColumn in order; the storage has a zero column
// before and after and a zero word row above and below, so the neighbours of
// every stored word can be read without a bounds test.
struct BitPlane {
    std::uint64_t* words = nullptr;  // word row 0, column firstColumn
    int stride = 0;
    int firstColumn = 0, lastColumn = 0;
    int firstRow = 0;
    int wordRows = 0;
    std::uint64_t* At(int k, int x) const {
        return words + static_cast<std::ptrdiff_t>(k) * stride + (x - firstColumn);
    }
};

// A generation of a two-state rule whose eight neighbours weigh the same, on
// bit planes: the neighbour count 0..8 of 64 cells per word comes from full
// adders, birth and survival from one mask per count. The planes cover the
// columns and rows whose marks the step sets. A generation writes only the
// values of its newborn cells; the marks and the other values are written when
// the grids are next read (see StepEngine), for all the generations since.
// Bits of a key: ages up to 256 less one.
inline constexpr int kMaxKeyBits = 8;

struct LifePass {
    BitPlane from, to;            // live cells before and after the generation
    BitPlane bornBits, diedBits;  // the marks, laid out as the planes
    // The marks the grids hold, when known (else no words): completing the
    // grids writes only words with a mark there or now.
    BitPlane lastBornBits, lastDiedBits;
    // The updated cells live at some time since the values were last written.
    BitPlane touched;
    const std::uint64_t* evalRows;       // per word row: rows evaluated
    const std::uint64_t* updateRows;     // per word row: rows updated
    const std::uint64_t* evalColumns;    // per plane column: all ones when evaluated
    const std::uint64_t* updateColumns;  // per plane column: all ones when updated
    int lastRow = 0;                     // marks are written for firstRow..lastRow
    // All ones where n live neighbours give birth to an empty cell, or keep a
    // live cell alive.
    std::uint64_t birth[9] = {}, survival[9] = {};
    GridView<std::int32_t> field;
    GridView<std::uint8_t> born, died;
    bool colourMode = false;
    std::int32_t colourPhase = 1;  // a newborn cell's colour
    std::int32_t ageLimit = 1;
    // Per updated live cell, a key (KeyOf) whose bit j is in key plane j,
    // laid out as the planes (words as BitPlane::words). A newborn cell's key
    // is bornKey: the age it would have had when the keys were taken from the
    // values, so that it is 1 now, less one. A live cell of state 1 has the key oneKey: the
    // newborns' key, or in colour mode 1.
    std::uint64_t* keyPlanes[kMaxKeyBits] = {};
    int keyBits = 0;
    std::uint8_t bornKey = 0, oneKey = 0;
    // Generations since the keys were taken from the values, modulo the age
    // limit.
    std::int32_t ticks = 0;
    // The updated cells live when the grids were last written and ever since:
    // their values age on from the grids'. Generations since then, modulo the
    // age limit, and whether that is one generation (a live cell not in
    // `lasting` is then a newborn).
    BitPlane lasting;
    std::int32_t lastingTicks = 0;
    bool newbornOnly = false;

    // A multi-state rule (`states`): the live planes hold state 1, and state
    // bit j of every cell is in fromStates[j] before and toStates[j] after the
    // generation (stateBits of them). A state reaching `range` ends the cell.
    // State 1 survives on `survival`, a decaying state on `survivalDecaying`
    // (its own weight does not count). Completing the grids reads the states
    // from the key planes.
    bool states = false;
    int stateBits = 0;
    std::int32_t range = 0;
    std::uint64_t survivalDecaying[9] = {};
    std::uint64_t* fromStates[kMaxKeyBits] = {};
    std::uint64_t* toStates[kMaxKeyBits] = {};
};

// The key of a live cell's value in a bit-plane stretch: its age
// when the stretch began less one (0..ageLimit - 1), or in colour mode 1 where
// the value is 1, else 0. Always inlined: the kernels of every instruction
// set use it.
[[gnu::always_inline]] inline std::uint8_t KeyOf(bool colourMode, std::int32_t ageLimit,
                                                 std::int32_t v) {
    if (colourMode)
        return v == 1 ? 1 : 0;
    return static_cast<std::uint8_t>((v < ageLimit ? v : ageLimit) - 1);
}

struct Kernels {
    // Fills plane column x from the stepped grid.
    void (*buildPlaneColumn)(const PassContext&, int x);
    // Evaluates and updates columns first..last, building the plane columns it
    // owns on the way (see StepEngine), and adds its counts.
    void (*runColumns)(const PassContext&, int first, int last, PassCounts&);
    // Evaluates the plane columns first..last of a bit-plane pass: writes `to`,
    // the mark bits, the touched bits, the newborn cells' keys (and colour),
    // and adds the counts of the updated cells.
    void (*runLifeColumns)(const LifePass&, int first, int last, PassCounts&);
    // The same for a multi-state rule: writes `to`, the state planes, the mark
    // bits and the touched bits.
    void (*runStateColumns)(const LifePass&, int first, int last, PassCounts&);
    // Writes the marks and values put off for the plane columns first..last
    // and gives the live cells the keys of their new values.
    void (*completeLifeColumns)(const LifePass&, int first, int last);
    // ORs the live cells of cells[0..n-1] into a zeroed plane column (word row 0
    // at `column`) from plane row `at` on; true when one of them is below 0.
    bool (*packLiveRun)(const std::int32_t* cells, int n, std::uint64_t* column,
                        std::ptrdiff_t stride, int at);
};

const Kernels& BaselineKernels();
// Null when this build has no AVX2 kernels.
const Kernels* Avx2Kernels();

}  // namespace zentorix::fast
