#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/cell_field.h"
#include "model/random_source.h"
#include "model/rule_editor_state.h"
#include "model/rule_set.h"

namespace zentorix {

class StepEngine;

inline constexpr int kMinFieldSize = 25;
inline constexpr int kMaxFieldSize = 999;
// Files never apply a size above this one.
inline constexpr int kMaxLoadedFieldSize = 997;

// The four layers that editing, loading and copying address by number.
enum class Layer { Main = 0, EternalLife = 1, EternalDead = 2, OtherReality = 3 };

// The per-generation counts and the run's phases.
struct GenerationCounters {
    std::int32_t LiveCount = 0;
    std::int32_t StateOneCount = 0;
    std::int32_t BornCount = 0;
    std::int32_t DiedCount = 0;
    std::int32_t Generation = 1;   // the generation the next step computes
    std::int32_t ColourPhase = 1;  // colour of newborn cells in colour-by-phase mode
};

struct LandscapePhases {
    std::int32_t EternalLifePhase = 0;
    std::int32_t EternalDeadPhase = 0;
    bool EternalDeadActive = false;
};

// A rectangle of cells, first and last column and row included.
struct CellRect {
    int FirstColumn = 0, FirstRow = 0, LastColumn = -1, LastRow = -1;
    bool Empty() const { return LastColumn < FirstColumn || LastRow < FirstRow; }
    bool operator==(const CellRect&) const = default;
};

// Everything one experiment is made of: the grids, the three rule sets with the
// rule editor's state, the counters and phases. One instance, owned by whoever
// runs the experiment.
class World {
  public:
    // The start-up state: empty grids of 160 by 140, the three start-up rules,
    // generation 1.
    World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    int FieldWidth() const { return fieldWidth_; }
    int FieldHeight() const { return fieldHeight_; }
    int ExtentX() const { return fieldWidth_ + 1; }
    int ExtentY() const { return fieldHeight_ + 1; }
    // Sizes are kept within 25..999; the cells are neither moved nor cleared.
    void SetFieldWidth(int w);
    void SetFieldHeight(int h);

    StateField& LayerField(Layer layer);
    const StateField& LayerField(Layer layer) const;

    StateField MainField{kMainLow};
    MarkField BornMarks{kLayerLow};
    MarkField DiedMarks{kLayerLow};
    StateField EternalLifeField{kLayerLow};
    StateField EternalDeadField{kLayerLow};
    StateField OtherRealityField{kLayerLow};
    MarkField OtherBornMarks{kLayerLow};
    MarkField OtherDiedMarks{kLayerLow};
    StateField StagingGrid{kMainLow};
    StateField ClipboardField{kMainLow};
    int ClipboardLastColumn = 0;  // clipboard width - 1
    int ClipboardLastRow = 0;     // clipboard height - 1

    std::array<RuleSet, 3> Rules;
    RuleEditorState Editor;

    GenerationCounters Counters;
    LandscapePhases Landscape;
    RandomSource Random;

    CellRect Selection;
    bool SelectionVisible = false;  // the selection frame is shown

    // A pattern larger than the field loses what does not fit; the open tells
    // the user. The live cells a reader found beyond the staging grid (how many,
    // and the box they span), and the last placement's loss: the pattern's and
    // the field's sizes and the live cells left out.
    struct PatternOutside {
        std::int64_t live = 0;
        std::int64_t minX = INT64_MAX, minY = INT64_MAX, maxX = INT64_MIN, maxY = INT64_MIN;
    };
    struct PatternCut {
        std::int64_t columns = 0, rows = 0;
        int fieldWidth = 0, fieldHeight = 0;
        std::int64_t liveLeftOut = 0;
    };
    PatternOutside PatternLiveOutside;
    PatternCut LastPatternCut;

    std::vector<std::string> Description;
    std::string CurrentFileName = "new.zlf";
    std::int32_t UndoCounter = 1;
    std::int32_t PairOffsetX = 1;
    std::int32_t PairOffsetY = 1;

    // The generation step's own caches and worker threads; it creates them on
    // first use. They hold nothing about the grids.
    std::shared_ptr<StepEngine> StepCaches;

  private:
    int fieldWidth_ = 160;
    int fieldHeight_ = 140;
};

// The start-up rule texts of the three rule sets.
inline constexpr const char* kStartUpRuleText0 =
    "#R NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,EX0,MR,HI0,RB3,RS2,RS3";
inline constexpr const char* kStartUpRuleText1 =
    "#R NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,EX0,MR,HI3,RB2";

}  // namespace zentorix
