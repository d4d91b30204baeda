#include "census/census_file.h"

namespace zentorix {

namespace {

std::optional<std::uint64_t> Unsigned(const JsonValue& object, std::string_view name) {
    const JsonValue* v = object.Find(name);
    if (!v || v->kind != JsonValue::Kind::Number || v->text.empty() || v->text[0] == '-')
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : v->text) {
        if (c < '0' || c > '9' || value > (UINT64_MAX - 9) / 10)
            return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value;
}

}  // namespace

bool LooksLikeCensus(std::string_view head) {
    std::size_t at = 0;
    while (at < head.size() && (head[at] == ' ' || head[at] == '\t'))
        ++at;
    return head.substr(at, 10) == "{\"census\":";
}

std::optional<CensusRunRecord> ReadRunLine(const JsonValue& line) {
    if (line.kind != JsonValue::Kind::Object)
        return std::nullopt;
    CensusRunRecord r;
    const auto run = Unsigned(line, "run");
    const auto seed = Unsigned(line, "seed");
    const auto rule = line.StringOf("rule");
    const auto outcomeText = line.StringOf("outcome");
    const auto ruleIndex = line.IntegerOf("rule_index");
    if (!run || !seed || !rule || !outcomeText || !ruleIndex || *ruleIndex < 0)
        return std::nullopt;
    const auto outcome = OutcomeNamed(*outcomeText);
    if (!outcome)
        return std::nullopt;
    r.run = *run;
    r.seed = *seed;
    r.rule = *rule;
    r.ruleIndex = *ruleIndex;
    r.outcome = *outcome;
    if (const JsonValue* period = line.Find("period"); period && !period->IsNull()) {
        const auto p = period->Integer();
        if (!p || *p < 1 || *p > 1'000'000)
            return std::nullopt;
        r.period = static_cast<int>(*p);
    }
    const std::pair<std::string_view, std::int64_t*> counts[] = {
        {"generation", &r.generation}, {"live_first", &r.liveFirst}, {"live_min", &r.liveMin},
        {"live_max", &r.liveMax},      {"live_final", &r.liveFinal}, {"born_total", &r.bornTotal},
        {"died_total", &r.diedTotal}};
    for (const auto& [name, into] : counts) {
        const auto value = line.IntegerOf(name);
        if (!value)
            return std::nullopt;
        *into = *value;
    }
    return r;
}

CensusFileContent ReadCensusText(std::string_view text) {
    CensusFileContent content;
    std::size_t at = 0;
    bool first = true;
    while (at < text.size()) {
        const std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            break;  // a line cut short
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        std::optional<JsonValue> value = ParseJson(line);
        if (first) {
            first = false;
            const auto version = value ? value->IntegerOf("census") : std::nullopt;
            if (!value || version != 1 || !value->Find("parameters")) {
                content.error = "not a census file (its first line is no census header)";
                return content;
            }
            content.header = std::move(*value);
            content.completeBytes = at;
            continue;
        }
        content.completeBytes = at;
        if (std::optional<CensusRunRecord> run = value ? ReadRunLine(*value) : std::nullopt)
            content.runs.push_back(std::move(*run));
        else if (!line.empty())
            ++content.unreadableLines;
    }
    if (first)
        content.error = "not a census file (it has no whole header line)";
    return content;
}

}  // namespace zentorix
