#include <gtest/gtest.h>

#include "core/test_support.h"
#include "engine/generation_step.h"
#include "engine/rule_text.h"
#include "rules/rule_editor.h"

namespace zentorix {
namespace {

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
    EXPECT_EQ(world.MainField.at(10, 10), 0);
    EXPECT_GT(world.MainField.at(20, 20), 0);

    world.EternalLifeField.at(10, 10) = 1;  // one cell
    GenerationStep(world, settings, quiet, StepForm::Plain);
    EXPECT_EQ(world.BornMarks.at(10, 10), 1);
    EXPECT_GT(world.MainField.at(10, 10), 0);

    world.EternalDeadField.Column(20)[20 - world.EternalDeadField.Low()] = 1;  // raw column
    GenerationStep(world, settings, quiet, StepForm::Plain);
    GenerationStep(world, settings, quiet, StepForm::Plain);
    EXPECT_EQ(world.MainField.at(20, 20), 0);

    world.EternalLifeField.FillRect(-3, -3, 1001, 1001, 0);  // emptied again
    world.MainField.at(10, 10) = 0;
    GenerationStep(world, settings, quiet, StepForm::Plain);
    EXPECT_EQ(world.BornMarks.at(10, 10), 0);
    EXPECT_EQ(world.MainField.at(10, 10), 0);
}

}  // namespace
}  // namespace zentorix
