#include <gtest/gtest.h>

#include <memory>

#include "core/test_support.h"
#include "engine/generation_step.h"
#include "engine/rule_text.h"

namespace zentorix {
namespace {

using test::Draw;
using test::LiveCells;
using Cells = std::vector<std::pair<int, int>>;

struct StepTest : ::testing::Test {
    std::unique_ptr<World> world = std::make_unique<World>();
    Settings settings;
    test::RecordingObserver observer;

    void SetUp() override {
        world->SetFieldWidth(30);
        world->SetFieldHeight(30);
    }
    void Step(StepForm form = StepForm::Plain) {
        reference::GenerationStep(*world, settings, observer, form);
    }
    Cells Live() const { return LiveCells(world->MainField, -11, -11, 40, 40); }
};

TEST_F(StepTest, BlinkerTurnsWithItsCounts) {
    Draw(world->MainField, 10, 10, {"***"});
    Step();
    EXPECT_EQ(Live(), (Cells{{11, 9}, {11, 10}, {11, 11}}));
    const GenerationCounters& c = world->Counters;
    EXPECT_EQ(c.LiveCount, 3);
    EXPECT_EQ(c.StateOneCount, 2);  // the centre has aged to 2
    EXPECT_EQ(c.BornCount, 2);
    EXPECT_EQ(c.DiedCount, 2);
    EXPECT_EQ(observer.counts.at(0).Generation, 1);  // statistics see generation 1
    EXPECT_EQ(c.Generation, 2);
}

TEST_F(StepTest, HistoryDecayCountsTheDeathWhenTheLastStateEnds) {
    world->Rules[0] = world->Rules[1];  // born with 2, never survives, three states
    Draw(world->MainField, 5, 5, {"*"});
    Step();
    EXPECT_EQ(world->MainField.at(5, 5), 2);
    EXPECT_EQ(world->Counters.DiedCount, 0);
    EXPECT_EQ(world->Counters.LiveCount, 1);
    EXPECT_EQ(world->Counters.StateOneCount, 0);
    Step();
    EXPECT_EQ(world->MainField.at(5, 5), 0);
    EXPECT_EQ(world->Counters.DiedCount, 1);
}

TEST_F(StepTest, DecayingCellsAreNotNeighbours) {
    // Under history only state 1 counts: two live cells and a decaying one give
    // the sum 2 that this rule is born with.
    ParseRuleString(*world, "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI4,EX0,RB3,", "Zentorix", 0);
    Draw(world->MainField, 5, 5, {"A.B", "...", "A.."});
    Step();
    EXPECT_EQ(world->MainField.at(6, 6), 0);
    EXPECT_EQ(world->MainField.at(7, 5), 3);  // decay goes on whatever the neighbours
}

TEST_F(StepTest, AgesRunThroughThePaletteAndWrap) {
    settings.Colours.GenColourCount = 3;
    Draw(world->MainField, 5, 5, {"**", "**"});
    std::vector<int> ages;
    for (int i = 0; i < 4; ++i) {
        Step();
        ages.push_back(world->MainField.at(5, 5));
    }
    EXPECT_EQ(ages, (std::vector<int>{2, 3, 1, 2}));
}

TEST_F(StepTest, ColourModeGivesNewbornsThePhaseAndKeepsIt) {
    settings.Colours.ColorMode = true;
    settings.Colours.GenColourCount = 4;
    world->Counters.ColourPhase = 3;
    Draw(world->MainField, 10, 10, {"***"});
    Step();
    EXPECT_EQ(world->MainField.at(11, 9), 3);
    EXPECT_EQ(world->MainField.at(11, 10), 1);  // survivors keep their value
    EXPECT_EQ(world->Counters.ColourPhase, 4);
    Step();
    EXPECT_EQ(world->MainField.at(10, 10), 4);
    EXPECT_EQ(world->Counters.ColourPhase, 1);
}

TEST_F(StepTest, NegativeWeightsAndNegativeBirthSums) {
    ParseRuleString(*world, "NW0,NN0,NE0,WW-1,ME0,EE0,SW0,SS0,SE0,HI0,EX0,RB-1,", "Zentorix", 0);
    Draw(world->MainField, 10, 10, {"*"});
    Step();
    // Only the cell east of the live one has -1 from its west neighbour.
    EXPECT_EQ(Live(), (Cells{{11, 10}}));
}

TEST_F(StepTest, BirthOnZeroMarksTheMarginButFillsOnlyTheField) {
    ParseRuleString(*world, "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB0,", "Zentorix", 0);
    Step();
    EXPECT_EQ(world->BornMarks.at(-2, -2), 1);
    EXPECT_EQ(world->MainField.at(-2, -2), 0);
    EXPECT_EQ(world->MainField.at(30, 30), 1);
    // Column and row Extent are updated but not evaluated: nobody is born there.
    EXPECT_EQ(world->MainField.at(31, 5), 0);
    EXPECT_EQ(world->Counters.LiveCount, 30 * 30);
    EXPECT_EQ(world->Counters.BornCount, 30 * 30);
}

TEST_F(StepTest, MarginsKeepTheirCellsAndTheExtentColumnSurvives) {
    world->MainField.at(0, 10) = 1;   // in the margin: never updated
    world->MainField.at(31, 20) = 1;  // column Extent: updated, never evaluated
    Step();
    Step();
    EXPECT_EQ(world->MainField.at(0, 10), 1);
    EXPECT_EQ(world->MainField.at(31, 20), 3);  // survives and ages
    EXPECT_EQ(world->Counters.LiveCount, 1);
}

TEST_F(StepTest, TorusGliderPassesTheHiddenColumn) {
    world->SetFieldWidth(25);
    world->SetFieldHeight(25);
    Draw(world->MainField, 22, 10, {".*.", "..*", "***"});  // moving east and south
    for (int i = 0; i < 16; ++i)
        Step(StepForm::Torus);
    // After 16 generations the glider moved 4 cells east: 22+4 wraps to column 0.
    const Cells live = Live();
    EXPECT_EQ(live.size(), 5u);
    EXPECT_EQ(live.front().first, 0);
    EXPECT_TRUE(live.back().first <= 25 && live.back().second <= 25);
}

TEST_F(StepTest, RepaintPaintsStateThenHighlights) {
    settings.Colours.ShowBirthCells = true;
    settings.Colours.ShowDeadCells = true;
    observer.window = {9, 9, 11, 11};
    Draw(world->MainField, 10, 10, {"***"});
    Step();
    std::vector<std::tuple<int, int, Colour>> calls;
    for (auto d : observer.drawn)
        calls.emplace_back(d.x, d.y, d.colour);
    const ColourModel& c = settings.Colours;
    using T = std::tuple<int, int, Colour>;
    EXPECT_EQ(calls, (std::vector<T>{T{10, 10, c.BackgroundColour}, T{10, 10, c.DeadColour},
                                     T{11, 9, c.ColourOfState(1)}, T{11, 9, c.BirthColour},
                                     T{11, 10, c.ColourOfState(2)}, T{11, 11, c.ColourOfState(1)},
                                     T{11, 11, c.BirthColour}}));
}

TEST_F(StepTest, OtherRealityAreaSwitchesTheRuleSet) {
    // Rule set 1 (born with 2) inside the area; rule set 0 outside.
    Draw(world->MainField, 10, 10, {"*.*"});
    world->OtherRealityField.at(11, 9) = 1;
    Step();
    EXPECT_EQ(world->MainField.at(11, 9), 0);  // area switched off: rule set 0 rules
    Draw(world->MainField, 10, 10, {"*.*"});
    settings.OtherRealityOn = true;
    Step();
    EXPECT_EQ(world->MainField.at(11, 9), 1);
    EXPECT_EQ(world->MainField.at(11, 11), 0);
}

TEST_F(StepTest, ExtremeStatesNeitherWrapNorOverflow) {
    world->Rules[0].SurvivalList = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    world->MainField.at(5, 5) = INT32_MAX;
    world->MainField.at(9, 9) = -40;
    Step();
    EXPECT_EQ(world->MainField.at(5, 5), 1);  // past the palette: back to 1
    EXPECT_EQ(world->MainField.at(9, 9), -40);
    world->Rules[0].History = true;
    world->Rules[0].HistoryRange = INT32_MAX;
    world->MainField.at(5, 5) = INT32_MAX - 1;
    Step();
    EXPECT_EQ(world->MainField.at(5, 5), 0);
    EXPECT_EQ(world->DiedMarks.at(5, 5), 1);
    // Weights near the 32-bit limits add up without overflow: a wrapped sum of
    // two such weights would be -2.
    ParseRuleString(*world,
                    "NW2147483647,NN2147483647,NE0,WW0,ME0,EE0,SW0,SS0,SE0,HI0,EX0,"
                    "RB-2,",
                    "Zentorix", 0);
    world->MainField.FillRect(-11, -11, 40, 40, 0);
    Draw(world->MainField, 10, 10, {"**"});
    Step();
    EXPECT_EQ(world->MainField.at(11, 11), 0);
}

}  // namespace
}  // namespace zentorix
