#include "engine/rule_text.h"

#include <array>
#include <cctype>
#include <optional>
#include <vector>

#include "engine/format_error.h"
#include "model/world.h"

namespace zentorix {

namespace {

bool StartsWith(std::string_view text, std::string_view head) {
    return text.substr(0, head.size()) == head;
}

// Adds one entry d for each digit d 0..9 that occurs anywhere in the text.
void AddDigits(std::vector<std::int32_t>& list, std::string_view text) {
    for (char d = '0'; d <= '9'; ++d)
        if (text.find(d) != std::string_view::npos)
            RuleSet::AddSum(list, d - '0');
}

// Splits at the first "/": the part up to and including it, and the rest. Without
// a slash the first part is the whole text and the rest is empty.
std::pair<std::string_view, std::string_view> SplitAtSlash(std::string_view text) {
    const std::size_t slash = text.find('/');
    if (slash == std::string_view::npos)
        return {text, {}};
    return {text.substr(0, slash + 1), text.substr(slash + 1)};
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

struct TokenName {
    std::string_view name;
    int position;  // weight index, or -1 for HI/EX/RB/RS
};

const std::array<TokenName, kPositionCount + 4>& TokenNames() {
    static const std::array<TokenName, kPositionCount + 4> names = [] {
        std::array<TokenName, kPositionCount + 4> n{};
        for (int i = 0; i < kPositionCount; ++i)
            n[i] = {kPositionTokens[i].name,
                    PositionIndex(kPositionTokens[i].dx, kPositionTokens[i].dy)};
        n[kPositionCount + 0] = {"HI", -1};
        n[kPositionCount + 1] = {"EX", -1};
        n[kPositionCount + 2] = {"RB", -1};
        n[kPositionCount + 3] = {"RS", -1};
        return n;
    }();
    return names;
}

void ParseTokens(RuleSet& rules, std::string_view source) {
    std::string text(source);
    if (text.empty() || text.back() != ',')
        text += ',';
    const std::string_view t = text;
    // The names by their first letter: most places of a long text begin no name,
    // the others one of a few.
    static const std::array<std::vector<TokenName>, 256> byFirstLetter = [] {
        std::array<std::vector<TokenName>, 256> names;
        for (const TokenName& token : TokenNames())
            names[static_cast<unsigned char>(token.name[0])].push_back(token);
        return names;
    }();
    for (std::size_t p = 0; p < t.size(); ++p) {
        for (const TokenName& token : byFirstLetter[static_cast<unsigned char>(t[p])]) {
            if (t.compare(p, token.name.size(), token.name) != 0)
                continue;
            // The value runs from after the name to the next comma; any signed
            // 32-bit value is accepted so that whatever the writer wrote reads back.
            const std::size_t start = p + token.name.size();
            const std::size_t comma = t.find(',', start);
            const std::int32_t value = ToInteger(t.substr(start, comma - start));
            if (token.position >= 0) {
                rules.Weights[token.position] = value;
            } else if (token.name == "HI") {
                rules.HistoryRange = value;
                rules.History = value >= 2;
            } else if (token.name == "EX") {
                rules.ExtendedValue = value;
                rules.Extended = value != 0;
            } else if (token.name == "RB") {
                RuleSet::AddSum(rules.BirthList, value);
            } else {
                RuleSet::AddSum(rules.SurvivalList, value);
            }
        }
    }
}

void ParseSlashNotation(RuleSet& rules, std::string_view text, bool generations) {
    auto [survival, rest] = SplitAtSlash(text);
    if (text.find('/') == std::string_view::npos) {
        // No slash at all: Life takes its birth digits from the whole text.
        survival = {};
        rest = text;
    }
    AddDigits(rules.SurvivalList, survival);
    if (!generations) {
        AddDigits(rules.BirthList, rest);
        rules.History = false;
        return;
    }
    const std::size_t slash = rest.find('/');
    if (slash == std::string_view::npos) {
        rules.History = false;
        return;
    }
    AddDigits(rules.BirthList, rest.substr(0, slash + 1));
    const std::string_view states = TrimBlanks(rest.substr(slash + 1));
    if (states.empty()) {
        rules.History = false;
        return;
    }
    rules.HistoryRange = ToInteger(states);
    rules.History = rules.HistoryRange != 0 && rules.HistoryRange != 1;
}

// Clears the weights a neighbourhood leaves out of the inner ring.
void ApplyNeighbourhood(RuleSet& rules, char neighbourhood) {
    if (neighbourhood == 'V') {
        for (const auto& [dx, dy] : {std::pair{-1, -1}, {1, -1}, {-1, 1}, {1, 1}})
            rules.Weights[PositionIndex(dx, dy)] = 0;
    } else if (neighbourhood == 'H') {
        rules.Weights[PositionIndex(1, -1)] = 0;
        rules.Weights[PositionIndex(-1, 1)] = 0;
    }
}

void ParseOldLife(RuleSet& rules, std::string_view text) {
    if (const auto rule = ReadOldLifeRule(text)) {
        AddDigits(rules.BirthList, rule->birth);
        AddDigits(rules.SurvivalList, rule->survival);
        // A two-state rule line names a rule without history; keeping history on
        // would run another rule than the file names.
        rules.History = rule->states >= 2;
        if (rule->states >= 2)
            rules.HistoryRange = rule->states;
        ApplyNeighbourhood(rules, rule->neighbourhood);
        return;
    }
    const std::size_t marker = text.find("rule = ");
    if (marker != std::string_view::npos)
        text = text.substr(marker);
    // Suffixes such as ":T100,100" name a bounded grid, not the rule.
    const std::size_t colon = text.find(':');
    if (colon != std::string_view::npos)
        text = text.substr(0, colon);
    const auto [first, rest] = SplitAtSlash(text);
    const bool birthFirst =
        first.find('B') != std::string_view::npos || first.find('b') != std::string_view::npos;
    AddDigits(birthFirst ? rules.BirthList : rules.SurvivalList, first);
    AddDigits(birthFirst ? rules.SurvivalList : rules.BirthList, rest);
}

}  // namespace

std::optional<OldLifeRule> ReadOldLifeRule(std::string_view text) {
    if (const std::size_t marker = text.find("rule = "); marker != std::string_view::npos)
        text.remove_prefix(marker + 7);
    text = TrimBlanks(text.substr(0, text.find(':')));
    OldLifeRule rule;
    if (!text.empty() && std::string_view("VvHh").find(text.back()) != std::string_view::npos) {
        rule.neighbourhood = text.back() == 'V' || text.back() == 'v' ? 'V' : 'H';
        text.remove_suffix(1);
        // "B2/S/H": the neighbourhood may stand as a part of its own.
        if (!text.empty() && text.back() == '/')
            text.remove_suffix(1);
    }
    const char highest = rule.neighbourhood == 'V' ? '4' : rule.neighbourhood == 'H' ? '6' : '8';
    // Either every part starts with its letter (B, S, C) or none does; then the
    // order is survival, birth, states. Lettered parts may go without slashes
    // ("B3S23") and a missing birth or survival part is empty ("B234").
    const bool lettered = !text.empty() && std::isalpha(static_cast<unsigned char>(text[0]));
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        std::size_t end = text.find('/', start);
        if (lettered && end == std::string_view::npos)
            end = text.find_first_of("BbSsCcGg", start + 1);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos)
            break;
        start = text[end] == '/' ? end + 1 : end;
    }
    if (parts.size() > 3 || (parts.size() < 2 && !lettered))
        return std::nullopt;
    const char order[] = {'S', 'B', 'C'};
    bool seen[3] = {};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::string_view part = parts[i];
        char kind = order[i];
        if (lettered) {
            if (part.empty())
                return std::nullopt;
            kind = static_cast<char>(std::toupper(static_cast<unsigned char>(part[0])));
            if (kind == 'G')
                kind = 'C';
            part.remove_prefix(1);
        }
        const std::size_t k = std::string_view("SBC").find(kind);
        if (k == std::string_view::npos || seen[k])
            return std::nullopt;
        seen[k] = true;
        if (kind == 'C') {
            const auto states = ParseInteger(part);
            if (!states || *states < 2 || *states > 256 ||
                part.find_first_not_of("0123456789") != std::string_view::npos)
                return std::nullopt;
            rule.states = *states;
            continue;
        }
        for (const char c : part)
            if (c < '0' || c > highest)
                return std::nullopt;
        (kind == 'B' ? rule.birth : rule.survival) = std::string(part);
    }
    if (!lettered && parts.size() < 2)
        return std::nullopt;
    return rule;
}

std::optional<char> CountNeighbourhood(const RuleSet& rules) {
    if (rules.Extended || rules.Weights[kCentre] != 0)
        return std::nullopt;
    for (const char kind : {'M', 'V', 'H'}) {
        int size = 0;
        bool fits = true;
        for (int i = 0; i < kInnerTokenCount; ++i) {
            const PositionToken& p = kPositionTokens[i];
            if (p.dx == 0 && p.dy == 0)
                continue;
            const bool corner = p.dx != 0 && p.dy != 0;
            const bool in = kind == 'M' || (kind == 'V' && !corner) ||
                            (kind == 'H' && !(corner && p.dx == -p.dy));
            size += in;
            fits &= rules.Weight(p.dx, p.dy) == (in ? 1 : 0);
        }
        auto counts = [size](const std::vector<std::int32_t>& list) {
            return std::all_of(list.begin(), list.end(),
                               [size](std::int32_t s) { return s >= 0 && s <= size; });
        };
        if (fits && counts(rules.BirthList) && counts(rules.SurvivalList))
            return kind;
    }
    return std::nullopt;
}

std::string FormatRuleTokens(const RuleSet& rules) {
    std::string out;
    auto token = [&out](std::string_view name, std::int64_t value) {
        out += name;
        out += std::to_string(value);
        out += ',';
    };
    for (int i = 0; i < kPositionCount; ++i) {
        if (i >= kInnerTokenCount && !rules.Extended)
            break;
        const PositionToken& p = kPositionTokens[i];
        token(p.name, rules.Weight(p.dx, p.dy));
    }
    token("HI", rules.History ? rules.HistoryRange : 0);
    token("EX", rules.Extended ? 2 : 0);
    for (std::int32_t sum : rules.BirthList)
        token("RB", sum);
    for (std::int32_t sum : rules.SurvivalList)
        token("RS", sum);
    return out;
}

std::string FormatDigitBoxes(const RuleEditorState& editor) {
    std::string out = "#R S";
    for (int d = 0; d <= 9; ++d)
        if (editor.S[d])
            out += static_cast<char>('0' + d);
    out += "/B";
    for (int d = 0; d <= 9; ++d)
        if (editor.B[d])
            out += static_cast<char>('0' + d);
    return out;
}

std::string RuleToString(const World& world, int mode, int index) {
    if (mode == 1)
        return FormatDigitBoxes(world.Editor);
    return FormatRuleTokens(world.Rules.at(static_cast<std::size_t>(index)));
}

void ParseRuleText(RuleSet& rules, std::string_view text, std::string_view family) {
    if (StartsWith(text, "#R "))
        text.remove_prefix(3);
    if (StartsWith(text, "#RULE "))
        text.remove_prefix(6);
    rules.BirthList.clear();
    rules.SurvivalList.clear();

    const bool classic = family == kFamilyGenerations || family == kFamilyLife ||
                         family == kFamilyVote || family == kFamilyOldLife;
    if (classic) {
        rules.Extended = false;
        rules.ExtendedValue = 0;
        for (int i = 0; i < kInnerTokenCount; ++i) {
            const PositionToken& p = kPositionTokens[i];
            rules.Weights[PositionIndex(p.dx, p.dy)] = 1;
        }
        rules.Weights[kCentre] = family == kFamilyVote ? 1 : 0;
    }

    if (family == kFamilyZentorix || family == kFamilyWLife) {
        ParseTokens(rules, text);
    } else if (family == kFamilyLife || family == kFamilyGenerations) {
        ParseSlashNotation(rules, text, family == kFamilyGenerations);
    } else if (family == kFamilyOldLife) {
        ParseOldLife(rules, text);
    } else if (family == kFamilyVote) {
        AddDigits(rules.BirthList, text);
        AddDigits(rules.SurvivalList, text);
        rules.History = false;
    }
}

void ParseRuleText(World& world, std::string_view text, std::string_view family, int index) {
    RuleSet& rules = world.Rules.at(static_cast<std::size_t>(index));
    const bool classic = family == kFamilyGenerations || family == kFamilyLife ||
                         family == kFamilyVote || family == kFamilyOldLife;
    if (classic) {
        world.Editor.B.fill(false);
        world.Editor.S.fill(false);
    }
    ParseRuleText(rules, text, family);
}

}  // namespace zentorix
