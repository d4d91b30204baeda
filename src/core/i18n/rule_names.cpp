#include "i18n/rule_names.h"

#include "formats/text_file.h"
#include "i18n/language_file.h"
#include "model/world.h"

namespace zentorix {

std::optional<RuleNameEntry> FindRuleName(std::string_view fileText, std::string_view rule) {
    std::string joined;
    bool matched = false;
    bool done = false;
    RuleNameEntry entry;
    ForEachTextLine(fileText, [&](std::string_view line) {
        if (done)
            return;
        if (StartsWith(line, "[N")) {
            joined.clear();
            done = matched;
            return;
        }
        if (StartsWith(line, "#R ")) {
            joined.append(line.substr(3));
            return;
        }
        if (line == "#RE") {
            if (!matched && joined == rule) {
                matched = true;
                joined.clear();
            }
            return;
        }
        if (!matched)
            return;
        static constexpr std::string_view kInfo[4] = {"#N ", "#H ", "#G ", "#A "};
        for (std::size_t i = 0; i < 4; ++i)
            if (StartsWith(line, kInfo[i]))
                entry.info[i] = std::string(line.substr(3));
        if (StartsWith(line, "#D "))
            entry.description.emplace_back(line.substr(3));
    });
    if (!matched)
        return std::nullopt;
    return entry;
}

std::optional<std::filesystem::path> RuleNameFile(const std::filesystem::path& languageFolder,
                                                  std::string_view languageFile) {
    std::error_code ec;
    const std::filesystem::path own =
        languageFolder / (LanguageBaseName(languageFile) + "-rules.rlg");
    if (!languageFile.empty() && std::filesystem::is_regular_file(own, ec))
        return own;
    const std::filesystem::path fallback = languageFolder / kFallbackRuleNameFile;
    if (std::filesystem::is_regular_file(fallback, ec))
        return fallback;
    return std::nullopt;
}

void LookUpRuleName(World& world, const std::filesystem::path& languageFolder,
                    std::string_view languageFile, std::string_view rule) {
    const auto file = RuleNameFile(languageFolder, languageFile);
    if (!file)
        return;
    const auto text = ReadTextFile(*file);
    if (!text)
        return;
    RuleEditorState& editor = world.Editor;
    if (auto entry = FindRuleName(*text, rule)) {
        // Only the lines the entry has: an author read from a rule file stays.
        for (std::size_t i = 0; i < entry->info.size(); ++i)
            if (!entry->info[i].empty())
                editor.InfoMemo[i] = std::move(entry->info[i]);
        // A description read from a rule file is the author's; adding the
        // entry's lines to it would grow the file by them at every save.
        if (editor.RulesDescription.empty())
            editor.RulesDescription = std::move(entry->description);
    }
    editor.RulesComboBoxText = editor.InfoMemo[0];
}

}  // namespace zentorix
