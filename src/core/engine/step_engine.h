#pragma once

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/compiled_rule.h"
#include "engine/generation_step.h"
#include "engine/landscape.h"
#include "engine/step_kernels.h"
#include "engine/worker_pool.h"
#include "model/settings.h"
#include "model/world.h"

namespace zentorix {

// What the fast step keeps between generations: the compiled rules (rebuilt
// when a rule set changes), the plane storage and the worker threads. What it
// keeps about the grids is checked against their versions, so any change to
// the grids between steps is seen. One engine lives with each World.
//
// Runs of bit-plane generations put off writing the marks and most values to
// the grids: the engine holds them (CellField::Defer) and writes them when any
// code touches a grid, or when the engine goes.
class StepEngine final : private DeferredWrites {
  public:
    // `threads` counts the calling thread; 0 takes the processor's count.
    explicit StepEngine(unsigned threads = 0);
    ~StepEngine();
    StepEngine(const StepEngine&) = delete;
    StepEngine& operator=(const StepEngine&) = delete;

    // Evaluation and update of the Main Field: marks, new values and the four
    // population counters. With `presets` null the landscape passes have run
    // and the marks hold their presets; otherwise the phases have advanced and
    // the pass sets every mark of -3..ExtentX by -3..ExtentY from the layers
    // itself, as ApplyEternalLayers would have.
    void MainPass(World& world, const Settings& settings, StepForm form,
                  const EternalPresets* presets);
    // One generation of the Other Reality Field under rule set 2.
    void OtherRealityPass(World& world);

    // The ways a generation of the Main Field runs: the byte planes serve every
    // rule and layer; bit planes serve rules whose eight neighbours weigh the
    // same and nothing further out counts, in generations where no landscape
    // layer, Other Reality area or random fill takes part: two-state rules
    // (LifeBits) and rules with history of 2..255 states (StateBits).
    enum class Path { General, LifeBits, StateBits };
    static constexpr int kPathCount = 3;
    static const char* PathName(Path path);
    Path LastPath() const { return lastPath_; }
    // Generations each path ran since the engine was made.
    std::uint64_t Generations(Path path) const {
        return pathGenerations_[static_cast<std::size_t>(path)];
    }

    // While the world's grids wait for a run of bit-plane generations of a
    // rule without history, the live cells of its Main Field as the planes
    // hold them (rows from -3), else null: a reader that needs no more than
    // live or empty need not have the grids written.
    const fast::BitPlane* WaitingLiveCells(const World& world) const {
        return lifePlanes_.waiting == &world && lifePlanes_.range == 0 ? &waitingLive_ : nullptr;
    }

    // A painter that keeps its image between paints (the window at full
    // speed) names what decides its pixels in `key`: the image, its geometry
    // and version, the colours, the cells shown. SettleForPaint writes the
    // grids; when the grids were last painted under the same key and a run of
    // bit-plane generations has waited since, it gives the cells whose value
    // or marks may differ from what was painted (rows and columns from -3),
    // else null: every cell is to be painted. NotePainted tells that the grids
    // as they are now were painted under `key`. (A repaint of one generation
    // follows a pass that changed the grids' versions, so the image it
    // changes is never taken for one painted under a key.)
    const fast::BitPlane* SettleForPaint(World& world, const std::vector<std::uint32_t>& key);
    void NotePainted(const World& world, std::vector<std::uint32_t> key);

    // Whether the layer holds a cell above 0 within the rectangle; the answer
    // is kept until the layer is written again (one answer per layer).
    bool LayerHoldsCells(const StateField& layer, const CellRect& r);

    unsigned Threads() const { return pool_.Size(); }
    // Runs fn(first, last) over parts of the column range first..last on the
    // workers; the parts are disjoint and together cover the range.
    template <typename Fn>
    void ForColumnRanges(int first, int last, Fn&& fn) {
        const int columns = last - first + 1;
        if (columns <= 0)
            return;
        const int parts = std::clamp(columns / 64, 1, static_cast<int>(pool_.Size()) * 2);
        auto part = [&](int index, unsigned) {
            const int from =
                first + static_cast<int>(static_cast<long long>(columns) * index / parts);
            const int to =
                first + static_cast<int>(static_cast<long long>(columns) * (index + 1) / parts) - 1;
            fn(from, to);
        };
        pool_.Run(parts, part);
    }
    // Splits each pass into this many column ranges (0: chosen by size). The
    // result never depends on it; tests use it to cross range borders.
    void SetParts(int parts) { forcedParts_ = parts; }
    // Keeps to the baseline kernels even where wider ones would run.
    void SetBaselineOnly(bool on);
    bool UsesWideKernels() const { return kernels_ != &fast::BaselineKernels(); }

  private:
    // Whether spreading a pass over the workers pays. On a machine whose other
    // cores are busy, a worker that is preempted while it holds a part makes the
    // whole pass wait, and one thread is faster. So both ways keep a moving
    // average of their time per cell; passes take the faster way, and every
    // few passes the other way runs once to keep its average current.
    class ThreadingChoice {
      public:
        // A pass split into `parts`; one of more than a part is timed, and may
        // be made to run as one part to time that way too.
        struct Split {
            int parts = 1;
            bool timed = false, parallel = false;
            std::chrono::steady_clock::time_point start;
        };
        Split Choose(int parts) const;
        // Adds a timed pass's time for `cells` cells to its way's average.
        void Finish(const Split& split, double cells);

      private:
        // The way the next pass runs.
        bool Parallel() const;
        void Record(bool parallel, double secondsPerCell);

        static constexpr int kRetryEvery = 64;
        static constexpr double kWeight = 0.25;  // of the newest time in the average
        // The first pass of either way runs cold (fresh pages, sleeping
        // workers) and is not counted: one slow start would otherwise keep
        // the faster way unused for hundreds of passes.
        static constexpr int kWarmUpPasses = 1;
        int pass_ = 0;
        int seen_[2] = {0, 0};
        double average_[2] = {0, 0};  // serial, parallel; 0 until measured
    };

    // Whether a landscape layer holds no mark over -3..ex by -3..ey. The answer
    // is kept until the layer is accessed for writing again, so a run over an
    // empty layer does not read it in every generation.
    struct EmptyLayerCache {
        const void* layer = nullptr;
        std::uint64_t version = 0;
        int ex = 0, ey = 0;
        bool empty = false;
    };
    static bool LayerEmpty(const StateField& layer, int ex, int ey, EmptyLayerCache& cache);

    // The bit-plane form of a rule: masks per neighbour count, or none when
    // the rule is not one the bit planes can run.
    struct LifeRule {
        bool usable = false;
        std::uint64_t birth[9] = {}, survival[9] = {};
        // With history: the range of states, the bits that hold them, and
        // survival of a decaying cell, whose own weight does not count.
        bool history = false;
        std::int32_t range = 0;
        int stateBits = 0;
        std::uint64_t survivalDecaying[9] = {};
    };
    class LifeRuleCache {
      public:
        const LifeRule& Get(const RuleSet& rules);

      private:
        bool valid_ = false;
        RuleSet source_;
        LifeRule compiled_;
    };
    // The bit planes between generations. The live plane of the last pass is
    // kept with the field's version: while nobody has written the field since,
    // it still holds the field's live cells and need not be built again.
    struct LifePlanes {
        int columns = 0, wordRows = 0, stride = 0;
        std::vector<std::uint64_t> live[2], born[2], died[2];
        // With history, live holds state 1, and the states bit by bit. The
        // planes are of a rule with history of this range (0: without).
        std::vector<std::uint64_t> states[2][fast::kMaxKeyBits];
        std::int32_t range = 0;
        std::vector<std::uint64_t> evalRows, updateRows, evalColumns, updateColumns;
        int current = 0;  // the live plane of the field as it is
        bool valid = false;
        bool torus = false;
        int width = 0, height = 0;
        const void* field = nullptr;
        std::uint64_t version = 0;
        // The marks the grids hold, kept with the mark grids' versions: only
        // words with a mark there or now need writing.
        std::vector<std::uint64_t> gridBorn, gridDied;
        bool marksValid = false;
        const void* bornMarks = nullptr;
        const void* diedMarks = nullptr;
        std::uint64_t bornVersion = 0, diedVersion = 0;

        // The stretch of generations whose writes are put off: the world whose
        // grids wait (null when none do), the updated cells live at some time
        // in it, and how far the ages have moved.
        World* waiting = nullptr;
        std::vector<std::uint64_t> touched;
        // The live cells' keys (see fast::LifePass), one plane per key bit.
        std::vector<std::uint64_t> keyPlanes[fast::kMaxKeyBits];
        int keyBits = 0;
        bool marksKnown = false;  // the grids hold gridBorn and gridDied
        bool colourMode = false;
        std::int32_t ageLimit = 1, ticks = 0;
        // The cells live since the grids were last written (see
        // fast::LifePass), the generations since then modulo the age limit,
        // and the same count stopped at 2 (1 tells that only newborns are new).
        std::vector<std::uint64_t> lasting;
        std::int32_t lastingTicks = 0;
        int sinceWritten = 0;
        // The keys hold for the field's version `keysVersion` under these
        // settings.
        bool keysValid = false;
        std::uint64_t keysVersion = 0;
        bool keysColourMode = false;
        std::int32_t keysAgeLimit = 0;
        // The grids the stretch began from.
        std::array<std::uint64_t, 3> startVersions{};
        std::array<const void*, 3> startGrids{};
        // The cells SettleForPaint gives.
        std::vector<std::uint64_t> changed;
    };
    // The grids' versions and storage (values, born and died marks).
    static std::array<std::uint64_t, 3> GridVersions(const World& world);
    static std::array<const void*, 3> Grids(const World& world);
    // Writes the marks and values a stretch put off and ends it.
    void Complete() override;
    // Keys for the updated live cells from their values in the field.
    void KeysFromValues(const StateField& field, bool colourMode, std::int32_t ageLimit);
    // Notes that the keys hold for the field as it is now.
    void NoteKeys(const StateField& field, bool colourMode, std::int32_t ageLimit);
    // One generation on the bit planes; false, with nothing changed, when the
    // field holds values the planes cannot carry.
    bool LifeGeneration(World& world, const Settings& settings, StepForm form,
                        const LifeRule& rule);
    // Builds the planes of the current generation from the field; false when
    // it holds a value they cannot carry.
    bool BuildPlanes(const StateField& field, const LifeRule& rule);
    fast::BitPlane PlaneOf(std::vector<std::uint64_t>& storage, int firstColumn) const;
    void RecordPath(Path path) {
        lastPath_ = path;
        ++pathGenerations_[static_cast<std::size_t>(path)];
    }

    void RunPass(fast::PassContext& ctx, fast::PassCounts& counts);
    void SetRowFlags(const fast::PassContext& ctx);
    fast::Planes PlaneStorage(int firstColumn, int lastColumn, int firstRow, int lastRow);

    WorkerPool pool_;
    const fast::Kernels* kernels_;
    int forcedParts_ = 0;
    // The Main Field and the Other Reality passes cost differently per cell.
    // How a pass is split: as SetParts forces it, else as `threading` chooses
    // for `wanted` parts.
    ThreadingChoice::Split SplitPass(ThreadingChoice& threading, int wanted) const;

    ThreadingChoice mainThreading_, otherThreading_;
    // Left uninitialised: every plane byte is written before it is read.
    std::unique_ptr<std::uint8_t[]> planeStorage_;
    std::array<std::uint8_t, fast::kMaxRows> evalRowFlags_{};
    std::array<std::uint8_t, fast::kMaxRows> updateRowFlags_{};
    std::vector<int> partStarts_;
    std::vector<fast::PassCounts> threadCounts_;
    std::array<CompiledRuleCache, 2> mainRules_;
    CompiledRuleCache otherRule_;
    EmptyLayerCache lifeEmpty_, deadEmpty_, otherEmpty_;
    struct LayerCellsCache {
        const void* layer = nullptr;
        std::uint64_t version = 0;
        CellRect rect;
        bool holds = false;
    };
    std::array<LayerCellsCache, 3> layerCells_;
    ThreadingChoice lifeThreading_;
    LifeRuleCache lifeRule_;
    LifePlanes lifePlanes_;
    fast::BitPlane waitingLive_;
    fast::BitPlane changedForPaint_;
    // What the last paint that keeps its image showed.
    struct Painted {
        bool valid = false;
        std::vector<std::uint32_t> key;
        std::array<std::uint64_t, 3> versions{};
        std::array<const void*, 3> grids{};
    } painted_;
    Path lastPath_ = Path::General;
    std::array<std::uint64_t, kPathCount> pathGenerations_{};
};

// The engine of a World, created on first use.
StepEngine& StepEngineOf(World& world);

}  // namespace zentorix
