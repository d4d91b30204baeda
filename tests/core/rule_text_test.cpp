#include <gtest/gtest.h>

#include "engine/rule_text.h"
#include "formats/format_error.h"
#include "model/world.h"

namespace zentorix {
namespace {

using Sums = std::vector<std::int32_t>;

struct RuleText : ::testing::Test {
    World world;
};

TEST_F(RuleText, StartUpRulesAndTheirCanonicalText) {
    EXPECT_EQ(RuleToString(world, 0, 0),
              "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,RS2,RS3,");
    EXPECT_EQ(RuleToString(world, 0, 1), "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI3,EX0,RB2,");
    EXPECT_EQ(RuleToString(world, 0, 2), RuleToString(world, 0, 0));
    // The start-up weights were all 1 before the texts were read; the outer ring keeps them.
    EXPECT_EQ(world.Rules[0].Weight(2, 2), 1);
    EXPECT_EQ(RuleToString(world, 1, 0), "#R S23/B3");
}

TEST_F(RuleText, TokensInAnyOrderRepeatAndKeepWhatIsNotMentioned) {
    ParseRuleString(world, "RB1,NW-12,RB1,HI5,XYZ,NW7,2S2E4,", "Zentorix", 0);
    const RuleSet& r = world.Rules[0];
    EXPECT_EQ(r.Weight(-1, -1), 7);  // the last NW wins
    EXPECT_EQ(r.Weight(2, 2), 4);
    EXPECT_EQ(r.BirthList, (Sums{1, 1}));
    EXPECT_TRUE(r.SurvivalList.empty());
    EXPECT_TRUE(r.History);
    EXPECT_FALSE(r.Extended);  // no EX token: unchanged
    // Outer weights are written only with the extended neighbourhood on.
    EXPECT_EQ(RuleToString(world, 0, 0), "NW7,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI5,EX0,RB1,RB1,");
    ParseRuleString(world, "EX3", "WLife", 0);
    EXPECT_TRUE(world.Rules[0].Extended);
    EXPECT_EQ(world.Rules[0].ExtendedValue, 3);
    const std::string text = RuleToString(world, 0, 0);
    EXPECT_NE(text.find("2N2W1,2N1W1,1N2W1,2N2N1,2N2E1,2N1E1,1N2E1,2W2W1,2E2E1,2S2W1,2S1W1,"
                        "1S2W1,2S2S1,2S2E4,2S1E1,1S2E1,HI5,EX2,"),
              std::string::npos)
        << text;
}

TEST_F(RuleText, HistoryOneSwitchesOffButIsKept) {
    ParseRuleString(world, "#R HI1", "Zentorix", 0);
    EXPECT_FALSE(world.Rules[0].History);
    EXPECT_EQ(world.Rules[0].HistoryRange, 1);
    EXPECT_NE(RuleToString(world, 0, 0).find("HI0,"), std::string::npos);
}

TEST_F(RuleText, SlashFamilies) {
    ParseRuleString(world, "345/2/4", "Generations", 0);
    EXPECT_EQ(world.Rules[0].SurvivalList, (Sums{3, 4, 5}));
    EXPECT_EQ(world.Rules[0].BirthList, (Sums{2}));
    EXPECT_TRUE(world.Rules[0].History);
    EXPECT_EQ(world.Rules[0].HistoryRange, 4);
    ParseRuleString(world, "345/2/0", "Generations", 0);
    EXPECT_FALSE(world.Rules[0].History);

    for (auto [text, family] : {std::pair{"#R 23/3", "Life"},
                                {"23/3", "OldLife"},
                                {"x = 3, y = 3, rule = B3/S23", "OldLife"},
                                {"b3/s23:T100,100", "OldLife"},
                                {"#RULE 32/3", "Life"}}) {
        ParseRuleString(world, text, family, 1);
        EXPECT_EQ(world.Rules[1].BirthList, (Sums{3})) << text;
        EXPECT_EQ(world.Rules[1].SurvivalList, (Sums{2, 3})) << text;
        EXPECT_EQ(world.Rules[1].Weight(0, 0), 0);
        EXPECT_FALSE(world.Rules[1].Extended);
    }
    // "Life" switches history off; "OldLife" leaves it alone.
    EXPECT_TRUE(world.Rules[1].History == false);
    ParseRuleString(world, "HI4", "Zentorix", 2);
    ParseRuleString(world, "B36/S23", "OldLife", 2);
    EXPECT_TRUE(world.Rules[2].History);
    EXPECT_EQ(world.Rules[2].BirthList, (Sums{3, 6}));

    // Without a slash Life takes every digit as a birth digit.
    ParseRuleString(world, "36", "Life", 0);
    EXPECT_EQ(world.Rules[0].BirthList, (Sums{3, 6}));
    EXPECT_TRUE(world.Rules[0].SurvivalList.empty());
}

TEST_F(RuleText, VoteCountsTheCellItselfAndUnknownFamiliesEmptyTheLists) {
    ParseRuleString(world, "46789", "Vote", 0);
    EXPECT_EQ(world.Rules[0].BirthList, (Sums{4, 6, 7, 8, 9}));
    EXPECT_EQ(world.Rules[0].SurvivalList, (Sums{4, 6, 7, 8, 9}));
    EXPECT_EQ(world.Rules[0].Weight(0, 0), 1);
    ParseRuleString(world, "2/3", "LLife", 0);
    EXPECT_TRUE(world.Rules[0].BirthList.empty());
    EXPECT_TRUE(world.Rules[0].SurvivalList.empty());
    EXPECT_EQ(world.Rules[0].Weight(0, 0), 1);  // nothing else changed
}

TEST_F(RuleText, MalformedValuesFailWithTheMessageAndKeepWhatWasRead) {
    try {
        ParseRuleString(world, "NW5,RB7,NW12x4,RB9,", "Zentorix", 0);
        FAIL() << "no error";
    } catch (const FormatError& e) {
        EXPECT_STREQ(e.what(), "'12x4' is not a valid integer value");
    }
    EXPECT_EQ(world.Rules[0].Weight(-1, -1), 5);
    EXPECT_EQ(world.Rules[0].BirthList, (Sums{7}));  // the bad token added nothing
    // The editor still shows what the set holds.
    EXPECT_EQ(world.Editor.BirthStr, "7,");
    EXPECT_THROW(ParseRuleString(world, "RB", "Zentorix", 0), FormatError);
    EXPECT_TRUE(world.Rules[0].BirthList.empty());
    EXPECT_THROW(ParseRuleString(world, "345/2/x", "Generations", 0), FormatError);
}

TEST_F(RuleText, EveryValueTheWriterWritesReadsBack) {
    RuleSet& r = world.Rules[0];
    r.Extended = true;
    r.ExtendedValue = 2;
    for (int i = 0; i < kPositionCount; ++i)
        r.Weights[i] = (i % 2 ? -1 : 1) * (i * 89'000'000 + 7);
    r.Weights[0] = INT32_MIN;
    r.History = true;
    r.HistoryRange = 300;
    r.BirthList = {-2048, -1000, INT32_MAX};
    r.SurvivalList = {0, 12345678};
    const std::string text = RuleToString(world, 0, 0);
    const RuleSet saved = r;
    ParseRuleString(world, text, "Zentorix", 2);
    EXPECT_EQ(world.Rules[2], saved);
}

TEST_F(RuleText, ListsAreCappedAt1023Entries) {
    std::string text;
    for (int i = 0; i < 1500; ++i)
        text += "RB" + std::to_string(i) + ",RS" + std::to_string(-i) + ",";
    ParseRuleString(world, text, "Zentorix", 0);
    ASSERT_EQ(world.Rules[0].BirthCount(), kMaxListEntries);
    EXPECT_EQ(world.Rules[0].BirthList.back(), 1022);
    EXPECT_EQ(world.Rules[0].SurvivalCount(), kMaxListEntries);
}

}  // namespace
}  // namespace zentorix
