// The birth and survival texts of the rule editor, typed as anything: the first
// byte picks the edited rule set and the edit after the typing, the rest is the
// birth text and, after a line feed, the survival text. Whatever was typed, the
// lists hold distinct ascending sums within -2048..2048, at most the list
// limit; each digit box shows whether its sum is in the list; the rule line the editor
// shows reads back to the same lists.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/rule_text.h"
#include "fuzz_pattern_file.h"
#include "model/world.h"
#include "rules/rule_editor.h"

namespace {

using zentorix::fuzz::Check;

void CheckList(const std::vector<std::int32_t>& list) {
    Check(static_cast<int>(list.size()) <= zentorix::kMaxListEntries);
    Check(std::adjacent_find(list.begin(), list.end(), std::greater_equal<>()) == list.end());
    for (std::int32_t sum : list)
        Check(sum >= zentorix::kMinListSum && sum <= zentorix::kMaxListSum);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zentorix;
    static World world;
    if (size == 0)
        return 0;
    const std::uint8_t choice = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t split = text.find('\n');
    RuleEditorState& ed = world.Editor;
    SelectEditedRuleSet(world, choice % 3);
    ed.BirthStr = std::string(text.substr(0, split));
    ed.SurvivalStr = split == std::string_view::npos ? "" : std::string(text.substr(split + 1));
    ParseBirthList(world);
    ParseSurvivalList(world);
    SyncBirthSurvivalBoxes(world);

    // An edit after the typing, as the editor's controls make it.
    const int a = static_cast<std::int8_t>(text.empty() ? 0 : text.front()) * 17;
    const int b = static_cast<std::int8_t>(text.empty() ? 0 : text.back()) * 19;
    switch ((choice / 3) % 6) {
        case 0:
            break;
        case 1:
            ed.B[static_cast<std::size_t>(a & 7)] ^= true;
            BirthBoxesChanged(world);
            break;
        case 2:
            ed.S[static_cast<std::size_t>(b & 7)] ^= true;
            SurvivalBoxesChanged(world);
            break;
        case 3:
            SetBirthRange(world, a, b);
            break;
        case 4:
            SetSurvivalRange(world, b, a);
            break;
        default:
            SwapBirthSurvival(world);
            break;
    }

    const RuleSet& rules = world.Rules[static_cast<std::size_t>(ed.EditedRuleSet)];
    CheckList(rules.BirthList);
    CheckList(rules.SurvivalList);
    SyncBirthSurvivalBoxes(world);
    // Box d stands for the sum d of the list.
    auto listed = [](const std::vector<std::int32_t>& list, int d) {
        return std::find(list.begin(), list.end(), d) != list.end();
    };
    for (int d = 0; d <= 9; ++d) {
        Check(ed.B[static_cast<std::size_t>(d)] == listed(rules.BirthList, d));
        Check(ed.S[static_cast<std::size_t>(d)] == listed(rules.SurvivalList, d));
    }

    // The editor's own texts of the lists, and the rule line it shows, read back
    // to the same lists.
    const std::vector<std::int32_t> birth = rules.BirthList, survival = rules.SurvivalList;
    ed.BirthStr = FormatSumList(birth);
    ed.SurvivalStr = FormatSumList(survival);
    ParseBirthList(world);
    ParseSurvivalList(world);
    Check(rules.BirthList == birth && rules.SurvivalList == survival);
    const int other = (ed.EditedRuleSet + 1) % 3;
    ParseRuleString(world, ed.InfoEdit, kFamilyZentorix, other);
    const RuleSet& read = world.Rules[static_cast<std::size_t>(other)];
    Check(read.BirthList == birth && read.SurvivalList == survival);
    return 0;
}
