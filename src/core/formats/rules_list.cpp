#include "formats/rules_list.h"

#include <algorithm>
#include <system_error>

#include "engine/rule_text.h"
#include "formats/rule_file.h"
#include "model/world.h"
#include "rules/preset_catalogue.h"
#include "rules/rule_editor.h"

namespace zentorix {

int RulesListCount(const std::vector<std::string>& ruleFiles) {
    return BuiltInPresetCount + static_cast<int>(ruleFiles.size());
}

std::optional<std::string> RulesListEntry(int position, const std::vector<std::string>& ruleFiles) {
    if (position < 0 || position >= RulesListCount(ruleFiles))
        return std::nullopt;
    if (position < BuiltInPresetCount)
        return std::string(PresetName(position));
    return ruleFiles[static_cast<std::size_t>(position - BuiltInPresetCount)];
}

std::optional<int> RulesListPosition(std::string_view text,
                                     const std::vector<std::string>& ruleFiles) {
    if (auto preset = FindPreset(text))
        return preset;
    const auto file = std::find(ruleFiles.begin(), ruleFiles.end(), text);
    if (file == ruleFiles.end())
        return std::nullopt;
    return BuiltInPresetCount + static_cast<int>(file - ruleFiles.begin());
}

std::string RuleFileNameBesidePresets(std::string_view name,
                                      const std::vector<std::string>& ruleFiles) {
    if (!FindPreset(name))
        return std::string(name);
    for (int n = 2;; ++n) {
        std::string free = std::string(name) + " (" + std::to_string(n) + ")";
        if (!RulesListPosition(free, ruleFiles))
            return free;
    }
}

bool ApplyBuiltInPreset(World& world, std::string_view name) {
    const auto index = FindPreset(name);
    if (!index) {
        RefreshRuleEditor(world, world.Editor.EditedRuleSet);
        return false;
    }
    // The reader refreshes the editor itself.
    ParseRuleString(world, PresetRuleString(*index), kFamilyZentorix, world.Editor.EditedRuleSet);
    return true;
}

void SelectRulesListEntry(World& world, const std::filesystem::path& rulesFolder, int position,
                          const std::vector<std::string>& ruleFiles) {
    const auto text = RulesListEntry(position, ruleFiles);
    if (!text)
        return;
    world.Editor.RulesComboBoxText = *text;
    world.Editor.RulesDescription.clear();
    if (position < BuiltInPresetCount)
        ApplyBuiltInPreset(world, *text);
    else
        LoadRuleFile(world, rulesFolder, *text);
}

std::vector<std::string> RefreshRuleFileList(const std::filesystem::path& rulesFolder) {
    std::vector<std::string> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(rulesFolder, ec);
    const std::filesystem::directory_iterator end;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        const std::string file = it->path().filename().string();
        if (file.size() <= kRuleFileExtension.size() ||
            file.compare(file.size() - kRuleFileExtension.size(), kRuleFileExtension.size(),
                         kRuleFileExtension) != 0)
            continue;
        names.push_back(file.substr(0, file.size() - kRuleFileExtension.size()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

int KeptListPosition(int position, const std::vector<std::string>& ruleFiles) {
    return position >= 0 && position < RulesListCount(ruleFiles) ? position : -1;
}

}  // namespace zentorix
