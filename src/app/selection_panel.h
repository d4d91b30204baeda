#pragma once

#include <QObject>

class QFrame;
class QLineEdit;
class QPlainTextEdit;

namespace zentorix::app {

class MainWindow;

// The content of the pop-up SaveSelectionPanel: the selection's cells with the
// rule and a description saved as a mini file (".mlf") under a name, into the
// folder the museum's file list shows.
class SaveSelectionPanel : public QObject {
    Q_OBJECT

  public:
    SaveSelectionPanel(MainWindow& window, QFrame* frame);

    // ShowSaveSelectionPanel: only while a selection is shown.
    void Show();
    // SaveButton2Click: asks before replacing a file; hides the panel when saved.
    void Save();

  private:
    MainWindow& window_;
    QFrame* frame_;
    QLineEdit* name_ = nullptr;
    QLineEdit* folder_ = nullptr;
    QPlainTextEdit* description_ = nullptr;
};

}  // namespace zentorix::app
