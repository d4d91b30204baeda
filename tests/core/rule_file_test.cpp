#include "formats/rule_file.h"
#include "core/format_test_support.h"
#include "formats/rules_list.h"
#include "i18n/rule_names.h"
#include "rules/preset_catalogue.h"

namespace zentorix {
namespace {

using namespace test;
constexpr const char* kConway = "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,RS2,RS3,";

// A world and a folder for its rule files.
struct RuleFile : ::testing::Test {
    World world;
    TempFolder rules;
};

TEST_F(RuleFile, SavesTheFixedLayout) {
    ParseRuleString(world, kConway, "Zentorix", 0);
    world.Editor.InfoMemo = {"ignored", "chaotic", "Life", "J. H. Conway"};
    world.Editor.RulesDescription = {"The classic.", "", "Born with 3."};
    SaveRuleFile(world, rules.Path(), "Conway`s Life");
    EXPECT_TRUE(RuleFileExists(rules.Path(), "Conway`s Life"));
    EXPECT_EQ(TempFolder::Read(rules.Path() / "Conway`s Life.rul"),
              "File of rules for Zentorix\r\n"
              "Name      - Conway`s Life\r\n"
              "Character - chaotic\r\n"
              "CA Family - Life\r\n"
              "Author    - J. H. Conway\r\n"
              "#R0 NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,RS2,RS3,\r\n"
              "#D The classic.\r\n"
              "#D \r\n"
              "#D Born with 3.\r\n");
    EXPECT_FALSE(std::filesystem::exists(rules.Path() / "Conway`s Life.rul.tmp"));

    // The rule written is the edited rule set's.
    SelectEditedRuleSet(world, 1);
    SaveRuleFile(world, rules.Path(), "other");
    EXPECT_EQ(FileLines(rules.Path() / "other.rul").at(5), "#R0 " + RuleToString(world, 0, 1));
}

// The rule goes into "#R0 " lines of 77 characters (one that ends exactly at a
// cut is followed by an empty piece), which the reader joins again.
TEST_F(RuleFile, RoundTripKeepsRuleInformationAndDescriptionSafely) {
    std::string rule = "NW-1,NN2,NE3,WW4,ME-5,EE6,SW7,SS8,SE9,HI12,EX0,RB-4,RB0,RS17,";
    for (int sum = 10; sum < 28; ++sum)
        rule += "RB" + std::to_string(sum * (sum < 25 ? 1 : 4)) + ",";
    ParseRuleString(world, rule, "Zentorix", 0);
    ASSERT_EQ(RuleToString(world, 0, 0).size(), 154u);
    // A line break in an information line would start a rule line of its own.
    world.Editor.InfoMemo = {"Вихор", "odd\r\n#R0 RB9,", "Зважене життя", "Петро Іваненко"};
    world.Editor.RulesDescription = {"Перший рядок", "one\ntwo", "  indented, with #R0 inside", ""};
    SaveRuleFile(world, rules.Path(), "Вихор");

    EXPECT_EQ(LineSizes(FileLines(rules.Path() / "Вихор.rul"), "#R0 "), (Sizes{81, 81, 4}));

    World loaded;
    LoadRuleFile(loaded, rules.Path(), "Вихор");
    EXPECT_EQ(loaded.Rules[0], world.Rules[0]);
    EXPECT_EQ(
        loaded.Editor.InfoMemo,
        (std::array<std::string, 4>{"Вихор", "odd  #R0 RB9,", "Зважене життя", "Петро Іваненко"}));
    EXPECT_EQ(loaded.Editor.RulesDescription,
              (Lines{"Перший рядок", "one", "two", "  indented, with #R0 inside", ""}));
}

TEST_F(RuleFile, ReadsShortHeadsSplitRulesAndValuesFromCharacterThirteen) {
    ApplyRuleFileText(world,
                      "File of rules for Zentorix\n"
                      "#R NW2,NN1,NE1,WW1,ME0,EE1,SW1,\n"
                      " #R RB8,\n"  // not at the line start: ignored
                      "#R SS1,SE1,HI4,EX0,RB3,RB6,\n"
                      "#R0 RS2,\n"
                      "Character - spiky\n");
    EXPECT_EQ(RuleToString(world, 0, 0),
              "NW2,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI4,EX0,RB3,RB6,RS2,");
    EXPECT_EQ(world.Editor.InfoMemo[1], "spiky");
    // Windows-1251: "Author    - Петро".
    ApplyRuleFileText(world, "Author    - \xCF\xE5\xF2\xF0\xEE\r\n");
    EXPECT_EQ(world.Editor.InfoMemo[3], "Петро");
    // A head of other width: the value is still cut at the 13th letter, never
    // inside a letter.
    for (const auto& [line, name] : {std::pair("Name:   — ∑ Життя\n", "Життя"), {"Name\n", ""}}) {
        ApplyRuleFileText(world, line);
        EXPECT_EQ(world.Editor.InfoMemo[0], name);
    }
}

TEST_F(RuleFile, BadMissingOrRulelessFilesKeepWhatWasReadAndRestoreTheEditor) {
    rules.Write("bad.rul",
                "Name      - Broken\r\n#R0 NW3,HI0,EX0,RB3,RSx1,RS5,\r\n#D after the rule\r\n");
    EXPECT_EQ(ErrorOf([&] { LoadRuleFile(world, rules.Path(), "bad"); }),
              "'x1' is not a valid integer value");
    // What was read before the bad token stays.
    EXPECT_EQ(std::tuple(RuleToString(world, 0, 0), world.Editor.InfoMemo[0]),
              std::tuple("NW3,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,", "Broken"));
    // Rule information is cleared by rule changes again.
    ASSERT_TRUE(world.Editor.ClearRuleInfoOnChange);
    SetHistoryOn(world, true);
    EXPECT_EQ(world.Editor.InfoMemo[0], "");

    ParseRuleString(world, kConway, "Zentorix", 0);
    const RuleSet before = world.Rules[0];
    world.Editor.InfoMemo = {"name", "character", "family", "author"};

    LoadRuleFile(world, rules.Path(), "absent");
    EXPECT_EQ(world.Rules[0], before);
    EXPECT_EQ(world.Editor.InfoMemo,
              (std::array<std::string, 4>{"name", "character", "family", ""}));
    EXPECT_TRUE(world.Editor.ClearRuleInfoOnChange);

    rules.Write("words.rul",
                "File of rules for Zentorix\r\nName      - Words\r\n#D only words\r\n");
    LoadRuleFile(world, rules.Path(), "words.rul");
    EXPECT_EQ(world.Rules[0], before);
    EXPECT_EQ(std::tuple(world.Editor.InfoMemo[0], world.Editor.RulesDescription),
              std::tuple("Words", Lines{"only words"}));
}

TEST_F(RuleFile, NamesMayHoldTheExtensionAndStayInTheFolder) {
    // A name the list shows loads its own file, also when ".rul" is part of it.
    const Lines names = {"two.rul", "my.rules list"};
    for (const std::string& name : names) {
        world.Rules[0].BirthList = {static_cast<std::int32_t>(name.size())};
        SaveRuleFile(world, rules.Path(), name);
    }
    for (const std::string& name : names) {
        World loaded;
        LoadRuleFile(loaded, rules.Path(), name);
        EXPECT_EQ(loaded.Rules[0].BirthList, Sums{static_cast<std::int32_t>(name.size())});
    }

    // A name cannot reach outside the folder or be empty.
    for (const char* name : {"../escape", "a\\b", ""})
        EXPECT_THROW(SaveRuleFile(world, rules.Path(), name), FileError) << name;
    EXPECT_FALSE(std::filesystem::exists(rules.Path().parent_path() / "escape.rul"));
}

// A rule file whose rule is the preset "2x2"'s, read with the shipped rule-name
// files: the author's own lines stay, the look-up fills only what the file
// leaves empty, and open + save gives the same bytes however often it is done.
TEST_F(RuleFile, OwnLinesSurviveTheShippedLookUpAndSavesAreStable) {
    const std::filesystem::path languages =
        std::filesystem::path(ZENTORIX_SHIPPED_DATA) / "Language";
    world.Editor.LookUpRuleName = [&](World& w, const std::string& rule) {
        LookUpRuleName(w, languages, "ukraine.lng", rule);
    };
    ApplyBuiltInPreset(world, "2x2");
    const std::array<std::string, 4> preset = world.Editor.InfoMemo;
    const Lines presetText = world.Editor.RulesDescription;
    ASSERT_EQ(preset, (std::array<std::string, 4>{"2x2", "хаотичне", "Життя", ""}));
    ASSERT_EQ(presetText.size(), 2u);
    const std::string rule = "#R0 " + RuleToString(world, 0, 0) + "\r\n";
    const std::string head =
        "File of rules for Zentorix\r\nName      - myblocks\r\n"
        "Character - свій характер\r\n";
    // The file, the file as saved, and the description shown.
    const std::tuple<std::string, std::string, Lines> cases[] = {
        // Family and description of its own: saved exactly as written.
        {head + "CA Family - блоки\r\nAuthor    - Jane Doe\r\n" + rule + "#D мій опис\r\n",
         head + "CA Family - блоки\r\nAuthor    - Jane Doe\r\n" + rule + "#D мій опис\r\n",
         {"мій опис"}},
        // Neither: the look-up's family and description are added once.
        {head + "Author    - Jane Doe\r\n" + rule,
         head + "CA Family - Життя\r\nAuthor    - Jane Doe\r\n" + rule + "#D " + presetText[0] +
             "\r\n#D " + presetText[1] + "\r\n",
         presetText},
    };
    for (const auto& [file, saved, description] : cases) {
        SCOPED_TRACE(saved);
        rules.Write("myblocks.rul", file);
        for (int round = 0; round < 3; ++round) {
            SelectRulesListEntry(world, rules.Path(), BuiltInPresetCount, {"myblocks"});
            const RuleEditorState& e = world.Editor;
            EXPECT_EQ(std::tuple(e.InfoMemo[0], e.InfoMemo[1], e.InfoMemo[3], e.RulesDescription),
                      std::tuple("myblocks", "свій характер", "Jane Doe", description));
            SaveRuleFile(world, rules.Path(), RuleFileSaveName(world.Editor, 0));
            EXPECT_EQ(TempFolder::Read(rules.Path() / "myblocks.rul"), saved);
        }
        EXPECT_FALSE(std::filesystem::exists(rules.Path() / "2x2.rul"));
    }
    // Choosing the preset itself again shows the entry, with no author.
    SelectRulesListEntry(world, rules.Path(), *RulesListPosition("2x2", {}), {"myblocks"});
    EXPECT_EQ(std::tuple(world.Editor.InfoMemo, world.Editor.RulesDescription),
              std::tuple(preset, presetText));
}

}  // namespace
}  // namespace zentorix
