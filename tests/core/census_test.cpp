#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <tuple>

#include "census/census_file.h"
#include "census/census_plan.h"
#include "census/census_runner.h"
#include "census/census_summary.h"
#include "core/temp_folder.h"
#include "engine/generation_step.h"
#include "model/rule_set.h"
#include "rules/typed_rule.h"

namespace zentorix {
namespace {

struct Known {
    const char* rle;  // pattern rows of an RLE file, Conway's rule unless `rule`
    int period;       // 1 still, 0 dies out
    const char* rule = "";
};

// Oscillators and still lifes alone on the start-up field (a 160 by 140 plane).
// Periods were taken from a plain set-of-cells Life simulation, apart from this
// program.
const Known kKnown[] = {
    {"2o$2o!", 1},
    {"b2o$o2bo$bobo$2bo!", 1},
    {"3o!", 2},
    {"bo$2o$2o$o!", 2},
    {"2b3o3b3o2$o4bobo4bo$o4bobo4bo$o4bobo4bo$2b3o3b3o2$2b3o3b3o$o4bobo4bo$o4bobo4bo$"
     "o4bobo4bo2$2b3o3b3o!",
     3},
    {"2bobo$5bo$bo2bo$obobo$o2bo$b2o!", 4},
    {"3b2o$2bo2bo$bo4bo$o6bo$o6bo$bo4bo$2bo2bo$3b2o!", 5},
    {"2o$2obo$4bo$bo$2bob2o$4b2o!", 8},
    {"b2ob2o$b2ob2o$2bobo$obobobo$obobobo$2o3b2o!", 14},
    {"2bo4bo$2ob4ob2o$2bo4bo!", 15},
    // Settles into period 4 after a few generations of a Generations rule.
    {"3o$b2o$obo!", 4, "345/2/4"},
    {"2o!", 0},
};

std::string Rle(const char* rows) {
    return std::string("x = 0, y = 0, rule = B3/S23\n") + rows + "\n";
}

// A census run of the file; `prepare` may change the start before it runs.
RunFigures RunFile(const std::filesystem::path& file, CensusStart start, std::string_view rule,
                   const CensusLimits& limits,
                   const std::function<void(World&, Settings&)>& prepare = {}) {
    start.base = file;
    auto world = std::make_unique<World>();
    Settings settings;
    BuildCensusStart(*world, settings, start, rule, 1);
    if (prepare)
        prepare(*world, settings);
    return RunCensusExperiment(*world, settings, limits);
}

TEST(Census, KnownPatternsEndAsTheyMust) {
    test::TempFolder folder;
    CensusLimits limits;
    limits.generations = 400;
    limits.maxPeriod = 30;
    for (const Known& k : kKnown) {
        const RunFigures f = RunFile(folder.Write("p.rle", Rle(k.rle)), {}, k.rule, limits);
        const CensusOutcome outcome = k.period == 0   ? CensusOutcome::Dies
                                      : k.period == 1 ? CensusOutcome::Still
                                                      : CensusOutcome::Periodic;
        EXPECT_EQ(std::pair(OutcomeName(f.outcome), f.period),
                  std::pair(OutcomeName(outcome), k.period))
            << k.rle;
        // In its cycle from the start (generation 1): the start repeats after
        // one period, and that is confirmed one period later.
        if (k.period > 0 && !*k.rule) {
            EXPECT_EQ(f.generation, 1 + 2 * k.period) << k.rle;
        }
    }

    // A glider on a 26 by 26 torus (a field of 25) comes back after 4 x 26
    // generations; a largest period below that leaves it active.
    const auto glider = folder.Write("glider.rle", Rle("bo$2bo$3o!"));
    CensusStart torus;
    torus.field = {25, 25};
    torus.torus = true;
    limits.maxPeriod = 200;
    RunFigures f = RunFile(glider, torus, "", limits);
    EXPECT_EQ(std::tuple(f.outcome, f.period, f.liveMin, f.liveMax),
              std::tuple(CensusOutcome::Periodic, 104, 5, 5));
    limits.maxPeriod = 103;
    EXPECT_EQ(RunFile(glider, torus, "", limits).outcome, CensusOutcome::Active);

    // An empty field does not die out where the Eternal Life layer brings cells
    // back: here every third generation.
    const auto domino = folder.Write("d.rle", Rle("2o!"));
    f = RunFile(domino, {}, "", limits, [](World& world, Settings& settings) {
        world.EternalLifeField.at(10, 10) = 1;
        settings.EternalLifeOn = true;
        settings.EternalLifePeriod = 3;
    });
    EXPECT_EQ(std::tuple(f.outcome, f.period, f.liveMax),
              std::tuple(CensusOutcome::Periodic, 3, 2));

    // A block across the torus's seam (its last column and its first) counts
    // from the first figure on; the domino beside it dies.
    f = RunFile(domino, torus, "", limits, [](World& world, Settings&) {
        for (const auto& [x, y] : {std::pair{25, 4}, {25, 5}, {0, 4}, {0, 5}})
            world.MainField.at(x, y) = 1;
    });
    EXPECT_EQ(std::tuple(f.outcome, f.liveFirst, f.liveFinal),
              std::tuple(CensusOutcome::Still, 6, 4));

    // The domino's figures: it dies in generation 1 with both cells.
    f = RunFile(domino, {}, "", limits);
    EXPECT_EQ(std::tuple(f.generation, f.liveFirst, f.liveMin, f.diedTotal, f.bornTotal),
              std::tuple(1, 2, 0, 2, 0));
}

// The census's canonical form of a field, for an oracle that keeps every one:
// the cells the step writes, the torus 0..W by 0..H, the plane 1..W+1 by 1..H+1.
std::vector<std::int32_t> Snapshot(const World& world, bool torus) {
    std::vector<std::int32_t> cells;
    for (int x = torus ? 0 : 1; x <= (torus ? world.FieldWidth() : world.ExtentX()); ++x)
        for (int y = torus ? 0 : 1; y <= (torus ? world.FieldHeight() : world.ExtentY()); ++y)
            cells.push_back(world.MainField.at(x, y) > 0);
    return cells;
}

// Every period the census names is a real repeat, the first there is, of the
// smallest period; every run it calls active has no repeat within the largest
// period. 100 soups here; ZENTORIX_CENSUS_SOUPS asks for more (1000 for the
// full check).
TEST(Census, SoupsGetNoFalsePeriod) {
    const char* asked = std::getenv("ZENTORIX_CENSUS_SOUPS");
    const int soups = asked ? std::atoi(asked) : 100;
    CensusStart start;
    start.field = {25, 25};
    start.density = 40;
    CensusLimits limits;
    limits.generations = 300;
    limits.maxPeriod = 16;
    int settled = 0;
    for (int seed = 1; seed <= soups; ++seed) {
        // Odd seeds on the plane, even ones on the torus, whose soups fill it.
        const bool torus = seed % 2 == 0;
        start.torus = torus;
        start.soup = torus ? std::pair{26, 26} : std::pair{12, 12};
        auto world = std::make_unique<World>(), replay = std::make_unique<World>();
        Settings settings, replaySettings;
        for (auto [w, s] : {std::pair{world.get(), &settings}, {replay.get(), &replaySettings}})
            BuildCensusStart(*w, *s, start, "B3/S23", static_cast<std::uint64_t>(seed));
        const RunFigures f = RunCensusExperiment(*world, settings, limits);

        // The oracle: every field kept, the first repeat found by comparison.
        std::map<std::vector<std::int32_t>, std::int64_t> seen;
        seen[Snapshot(*replay, torus)] = 0;
        std::int64_t firstRepeat = 0;
        int period = 0;
        StepObserver quiet;
        for (std::int64_t g = 1; g <= limits.generations && firstRepeat == 0; ++g) {
            GenerationStep(*replay, replaySettings, quiet,
                           torus ? StepForm::Torus : StepForm::Plain);
            auto [at, fresh] = seen.emplace(Snapshot(*replay, torus), g);
            if (!fresh && g - at->second <= limits.maxPeriod) {
                firstRepeat = g;
                period = static_cast<int>(g - at->second);
            }
            at->second = g;
            if (replay->Counters.LiveCount == 0 && firstRepeat == 0) {
                firstRepeat = g;
                period = -1;
            }
        }
        if (period == -1) {
            EXPECT_EQ(std::pair(f.outcome, f.generation),
                      std::pair(CensusOutcome::Dies, firstRepeat))
                << seed;
        } else if (period > 0) {
            EXPECT_EQ(f.period, period) << seed;
            EXPECT_TRUE(f.outcome == (period == 1 ? CensusOutcome::Still : CensusOutcome::Periodic))
                << seed;
            // Known one period after the first repeat, unless the limit came first.
            if (firstRepeat + period <= limits.generations) {
                EXPECT_EQ(f.generation, firstRepeat + period) << seed;
            }
            ++settled;
        } else {
            EXPECT_EQ(f.outcome, CensusOutcome::Active) << seed;
        }
    }
    EXPECT_GT(settled, soups / 5);
}

TEST(Census, RuleListsAndRandomRules) {
    const RuleListText list = ReadRuleList(
        "B3/S23\r\n\n# a comment\n// another\n  23/3  \nB3/S23x\n#R 345/2/4\n"
        "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,EX0,HI0,RB3,RS2,RS3,\nNWx\n");
    std::string read;
    for (const auto& r : list.rules)
        read.append(std::to_string(r.line)).append(" ").append(r.text).append("|");
    for (const auto& p : list.problems)
        read.append(std::to_string(p.line)).append("|");
    EXPECT_EQ(read,
              "1 B3/S23|5 23/3|7 #R 345/2/4|8 "
              "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,EX0,HI0,RB3,RS2,RS3,|6|9|");
    EXPECT_NE(list.problems.at(0).problem.find("B3/S23x"), std::string::npos);

    for (RandomRuleFamily family :
         {RandomRuleFamily::Life, RandomRuleFamily::Generations, RandomRuleFamily::Weighted}) {
        RandomRuleSpec spec{
            .count = 50, .family = family, .seed = 9, .weightMin = -2, .weightMax = 3};
        const std::vector<CensusRule> a = RandomRules(spec);
        ASSERT_EQ(a.size(), 50u);
        spec.seed = 10;
        const std::vector<CensusRule> other = RandomRules(spec);
        int differ = 0;
        for (std::size_t i = 0; i < a.size(); ++i) {
            differ += a[i].text != other[i].text;
            RuleSet rules;
            const TypedRuleResult read = ReadTypedRule(rules, a[i].text);
            EXPECT_TRUE(read.problem.empty()) << a[i].text << ": " << read.problem;
            EXPECT_FALSE(rules.BirthList.empty()) << a[i].text;
            EXPECT_EQ(rules.History, family == RandomRuleFamily::Generations) << a[i].text;
            for (int p = 0; p < kPositionCount && family == RandomRuleFamily::Weighted; ++p) {
                EXPECT_TRUE(IsInnerRing(p) ? rules.Weights[p] >= -2 && rules.Weights[p] <= 3
                                           : rules.Weights[p] == 0)
                    << a[i].text;
            }
        }
        EXPECT_GT(differ, 40) << RandomFamilyName(family);
        spec.seed = 9;
        EXPECT_TRUE(
            std::ranges::equal(a, RandomRules(spec), {}, &CensusRule::text, &CensusRule::text));
    }
    // Weights of 0 reach only the sum 0, which would fill every empty region: born with 1.
    RuleSet zero;
    ReadTypedRule(zero, RandomRules({1, RandomRuleFamily::Weighted, 9, 0, 0})[0].text);
    EXPECT_EQ(zero.BirthList, std::vector<std::int32_t>{1});
}

TEST(Census, SummaryOfAHandCheckedCensus) {
    using O = CensusOutcome;
    const std::vector<CensusRunRecord> runs = {
        {0, 0, "B3/S23", 0, O::Periodic, 2, 40, 0, 0, 0, 10},
        {1, 0, "B3/S23", 0, O::Still, 1, 10, 0, 0, 0, 4},
        {2, 0, "B3/S23", 0, O::Periodic, 2, 30, 0, 0, 0, 6},
        {3, 0, "B3/S23", 0, O::Active, 0, 1000, 0, 0, 0, 100},
        {5, 1, "B36/S23", 0, O::Dies, 0, 7, 0, 0, 0, 0},
        {4, 1, "B36/S23", 0, O::Periodic, 15, 300, 0, 0, 0, 12},
        {2, 0, "B3/S23", 0, O::Periodic, 2, 30, 0, 0, 0, 6},  // the same run from another file
        {6, 1, "B36/S23", 0, O::Periodic, 3, 51, 0, 0, 0, 3},
    };
    const std::vector<RuleSummary> rows = SummariseRuns(runs);
    EXPECT_EQ(SummaryTable(rows, SummaryStyle::Text),
              "rule     runs  dies %  still %  periodic %  periods   active %  median settled  "
              "mean final\n"
              "B3/S23      4     0.0     25.0        50.0  2:2           25.0            30.0  "
              "      30.0\n"
              "B36/S23     3    33.3      0.0        66.7  3:1 15:1       0.0            51.0  "
              "       5.0\n");
    EXPECT_EQ(SummaryTable(rows, SummaryStyle::Csv),
              "rule,runs,dies_pct,still_pct,periodic_pct,periods,active_pct,median_settled,"
              "mean_final\n"
              "B3/S23,4,0.0,25.0,50.0,2:2,25.0,30.0,30.0\n"
              "B36/S23,3,33.3,0.0,66.7,3:1 15:1,0.0,51.0,5.0\n");
    const std::string markdown = SummaryTable(rows, SummaryStyle::Markdown);
    EXPECT_EQ(markdown.substr(0, markdown.find('\n')),
              "| rule | runs | dies % | still % | periodic % | periods | active % | median settled "
              "| mean final |");
    EXPECT_NE(markdown.find("| B36/S23 | 3 | 33.3 | 0.0 | 66.7 | 3:1 15:1 | 0.0 | 51.0 | 5.0 |"),
              std::string::npos);
}

TEST(Census, JsonValuesAndCensusHeaders) {
    const char* texts[] = {
        R"({"a":[1,-2.5e3,true,false,null],"b":{"c":"x\"\\\n\u00e9\ud83d\ude00"}})", R"([])",
        R"({})", R"("")", R"(0)"};
    for (const char* text : texts) {
        const auto value = ParseJson(text);
        ASSERT_TRUE(value) << text;
        EXPECT_EQ(ParseJson(JsonText(*value)).has_value(), true) << text;
        EXPECT_EQ(JsonText(*ParseJson(JsonText(*value))), JsonText(*value)) << text;
    }
    EXPECT_EQ(ParseJson(R"({"c":"\u00e9"})")->StringOf("c"), "\xc3\xa9");
    for (const char* bad :
         {"{", "[1,]", "01", "1.", "\"\\ud800\"", "{\"a\" 1}", "tru", "1 2", "\"a\nb\"", "-"})
        EXPECT_FALSE(ParseJson(bad)) << bad;
    EXPECT_FALSE(ParseJson(std::string(40, '[') + std::string(40, ']')));
    // A census file begins with a whole header line of version 1 with parameters.
    for (const char* wrong : {"", "{\"census\":2,\"parameters\":{}}\n", "[1]\n", "{\"census\":1}\n",
                              "{\"census\":1,\"parameters\":{}}"})
        EXPECT_FALSE(ReadCensusText(wrong).error.empty()) << wrong;
    EXPECT_TRUE(ReadCensusText("{\"census\":1,\"parameters\":{}}\n").error.empty());
    // Bytes that are no UTF-8 (a lone byte, a surrogate, an overlong form) become
    // U+FFFD each; real characters of 2, 3 and 4 bytes pass.
    const std::string bad = "\xef\xbf\xbd";
    EXPECT_EQ(JsonQuote("a\x01\xff\xed\xa0\x80\xe0\x80\x80\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80"),
              "\"a\\u0001" + bad + bad + bad + bad + bad + bad + bad +
                  "\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80\"");
}

// A run chosen from a census file is rebuilt from what its header names; a
// header that leaves a key out keeps the default, a wrong type is refused.
TEST(Census, StartOfParametersReadsWhatTheHeaderNames) {
    const auto start = [](const char* json) { return StartOfParameters(*ParseJson(json)); };
    const auto bare = start(R"({"field":null})");
    ASSERT_TRUE(bare);
    EXPECT_EQ(std::tuple(bare->base, bare->field, bare->soup, bare->torus),
              std::tuple(std::nullopt, std::nullopt, std::nullopt, std::nullopt));
    const auto full =
        start(R"({"base":"b.rle","field":[30,40],"soup":[5,6],"density":37,"torus":true})");
    ASSERT_TRUE(full);
    EXPECT_EQ(
        std::tuple(full->base->string(), *full->field, *full->soup, full->density, *full->torus),
        std::tuple("b.rle", std::pair(30, 40), std::pair(5, 6), 37, true));
    for (const char* wrong : {R"([])", R"({"torus":1})", R"({"field":[24,30]})",
                              R"({"soup":[5,6],"density":101})", R"({"base":3})"})
        EXPECT_FALSE(start(wrong)) << wrong;
}

}  // namespace
}  // namespace zentorix
