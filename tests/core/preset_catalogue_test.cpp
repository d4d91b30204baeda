#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>

#include "engine/rule_text.h"
#include "model/world.h"
#include "rules/preset_catalogue.h"

namespace zentorix {
namespace {

constexpr const char* kInnerStd = "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,";

TEST(PresetCatalogue, EntriesSitAtTheirListPositions) {
    EXPECT_EQ(BuiltInPresetCount, 147);
    EXPECT_EQ(PresetName(0), "2x2");
    EXPECT_EQ(PresetName(5), "Conway`s Life");
    EXPECT_EQ(PresetName(10), "Gnarl");
    EXPECT_EQ(PresetName(142), "Gnarl (LTL)");
    EXPECT_EQ(PresetName(146), "Waffle");
    EXPECT_EQ(PresetName(147), "");
    EXPECT_EQ(PresetName(-1), "");
    EXPECT_EQ(PresetRuleString(147), "");
}

TEST(PresetCatalogue, NamesAreFoundExactly) {
    EXPECT_EQ(FindPreset("Conway`s Life"), 5);
    EXPECT_EQ(FindPreset("Conway's Life"), std::nullopt);
    EXPECT_EQ(FindPreset("conway`s life"), std::nullopt);
    EXPECT_EQ(FindPreset("Gnarl"), 10);
    EXPECT_EQ(FindPreset("Gnarl (LTL)"), 142);
    EXPECT_EQ(FindPreset("Day & Night"), 7);
    EXPECT_EQ(FindPreset("Ebb&Flow"), 36);
    EXPECT_EQ(FindPreset(""), std::nullopt);

    std::set<std::string_view> names;
    for (int i = 0; i < BuiltInPresetCount; ++i) {
        EXPECT_TRUE(names.insert(PresetName(i)).second) << "duplicate " << PresetName(i);
        EXPECT_EQ(FindPreset(PresetName(i)), i);
    }
}

TEST(PresetCatalogue, RuleStringsFollowTheTable) {
    EXPECT_EQ(PresetRuleString(0), std::string(kInnerStd) + "HI0,EX0,RB3,RB6,RS1,RS2,RS5,");
    EXPECT_EQ(PresetRuleString(5), "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,RS2,RS3,");
    EXPECT_EQ(PresetRuleString(10), std::string(kInnerStd) + "HI0,EX0,RB1,RS1,");
    EXPECT_EQ(PresetRuleString(142), std::string(kInnerStd) + "HI0,EX0,RB0,RB1,");
    EXPECT_EQ(PresetRuleString(146), std::string(kInnerStd) + "HI0,EX0,RB0,RB1,RB2,RB5,RB7,");
    // Seeds: survival is empty.
    EXPECT_EQ(PresetRuleString(19), std::string(kInnerStd) + "HI0,EX0,RB2,");
    // Negative weights and a weighted centre.
    EXPECT_EQ(PresetRuleString(99),
              "NW-1,NN-1,NE5,WW5,ME0,EE5,SW5,SS-1,SE-1,HI0,EX0,RB1,RB4,RB9,RS4,RS14,");
    EXPECT_EQ(PresetRuleString(132),
              "NW2,NN3,NE2,WW3,ME-5,EE3,SW2,SS3,SE2,HI3,EX0,RB4,RB5,RB8,RS3,RS4,RS7,");
    EXPECT_EQ(PresetRuleString(61), std::string(kInnerStd) + "HI48,EX0,RB3,RB4,RS1,RS2,RS3,RS4,");

    World world;
    ParseRuleString(world, PresetRuleString(*FindPreset("Hexrule b2o")), "Zentorix", 0);
    const RuleSet& hex = world.Rules[0];
    EXPECT_EQ(hex.SurvivalCount(), 41);
    EXPECT_EQ(hex.SurvivalList.front(), 5);
    EXPECT_EQ(hex.SurvivalList.back(), 60);
    EXPECT_EQ(hex.BirthList, (std::vector<std::int32_t>{3, 6, 12, 24, 33, 48}));
    EXPECT_EQ(hex.Weight(-1, 0), 32);
    EXPECT_EQ(hex.Weight(0, 1), 16);
    for (int i = 0; i < BuiltInPresetCount; ++i)
        ASSERT_LE(static_cast<int>(PresetRuleString(i).size()),
                  static_cast<int>(PresetRuleString(95).size()));
}

// Every entry reads back to the very text it is stored as, with ascending lists,
// history only from "HI" 2 and up, and the 5x5 neighbourhood off.
TEST(PresetCatalogue, EveryRuleStringIsCanonical) {
    World world;
    for (int i = 0; i < BuiltInPresetCount; ++i) {
        SCOPED_TRACE(std::string(PresetName(i)));
        const std::string rule = PresetRuleString(i);
        ParseRuleString(world, rule, "Zentorix", 0);
        EXPECT_EQ(RuleToString(world, 0, 0), rule);
        const RuleSet& set = world.Rules[0];
        EXPECT_FALSE(set.Extended);
        EXPECT_EQ(set.History, set.HistoryRange >= 2);
        EXPECT_TRUE(std::is_sorted(set.BirthList.begin(), set.BirthList.end()));
        EXPECT_TRUE(std::is_sorted(set.SurvivalList.begin(), set.SurvivalList.end()));
        EXPECT_EQ(std::adjacent_find(set.BirthList.begin(), set.BirthList.end()),
                  set.BirthList.end());
        EXPECT_EQ(std::adjacent_find(set.SurvivalList.begin(), set.SurvivalList.end()),
                  set.SurvivalList.end());
    }
}

// A fingerprint of all 147 names and rule strings as the program has always
// shipped them: a slip in any entry shows here.
TEST(PresetCatalogue, WholeTableFingerprint) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    std::size_t bytes = 0;
    for (int i = 0; i < BuiltInPresetCount; ++i) {
        const std::string row = std::string(PresetName(i)) + "\n" + PresetRuleString(i) + "\n";
        for (unsigned char c : row) {
            hash = (hash ^ c) * 0x100000001b3ULL;
            ++bytes;
        }
    }
    EXPECT_EQ(bytes, 12833u);
    EXPECT_EQ(hash, 0x286f985ab02d1cfdULL);
}

}  // namespace
}  // namespace zentorix
