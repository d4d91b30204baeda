#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "core/temp_folder.h"
#include "engine/rule_text.h"
#include "formats/rules_list.h"
#include "i18n/language_file.h"
#include "i18n/rule_names.h"
#include "model/world.h"
#include "rules/preset_catalogue.h"
#include "rules/rule_editor.h"

namespace zentorix {
namespace {

constexpr const char* kConway = "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,RS2,RS3,";

struct LineCase {
    const char* line;
    const char* what;  // the caption, list item or text it must give
};

TEST(LanguageFile, KeyLinesGiveTheTextBetweenTheFirstColonAndTheFirstSemicolon) {
    const LineCase captions[] = {
        {"File1:Файл;", "File1=Файл"},
        {"File1:Файл", "File1="},         // no semicolon: empty
        {"Label8:a:b;c;", "Label8=a:b"},  // later colons belong to the value
        {"Panels[0]:Generation =;", "Panels[0]=Generation ="},
        {"RulesSelectorBox[1]:Other laws;", "RulesSelectorBox#1=Other laws"},
        {"RegionsSelectorBox[3]:von Neumann 5x5;", "ComboBox2#3=von Neumann 5x5"},
        {"Text[Файл \"%1\": помилка]:File \"%1\": error;",
         "Text Файл \"%1\": помилка=File \"%1\": error"},
        {"[Menu]", ""},
        {"Just words", ""},
        {"", ""},
    };
    for (const LineCase& c : captions) {
        LanguageTexts texts = DefaultLanguageTexts();
        const LanguageFileContent content = ReadLanguageText(c.line, texts);
        std::string got;
        for (const auto& [name, caption] : content.captions)
            got += name + "=" + caption;
        for (const auto& item : content.listItems)
            got += item.list + "#" + std::to_string(item.index) + "=" + item.text;
        for (const auto& [source, text] : content.texts)
            got += "Text " + source + "=" + text;
        EXPECT_EQ(got, c.what) << c.line;
        EXPECT_TRUE(content.error.empty()) << c.line;
    }
}

TEST(LanguageFile, FamiliesReplaceTheirTextsAndAnIndexOutsideChangesNothing) {
    LanguageTexts texts = DefaultLanguageTexts();
    texts.StatStr[4] = "Опис файлу:";
    const LanguageTexts defaults = texts;
    const LanguageFileContent content = ReadLanguageText(
        "line one\r\n#LN:EN;English\r\nStatStr[05]:Rules:;\r\nMainStr[01]:STOP;\r\n"
        "LandStr[00]:2;\r\nColorStr[02]:Colour by birth;\r\nDiagStr[01]:Overwrite?;\r\n"
        // Outside every family's range: no other family, no other text changes.
        "MainStr[02]:x;\r\nStatStr[27]:x;\r\nStatStr[00]:x;\r\nColorStr[00]:x;\r\nLandStr[99]:x;"
        "\r\n"
        "DiagStr[04]:x;\r\nRulesSelectorBox[12]:x;\r\n",
        texts);
    EXPECT_TRUE(content.hasCode);
    EXPECT_EQ(content.code, "EN");
    EXPECT_EQ(texts.MainStr[1], "STOP");
    EXPECT_EQ(texts.MainStr[0], defaults.MainStr[0]);
    EXPECT_EQ(texts.LandStr[0], "2");
    EXPECT_EQ(texts.ColorStr[2], "Colour by birth");
    EXPECT_EQ(texts.ColorStr[1], "Колір за віком");  // not named: the built-in caption stays
    EXPECT_EQ(texts.DiagStr[1], "Overwrite?");
    for (int i = 1; i <= 26; ++i)
        EXPECT_EQ(texts.StatStr[i], i == 5 ? std::string("Rules:") : defaults.StatStr[i]) << i;
    EXPECT_EQ(texts.LandStr[4], defaults.LandStr[4]);
    EXPECT_TRUE(content.listItems.empty());
    EXPECT_TRUE(content.error.empty());
}

TEST(LanguageFile, ANonNumericIndexStopsTheFileAndKeepsWhatCameBefore) {
    LanguageTexts texts = DefaultLanguageTexts();
    const LanguageFileContent content = ReadLanguageText(
        "File1:File;\nMainStr[00]:GO;\nStatStr[x5]:bad;\nMainStr[01]:HALT;\n"
        "Exit1:Exit;\n",
        texts);
    EXPECT_EQ(content.error, "'x5' is not a valid integer value");
    EXPECT_EQ(texts.MainStr[0], "GO");
    EXPECT_EQ(texts.MainStr[1], "СТОП");
    ASSERT_EQ(content.captions.size(), 1u);
    EXPECT_EQ(content.captions[0].first, "File1");
}

TEST(LanguageFile, TheListReadsCodeAndNameFromLineTwo) {
    test::TempFolder folder;
    folder.Write("english.lng", "anything\r\n#LN:EN;English\r\nFile1:File;\r\n");
    folder.Write("ukraine.lng", "\xEF\xBB\xBFtitle\n#LN:UA;Українська\n");
    folder.Write("short.lng", "one line only");
    folder.Write("notes.txt", "#LN:XX;not a language");
    const std::vector<LanguageRecord> list = RefreshLanguageList(folder.Path());
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].baseName, "english");
    EXPECT_EQ(list[0].code, "EN");
    EXPECT_EQ(list[0].displayName, "English");
    EXPECT_EQ(list[1].displayName, "");  // no line 2
    EXPECT_EQ(list[2].code, "UA");
    EXPECT_EQ(list[2].displayName, "Українська");
}

TEST(RuleNames, TheFirstEntryWhoseJoinedRuleLinesMatchIsShown) {
    const std::string file = std::string("[N1] no end line\n#R ") + kConway +
                             "\n#RE trailing\n#N never\n"
                             "[N2] split over lines\n#R NW1,NN1,NE1,WW1,ME0,\n#R EE1,SW1,SS1,SE1,"
                             "HI0,EX0,RB3,RS2,RS3,\n#RE\n#N Гра Конвея\n#H хаотичне\n#G Життя\n"
                             "#A Конвей\n#D Перший рядок.\n#D Другий рядок.\n"
                             "[N3] the same rule again\n#R " +
                             kConway + "\n#RE\n#N second\n#D never shown\n";
    const auto entry = FindRuleName(file, kConway);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->info,
              (std::array<std::string, 4>{"Гра Конвея", "хаотичне", "Життя", "Конвей"}));
    EXPECT_EQ(entry->description, (std::vector<std::string>{"Перший рядок.", "Другий рядок."}));
    EXPECT_FALSE(FindRuleName(file, "NW2,"));
}

TEST(RuleNames, RuleChangedNamesTheRuleInTheLanguageAndFallsBackToUkrainian) {
    test::TempFolder folder;
    folder.Write("ukraine-rules.rlg",
                 std::string("[N1]\r\n#R ") + kConway + "\r\n#RE\r\n#N Життя\r\n#D Класика.\r\n");
    folder.Write("english-rules.rlg",
                 std::string("[N1]\r\n#R ") + kConway + "\r\n#RE\r\n#N Life\r\n#D Classic.\r\n");
    std::string language = "english.lng";
    World world;
    world.Editor.LookUpRuleName = [&](World& w, const std::string& rule) {
        LookUpRuleName(w, folder.Path(), language, rule);
    };
    ApplyBuiltInPreset(world, "Conway`s Life");
    EXPECT_EQ(world.Editor.RulesComboBoxText, "Life");  // the entry's name, not the list's
    EXPECT_EQ(world.Editor.RulesDescription, std::vector<std::string>{"Classic."});

    language = "german.lng";  // no file of its own
    RuleChanged(world);
    EXPECT_EQ(world.Editor.RulesComboBoxText, "Життя");
    EXPECT_EQ(world.Editor.InfoMemo[0], "Життя");

    SetWeightBox(world, PositionIndex(0, -1), 2);  // no entry: name and description empty
    EXPECT_EQ(world.Editor.RulesComboBoxText, "");
    EXPECT_TRUE(world.Editor.RulesDescription.empty());
    EXPECT_EQ(world.Editor.InfoMemo[0], "");

    std::filesystem::remove(folder / "ukraine-rules.rlg");
    world.Editor.RulesComboBoxText = "kept";  // without any file nothing is touched
    LookUpRuleName(world, folder.Path(), "german.lng", kConway);
    EXPECT_EQ(world.Editor.RulesComboBoxText, "kept");
}

// The shipped files: every component key and family index in both languages,
// and an entry with a name for every built-in rule, its string as the program
// writes it.
// Every tr("...") text of the window's sources with the nearest other literal
// before it in its statement (the control it captions, when it is one).
// Comments and character literals are skipped, adjacent literals joined, and
// "\"" and "\n" read as the compiler reads them.
std::vector<std::array<std::string, 3>> WindowTexts(const std::filesystem::path& folder) {
    std::vector<std::array<std::string, 3>> found;  // text, name, where
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".cpp" && entry.path().extension() != ".h")
            continue;
        std::stringstream buffer;
        buffer << std::ifstream(entry.path(), std::ios::binary).rdbuf();
        const std::string s = buffer.str();
        std::string name, where;  // name: the statement's last plain literal
        bool inTr = false;
        for (std::size_t i = 0; i < s.size(); ++i) {
            if (s.compare(i, 2, "//") == 0)
                i = std::min(s.find('\n', i), s.size());
            else if (s.compare(i, 2, "/*") == 0)
                i = std::min(s.find("*/", i), s.size());
            else if (s[i] == '\'')
                i = std::min(s.find('\'', i + (s[i + 1] == '\\' ? 3 : 2)), s.size());
            else if (s[i] == ';')
                name.clear();
            else if (s.compare(i, 3, "tr(") == 0 &&
                     (i == 0 ||
                      !(std::isalnum(static_cast<unsigned char>(s[i - 1])) || s[i - 1] == '_'))) {
                inTr = true;
                where = entry.path().filename().string() + ":" +
                        std::to_string(
                            std::count(s.begin(), s.begin() + static_cast<long>(i), '\n') + 1);
                i = s.find_first_not_of(" \n", i + 3) - 1;
            } else if (s[i] == '"') {
                std::string text;
                for (; i < s.size() && s[i] == '"'; i = s.find_first_not_of(" \n", i + 1))
                    for (++i; s[i] != '"'; ++i)
                        text += s[i] == '\\' ? (s[++i] == 'n' ? '\n' : s[i]) : s[i];
                --i;
                if (inTr)
                    found.push_back({text, name, where});
                else
                    name = text;
            }
            if (s[i] != '(' && s[i] != ' ' && s[i] != '\n' && s[i] != '"')
                inTr = false;
        }
    }
    return found;
}

// Every text the window asks tr() for is in both languages: a "Text[...]"
// entry, or the caption of the component key or list family it stands for. A
// text a line cannot carry (a ";" or a line break) has to be split in the code.
TEST(ShippedLanguages, EveryWindowTextHasAnEntryInBothLanguages) {
    const std::filesystem::path data(ZENTORIX_SHIPPED_DATA);
    const auto texts = WindowTexts(data.parent_path() / "src" / "app");
    ASSERT_GT(texts.size(), 300u);
    for (const char* base : {"ukraine", "english"}) {
        SCOPED_TRACE(base);
        const auto file = ReadTextFile(data / "Language" / (std::string(base) + ".lng"));
        ASSERT_TRUE(file);
        LanguageTexts families = DefaultLanguageTexts();
        const LanguageFileContent content = ReadLanguageText(*file, families);
        std::map<std::string, std::string> entries(content.texts.begin(), content.texts.end());
        std::set<std::string> names;
        for (const auto& [name, caption] : content.captions)
            names.insert(name);
        for (const auto& item : content.listItems)
            names.insert(item.list);
        for (const auto& [text, name, where] : texts) {
            const auto entry = entries.find(text);
            if (entry != entries.end())
                EXPECT_FALSE(entry->second.empty()) << where << " " << text;
            else
                EXPECT_TRUE(names.count(name)) << where << " " << text;
        }
    }
}

TEST(ShippedLanguages, BothLanguagesAreCompleteAndNameEveryPreset) {
    const std::filesystem::path folder = std::filesystem::path(ZENTORIX_SHIPPED_DATA) / "Language";
    for (const char* base : {"ukraine", "english"}) {
        SCOPED_TRACE(base);
        const auto text = ReadTextFile(folder / (std::string(base) + ".lng"));
        ASSERT_TRUE(text);
        std::set<std::string> keys;
        ForEachTextLine(*text, [&](std::string_view line) {
            const std::size_t colon = line.find(':');
            if (colon != std::string_view::npos && line.find(';') != std::string_view::npos)
                keys.insert(std::string(line.substr(0, colon)));
        });
        for (std::string_view key : kComponentKeys)
            EXPECT_TRUE(keys.count(std::string(key))) << key;
        EXPECT_TRUE(keys.count("#LN") && keys.count("Panels[0]"));
        // Families with two-digit indexes, then lists with one-digit ones.
        const struct {
            const char* family;
            int from, to, digits;
        } families[] = {{"MainStr", 0, 1, 2},           {"LandStr", 0, 4, 2},
                        {"ColorStr", 1, 2, 2},          {"StatStr", 1, 26, 2},
                        {"DiagStr", 1, 1, 2},           {"CopyFromComboBox", 0, 3, 1},
                        {"CopyToComboBox", 0, 3, 1},    {"LoadFieldSelector", 0, 3, 1},
                        {"LoadRulesSelector", 0, 2, 1}, {"RulesSelectorBox", 0, 2, 1},
                        {"RegionsSelectorBox", 0, 6, 1}};
        for (const auto& f : families)
            for (int i = f.from; i <= f.to; ++i) {
                const std::string n = std::to_string(i);
                EXPECT_TRUE(keys.count(f.family + std::string("[") +
                                       std::string(f.digits - n.size(), '0') + n + "]"))
                    << f.family << i;
            }

        // The widths the statistics file's columns rely on.
        LanguageTexts texts = DefaultLanguageTexts();
        const LanguageFileContent content = ReadLanguageText(*text, texts);
        EXPECT_TRUE(content.error.empty());
        const std::pair<int, std::size_t> widths[] = {
            {2, 31}, {3, 31}, {4, 31}, {14, 55}, {19, 20}, {21, 20}, {22, 20}, {23, 20}, {24, 20}};
        for (const auto& [number, width] : widths) {
            std::size_t characters = 0;  // not bytes
            for (unsigned char c : texts.StatStr[number])
                characters += (c & 0xC0) != 0x80;
            EXPECT_EQ(characters, width) << number;
        }

        const auto rules = ReadTextFile(folder / (std::string(base) + "-rules.rlg"));
        ASSERT_TRUE(rules);
        for (int i = 0; i < BuiltInPresetCount; ++i) {
            World world;
            ApplyBuiltInPreset(world, PresetName(i));
            const auto entry = FindRuleName(*rules, RuleToString(world, 0, 0));
            ASSERT_TRUE(entry) << PresetName(i);
            EXPECT_FALSE(entry->info[0].empty()) << PresetName(i);
            EXPECT_FALSE(entry->description.empty()) << PresetName(i);
        }
    }
}

}  // namespace
}  // namespace zentorix
