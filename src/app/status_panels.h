#pragma once

#include <QStatusBar>

class QLabel;
class QLineEdit;

namespace zentorix::app {

class MainWindow;

// StatusBar1: panel 0 the generation caption, 1 the generation, 2 and 3 the
// pointer's column and row, 4 the view text, 5 and 6 the rule's family and name,
// 7 the rule text with the twins of the layer and paint switches and the Other
// Reality's run button and speed.
class StatusPanels : public QStatusBar {
    Q_OBJECT

  public:
    explicit StatusPanels(MainWindow& window, QWidget* parent = nullptr);

    void SetGeneration(int generation);
    void SetPointerCell(int column, int row);
    void SetViewText(const QString& text);
    void SetRuleInfo(const QString& family, const QString& name, const QString& ruleText);
    QLabel* panel(int index) const { return panels_[index]; }

  private:
    QLabel* panels_[7] = {};
    QLineEdit* ruleText_ = nullptr;
};

}  // namespace zentorix::app
