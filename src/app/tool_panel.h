#pragma once

#include <QScrollArea>
#include <QTabWidget>
#include <array>

class QFontMetrics;
class QLineEdit;

namespace zentorix::app {

class MainWindow;

// The tool panel Panel7: the counts of the last generation above the option
// pages of PageControl1, chosen with one click from rows of page buttons. It scrolls when the
// window is too low for it.
class ToolPanel : public QScrollArea {
    Q_OBJECT

  public:
    static constexpr int kWidth = 185;
    // The panel's width for the font in use (kWidth for the font it was made for).
    static int ScaledWidth(const QFontMetrics& metrics);

    explicit ToolPanel(MainWindow& window, QWidget* parent = nullptr);

    QTabWidget* pages() const { return pages_; }
    // The page widget of the given object name ("TabSheet3", "Landscape", ...).
    QWidget* page(const char* name) const;
    // Shows the counters of the last generation in Edit1, Edit11, Edit2, Edit7, Edit3.
    void ShowCounters(int live, int first, int born, int died, int generation);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    static constexpr int kPageButtonsPerRow = 2;
    // As wide as the font asks for, wider where a page's content needs it: the
    // panel scrolls up and down, never cuts its pages at the side.
    void FitWidth();
    QWidget* BuildPageButtons(QWidget* parent);

    QTabWidget* pages_ = nullptr;
    std::array<QLineEdit*, 5> counters_{};
};

}  // namespace zentorix::app
