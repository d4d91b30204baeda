#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/settings.h"
#include "stats/statistics_recorder.h"

namespace zentorix {

// The live chart as data: the window paints what this model says, tests read it.
// Coordinates are pixels from the chart's top-left corner; colours 0xRRGGBB.
struct GraphPoint {
    int x = 0;
    int y = 0;
    bool operator==(const GraphPoint&) const = default;
};

struct GraphSegment {
    GraphPoint from;
    GraphPoint to;
    std::uint32_t colour = 0;
};

struct GraphLine {
    GraphPoint from;
    GraphPoint to;
    std::uint32_t colour = 0;
    bool dotted = false;
};

struct GraphLabel {
    std::string text;
    GraphPoint at;
    std::uint32_t colour = 0;
    bool operator==(const GraphLabel&) const = default;
};

// The chart's layers: the three curves, the pulse line, then the grid with its
// axes and labels.
enum GraphLayer { kLiveLayer = 0, kBornLayer = 1, kDiedLayer = 2, kPulseLayer = 3 };

// One generation's drawing: when `newPage`, every layer is cleared first and the
// page's lines and labels drawn; then one segment per curve and the pulse.
struct GraphStep {
    bool newPage = false;
    std::array<GraphSegment, 4> segments;
};

// Adjusts StatisticScaleY from the live counts in the history slots that the
// page scans, so the live curve's range spans between MinThreshold and
// MaxThreshold pixels. Keeps the scale within 1..9999, always ends, and keeps it
// unchanged when no slot is scanned. Does nothing with AutoScaleY off.
void AutoScaleStatisticsY(const LiveHistory& history, Settings& settings);

class StatisticsGraph {
  public:
    static constexpr int kPageStart = 25;
    static constexpr int kPageEnd = 138;
    // The last X of a page: 138 on the chart's 150 pixels, further on a wider
    // chart, so a chart docked wide draws a wide page.
    int PageEnd() const { return std::max(kPageEnd, width_ - 12); }

    void SetSize(int width, int height) {
        width_ = width;
        height_ = height;
    }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // DrawStatisticsGraph: the next point of every curve for a generation with
    // these counts; a new page begins when the last one is full.
    GraphStep Draw(std::int32_t live, std::int32_t born, std::int32_t died,
                   const LiveHistory& history, Settings& settings);
    // The chart was shown, resized or uncovered: a new page with these counts.
    GraphStep StartPage(std::int32_t live, std::int32_t born, std::int32_t died,
                        const LiveHistory& history, Settings& settings);

    // The current page's grid, axes and base lines.
    std::vector<GraphLine> PageLines() const;
    // The current page's labels: names, offsets in cells, "life" or "dead".
    std::vector<GraphLabel> PageLabels() const;

    int GraphX() const { return graphX_; }
    int PulsePhase() const { return pulsePhase_; }
    // Vertical shifts of the live, born and died curves, in pixels.
    const std::array<int, 3>& Offsets() const { return offsets_; }

  private:
    int CurveY(int curve, std::int32_t value) const;

    int width_ = 150;
    int height_ = 200;
    int graphX_ = 0;
    int pulsePhase_ = 0;
    int scaleY_ = 1;  // the scale of the current page
    bool pageAlive_ = false;
    std::array<int, 3> offsets_{};
    std::array<GraphPoint, 4> pens_{};
};

}  // namespace zentorix
