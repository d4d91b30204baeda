// The bit-plane path of the step: rules without history whose eight neighbours
// weigh the same (Conway's family, Vote and their kin), in generations without
// landscape. A live cell is one bit; 64 rows of a column share a word and the
// kernels count the neighbours of 256 cells per instruction. The marks and the
// values go back to the grids exactly as the byte planes write them.
#include <algorithm>
#include <chrono>
#include <utility>

#include "engine/step_engine.h"

namespace zentorix {

namespace {

// Plane rows start at the first row whose marks the step sets.
constexpr int kPlaneFirstRow = -3;
constexpr int kPlaneFirstColumn = -3;

bool Listed(const std::vector<std::int32_t>& list, std::int64_t sum) {
    return std::find(list.begin(), list.end(), sum) != list.end();
}

// Bits firstRow..lastRow of the rows of word row k.
std::uint64_t RowBits(int k, int firstRow, int lastRow) {
    const int low = std::max(firstRow - kPlaneFirstRow - 64 * k, 0);
    const int high = std::min(lastRow - kPlaneFirstRow - 64 * k, 63);
    if (low > high)
        return 0;
    const std::uint64_t upTo =
        high == 63 ? ~std::uint64_t{0} : (std::uint64_t{1} << (high + 1)) - 1;
    return upTo & ~((std::uint64_t{1} << low) - 1);
}

bool TestBit(const fast::BitPlane& plane, int x, int row) {
    const int at = row - plane.firstRow;
    return ((*plane.At(at >> 6, x) >> (at & 63)) & 1) != 0;
}

void PutBit(const fast::BitPlane& plane, int x, int row, bool on) {
    const int at = row - plane.firstRow;
    std::uint64_t& word = *plane.At(at >> 6, x);
    const std::uint64_t bit = std::uint64_t{1} << (at & 63);
    word = on ? word | bit : word & ~bit;
}

// The torus margins of the planes: row -1 repeats row H and row H + 1 row 0,
// column -1 repeats column W and column W + 1 column 0.
void WrapMargins(const fast::BitPlane& plane, int W, int H) {
    for (int x = 0; x <= W; ++x) {
        PutBit(plane, x, -1, TestBit(plane, x, H));
        PutBit(plane, x, H + 1, TestBit(plane, x, 0));
    }
    for (int k = 0; k < plane.wordRows; ++k) {
        *plane.At(k, -1) = *plane.At(k, W);
        *plane.At(k, W + 1) = *plane.At(k, 0);
    }
}

}  // namespace

const char* StepEngine::PathName(Path path) {
    return path == Path::LifeBits ? "bit planes" : "byte planes";
}

const StepEngine::LifeRule& StepEngine::LifeRuleCache::Get(const RuleSet& rules) {
    if (valid_ && source_ == rules)
        return compiled_;
    source_ = rules;
    valid_ = true;
    compiled_ = LifeRule{};
    if (rules.History)
        return compiled_;
    for (int dx = -2; dx <= 2; ++dx)
        for (int dy = -2; dy <= 2; ++dy)
            if (rules.Radius() == 2 && (dx < -1 || dx > 1 || dy < -1 || dy > 1) &&
                rules.Weight(dx, dy) != 0)
                return compiled_;
    const std::int64_t w = rules.Weight(-1, -1), centre = rules.Weight(0, 0);
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if ((dx != 0 || dy != 0) && rules.Weight(dx, dy) != w)
                return compiled_;
    // An empty cell sums its neighbours, a live one adds its own weight.
    for (int n = 0; n <= 8; ++n) {
        compiled_.birth[n] = Listed(rules.BirthList, w * n) ? ~std::uint64_t{0} : 0;
        compiled_.survival[n] = Listed(rules.SurvivalList, w * n + centre) ? ~std::uint64_t{0} : 0;
    }
    compiled_.usable = true;
    return compiled_;
}

fast::BitPlane StepEngine::PlaneOf(std::vector<std::uint64_t>& storage, int firstColumn) const {
    fast::BitPlane plane;
    plane.stride = lifePlanes_.stride;
    // Past the zero word row and the zero column before the first.
    plane.words = storage.data() + lifePlanes_.stride + 1;
    plane.firstColumn = firstColumn;
    plane.lastColumn = firstColumn + lifePlanes_.columns - 1;
    plane.firstRow = kPlaneFirstRow;
    plane.wordRows = lifePlanes_.wordRows;
    return plane;
}

bool StepEngine::LifeGeneration(World& world, const Settings& settings, StepForm form,
                                const LifeRule& rule) {
    const bool colourMode = settings.Colours.ColorMode;
    // A newborn cell of phase 0 or less would not be live.
    if (colourMode && world.Counters.ColourPhase <= 0)
        return false;
    const bool torus = form == StepForm::Torus;
    const int W = world.FieldWidth(), H = world.FieldHeight();
    const int EX = world.ExtentX(), EY = world.ExtentY();
    LifePlanes& lp = lifePlanes_;

    // The planes hold the columns and rows whose marks the step sets.
    const int columns = EX - kPlaneFirstColumn + 1;
    const int wordRows = (EY - kPlaneFirstRow + 1 + 63) / 64;
    if (columns != lp.columns || wordRows != lp.wordRows || torus != lp.torus || W != lp.width ||
        H != lp.height) {
        lp.valid = false;
        lp.marksValid = false;
        lp.columns = columns;
        lp.wordRows = wordRows;
        lp.torus = torus;
        lp.width = W;
        lp.height = H;
        // A zero column on either side, rounded so that whole vectors of four
        // columns are read past the last one.
        lp.stride = columns + 2 + 3;
        const std::size_t words = static_cast<std::size_t>(wordRows + 2) * lp.stride;
        for (auto* v :
             {&lp.live[0], &lp.live[1], &lp.born[0], &lp.born[1], &lp.died[0], &lp.died[1]})
            v->assign(words, 0);
        lp.evalRows.assign(static_cast<std::size_t>(wordRows), 0);
        lp.updateRows.assign(static_cast<std::size_t>(wordRows), 0);
        lp.evalColumns.assign(static_cast<std::size_t>(columns) + 4, 0);
        lp.updateColumns.assign(static_cast<std::size_t>(columns) + 4, 0);
        // Torus: every cell 0..W by 0..H is evaluated and updated once. Plane:
        // the reference's ranges, margins included.
        const int evalFirst = torus ? 0 : -2, updateFirst = torus ? 0 : 1;
        const int evalLastX = W, evalLastY = H;
        const int updateLastX = torus ? W : EX, updateLastY = torus ? H : EY;
        for (int k = 0; k < wordRows; ++k) {
            lp.evalRows[static_cast<std::size_t>(k)] = RowBits(k, evalFirst, evalLastY);
            lp.updateRows[static_cast<std::size_t>(k)] = RowBits(k, updateFirst, updateLastY);
        }
        for (int x = kPlaneFirstColumn; x <= EX; ++x) {
            const auto i = static_cast<std::size_t>(x - kPlaneFirstColumn);
            lp.evalColumns[i] = x >= evalFirst && x <= evalLastX ? ~std::uint64_t{0} : 0;
            lp.updateColumns[i] = x >= updateFirst && x <= updateLastX ? ~std::uint64_t{0} : 0;
        }
    }
    const StateField& field = std::as_const(world.MainField);
    if (!lp.valid || lp.field != field.Data() || lp.version != field.Version()) {
        // Built afresh from the field; a value below 0 is neither empty nor
        // live and stays with the byte planes.
        lp.valid = false;
        std::vector<std::uint64_t>& storage = lp.live[lp.current];
        std::fill(storage.begin(), storage.end(), 0);
        const fast::BitPlane plane = PlaneOf(storage, kPlaneFirstColumn);
        bool negative = false;
        const int first = torus ? 0 : kPlaneFirstColumn, last = torus ? W : EX;
        const int firstRow = torus ? 0 : kPlaneFirstRow, lastRow = torus ? H : EY;
        for (int x = first; x <= last && !negative; ++x)
            negative = kernels_->packLiveRun(field.Column(x) - field.Low() + firstRow,
                                             lastRow - firstRow + 1, plane.At(0, x), plane.stride,
                                             firstRow - kPlaneFirstRow);
        if (negative)
            return false;
        if (torus)
            WrapMargins(plane, W, H);
        lp.valid = true;
    }

    fast::LifePass pass;
    pass.from = PlaneOf(lp.live[lp.current], kPlaneFirstColumn);
    pass.to = PlaneOf(lp.live[1 - lp.current], kPlaneFirstColumn);
    pass.bornBits = PlaneOf(lp.born[1 - lp.current], kPlaneFirstColumn);
    pass.diedBits = PlaneOf(lp.died[1 - lp.current], kPlaneFirstColumn);
    const MarkField& bornMarks = std::as_const(world.BornMarks);
    const MarkField& diedMarks = std::as_const(world.DiedMarks);
    if (lp.marksValid && lp.bornMarks == bornMarks.Data() && lp.diedMarks == diedMarks.Data() &&
        lp.bornVersion == bornMarks.Version() && lp.diedVersion == diedMarks.Version()) {
        pass.lastBornBits = PlaneOf(lp.born[lp.current], kPlaneFirstColumn);
        pass.lastDiedBits = PlaneOf(lp.died[lp.current], kPlaneFirstColumn);
    }
    pass.evalRows = lp.evalRows.data();
    pass.updateRows = lp.updateRows.data();
    pass.evalColumns = lp.evalColumns.data();
    pass.updateColumns = lp.updateColumns.data();
    pass.lastRow = EY;
    std::copy(std::begin(rule.birth), std::end(rule.birth), pass.birth);
    std::copy(std::begin(rule.survival), std::end(rule.survival), pass.survival);
    pass.field = {world.MainField.Data(), world.MainField.Low(), world.MainField.Side()};
    pass.born = {world.BornMarks.Data(), world.BornMarks.Low(), world.BornMarks.Side()};
    pass.died = {world.DiedMarks.Data(), world.DiedMarks.Low(), world.DiedMarks.Side()};
    pass.colourMode = colourMode;
    pass.colourPhase = world.Counters.ColourPhase;
    pass.ageLimit = std::clamp(settings.Colours.GenColourCount, 1, kPaletteSize);

    // The columns are independent: each part reads the old plane and writes
    // its own columns of everything else.
    const ThreadingChoice::Split split =
        SplitPass(lifeThreading_, std::min(columns / 64, static_cast<int>(pool_.Size())));
    const int parts = std::clamp(split.parts, 1, columns);
    for (fast::PassCounts& c : threadCounts_)
        c = fast::PassCounts{};
    const fast::Kernels& kernels = *kernels_;
    auto part = [&](int p, unsigned thread) {
        const int first =
            kPlaneFirstColumn + static_cast<int>(static_cast<long long>(columns) * p / parts);
        const int last = kPlaneFirstColumn +
                         static_cast<int>(static_cast<long long>(columns) * (p + 1) / parts) - 1;
        kernels.runLifeColumns(pass, first, last, threadCounts_[thread]);
    };
    pool_.Run(parts, part);
    lifeThreading_.Finish(split, static_cast<double>(columns) * (EY + 4));
    if (torus)
        WrapMargins(pass.to, W, H);
    lp.current = 1 - lp.current;

    fast::PassCounts counts;
    for (const fast::PassCounts& t : threadCounts_) {
        counts.live += t.live;
        counts.stateOne += t.stateOne;
        counts.born += t.born;
        counts.died += t.died;
    }
    GenerationCounters& c = world.Counters;
    c.LiveCount = static_cast<std::int32_t>(c.LiveCount + counts.live);
    c.StateOneCount = static_cast<std::int32_t>(c.StateOneCount + counts.stateOne);
    c.BornCount = static_cast<std::int32_t>(c.BornCount + counts.born);
    c.DiedCount = static_cast<std::int32_t>(c.DiedCount + counts.died);
    lp.field = field.Data();
    lp.version = field.Version();
    lp.marksValid = true;
    lp.bornMarks = bornMarks.Data();
    lp.diedMarks = diedMarks.Data();
    lp.bornVersion = bornMarks.Version();
    lp.diedVersion = diedMarks.Version();
    return true;
}

}  // namespace zentorix
