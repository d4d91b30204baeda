#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "core/temp_folder.h"
#include "stats/statistics_graph.h"
#include "stats/statistics_recorder.h"

namespace zentorix {
namespace {

const StatTexts kTexts = DefaultStatTexts();
const std::string kRule(55, '-');
constexpr const char* kClock = "12:34:56 01.02.2025";
// The start-up rule in the form the header writes it.
constexpr const char* kRuleText = "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,RS2,RS3,";

struct Counts {
    int generation, live, first, born, died;
};

// The opening block as the documented texts make it.
std::vector<std::string> Header(const std::vector<std::string>& range,
                                const std::string& layers = "Eternal Life, ") {
    std::vector<std::string> lines = {kTexts[1], kTexts[2] + kClock,    kTexts[3] + "new.zlf",
                                      kTexts[4], kTexts[5] + kRuleText, kTexts[6] + layers,
                                      kTexts[7]};
    lines.insert(lines.end(), range.begin(), range.end());
    lines.insert(lines.end(), {kTexts[12], kRule, kTexts[14], kRule});
    return lines;
}

std::vector<std::string> Footer(long long lines, long long born, long long died, long long live,
                                const std::array<std::string, 3>& rates, int diedAt = 0) {
    std::vector<std::string> text = {kRule};
    if (diedAt)
        text.push_back(kTexts[15] + std::to_string(diedAt) + kTexts[16]);
    text.insert(text.end(), {kTexts[17] + std::to_string(lines) + kTexts[18],
                             kTexts[19] + std::to_string(born) + kTexts[20],
                             kTexts[21] + std::to_string(died) + kTexts[20],
                             kTexts[22] + std::to_string(live) + kTexts[20], kTexts[23] + rates[0],
                             kTexts[24] + rates[1], kTexts[25] + rates[2], kTexts[26]});
    return text;
}

// The recorded range as the header gives it; an empty end is a recording by hand.
std::vector<std::string> Range(const std::string& start, const std::string& end) {
    return {kTexts[8] + start + kTexts[9], end.empty() ? kTexts[11] : kTexts[10] + end + kTexts[9]};
}

class Recording : public ::testing::Test {
  protected:
    test::TempFolder folder;
    std::unique_ptr<World> world = std::make_unique<World>();
    Settings settings;
    StatisticsRecorder recorder{folder / "stat.txt"};

    Recording() {
        recorder.SetClock([] { return std::string(kClock); });
    }

    // One finished generation with these counts, as the step reports it.
    void Generation(const Counts& c) {
        world->Counters = {c.live, c.first, c.born, c.died, c.generation, 1};
        recorder.RecordGenerationStatistics(*world, settings);
    }
    // Generations from..to with `live` cells, 1 born and 1 died each.
    void Run(int from, int to, int live = 5) {
        for (int g = from; g <= to; ++g)
            Generation({g, live, live, 1, 1});
    }
    // The file's lines, each ended by CR LF; a line without is left out.
    std::vector<std::string> File() const {
        const std::string bytes = test::TempFolder::Read(folder / "stat.txt");
        std::vector<std::string> lines;
        for (std::size_t at = 0, end; (end = bytes.find("\r\n", at)) != bytes.npos; at = end + 2)
            lines.push_back(bytes.substr(at, end - at));
        return lines;
    }
    void Arm(int start, int end) {
        settings.StartRecordStatistic = start;
        settings.EndRecordStatistic = end;
        recorder.AutoStartRecordClick(settings, true);
    }
};

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

std::vector<std::string> DataLines(int from, int to, int live = 5) {
    std::vector<std::string> lines;
    for (int g = from; g <= to; ++g) {
        std::string line = StatisticsDataLine(g, live, live, 1, 1);
        lines.push_back(line.substr(0, line.size() - 2));
    }
    return lines;
}

TEST_F(Recording, AutomaticRangeWritesTheWholeFileAndDisarms) {
    Arm(10, 12);
    Run(1, 11);
    EXPECT_TRUE(recorder.Recording());
    Run(12, 14);
    EXPECT_EQ(File(), Join({Header(Range("    10", "    12")), DataLines(10, 12),
                            Footer(3, 3, 3, 15, {"18.75%", "18.75%", "75.00%"})}));
}

TEST_F(Recording, DieOutEndsTheRecordingRedWithItsLine) {
    Arm(15, 300);
    Run(1, 19);
    Generation({20, 0, 0, 0, 5});
    Run(21, 22);  // recording over: nothing more is written
    std::vector<std::string> data = DataLines(15, 19);
    data.push_back("|       20  |     0   |       0  |     0    |      5  |");
    EXPECT_EQ(File(), Join({Header(Range("    15", "   300")), data,
                            Footer(6, 5, 10, 25, {"38.46%", "19.23%", "45.45%"}, 20)}));
    EXPECT_EQ(std::tuple(recorder.DiedOut(), recorder.Panel().colour, settings.AutoStartRecord),
              std::tuple(true, panel_colour::Red, false));
}

TEST_F(Recording, ByHandAcrossStopAndAgain) {
    // Started by hand between steps: the header names the next generation.
    world->Counters.Generation = 7;
    recorder.RecordStatisticButtonClick(*world, settings);
    Run(7, 9, 0);  // a dead field does not end a recording by hand
    EXPECT_TRUE(recorder.Recording());
    // Stop resets the generation to 1: the recording ends there and N counts the
    // three lines, not 1 - 7 + 1.
    world->Counters.Generation = 1;
    recorder.RunStopped(*world, settings);
    EXPECT_EQ(File(), Join({Header(Range("     7", "")), DataLines(7, 9, 0),
                            Footer(3, 3, 3, 0, {"300.00%", "300.00%", "75.00%"})}));
    // A second recording replaces the file; all totals 0 give 0 rates. Ended by
    // hand after two generations, it counts two, not the next generation's three.
    world->Counters.Generation = 1;
    settings.EternalLifeOn = false;
    settings.EternalDeadOn = settings.OtherRealityOn = true;
    recorder.RecordStatisticButtonClick(*world, settings);
    Generation({1, 0, 0, 0, 0});
    Generation({2, 0, 0, 0, 0});
    world->Counters.Generation = 3;
    recorder.RecordStatisticButtonClick(*world, settings);
    std::vector<std::string> data = {"|        1  |     0   |       0  |     0    |      0  |",
                                     "|        2  |     0   |       0  |     0    |      0  |"};
    EXPECT_EQ(File(), Join({Header(Range("     1", ""), "Eternal Dead, Other Rules, "), data,
                            Footer(2, 0, 0, 0, {"0.00%", "0.00%", "0.00%"})}));
    // Stop with nothing recording writes nothing.
    recorder.RunStopped(*world, settings);
    EXPECT_EQ(File().size(), 13u + 2u + 9u);
}

TEST(StatisticsText, WideNumbersDescriptionAndLargeTotals) {
    // A number wider than its column is written whole and pushes the rest right.
    EXPECT_EQ(StatisticsDataLine(123456789, 1234567, 0, 994009, 1),
              "| 123456789  |1234567   |       0  |994009    |      1  |\r\n");
    StatisticsHeaderFacts facts;
    facts.description = {"first", "second"};
    facts.autoStart = true;
    facts.start = 1234567;
    facts.end = 32000;
    const std::vector<std::string> lines = SplitLines(StatisticsHeaderText(kTexts, facts));
    EXPECT_EQ(std::vector(lines.begin() + 3, lines.begin() + 9),
              (std::vector<std::string>{kTexts[4] + "first", "second", kTexts[5], kTexts[6],
                                        kTexts[7], kTexts[8] + "1234567" + kTexts[9]}));
    // A full 997 x 997 field over 32000 generations: the totals and the products
    // by 100 need 64 bits.
    const long long full = 997LL * 997 * 32000;
    const struct {
        long long numerator, divisor;
        const char* percentage;
    } rates[] = {{0, 0, "0.00%"},
                 {1, 2, "33.33%"},
                 {2, 0, "200.00%"},
                 {full, full, "99.99%"},
                 {full, 0, "3180828800000.00%"},
                 {5, 199, "2.50%"}};
    for (const auto& r : rates)
        EXPECT_EQ(StatisticsPercentage(r.numerator, r.divisor), r.percentage) << r.numerator;
    const auto footer = SplitLines(StatisticsFooterText(kTexts, {full, full, 0}, 32000, {}));
    EXPECT_EQ(footer[2] + footer[6],
              kTexts[19] + "31808288000" + kTexts[20] + kTexts[24] + "99.99%");
}

TEST_F(Recording, UnwritableFileIsReportedOnceAndTheRecordingEnds) {
    const auto blocked = folder / "blocked";
    std::filesystem::create_directories(blocked);
    recorder.SetFile(blocked);  // a folder cannot be opened as a file
    Arm(2, 10);
    Run(1, 5);
    EXPECT_FALSE(recorder.Recording() || settings.AutoStartRecord);
    EXPECT_NE(recorder.TakeFailure().find("blocked"), std::string::npos);
    EXPECT_EQ(recorder.TakeFailure(), "");
    // The next recording may work again.
    recorder.SetFile(folder / "stat.txt");
    world->Counters.Generation = 6;
    recorder.RecordStatisticButtonClick(*world, settings);
    Run(6, 6);
    EXPECT_TRUE(recorder.Recording());
    EXPECT_EQ(File().size(), 13u + 1u);
}

// The chart: pages, offsets, labels and the pulse.
TEST(StatisticsGraph, PagesOffsetsLabelsAndPulse) {
    Settings settings;
    settings.AutoScaleY = false;
    LiveHistory history;
    StatisticsGraph graph;
    graph.SetSize(150, 200);
    // A fine grid line every 5 pixels (31 + 41), a coarse one every 25 (7 + 9), 5 more.
    const auto lines = graph.PageLines();
    EXPECT_EQ(std::pair(lines.size(), lines[1].from.x), std::pair(std::size_t{93}, 5));
    // ScaleX 2: points at x = 25, 28, ..., 136, then a new page.
    GraphStep step = graph.StartPage(300, 0, 0, history, settings);
    // The band is 125.
    EXPECT_EQ(std::tuple(step.newPage, graph.Offsets()[0], step.segments[kLiveLayer].to),
              std::tuple(true, 250, GraphPoint{25, 95}));
    const auto labels = graph.PageLabels();
    EXPECT_EQ(std::pair(labels[6].text + labels.back().text, labels[6].at),
              std::pair(std::string("250life"), GraphPoint{0, 140}));
    std::vector<int> xs = {step.segments[kLiveLayer].to.x};
    for (int i = 1; i < 38; ++i) {
        step = graph.Draw(10, 2, 1, history, settings);
        EXPECT_FALSE(step.newPage);
        EXPECT_EQ(step.segments[kBornLayer].to.y, 200 - 2 - 80);
        EXPECT_EQ(step.segments[kLiveLayer].from.x, xs.back());
        xs.push_back(step.segments[kLiveLayer].to.x);
    }
    EXPECT_EQ(std::pair(xs.front(), xs.back()), std::pair(25, 136));
    // Dead from here on: "dead" at the next page, the pulse flat at h - 23.
    step = graph.Draw(0, 0, 3, history, settings);
    EXPECT_EQ(std::tuple(step.newPage, graph.PageLabels().back().text, graph.Offsets()),
              std::tuple(true, "dead", std::array<int, 3>{0, 0, 0}));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(graph.Draw(0, 0, 0, history, settings).segments[kPulseLayer].to.y, 177);
    // A live population, a single cell too, pulses through h - 23, h - 23,
    // h - 17, h - 11.
    std::vector<int> pulse;
    for (int live : {5, 1, 1, 5})
        pulse.push_back(graph.Draw(live, 0, 0, history, settings).segments[kPulseLayer].to.y);
    EXPECT_EQ(pulse, (std::vector<int>{177, 177, 183, 189}));

    // Charts of height 125 or less: every band is at least one pixel.
    const std::pair<int, std::array<int, 3>> low[] = {
        {125, {0, 25, 20}}, {100, {25, 30, 20}}, {60, {40, 30, 20}}, {1, {40, 30, 20}}};
    for (const auto& [height, offsets] : low) {
        graph.SetSize(150, height);
        graph.StartPage(40, 30, 20, history, settings);
        EXPECT_EQ(graph.Offsets(), offsets) << height;
    }
}

TEST(StatisticsGraph, AutoScaleStaysWithinItsRangeAndEnds) {
    const struct {
        int scaleX, scaleY, minThreshold, maxThreshold;
        int from, to;  // live counts over the history, rising
        int expected;
    } cases[] = {
        {2, 1, 10, 100, 1000, 1050, 1},       // 50 + 11 inside (10, 100): kept
        {1, 1, 10, 100, 0, 1000, 51},         // too wide: coarser
        {2, 40, 10, 100, 0, 0, 1},            // flat: finer down to 1, not below
        {6, 7, 10, 100, 0, 1000, 7},          // no slot scanned: kept
        {1, 1, 30, 30, 0, 100, 7},            // empty band: ends after its last step
        {1, 1, 10, 30, 0, 2000000000, 9999},  // beyond the control: 9999
        {2, 1, 10, 100, 100000, 100050, 1},   // large fields keep their own minimum
    };
    for (const auto& c : cases) {
        Settings settings;
        settings.StatisticScaleX = c.scaleX;
        settings.StatisticScaleY = c.scaleY;
        settings.MinThreshold = c.minThreshold;
        settings.MaxThreshold = c.maxThreshold;
        LiveHistory history;
        for (int i = 0; i < 114; ++i)
            history.Push(
                static_cast<int>(c.from + static_cast<long long>(c.to - c.from) * i / 113));
        AutoScaleStatisticsY(history, settings);
        EXPECT_EQ(settings.StatisticScaleY, c.expected) << c.from << ".." << c.to;
        settings.AutoScaleY = false;
        settings.StatisticScaleY = 5;
        AutoScaleStatisticsY(history, settings);
        EXPECT_EQ(settings.StatisticScaleY, 5);
    }
}

}  // namespace
}  // namespace zentorix
