#include "stats/statistics_graph.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace zentorix {

namespace {

// Per curve (live, born, died): the base line above the chart's bottom, the
// band height below the chart's top, the pen colour.
constexpr int kBase[3] = {55, 80, 105};
constexpr int kBandMargin[3] = {75, 100, 125};
constexpr std::uint32_t kCurveColour[3] = {0xFFFFFF, 0xFF0000, 0xA0A000};
constexpr std::uint32_t kPulseColour = 0x0000FF;

// Enough steps for the scale to walk from 9999 down to 1; the rule as such can
// alternate for ever when both thresholds are 30.
constexpr int kMaxScaleSteps = 10000;

}  // namespace

void AutoScaleStatisticsY(const LiveHistory& history, Settings& settings) {
    if (!settings.AutoScaleY)
        return;
    const int last = LiveHistory::kLastSlot / settings.StatisticScaleX;
    if (last < LiveHistory::kFirstSlot)
        return;  // no slot scanned: nothing to scale by
    std::int64_t max = 0;
    std::int64_t min = INT_MAX;  // a fixed 30000 would hide the range of larger fields
    for (int slot = LiveHistory::kFirstSlot; slot <= last; ++slot) {
        max = std::max<std::int64_t>(max, history.Slot(slot));
        min = std::min<std::int64_t>(min, history.Slot(slot));
    }
    const int low = settings.MinThreshold;
    const int high = settings.MaxThreshold;
    if (max - min < high)
        max += low + 1;
    std::int64_t scale = settings.StatisticScaleY;
    for (int step = 0; step < kMaxScaleSteps; ++step) {
        const std::int64_t r = (max - min) / scale;
        if (r >= high) {
            if (scale >= 9999)
                break;
            scale = std::min<std::int64_t>(9999, scale + r / high * 5);
        } else if (r <= low) {
            if (scale <= 1)
                break;
            --scale;
        } else {
            break;
        }
    }
    settings.StatisticScaleY = scale;
}

int StatisticsGraph::CurveY(int curve, std::int32_t value) const {
    return height_ - value / scaleY_ - kBase[curve] + offsets_[curve];
}

GraphStep StatisticsGraph::StartPage(std::int32_t live, std::int32_t born, std::int32_t died,
                                     const LiveHistory& history, Settings& settings) {
    graphX_ = PageEnd() + 2;
    pulsePhase_ = 1;
    return Draw(live, born, died, history, settings);
}

GraphStep StatisticsGraph::Draw(std::int32_t live, std::int32_t born, std::int32_t died,
                                const LiveHistory& history, Settings& settings) {
    GraphStep step;
    const std::int32_t values[3] = {live, born, died};
    ++graphX_;
    if (graphX_ > PageEnd()) {
        step.newPage = true;
        graphX_ = kPageStart;
        pulsePhase_ = 1;
        AutoScaleStatisticsY(history, settings);
        scaleY_ = settings.StatisticScaleY;
        for (int curve = 0; curve < 3; ++curve) {
            // A chart too low for a band still gets one pixel, never a division by 0.
            const int band = std::max(1, height_ - kBandMargin[curve]);
            const int scaled = values[curve] / scaleY_;
            offsets_[curve] = scaled >= band ? scaled / band * band : 0;
            pens_[curve] = {kPageStart, CurveY(curve, values[curve])};
        }
        pens_[kPulseLayer] = {kPageStart, height_ - 10};
        pageAlive_ = live > 0;
    }
    scaleY_ = settings.StatisticScaleY;
    const int x = graphX_;
    for (int curve = 0; curve < 3; ++curve) {
        const GraphPoint to{x, CurveY(curve, values[curve])};
        step.segments[curve] = {pens_[curve], to, kCurveColour[curve]};
        pens_[curve] = to;
    }
    const int pulse = static_cast<int>(std::lround(std::sin(pulsePhase_)));
    const GraphPoint to{x, height_ - pulse * 6 - 17};
    step.segments[kPulseLayer] = {pens_[kPulseLayer], to, kPulseColour};
    pens_[kPulseLayer] = to;
    graphX_ += settings.StatisticScaleX;
    pulsePhase_ = live > 0 ? pulsePhase_ + 1 : 1;
    return step;
}

std::vector<GraphLine> StatisticsGraph::PageLines() const {
    std::vector<GraphLine> lines;
    const int w = width_;
    const int h = height_;
    for (int spacing : {5, 25}) {
        const std::uint32_t colour = spacing == 5 ? 0x000066 : 0x005500;
        for (int x = 0; x <= w; x += spacing)
            lines.push_back({{x, 0}, {x, h}, colour, false});
        for (int y = 0; y <= h; y += spacing)
            lines.push_back({{0, y}, {w, y}, colour, false});
    }
    lines.push_back({{25, 25}, {25, h}, 0x008000, true});
    lines.push_back({{0, 15}, {w, 15}, 0x008000, true});
    const std::uint32_t baseColour[3] = {0xAAAAAA, 0xAA0000, 0x777777};
    for (int curve = 0; curve < 3; ++curve)
        lines.push_back({{23, h - kBase[curve]}, {w, h - kBase[curve]}, baseColour[curve], false});
    return lines;
}

std::vector<GraphLabel> StatisticsGraph::PageLabels() const {
    const int h = height_;
    std::vector<GraphLabel> labels = {{"5px", {2, 2}, 0x00DD00},   {"Y", {8, 30}, 0x0FF0FF},
                                      {"X", {125, 185}, 0x0FF0FF}, {"life", {30, 2}, 0xFFFFFF},
                                      {"born", {65, 2}, 0xFF0000}, {"dead", {110, 2}, 0xA0A000}};
    for (int curve = 0; curve < 3; ++curve)
        labels.push_back({std::to_string(static_cast<std::int64_t>(offsets_[curve]) * scaleY_),
                          {0, h - kBase[curve] - 5},
                          kCurveColour[curve]});
    labels.push_back({pageAlive_ ? "life" : "dead", {0, h - 20}, 0x8888FF});
    return labels;
}

}  // namespace zentorix
