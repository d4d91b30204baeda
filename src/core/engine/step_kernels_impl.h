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

struct ColumnArgs {
    int32_t* cur = nullptr;
    uint8_t* born = nullptr;
    uint8_t* died = nullptr;
    const uint8_t* cls0 = nullptr;  // classes and row flags under rule set 0 (or the one rule)
    const uint8_t* cls1 = nullptr;  // the same under rule set 1, where the two mix
    const int32_t* laws = nullptr;  // the Other Reality column, where the two mix
    const int32_t* dead = nullptr;  // the Eternal Dead column while it kills
    int32_t historyRange0 = 0, historyRange1 = 0;
    bool history0 = false, history1 = false;
    int32_t ageLimit = 1;
    int32_t colourPhase = 1;
};

struct ColumnCounts {
    int32_t live = 0, stateOne = 0, born = 0, died = 0;
};

// Turns the classes into marks and, in updated rows, the marks into new values:
// the documented update of one column, without branches so that it vectorises.
template <bool Other, bool Mix, HistoryMode Hist, bool Colour, bool Kill>
void MarkAndUpdate(const ColumnArgs& a, int n, ColumnCounts& counts) {
    int32_t* __restrict cur = a.cur;
    uint8_t* __restrict bornMarks = a.born;
    uint8_t* __restrict diedMarks = a.died;
    const uint8_t* __restrict cls0 = a.cls0;
    const uint8_t* __restrict cls1 = a.cls1;
    const int32_t* __restrict laws = a.laws;
    const int32_t* __restrict dead = a.dead;
    int32_t live = 0, stateOne = 0, bornCount = 0, diedCount = 0;
    for (int i = 0; i < n; ++i) {
        const int32_t c = cur[i];
        const bool second = Mix && laws[i] > 0;
        const int32_t k = second ? cls1[i] : cls0[i];
        const bool evaluated = (k & kRowEvaluated) != 0;
        const bool updated = (k & kRowUpdated) != 0;
        const bool birthSum = (k & CompiledRule::kBirth) != 0;
        const bool survivalSum = (k & CompiledRule::kSurvival) != 0;

        bool b, d;
        if (Other) {
            b = evaluated && birthSum;
            d = evaluated && c > 0 && !survivalSum;
        } else {
            b = bornMarks[i] != 0 || (evaluated && c == 0 && birthSum);
            d = (evaluated && c > 0) ? !survivalSum : diedMarks[i] != 0;
        }

        const int32_t older = c + (c != INT32_MAX ? 1 : 0);
        int32_t plain;
        if (Colour) {
            plain = (c >= 1 && d) ? 0 : ((c == 0 && b) ? a.colourPhase : c);
        } else {
            plain = c >= 1 ? (d ? 0 : older) : c;
            plain = ((c == 0 && b) || plain > a.ageLimit) ? 1 : plain;
        }

        int32_t decaying = c;
        bool decayDied = d;
        if (c == 1 && d) {
            decaying = 2;
            decayDied = false;
        }
        if (b && c == 0)
            decaying = 1;
        if (c > 1)
            decaying = older;
        const int32_t range =
            (Hist == HistoryMode::PerCell && second) ? a.historyRange1 : a.historyRange0;
        if (range <= c || range <= decaying) {
            decaying = 0;
            decayDied = true;
        }

        bool history = Hist == HistoryMode::On;
        if (Hist == HistoryMode::PerCell)
            history = second ? a.history1 : a.history0;
        int32_t next = history ? decaying : plain;
        bool nextDied = history ? decayDied : d;
        if (Kill && next >= 1 && dead[i] >= 1) {
            next = 0;
            nextDied = true;
        }

        cur[i] = updated ? next : c;
        bornMarks[i] = b ? 1 : 0;
        const bool died = updated ? nextDied : d;
        diedMarks[i] = died ? 1 : 0;
        if (!Other) {
            live += (updated && next >= 1) ? 1 : 0;
            stateOne += (updated && next == 1) ? 1 : 0;
            bornCount += (updated && b) ? 1 : 0;
            diedCount += (updated && nextDied) ? 1 : 0;
        }
    }
    counts.live += live;
    counts.stateOne += stateOne;
    counts.born += bornCount;
    counts.died += diedCount;
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

void RunColumnsImpl(const PassContext& ctx, int first, int last, PassCounts& total) {
    const int rows = ctx.lastRow - ctx.firstRow + 1;
    const int evalOffset = ctx.evalFirstRow - ctx.firstRow;
    alignas(64) uint8_t cls0[kMaxRows];
    alignas(64) uint8_t cls1[kMaxRows];
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

        for (int i = 0; i < rows; ++i)
            cls0[i] = static_cast<uint8_t>((evaluated ? ctx.evalRowFlags[i] : 0) |
                                           (updated ? ctx.updateRowFlags[i] : 0));
        if (mix)
            for (int i = 0; i < rows; ++i)
                cls1[i] = cls0[i];
        if (evaluated) {
            Evaluate(ctx, rule0, x, cls0 + evalOffset);
            if (mix)
                Evaluate(ctx, *ctx.rules[1], x, cls1 + evalOffset);
        }

        ColumnArgs a;
        a.cur = ctx.field.Column(x) + ctx.firstRow;
        a.born = ctx.born.Column(x) + ctx.firstRow;
        a.died = ctx.died.Column(x) + ctx.firstRow;
        a.cls0 = cls0;
        a.cls1 = cls1;
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
    }
    total.live += counts.live;
    total.stateOne += counts.stateOne;
    total.born += counts.born;
    total.died += counts.died;
}

}  // namespace
