#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>

#include "engine/rule_text.h"
#include "model/world.h"
#include "rules/preset_catalogue.h"
#include "rules/rule_editor.h"

namespace zentorix {
namespace {

// A fingerprint of all 147 names and rule strings as the program has always
// shipped them: a slip in any entry shows here.
TEST(PresetCatalogue, WholeTableFingerprint) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    std::size_t bytes = 0;
    for (int i = 0; i < BuiltInPresetCount; ++i) {
        const std::string row = std::string(PresetName(i)) + "\n" + PresetRuleString(i) + "\n";
        bytes += row.size();
        for (unsigned char c : row)
            hash = (hash ^ c) * 0x100000001b3ULL;
    }
    EXPECT_EQ(bytes, 12833u);
    EXPECT_EQ(hash, 0x286f985ab02d1cfdULL);
    for (int outside : {-1, BuiltInPresetCount}) {
        EXPECT_EQ(PresetName(outside), "");
        EXPECT_EQ(PresetRuleString(outside), "");
    }
}

// Every entry is found by its exact name only (so names are unique) and reads back
// to the very text it is stored as, with ascending lists, history only from "HI" 2
// and up, and the 5x5 neighbourhood off.
TEST(PresetCatalogue, EveryEntryIsFoundByNameAndItsRuleStringIsCanonical) {
    World world;
    for (int i = 0; i < BuiltInPresetCount; ++i) {
        SCOPED_TRACE(std::string(PresetName(i)));
        EXPECT_EQ(FindPreset(PresetName(i)), i);
        const std::string rule = PresetRuleString(i);
        ParseRuleString(world, rule, "Zentorix", 0);
        EXPECT_EQ(RuleToString(world, 0, 0), rule);
        const RuleSet& set = world.Rules[0];
        EXPECT_FALSE(set.Extended);
        EXPECT_EQ(set.History, set.HistoryRange >= 2);
        for (const auto* list : {&set.BirthList, &set.SurvivalList})
            EXPECT_EQ(std::adjacent_find(list->begin(), list->end(), std::greater_equal<>()),
                      list->end());
    }
    EXPECT_EQ(FindPreset("Conway's Life"), std::nullopt);
    EXPECT_EQ(FindPreset("conway`s life"), std::nullopt);
    EXPECT_EQ(FindPreset(""), std::nullopt);
}

}  // namespace
}  // namespace zentorix
