#pragma once

#include <QElapsedTimer>
#include <QWidget>

#include "stats/statistics_graph.h"
#include "stats/statistics_recorder.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace zentorix::app {

class MainWindow;
class StatisticsChart;

// The "Статистика" page: the live chart PaintBox6 with its scale controls
// (ScaleOfAxesPanel) and the recording of "stat.txt" (RecordIntoFilePanel), plus
// the contents of the pop-up panels ThresholdPanel and AutoStartRangePanel. It
// owns the recorder and the graph model and hears every generation and every
// Stop from the run control.
class StatisticsPage : public QWidget {
    Q_OBJECT

  public:
    explicit StatisticsPage(MainWindow& window, QWidget* parent = nullptr);

    StatisticsRecorder& recorder() { return recorder_; }
    const StatisticsGraph& graph() const { return graph_; }

    void RecordStatisticButtonClick();
    void StatButton1Click();  // ThresholdPanel
    void StatButton2Click();  // AutoStartRangePanel
    // The run control's reports: a counted generation, the Stop command.
    void GenerationCounted(const World& world);
    void Stopped();

  private:
    QWidget* BuildScalePanel();
    QWidget* BuildRecordPanel();
    void BuildPopups();
    void StartPage();
    void ShowGraphStep(const GraphStep& step);
    void ShowRecorder(bool now);
    void ShowAutoScalePanel();
    void TogglePopup(const char* name, QWidget* below, int offset);

    MainWindow& window_;
    StatisticsRecorder recorder_;
    StatisticsGraph graph_;
    StatisticsChart* chart_ = nullptr;
    QWidget* scalePanel_ = nullptr;   // ScaleOfAxesPanel
    QWidget* recordPanel_ = nullptr;  // RecordIntoFilePanel
    QSpinBox* scaleY_ = nullptr;
    QCheckBox* autoScale_ = nullptr;
    QLabel* autoScalePanel_ = nullptr;
    QCheckBox* autoStart_ = nullptr;
    QLabel* autoStartPanel_ = nullptr;
    QPushButton* recordButton_ = nullptr;
    std::uint64_t shownChanges_ = ~std::uint64_t{0};
    QElapsedTimer captionShown_;
};

}  // namespace zentorix::app
