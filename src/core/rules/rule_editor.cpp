#include "rules/rule_editor.h"

#include <algorithm>
#include <charconv>

#include "engine/format_error.h"
#include "engine/rule_text.h"
#include "model/world.h"

namespace zentorix {

namespace {

struct Shape {
    bool extended;
    bool lookAtOuterRing;
    std::array<std::string_view, 12> positions;  // named positions weigh 1
};

const std::array<Shape, 6> kShapes = {{
    {false, false, {"NW", "NN", "NE", "WW", "EE", "SW", "SS", "SE"}},
    {false, false, {"NN", "WW", "EE", "SS"}},
    {true, true, {}},  // every position but ME
    {true, true, {"NW", "NN", "NE", "WW", "EE", "SW", "SS", "SE", "2N2N", "2W2W", "2E2E", "2S2S"}},
    {true, true, {"2N1W", "2N1E", "1N2W", "1N2E", "1S2W", "1S2E", "2S1W", "2S1E"}},
    {true,
     true,
     {"2N1W", "2N1E", "1N2W", "1N2E", "1S2W", "1S2E", "2S1W", "2S1E", "NN", "WW", "EE", "SS"}},
}};

std::array<std::int32_t, kPositionCount> ShapeWeights(int shape) {
    std::array<std::int32_t, kPositionCount> w{};
    if (shape == 2) {
        w.fill(1);
        w[kCentre] = 0;
        return w;
    }
    for (std::string_view name : kShapes[shape].positions) {
        if (name.empty())
            continue;
        for (const PositionToken& p : kPositionTokens)
            if (p.name == name)
                w[PositionIndex(p.dx, p.dy)] = 1;
    }
    return w;
}

RuleSet& Edited(World& world) {
    return world.Rules[static_cast<std::size_t>(world.Editor.EditedRuleSet)];
}

// The change step of one weight box: a box set to the value it shows does nothing;
// otherwise the symmetric partner follows and the weight goes into the rule set.
void ChangeWeightBox(World& world, int position, std::int32_t value) {
    RuleEditorState& ed = world.Editor;
    if (ed.WeightBoxes[position] == value)
        return;
    ed.WeightBoxes[position] = value;
    if (ed.SymmetricRegion && position != kCentre)
        ChangeWeightBox(world, SymmetricPartner(position), value);
    Edited(world).Weights[position] = ed.WeightBoxes[position];
    RecogniseNeighbourhoodShape(world);
}

bool IsCanonicalDecimal(std::string_view piece) {
    if (piece == "0")
        return true;
    std::size_t i = 0;
    if (!piece.empty() && piece[0] == '-')
        i = 1;
    if (i >= piece.size() || piece[i] < '1' || piece[i] > '9')
        return false;
    if (piece.size() - i > 5)
        return false;
    for (; i < piece.size(); ++i)
        if (piece[i] < '0' || piece[i] > '9')
            return false;
    return true;
}

// Every sum -2048..2048 written as ",sum," in the text (with a comma put in
// front), ascending, without repeats, at most kMaxListEntries of them; `cut` tells
// whether the text named more.
std::vector<std::int32_t> ParseSumText(std::string_view text, bool* cut = nullptr) {
    std::vector<std::int32_t> list;
    std::size_t start = 0;
    for (std::size_t comma = text.find(','); comma != std::string_view::npos;
         comma = text.find(',', start)) {
        const std::string_view piece = text.substr(start, comma - start);
        if (IsCanonicalDecimal(piece)) {
            std::int32_t v = 0;
            std::from_chars(piece.data(), piece.data() + piece.size(), v);
            if (v >= kMinListSum && v <= kMaxListSum)
                list.push_back(v);
        }
        start = comma + 1;
    }
    std::sort(list.begin(), list.end());
    list.erase(std::unique(list.begin(), list.end()), list.end());
    const bool tooMany = static_cast<int>(list.size()) > kMaxListEntries;
    if (tooMany)
        list.resize(kMaxListEntries);
    if (cut)
        *cut = tooMany;
    return list;
}

// Whether each of the sums 0..9 is in the list the text gives.
std::array<bool, 10> DigitSums(std::string_view text) {
    std::array<bool, 10> in{};
    // A text of no more sums than a list holds loses none to the limit: only its
    // one-digit pieces matter, and the boxes follow every edit of a long list.
    if (std::count(text.begin(), text.end(), ',') < kMaxListEntries) {
        std::size_t start = 0;
        for (std::size_t comma = text.find(','); comma != std::string_view::npos;
             comma = text.find(',', start)) {
            if (comma - start == 1 && text[start] >= '0' && text[start] <= '9')
                in[static_cast<std::size_t>(text[start] - '0')] = true;
            start = comma + 1;
        }
        return in;
    }
    std::string withComma(",");
    withComma += text;
    for (std::int32_t sum : ParseSumText(withComma))
        if (sum >= 0 && sum <= 9)
            in[static_cast<std::size_t>(sum)] = true;
    return in;
}

// Box d stands for the sum d: a ticked box whose sum the text lacks adds "d,"
// after the last complete sum (an unfinished tail stays last and unfinished), an
// unticked box removes every "d," that stands as a sum of its own ("13," stays).
void DigitBoxesToText(std::string& text, const std::array<bool, 10>& boxes) {
    const std::array<bool, 10> listed = DigitSums(text);
    for (int d = 0; d <= 9; ++d) {
        const char digit = static_cast<char>('0' + d);
        if (!listed[d] && boxes[d]) {
            const std::size_t lastComma = text.rfind(',');
            const std::size_t at = lastComma == std::string::npos ? 0 : lastComma + 1;
            text.insert(at, std::string{digit, ','});
        } else if (listed[d] && !boxes[d]) {
            for (std::size_t i = 0; i + 1 < text.size();) {
                if (text[i] == digit && text[i + 1] == ',' && (i == 0 || text[i - 1] == ','))
                    text.erase(i, 2);
                else
                    ++i;
            }
        }
    }
}

std::string RangeText(std::int32_t min, std::int32_t max) {
    std::string text;
    for (std::int32_t v = min; v <= max; ++v)
        text += std::to_string(v) + ",";
    return text;
}

}  // namespace

std::string FormatSumList(const std::vector<std::int32_t>& list) {
    std::string text;
    for (std::int32_t sum : list)
        text += std::to_string(sum) + ",";
    return text;
}

void ParseRuleString(World& world, std::string_view text, std::string_view family, int index) {
    try {
        ParseRuleText(world, text, family, index);
    } catch (const FormatError&) {
        // Keep the editor in step with what was read before the bad token.
        RefreshRuleEditor(world, world.Editor.EditedRuleSet);
        throw;
    }
    RefreshRuleEditor(world, world.Editor.EditedRuleSet);
}

void RefreshRuleEditor(World& world, int index) {
    RuleEditorState& ed = world.Editor;
    const RuleSet& rules = world.Rules.at(static_cast<std::size_t>(index));
    // Showing a rule never changes it: the symmetric switch acts on the user's
    // changes only, so an asymmetric rule is shown (and runs) as it is.
    ed.WeightBoxes = rules.Weights;
    const RuleSet& shown = rules;
    ed.HistoryOn = shown.History;
    ed.ExtRegion = shown.Extended;
    ed.HistoryRangeBox = std::clamp<std::int32_t>(shown.HistoryRange, 2, 256);
    ed.BirthStr = FormatSumList(shown.BirthList);
    ed.SurvivalStr = FormatSumList(shown.SurvivalList);
    RecogniseNeighbourhoodShape(world);
    SyncBirthSurvivalBoxes(world);
}

void RecogniseNeighbourhoodShape(World& world) {
    const RuleSet& rules = Edited(world);
    world.Editor.ShapeIndex = kNoShape;
    for (int s = 0; s < static_cast<int>(kShapes.size()); ++s) {
        if (rules.Extended != kShapes[s].extended || rules.Weights[kCentre] != 0)
            continue;
        const auto want = ShapeWeights(s);
        bool match = true;
        for (int pos = 0; pos < kPositionCount && match; ++pos)
            if (kShapes[s].lookAtOuterRing || IsInnerRing(pos))
                match = rules.Weights[pos] == want[pos];
        if (match)
            world.Editor.ShapeIndex = s;
    }
}

void ParseBirthList(World& world) {
    Edited(world).BirthList = ParseSumText("," + world.Editor.BirthStr, &world.Editor.BirthListCut);
    RuleChanged(world);
}

void ParseSurvivalList(World& world) {
    Edited(world).SurvivalList =
        ParseSumText("," + world.Editor.SurvivalStr, &world.Editor.SurvivalListCut);
    RuleChanged(world);
}

void SyncBirthSurvivalBoxes(World& world) {
    RuleEditorState& ed = world.Editor;
    ed.B = DigitSums(ed.BirthStr);
    ed.S = DigitSums(ed.SurvivalStr);
    RuleChanged(world);
}

void RuleChanged(World& world) {
    RuleEditorState& ed = world.Editor;
    if (ed.ClearRuleInfoOnChange) {
        ed.RulesComboBoxText.clear();
        ed.RulesDescription.clear();
        for (std::string& line : ed.InfoMemo)
            line.clear();
    }
    const std::string rule = RuleToString(world, 0, ed.EditedRuleSet);
    if (ed.LookUpRuleName)
        ed.LookUpRuleName(world, rule);
    ed.InfoEdit = rule;
}

void SelectEditedRuleSet(World& world, int index) {
    world.Editor.EditedRuleSet = static_cast<std::int16_t>(std::clamp(index, 0, 2));
    RefreshRuleEditor(world, world.Editor.EditedRuleSet);
}

void SetWeightBox(World& world, int position, std::int32_t value) {
    if (position < 0 || position >= kPositionCount)
        return;
    ChangeWeightBox(world, position, std::clamp(value, kMinWeightBox, kMaxWeightBox));
    RuleChanged(world);
}

void SelectNeighbourhoodShape(World& world, int shape) {
    if (shape < 0 || shape >= static_cast<int>(kShapes.size()))
        return;
    RuleSet& rules = Edited(world);
    rules.Weights = ShapeWeights(shape);
    rules.Extended = kShapes[shape].extended;
    rules.ExtendedValue = rules.Extended ? 2 : 0;
    RefreshRuleEditor(world, world.Editor.EditedRuleSet);
}

void SetExtRegion(World& world, bool on) {
    RuleSet& rules = Edited(world);
    rules.Extended = on;
    rules.ExtendedValue = on ? 2 : 0;
    RefreshRuleEditor(world, world.Editor.EditedRuleSet);
}

void SetHistoryOn(World& world, bool on) {
    RuleSet& rules = Edited(world);
    world.Editor.HistoryOn = on;
    rules.History = on;
    // Switching history on uses the length the box shows when the rule holds none.
    if (on && rules.HistoryRange < 2)
        rules.HistoryRange = world.Editor.HistoryRangeBox;
    RuleChanged(world);
}

void SetHistoryRangeBox(World& world, std::int32_t value) {
    value = std::clamp<std::int32_t>(value, 2, 256);
    world.Editor.HistoryRangeBox = value;
    Edited(world).HistoryRange = value;
    RuleChanged(world);
}

void SetDelayOn(World& world, bool on) {
    world.Editor.DelayOn = on;
    Edited(world).DelayOn = on;
    RuleChanged(world);
}

void SetDelayValue(World& world, std::int32_t value) {
    value = std::clamp<std::int32_t>(value, -256, -1);
    world.Editor.DelayValue = value;
    Edited(world).DelayValue = value;
    RuleChanged(world);
}

void BirthBoxesChanged(World& world) {
    DigitBoxesToText(world.Editor.BirthStr, world.Editor.B);
    ParseBirthList(world);
}

void SurvivalBoxesChanged(World& world) {
    DigitBoxesToText(world.Editor.SurvivalStr, world.Editor.S);
    ParseSurvivalList(world);
}

void SetBirthRange(World& world, std::int32_t min, std::int32_t max) {
    RuleEditorState& ed = world.Editor;
    ed.MinBirth = std::clamp(min, kMinListSum, kMaxListSum);
    ed.MaxBirth = std::clamp(max, kMinListSum, kMaxListSum);
    ed.BirthStr = RangeText(ed.MinBirth, ed.MaxBirth);
    ParseBirthList(world);
    // The digit boxes show the sums the new list holds.
    SyncBirthSurvivalBoxes(world);
}

void SetSurvivalRange(World& world, std::int32_t min, std::int32_t max) {
    RuleEditorState& ed = world.Editor;
    ed.MinSurvival = std::clamp(min, kMinListSum, kMaxListSum);
    ed.MaxSurvival = std::clamp(max, kMinListSum, kMaxListSum);
    ed.SurvivalStr = RangeText(ed.MinSurvival, ed.MaxSurvival);
    ParseSurvivalList(world);
    // The digit boxes show the sums the new list holds.
    SyncBirthSurvivalBoxes(world);
}

void SwapBirthSurvival(World& world) {
    std::swap(world.Editor.BirthStr, world.Editor.SurvivalStr);
    ParseBirthList(world);
    ParseSurvivalList(world);
    SyncBirthSurvivalBoxes(world);
}

}  // namespace zentorix
