// Kernels, part three: two-state rules on bit planes. Included by
// step_kernels_impl.h after step_kernels_update.h (it uses Vec and its helpers).

// Words of the bit planes handled together: columns side by side (four with
// AVX2), so the neighbours of a word are the same word row of the columns
// beside it and one bit shift for the rows above and below.
constexpr int kWordLanes = kLanes / 2;
using Words = std::uint64_t __attribute__((vector_size(kLanes * 4)));

[[gnu::always_inline]] inline Words SplatWords(std::uint64_t v) {
    return Words{} + v;
}

// The rows above (bit i holds row i - 1) and below (row i + 1) of a word of
// column words, the neighbouring word rows giving the bits at the ends.
template <typename W>
[[gnu::always_inline]] inline W RowsAbove(W w, W before) {
    return (w << 1) | (before >> 63);
}
template <typename W>
[[gnu::always_inline]] inline W RowsBelow(W w, W after) {
    return (w >> 1) | (after << 63);
}

// The live neighbours of one vector of words: the centre bits and, per cell,
// the count 0..8 as the table entry it picks (Pick).
template <typename W>
struct Neighbours {
    W centre;
    W lo[4];  // the count's low two bits are 0, 1, 2, 3
    W low;    // the count is below 4
    W n2, n3;
    // All ones where the table's entry for the count is.
    [[gnu::always_inline]] W Pick(const W* table) const {
        const W quarter0 =
            (lo[0] & table[0]) | (lo[1] & table[1]) | (lo[2] & table[2]) | (lo[3] & table[3]);
        const W quarter1 =
            (lo[0] & table[4]) | (lo[1] & table[5]) | (lo[2] & table[6]) | (lo[3] & table[7]);
        return (low & quarter0) | (n2 & quarter1) | (n3 & table[8]);
    }
};

template <typename W>
[[gnu::always_inline]] inline Neighbours<W> CountNeighbours(const std::uint64_t* from,
                                                            std::ptrdiff_t stride) {
    auto at = [&](std::ptrdiff_t dk, int dx) { return LoadVec<W>(from + dk * stride + dx); };
    const W l = at(0, -1), c = at(0, 0), r = at(0, 1);
    const W lu = RowsAbove(l, at(-1, -1)), ld = RowsBelow(l, at(1, -1));
    const W cu = RowsAbove(c, at(-1, 0)), cd = RowsBelow(c, at(1, 0));
    const W ru = RowsAbove(r, at(-1, 1)), rd = RowsBelow(r, at(1, 1));
    // Column sums: left and right of three cells (0..3), centre of two (0..2).
    const W l0 = lu ^ l ^ ld, l1 = (lu & l) | (ld & (lu ^ l));
    const W r0 = ru ^ r ^ rd, r1 = (ru & r) | (rd & (ru ^ r));
    const W c0 = cu ^ cd, c1 = cu & cd;
    // Left plus right: 0..6 in three bits.
    const W s0 = l0 ^ r0, k0 = l0 & r0;
    const W s1 = l1 ^ r1 ^ k0, k1 = (l1 & r1) | (k0 & (l1 ^ r1));
    // Plus the centre: the count 0..8 in n3..n0.
    const W n0 = s0 ^ c0, q0 = s0 & c0;
    const W n1 = s1 ^ c1 ^ q0, q1 = (s1 & c1) | (q0 & (s1 ^ c1));
    const W n2 = k1 ^ q1, n3 = k1 & q1;
    // A count is its low two bits and its high ones; 8 is n3 alone.
    return {c, {~n1 & ~n0, ~n1 & n0, n1 & ~n0, n1 & n0}, ~n3 & ~n2, n2, n3};
}

// One vector of words: birth and died marks of the evaluated cells and the
// live cells after the update.
template <typename W>
[[gnu::always_inline]] inline void LifeWords(const W* birth, const W* survival,
                                             const std::uint64_t* from, std::ptrdiff_t stride,
                                             W evaluated, W updated, W& bornOut, W& diedOut,
                                             W& nextOut) {
    const Neighbours<W> k = CountNeighbours<W>(from, stride);
    const W c = k.centre;
    const W born = evaluated & ~c & k.Pick(birth);
    const W died = evaluated & c & ~k.Pick(survival);
    bornOut = born;
    diedOut = died;
    nextOut = (updated & ((c & ~died) | born)) | (~updated & c);
}

// 8 bits as 8 bytes of 0 or 1, lowest bit first.
struct ByteSpread {
    std::uint64_t of[256];
    constexpr ByteSpread() : of() {
        for (int b = 0; b < 256; ++b)
            for (int i = 0; i < 8; ++i)
                if ((b >> i) & 1)
                    of[b] |= std::uint64_t{1} << (8 * i);
    }
};
constexpr ByteSpread kByteSpread{};

// kLanes bits as lanes of -1 or 0, lowest bit first.
struct LaneMasks {
    int32_t of[1 << kLanes][kLanes];
    constexpr LaneMasks() : of() {
        for (int b = 0; b < (1 << kLanes); ++b)
            for (int i = 0; i < kLanes; ++i)
                of[b][i] = (b >> i) & 1 ? -1 : 0;
    }
};
constexpr LaneMasks kLaneMasks{};

// kLanes bits from bit `at` on, as lanes of -1 or 0.
[[gnu::always_inline]] inline Vec LaneMask(std::uint64_t bits, int at) {
    return LoadVec<Vec>(kLaneMasks.of[(bits >> at) & ((1u << kLanes) - 1)]);
}

// Writes the bits of `word` to bytes dst[0..n-1], n at most 64.
inline void SpreadBits(std::uint64_t word, std::uint8_t* dst, int n) {
    int i = 0;
#if ZENTORIX_KERNEL_LANES == 8
    // Each byte takes the byte of the word that holds its bit, keeps that bit
    // and becomes 1 where it is set.
    const __m256i pick = _mm256_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2,
                                          2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3, 3, 3);
    const __m256i bit = _mm256_set1_epi64x(static_cast<long long>(0x8040201008040201ULL));
    const __m256i one = _mm256_set1_epi8(1);
    for (; i + 32 <= n; i += 32) {
        const __m256i bytes =
            _mm256_shuffle_epi8(_mm256_set1_epi32(static_cast<int>(word >> i)), pick);
        const __m256i set = _mm256_cmpeq_epi8(_mm256_and_si256(bytes, bit), bit);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), _mm256_and_si256(set, one));
    }
#endif
    for (; i + 8 <= n; i += 8) {
        const std::uint64_t bytes = kByteSpread.of[(word >> i) & 0xFF];
        __builtin_memcpy(dst + i, &bytes, 8);
    }
    for (; i < n; ++i)
        dst[i] = static_cast<std::uint8_t>((word >> i) & 1);
}

// The bits of whole words as bytes of 0 or 1, the constants kept at hand.
struct WordSpreader {
#if ZENTORIX_KERNEL_LANES == 8
    // Each byte takes the byte of the word that holds its bit and keeps that
    // bit; the smaller of it and 1 is the mark.
    __m256i pickLow, pickHigh, bit, one;
    [[gnu::always_inline]] WordSpreader()
        : pickLow(_mm256_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2,
                                   2, 2, 3, 3, 3, 3, 3, 3, 3, 3)),
          pickHigh(_mm256_setr_epi8(4, 4, 4, 4, 4, 4, 4, 4, 5, 5, 5, 5, 5, 5, 5, 5, 6, 6, 6, 6, 6,
                                    6, 6, 6, 7, 7, 7, 7, 7, 7, 7, 7)),
          bit(_mm256_set1_epi64x(static_cast<long long>(0x8040201008040201ULL))),
          one(_mm256_set1_epi8(1)) {}
    [[gnu::always_inline]] void Spread(std::uint64_t word, std::uint8_t* dst) const {
        const __m256i all = _mm256_set1_epi64x(static_cast<long long>(word));
        const __m256i low = _mm256_and_si256(_mm256_shuffle_epi8(all, pickLow), bit);
        const __m256i high = _mm256_and_si256(_mm256_shuffle_epi8(all, pickHigh), bit);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst), _mm256_min_epu8(low, one));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + 32), _mm256_min_epu8(high, one));
    }
#else
    [[gnu::always_inline]] void Spread(std::uint64_t word, std::uint8_t* dst) const {
        for (int i = 0; i < 64; i += 8) {
            const std::uint64_t bytes = kByteSpread.of[(word >> i) & 0xFF];
            __builtin_memcpy(dst + i, &bytes, 8);
        }
    }
#endif
};

// The sign bits of the lanes, lane 0 lowest.
[[gnu::always_inline]] inline std::uint64_t SignBits(Vec v) {
#if ZENTORIX_KERNEL_LANES == 8
    return static_cast<std::uint64_t>(
        _mm256_movemask_ps(_mm256_castsi256_ps(__builtin_bit_cast(__m256i, v))));
#else
    return static_cast<std::uint64_t>(
        _mm_movemask_ps(_mm_castsi128_ps(__builtin_bit_cast(__m128i, v))));
#endif
}

// Set bits of the lanes of a vector of words, added up.
template <typename W>
[[gnu::always_inline]] inline std::int64_t CountBits(W w) {
    if constexpr (std::is_same_v<W, std::uint64_t>) {
        return __builtin_popcountll(w);
    } else {
        std::int64_t n = 0;
        for (int i = 0; i < kWordLanes; ++i)
            n += __builtin_popcountll(w[i]);
        return n;
    }
}

// A generation of one vector of words (or one word) at plane offset `at`:
// evaluation, the touched bits, the newborn cells' keys, and the counts of the
// updated cells. Key bits are all ones or zeros per bit of bornKey and oneKey.
template <typename W>
[[gnu::always_inline]] inline void LifeStepWords(const LifePass& p, const W* birth,
                                                 const W* survival, std::ptrdiff_t at, W evaluated,
                                                 W updated, const W* bornKeyBits,
                                                 const W* oneKeyBits, PassCounts& counts) {
    W b, d, n;
    LifeWords<W>(birth, survival, p.from.words + at, p.from.stride, evaluated, updated, b, d, n);
    StoreVec(p.bornBits.words + at, b);
    StoreVec(p.diedBits.words + at, d);
    StoreVec(p.to.words + at, n);
    const W next = n & updated, born = b & updated;
    std::uint64_t* const touched = p.touched.words + at;
    StoreVec(touched, LoadVec<W>(touched) | (LoadVec<W>(p.from.words + at) & updated) | next);
    std::uint64_t* const lasting = p.lasting.words + at;
    StoreVec(lasting, LoadVec<W>(lasting) & next);
    W one = next;
    for (int j = 0; j < p.keyBits; ++j) {
        std::uint64_t* const plane = p.keyPlanes[j] + at;
        const W key = (LoadVec<W>(plane) & ~born) | (bornKeyBits[j] & born);
        StoreVec(plane, key);
        one &= ~(key ^ oneKeyBits[j]);
    }
    counts.live += CountBits(next);
    counts.born += CountBits(born);
    counts.died += CountBits(d & updated);
    counts.stateOne += CountBits(one);
}

// In colour mode a newborn cell takes the colour phase as its value at once:
// it is kept while the cell lives. Word row k, plane columns first..last.
void ColourNewbornRow(const LifePass& p, int k, int first, int last) {
    const std::ptrdiff_t rowAt = k * p.from.stride - p.from.firstColumn;
    const std::uint64_t* const updateColumns = p.updateColumns - p.from.firstColumn;
    const int firstRow = p.from.firstRow + 64 * k;
    for (int x = first; x <= last; ++x) {
        std::uint64_t b = p.bornBits.words[rowAt + x] & p.updateRows[k] & updateColumns[x];
        if (b == 0)
            continue;
        int32_t* const rows = p.field.Column(x) + firstRow;
        for (; b != 0; b &= b - 1)
            rows[__builtin_ctzll(b)] = p.colourPhase;
    }
}

// All-ones-or-zero masks in both widths a walk over the planes uses.
template <int N>
struct Masks {
    Words words[N];
    std::uint64_t single[N];
    void Set(int i, std::uint64_t mask) {
        single[i] = mask;
        words[i] = SplatWords(mask);
    }
    template <typename W>
    const W* Of() const {
        if constexpr (std::is_same_v<W, Words>)
            return words;
        else
            return single;
    }
};
// The masks per neighbour count of a rule.
Masks<9> CountMasks(const std::uint64_t* masks) {
    Masks<9> m;
    for (int n = 0; n <= 8; ++n)
        m.Set(n, masks[n]);
    return m;
}
// Bit j of `value` as mask j.
Masks<kMaxKeyBits> BitMasks(std::uint32_t value) {
    Masks<kMaxKeyBits> m;
    for (int j = 0; j < kMaxKeyBits; ++j)
        m.Set(j, (value >> j) & 1 ? ~std::uint64_t{0} : 0);
    return m;
}

// A generation over the plane columns first..last, word row by word row, a
// vector of columns at a time and single words for the rest: step(evaluated,
// updated, at, counts) for each, with the masks of the cells evaluated and
// updated; then rowDone(k). Adds the counts.
template <typename Step, typename RowDone>
void WalkLifeWords(const LifePass& p, int first, int last, PassCounts& counts, Step step,
                   RowDone rowDone) {
    const std::ptrdiff_t stride = p.from.stride, firstColumn = p.from.firstColumn;
    const std::uint64_t* const evalColumns = p.evalColumns - firstColumn;
    const std::uint64_t* const updateColumns = p.updateColumns - firstColumn;
    PassCounts sum;
    for (int k = 0; k < p.from.wordRows; ++k) {
        const std::uint64_t evalRow = p.evalRows[k], updateRow = p.updateRows[k];
        const std::ptrdiff_t rowAt = k * stride - firstColumn;
        int x = first;
        for (; x + kWordLanes <= last + 1; x += kWordLanes)
            step(SplatWords(evalRow) & LoadVec<Words>(evalColumns + x),
                 SplatWords(updateRow) & LoadVec<Words>(updateColumns + x), rowAt + x, sum);
        for (; x <= last; ++x)
            step(evalRow & evalColumns[x], updateRow & updateColumns[x], rowAt + x, sum);
        rowDone(k);
    }
    counts.live += sum.live;
    counts.born += sum.born;
    counts.died += sum.died;
    counts.stateOne += sum.stateOne;
}

// A generation of a two-state rule. Of the grids only the newborn cells'
// colour is written; the rest waits for CompleteLifeColumnsImpl.
void RunLifeColumnsImpl(const LifePass& p, int first, int last, PassCounts& counts) {
    const Masks<9> birth = CountMasks(p.birth), survival = CountMasks(p.survival);
    const Masks<kMaxKeyBits> bornKey = BitMasks(p.bornKey), oneKey = BitMasks(p.oneKey);
    WalkLifeWords(
        p, first, last, counts,
        [&](auto evaluated, auto updated, std::ptrdiff_t at, PassCounts& sum) {
            using W = decltype(evaluated);
            LifeStepWords<W>(p, birth.Of<W>(), survival.Of<W>(), at, evaluated, updated,
                             bornKey.Of<W>(), oneKey.Of<W>(), sum);
        },
        [&](int k) {
            if (p.colourMode)
                ColourNewbornRow(p, k, first, last);
        });
}

// A multi-state rule on one vector of words (or one word) at plane offset
// `at`. Only state 1 counts as a neighbour: the live plane (`from`, `to`)
// holds it, and the state planes hold each cell's state bit by bit. A cell of
// state 1 that fails survival starts to decay (state 2, no died mark), decay
// goes on by one state per generation, and reaching the range ends the cell
// with its died mark; a decaying cell that fails survival keeps the died mark
// of the evaluation. Writes the planes and the touched bits, adds the counts.
template <typename W>
[[gnu::always_inline]] inline void StateStepWords(const LifePass& p, const W* birth,
                                                  const W* survivalOne, const W* survivalDecaying,
                                                  const W* rangeBits, std::ptrdiff_t at,
                                                  W evaluated, W updated, PassCounts& counts) {
    const Neighbours<W> k = CountNeighbours<W>(p.from.words + at, p.from.stride);
    const int bits = p.stateBits;
    W cur[kMaxKeyBits];
    W alive = W{};
    for (int j = 0; j < bits; ++j) {
        cur[j] = LoadVec<W>(p.fromStates[j] + at);
        alive |= cur[j];
    }
    const W one = k.centre, decaying = alive & ~one;
    const W born = evaluated & ~alive & k.Pick(birth);
    const W kept = (one & k.Pick(survivalOne)) | (decaying & k.Pick(survivalDecaying));
    const W failed = evaluated & alive & ~kept;
    // The next state before the range ends it: 1 for a newborn, 1 or 2 for
    // state 1, one more for a decaying cell.
    W carry = ~W{}, ends = updated, next0 = W{}, high = W{}, any = W{};
    for (int j = 0; j < bits; ++j) {
        W v = decaying & (cur[j] ^ carry);
        carry &= cur[j];
        if (j == 0)
            v |= born | (one & ~failed);
        if (j == 1)
            v |= one & failed;
        ends &= ~(v ^ rangeBits[j]);
        cur[j] = v;
    }
    for (int j = 0; j < bits; ++j) {
        const W v = (updated & ~ends & cur[j]) | (~updated & LoadVec<W>(p.fromStates[j] + at));
        StoreVec(p.toStates[j] + at, v);
        any |= v;
        if (j == 0)
            next0 = v;
        else
            high |= v;
    }
    const W died = (updated & (ends | (decaying & failed))) | (~updated & failed);
    const W nextOne = next0 & ~high;
    StoreVec(p.bornBits.words + at, born);
    StoreVec(p.diedBits.words + at, died);
    StoreVec(p.to.words + at, nextOne);
    std::uint64_t* const touched = p.touched.words + at;
    StoreVec(touched, LoadVec<W>(touched) | ((alive | any) & updated));
    counts.live += CountBits(any & updated);
    counts.stateOne += CountBits(nextOne & updated);
    counts.born += CountBits(born & updated);
    counts.died += CountBits(died & updated);
}

// A generation of a multi-state rule; the grids wait for
// CompleteLifeColumnsImpl.
void RunStateColumnsImpl(const LifePass& p, int first, int last, PassCounts& counts) {
    const Masks<9> birth = CountMasks(p.birth), survivalOne = CountMasks(p.survival),
                   survivalDecaying = CountMasks(p.survivalDecaying);
    const Masks<kMaxKeyBits> range = BitMasks(static_cast<std::uint32_t>(p.range));
    WalkLifeWords(
        p, first, last, counts,
        [&](auto evaluated, auto updated, std::ptrdiff_t at, PassCounts& sum) {
            using W = decltype(evaluated);
            StateStepWords<W>(p, birth.Of<W>(), survivalOne.Of<W>(), survivalDecaying.Of<W>(),
                              range.Of<W>(), at, evaluated, updated, sum);
        },
        [](int) {});
}

// What a cell's value is made of while the grids wait.
enum class Values { Ages, Colours, States };

// The values of kLanes touched cells from row `at` of the word on: 0 for an
// empty one; a live one's colour stays, its age counts on from its key and
// starts again at 1 past the limit; a state is read from the state planes
// (given as the keys). Cells not touched keep theirs.
template <Values Of>
[[gnu::always_inline]] inline void CompleteLanes(const LifePass& p, int32_t* cells,
                                                 const std::uint64_t* const* keys,
                                                 std::uint64_t live, std::uint64_t lasting,
                                                 std::uint64_t touched, int at, Vec ageLimit,
                                                 Vec ticks, Vec lastingTicks) {
    const Vec c = LoadVec<Vec>(cells);
    Vec v = c & LaneMask(live, at);
    if (Of == Values::Ages) {
        // A cell live at the last completion and ever since ages on from its
        // value; one born since then, from its key (or it is 1, born in the
        // one generation since).
        const Vec start = Select(c > ageLimit, ageLimit, c) + lastingTicks;
        Vec age = Select(start > ageLimit, start - ageLimit, start);
        const std::uint64_t mask = (std::uint64_t{1} << kLanes) - 1;
        if ((((live & ~lasting) >> at) & mask) != 0) {
            Vec born = Splat(1);
            if (!p.newbornOnly) {
                Vec key = Splat(0);
                for (int j = 0; j < p.keyBits; ++j)
                    key |= LaneMask(keys[j][0], at) & Splat(1 << j);
                born = key + Splat(1) + ticks;
                born = Select(born > ageLimit, born - ageLimit, born);
            }
            age = Select(LaneMask(lasting, at), age, born);
        }
        v = age & LaneMask(live, at);
    }
    if (Of == Values::States) {
        v = Splat(0);
        for (int j = 0; j < p.keyBits; ++j)
            v |= LaneMask(keys[j][0], at) & Splat(1 << j);
    }
    StoreVec(cells, Select(LaneMask(touched, at), v, c));
}

// Writes what the generations since the stretch began put off, for the plane
// columns first..last: the marks of the last generation (only words that hold
// a mark now or in the grids, when the grids' marks are known) and the values
// of the touched cells; clears the touched bits. The keys stay as they are:
// the ages go on counting from them.
template <Values Of>
void CompleteLifeColumnsOf(const LifePass& p, int first, int last) {
    const int wordRows = p.to.wordRows, firstRow = p.to.firstRow, lastRow = p.lastRow;
    const std::ptrdiff_t stride = p.to.stride;
    const std::uint64_t* const to = p.to.At(0, 0);
    const std::uint64_t* const bornBits = p.bornBits.At(0, 0);
    const std::uint64_t* const diedBits = p.diedBits.At(0, 0);
    const bool marksKnown = p.lastBornBits.words != nullptr;
    const std::uint64_t* const lastBorn = marksKnown ? p.lastBornBits.At(0, 0) : nullptr;
    const std::uint64_t* const lastDied = marksKnown ? p.lastDiedBits.At(0, 0) : nullptr;
    std::uint64_t* const touched = p.touched.At(0, 0);
    const Vec ageLimit = Splat(p.ageLimit), ticks = Splat(p.ticks);
    const Vec lastingTicks = Splat(p.lastingTicks);
    std::uint64_t* const lasting = p.lasting.At(0, 0);
    const WordSpreader spreader;
    for (int x = first; x <= last; ++x) {
        int32_t* const cells = p.field.Column(x);
        std::uint8_t* const bornMarks = p.born.Column(x);
        std::uint8_t* const diedMarks = p.died.Column(x);
        for (int k = 0; k < wordRows; ++k) {
            const std::ptrdiff_t at = k * stride + x;
            const int row = firstRow + 64 * k;
            const int n = lastRow - row + 1 < 64 ? lastRow - row + 1 : 64;
            if (n <= 0)
                break;
            const std::uint64_t b = bornBits[at], d = diedBits[at];
            if (!marksKnown || (b | lastBorn[at]) != 0) {
                if (n == 64)
                    spreader.Spread(b, bornMarks + row);
                else
                    SpreadBits(b, bornMarks + row, n);
            }
            if (!marksKnown || (d | lastDied[at]) != 0) {
                if (n == 64)
                    spreader.Spread(d, diedMarks + row);
                else
                    SpreadBits(d, diedMarks + row, n);
            }
            const std::uint64_t t = touched[at];
            if (t == 0)
                continue;
            touched[at] = 0;
            const std::uint64_t live = to[at], wasLasting = lasting[at];
            // From here on the values are the grids'.
            lasting[at] = live & t;
            const std::uint64_t* keys[kMaxKeyBits];
            for (int j = 0; j < p.keyBits; ++j)
                keys[j] = p.keyPlanes[j] + (at - p.to.firstColumn);
            for (int a = 0; a < n; a += kLanes) {
                if (((t >> a) & ((1u << kLanes) - 1)) == 0)
                    continue;
                if (a + kLanes <= n) {
                    CompleteLanes<Of>(p, cells + row + a, keys, live, wasLasting, t, a, ageLimit,
                                      ticks, lastingTicks);
                    continue;
                }
                // The last rows of the field: a padded copy.
                int32_t padded[kLanes] = {};
                for (int i = 0; a + i < n; ++i)
                    padded[i] = cells[row + a + i];
                CompleteLanes<Of>(p, padded, keys, live, wasLasting, t, a, ageLimit, ticks,
                                  lastingTicks);
                for (int i = 0; a + i < n; ++i)
                    cells[row + a + i] = padded[i];
            }
        }
    }
}

void CompleteLifeColumnsImpl(const LifePass& p, int first, int last) {
    if (p.states)
        CompleteLifeColumnsOf<Values::States>(p, first, last);
    else if (p.colourMode)
        CompleteLifeColumnsOf<Values::Colours>(p, first, last);
    else
        CompleteLifeColumnsOf<Values::Ages>(p, first, last);
}

// ORs `count` bits into a plane column from plane row `at` on.
[[gnu::always_inline]] inline void PutBits(std::uint64_t* column, std::ptrdiff_t stride, int at,
                                           std::uint64_t bits, int count) {
    const int offset = at & 63;
    std::uint64_t* word = column + static_cast<std::ptrdiff_t>(at >> 6) * stride;
    word[0] |= bits << offset;
    if (offset + count > 64)
        word[stride] |= bits >> (64 - offset);
}

// ORs the live cells of cells[0..n-1] into a plane column (word row 0 at
// `column`) from plane row `at` on. Gives true when one of them is below 0.
bool PackLiveRunImpl(const int32_t* cells, int n, std::uint64_t* column, std::ptrdiff_t stride,
                     int at) {
    std::uint64_t negative = 0;
    int i = 0;
    for (; i + kLanes <= n; i += kLanes) {
        const Vec v = LoadVec<Vec>(cells + i);
        negative |= SignBits(v);
        PutBits(column, stride, at + i, SignBits(v > Splat(0)), kLanes);
    }
    for (; i < n; ++i) {
        negative |= cells[i] < 0 ? 1 : 0;
        PutBits(column, stride, at + i, cells[i] > 0 ? 1 : 0, 1);
    }
    return negative != 0;
}
