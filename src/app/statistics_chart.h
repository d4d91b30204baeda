#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QWidget>

#include "stats/statistics_graph.h"

namespace zentorix::app {

// PaintBox6: the live chart. Its layers are drawn into one stored image in their
// order (grid and labels when a page begins, then the curves and the pulse), and
// the paint event only shows that image, so a generation never clears the chart.
// Being shown or resized begins a new page, as a repaint by the system does.
class StatisticsChart : public QWidget {
    Q_OBJECT

  public:
    explicit StatisticsChart(QWidget* parent = nullptr);

    // Draws one generation's step of the graph model.
    void Apply(const GraphStep& step, const StatisticsGraph& graph);
    const QImage& image() const { return image_; }

  signals:
    // The chart needs a new page of its current size.
    void PageRequested();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    QImage image_;
    QElapsedTimer sinceShown_;
};

}  // namespace zentorix::app
