#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "core/temp_folder.h"
#include "core/test_support.h"
#include "engine/rule_text.h"
#include "formats/pattern_load.h"
#include "formats/save_as.h"
#include "rules/rule_editor.h"

namespace zentorix {
namespace {

using test::TempFolder;

std::int32_t Same(std::int32_t s) {
    return s;
}
std::int32_t TwoStates(std::int32_t s) {
    return s > 0 ? 1 : 0;
}
std::int32_t UpTo264(std::int32_t s) {
    return std::min(s, 264);
}
std::int32_t UpTo255(std::int32_t s) {
    return std::min(s, 255);
}

// Every writer: a field holding each state 1..top is saved, opened again as a
// user opens it, and compared cell for cell (with what the format can carry of
// the states) and by its rule; what a format cannot name is announced on save.
TEST(PatternRoundTrip, EveryWriterReadsBackWhatItCanCarry) {
    struct Case {
        SaveFormat format;
        const char* rule;
        std::string_view family;
        std::int32_t top;  // states 1..top are on the field
        std::function<std::int32_t(std::int32_t)> carried;
        std::size_t problems;
    };
    const char* kWeighted = "NW1,NN2,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,RS2,RS3,";
    const char* kFiveByFive =
        "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,2N2W1,2N1W1,1N2W1,2N2N1,2N2E1,2N1E1,1N2E1,2W2W1,"
        "2E2E1,2S2W1,2S1W1,1S2W1,2S2S1,2S2E1,2S1E1,1S2E1,HI0,EX2,RB5,RS4,RS5,RS6,";
    const char* kHistory300 = "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI300,EX0,RB2,";
    const Case cases[] = {
        {SaveFormat::Zlf, "23/3", kFamilyLife, 40, Same, 0},
        {SaveFormat::Zlf, kHistory300, kFamilyZentorix, 264, Same, 0},
        {SaveFormat::Life105, "23/3", kFamilyLife, 5, TwoStates, 0},
        {SaveFormat::Life105, kWeighted, kFamilyZentorix, 3, TwoStates, 1},
        {SaveFormat::Life105, "345/2/4", kFamilyGenerations, 3, TwoStates, 2},
        {SaveFormat::MCell, kHistory300, kFamilyZentorix, 264, Same, 0},
        // Our own cell letters end at 264: the states above are cut, and said so.
        {SaveFormat::Zlf, kHistory300, kFamilyZentorix, 299, UpTo264, 1},
        {SaveFormat::MCell, kHistory300, kFamilyZentorix, 299, UpTo264, 1},
        {SaveFormat::Rle, "23/36", kFamilyLife, 7, TwoStates, 0},
        {SaveFormat::Rle, "B2/S34V", kFamilyOldLife, 1, TwoStates, 0},
        {SaveFormat::Rle, "B1/S/H", kFamilyOldLife, 1, TwoStates, 0},
        {SaveFormat::Rle, kFiveByFive, kFamilyZentorix, 2, TwoStates, 1},
        {SaveFormat::Rle, "23/3/256", kFamilyGenerations, 255, Same, 0},
        // More states than letters: the rule travels in our comment, the states
        // above 255 as 255.
        {SaveFormat::Rle, kHistory300, kFamilyZentorix, 299, UpTo255, 2},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.rule) + " as " +
                     SavedFilePath(c.format, "f").extension().string());
        World world;
        Settings settings;
        settings.SaveRulesCheckBox = true;
        world.SetFieldWidth(61);
        world.SetFieldHeight(45);
        ParseRuleString(world, c.rule, c.family, 0);
        // Each state once, spaced so that every run is one cell, around a block.
        for (std::int32_t s = 1; s <= c.top; ++s)
            world.MainField.at(3 + (s - 1) % 28 * 2, 3 + (s - 1) / 28 * 4) = s;
        test::Draw(world.MainField, 20, 42, {"oo", "oo"});

        const SaveResult saved = SaveAs(world, settings, folder.Path() / "f", c.format);
        EXPECT_EQ(saved.problems.size(), c.problems);

        World back;
        Settings backSettings;
        const OpenResult opened = OpenPatternFile(back, backSettings, saved.path);
        EXPECT_TRUE(opened.problems.empty());
        auto expected = test::Shape(world.MainField);
        for (auto& cell : expected)
            cell[2] = c.carried(cell[2]);
        EXPECT_EQ(test::Shape(back.MainField), expected);
        EXPECT_EQ(FormatRuleTokens(back.Rules[0]), FormatRuleTokens(world.Rules[0]));
    }
}

}  // namespace
}  // namespace zentorix
