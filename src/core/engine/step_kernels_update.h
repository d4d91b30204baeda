// Kernels, part two: marks and the update of the cells, on vectors of 32-bit
// lanes written with the compiler's vector extensions (the auto-vectoriser gives
// up on the mixed-width selects). Included by step_kernels_impl.h after
// step_kernels_eval.h.

// Per row of a column, as one 32-bit lane in the update: the class bits and row
// flags of the cell's rule, and the preset marks when they come from the mark
// grids.
constexpr int32_t kPresetBorn = 16;
constexpr int32_t kPresetDied = 32;
// Rows of per-column scratch: a column plus the padding of its last vector.
constexpr int kScratchRows = kMaxRows + kSumBlock;

using Vec = int32_t __attribute__((vector_size(kLanes * 4)));

[[gnu::always_inline]] inline Vec Splat(int32_t v) {
    return Vec{} + v;
}
// kLanes bytes, each widened to its own lane.
[[gnu::always_inline]] inline Vec LoadWidened(const uint8_t* p) {
#if ZENTORIX_KERNEL_LANES == 8
    return __builtin_bit_cast(
        Vec, _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p))));
#else
    int32_t word;
    __builtin_memcpy(&word, p, sizeof word);
    const __m128i zero = _mm_setzero_si128();
    const __m128i bytes = _mm_cvtsi32_si128(word);
    return __builtin_bit_cast(Vec, _mm_unpacklo_epi16(_mm_unpacklo_epi8(bytes, zero), zero));
#endif
}
// Lanes holding 0 or 1 stored as kLanes bytes each, to two places.
[[gnu::always_inline]] inline void StoreNarrowed(uint8_t* first, uint8_t* second, Vec a, Vec b) {
#if ZENTORIX_KERNEL_LANES == 8
    // Packing works within 128-bit halves: gather each operand's bytes first.
    const __m256i words =
        _mm256_packs_epi32(__builtin_bit_cast(__m256i, a), __builtin_bit_cast(__m256i, b));
    const __m256i bytes = _mm256_packs_epi16(words, words);
    const __m128i both = _mm256_castsi256_si128(
        _mm256_permutevar8x32_epi32(bytes, _mm256_setr_epi32(0, 4, 1, 5, 0, 0, 0, 0)));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(first), both);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(second), _mm_unpackhi_epi64(both, both));
#else
    const __m128i words =
        _mm_packs_epi32(__builtin_bit_cast(__m128i, a), __builtin_bit_cast(__m128i, b));
    const __m128i bytes = _mm_packs_epi16(words, words);
    const int32_t low = _mm_cvtsi128_si32(bytes);
    const int32_t high = _mm_cvtsi128_si32(_mm_srli_si128(bytes, 4));
    __builtin_memcpy(first, &low, sizeof low);
    __builtin_memcpy(second, &high, sizeof high);
#endif
}
// Bit `bit` of every lane spread over the lane: -1 where it is set, else 0.
template <int Bit>
[[gnu::always_inline]] inline Vec BitMask(Vec v) {
    return (v << (31 - Bit)) >> 31;
}
// Lanes of `a` where the mask is set, else of `b`.
[[gnu::always_inline]] inline Vec Select(Vec mask, Vec a, Vec b) {
    return (a & mask) | (b & ~mask);
}

enum class HistoryMode : std::uint8_t { Off, On, PerCell };

// What varies between columns and is fixed at compile time in the update.
struct UpdateShape {
    bool other = false;  // Other Reality step
    bool mix = false;    // rule sets 0 and 1 both occur in the column
    HistoryMode history = HistoryMode::Off;
    bool colour = false;       // newborn cells take the colour phase
    bool bornLayer = false;    // born presets read from the Eternal Life Field
    bool deadLayer = false;    // the Eternal Dead Field presets died marks or kills
    bool presetMarks = false;  // presets come from the mark grids (in the flags)
    // Rows that are both evaluated and updated: the row flags need no reading.
    bool full = false;
};

struct ColumnArgs {
    int32_t* cur = nullptr;
    const uint8_t* cls0 = nullptr;  // rows under rule set 0 (or the one rule)
    const uint8_t* cls1 = nullptr;  // the same under rule set 1, where the two mix
    // The mark grids: read for the presets when they hold them, and written.
    uint8_t* born = nullptr;
    uint8_t* died = nullptr;
    const int32_t* laws = nullptr;       // the Other Reality column, where the two mix
    const int32_t* bornLayer = nullptr;  // Eternal Life column, when it presets
    const int32_t* deadLayer = nullptr;  // Eternal Dead column, when it presets or kills
    bool presetDied = false, kill = false;
    int32_t historyRange0 = 0, historyRange1 = 0;
    bool history0 = false, history1 = false;
    int32_t ageLimit = 1;
    int32_t colourPhase = 1;
};

struct ColumnCounts {
    int32_t live = 0, stateOne = 0, born = 0, died = 0;
};

// Per-column constants of the update, splatted once.
struct UpdateConstants {
    Vec zero, one, two, max, ageLimit, phase, range0, range1, history0, history1, presetDied, kill;
};

struct LaneCounts {
    Vec live, stateOne, born, died;
};

// The reference marks and update for kLanes cells: marks from the classes and
// the presets, then in updated rows the new values and the counts. Comparisons
// give -1 or 0 per lane and all logic works on such masks; counts are added as
// -1 per counted cell.
template <UpdateShape S>
[[gnu::always_inline]] inline void UpdateLanes(int32_t* cur, const uint8_t* cls0,
                                               const uint8_t* cls1, uint8_t* born, uint8_t* died,
                                               const int32_t* laws, const int32_t* bornLayer,
                                               const int32_t* deadLayer, const UpdateConstants& u,
                                               Vec valid, LaneCounts& counts) {
    const Vec zero = u.zero, one = u.one;
    const Vec c = LoadVec<Vec>(cur);
    Vec f = LoadWidened(cls0);
    Vec second = zero;
    if (S.mix) {
        second = LoadVec<Vec>(laws) > zero;
        f = Select(second, LoadWidened(cls1), f);
    }
    if (S.presetMarks)
        f |= (LoadWidened(born) & one) << 4 | (LoadWidened(died) & one) << 5;
    // Class bits are only ever set in evaluated rows.
    static_assert(CompiledRule::kBirth == 1 && CompiledRule::kSurvival == 2 && kRowEvaluated == 4 &&
                  kRowUpdated == 8 && kPresetBorn == 16 && kPresetDied == 32);
    // `valid` is all ones but in the last, padded vector of a row range.
    const Vec updated = S.full ? valid : BitMask<3>(f) & valid;
    const Vec birthTest = BitMask<0>(f);
    const Vec survivalFailed = ~BitMask<1>(f);
    const Vec isLive = c > zero;
    const Vec evaluatedLive = S.full ? isLive : BitMask<2>(f) & isLive;
    const Vec empty = c == zero;

    Vec b, d;
    Vec deadMarked = zero;
    if (S.other) {
        b = birthTest;
        d = survivalFailed & evaluatedLive;
    } else {
        Vec presetBorn = S.presetMarks ? BitMask<4>(f) : zero;
        if (S.bornLayer)
            presetBorn |= LoadVec<Vec>(bornLayer) > zero;
        Vec presetDied = S.presetMarks ? BitMask<5>(f) : zero;
        if (S.deadLayer) {
            deadMarked = LoadVec<Vec>(deadLayer) > zero;
            presetDied |= deadMarked & u.presetDied;
        }
        b = presetBorn | (birthTest & empty);
        d = Select(evaluatedLive, survivalFailed, presetDied);
    }

    // Ageing stops at the largest state instead of wrapping.
    const Vec older = c - ~(c == u.max);
    Vec plain;
    if (S.colour) {
        plain = Select(isLive & d, zero, c);
        plain = Select(empty & b, u.phase, plain);
    } else {
        plain = Select(isLive, Select(d, zero, older), c);
        plain = Select((empty & b) | (plain > u.ageLimit), one, plain);
    }

    Vec next = plain, nextDied = d;
    if (S.history != HistoryMode::Off) {
        const Vec starts = (c == one) & d;
        Vec decaying = Select(starts, u.two, c);
        Vec decayDied = d & ~starts;
        decaying = Select(b & empty, one, decaying);
        decaying = Select(c > one, older, decaying);
        const Vec range =
            S.history == HistoryMode::PerCell ? Select(second, u.range1, u.range0) : u.range0;
        const Vec ends = (range <= c) | (range <= decaying);
        decaying = decaying & ~ends;
        decayDied = decayDied | ends;
        if (S.history == HistoryMode::On) {
            next = decaying;
            nextDied = decayDied;
        } else {
            const Vec history = Select(second, u.history1, u.history0);
            next = Select(history, decaying, plain);
            nextDied = Select(history, decayDied, d);
        }
    }
    if (S.deadLayer) {
        const Vec killed = (next > zero) & deadMarked & u.kill;
        next = next & ~killed;
        nextDied = nextDied | killed;
    }

    StoreVec(cur, Select(updated, next, c));
    StoreNarrowed(born, died, b & one, Select(updated, nextDied, d) & one);
    if (!S.other) {
        counts.live += updated & (next > zero);
        counts.stateOne += updated & (next == one);
        counts.born += updated & b;
        counts.died += updated & nextDied;
    }
}

// Marks and update of rows begin..end-1 of one column. The last rows that do
// not fill a vector go through the same code on padded copies, with the padding
// lanes masked out: the rows after `end` belong to the next range or to nobody.
template <UpdateShape S>
void UpdateColumn(const ColumnArgs& a, int begin, int end, ColumnCounts& counts) {
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
    u.presetDied = Splat(a.presetDied ? -1 : 0);
    u.kill = Splat(a.kill ? -1 : 0);
    const Vec all = ~u.zero;
    LaneCounts lanes{u.zero, u.zero, u.zero, u.zero};
    int32_t* __restrict cur = a.cur;
    const uint8_t* __restrict cls0 = a.cls0;
    const uint8_t* __restrict cls1 = a.cls1;
    uint8_t* born = a.born;
    uint8_t* died = a.died;
    const int32_t* __restrict laws = a.laws;
    const int32_t* __restrict bornLayer = a.bornLayer;
    const int32_t* __restrict deadLayer = a.deadLayer;
    int i = begin;
    for (; i + kLanes <= end; i += kLanes)
        UpdateLanes<S>(cur + i, cls0 + i, S.mix ? cls1 + i : nullptr, born + i, died + i,
                       S.mix ? laws + i : nullptr, S.bornLayer ? bornLayer + i : nullptr,
                       S.deadLayer ? deadLayer + i : nullptr, u, all, lanes);
    if (i < end) {
        const int rest = end - i;
        int32_t c[kLanes] = {}, l[kLanes] = {}, bl[kLanes] = {}, dl[kLanes] = {};
        uint8_t k0[kLanes] = {}, k1[kLanes] = {}, bm[kLanes] = {}, dm[kLanes] = {};
        Vec valid = u.zero;
        for (int j = 0; j < rest; ++j) {
            c[j] = cur[i + j];
            k0[j] = cls0[i + j];
            if (S.mix) {
                k1[j] = cls1[i + j];
                l[j] = laws[i + j];
            }
            bm[j] = born[i + j];
            dm[j] = died[i + j];
            if (S.bornLayer)
                bl[j] = bornLayer[i + j];
            if (S.deadLayer)
                dl[j] = deadLayer[i + j];
            valid[j] = -1;
        }
        UpdateLanes<S>(c, k0, k1, bm, dm, l, bl, dl, u, valid, lanes);
        for (int j = 0; j < rest; ++j) {
            cur[i + j] = c[j];
            born[i + j] = bm[j];
            died[i + j] = dm[j];
        }
    }
    for (int j = 0; j < kLanes; ++j) {
        counts.live -= lanes.live[j];
        counts.stateOne -= lanes.stateOne[j];
        counts.born -= lanes.born[j];
        counts.died -= lanes.died[j];
    }
}

// The Main Field shapes as a small number, and back with what cannot matter
// dropped, so that equivalent shapes share one instantiation.
constexpr int kShapeCount = 256;
constexpr int ShapeIndex(bool mix, HistoryMode history, bool colour, bool bornLayer, bool deadLayer,
                         bool presetMarks, bool full) {
    return (mix ? 1 : 0) | static_cast<int>(history) << 1 | (colour ? 8 : 0) |
           (bornLayer ? 16 : 0) | (deadLayer ? 32 : 0) | (presetMarks ? 64 : 0) | (full ? 128 : 0);
}
constexpr UpdateShape ShapeOf(int index) {
    UpdateShape s;
    s.mix = (index & 1) != 0;
    const int h = (index >> 1) & 3;
    s.history =
        h == 1 ? HistoryMode::On : (h == 2 && s.mix ? HistoryMode::PerCell : HistoryMode::Off);
    s.colour = (index & 8) != 0 && s.history != HistoryMode::On;
    s.presetMarks = (index & 64) != 0;
    // With the presets in the marks no layer is read for them (the dead layer
    // may still kill).
    s.bornLayer = (index & 16) != 0 && !s.presetMarks;
    s.deadLayer = (index & 32) != 0;
    s.full = (index & 128) != 0;
    return s;
}

using UpdateFn = void (*)(const ColumnArgs&, int, int, ColumnCounts&);

template <int... I>
constexpr auto MakeUpdateTable(std::integer_sequence<int, I...>) {
    return std::array<UpdateFn, sizeof...(I)>{&UpdateColumn<ShapeOf(I)>...};
}
constexpr auto kUpdateTable = MakeUpdateTable(std::make_integer_sequence<int, kShapeCount>{});

constexpr UpdateShape OtherShape(bool history, bool full) {
    UpdateShape s;
    s.other = true;
    s.history = history ? HistoryMode::On : HistoryMode::Off;
    s.full = full;
    return s;
}
constexpr std::array<UpdateFn, 4> kOtherUpdateTable{
    &UpdateColumn<OtherShape(false, false)>, &UpdateColumn<OtherShape(false, true)>,
    &UpdateColumn<OtherShape(true, false)>, &UpdateColumn<OtherShape(true, true)>};
