#include <gtest/gtest.h>

#include "engine/rule_text.h"
#include "model/world.h"
#include "rules/rule_editor.h"

namespace zentorix {
namespace {

using Sums = std::vector<std::int32_t>;

struct RuleEditor : ::testing::Test {
    World world;
};

TEST_F(RuleEditor, ListTextsParseOnlyCompleteCanonicalSums) {
    const std::pair<const char*, Sums> cases[] = {{"3,6", {3}},
                                                  {"3,3,6,", {3, 6}},
                                                  {"6,3,", {3, 6}},
                                                  {" 3,03,-0,2049,-2048,x,", {-2048}},
                                                  {"", {}}};
    for (const auto& [text, sums] : cases) {
        world.Editor.BirthStr = text;
        ParseBirthList(world);
        EXPECT_EQ(world.Rules[0].BirthList, sums) << text;
        EXPECT_EQ(world.Editor.BirthStr, text);  // the text stays as written
    }
}

TEST_F(RuleEditor, RangesSwapAndDigitBoxes) {
    SetBirthRange(world, 5, 4);
    EXPECT_TRUE(world.Rules[0].BirthList.empty());
    SetSurvivalRange(world, -1, 1);
    EXPECT_EQ(world.Editor.SurvivalStr, "-1,0,1,");
    EXPECT_EQ(world.Rules[0].SurvivalList, (Sums{-1, 0, 1}));
    SetBirthRange(world, -5000, 5000);  // clamped to -2048..2048, list capped at 1023
    EXPECT_EQ(world.Rules[0].BirthCount(), kMaxListEntries);
    EXPECT_EQ(world.Rules[0].BirthList.front(), -2048);

    World other;
    SwapBirthSurvival(other);
    EXPECT_EQ(other.Rules[0].BirthList, (Sums{2, 3}));
    EXPECT_EQ(other.Rules[0].SurvivalList, (Sums{3}));
    EXPECT_TRUE(other.Editor.B[2] && other.Editor.B[3] && !other.Editor.B[1]);

    // The digit boxes follow the texts and edit them.
    other.Editor.BirthStr = "13,";
    SyncBirthSurvivalBoxes(other);
    EXPECT_TRUE(other.Editor.B[1] && other.Editor.B[3]);
    other.Editor.B[3] = other.Editor.B[1] = false;
    BirthBoxesChanged(other);
    // "3," is taken out of "13,", leaving a text with no complete sum.
    EXPECT_EQ(other.Editor.BirthStr, "1");
    EXPECT_TRUE(other.Rules[0].BirthList.empty());
    other.Editor.SurvivalStr = "2,3,";
    other.Editor.S.fill(false);
    other.Editor.S[8] = true;
    SurvivalBoxesChanged(other);
    EXPECT_EQ(other.Editor.SurvivalStr, "8,");
    EXPECT_EQ(other.Rules[0].SurvivalList, (Sums{8}));
}

TEST_F(RuleEditor, NeighbourhoodShapesAndSymmetricWeights) {
    EXPECT_EQ(world.Editor.ShapeIndex, 0);  // Moore 3x3 at start-up
    SelectNeighbourhoodShape(world, 3);
    EXPECT_TRUE(world.Rules[0].Extended);
    EXPECT_NE(world.Editor.InfoEdit.find("2N2N1,2N2E0,"), std::string::npos);
    SetWeightBox(world, PositionIndex(1, 0), 2);
    EXPECT_EQ(world.Editor.ShapeIndex, kNoShape);
    SetWeightBox(world, PositionIndex(1, 0), 1);
    EXPECT_EQ(world.Editor.ShapeIndex, 3);  // set by hand, recognised again
    SelectNeighbourhoodShape(world, 1);
    EXPECT_EQ(world.Rules[0].Weight(-1, -1), 0);
    SelectNeighbourhoodShape(world, kNoShape);  // the blank entry changes nothing
    EXPECT_EQ(world.Editor.ShapeIndex, 1);
    SelectNeighbourhoodShape(world, 5);
    EXPECT_EQ(world.Rules[0].Weight(-1, -2), 1);
    EXPECT_EQ(world.Rules[0].Weight(-1, -1), 0);
    // With the symmetric region a weight sets its partner too.
    world.Editor.SymmetricRegion = true;
    SetWeightBox(world, PositionIndex(-1, -1), 3);
    EXPECT_EQ(world.Rules[0].Weight(1, 1), 3);
    EXPECT_EQ(world.Rules[0].Weight(-1, -1), 3);
    SetWeightBox(world, PositionIndex(0, 0), 9);  // ME has no partner
    EXPECT_EQ(world.Rules[0].Weight(0, 0), 9);
    // Showing a rule with NW 4 and SE 1: SE is set later and decides both.
    world.Rules[0].Weights[PositionIndex(-1, -1)] = 4;
    world.Rules[0].Weights[PositionIndex(1, 1)] = 1;
    RefreshRuleEditor(world, 0);
    EXPECT_EQ(world.Rules[0].Weight(-1, -1), 1);
    EXPECT_EQ(world.Rules[0].Weight(1, 1), 1);
    // The up-downs offer -256..256 to the user; rule text may hold more and is kept.
    SetWeightBox(world, PositionIndex(0, -1), 1000);
    EXPECT_EQ(world.Rules[0].Weight(0, -1), 256);
    world.Editor.SymmetricRegion = false;
    ParseRuleString(world, "NN9999,", "Zentorix", 0);
    EXPECT_EQ(world.Rules[0].Weight(0, -1), 9999);
    EXPECT_EQ(world.Editor.WeightBoxes[PositionIndex(0, -1)], 9999);
}

TEST_F(RuleEditor, EditedRuleSetAndTheInformationLines) {
    world.Editor.LookUpRuleName = [&](World& w, const std::string&) {
        w.Editor.InfoMemo[0] = "Known";
    };
    SelectEditedRuleSet(world, 1);
    EXPECT_EQ(world.Editor.InfoEdit, RuleToString(world, 0, 1));
    EXPECT_EQ(world.Editor.InfoMemo[0], "Known");
    EXPECT_EQ(world.Editor.BirthStr, "2,");

    world.Editor.LookUpRuleName = nullptr;
    world.Editor.InfoMemo = {"a", "b", "c", "d"};
    world.Editor.RulesDescription = {"x"};
    world.Editor.ClearRuleInfoOnChange = false;
    RuleChanged(world);
    EXPECT_EQ(world.Editor.InfoMemo[3], "d");
    world.Editor.ClearRuleInfoOnChange = true;
    RuleChanged(world);
    EXPECT_TRUE(world.Editor.RulesDescription.empty());

    // History switched on in the editor uses the length the box shows.
    SelectEditedRuleSet(world, 0);
    SetHistoryOn(world, true);
    EXPECT_TRUE(world.Rules[0].History);
    EXPECT_EQ(world.Rules[0].HistoryRange, 2);
    SetHistoryRangeBox(world, 400);
    EXPECT_EQ(world.Rules[0].HistoryRange, 256);
    SetDelayValue(world, 5);
    EXPECT_EQ(world.Rules[0].DelayValue, -1);
}

}  // namespace
}  // namespace zentorix
