#include <map>

#include "core/format_test_support.h"
#include "formats/rules_list.h"
#include "i18n/language_file.h"
#include "i18n/rule_names.h"
#include "rules/preset_catalogue.h"
#include "stats/stat_texts.h"

namespace zentorix {
namespace {

using namespace test;
namespace fs = std::filesystem;
constexpr const char* kConway = "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,RS2,RS3,";

// What a language text gives, as "name=caption", "list#index=item" and
// "Text source=text" in file order, then the error.
std::string Read(std::string_view text, LanguageTexts& texts) {
    const LanguageFileContent content = ReadLanguageText(text, texts);
    std::string got;
    for (const auto& [name, caption] : content.captions)
        got += name + "=" + caption + " ";
    for (const auto& item : content.listItems)
        got += item.list + "#" + std::to_string(item.index) + "=" + item.text + " ";
    for (const auto& [source, text] : content.texts)
        got += "Text " + source + "=" + text + " ";
    return got + (content.hasCode ? "code " + content.code + " " : "") + content.error;
}

TEST(LanguageFile, KeyLinesGiveTheTextBetweenTheFirstColonAndTheFirstSemicolon) {
    const std::pair<const char*, const char*> lines[] = {
        {"File1:Файл;", "File1=Файл "},
        {"File1:Файл", "File1= "},         // no semicolon: empty
        {"Label8:a:b;c;", "Label8=a:b "},  // later colons belong to the value
        {"Panels[0]:Generation =;", "Panels[0]=Generation = "},
        {"RulesSelectorBox[1]:Other laws;", "RulesSelectorBox#1=Other laws "},
        {"RegionsSelectorBox[3]:von Neumann 5x5;", "ComboBox2#3=von Neumann 5x5 "},
        {"Text[Файл \"%1\": помилка]:File \"%1\": error;",
         "Text Файл \"%1\": помилка=File \"%1\": error "},
        {"[Menu]", ""},
        {"Just words", ""},
        {"", ""},
        // A non-numeric index stops the file and keeps what came before.
        {"File1:File;\nStatStr[x5]:bad;\nExit1:Exit;\n",
         "File1=File 'x5' is not a valid integer value"},
    };
    for (const auto& [line, expected] : lines) {
        LanguageTexts texts = DefaultLanguageTexts();
        EXPECT_EQ(Read(line, texts), expected) << line;
    }
}

TEST(LanguageFile, FamiliesReplaceTheirTextsAndAnIndexOutsideChangesNothing) {
    LanguageTexts texts = DefaultLanguageTexts();
    texts.StatStr[4] = "Опис файлу:";
    const LanguageTexts defaults = texts;
    EXPECT_EQ(Read("line one\r\n#LN:EN;English\r\nStatStr[05]:Rules:;\r\nMainStr[01]:STOP;\r\n"
                   "LandStr[00]:2;\r\nColorStr[02]:Colour by birth;\r\nDiagStr[01]:Overwrite?;\r\n"
                   // Outside every family's range: no other family, no other text changes.
                   "MainStr[02]:x;\r\nStatStr[27]:x;\r\nStatStr[00]:x;\r\nColorStr[00]:x;\r\n"
                   "LandStr[99]:x;\r\nDiagStr[04]:x;\r\nRulesSelectorBox[12]:x;\r\n",
                   texts),
              "code EN ");
    EXPECT_EQ(std::tuple(texts.MainStr[0], texts.MainStr[1], texts.LandStr[0], texts.ColorStr[1],
                         texts.ColorStr[2], texts.DiagStr[1], texts.LandStr[4]),
              std::tuple(defaults.MainStr[0], "STOP", "2", "Колір за віком", "Colour by birth",
                         "Overwrite?", defaults.LandStr[4]));
    for (int i = 1; i <= 26; ++i)
        EXPECT_EQ(texts.StatStr[i], i == 5 ? std::string("Rules:") : defaults.StatStr[i]) << i;
}

// Code and name from the second line; a file without one is still listed. (A
// file of another extension is not: the window's language list shows that.)
TEST(LanguageFile, TheListReadsCodeAndNameFromLineTwo) {
    TempFolder folder;
    folder.Write("english.lng", "anything\r\n#LN:EN;English\r\nFile1:File;\r\n");
    folder.Write("ukraine.lng", "\xEF\xBB\xBFtitle\n#LN:UA;Українська\n");
    folder.Write("short.lng", "one line only");
    std::string list;
    for (const LanguageRecord& r : RefreshLanguageList(folder.Path()))
        list += r.baseName + "|" + r.code + "|" + r.displayName + " ";
    EXPECT_EQ(list, "english|EN|English short|| ukraine|UA|Українська ");
}

TEST(RuleNames, RuleChangedNamesTheRuleInTheLanguageAndFallsBackToUkrainian) {
    TempFolder folder;
    folder.Write("ukraine-rules.rlg",
                 std::string("[N1]\r\n#R ") + kConway + "\r\n#RE\r\n#N Життя\r\n#D Класика.\r\n");
    // "#RE" with more on its line does not end the rule lines: N1 does not match.
    folder.Write("english-rules.rlg", "[N1]\r\n#R " + std::string(kConway) +
                                          "\r\n#RE x\r\n#N No\r\n[N2]\r\n#R " + kConway +
                                          "\r\n#RE\r\n#N Life\r\n#A Conway\r\n#D Classic.\r\n");
    std::string language = "english.lng";
    World world;
    const RuleEditorState& editor = world.Editor;
    world.Editor.LookUpRuleName = [&](World& w, const std::string& rule) {
        LookUpRuleName(w, folder.Path(), language, rule);
    };
    ApplyBuiltInPreset(world, "Conway`s Life");
    // The entry's name, not the list's.
    EXPECT_EQ(std::tuple(editor.RulesComboBoxText, editor.InfoMemo[3], editor.RulesDescription),
              std::tuple(std::string("Life"), "Conway", Lines{"Classic."}));
    language = "german.lng";  // no file of its own
    RuleChanged(world);
    EXPECT_EQ(std::tuple(editor.RulesComboBoxText, editor.InfoMemo[0]),
              std::tuple("Життя", "Життя"));
    SetWeightBox(world, PositionIndex(0, -1), 2);  // no entry: name and description empty
    EXPECT_EQ(
        std::tuple(editor.RulesComboBoxText, editor.RulesDescription.size(), editor.InfoMemo[0]),
        std::tuple("", 0ul, ""));
    fs::remove(folder / "ukraine-rules.rlg");
    world.Editor.RulesComboBoxText = "kept";  // without any file nothing is touched
    LookUpRuleName(world, folder.Path(), "german.lng", kConway);
    EXPECT_EQ(editor.RulesComboBoxText, "kept");
}

// Every tr("...") text of the window's sources with the nearest other literal
// before it in its statement (the control it captions, when it is one).
// Comments and character literals are skipped, adjacent literals joined, and
// "\"" and "\n" read as the compiler reads them.
std::vector<std::array<std::string, 3>> WindowTexts(const fs::path& folder) {
    std::vector<std::array<std::string, 3>> found;  // text, name, where
    for (const auto& entry : fs::directory_iterator(folder)) {
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

// The shipped language files: every text the window asks tr() for has a
// "Text[...]" entry or the caption of the component key or list family it stands
// for (a text a line cannot carry has to be split in the code); every component
// key and family index is there; the statistics file's column widths hold; and
// every built-in rule has a named entry, its string as the program writes it.
TEST(ShippedLanguages, BothLanguagesAreCompleteAndNameEveryPreset) {
    const fs::path data(ZENTORIX_SHIPPED_DATA), folder = data / "Language";
    const auto windowTexts = WindowTexts(data.parent_path() / "src" / "app");
    ASSERT_GT(windowTexts.size(), 300u);
    for (const std::string base : {"ukraine", "english"}) {
        SCOPED_TRACE(base);
        const auto text = ReadTextFile(folder / (base + ".lng"));
        ASSERT_TRUE(text);
        LanguageTexts texts = DefaultLanguageTexts();
        const LanguageFileContent content = ReadLanguageText(*text, texts);
        EXPECT_TRUE(content.error.empty());
        const std::map<std::string, std::string> entries(content.texts.begin(),
                                                         content.texts.end());
        std::set<std::string> names, keys;
        for (const auto& [name, caption] : content.captions)
            names.insert(name);
        for (const auto& item : content.listItems)
            names.insert(item.list);
        for (const auto& [tr, name, where] : windowTexts) {
            const auto entry = entries.find(tr);
            EXPECT_TRUE(entry != entries.end() ? !entry->second.empty() : names.count(name) > 0)
                << where << " " << tr;
        }

        ForEachTextLine(*text, [&](std::string_view line) {
            const std::size_t colon = line.find(':');
            if (colon != std::string_view::npos && line.find(';') != std::string_view::npos)
                keys.insert(std::string(line.substr(0, colon)));
        });
        for (std::string_view key : kComponentKeys)
            EXPECT_TRUE(keys.count(std::string(key))) << key;
        EXPECT_TRUE(keys.count("#LN") && keys.count("Panels[0]"));
        // Families with two-digit indexes, then lists with one-digit ones.
        // The family, its first and last index, and the digits of an index.
        const std::tuple<const char*, int, int, std::size_t> families[] = {
            {"MainStr", 0, 1, 2},           {"LandStr", 0, 4, 2},
            {"ColorStr", 1, 2, 2},          {"StatStr", 1, 26, 2},
            {"DiagStr", 1, 1, 2},           {"CopyFromComboBox", 0, 3, 1},
            {"CopyToComboBox", 0, 3, 1},    {"LoadFieldSelector", 0, 3, 1},
            {"LoadRulesSelector", 0, 2, 1}, {"RulesSelectorBox", 0, 2, 1},
            {"RegionsSelectorBox", 0, 6, 1}};
        for (const auto& [family, from, to, digits] : families)
            for (int i = from; i <= to; ++i) {
                const std::string n = std::to_string(i);
                EXPECT_TRUE(keys.count(family + std::string("[") +
                                       std::string(digits - n.size(), '0') + n + "]"))
                    << family << i;
            }
        // The statistics file's built-in texts are the Ukrainian file's.
        EXPECT_TRUE(base != "ukraine" || texts.StatStr == DefaultStatTexts().Text);
        const std::pair<int, std::size_t> widths[] = {
            {2, 31}, {3, 31}, {4, 31}, {14, 55}, {19, 20}, {21, 20}, {22, 20}, {23, 20}, {24, 20}};
        for (const auto& [number, width] : widths) {
            // Characters, not bytes.
            const auto characters = std::ranges::count_if(
                texts.StatStr[number], [](unsigned char c) { return (c & 0xC0) != 0x80; });
            EXPECT_EQ(characters, static_cast<long>(width)) << number;
        }

        const auto rules = ReadTextFile(folder / (base + "-rules.rlg"));
        ASSERT_TRUE(rules);
        for (int i = 0; i < BuiltInPresetCount; ++i) {
            World world;
            ApplyBuiltInPreset(world, PresetName(i));
            const auto entry = FindRuleName(*rules, RuleToString(world, 0, 0));
            ASSERT_TRUE(entry) << PresetName(i);
            EXPECT_FALSE(entry->info[0].empty() || entry->description.empty()) << PresetName(i);
        }
    }
}

}  // namespace
}  // namespace zentorix
