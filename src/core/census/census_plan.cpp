#include "census/census_plan.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "engine/rule_text.h"
#include "formats/text_file.h"
#include "stats/statistics_text.h"

namespace zentorix {

namespace {

std::string ReadWhole(const std::filesystem::path& path, const char* what) {
    std::optional<std::string> bytes = ReadFileBytes(path);
    if (!bytes)
        throw FileError(std::string("cannot read the ") + what + " '" + path.string() + "'");
    return std::move(*bytes);
}

JsonValue Pair(std::int64_t a, std::int64_t b) {
    return JsonArray({JsonInteger(a), JsonInteger(b)});
}

JsonValue PathOrNull(const std::optional<std::filesystem::path>& path) {
    return path ? JsonString(path->string()) : JsonNull();
}

// The percentage of a statistics footer as a plain number: "12.34%" -> 12.34.
JsonValue Percentage(std::int64_t numerator, std::int64_t divisor) {
    std::string text = StatisticsPercentage(numerator, divisor);
    if (!text.empty() && text.back() == '%')
        text.pop_back();
    return JsonNumberText(std::move(text));
}

}  // namespace

std::string ContentDigest(std::string_view bytes) {
    std::uint64_t h = 0xCBF29CE484222325ULL;
    for (const char c : bytes) {
        h ^= static_cast<unsigned char>(c);
        h *= 0x100000001B3ULL;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
    return text;
}

std::uint64_t CensusPlan::RunsInShard() const {
    const auto n = static_cast<std::uint64_t>(parameters.shardCount);
    const auto i = static_cast<std::uint64_t>(parameters.shardIndex - 1);
    const std::uint64_t runs = Runs();
    return runs / n + (i < runs % n ? 1 : 0);
}

CensusPlan MakeCensusPlan(CensusParameters parameters) {
    CensusPlan plan;
    if (parameters.rulesFile) {
        const std::string bytes = ReadWhole(*parameters.rulesFile, "rules file");
        parameters.rulesDigest = ContentDigest(bytes);
        RuleListText list = ReadRuleList(bytes);
        plan.rules = std::move(list.rules);
        plan.problems = std::move(list.problems);
    }
    if (parameters.random) {
        std::vector<CensusRule> generated = RandomRules(*parameters.random);
        plan.rules.insert(plan.rules.end(), generated.begin(), generated.end());
    }
    if (!parameters.rulesFile && !parameters.random)
        plan.rules.push_back({});
    if (parameters.start.base)
        parameters.baseDigest = ContentDigest(ReadWhole(*parameters.start.base, "base file"));
    plan.parameters = std::move(parameters);
    auto world = std::make_unique<World>();
    Settings settings;
    BuildCensusStart(*world, settings, plan.parameters.start, {}, plan.parameters.seedFirst);
    plan.baseRuleText = FormatRuleTokens(world->Rules[0]);
    return plan;
}

JsonValue ParametersJson(const CensusParameters& p) {
    JsonValue random = JsonNull();
    if (p.random)
        random =
            JsonObject({{"count", JsonInteger(p.random->count)},
                        {"family", JsonString(std::string(RandomFamilyName(p.random->family)))},
                        {"seed", JsonNumberText(std::to_string(p.random->seed))},
                        {"weights", Pair(p.random->weightMin, p.random->weightMax)}});
    const CensusStart& s = p.start;
    return JsonObject({
        {"rules_file", PathOrNull(p.rulesFile)},
        {"rules_digest", p.rulesFile ? JsonString(p.rulesDigest) : JsonNull()},
        {"random", random},
        {"base", PathOrNull(s.base)},
        {"base_digest", s.base ? JsonString(p.baseDigest) : JsonNull()},
        {"field", s.field ? Pair(s.field->first, s.field->second) : JsonNull()},
        {"soup", s.soup ? Pair(s.soup->first, s.soup->second) : JsonNull()},
        {"density", s.soup ? JsonInteger(s.density) : JsonNull()},
        {"torus", s.torus ? JsonBool(*s.torus) : JsonNull()},
        {"seeds", JsonArray({JsonNumberText(std::to_string(p.seedFirst)),
                             JsonNumberText(std::to_string(p.seedLast))})},
        {"generations", JsonInteger(p.limits.generations)},
        {"max_period", JsonInteger(p.limits.maxPeriod)},
        {"shard", Pair(p.shardIndex, p.shardCount)},
    });
}

JsonValue MergeableParametersJson(const JsonValue& parameters) {
    JsonValue kept = parameters;
    std::erase_if(kept.members, [](const JsonMember& member) {
        return member.name == "shard" || member.name == "rules_file" || member.name == "base";
    });
    return kept;
}

std::optional<CensusStart> StartOfParameters(const JsonValue& p) {
    if (p.kind != JsonValue::Kind::Object)
        return std::nullopt;
    CensusStart start;
    auto size = [&](const char* name, int low, std::optional<std::pair<int, int>>& into) {
        const JsonValue* v = p.Find(name);
        if (!v || v->IsNull())
            return true;
        if (v->kind != JsonValue::Kind::Array || v->items.size() != 2)
            return false;
        const auto w = v->items[0].Integer(), h = v->items[1].Integer();
        if (!w || !h || *w < low || *h < low || *w > 999 || *h > 999)
            return false;
        into = std::pair{static_cast<int>(*w), static_cast<int>(*h)};
        return true;
    };
    if (!size("field", 25, start.field) || !size("soup", 1, start.soup))
        return std::nullopt;
    if (const JsonValue* base = p.Find("base"); base && !base->IsNull()) {
        if (base->kind != JsonValue::Kind::String)
            return std::nullopt;
        start.base = base->text;
    }
    if (const JsonValue* torus = p.Find("torus"); torus && !torus->IsNull()) {
        if (torus->kind != JsonValue::Kind::Boolean)
            return std::nullopt;
        start.torus = torus->boolean;
    }
    if (start.soup) {
        const auto density = p.IntegerOf("density");
        if (!density || *density < 0 || *density > 100)
            return std::nullopt;
        start.density = static_cast<int>(*density);
    }
    return start;
}

std::string CensusHeaderLine(const CensusPlan& plan, std::string_view version,
                             std::string_view started) {
    std::vector<JsonValue> problems;
    for (const RuleLineProblem& p : plan.problems)
        problems.push_back(
            JsonObject({{"line", JsonInteger(p.line)}, {"problem", JsonString(p.problem)}}));
    const JsonValue header = JsonObject({
        {"census", JsonInteger(1)},
        {"version", JsonString(std::string(version))},
        {"parameters", ParametersJson(plan.parameters)},
        {"summary",
         JsonObject({{"rules", JsonInteger(static_cast<std::int64_t>(plan.rules.size()))},
                     {"seeds", JsonNumberText(std::to_string(plan.Seeds()))},
                     {"runs", JsonNumberText(std::to_string(plan.Runs()))},
                     {"runs_in_shard", JsonNumberText(std::to_string(plan.RunsInShard()))},
                     {"unreadable_rule_lines",
                      JsonInteger(static_cast<std::int64_t>(plan.problems.size()))},
                     {"problems", JsonArray(std::move(problems))}})},
        {"started", JsonString(std::string(started))},
    });
    return JsonText(header) + "\n";
}

std::string CensusRunLine(const CensusPlan& plan, std::uint64_t run, const RunFigures& f) {
    const std::size_t ruleIndex = plan.RuleOf(run);
    const CensusRule& rule = plan.rules.at(ruleIndex);
    const bool hasPeriod =
        f.outcome == CensusOutcome::Still || f.outcome == CensusOutcome::Periodic;
    const JsonValue line = JsonObject({
        {"run", JsonNumberText(std::to_string(run))},
        {"rule_index", JsonInteger(static_cast<std::int64_t>(ruleIndex))},
        {"rule", JsonString(rule.text.empty() ? plan.baseRuleText : rule.text)},
        {"rule_line", rule.line > 0 ? JsonInteger(rule.line) : JsonNull()},
        {"seed", JsonNumberText(std::to_string(plan.SeedOf(run)))},
        {"outcome", JsonString(std::string(OutcomeName(f.outcome)))},
        {"period", hasPeriod ? JsonInteger(f.period) : JsonNull()},
        {"generation", JsonInteger(f.generation)},
        {"live_first", JsonInteger(f.liveFirst)},
        {"live_min", JsonInteger(f.liveMin)},
        {"live_max", JsonInteger(f.liveMax)},
        {"live_final", JsonInteger(f.liveFinal)},
        {"born_total", JsonInteger(f.bornTotal)},
        {"died_total", JsonInteger(f.diedTotal)},
        {"live_total", JsonInteger(f.liveTotal)},
        {"mortality", Percentage(f.diedTotal, f.liveTotal)},
        {"birth_rate", Percentage(f.bornTotal, f.liveTotal)},
        {"ratio", Percentage(f.bornTotal, f.diedTotal)},
    });
    return JsonText(line) + "\n";
}

}  // namespace zentorix
