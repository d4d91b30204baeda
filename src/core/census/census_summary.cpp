#include "census/census_summary.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace zentorix {

namespace {

std::string Fixed(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string Percent(std::int64_t part, std::int64_t whole) {
    return Fixed(whole > 0 ? 100.0 * static_cast<double>(part) / static_cast<double>(whole) : 0);
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted.push_back('"');
        quoted.push_back(c);
    }
    return quoted + "\"";
}

std::string MarkdownField(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '|')
            out.push_back('\\');
        out.push_back(c == '\n' || c == '\r' ? ' ' : c);
    }
    return out;
}

}  // namespace

std::vector<RuleSummary> SummariseRuns(const std::vector<CensusRunRecord>& runs) {
    struct Gathered {
        RuleSummary row;
        std::map<int, std::int64_t> periods;
        std::vector<std::int64_t> settled;
        double finalSum = 0;
    };
    std::map<std::int64_t, Gathered> rules;
    std::vector<std::uint64_t> seen;
    seen.reserve(runs.size());
    for (const CensusRunRecord& r : runs)
        seen.push_back(r.run);
    std::sort(seen.begin(), seen.end());
    std::vector<bool> counted(seen.size(), false);
    for (const CensusRunRecord& r : runs) {
        const auto at = static_cast<std::size_t>(std::lower_bound(seen.begin(), seen.end(), r.run) -
                                                 seen.begin());
        if (counted[at])
            continue;
        counted[at] = true;
        Gathered& g = rules[r.ruleIndex];
        g.row.ruleIndex = r.ruleIndex;
        if (g.row.rule.empty())
            g.row.rule = r.rule;
        ++g.row.runs;
        switch (r.outcome) {
            case CensusOutcome::Dies:
                ++g.row.dies;
                break;
            case CensusOutcome::Still:
                ++g.row.still;
                break;
            case CensusOutcome::Periodic:
                ++g.row.periodic;
                ++g.periods[r.period];
                break;
            case CensusOutcome::Active:
                ++g.row.active;
                break;
        }
        if (r.outcome != CensusOutcome::Active)
            g.settled.push_back(r.generation);
        g.finalSum += static_cast<double>(r.liveFinal);
    }
    std::vector<RuleSummary> rows;
    for (auto& [index, g] : rules) {
        g.row.periods.assign(g.periods.begin(), g.periods.end());
        std::stable_sort(g.row.periods.begin(), g.row.periods.end(),
                         [](const auto& a, const auto& b) { return a.second > b.second; });
        if (!g.settled.empty()) {
            std::sort(g.settled.begin(), g.settled.end());
            const std::size_t n = g.settled.size();
            g.row.medianSettled = n % 2 ? static_cast<double>(g.settled[n / 2])
                                        : (static_cast<double>(g.settled[n / 2 - 1]) +
                                           static_cast<double>(g.settled[n / 2])) /
                                              2;
        }
        g.row.meanFinal = g.finalSum / static_cast<double>(g.row.runs);
        rows.push_back(std::move(g.row));
    }
    return rows;
}

std::string SummaryTable(const std::vector<RuleSummary>& rows, SummaryStyle style) {
    const std::vector<std::string> heads = {"rule",     "runs",           "dies %",
                                            "still %",  "periodic %",     "periods",
                                            "active %", "median settled", "mean final"};
    std::vector<std::vector<std::string>> table;
    for (const RuleSummary& r : rows) {
        std::string periods;
        for (std::size_t i = 0; i < r.periods.size() && i < 3; ++i)
            periods.append(i ? " " : "")
                .append(std::to_string(r.periods[i].first))
                .append(":")
                .append(std::to_string(r.periods[i].second));
        table.push_back({r.rule, std::to_string(r.runs), Percent(r.dies, r.runs),
                         Percent(r.still, r.runs), Percent(r.periodic, r.runs),
                         periods.empty() ? "-" : periods, Percent(r.active, r.runs),
                         r.medianSettled ? Fixed(*r.medianSettled) : "-", Fixed(r.meanFinal)});
    }
    std::string out;
    if (style == SummaryStyle::Csv) {
        const char* csvHeads =
            "rule,runs,dies_pct,still_pct,periodic_pct,periods,active_pct,"
            "median_settled,mean_final\n";
        out = csvHeads;
        for (const auto& row : table) {
            for (std::size_t i = 0; i < row.size(); ++i)
                out.append(i ? "," : "").append(CsvField(row[i]));
            out += "\n";
        }
        return out;
    }
    if (style == SummaryStyle::Markdown) {
        auto line = [&](const std::vector<std::string>& cells) {
            out += "|";
            for (const std::string& c : cells)
                out.append(" ").append(MarkdownField(c)).append(" |");
            out += "\n";
        };
        line(heads);
        out += "|---|";
        for (std::size_t i = 1; i < heads.size(); ++i)
            out += "---:|";
        out += "\n";
        for (const auto& row : table)
            line(row);
        return out;
    }
    std::vector<std::size_t> widths(heads.size());
    for (std::size_t i = 0; i < heads.size(); ++i)
        widths[i] = heads[i].size();
    for (const auto& row : table)
        for (std::size_t i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], row[i].size());
    auto line = [&](const std::vector<std::string>& cells) {
        std::string text;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const std::string pad(widths[i] - cells[i].size(), ' ');
            // The rule and its periods read left to right, the figures line up right.
            text.append(i ? "  " : "");
            if (i == 0 || i == 5)
                text.append(cells[i]).append(pad);
            else
                text.append(pad).append(cells[i]);
        }
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
        out.append(text).push_back('\n');
    };
    line(heads);
    for (const auto& row : table)
        line(row);
    return out;
}

}  // namespace zentorix
