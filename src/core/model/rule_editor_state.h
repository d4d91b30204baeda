#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/rule_set.h"

namespace zentorix {

class World;

// The neighbourhood shapes offered by the shape list, in list order; the last
// entry is the blank one shown when the weights match no shape.
inline constexpr int kShapeCount = 7;
inline constexpr int kNoShape = 6;

// What the rule editor shows and holds besides the rule sets themselves. Every
// value here is the value of one of its controls; the widgets bind to it.
struct RuleEditorState {
    std::int16_t EditedRuleSet = 0;  // RulesSelectorBox: 0, 1 or 2

    // Weight boxes StringNW .. String2S2E (by PositionIndex). The up-downs offer
    // -256..256; a weight read from rule text is shown as it is.
    std::array<std::int32_t, kPositionCount> WeightBoxes{};
    bool SymmetricRegion = false;
    int ShapeIndex = kNoShape;  // ComboBox2
    bool ExtRegion = false;
    bool HistoryOn = false;
    std::int32_t HistoryRangeBox = 4;  // IntHistoryRange, 2..256

    std::string BirthStr = "3,";
    std::string SurvivalStr = "2,3,";
    std::array<bool, 10> B{};  // B0..B9
    std::array<bool, 10> S{};  // S0..S9
    // Whether the last parse of the list text named more sums than a list holds
    // (the first kMaxListEntries were kept); the window tells the user.
    bool BirthListCut = false;
    bool SurvivalListCut = false;

    std::int32_t MinBirth = 3, MaxBirth = 3;        // -2048..2048
    std::int32_t MinSurvival = 2, MaxSurvival = 3;  // -2048..2048

    bool DelayOn = false;
    std::int32_t DelayValue = -1;  // IntDelayRange, -256..-1

    std::string InfoEdit;  // the rule string of the edited rule set

    // ZentorixInfoMemo: name, character, family, author.
    std::array<std::string, 4> InfoMemo;
    std::vector<std::string> RulesDescription;
    std::string RulesComboBoxText;  // the shown text of the rules list
    bool ClearRuleInfoOnChange = true;

    // Rule-name look-up: given the rule string of the edited rule set, fills the
    // name, description and information lines of a known rule. Empty until the
    // language tables are loaded.
    std::function<void(World&, const std::string&)> LookUpRuleName;
};

inline constexpr std::int32_t kMinListSum = -2048;
inline constexpr std::int32_t kMaxListSum = 2048;
inline constexpr std::int32_t kMinWeightBox = -256;
inline constexpr std::int32_t kMaxWeightBox = 256;

}  // namespace zentorix
