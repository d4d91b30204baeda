// Kernels, part one: the byte planes and the rule evaluation (neighbourhood sums
// and their birth/survival classes). Included by step_kernels_impl.h inside an
// instruction-set namespace; see there.

using std::int32_t;
using std::int64_t;
using std::int8_t;
using std::uint8_t;

using Lanes = CompiledRule::Lanes;
using Decision = CompiledRule::Decision;

// 32-bit lanes per vector in the width the instruction set handles natively.
constexpr int kLanes = ZENTORIX_KERNEL_LANES;
constexpr int kByteLanes = kLanes * 4;
// Rows summed at once while the partial sums stay in registers.
constexpr int kSumBlock = 4 * kByteLanes;

// Unsigned, so that sums wrap by definition: they never leave -127..127 in the
// rows that count, but the rows past a column's end may hold anything.
using ByteVec = uint8_t __attribute__((vector_size(kByteLanes)));

// Unaligned loads and stores of whole vectors, of any lane type.
template <typename V, typename T>
[[gnu::always_inline]] inline V LoadVec(const T* p) {
    V v;
    __builtin_memcpy(&v, p, sizeof v);
    return v;
}
template <typename V, typename T>
[[gnu::always_inline]] inline void StoreVec(T* p, V v) {
    __builtin_memcpy(p, &v, sizeof v);
}

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
void BuildColumn(const PassContext& ctx, int x, uint8_t* live, uint8_t* first) {
    const Planes& p = ctx.planes;
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

// Fills plane column x at the given places (either may be null when the pass
// does not need that plane).
void BuildPlaneColumnAt(const PassContext& ctx, int x, uint8_t* live, uint8_t* first) {
    if (ctx.needLive && ctx.needFirst)
        BuildColumn<true, true>(ctx, x, live, first);
    else if (ctx.needLive)
        BuildColumn<true, false>(ctx, x, live, nullptr);
    else if (ctx.needFirst)
        BuildColumn<false, true>(ctx, x, nullptr, first);
}

void BuildPlaneColumnImpl(const PassContext& ctx, int x) {
    BuildPlaneColumnAt(ctx, x, ctx.planes.Live(x), ctx.planes.First(x));
}

// Where a part of a pass finds its plane columns: those it builds itself, the
// interior ones, cycle through a few slots that stay in the core's own cache;
// the columns shared with other parts stay in the pass's plane storage.
class PartPlanes {
  public:
    static constexpr int kSlots = 8;  // a power of two above 2 * halo + 1
    // Bytes per slot: a plane column, plus what the sums read past its end.
    static constexpr int kSlotBytes = kMaxRows + kSumBlock + 64;

    PartPlanes(const PassContext& ctx, int first, int last)
        : planes_(ctx.planes), interiorFirst_(first + ctx.halo), interiorLast_(last - ctx.halo) {}

    uint8_t* Live(int x) { return Interior(x) ? live_ + Slot(x) : planes_.Live(x); }
    uint8_t* First(int x) { return Interior(x) ? first_ + Slot(x) : planes_.First(x); }

  private:
    bool Interior(int x) const { return x >= interiorFirst_ && x <= interiorLast_; }
    static std::ptrdiff_t Slot(int x) {
        return static_cast<std::ptrdiff_t>(x & (kSlots - 1)) * kSlotBytes;
    }

    const Planes& planes_;
    int interiorFirst_, interiorLast_;
    alignas(64) uint8_t live_[kSlots * kSlotBytes];
    alignas(64) uint8_t first_[kSlots * kSlotBytes];
};

// ---------------------------------------------------------------------------
// Sums

// Byte lanes (counts, or sums that stay within -127..127): acc[i] for rows
// 0..n-1, computed kSumBlock rows at a time with the partial sums in registers.
// Rows past n up to the end of the last block are computed from whatever the
// planes hold there and must be ignored.
template <bool Count>
void SumBytes(const CompiledRule& rule, const uint8_t* const* cols, int offset, int n,
              uint8_t* __restrict acc) {
    const uint8_t* src[kPositionCount];
    ByteVec weight[kPositionCount];
    const int terms = rule.termCount;
    for (int t = 0; t < terms; ++t) {
        const CompiledRule::Term term = rule.terms[static_cast<unsigned>(t)];
        src[t] = cols[term.dx + 2] + offset + term.dy;
        weight[t] = ByteVec{} + static_cast<uint8_t>(term.weight);
    }
    for (int i = 0; i < n; i += kSumBlock) {
        ByteVec a0{}, a1{}, a2{}, a3{};
        for (int t = 0; t < terms; ++t) {
            const uint8_t* s = src[t] + i;
            const ByteVec p0 = LoadVec<ByteVec>(s), p1 = LoadVec<ByteVec>(s + kByteLanes);
            const ByteVec p2 = LoadVec<ByteVec>(s + 2 * kByteLanes),
                          p3 = LoadVec<ByteVec>(s + 3 * kByteLanes);
            if (Count) {
                // Plane bytes are 0 or 0xFF, that is -1: subtracting counts them.
                a0 -= p0;
                a1 -= p1;
                a2 -= p2;
                a3 -= p3;
            } else {
                const ByteVec w = weight[t];
                a0 += p0 & w;
                a1 += p1 & w;
                a2 += p2 & w;
                a3 += p3 & w;
            }
        }
        StoreVec(acc + i, a0);
        StoreVec(acc + i + kByteLanes, a1);
        StoreVec(acc + i + 2 * kByteLanes, a2);
        StoreVec(acc + i + 3 * kByteLanes, a3);
    }
}

// Wider lanes: one pass per term over the column, left to the vectoriser.
template <typename T>
void SumWide(const CompiledRule& rule, const uint8_t* const* cols, int offset, int n,
             T* __restrict acc) {
    for (int i = 0; i < n; ++i)
        acc[i] = 0;
    for (int t = 0; t < rule.termCount; ++t) {
        const CompiledRule::Term term = rule.terms[static_cast<unsigned>(t)];
        const int8_t* __restrict src =
            reinterpret_cast<const int8_t*>(cols[term.dx + 2] + offset + term.dy);
        const T w = static_cast<T>(term.weight);
        for (int i = 0; i < n; ++i)
            acc[i] = static_cast<T>(acc[i] + (static_cast<T>(src[i]) & w));
    }
}

// ---------------------------------------------------------------------------
// Classes

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

template <bool Count>
void EvaluateBytes(const CompiledRule& rule, const uint8_t* const* cols, int offset, int n,
                   uint8_t* cls) {
    alignas(64) uint8_t acc[kMaxRows + kSumBlock];
    SumBytes<Count>(rule, cols, offset, n, acc);
    if (Count)
        Classify<uint8_t>(rule, acc, n, cls);
    else
        Classify<int8_t>(rule, reinterpret_cast<const int8_t*>(acc), n, cls);
}

template <typename T>
void EvaluateWide(const CompiledRule& rule, const uint8_t* const* cols, int offset, int n,
                  uint8_t* cls) {
    alignas(64) T acc[kMaxRows];
    SumWide<T>(rule, cols, offset, n, acc);
    Classify<T>(rule, acc, n, cls);
}

// ORs the birth and survival bits of the rule into cls for the evaluated rows of
// column x.
void Evaluate(const PassContext& ctx, PartPlanes& planes, const CompiledRule& rule, int x,
              uint8_t* cls) {
    const uint8_t* cols[5] = {nullptr, nullptr, nullptr, nullptr, nullptr};
    for (int dx = -rule.radius; dx <= rule.radius; ++dx)
        cols[dx + 2] = rule.firstStateOnly ? planes.First(x + dx) : planes.Live(x + dx);
    const int offset = ctx.evalFirstRow - ctx.planes.firstRow;
    const int n = ctx.evalLastRow - ctx.evalFirstRow + 1;
    switch (rule.lanes) {
        case Lanes::Count:
            EvaluateBytes<true>(rule, cols, offset, n, cls);
            break;
        case Lanes::Int8:
            EvaluateBytes<false>(rule, cols, offset, n, cls);
            break;
        case Lanes::Int16:
            EvaluateWide<std::int16_t>(rule, cols, offset, n, cls);
            break;
        case Lanes::Int32:
            EvaluateWide<int32_t>(rule, cols, offset, n, cls);
            break;
        case Lanes::Int64:
            EvaluateWide<int64_t>(rule, cols, offset, n, cls);
            break;
    }
}
