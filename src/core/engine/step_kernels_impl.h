// The fast step's kernels. This file is included once per instruction set, each
// time inside a namespace of its own and with that set's code generation in
// force, so it has no include guard. Everything here has internal linkage and
// calls nothing from the standard library that could be emitted out of line:
// code built for a wider instruction set must never be shared with callers that
// run on the baseline.

namespace {

using std::int32_t;
using std::int64_t;
using std::int8_t;
using std::uint8_t;

using Lanes = CompiledRule::Lanes;
using Decision = CompiledRule::Decision;

inline int WrapRow(int a, int n) {
    const int r = a % n;
    return r < 0 ? r + n : r;
}

// ---------------------------------------------------------------------------
// Planes

template <bool Live, bool First>
void ConvertRun(const int32_t* __restrict src, uint8_t* __restrict live, uint8_t* __restrict first,
                int n) {
    for (int i = 0; i < n; ++i) {
        const int32_t v = src[i];
        if (Live)
            live[i] = static_cast<uint8_t>(v >= 1 ? 0xFF : 0);
        if (First)
            first[i] = static_cast<uint8_t>(v == 1 ? 0xFF : 0);
    }
}

template <bool Live, bool First>
void BuildColumn(const PassContext& ctx, int x) {
    const Planes& p = ctx.planes;
    uint8_t* live = Live ? p.Live(x) : nullptr;
    uint8_t* first = First ? p.First(x) : nullptr;
    if (!ctx.torus) {
        ConvertRun<Live, First>(ctx.field.Column(x) + p.firstRow, live, first, p.rows);
        return;
    }
    // Torus: the column and its margin rows come from the wrapped positions.
    const int32_t* src = ctx.field.Column(WrapRow(x, ctx.wrapX));
    int r = 0;
    while (r < p.rows) {
        const int sy = WrapRow(p.firstRow + r, ctx.wrapY);
        int run = ctx.wrapY - sy;
        if (run > p.rows - r)
            run = p.rows - r;
        ConvertRun<Live, First>(src + sy, Live ? live + r : nullptr, First ? first + r : nullptr,
                                run);
        r += run;
    }
}

void BuildPlaneColumnImpl(const PassContext& ctx, int x) {
    if (ctx.needLive && ctx.needFirst)
        BuildColumn<true, true>(ctx, x);
    else if (ctx.needLive)
        BuildColumn<true, false>(ctx, x);
    else if (ctx.needFirst)
        BuildColumn<false, true>(ctx, x);
}

// ---------------------------------------------------------------------------
// Evaluation: neighbourhood sums and their classes

// acc[i] = the count (Lanes::Count) or the weighted sum of plane rows i + offset
// over the rule's terms; `cols` holds the plane columns x-2..x+2.
template <typename T, bool Count>
void SumTerms(const CompiledRule& rule, const uint8_t* const* cols, int offset, int n,
              T* __restrict acc) {
    for (int i = 0; i < n; ++i)
        acc[i] = 0;
    for (int t = 0; t < rule.termCount; ++t) {
        const CompiledRule::Term term = rule.terms[static_cast<unsigned>(t)];
        const int8_t* __restrict src =
            reinterpret_cast<const int8_t*>(cols[term.dx + 2] + offset + term.dy);
        if (Count) {
            // Plane bytes are 0 or -1: subtracting counts the set ones.
            for (int i = 0; i < n; ++i)
                acc[i] = static_cast<T>(acc[i] - src[i]);
        } else {
            const T w = static_cast<T>(term.weight);
            for (int i = 0; i < n; ++i)
                acc[i] = static_cast<T>(acc[i] + (static_cast<T>(src[i]) & w));
        }
    }
}

// ORs the class of each key acc[i] into cls[i].
template <typename T>
void Classify(const CompiledRule& rule, const T* __restrict acc, int n, uint8_t* __restrict cls) {
    switch (rule.decision) {
        case Decision::Compare:
            for (unsigned k = 0; k < rule.keys.size(); ++k) {
                const T key = static_cast<T>(rule.keys[k]);
                const uint8_t c = rule.keyClasses[k];
                for (int i = 0; i < n; ++i)
                    cls[i] = static_cast<uint8_t>(cls[i] | (acc[i] == key ? c : 0));
            }
            break;
        case Decision::Table: {
            const uint8_t* table = rule.table.data();
            const int64_t low = rule.lowKey;
            for (int i = 0; i < n; ++i)
                cls[i] = static_cast<uint8_t>(cls[i] | table[static_cast<int64_t>(acc[i]) - low]);
            break;
        }
        case Decision::Search:
            for (int i = 0; i < n; ++i)
                cls[i] = static_cast<uint8_t>(cls[i] | rule.ClassOf(static_cast<int64_t>(acc[i])));
            break;
    }
}

template <typename T, bool Count>
void SumAndClassify(const CompiledRule& rule, const uint8_t* const* cols, int offset, int n,
                    uint8_t* cls) {
    alignas(64) T acc[kMaxRows];
    SumTerms<T, Count>(rule, cols, offset, n, acc);
    Classify<T>(rule, acc, n, cls);
}

// ORs the birth and survival bits of the rule into cls for the evaluated rows of
// column x.
void Evaluate(const PassContext& ctx, const CompiledRule& rule, int x, uint8_t* cls) {
    const Planes& p = ctx.planes;
    const uint8_t* cols[5] = {nullptr, nullptr, nullptr, nullptr, nullptr};
    for (int dx = -rule.radius; dx <= rule.radius; ++dx)
        cols[dx + 2] = rule.firstStateOnly ? p.First(x + dx) : p.Live(x + dx);
    const int offset = ctx.evalFirstRow - p.firstRow;
    const int n = ctx.evalLastRow - ctx.evalFirstRow + 1;
    switch (rule.lanes) {
        case Lanes::Count:
            SumAndClassify<uint8_t, true>(rule, cols, offset, n, cls);
            break;
        case Lanes::Int8:
            SumAndClassify<int8_t, false>(rule, cols, offset, n, cls);
            break;
        case Lanes::Int16:
            SumAndClassify<std::int16_t, false>(rule, cols, offset, n, cls);
            break;
        case Lanes::Int32:
            SumAndClassify<int32_t, false>(rule, cols, offset, n, cls);
            break;
        case Lanes::Int64:
            SumAndClassify<int64_t, false>(rule, cols, offset, n, cls);
            break;
    }
}

// ---------------------------------------------------------------------------
// Marks and update

enum class HistoryMode { Off, On, PerCell };

// Per row of a column, as one 32-bit word: the class bits and row flags of the
// cell's rule, and the preset marks.
constexpr int32_t kPresetBorn = 16;
constexpr int32_t kPresetDied = 32;
// Rows of scratch: a column plus the padding of its last vector.
constexpr int kScratchRows = kMaxRows + 16;

struct ColumnArgs {
    int32_t* cur = nullptr;
    const int32_t* flags0 = nullptr;  // rows under rule set 0 (or the one rule)
    const int32_t* flags1 = nullptr;  // the same under rule set 1, where the two mix
    const int32_t* laws = nullptr;    // the Other Reality column, where the two mix
    const int32_t* dead = nullptr;    // the Eternal Dead column while it kills
    int32_t* marks = nullptr;         // out: born mark in bit 0, died mark in bit 1
    int32_t historyRange0 = 0, historyRange1 = 0;
    bool history0 = false, history1 = false;
    int32_t ageLimit = 1;
    int32_t colourPhase = 1;
};

struct ColumnCounts {
    int32_t live = 0, stateOne = 0, born = 0, died = 0;
};

// Vectors of 32-bit lanes in the width the instruction set handles natively.
// Comparisons give -1 (true) or 0 per lane; all logic below works on such masks.
constexpr int kLanes = ZENTORIX_KERNEL_LANES;
using Vec = int32_t __attribute__((vector_size(kLanes * 4)));

[[gnu::always_inline]] inline Vec Splat(int32_t v) {
    return Vec{} + v;
}
[[gnu::always_inline]] inline Vec Load(const int32_t* p) {
    Vec v;
    __builtin_memcpy(&v, p, sizeof v);
    return v;
}
[[gnu::always_inline]] inline void Store(int32_t* p, Vec v) {
    __builtin_memcpy(p, &v, sizeof v);
}
// Lanes of `a` where the mask is set, else of `b`.
[[gnu::always_inline]] inline Vec Select(Vec mask, Vec a, Vec b) {
    return (a & mask) | (b & ~mask);
}

// Per-column constants of the update, splatted once.
struct UpdateConstants {
    Vec zero, one, two, max, ageLimit, phase, range0, range1, history0, history1;
};

// The documented marks and update for kLanes cells: marks from the classes
// (and, on the Main Field, the presets), then in updated rows the new values and
// the counts. Counts are added as -1 per counted cell.
template <bool Other, bool Mix, HistoryMode Hist, bool Colour, bool Kill>
[[gnu::always_inline]] inline void MarkAndUpdateLanes(int32_t* cur, const int32_t* flags0,
                                                      const int32_t* flags1, const int32_t* laws,
                                                      const int32_t* dead, int32_t* marks,
                                                      const UpdateConstants& u, Vec& live,
                                                      Vec& stateOne, Vec& bornCount,
                                                      Vec& diedCount) {
    const Vec zero = u.zero, one = u.one;
    const Vec c = Load(cur);
    Vec f = Load(flags0);
    Vec second = zero;
    if (Mix) {
        second = Load(laws) > zero;
        f = Select(second, Load(flags1), f);
    }
    const Vec evalBirth = Splat(kRowEvaluated | CompiledRule::kBirth);
    const Vec evalSurvival = Splat(kRowEvaluated | CompiledRule::kSurvival);
    const Vec updated = (f & kRowUpdated) != zero;
    const Vec birthTest = (f & evalBirth) == evalBirth;
    const Vec survivalFailed = (f & evalSurvival) == Splat(kRowEvaluated);
    const Vec isLive = c > zero;
    const Vec evaluatedLive = ((f & kRowEvaluated) != zero) & isLive;
    const Vec empty = c == zero;

    Vec b, d;
    if (Other) {
        b = birthTest;
        d = survivalFailed & evaluatedLive;
    } else {
        b = ((f & kPresetBorn) != zero) | (birthTest & empty);
        d = Select(evaluatedLive, survivalFailed, (f & kPresetDied) != zero);
    }

    // Ageing stops at the largest state instead of wrapping.
    const Vec older = c - (c != u.max);
    Vec plain;
    if (Colour) {
        plain = Select(isLive & d, zero, c);
        plain = Select(empty & b, u.phase, plain);
    } else {
        plain = Select(isLive, Select(d, zero, older), c);
        plain = Select((empty & b) | (plain > u.ageLimit), one, plain);
    }

    const Vec starts = (c == one) & d;
    Vec decaying = Select(starts, u.two, c);
    Vec decayDied = d & ~starts;
    decaying = Select(b & empty, one, decaying);
    decaying = Select(c > one, older, decaying);
    const Vec range = Hist == HistoryMode::PerCell ? Select(second, u.range1, u.range0) : u.range0;
    const Vec ends = (range <= c) | (range <= decaying);
    decaying = decaying & ~ends;
    decayDied = decayDied | ends;

    Vec next = plain, nextDied = d;
    if (Hist == HistoryMode::On) {
        next = decaying;
        nextDied = decayDied;
    } else if (Hist == HistoryMode::PerCell) {
        const Vec history = Select(second, u.history1, u.history0);
        next = Select(history, decaying, plain);
        nextDied = Select(history, decayDied, d);
    }
    if (Kill) {
        const Vec killed = (next > zero) & (Load(dead) > zero);
        next = next & ~killed;
        nextDied = nextDied | killed;
    }

    Store(cur, Select(updated, next, c));
    Store(marks, (b & one) | (Select(updated, nextDied, d) & u.two));
    if (!Other) {
        live += updated & (next > zero);
        stateOne += updated & (next == one);
        bornCount += updated & b;
        diedCount += updated & nextDied;
    }
}

// Marks and update of rows 0..n-1 of one column. The flag rows are padded to a
// whole vector with zeros; the grid rows past n belong to nobody here, so the
// last rows go through the same code on padded copies.
template <bool Other, bool Mix, HistoryMode Hist, bool Colour, bool Kill>
void MarkAndUpdate(const ColumnArgs& a, int n, ColumnCounts& counts) {
    UpdateConstants u;
    u.zero = Splat(0);
    u.one = Splat(1);
    u.two = Splat(2);
    u.max = Splat(INT32_MAX);
    u.ageLimit = Splat(a.ageLimit);
    u.phase = Splat(a.colourPhase);
    u.range0 = Splat(a.historyRange0);
    u.range1 = Splat(a.historyRange1);
    u.history0 = Splat(a.history0 ? -1 : 0);
    u.history1 = Splat(a.history1 ? -1 : 0);
    Vec live = u.zero, stateOne = u.zero, bornCount = u.zero, diedCount = u.zero;
    int i = 0;
    for (; i + kLanes <= n; i += kLanes)
        MarkAndUpdateLanes<Other, Mix, Hist, Colour, Kill>(
            a.cur + i, a.flags0 + i, Mix ? a.flags1 + i : nullptr, Mix ? a.laws + i : nullptr,
            Kill ? a.dead + i : nullptr, a.marks + i, u, live, stateOne, bornCount, diedCount);
    if (i < n) {
        const int rest = n - i;
        int32_t cur[kLanes] = {}, laws[kLanes] = {}, dead[kLanes] = {};
        for (int j = 0; j < rest; ++j) {
            cur[j] = a.cur[i + j];
            if (Mix)
                laws[j] = a.laws[i + j];
            if (Kill)
                dead[j] = a.dead[i + j];
        }
        MarkAndUpdateLanes<Other, Mix, Hist, Colour, Kill>(
            cur, a.flags0 + i, Mix ? a.flags1 + i : nullptr, laws, dead, a.marks + i, u, live,
            stateOne, bornCount, diedCount);
        for (int j = 0; j < rest; ++j)
            a.cur[i + j] = cur[j];
    }
    for (int j = 0; j < kLanes; ++j) {
        counts.live -= live[j];
        counts.stateOne -= stateOne[j];
        counts.born -= bornCount[j];
        counts.died -= diedCount[j];
    }
}

// flags[i] := the class bits and row flags, with the preset marks taken from
// the mark grids.
void FlagsWithMarks(const uint8_t* __restrict cls, const uint8_t* __restrict born,
                    const uint8_t* __restrict died, int n, int32_t* __restrict flags) {
    for (int i = 0; i < n; ++i)
        flags[i] = cls[i] | ((born[i] & 1) << 4) | ((died[i] & 1) << 5);
}

// The same with the presets taken from the layers (1 where a layer holds more
// than 0; no layer, no preset).
template <bool Born, bool Died>
void FlagsWithLayers(const uint8_t* __restrict cls, const int32_t* __restrict bornLayer,
                     const int32_t* __restrict diedLayer, int n, int32_t* __restrict flags) {
    for (int i = 0; i < n; ++i) {
        int32_t f = cls[i];
        if (Born)
            f |= bornLayer[i] > 0 ? kPresetBorn : 0;
        if (Died)
            f |= diedLayer[i] > 0 ? kPresetDied : 0;
        flags[i] = f;
    }
}

// The flag words of one column; rows n.. up to a whole vector are zero.
void Flags(const PassContext& ctx, int x, const uint8_t* cls, const uint8_t* born,
           const uint8_t* died, int n, int32_t* flags) {
    const int32_t* bornLayer =
        ctx.presetBornLayer.base ? ctx.presetBornLayer.Column(x) + ctx.firstRow : nullptr;
    const int32_t* diedLayer =
        ctx.presetDiedLayer.base ? ctx.presetDiedLayer.Column(x) + ctx.firstRow : nullptr;
    if (ctx.otherReality)
        FlagsWithLayers<false, false>(cls, nullptr, nullptr, n, flags);
    else if (ctx.presetsFromMarks)
        FlagsWithMarks(cls, born, died, n, flags);
    else if (bornLayer && diedLayer)
        FlagsWithLayers<true, true>(cls, bornLayer, diedLayer, n, flags);
    else if (bornLayer)
        FlagsWithLayers<true, false>(cls, bornLayer, nullptr, n, flags);
    else if (diedLayer)
        FlagsWithLayers<false, true>(cls, nullptr, diedLayer, n, flags);
    else
        FlagsWithLayers<false, false>(cls, nullptr, nullptr, n, flags);
    for (int i = n; i < n + kLanes; ++i)
        flags[i] = 0;
}

// The marks words back into the two mark grids.
void SplitMarks(const int32_t* __restrict marks, int n, uint8_t* __restrict born,
                uint8_t* __restrict died) {
    for (int i = 0; i < n; ++i) {
        born[i] = static_cast<uint8_t>(marks[i] & 1);
        died[i] = static_cast<uint8_t>((marks[i] >> 1) & 1);
    }
}

template <bool Other, bool Mix, HistoryMode Hist, bool Colour>
void MarkAndUpdateKill(const ColumnArgs& a, int n, bool kill, ColumnCounts& counts) {
    if (kill)
        MarkAndUpdate<Other, Mix, Hist, Colour, true>(a, n, counts);
    else
        MarkAndUpdate<Other, Mix, Hist, Colour, false>(a, n, counts);
}

template <bool Mix, HistoryMode Hist>
void MarkAndUpdateMain(const ColumnArgs& a, int n, bool colour, bool kill, ColumnCounts& counts) {
    if (colour)
        MarkAndUpdateKill<false, Mix, Hist, true>(a, n, kill, counts);
    else
        MarkAndUpdateKill<false, Mix, Hist, false>(a, n, kill, counts);
}

// ---------------------------------------------------------------------------
// Columns

enum class Laws { First, Second, Mixed };

// Which rule set governs the walked rows of a column.
Laws LawsOfColumn(const int32_t* __restrict laws, int n) {
    int any = 0, all = 1;
    for (int i = 0; i < n; ++i) {
        const int p = laws[i] > 0 ? 1 : 0;
        any |= p;
        all &= p;
    }
    return all ? Laws::Second : (any ? Laws::Mixed : Laws::First);
}

// The row flags of a column, before any class bit is known.
void InitialClasses(const uint8_t* __restrict evalFlags, bool evaluated,
                    const uint8_t* __restrict updateFlags, bool updated, int n,
                    uint8_t* __restrict cls) {
    const uint8_t evalMask = evaluated ? 0xFF : 0;
    const uint8_t updateMask = updated ? 0xFF : 0;
    for (int i = 0; i < n; ++i)
        cls[i] = static_cast<uint8_t>((evalFlags[i] & evalMask) | (updateFlags[i] & updateMask));
}

void RunColumnsImpl(const PassContext& ctx, int first, int last, PassCounts& total) {
    const int rows = ctx.lastRow - ctx.firstRow + 1;
    const int evalOffset = ctx.evalFirstRow - ctx.firstRow;
    alignas(64) uint8_t cls0[kMaxRows];
    alignas(64) uint8_t cls1[kMaxRows];
    alignas(64) int32_t flags0[kScratchRows];
    alignas(64) int32_t flags1[kScratchRows];
    alignas(64) int32_t marks[kScratchRows];
    ColumnCounts counts;

    for (int x = first; x <= last; ++x) {
        // The interior plane column a halo ahead still holds the previous
        // generation: only this part reads it, and it updates it only later.
        const int ahead = x + ctx.halo;
        if (ahead <= last - ctx.halo)
            BuildPlaneColumnImpl(ctx, ahead);

        const bool evaluated = x >= ctx.evalFirstColumn && x <= ctx.evalLastColumn;
        const bool updated = x >= ctx.updateFirstColumn && x <= ctx.updateLastColumn;

        const int32_t* laws = nullptr;
        Laws which = Laws::First;
        if (ctx.otherLaws.base) {
            laws = ctx.otherLaws.Column(x) + ctx.firstRow;
            which = LawsOfColumn(laws, rows);
        }
        const bool mix = which == Laws::Mixed;
        const CompiledRule& rule0 = *ctx.rules[which == Laws::Second ? 1 : 0];

        InitialClasses(ctx.evalRowFlags, evaluated, ctx.updateRowFlags, updated, rows, cls0);
        if (mix)
            InitialClasses(ctx.evalRowFlags, evaluated, ctx.updateRowFlags, updated, rows, cls1);
        if (evaluated) {
            Evaluate(ctx, rule0, x, cls0 + evalOffset);
            if (mix)
                Evaluate(ctx, *ctx.rules[1], x, cls1 + evalOffset);
        }

        uint8_t* born = ctx.born.Column(x) + ctx.firstRow;
        uint8_t* died = ctx.died.Column(x) + ctx.firstRow;
        Flags(ctx, x, cls0, born, died, rows, flags0);
        if (mix)
            Flags(ctx, x, cls1, born, died, rows, flags1);

        ColumnArgs a;
        a.cur = ctx.field.Column(x) + ctx.firstRow;
        a.flags0 = flags0;
        a.flags1 = flags1;
        a.marks = marks;
        a.laws = laws;
        a.dead = ctx.eternalDead.base ? ctx.eternalDead.Column(x) + ctx.firstRow : nullptr;
        a.history0 = rule0.history;
        a.historyRange0 = rule0.historyRange;
        a.ageLimit = ctx.ageLimit;
        a.colourPhase = ctx.colourPhase;

        if (ctx.otherReality) {
            if (rule0.history)
                MarkAndUpdate<true, false, HistoryMode::On, false, false>(a, rows, counts);
            else
                MarkAndUpdate<true, false, HistoryMode::Off, false, false>(a, rows, counts);
            SplitMarks(marks, rows, born, died);
            continue;
        }

        const bool kill = a.dead != nullptr;
        HistoryMode hist = rule0.history ? HistoryMode::On : HistoryMode::Off;
        if (mix) {
            const CompiledRule& rule1 = *ctx.rules[1];
            a.history1 = rule1.history;
            a.historyRange1 = rule1.historyRange;
            const bool same = rule0.history == rule1.history &&
                              (!rule0.history || rule0.historyRange == rule1.historyRange);
            if (!same)
                hist = HistoryMode::PerCell;
        }
        switch (hist) {
            case HistoryMode::Off:
                if (mix)
                    MarkAndUpdateMain<true, HistoryMode::Off>(a, rows, ctx.colourMode, kill,
                                                              counts);
                else
                    MarkAndUpdateMain<false, HistoryMode::Off>(a, rows, ctx.colourMode, kill,
                                                               counts);
                break;
            case HistoryMode::On:
                if (mix)
                    MarkAndUpdateMain<true, HistoryMode::On>(a, rows, false, kill, counts);
                else
                    MarkAndUpdateMain<false, HistoryMode::On>(a, rows, false, kill, counts);
                break;
            case HistoryMode::PerCell:
                MarkAndUpdateMain<true, HistoryMode::PerCell>(a, rows, ctx.colourMode, kill,
                                                              counts);
                break;
        }
        SplitMarks(marks, rows, born, died);
    }
    total.live += counts.live;
    total.stateOne += counts.stateOne;
    total.born += counts.born;
    total.died += counts.died;
}

}  // namespace
