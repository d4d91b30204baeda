#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/rule_set.h"

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

// The birth or survival list as the editor writes it: every sum followed by a comma.
std::string FormatSumList(const std::vector<std::int32_t>& list);

// Sets every control from rule set `index`, then synchronises the digit boxes
// (which ends with RuleChanged).
void RefreshRuleEditor(World& world, int index);
// Selects in the shape list the shape that the edited weights match.
void RecogniseNeighbourhoodShape(World& world);
// Reads BirthStr / SurvivalStr into the edited rule set, then RuleChanged.
void ParseBirthList(World& world);
void ParseSurvivalList(World& world);
// Ticks B0..B9 and S0..S9 for each digit in the list texts, then RuleChanged.
void SyncBirthSurvivalBoxes(World& world);
// The step after every rule change: clears the rule information (unless a rule
// file is being read), looks the rule up by name, shows the rule string.
void RuleChanged(World& world);

// Control handlers.
void SelectEditedRuleSet(World& world, int index);                     // RulesSelectorBoxSelect
void SetWeightBox(World& world, int position, std::int32_t value);     // String..Change
void SelectNeighbourhoodShape(World& world, int shape);                // ComboBox2Select
void SetExtRegion(World& world, bool on);                              // ExtRegionClick
void SetHistoryOn(World& world, bool on);                              // HistoryOnClick
void SetHistoryRangeBox(World& world, std::int32_t value);             // StringHistoryRangeChange
void SetDelayOn(World& world, bool on);                                // DelayOnClick
void SetDelayValue(World& world, std::int32_t value);                  // Edit14Change
void BirthBoxesChanged(World& world);                                  // B0MouseUp
void SurvivalBoxesChanged(World& world);                               // S2MouseUp
void SetBirthRange(World& world, std::int32_t min, std::int32_t max);  // MinBirthChanging
void SetSurvivalRange(World& world, std::int32_t min, std::int32_t max);  // MaxSurvivalChangingEx
void SwapBirthSurvival(World& world);                                     // SpeedButton9Click

}  // namespace zentorix
