#pragma once

#include <QWidget>
#include <array>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;

namespace zentorix::app {

class MainWindow;
class WeightGrid;

// The rules page (TabSheet3): the rule editor for the rule set chosen in
// RulesSelectorBox, the rules list RulesComboBox with the built-in rules and the
// rule files, saving into the rules folder, the rule's description and
// information lines, and a box for rules typed in the usual notations. Every
// control runs its rule-editor handler and then shows the editor as it now is;
// the running automaton uses the changed rule from its next generation.
class RulesPage : public QWidget {
    Q_OBJECT

  public:
    explicit RulesPage(MainWindow& window, QWidget* parent = nullptr);

    // The tool-bar list ComboBox1: the built-in names, 30 rows dropped down;
    // choosing a name chooses the entry of that name here.
    void AttachToolBarList(QComboBox* list);
    // Every control shows the editor's state (no handler runs).
    void ShowEditor();
    // The rule files of the rules folder are listed anew.
    void RefreshRuleFileList();
    // Reads the rule in RuleTextEdit (its Enter key).
    void ReadTypedRule();
    // The user chose entry `position` of RulesComboBox (RulesComboBoxSelect).
    void ChooseRulesEntry(int position);
    // SaveRules: saves the edited rule set under the name RulesComboBox shows.
    void SaveRulesClick();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* BuildListsGroup();
    QWidget* BuildWeightsGroup();
    QWidget* BuildSumsGroup(bool birth);
    QWidget* BuildHistoryGroup();
    QWidget* BuildInformationGroup();
    // Runs a rule-editor handler, shows the result and tells a cut list.
    template <typename Change>
    void Edit(Change&& change);
    void FollowModel();
    void ShowStatus();
    void MemoEdited();

    MainWindow& window_;
    std::vector<std::string> ruleFiles_;
    QComboBox* selector_ = nullptr;
    QComboBox* rulesList_ = nullptr;
    QComboBox* toolBarList_ = nullptr;
    QLineEdit* typedRule_ = nullptr;
    WeightGrid* weights_ = nullptr;
    QCheckBox* symmetric_ = nullptr;
    QComboBox* shape_ = nullptr;
    QCheckBox* extended_ = nullptr;
    QCheckBox* history_ = nullptr;
    QSpinBox* historyRange_ = nullptr;
    std::array<QLineEdit*, 2> listTexts_{};  // BirthStr, SurvivalStr
    std::array<std::array<QCheckBox*, 10>, 2> digitBoxes_{};
    std::array<std::array<QSpinBox*, 2>, 2> ranges_{};  // [birth/survival][min/max]
    QCheckBox* delayOn_ = nullptr;
    QSpinBox* delayValue_ = nullptr;
    QPlainTextEdit* description_ = nullptr;
    QPlainTextEdit* memo_ = nullptr;
};

}  // namespace zentorix::app
