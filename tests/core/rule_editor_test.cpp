#include <gtest/gtest.h>

#include "engine/format_error.h"
#include "engine/rule_text.h"
#include "model/world.h"
#include "rules/rule_editor.h"
#include "rules/typed_rule.h"

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
    EXPECT_FALSE(world.Editor.BirthListCut);
    SetBirthRange(world, -5000, 5000);  // clamped to -2048..2048, list capped at 1023
    EXPECT_EQ(world.Rules[0].BirthCount(), kMaxListEntries);
    EXPECT_EQ(world.Rules[0].BirthList.front(), -2048);
    EXPECT_TRUE(world.Editor.BirthListCut);  // and the cut is told
    EXPECT_FALSE(world.Editor.B[0]);         // the sum 0 fell off the list

    World other;
    SwapBirthSurvival(other);
    EXPECT_EQ(other.Rules[0].BirthList, (Sums{2, 3}));
    EXPECT_EQ(other.Rules[0].SurvivalList, (Sums{3}));
    EXPECT_TRUE(other.Editor.B[2] && other.Editor.B[3] && !other.Editor.B[1]);

    // Box d stands for the sum d, when shown and when clicked.
    struct BoxCase {
        const char* text;
        int digit;
        bool tick;
        const char* after;
        Sums sums;
    };
    const BoxCase boxCases[] = {
        {"13,", 3, true, "13,3,", {3, 13}},  // "13," does not hold the sum 3
        {"13,3,", 3, false, "13,", {13}},    // unticking leaves 13 alone
        {"3,6,3,", 3, false, "6,", {6}},     // every 3 goes
        {"3,6", 6, true, "3,6,6", {3, 6}},   // added before the unfinished tail
        {"", 0, true, "0,", {0}},           {"2,3,", 8, true, "2,3,8,", {2, 3, 8}},
    };
    for (const BoxCase& c : boxCases) {
        other.Editor.BirthStr = c.text;
        SyncBirthSurvivalBoxes(other);
        EXPECT_EQ(other.Editor.B[c.digit], !c.tick) << c.text;
        EXPECT_FALSE(other.Editor.B[1]) << c.text;  // no sum 1 anywhere
        other.Editor.B[c.digit] = c.tick;
        BirthBoxesChanged(other);
        EXPECT_EQ(other.Editor.BirthStr, c.after);
        EXPECT_EQ(other.Rules[0].BirthList, c.sums) << c.text;
    }
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
    // Showing a rule never changes it: NW 4 and SE 1 stay as they are.
    world.Rules[0].Weights[PositionIndex(-1, -1)] = 4;
    world.Rules[0].Weights[PositionIndex(1, 1)] = 1;
    RefreshRuleEditor(world, 0);
    EXPECT_EQ(world.Rules[0].Weight(-1, -1), 4);
    EXPECT_EQ(world.Rules[0].Weight(1, 1), 1);
    EXPECT_EQ(world.Editor.WeightBoxes[PositionIndex(-1, -1)], 4);
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

TEST_F(RuleEditor, TypedRulesReadInTheirNotationOrChangeNothing) {
    struct Case {
        const char* text;
        const char* family;  // empty: refused
        const char* rule;    // the rule string afterwards (refused: unchanged)
    };
    const std::string life = "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,RS2,RS3,";
    const Case cases[] = {
        {" NW2,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,RS2, ", "Zentorix",
         "NW2,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,RS2,"},
        {"B36/S23", "OldLife", "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,RB6,RS2,RS3,"},
        {"23/3", "OldLife", life.c_str()},
        {"b3s23", "OldLife", life.c_str()},
        {"B2/SV", "OldLife", "NW0,NN1,NE0,WW1,ME0,EE1,SW0,SS1,SE0,HI0,EX0,RB2,"},
        {"345/2/4", "Generations", "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI4,EX0,RB2,RS3,RS4,RS5,"},
        {"B2/S345/C4", "Generations",
         "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI4,EX0,RB2,RS3,RS4,RS5,"},
        {"345/2/0", "Generations", "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB2,RS3,RS4,RS5,"},
        {"hello", "", life.c_str()},
        {"46789", "", life.c_str()},
        {"B9/S23", "", life.c_str()},        // no cell has nine Moore neighbours
        {"345/2/x", "", life.c_str()},       // a state count that is no number
        {"NW2,NNx,RB1,", "", life.c_str()},  // a bad token changes not even NW
    };
    for (const Case& c : cases) {
        World w;
        const TypedRuleResult result = ApplyTypedRule(w, c.text);
        EXPECT_EQ(result.family, c.family) << c.text;
        EXPECT_EQ(result.problem.empty(), *c.family != 0) << c.text;
        EXPECT_EQ(RuleToString(w, 0, 0), c.rule) << c.text;
        EXPECT_EQ(w.Editor.InfoEdit, c.rule) << c.text;  // the editor shows it
        if (!*c.family) {
            EXPECT_NE(result.problem.find("B3/S23"), std::string::npos) << result.problem;
        }
    }
    // The edited rule set takes it; the others keep theirs.
    SelectEditedRuleSet(world, 2);
    const RuleSet main = world.Rules[0];
    EXPECT_EQ(ApplyTypedRule(world, "B1/S1").family, "OldLife");
    EXPECT_EQ(world.Rules[2].BirthList, (Sums{1}));
    EXPECT_EQ(world.Rules[0], main);
}

using Lists = std::pair<Sums, Sums>;

// A rule set's birth and survival lists, to compare both at once.
Lists ListsOf(const RuleSet& r) {
    return {r.BirthList, r.SurvivalList};
}

struct RuleText : ::testing::Test {
    World world;
    RuleSet& r = world.Rules[0];
};

TEST_F(RuleText, CanonicalTextOfStartUpRulesAndOfTokensInAnyOrder) {
    EXPECT_EQ(RuleToString(world, 0, 0),
              "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,RS2,RS3,");
    EXPECT_EQ(RuleToString(world, 0, 1), "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI3,EX0,RB2,");
    EXPECT_EQ(RuleToString(world, 0, 2), RuleToString(world, 0, 0));
    // The start-up weights were all 1 before the texts were read; the outer ring keeps them.
    EXPECT_EQ(r.Weight(2, 2), 1);
    EXPECT_EQ(RuleToString(world, 1, 0), "#R S23/B3");

    // Tokens come in any order, repeat, and leave what they do not mention.
    ParseRuleString(world, "RB1,NW-12,RB1,HI5,XYZ,NW7,2S2E4,", "Zentorix", 0);
    // The last NW wins; outer weights are written only with the 5x5 neighbourhood on.
    EXPECT_EQ(RuleToString(world, 0, 0), "NW7,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI5,EX0,RB1,RB1,");
    ParseRuleString(world, "EX3", "WLife", 0);
    EXPECT_EQ(r.ExtendedValue, 3);
    EXPECT_EQ(RuleToString(world, 0, 0),
              "NW7,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,2N2W1,2N1W1,1N2W1,2N2N1,2N2E1,2N1E1,1N2E1,"
              "2W2W1,2E2E1,2S2W1,2S1W1,1S2W1,2S2S1,2S2E4,2S1E1,1S2E1,HI5,EX2,");
    // History 1 switches history off but the length is kept.
    ParseRuleString(world, "#R HI1", "Zentorix", 0);
    EXPECT_EQ(r.HistoryRange, 1);
    EXPECT_NE(RuleToString(world, 0, 0).find("HI0,"), std::string::npos);
}

// Each row is read in turn into rule set 1, which starts with history on. Rows give
// the lists, the history length (0 with history off), the weight of the cell itself
// and the sum of the eight neighbours' weights.
TEST_F(RuleText, FamiliesReadTheirOwnNotation) {
    const std::tuple<const char*, const char*, Lists, int, int, int> rows[] = {
        {"345/2/0", "Generations", {{2}, {3, 4, 5}}, 0, 0, 8},
        {"345/2/4", "Generations", {{2}, {3, 4, 5}}, 4, 0, 8},
        // "OldLife" (RLE rule lines): two parts are a rule without history, three
        // parts survival/birth/states; "V" and "H" name smaller neighbourhoods.
        {"23/3", "OldLife", {{3}, {2, 3}}, 0, 0, 8},
        {"x = 3, y = 3, rule = B3/S23", "OldLife", {{3}, {2, 3}}, 0, 0, 8},
        {"b3/s23:T100,100", "OldLife", {{3}, {2, 3}}, 0, 0, 8},
        {"345/2/4", "OldLife", {{2}, {3, 4, 5}}, 4, 0, 8},
        {"B2/S345/C6", "OldLife", {{2}, {3, 4, 5}}, 6, 0, 8},
        {"B2/S34V", "OldLife", {{2}, {3, 4}}, 0, 0, 4},
        {"B2/S/H", "OldLife", {{2}, {}}, 0, 0, 6},
        {"B36/S23", "OldLife", {{3, 6}, {2, 3}}, 0, 0, 8},
        {"B36S23", "OldLife", {{3, 6}, {2, 3}}, 0, 0, 8},
        {"B234", "OldLife", {{2, 3, 4}, {}}, 0, 0, 8},
        {"#R 23/3", "Life", {{3}, {2, 3}}, 0, 0, 8},
        {"#RULE 32/3", "Life", {{3}, {2, 3}}, 0, 0, 8},
        {"36", "Life", {{3, 6}, {}}, 0, 0, 8},  // no slash: every digit is a birth digit
        // Vote counts the cell itself; an unknown family empties the lists, nothing else.
        {"46789", "Vote", {{4, 6, 7, 8, 9}, {4, 6, 7, 8, 9}}, 0, 1, 8},
        {"2/3", "LLife", {}, 4, 1, 8},
    };
    const RuleSet& one = world.Rules[1];
    for (const auto& [text, family, lists, history, me, neighbours] : rows) {
        SCOPED_TRACE(text);
        ParseRuleString(world, text, family, 1);
        EXPECT_EQ(ListsOf(one), lists);
        EXPECT_EQ(one.History, history > 0);
        EXPECT_EQ(one.History ? one.HistoryRange : 0, history);
        EXPECT_EQ(one.Weight(0, 0), me);
        int sum = -one.Weight(0, 0);
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                sum += one.Weight(dx, dy);
        EXPECT_EQ(sum, neighbours);
        EXPECT_FALSE(one.Extended);
        if (std::string_view(family) == "OldLife") {
            EXPECT_TRUE(ReadOldLifeRule(text));
        }
        ParseRuleString(world, "#R HI4", "Zentorix", 1);
    }
    // Rules of other programs the engine cannot run, or that are not rules at all.
    for (const char* text : {"B2-a/S12", "LifeHistory", "B3/S23/C300", "B9/S23", "B5/S34V", "B3/23",
                             "B3/S2/S3", "", "3"})
        EXPECT_FALSE(ReadOldLifeRule(text)) << text;
}

TEST_F(RuleText, MalformedValuesFailWithTheMessageAndKeepWhatWasRead) {
    try {
        ParseRuleString(world, "NW5,RB7,NW12x4,RB9,", "Zentorix", 0);
        FAIL() << "no error";
    } catch (const FormatError& e) {
        EXPECT_STREQ(e.what(), "'12x4' is not a valid integer value");
    }
    EXPECT_EQ(r.Weight(-1, -1), 5);
    EXPECT_EQ(r.BirthList, (Sums{7}));  // the bad token added nothing
    // The editor still shows what the set holds.
    EXPECT_EQ(world.Editor.BirthStr, "7,");
    EXPECT_THROW(ParseRuleString(world, "RB", "Zentorix", 0), FormatError);
    EXPECT_TRUE(r.BirthList.empty());
    EXPECT_THROW(ParseRuleString(world, "345/2/x", "Generations", 0), FormatError);
}

TEST_F(RuleText, EveryValueTheWriterWritesReadsBackAndListsAreCapped) {
    r.Extended = true;
    r.ExtendedValue = 2;
    for (int i = 0; i < kPositionCount; ++i)
        r.Weights[i] = (i % 2 ? -1 : 1) * (i * 89'000'000 + 7);
    r.Weights[0] = INT32_MIN;
    r.History = true;
    r.HistoryRange = 300;
    r.BirthList = {-2048, -1000, INT32_MAX};
    r.SurvivalList = {0, 12345678};
    const RuleSet saved = r;
    ParseRuleString(world, RuleToString(world, 0, 0), "Zentorix", 2);
    EXPECT_EQ(world.Rules[2], saved);

    std::string text;
    for (int i = 0; i < 1500; ++i)
        text += "RB" + std::to_string(i) + ",RS" + std::to_string(-i) + ",";
    ParseRuleString(world, text, "Zentorix", 0);
    ASSERT_EQ(r.BirthCount(), kMaxListEntries);
    EXPECT_EQ(r.BirthList.back(), 1022);
    EXPECT_EQ(r.SurvivalCount(), kMaxListEntries);
}

}  // namespace
}  // namespace zentorix
