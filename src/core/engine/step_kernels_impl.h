// The fast step's kernels. This file is included once per instruction set, each
// time inside a namespace of its own and with that set's code generation in
// force, so it has no include guard. Everything here has internal linkage and
// calls nothing from the standard library that could be emitted out of line:
// code built for a wider instruction set must never be shared with callers that
// run on the baseline. The including file provides <array>, <cstdint>,
// <immintrin.h>, <type_traits> and <utility> before switching the instruction
// set.

namespace {

// In this order: each part uses the ones before it.
#include "engine/step_kernels_eval.h"

#include "engine/step_kernels_update.h"

#include "engine/step_kernels_bits.h"

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
    alignas(64) uint8_t cls0[kScratchRows];
    alignas(64) uint8_t cls1[kScratchRows];
    ColumnCounts counts;
    PartPlanes planes(ctx, first, last);

    for (int x = first; x <= last; ++x) {
        // The interior plane column a halo ahead still holds the previous
        // generation: only this part reads it, and it updates it only later.
        const int ahead = x + ctx.halo;
        if (ahead <= last - ctx.halo)
            BuildPlaneColumnAt(ctx, ahead, planes.Live(ahead), planes.First(ahead));

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
        const CompiledRule& rule1 = *ctx.rules[1];

        InitialClasses(ctx.evalRowFlags, evaluated, ctx.updateRowFlags, updated, rows, cls0);
        if (mix)
            InitialClasses(ctx.evalRowFlags, evaluated, ctx.updateRowFlags, updated, rows, cls1);
        if (evaluated) {
            Evaluate(ctx, planes, rule0, x, cls0 + evalOffset);
            if (mix)
                Evaluate(ctx, planes, rule1, x, cls1 + evalOffset);
        }

        uint8_t* born = ctx.born.Column(x) + ctx.firstRow;
        uint8_t* died = ctx.died.Column(x) + ctx.firstRow;

        ColumnArgs a;
        a.cur = ctx.field.Column(x) + ctx.firstRow;
        a.cls0 = cls0;
        a.cls1 = cls1;
        a.born = born;
        a.died = died;
        a.laws = laws;
        a.history0 = rule0.history;
        a.historyRange0 = rule0.historyRange;
        a.history1 = rule1.history;
        a.historyRange1 = rule1.historyRange;
        a.ageLimit = ctx.ageLimit;
        a.colourPhase = ctx.colourPhase;

        // Rows both evaluated and updated take the variant that reads no row
        // flags; the margin rows before and after them the general one.
        int fullFirst = 0, fullEnd = 0;
        if (evaluated && updated) {
            fullFirst =
                (ctx.evalFirstRow > ctx.updateFirstRow ? ctx.evalFirstRow : ctx.updateFirstRow) -
                ctx.firstRow;
            fullEnd = (ctx.evalLastRow < ctx.updateLastRow ? ctx.evalLastRow : ctx.updateLastRow) -
                      ctx.firstRow + 1;
            if (fullEnd < fullFirst)
                fullEnd = fullFirst = 0;
        }
        auto run = [&](UpdateFn general, UpdateFn full) {
            if (fullEnd > fullFirst) {
                if (fullFirst > 0)
                    general(a, 0, fullFirst, counts);
                full(a, fullFirst, fullEnd, counts);
                if (fullEnd < rows)
                    general(a, fullEnd, rows, counts);
            } else {
                general(a, 0, rows, counts);
            }
        };

        if (ctx.otherReality) {
            const std::size_t h = rule0.history ? 2 : 0;
            run(kOtherUpdateTable[h], kOtherUpdateTable[h + 1]);
            continue;
        }

        if (ctx.presetBornLayer.base)
            a.bornLayer = ctx.presetBornLayer.Column(x) + ctx.firstRow;
        // One grid, the Eternal Dead Field, presets died marks and kills.
        const GridView<const int32_t>& dead =
            ctx.presetDiedLayer.base ? ctx.presetDiedLayer : ctx.eternalDead;
        if (dead.base)
            a.deadLayer = dead.Column(x) + ctx.firstRow;
        a.presetDied = ctx.presetDiedLayer.base != nullptr;
        a.kill = ctx.eternalDead.base != nullptr;

        HistoryMode history = rule0.history ? HistoryMode::On : HistoryMode::Off;
        if (mix && (rule0.history != rule1.history ||
                    (rule0.history && rule0.historyRange != rule1.historyRange)))
            history = HistoryMode::PerCell;
        const int shape = ShapeIndex(mix, history, ctx.colourMode, a.bornLayer != nullptr,
                                     a.deadLayer != nullptr, ctx.presetsFromMarks, false);
        run(kUpdateTable[static_cast<std::size_t>(shape)],
            kUpdateTable[static_cast<std::size_t>(shape | 128)]);
    }
    total.live += counts.live;
    total.stateOne += counts.stateOne;
    total.born += counts.born;
    total.died += counts.died;
}

}  // namespace
