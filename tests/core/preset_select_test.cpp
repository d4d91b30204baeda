#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/temp_folder.h"
#include "engine/rule_text.h"
#include "formats/rules_list.h"
#include "model/world.h"
#include "rules/preset_catalogue.h"
#include "rules/rule_editor.h"

namespace zentorix {
namespace {

using List = std::vector<std::int32_t>;

struct Presets : ::testing::Test {
    World world;
    test::TempFolder rules;
};

TEST_F(Presets, PresetReplacesListsAndHistoryButKeepsTheOuterRing) {
    RuleSet& rules = world.Rules[0];
    SetExtRegion(world, true);
    rules.Weights[PositionIndex(-2, -2)] = 7;
    rules.Weights[PositionIndex(2, 1)] = -3;
    const auto outer = rules.Weights;

    // The 5x5 neighbourhood goes off, so the text shows the row exactly.
    ApplyBuiltInPreset(world, "Brian`s Brain");
    EXPECT_EQ(RuleToString(world, 0, 0), "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI3,EX0,RB2,");

    ApplyBuiltInPreset(world, "Gnarl");
    EXPECT_FALSE(rules.History);
    for (int pos = 0; pos < kPositionCount; ++pos)
        if (!IsInnerRing(pos)) {
            EXPECT_EQ(rules.Weights[pos], outer[pos]) << pos;
        }
    // Switching the 5x5 neighbourhood back on brings the old outer weights back.
    SetExtRegion(world, true);
    const std::string& shown = world.Editor.InfoEdit;
    EXPECT_TRUE(shown.find("2N2W7,") != shown.npos && shown.find("1S2E-3,") != shown.npos) << shown;
}

TEST_F(Presets, ListPositionsTextsAndChoosingABuiltInEntry) {
    const std::vector<std::string> files = {"Gnarl", "mine"};
    EXPECT_EQ(RulesListCount(files), 149);
    EXPECT_EQ(RulesListEntry(147, files), "Gnarl");
    EXPECT_TRUE(!RulesListEntry(149, files) && !RulesListEntry(-1, files));
    // The tool-bar list picks the first entry of a name: the built-in one.
    EXPECT_EQ(std::tuple(RulesListPosition("Gnarl", files), RulesListPosition("mine", files),
                         RulesListPosition("nothing", files)),
              std::tuple(10, 148, std::nullopt));
    EXPECT_EQ((std::array{KeptListPosition(148, files), KeptListPosition(148, {"one"}),
                          KeptListPosition(3, {})}),
              (std::array{148, -1, 3}));

    // A save under a user's own name keeps it.
    EXPECT_EQ(RuleFileNameBesidePresets("mine", files), "mine");
    const RuleSet before = world.Rules[0];
    SelectRulesListEntry(world, rules.Path(), 147, {});  // past the end
    EXPECT_EQ(world.Rules[0], before);
}

TEST_F(Presets, ListChoosingARuleFileEntryAndTheListOfFiles) {
    rules.Write("Gnarl.rul",
                "File of rules for Zentorix\r\nName      - Gnarl\r\n"
                "#R0 NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB2,RS7,\r\n#D from a file\r\n");
    const auto files = RefreshRuleFileList(rules.Path());
    ASSERT_EQ(files, std::vector<std::string>{"Gnarl"});

    SelectEditedRuleSet(world, 2);
    world.Editor.RulesDescription = {"left over"};
    SelectRulesListEntry(world, rules.Path(), 147, files);
    // A rule file always goes into the main rule set.
    EXPECT_EQ(std::tuple(world.Rules[0].SurvivalList, world.Rules[2].BirthList,
                         world.Editor.RulesComboBoxText, world.Editor.RulesDescription,
                         world.Editor.ClearRuleInfoOnChange),
              std::tuple(List{7}, List{3}, "Gnarl", std::vector<std::string>{"from a file"}, true));

    // The built-in entry of the same name still applies the table's row.
    SelectEditedRuleSet(world, 0);
    SelectRulesListEntry(world, rules.Path(), 10, files);
    EXPECT_EQ(world.Rules[0].SurvivalList, List{1});

    // A file that is gone changes no rule.
    std::filesystem::remove(rules.Path() / "Gnarl.rul");
    SelectRulesListEntry(world, rules.Path(), 147, files);
    EXPECT_EQ(world.Rules[0].BirthList, List{1});

    // Only the ".rul" files of the folder are listed, without the extension.
    for (const char* name : {"b.rul", "a.rul", "notes.txt", "x.rule", "old.rul.bak", ".rul",
                             "two.rul.rul", "my.rules list.rul"})
        rules.Write(name, "File of rules for Zentorix\r\n");
    std::filesystem::create_directory(rules.Path() / "folder.rul");
    EXPECT_EQ(RefreshRuleFileList(rules.Path()),
              (std::vector<std::string>{"a", "b", "my.rules list", "two.rul"}));
    EXPECT_TRUE(RefreshRuleFileList(rules.Path() / "missing").empty());
}

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
    EXPECT_EQ(std::pair(bytes, hash),
              std::pair(std::size_t{12833}, std::uint64_t{0x286f985ab02d1cfd}));
    for (int outside : {-1, BuiltInPresetCount})
        EXPECT_EQ(std::string(PresetName(outside)) + PresetRuleString(outside), "") << outside;
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
        EXPECT_EQ(std::pair(set.Extended, set.History), std::pair(false, set.HistoryRange >= 2));
        for (const auto* list : {&set.BirthList, &set.SurvivalList})
            EXPECT_EQ(std::adjacent_find(list->begin(), list->end(), std::greater_equal<>()),
                      list->end());
    }
    for (const char* other : {"Conway's Life", "conway`s life", ""})
        EXPECT_EQ(FindPreset(other), std::nullopt) << other;
}

}  // namespace
}  // namespace zentorix
