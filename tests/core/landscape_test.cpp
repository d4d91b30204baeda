#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/test_support.h"
#include "engine/generation_step.h"
#include "engine/landscape.h"
#include "engine/other_reality.h"
#include "engine/rule_text.h"
#include "rules/rule_editor.h"

namespace zentorix {
namespace {

using test::Cells;
using test::LiveCells;

struct LandscapeTest : ::testing::Test {
    std::unique_ptr<World> world = std::make_unique<World>();
    StateField& main = world->MainField;
    StateField& other = world->OtherRealityField;
    Settings settings;
    StepObserver quiet;

    void SetUp() override {
        world->SetFieldWidth(30);
        world->SetFieldHeight(30);
        // A rule under which nothing is ever born or survives on its own.
        ParseRuleString(*world, "HI0,", "Zentorix", 0);
    }
    void Step() { reference::GenerationStep(*world, settings, quiet, StepForm::Plain); }
};

TEST_F(LandscapeTest, EternalLifeForcesBirthsInItsRhythmAndNotWhenSwitchedOff) {
    world->EternalLifeField.at(5, 5) = 1;
    // Phases run 0,1,2,3,1,2,3,...: the window 2 < phase <= 3 opens every third
    // step; with period 1 and intensity 1 the birth is forced from the second
    // generation after start on. Each step gives 2 for a born mark and a live
    // cell.
    for (auto [period, expected] : {std::pair{3, "000200200"}, {1, "022222222"}}) {
        world->Landscape = {};
        settings.EternalLifePeriod = period;
        settings.EternalLifeIntensity = 1;
        std::string born;
        for (int g = 0; g < 9; ++g) {
            main.at(5, 5) = 0;
            Step();
            born += static_cast<char>('0' + (main.at(5, 5) > 0) + (world->BornMarks.at(5, 5) != 0));
        }
        EXPECT_EQ(born, expected) << period;
    }

    // Switched off, the layer clears its marks and keeps its phase.
    world->Landscape = {};
    main.at(5, 5) = 0;
    settings.EternalLifeOn = false;
    world->BornMarks.at(5, 5) = 1;
    Step();
    EXPECT_EQ(std::pair(main.at(5, 5), world->Landscape.EternalLifePhase), std::pair(0, 0));
}

TEST_F(LandscapeTest, EternalDeadKillsAndMarksOnAlternateGenerations) {
    ParseRuleString(*world, "RS0,RS1,RS2,RS3,RS4,RS5,RS6,RS7,RS8,", "Zentorix", 0);  // all survive
    settings.EternalDeadOn = true;
    settings.EternalDeadIntensity = 1;
    world->EternalDeadField.at(5, 5) = 1;
    world->EternalDeadField.at(9, 9) = 1;
    // Phases 0,1,2,1,2,...: the kill uses the phase after its advance, the mark
    // preset the phase before it, so the two alternate (seen at the empty cell
    // (9, 9)). With period 1 the cell is killed and marked in every generation.
    std::string killed, marked;
    for (int g = 0; g < 9; ++g) {
        settings.EternalDeadPeriod = g < 6 ? 2 : 1;
        const int m = g < 6 ? 9 : 5;
        main.at(5, 5) = 1;
        Step();
        killed += main.at(5, 5) == 0 ? 'k' : '-';
        marked += static_cast<char>('0' + world->DiedMarks.at(m, m));
    }
    EXPECT_EQ(killed + " " + marked, "-k-k-kkkk 001010111");
}

TEST_F(LandscapeTest, RandomFillsFollowTheirPeriodAndIntensity) {
    world->Random.FixSeed(42);
    settings.MainFillRandom = true;
    settings.OtherRealFillRandom = true;
    settings.RandomFillPeriod = 10;
    settings.RandomFillIntensity = 100;
    auto any = [&](int x0, int y0, int x1, int y1) {
        return !LiveCells(main, x0, y0, x1, y1).empty();
    };
    for (int g = 1; g <= 25; ++g) {
        world->Counters.Generation = g;
        const bool before = any(-2, -2, 30, 30);
        ApplyRandomFills(*world, settings);
        EXPECT_EQ(any(-2, -2, 30, 30) && !before, g == 10) << g;
    }
    // The fills reach the margin and nothing beyond the evaluated range.
    settings.RandomFillPeriod = 1;
    for (int i = 0; i < 200; ++i)
        ApplyRandomFills(*world, settings);
    EXPECT_EQ(std::tuple(any(-2, -2, 0, 30), any(31, -11, 40, 40), any(-11, -11, -3, 40)),
              std::tuple(true, false, false));
    // At intensity 0 nothing is ever filled.
    main.Clear();
    settings.RandomFillIntensity = 0;
    for (int i = 0; i < 20; ++i)
        ApplyRandomFills(*world, settings);
    EXPECT_FALSE(any(-11, -11, 40, 40));
}

TEST_F(LandscapeTest, OtherRealityAgesWrapAt255) {
    test::Draw(other, 10, 10, {"**", "**"});
    other.at(10, 10) = 254;
    OtherRealityStep(*world);
    const int first = other.at(10, 10);
    OtherRealityStep(*world);
    EXPECT_EQ(std::pair(first, other.at(10, 10)), std::pair(255, 1));
}

// The step remembers that a landscape layer is empty until the layer is
// accessed for writing; a mark set in any way between two steps must count.
TEST(LayerCache, MarksAddedBetweenStepsAreSeenHoweverTheyAreWritten) {
    World world;
    Settings settings;
    settings.EternalDeadOn = true;
    ParseRuleString(world, "RS0,RS1,RS2,RS3,RS4,RS5,RS6,RS7,RS8,", "Zentorix", 0);
    StepObserver quiet;
    world.MainField.at(20, 20) = 1;
    for (int i = 0; i < 3; ++i)
        GenerationStep(world, settings, quiet, StepForm::Plain);
    EXPECT_EQ(std::pair(world.MainField.at(10, 10), world.MainField.at(20, 20) > 0),
              std::pair(0, true));

    world.EternalLifeField.at(10, 10) = 1;  // one cell
    GenerationStep(world, settings, quiet, StepForm::Plain);
    EXPECT_EQ(std::pair(int{world.BornMarks.at(10, 10)}, world.MainField.at(10, 10) > 0),
              std::pair(1, true));

    world.EternalDeadField.Column(20)[20 - world.EternalDeadField.Low()] = 1;  // raw column
    GenerationStep(world, settings, quiet, StepForm::Plain);
    GenerationStep(world, settings, quiet, StepForm::Plain);
    EXPECT_EQ(world.MainField.at(20, 20), 0);

    world.EternalLifeField.FillRect(-3, -3, 1001, 1001, 0);  // emptied again
    world.MainField.at(10, 10) = 0;
    GenerationStep(world, settings, quiet, StepForm::Plain);
    EXPECT_EQ(std::pair(int{world.BornMarks.at(10, 10)}, world.MainField.at(10, 10)),
              std::pair(0, 0));
}

}  // namespace
}  // namespace zentorix
