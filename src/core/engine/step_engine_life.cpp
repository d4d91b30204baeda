// The bit-plane path of the step: rules whose eight neighbours weigh the same
// (Conway's family, Vote and their kin; with history the Generations rules), in
// generations without landscape. A live cell is one bit; 64 rows of a column
// share a word and the kernels count the neighbours of 256 cells per
// instruction. A run of such generations writes nothing to the grids: the
// marks and values wait in the planes (ages as keys counted from the run's
// start, states bit by bit) until code reads a grid, and then go back exactly
// as the byte planes would have written them.
#include <algorithm>
#include <bit>
#include <chrono>
#include <functional>
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
    return path == Path::LifeBits    ? "bit planes"
           : path == Path::StateBits ? "bit planes, states"
                                     : "byte planes";
}

const StepEngine::LifeRule& StepEngine::LifeRuleCache::Get(const RuleSet& rules) {
    if (valid_ && source_ == rules)
        return compiled_;
    source_ = rules;
    valid_ = true;
    compiled_ = LifeRule{};
    // States up to 255 fit in eight planes; a range below 2 ends every cell
    // at once, which the byte planes do.
    if (rules.History && (rules.HistoryRange < 2 || rules.HistoryRange > 255))
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
    // An empty cell sums its neighbours, a live one adds its own weight (with
    // history only in state 1, the one that counts).
    for (int n = 0; n <= 8; ++n) {
        compiled_.birth[n] = Listed(rules.BirthList, w * n) ? ~std::uint64_t{0} : 0;
        compiled_.survival[n] = Listed(rules.SurvivalList, w * n + centre) ? ~std::uint64_t{0} : 0;
        compiled_.survivalDecaying[n] = Listed(rules.SurvivalList, w * n) ? ~std::uint64_t{0} : 0;
    }
    compiled_.history = rules.History;
    compiled_.range = rules.HistoryRange;
    compiled_.stateBits =
        rules.History ? std::bit_width(static_cast<unsigned>(rules.HistoryRange)) : 0;
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
    // With history a cell's value is its state, whatever the colours.
    const bool colourMode = !rule.history && settings.Colours.ColorMode;
    const std::int32_t range = rule.history ? rule.range : 0;
    // A newborn cell of phase 0 or less would not be live.
    if (colourMode && world.Counters.ColourPhase <= 0)
        return false;
    const std::int32_t ageLimit = std::clamp(settings.Colours.GenColourCount, 1, kPaletteSize);
    const bool torus = form == StepForm::Torus;
    const int W = world.FieldWidth(), H = world.FieldHeight();
    const int EX = world.ExtentX(), EY = world.ExtentY();
    LifePlanes& lp = lifePlanes_;

    // The planes hold the columns and rows whose marks the step sets.
    const int columns = EX - kPlaneFirstColumn + 1;
    const int wordRows = (EY - kPlaneFirstRow + 1 + 63) / 64;
    const bool sameShape = columns == lp.columns && wordRows == lp.wordRows && torus == lp.torus &&
                           W == lp.width && H == lp.height;
    // A stretch goes on only in the shape and under the settings it began with.
    if (lp.waiting && (lp.waiting != &world || !sameShape || colourMode != lp.colourMode ||
                       ageLimit != lp.ageLimit || range != lp.range))
        Complete();
    if (!sameShape) {
        // The keys are of the cells the old shape updates.
        lp.valid = lp.marksValid = lp.keysValid = false;
        lp.columns = columns;
        lp.wordRows = wordRows;
        lp.torus = torus;
        lp.width = W;
        lp.height = H;
        // A zero column on either side, rounded so that whole vectors of four
        // columns are read past the last one.
        lp.stride = columns + 2 + 3;
        const std::size_t words = static_cast<std::size_t>(wordRows + 2) * lp.stride;
        for (auto* v : {&lp.live[0], &lp.live[1], &lp.born[0], &lp.born[1], &lp.died[0],
                        &lp.died[1], &lp.gridBorn, &lp.gridDied, &lp.touched, &lp.lasting})
            v->assign(words, 0);
        for (std::vector<std::uint64_t>& v : lp.keyPlanes)
            v.assign(words, 0);
        for (auto& planes : lp.states)
            for (std::vector<std::uint64_t>& v : planes)
                v.clear();
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
    StateField& field = world.MainField;
    if (!lp.waiting) {
        // A stretch begins with the grids as they are.
        if (!lp.valid || lp.range != range || lp.field != field.Stored() ||
            lp.version != field.Version()) {
            if (!BuildPlanes(field, rule))
                return false;
            lp.field = field.Stored();
            lp.version = field.Version();
        }
        // Keys of as many bits as the largest: the age limit less one, or
        // whether the colour is 1.
        lp.keyBits = colourMode ? 1 : std::bit_width(static_cast<unsigned>(ageLimit - 1));
        if (!rule.history && (!lp.keysValid || lp.keysVersion != field.Version() ||
                              lp.keysColourMode != colourMode || lp.keysAgeLimit != ageLimit))
            KeysFromValues(field, colourMode, ageLimit);
        lp.marksKnown = lp.marksValid && lp.bornMarks == world.BornMarks.Stored() &&
                        lp.diedMarks == world.DiedMarks.Stored() &&
                        lp.bornVersion == world.BornMarks.Version() &&
                        lp.diedVersion == world.DiedMarks.Version();
        lp.colourMode = colourMode;
        lp.ageLimit = ageLimit;
        lp.startVersions = GridVersions(world);
        lp.startGrids = Grids(world);
    }
    // One more generation since the keys were taken and since the grids were
    // written.
    lp.ticks = lp.ticks + 1 == ageLimit ? 0 : lp.ticks + 1;
    lp.sinceWritten = std::min(lp.sinceWritten + 1, 2);
    lp.lastingTicks = lp.lastingTicks + 1 == ageLimit ? 0 : lp.lastingTicks + 1;

    fast::LifePass pass;
    pass.from = PlaneOf(lp.live[lp.current], kPlaneFirstColumn);
    pass.to = PlaneOf(lp.live[1 - lp.current], kPlaneFirstColumn);
    pass.bornBits = PlaneOf(lp.born[1 - lp.current], kPlaneFirstColumn);
    pass.diedBits = PlaneOf(lp.died[1 - lp.current], kPlaneFirstColumn);
    pass.touched = PlaneOf(lp.touched, kPlaneFirstColumn);
    pass.lasting = PlaneOf(lp.lasting, kPlaneFirstColumn);
    pass.evalRows = lp.evalRows.data();
    pass.updateRows = lp.updateRows.data();
    pass.evalColumns = lp.evalColumns.data();
    pass.updateColumns = lp.updateColumns.data();
    pass.lastRow = EY;
    std::copy(std::begin(rule.birth), std::end(rule.birth), pass.birth);
    std::copy(std::begin(rule.survival), std::end(rule.survival), pass.survival);
    pass.field = {field.Stored(), field.Low(), field.Side()};
    pass.colourMode = colourMode;
    pass.colourPhase = world.Counters.ColourPhase;
    pass.ageLimit = ageLimit;
    for (int j = 0; j < lp.keyBits; ++j)
        pass.keyPlanes[j] = PlaneOf(lp.keyPlanes[j], kPlaneFirstColumn).words;
    pass.keyBits = lp.keyBits;
    // A cell born now had, when the keys were taken, the age that comes back
    // to 1 after the generations since.
    const std::int32_t newbornKeyAge = lp.ticks == 0 ? 1 : ageLimit + 1 - lp.ticks;
    pass.bornKey =
        fast::KeyOf(colourMode, ageLimit, colourMode ? world.Counters.ColourPhase : newbornKeyAge);
    pass.oneKey = colourMode ? 1 : pass.bornKey;
    if (rule.history) {
        pass.states = true;
        pass.stateBits = rule.stateBits;
        pass.range = rule.range;
        std::copy(std::begin(rule.survivalDecaying), std::end(rule.survivalDecaying),
                  pass.survivalDecaying);
        for (int j = 0; j < rule.stateBits; ++j) {
            pass.fromStates[j] = PlaneOf(lp.states[lp.current][j], kPlaneFirstColumn).words;
            pass.toStates[j] = PlaneOf(lp.states[1 - lp.current][j], kPlaneFirstColumn).words;
        }
    }

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
        (rule.history ? kernels.runStateColumns : kernels.runLifeColumns)(pass, first, last,
                                                                          threadCounts_[thread]);
    };
    pool_.Run(parts, part);
    lifeThreading_.Finish(split, static_cast<double>(columns) * (EY + 4));
    if (torus)
        WrapMargins(pass.to, W, H);
    lp.current = 1 - lp.current;

    fast::PassCounts counts;
    for (const fast::PassCounts& t : threadCounts_) {
        counts.live += t.live;
        counts.born += t.born;
        counts.died += t.died;
        counts.stateOne += t.stateOne;
    }
    GenerationCounters& c = world.Counters;
    c.LiveCount = static_cast<std::int32_t>(c.LiveCount + counts.live);
    c.StateOneCount = static_cast<std::int32_t>(c.StateOneCount + counts.stateOne);
    c.BornCount = static_cast<std::int32_t>(c.BornCount + counts.born);
    c.DiedCount = static_cast<std::int32_t>(c.DiedCount + counts.died);

    // The grids wait for the writes: their versions grow, so everyone who
    // keeps something about them sees a change.
    lp.waiting = &world;
    waitingLive_ = PlaneOf(lp.live[lp.current], kPlaneFirstColumn);
    for (auto* grid : {&world.BornMarks, &world.DiedMarks})
        grid->Defer(this);
    field.Defer(this);
    lp.version = field.Version();
    return true;
}

bool StepEngine::BuildPlanes(const StateField& cells, const LifeRule& rule) {
    LifePlanes& lp = lifePlanes_;
    lp.valid = false;
    const bool torus = lp.torus;
    const int W = lp.width, H = lp.height, EX = W + 1, EY = H + 1;
    std::vector<std::uint64_t>& storage = lp.live[lp.current];
    std::fill(storage.begin(), storage.end(), 0);
    const fast::BitPlane plane = PlaneOf(storage, kPlaneFirstColumn);
    const int first = torus ? 0 : kPlaneFirstColumn, last = torus ? W : EX;
    const int firstRow = torus ? 0 : kPlaneFirstRow, lastRow = torus ? H : EY;
    if (!rule.history) {
        // A value below 0 is neither empty nor live: it stays with the byte
        // planes.
        for (int x = first; x <= last; ++x)
            if (kernels_->packLiveRun(cells.Column(x) - cells.Low() + firstRow,
                                      lastRow - firstRow + 1, plane.At(0, x), plane.stride,
                                      firstRow - kPlaneFirstRow))
                return false;
    } else {
        // States 0..range - 1 only: the byte planes end the others.
        const std::size_t words = storage.size();
        fast::BitPlane states[fast::kMaxKeyBits];
        for (int j = 0; j < fast::kMaxKeyBits; ++j) {
            for (std::vector<std::uint64_t>& v :
                 {std::ref(lp.states[0][j]), std::ref(lp.states[1][j])})
                v.assign(j < rule.stateBits ? words : 0, 0);
            if (j < rule.stateBits)
                states[j] = PlaneOf(lp.states[lp.current][j], kPlaneFirstColumn);
        }
        for (int x = first; x <= last; ++x) {
            const std::int32_t* column = cells.Column(x) - cells.Low();
            for (int y = firstRow; y <= lastRow; ++y) {
                const std::int32_t v = column[y];
                if (v < 0 || v >= rule.range)
                    return false;
                const int at = y - kPlaneFirstRow;
                const std::uint64_t bit = std::uint64_t{1} << (at & 63);
                if (v == 1)
                    *plane.At(at >> 6, x) |= bit;
                for (int j = 0; j < rule.stateBits; ++j)
                    if ((v >> j) & 1)
                        *states[j].At(at >> 6, x) |= bit;
            }
        }
    }
    if (torus)
        WrapMargins(plane, W, H);
    lp.range = rule.history ? rule.range : 0;
    lp.valid = true;
    return true;
}

void StepEngine::NoteKeys(const StateField& field, bool colourMode, std::int32_t ageLimit) {
    LifePlanes& lp = lifePlanes_;
    lp.keysValid = true;
    lp.keysColourMode = colourMode;
    lp.keysAgeLimit = ageLimit;
    lp.keysVersion = field.Version();
}

void StepEngine::KeysFromValues(const StateField& field, bool colourMode, std::int32_t ageLimit) {
    LifePlanes& lp = lifePlanes_;
    for (int j = 0; j < lp.keyBits; ++j)
        std::fill(lp.keyPlanes[j].begin(), lp.keyPlanes[j].end(), 0);
    std::fill(lp.lasting.begin(), lp.lasting.end(), 0);
    const fast::BitPlane lasting = PlaneOf(lp.lasting, kPlaneFirstColumn);
    const fast::BitPlane live = PlaneOf(lp.live[lp.current], kPlaneFirstColumn);
    for (int x = kPlaneFirstColumn; x <= live.lastColumn; ++x) {
        if (lp.updateColumns[static_cast<std::size_t>(x - kPlaneFirstColumn)] == 0)
            continue;
        const std::int32_t* cells = field.Column(x) - field.Low() + kPlaneFirstRow;
        for (int k = 0; k < lp.wordRows; ++k) {
            const std::uint64_t updated =
                *live.At(k, x) & lp.updateRows[static_cast<std::size_t>(k)];
            *lasting.At(k, x) = updated;
            for (std::uint64_t l = updated; l != 0; l &= l - 1) {
                const int bit = __builtin_ctzll(l);
                const std::uint8_t key = fast::KeyOf(colourMode, ageLimit, cells[64 * k + bit]);
                for (int j = 0; j < lp.keyBits; ++j)
                    *PlaneOf(lp.keyPlanes[j], kPlaneFirstColumn).At(k, x) |=
                        std::uint64_t{(key >> j) & 1u} << bit;
            }
        }
    }
    // The keys and the grids' values are the ages as they are now.
    lp.ticks = lp.lastingTicks = 0;
    lp.sinceWritten = 0;
    NoteKeys(field, colourMode, ageLimit);
}

std::array<std::uint64_t, 3> StepEngine::GridVersions(const World& world) {
    return {world.MainField.Version(), world.BornMarks.Version(), world.DiedMarks.Version()};
}

std::array<const void*, 3> StepEngine::Grids(const World& world) {
    return {world.MainField.Stored(), world.BornMarks.Stored(), world.DiedMarks.Stored()};
}

const fast::BitPlane* StepEngine::SettleForPaint(World& world,
                                                 const std::vector<std::uint32_t>& key) {
    LifePlanes& lp = lifePlanes_;
    const fast::BitPlane* changed = nullptr;
    // Cells a stretch has not touched and that held no mark at its start or
    // now kept their value and marks: they show what was painted before it.
    if (painted_.valid && !key.empty() && painted_.key == key && lp.waiting == &world &&
        lp.marksKnown && lp.startVersions == painted_.versions && lp.startGrids == painted_.grids) {
        const int current = lp.current;
        lp.changed.resize(lp.touched.size());
        for (std::size_t i = 0; i < lp.changed.size(); ++i)
            lp.changed[i] = lp.touched[i] | lp.born[current][i] | lp.died[current][i] |
                            lp.gridBorn[i] | lp.gridDied[i];
        changedForPaint_ = PlaneOf(lp.changed, kPlaneFirstColumn);
        changed = &changedForPaint_;
    }
    painted_.valid = false;
    world.MainField.Settle();
    return changed;
}

void StepEngine::NotePainted(const World& world, std::vector<std::uint32_t> key) {
    painted_ = {true, std::move(key), GridVersions(world), Grids(world)};
}

void StepEngine::Complete() {
    LifePlanes& lp = lifePlanes_;
    World* world = lp.waiting;
    if (!world)
        return;
    // Given back first: the writes below must not come here again.
    lp.waiting = nullptr;
    StateField& field = world->MainField;
    MarkField& bornMarks = world->BornMarks;
    MarkField& diedMarks = world->DiedMarks;
    for (auto* grid : {&bornMarks, &diedMarks})
        grid->Defer(nullptr);
    field.Defer(nullptr);

    fast::LifePass pass;
    pass.to = PlaneOf(lp.live[lp.current], kPlaneFirstColumn);
    pass.bornBits = PlaneOf(lp.born[lp.current], kPlaneFirstColumn);
    pass.diedBits = PlaneOf(lp.died[lp.current], kPlaneFirstColumn);
    if (lp.marksKnown) {
        pass.lastBornBits = PlaneOf(lp.gridBorn, kPlaneFirstColumn);
        pass.lastDiedBits = PlaneOf(lp.gridDied, kPlaneFirstColumn);
    }
    pass.touched = PlaneOf(lp.touched, kPlaneFirstColumn);
    pass.lasting = PlaneOf(lp.lasting, kPlaneFirstColumn);
    pass.lastingTicks = lp.lastingTicks;
    pass.newbornOnly = lp.sinceWritten == 1;
    pass.lastRow = lp.height + 1;
    pass.field = {field.Stored(), field.Low(), field.Side()};
    pass.born = {bornMarks.Stored(), bornMarks.Low(), bornMarks.Side()};
    pass.died = {diedMarks.Stored(), diedMarks.Low(), diedMarks.Side()};
    pass.colourMode = lp.colourMode;
    pass.ageLimit = lp.ageLimit;
    pass.ticks = lp.ticks;
    for (int j = 0; j < lp.keyBits; ++j)
        pass.keyPlanes[j] = PlaneOf(lp.keyPlanes[j], kPlaneFirstColumn).words;
    pass.keyBits = lp.keyBits;
    if (lp.range != 0) {
        // The values are the states.
        pass.states = true;
        pass.keyBits = std::bit_width(static_cast<unsigned>(lp.range));
        for (int j = 0; j < pass.keyBits; ++j)
            pass.keyPlanes[j] = PlaneOf(lp.states[lp.current][j], kPlaneFirstColumn).words;
    }
    // The columns are independent, as in the generation.
    const int columns = lp.columns;
    const int parts = std::clamp(columns / 64, 1, static_cast<int>(pool_.Size()));
    const fast::Kernels& kernels = *kernels_;
    auto part = [&](int p, unsigned) {
        const int first =
            kPlaneFirstColumn + static_cast<int>(static_cast<long long>(columns) * p / parts);
        const int last = kPlaneFirstColumn +
                         static_cast<int>(static_cast<long long>(columns) * (p + 1) / parts) - 1;
        kernels.completeLifeColumns(pass, first, last);
    };
    pool_.Run(parts, part);
    lp.gridBorn = lp.born[lp.current];
    lp.gridDied = lp.died[lp.current];
    lp.lastingTicks = lp.sinceWritten = 0;

    // The grids now hold what the planes say; the writes changed no version.
    if (lp.range == 0)
        NoteKeys(field, lp.colourMode, lp.ageLimit);
    lp.marksValid = true;
    lp.bornMarks = bornMarks.Stored();
    lp.diedMarks = diedMarks.Stored();
    lp.bornVersion = bornMarks.Version();
    lp.diedVersion = diedMarks.Version();
}

}  // namespace zentorix
