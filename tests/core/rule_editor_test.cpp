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
                                                  {" 3,03,-0,2049,-2049,-2048,x,", {-2048}},
                                                  {"", {}}};
    for (const auto& [text, sums] : cases) {
        world.Editor.BirthStr = text;
        ParseBirthList(world);
        EXPECT_EQ(world.Rules[0].BirthList, sums) << text;
        EXPECT_EQ(world.Editor.BirthStr, text);  // the text stays as written
    }
}

// The rules page shows typing, the ranges, the swap, shapes and symmetry; these are
// the cases it cannot tell apart.
TEST_F(RuleEditor, DigitBoxesRangesShapesAndLimits) {
    // Box d stands for the sum d, when shown and when clicked.
    const std::tuple<const char*, int, bool, const char*, Sums> boxCases[] = {
        {"13,", 3, true, "13,3,", {3, 13}},  // "13," does not hold the sum 3
        {"9,6,9,", 9, false, "6,", {6}},     // every 9 goes
        {"3,6", 6, true, "3,6,6", {3, 6}},   // added before the unfinished tail
        {"", 0, true, "0,", {0}},           {"2,3,", 8, true, "2,3,8,", {2, 3, 8}},
    };
    for (const auto& [text, digit, tick, after, sums] : boxCases) {
        world.Editor.BirthStr = text;
        SyncBirthSurvivalBoxes(world);
        EXPECT_EQ(world.Editor.B[digit], !tick) << text;
        EXPECT_FALSE(world.Editor.B[1]) << text;  // no sum 1 anywhere
        world.Editor.B[digit] = tick;
        BirthBoxesChanged(world);
        EXPECT_EQ(std::pair(world.Editor.BirthStr, world.Rules[0].BirthList),
                  std::pair(std::string(after), sums));
    }
    world.Editor.S.fill(false);
    world.Editor.S[8] = true;
    SurvivalBoxesChanged(world);
    EXPECT_EQ(std::pair(world.Editor.SurvivalStr, world.Rules[0].SurvivalList),
              std::pair(std::string("8,"), Sums{8}));
    SetBirthRange(world, -5000, 5000);  // clamped to -2048..2048, list capped at 1023
    EXPECT_EQ(std::pair(world.Rules[0].BirthList.front(), world.Rules[0].BirthList.back()),
              std::pair(-2048, -1026));
    EXPECT_TRUE(world.Editor.BirthListCut && !world.Editor.B[0]);  // the sum 0 fell off the list

    // The blank shape entry changes nothing; the centre has no partner to mirror.
    SelectNeighbourhoodShape(world, 5);
    SelectNeighbourhoodShape(world, kNoShape);
    EXPECT_EQ(world.Editor.ShapeIndex, 5);
    EXPECT_EQ(std::pair(world.Rules[0].Weight(-1, -2), world.Rules[0].Weight(-1, -1)),
              std::pair(1, 0));
    world.Editor.SymmetricRegion = true;
    SetWeightBox(world, PositionIndex(0, 0), 9);
    EXPECT_EQ(world.Rules[0].Weight(0, 0), 9);
    // The up-downs offer -256..256 to the user; rule text may hold more and is kept.
    SetWeightBox(world, PositionIndex(0, -1), 1000);
    EXPECT_EQ(std::pair(world.Rules[0].Weight(0, -1), world.Rules[0].Weight(0, 1)),
              std::pair(256, 256));
    ParseRuleString(world, "NN9999,", "Zentorix", 0);
    EXPECT_EQ(world.Editor.WeightBoxes[PositionIndex(0, -1)], 9999);
    SetHistoryOn(world, true);
    SetHistoryRangeBox(world, 400);
    SetDelayValue(world, 5);
    EXPECT_EQ(std::pair(world.Rules[0].HistoryRange, world.Rules[0].DelayValue),
              std::pair(256, -1));
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
    EXPECT_EQ(std::pair(r.Weight(2, 2), RuleToString(world, 1, 0)),
              std::pair(1, std::string("#R S23/B3")));

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

// Each row is read into rule set 1 of a fresh world (start-up "HI3,RB2,"), the edited
// one: typed (the family found, or refused with a hint and nothing changed) or in the
// named family's notation. Rule set 0 never changes.
TEST_F(RuleText, FamiliesReadTheirOwnNotationTypedOrNamed) {
    const std::string n8 = "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,", brain = n8 + "HI3,EX0,RB2,";
    const std::string life = n8 + "HI0,EX0,RB3,RS2,RS3,", b2s345 = n8 + "HI0,EX0,RB2,RS3,RS4,RS5,";
    const std::string c4 = n8 + "HI4,EX0,RB2,RS3,RS4,RS5,", c6 = n8 + "HI6,EX0,RB2,RS3,RS4,RS5,";
    const std::tuple<bool, const char*, const char*, std::string> rows[] = {
        {true, " NW2,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,RS2, ", "Zentorix",
         "NW2,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,RS2,"},
        {true, "B36/S23", "OldLife", n8 + "HI0,EX0,RB3,RB6,RS2,RS3,"},
        {true, "23/3", "OldLife", life},
        {true, "b3s23", "OldLife", life},
        {true, "B2/SV", "OldLife", "NW0,NN1,NE0,WW1,ME0,EE1,SW0,SS1,SE0,HI0,EX0,RB2,"},
        {true, "345/2/4", "Generations", c4},
        {true, "B2/S345/C4", "Generations", c4},
        {true, "345/2/0", "Generations", b2s345},
        {true, "hello", "", brain},
        {true, "46789", "", brain},
        {true, "B9/S23", "", brain},        // no cell has nine Moore neighbours
        {true, "345/2/x", "", brain},       // a state count that is no number
        {true, "NW2,NNx,RB1,", "", brain},  // a bad token changes not even NW
        // "OldLife" (RLE rule lines): two parts are a rule without history, three
        // parts survival/birth/states; "V" and "H" name smaller neighbourhoods.
        {false, "x = 3, y = 3, rule = B3/S23", "OldLife", life},
        {false, "b3/s23:T100,100", "OldLife", life},
        {false, "345/2/4", "OldLife", c4},
        {false, "B2/S345/C6", "OldLife", c6},
        {false, "B2/S34V", "OldLife", "NW0,NN1,NE0,WW1,ME0,EE1,SW0,SS1,SE0,HI0,EX0,RB2,RS3,RS4,"},
        {false, "B2/S/H", "OldLife", "NW1,NN1,NE0,WW1,ME0,EE1,SW0,SS1,SE1,HI0,EX0,RB2,"},
        {false, "B36S23", "OldLife", n8 + "HI0,EX0,RB3,RB6,RS2,RS3,"},
        {false, "B234", "OldLife", n8 + "HI0,EX0,RB2,RB3,RB4,"},
        {false, "#R 23/3", "Life", life},
        {false, "#RULE 32/3", "Life", life},
        {false, "36", "Life", n8 + "HI0,EX0,RB3,RB6,"},  // no slash: every digit is a birth digit
        // Vote counts the cell itself; an unknown family empties the lists, nothing else.
        {false, "46789", "Vote",
         "NW1,NN1,NE1,WW1,ME1,EE1,SW1,SS1,SE1,HI0,EX0,RB4,RB6,RB7,RB8,RB9,RS4,RS6,RS7,RS8,RS9,"},
        {false, "2/3", "LLife", n8 + "HI3,EX0,"},
    };
    for (const auto& [typed, text, family, rule] : rows) {
        SCOPED_TRACE(text);
        World w;
        SelectEditedRuleSet(w, 1);
        if (typed) {
            const TypedRuleResult result = ApplyTypedRule(w, text);
            EXPECT_EQ(result.family, family);
            EXPECT_EQ(result.problem.find("B3/S23") != std::string::npos, !*family)
                << result.problem;
            EXPECT_EQ(w.Editor.InfoEdit, rule);  // the editor shows it
        } else {
            ParseRuleString(w, text, family, 1);
        }
        EXPECT_EQ(std::pair(RuleToString(w, 0, 1), RuleToString(w, 0, 0)), std::pair(rule, life));
        EXPECT_TRUE(std::string_view(family) != "OldLife" || ReadOldLifeRule(text));
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
    // The bad token added nothing; the editor still shows what the set holds.
    EXPECT_EQ(std::tuple(r.Weight(-1, -1), r.BirthList, world.Editor.BirthStr),
              std::tuple(5, Sums{7}, "7,"));
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
    r.SurvivalList = {-5, 0, 12345678};
    const RuleSet saved = r;
    ParseRuleString(world, RuleToString(world, 0, 0), "Zentorix", 2);
    EXPECT_EQ(world.Rules[2], saved);

    std::string text;
    for (int i = 0; i < 1500; ++i)
        text += "RB" + std::to_string(i) + ",RS" + std::to_string(-i) + ",";
    ParseRuleString(world, text, "Zentorix", 0);
    EXPECT_EQ(std::tuple(r.BirthCount(), r.BirthList.back(), r.SurvivalCount()),
              std::tuple(kMaxListEntries, 1022, kMaxListEntries));
}

}  // namespace
}  // namespace zentorix
