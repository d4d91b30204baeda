#include "engine/step_engine.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "engine/generation_step.h"

namespace zentorix {

namespace {

using fast::GridView;
using fast::PassContext;
using fast::PassCounts;
using fast::Planes;

// Bytes between plane columns: every plane column fits (at most 1006 rows with
// the margins a 5x5 neighbourhood reads) and columns start on cache lines.
constexpr int kPlaneStride = fast::kMaxRows;
constexpr int kMaxPlaneColumns = kGridHigh - kMainLow + 1;
// The byte sums read whole blocks of rows, up to a few hundred bytes past the
// last plane column.
constexpr std::size_t kPlaneBytes = static_cast<std::size_t>(kPlaneStride) * (kMaxPlaneColumns + 1);
constexpr std::size_t kCacheLine = 64;
// A part of a pass should hold enough columns to outweigh handing it over.
constexpr int kMinColumnsPerPart = 32;
constexpr unsigned kPartsPerThread = 4;

template <typename T>
GridView<T> ViewOf(CellField<T>& grid) {
    return {grid.Data(), grid.Low(), grid.Side()};
}

template <typename T>
GridView<const T> ViewOfConst(const CellField<T>& grid) {
    return {grid.Data(), grid.Low(), grid.Side()};
}

const fast::Kernels* BestKernels() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    __builtin_cpu_init();
    if (fast::Avx2Kernels() && __builtin_cpu_supports("avx2"))
        return fast::Avx2Kernels();
#endif
    return &fast::BaselineKernels();
}

}  // namespace

StepEngine::StepEngine(unsigned threads)
    : pool_(threads ? threads : std::max(1u, std::thread::hardware_concurrency())),
      kernels_(BestKernels()),
      planeStorage_(std::make_unique_for_overwrite<std::uint8_t[]>(2 * kPlaneBytes + kCacheLine)),
      partStarts_(static_cast<std::size_t>(kMaxPlaneColumns) + 1),
      threadCounts_(pool_.Size()) {
    static_assert(kPaletteSize <= 1 << fast::kMaxKeyBits);
}

StepEngine::~StepEngine() {
    Complete();
}

void StepEngine::SetBaselineOnly(bool on) {
    kernels_ = on ? &fast::BaselineKernels() : BestKernels();
}

Planes StepEngine::PlaneStorage(int firstColumn, int lastColumn, int firstRow, int lastRow) {
    std::uint8_t* base = planeStorage_.get();
    base += (kCacheLine - reinterpret_cast<std::uintptr_t>(base) % kCacheLine) % kCacheLine;
    Planes planes;
    planes.live = base;
    planes.first = base + kPlaneBytes;
    planes.stride = kPlaneStride;
    planes.firstColumn = firstColumn;
    planes.lastColumn = lastColumn;
    planes.firstRow = firstRow;
    planes.rows = lastRow - firstRow + 1;
    return planes;
}

void StepEngine::SetRowFlags(const PassContext& ctx) {
    for (int y = ctx.firstRow; y <= ctx.lastRow; ++y) {
        const auto i = static_cast<std::size_t>(y - ctx.firstRow);
        evalRowFlags_[i] = y >= ctx.evalFirstRow && y <= ctx.evalLastRow ? fast::kRowEvaluated : 0;
        updateRowFlags_[i] =
            y >= ctx.updateFirstRow && y <= ctx.updateLastRow ? fast::kRowUpdated : 0;
    }
}

bool StepEngine::ThreadingChoice::Parallel() const {
    if (average_[1] == 0)
        return true;
    if (average_[0] == 0)
        return false;
    const bool parallel = average_[1] <= average_[0];
    return pass_ % kRetryEvery == kRetryEvery - 1 ? !parallel : parallel;
}

StepEngine::ThreadingChoice::Split StepEngine::ThreadingChoice::Choose(int parts) const {
    Split split;
    split.parts = parts;
    if (parts > 1) {
        split.timed = true;
        split.start = std::chrono::steady_clock::now();
        split.parallel = Parallel();
        if (!split.parallel)
            split.parts = 1;
    }
    return split;
}

StepEngine::ThreadingChoice::Split StepEngine::SplitPass(ThreadingChoice& threading,
                                                         int wanted) const {
    if (forcedParts_ > 0) {
        ThreadingChoice::Split split;
        split.parts = forcedParts_;
        return split;
    }
    return threading.Choose(pool_.Size() == 1 ? 1 : wanted);
}

void StepEngine::ThreadingChoice::Finish(const Split& split, double cells) {
    if (!split.timed)
        return;
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - split.start;
    Record(split.parallel, spent.count() / cells);
}

void StepEngine::ThreadingChoice::Record(bool parallel, double secondsPerCell) {
    if (seen_[parallel ? 1 : 0] < kWarmUpPasses) {
        ++seen_[parallel ? 1 : 0];
        return;
    }
    double& average = average_[parallel ? 1 : 0];
    average = average == 0 ? secondsPerCell : average + kWeight * (secondsPerCell - average);
    pass_ = (pass_ + 1) % kRetryEvery;
}

// Splits the walked columns into parts. A part builds the plane columns of its
// interior just ahead of evaluating them, so before it updates them. The columns
// within the halo of a part's ends are read by the neighbouring part too, and
// the columns outside the walk may come from cells some part updates (torus), so
// all of those are built here, before any part changes a cell.
void StepEngine::RunPass(PassContext& ctx, PassCounts& counts) {
    const int columns = ctx.lastColumn - ctx.firstColumn + 1;
    ThreadingChoice& threading = ctx.otherReality ? otherThreading_ : mainThreading_;
    const ThreadingChoice::Split split = SplitPass(
        threading,
        std::min(columns / kMinColumnsPerPart, static_cast<int>(pool_.Size() * kPartsPerThread)));
    const int parts =
        std::clamp(split.parts, 1, std::min(columns, static_cast<int>(partStarts_.size()) - 1));
    for (int p = 0; p <= parts; ++p)
        partStarts_[static_cast<std::size_t>(p)] =
            ctx.firstColumn + static_cast<int>(static_cast<std::int64_t>(columns) * p / parts);

    const Planes& planes = ctx.planes;
    for (int x = planes.firstColumn; x < ctx.firstColumn; ++x)
        kernels_->buildPlaneColumn(ctx, x);
    for (int p = 0; p < parts; ++p) {
        const int first = partStarts_[static_cast<std::size_t>(p)];
        const int last = partStarts_[static_cast<std::size_t>(p) + 1] - 1;
        for (int x = first; x <= last && x <= planes.lastColumn; ++x)
            if (x < first + ctx.halo || x > last - ctx.halo)
                kernels_->buildPlaneColumn(ctx, x);
    }
    for (int x = ctx.lastColumn + 1; x <= planes.lastColumn; ++x)
        kernels_->buildPlaneColumn(ctx, x);

    for (PassCounts& c : threadCounts_)
        c = PassCounts{};
    const fast::Kernels& kernels = *kernels_;
    auto part = [&](int p, unsigned thread) {
        kernels.runColumns(ctx, partStarts_[static_cast<std::size_t>(p)],
                           partStarts_[static_cast<std::size_t>(p) + 1] - 1, threadCounts_[thread]);
    };
    pool_.Run(parts, part);
    threading.Finish(split, static_cast<double>(columns) * (ctx.lastRow - ctx.firstRow + 1));
    counts = PassCounts{};
    for (const PassCounts& c : threadCounts_) {
        counts.live += c.live;
        counts.stateOne += c.stateOne;
        counts.born += c.born;
        counts.died += c.died;
    }
}

namespace {

// Presets the marks of -3..EX by -3..EY that the pass does not walk.
void PresetMarksOutside(World& world, const PassContext& ctx, const EternalPresets& presets) {
    const int EX = world.ExtentX(), EY = world.ExtentY();
    const StateField& lifeLayer = world.EternalLifeField;
    const StateField& deadLayer = world.EternalDeadField;
    auto preset = [&](int x, int y0, int y1) {
        std::uint8_t* born = world.BornMarks.Column(x) - world.BornMarks.Low();
        std::uint8_t* died = world.DiedMarks.Column(x) - world.DiedMarks.Low();
        const std::int32_t* life = lifeLayer.Column(x) - lifeLayer.Low();
        const std::int32_t* dead = deadLayer.Column(x) - deadLayer.Low();
        for (int y = y0; y <= y1; ++y) {
            born[y] = presets.bornFromLayer && life[y] > 0 ? 1 : 0;
            died[y] = presets.diedFromLayer && dead[y] > 0 ? 1 : 0;
        }
    };
    for (int x = -3; x <= EX; ++x) {
        if (x < ctx.firstColumn || x > ctx.lastColumn) {
            preset(x, -3, EY);
        } else {
            preset(x, -3, ctx.firstRow - 1);
            preset(x, ctx.lastRow + 1, EY);
        }
    }
}

}  // namespace

bool StepEngine::LayerEmpty(const StateField& layer, int ex, int ey, EmptyLayerCache& cache) {
    if (cache.layer == &layer && cache.version == layer.Version() && cache.ex == ex &&
        cache.ey == ey)
        return cache.empty;
    bool empty = true;
    for (int x = -3; x <= ex && empty; ++x) {
        const std::int32_t* cells = layer.Column(x) - layer.Low();
        int any = 0;
        for (int y = -3; y <= ey; ++y)
            any |= cells[y] > 0;
        empty = any == 0;
    }
    cache = {&layer, layer.Version(), ex, ey, empty};
    return empty;
}

bool StepEngine::LayerHoldsCells(const StateField& layer, const CellRect& r) {
    LayerCellsCache* cache = &layerCells_[0];
    for (LayerCellsCache& c : layerCells_)
        if (c.layer == &layer || c.layer == nullptr) {
            cache = &c;
            break;
        }
    if (cache->layer == &layer && cache->version == layer.Version() && cache->rect == r)
        return cache->holds;
    const int x0 = std::max(r.FirstColumn, layer.Low()), x1 = std::min(r.LastColumn, kGridHigh);
    const int y0 = std::max(r.FirstRow, layer.Low()), y1 = std::min(r.LastRow, kGridHigh);
    int any = 0;
    for (int x = x0; x <= x1 && any == 0; ++x) {
        const std::int32_t* cells = layer.Column(x) - layer.Low();
        for (int y = y0; y <= y1; ++y)
            any |= cells[y] > 0;
    }
    *cache = {&layer, layer.Version(), r, any != 0};
    return any != 0;
}

void StepEngine::MainPass(World& world, const Settings& settings, StepForm form,
                          const EternalPresets* givenPresets) {
    const int W = world.FieldWidth(), H = world.FieldHeight();
    const int EX = world.ExtentX(), EY = world.ExtentY();
    // An empty layer presets nothing but zero marks and kills nothing, so its
    // cells need not be read in the pass.
    EternalPresets emptied;
    const EternalPresets* presets = givenPresets;
    if (givenPresets) {
        emptied = *givenPresets;
        if (emptied.bornFromLayer && LayerEmpty(world.EternalLifeField, EX, EY, lifeEmpty_))
            emptied.bornFromLayer = false;
        if (emptied.diedFromLayer && LayerEmpty(world.EternalDeadField, EX, EY, deadEmpty_))
            emptied.diedFromLayer = false;
        presets = &emptied;
    }
    // The bit planes take the generations that no layer takes part in.
    const bool bare =
        presets && !emptied.bornFromLayer && !emptied.diedFromLayer &&
        (!world.Landscape.EternalDeadActive ||
         LayerEmpty(world.EternalDeadField, EX, EY, deadEmpty_)) &&
        (!settings.OtherRealityOn || LayerEmpty(world.OtherRealityField, EX, EY, otherEmpty_));
    if (bare) {
        const LifeRule& rule = lifeRule_.Get(world.Rules[0]);
        if (rule.usable && LifeGeneration(world, settings, form, rule)) {
            RecordPath(rule.history ? Path::StateBits : Path::LifeBits);
            return;
        }
    }
    RecordPath(Path::General);
    // The pass hands the grids to the workers: anything put off is written
    // here, on this thread.
    world.MainField.Settle();
    lifePlanes_.valid = lifePlanes_.marksValid = false;

    PassContext ctx;
    ctx.torus = form == StepForm::Torus;
    ctx.halo = 2;
    if (ctx.torus) {
        // Every torus cell 0..W by 0..H is evaluated and updated once; the
        // repeated evaluations of the reference loop give the same marks.
        ctx.wrapX = EX;
        ctx.wrapY = EY;
        ctx.firstColumn = ctx.evalFirstColumn = ctx.updateFirstColumn = 0;
        ctx.lastColumn = ctx.evalLastColumn = ctx.updateLastColumn = W;
        ctx.evalFirstRow = ctx.updateFirstRow = 0;
        ctx.evalLastRow = ctx.updateLastRow = H;
    } else {
        ctx.firstColumn = ctx.evalFirstColumn = -2;
        ctx.evalLastColumn = W;
        ctx.updateFirstColumn = 1;
        ctx.lastColumn = ctx.updateLastColumn = EX;
        ctx.evalFirstRow = -2;
        ctx.evalLastRow = H;
        ctx.updateFirstRow = 1;
        ctx.updateLastRow = EY;
    }
    // The walk also takes the rows whose marks only get their presets, so that
    // only a few whole columns are left for PresetMarksOutside.
    ctx.firstRow = -3;
    ctx.lastRow = EY;
    ctx.planes = PlaneStorage(ctx.evalFirstColumn - ctx.halo, ctx.evalLastColumn + ctx.halo,
                              ctx.evalFirstRow - ctx.halo, ctx.evalLastRow + ctx.halo);
    SetRowFlags(ctx);
    ctx.evalRowFlags = evalRowFlags_.data();
    ctx.updateRowFlags = updateRowFlags_.data();

    const CompiledRule& rule0 = mainRules_[0].Get(world.Rules[0], 2);
    ctx.rules[0] = ctx.rules[1] = &rule0;
    ctx.needLive = !rule0.firstStateOnly;
    ctx.needFirst = rule0.firstStateOnly;
    if (settings.OtherRealityOn) {
        const CompiledRule& rule1 = mainRules_[1].Get(world.Rules[1], 2);
        ctx.rules[1] = &rule1;
        ctx.needLive = ctx.needLive || !rule1.firstStateOnly;
        ctx.needFirst = ctx.needFirst || rule1.firstStateOnly;
        ctx.otherLaws = ViewOfConst(world.OtherRealityField);
    }
    ctx.field = ViewOf(world.MainField);
    ctx.born = ViewOf(world.BornMarks);
    ctx.died = ViewOf(world.DiedMarks);
    if (world.Landscape.EternalDeadActive &&
        !LayerEmpty(world.EternalDeadField, EX, EY, deadEmpty_))
        ctx.eternalDead = ViewOfConst(world.EternalDeadField);
    ctx.presetsFromMarks = presets == nullptr;
    if (presets) {
        if (presets->bornFromLayer)
            ctx.presetBornLayer = ViewOfConst(world.EternalLifeField);
        if (presets->diedFromLayer)
            ctx.presetDiedLayer = ViewOfConst(world.EternalDeadField);
        PresetMarksOutside(world, ctx, *presets);
    }
    ctx.colourMode = settings.Colours.ColorMode;
    ctx.colourPhase = world.Counters.ColourPhase;
    ctx.ageLimit = std::clamp(settings.Colours.GenColourCount, 1, kPaletteSize);

    PassCounts counts;
    RunPass(ctx, counts);
    GenerationCounters& c = world.Counters;
    c.LiveCount = static_cast<std::int32_t>(c.LiveCount + counts.live);
    c.StateOneCount = static_cast<std::int32_t>(c.StateOneCount + counts.stateOne);
    c.BornCount = static_cast<std::int32_t>(c.BornCount + counts.born);
    c.DiedCount = static_cast<std::int32_t>(c.DiedCount + counts.died);
}

void StepEngine::OtherRealityPass(World& world) {
    const int W = world.FieldWidth(), H = world.FieldHeight();
    const int EX = world.ExtentX(), EY = world.ExtentY();
    PassContext ctx;
    ctx.otherReality = true;
    ctx.halo = 1;
    // The outermost columns and rows are updated without being evaluated; their
    // marks start cleared like all the others.
    ctx.firstColumn = ctx.updateFirstColumn = -3;
    ctx.lastColumn = ctx.updateLastColumn = EX;
    ctx.evalFirstColumn = -2;
    ctx.evalLastColumn = W;
    ctx.firstRow = -3;
    ctx.lastRow = EY;
    ctx.evalFirstRow = -2;
    ctx.evalLastRow = H;
    ctx.updateFirstRow = -3;
    ctx.updateLastRow = EY;
    ctx.planes = PlaneStorage(-3, W + 1, -3, H + 1);
    SetRowFlags(ctx);
    ctx.evalRowFlags = evalRowFlags_.data();
    ctx.updateRowFlags = updateRowFlags_.data();

    const CompiledRule& rule = otherRule_.Get(world.Rules[2], 1);
    ctx.rules[0] = ctx.rules[1] = &rule;
    ctx.needLive = !rule.firstStateOnly;
    ctx.needFirst = rule.firstStateOnly;
    ctx.field = ViewOf(world.OtherRealityField);
    ctx.born = ViewOf(world.OtherBornMarks);
    ctx.died = ViewOf(world.OtherDiedMarks);
    ctx.ageLimit = 255;

    PassCounts counts;
    RunPass(ctx, counts);
}

StepEngine& StepEngineOf(World& world) {
    if (!world.StepCaches)
        world.StepCaches = std::make_shared<StepEngine>();
    return *world.StepCaches;
}

}  // namespace zentorix
