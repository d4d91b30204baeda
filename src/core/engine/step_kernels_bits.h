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

// One vector of words: birth and died marks of the evaluated cells and the
// live cells after the update.
template <typename W>
[[gnu::always_inline]] inline void LifeWords(const W* birth, const W* survival,
                                             const std::uint64_t* from, std::ptrdiff_t stride,
                                             W evaluated, W updated, W& bornOut, W& diedOut,
                                             W& nextOut) {
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
    const W lo[4] = {~n1 & ~n0, ~n1 & n0, n1 & ~n0, n1 & n0};
    const W low = ~n3 & ~n2;
    auto decide = [&](const W* table) {
        const W quarter0 =
            (lo[0] & table[0]) | (lo[1] & table[1]) | (lo[2] & table[2]) | (lo[3] & table[3]);
        const W quarter1 =
            (lo[0] & table[4]) | (lo[1] & table[5]) | (lo[2] & table[6]) | (lo[3] & table[7]);
        return (low & quarter0) | (n2 & quarter1) | (n3 & table[8]);
    };
    const W born = evaluated & ~c & decide(birth);
    const W died = evaluated & c & ~decide(survival);
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

// The cells of a word whose 64 rows are all updated, kLanes at a time from row
// `at`: a cell live after the generation ages by one from its value (an empty
// one's 0 gives the newborn's 1), or in colour mode keeps its value or takes
// the phase when newborn; every other cell is 0.
template <bool Colour>
[[gnu::always_inline]] inline void UpdateWholeLanes(int32_t* cells, std::uint64_t was,
                                                    std::uint64_t next, int at, Vec ageLimitLess1,
                                                    Vec phase, Vec& stateOne) {
    const Vec one = Splat(1);
    const Vec c = LoadVec<Vec>(cells);
    Vec v;
    if (Colour)
        v = Select(LaneMask(was, at), c, phase);
    else
        v = Select(c > ageLimitLess1, one, c + one);
    v &= LaneMask(next, at);
    StoreVec(cells, v);
    stateOne += v == one;
}

// New values of kLanes cells from row `at` of the word on: the reference
// update of a cell without history, given its marks.
[[gnu::always_inline]] inline void UpdateLifeLanes(const LifePass& p, int32_t* cells,
                                                   std::uint64_t live, std::uint64_t born,
                                                   std::uint64_t died, std::uint64_t updated,
                                                   int at, Vec& stateOne) {
    const Vec zero = Splat(0), one = Splat(1);
    const Vec c = LoadVec<Vec>(cells);
    const Vec l = LaneMask(live, at), b = LaneMask(born, at), d = LaneMask(died, at);
    const Vec u = LaneMask(updated, at);
    Vec next;
    if (p.colourMode) {
        next = Select(b, Splat(p.colourPhase), Select(l & d, zero, c));
    } else {
        const Vec older = c - ~(c == Splat(INT32_MAX));
        const Vec aged = Select(older > Splat(p.ageLimit), one, older);
        next = Select(b, one, Select(l, Select(d, zero, aged), c));
    }
    next = Select(u, next, c);
    StoreVec(cells, next);
    stateOne += u & (next == one);
}

// Evaluation of the plane columns first..last, a vector of columns at a time
// along each word row.
void EvaluateLifeColumns(const LifePass& p, int first, int last) {
    Words birth[9], survival[9];
    for (int n = 0; n <= 8; ++n) {
        birth[n] = SplatWords(p.birth[n]);
        survival[n] = SplatWords(p.survival[n]);
    }
    const std::ptrdiff_t stride = p.from.stride;
    const std::ptrdiff_t firstColumn = p.from.firstColumn;
    std::uint64_t* const bornBits = p.bornBits.words;
    std::uint64_t* const diedBits = p.diedBits.words;
    std::uint64_t* const to = p.to.words;
    const std::uint64_t* const from = p.from.words;
    const std::uint64_t* const evalColumns = p.evalColumns;
    const std::uint64_t* const updateColumns = p.updateColumns;
    for (int k = 0; k < p.from.wordRows; ++k) {
        const std::uint64_t evalRow = p.evalRows[k], updateRow = p.updateRows[k];
        const std::ptrdiff_t rowAt = k * stride - firstColumn;
        int x = first;
        for (; x + kWordLanes <= last + 1; x += kWordLanes) {
            const std::ptrdiff_t ci = x - firstColumn, at = rowAt + x;
            Words b, d, n;
            LifeWords<Words>(birth, survival, from + at, stride,
                             SplatWords(evalRow) & LoadVec<Words>(evalColumns + ci),
                             SplatWords(updateRow) & LoadVec<Words>(updateColumns + ci), b, d, n);
            StoreVec(bornBits + at, b);
            StoreVec(diedBits + at, d);
            StoreVec(to + at, n);
        }
        for (; x <= last; ++x) {
            const std::ptrdiff_t ci = x - firstColumn, at = rowAt + x;
            std::uint64_t b, d, n;
            LifeWords<std::uint64_t>(p.birth, p.survival, from + at, stride,
                                     evalRow & evalColumns[ci], updateRow & updateColumns[ci], b, d,
                                     n);
            bornBits[at] = b;
            diedBits[at] = d;
            to[at] = n;
        }
    }
}

// Marks and values of the plane columns first..last, column by column as the
// grids hold them. Everything the loops read is copied to locals first: the
// mark stores are bytes, which the compiler must assume may change anything.
template <bool Colour>
void WriteLifeColumns(const LifePass& p, int first, int last, PassCounts& counts) {
    const int wordRows = p.from.wordRows, firstRow = p.from.firstRow, lastRow = p.lastRow;
    const std::ptrdiff_t stride = p.from.stride;
    const std::uint64_t* const from = p.from.At(0, 0);
    const std::uint64_t* const to = p.to.At(0, 0);
    const std::uint64_t* const bornBits = p.bornBits.At(0, 0);
    const std::uint64_t* const diedBits = p.diedBits.At(0, 0);
    // Without the marks the grids hold, every word is written.
    const bool marksKnown = p.lastBornBits.words != nullptr;
    const std::uint64_t* const lastBorn = marksKnown ? p.lastBornBits.At(0, 0) : nullptr;
    const std::uint64_t* const lastDied = marksKnown ? p.lastDiedBits.At(0, 0) : nullptr;
    const std::uint64_t* const updateColumns = p.updateColumns - p.from.firstColumn;
    std::uint64_t updateRows[kMaxRows / 64];
    for (int k = 0; k < wordRows; ++k)
        updateRows[k] = p.updateRows[k];
    const GridView<int32_t> field = p.field;
    const GridView<std::uint8_t> bornGrid = p.born, diedGrid = p.died;
    const Vec ageLimitLess1 = Splat(p.ageLimit - 1), phase = Splat(p.colourPhase);
    const WordSpreader spreader;
    Vec stateOne = Splat(0);
    std::int64_t live = 0, born = 0, died = 0;
    for (int x = first; x <= last; ++x) {
        int32_t* const cells = field.Column(x);
        std::uint8_t* const bornMarks = bornGrid.Column(x);
        std::uint8_t* const diedMarks = diedGrid.Column(x);
        const bool updatedColumn = updateColumns[x] != 0;
        // The words with anything to write: a cell live before or after, or a
        // mark set now or in the grids. The others hold 0s that stay.
        int words[kMaxRows / 64];
        int wordCount = 0;
        for (int k = 0; k < wordRows; ++k) {
            const std::ptrdiff_t at = k * stride + x;
            std::uint64_t any = ~std::uint64_t{0};
            if (marksKnown)
                any = from[at] | to[at] | bornBits[at] | diedBits[at] | lastBorn[at] | lastDied[at];
            words[wordCount] = k;
            wordCount += any != 0 ? 1 : 0;
        }
        // The pieces of 16 rows of wholly updated words that hold a cell live
        // before or after, with those cells' bits, listed without a branch: a
        // test per piece would guess wrong too often in a soup.
        struct Piece {
            int row;
            std::uint32_t was, next;
        } pieces[kMaxRows / 16];
        int pieceCount = 0;
        for (int w = 0; w < wordCount; ++w) {
            const int k = words[w];
            const std::ptrdiff_t at = k * stride + x;
            const int row = firstRow + 64 * k;
            const int n = lastRow - row + 1 < 64 ? lastRow - row + 1 : 64;
            if (n <= 0)
                break;
            const std::uint64_t b = bornBits[at], d = diedBits[at];
            const std::uint64_t updated = updatedColumn ? updateRows[k] : 0;
            const std::uint64_t was = from[at], next = to[at];
            if (n == 64) {
                spreader.Spread(b, bornMarks + row);
                spreader.Spread(d, diedMarks + row);
            } else {
                SpreadBits(b, bornMarks + row, n);
                SpreadBits(d, diedMarks + row, n);
            }
            live += __builtin_popcountll(next & updated);
            born += __builtin_popcountll(b & updated);
            died += __builtin_popcountll(d & updated);
            // Only cells live before or after have a value to write.
            const std::uint64_t touched = (was | next) & updated;
            if (touched == 0)
                continue;
            if (updated == ~std::uint64_t{0}) {
                for (int j = 0; j < 64; j += 16) {
                    Piece& piece = pieces[pieceCount];
                    piece.row = row + j;
                    piece.was = static_cast<std::uint32_t>((was >> j) & 0xFFFF);
                    piece.next = static_cast<std::uint32_t>((next >> j) & 0xFFFF);
                    pieceCount += ((touched >> j) & 0xFFFF) != 0 ? 1 : 0;
                }
                continue;
            }
            for (int a = 0; a < n; a += kLanes) {
                if (((touched >> a) & ((1u << kLanes) - 1)) == 0)
                    continue;
                if (a + kLanes <= n) {
                    UpdateLifeLanes(p, cells + row + a, was, b, d, updated, a, stateOne);
                    continue;
                }
                // The last rows of the field: a padded copy.
                int32_t padded[kLanes] = {};
                for (int i = 0; a + i < n; ++i)
                    padded[i] = cells[row + a + i];
                UpdateLifeLanes(p, padded, was, b, d, updated & ((std::uint64_t{1} << n) - 1), a,
                                stateOne);
                for (int i = 0; a + i < n; ++i)
                    cells[row + a + i] = padded[i];
            }
        }
        for (int i = 0; i < pieceCount; ++i) {
            const Piece piece = pieces[i];
            for (int l = 0; l < 16; l += kLanes)
                UpdateWholeLanes<Colour>(cells + piece.row + l, piece.was, piece.next, l,
                                         ageLimitLess1, phase, stateOne);
        }
    }
    counts.live += live;
    counts.born += born;
    counts.died += died;
    for (int i = 0; i < kLanes; ++i)
        counts.stateOne -= stateOne[i];
}

void RunLifeColumnsImpl(const LifePass& p, int first, int last, PassCounts& counts) {
    EvaluateLifeColumns(p, first, last);
    if (p.colourMode)
        WriteLifeColumns<true>(p, first, last, counts);
    else
        WriteLifeColumns<false>(p, first, last, counts);
}

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
