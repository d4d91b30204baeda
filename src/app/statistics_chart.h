#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QWidget>
#include <vector>

#include "stats/statistics_graph.h"

namespace zentorix::app {

// PaintBox6: the live chart. Its layers are drawn into one stored image in their
// order (grid and labels when a page begins, then the curves and the pulse), and
// the paint event only shows that image, so a generation never clears the chart.
// Being shown or resized begins a new page, as a repaint by the system does.
// At full speed a page fills in a few milliseconds: the chart is shown about 10
// times a second, and a page too young to watch gives way to the full page
// before it, so what reaches the screen always holds curves.
class StatisticsChart : public QWidget {
    Q_OBJECT

  public:
    explicit StatisticsChart(QWidget* parent = nullptr);

    // Draws one generation's step of the graph model.
    void Apply(const GraphStep& step, const StatisticsGraph& graph);
    // The page being drawn.
    const QImage& image() const { return image_; }
    // The page the chart shows now.
    const QImage& shownImage() const;

  signals:
    // The chart needs a new page of its current size.
    void PageRequested();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void DrawGrid(const std::vector<GraphLine>& lines);
    void DrawLabels();

    QImage image_;
    // At full speed a page begins many times a second: its grid is drawn once
    // for a size, and the blank page with its labels again only when a label
    // (the scale) changes.
    QImage grid_;
    QImage pageGround_;
    std::vector<GraphLabel> pageLabels_;
    QImage lastPage_;        // the page before this one, as it was completed
    QElapsedTimer pageAge_;  // since the page being drawn began
    QElapsedTimer sinceShown_;
    bool pageRequested_ = false;  // the next page replaces a cleared chart
};

}  // namespace zentorix::app
