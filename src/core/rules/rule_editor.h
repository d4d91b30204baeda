#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/rule_editor_state.h"
#include "model/rule_set.h"

namespace zentorix {

// The birth or survival list as the editor writes it: every sum followed by a comma.
std::string FormatSumList(const std::vector<std::int32_t>& list);

// Reads rule text of the named family into rule set `index` (ParseRuleText),
// then refreshes the rule editor, also when a malformed token raised FormatError.
void ParseRuleString(World& world, std::string_view text, std::string_view family, int index);

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
