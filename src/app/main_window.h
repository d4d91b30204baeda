#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <memory>

#include "app/bindings.h"
#include "app/field_view.h"
#include "app/run_control.h"
#include "app/session.h"

class QAction;
class QComboBox;
class QMenu;
class QActionGroup;
class QLineEdit;
class QSlider;
class QSplitter;
class QTabWidget;
class QScrollArea;

namespace zentorix::app {

class StatusPanels;
class PopupPanels;
class ToolPanel;

// The program's one window: menus, tool bar, the tool panel with its option
// pages, the field view and the status bar. It owns the session and the run
// control, runs the start-up sequence and writes the settings file on close.
class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    // `commandLineFile` is opened after the settings file was read (empty: none).
    MainWindow(ProgramFolder folder, QString commandLineFile, QWidget* parent = nullptr);
    ~MainWindow() override;

    Session& session() { return session_; }
    FieldView& fieldView() { return *view_; }
    RunControl& runControl() { return *run_; }
    Bindings& bindings() { return bindings_; }
    PopupPanels& popups() { return *popups_; }

    // Every widget refreshes from the model (after a file was read).
    void RefreshFromModel();
    // The Exit command: stop, leave maximum speed, close (writes the settings file).
    void ExitButtonClick();
    // Opens a file of any format through the dispatcher; errors become a message box.
    void OpenFile(const QString& path);
    // Writes the settings file now (also done on close).
    bool WriteSettingsFile();
    // Where the tool panel stands: 0 right, 1 left, 2 hidden.
    void SetToolPanelPosition(int position);

    // The help file F1 opens: "Zentorix" + the language suffix + ".chm", else
    // "ZentorixUA.chm", else the HTML guide of either name; empty when none exists.
    QString HelpFile() const;
    // The Paint tool (true) or the Select tool; choosing Select stops the run.
    void SetPaintTool(bool paint);
    QMenu* contextMenu() const { return contextMenu_; }

  signals:
    // The open dialog is asked for (tool button, menu, Ctrl+O).
    void OpenDialogRequested();
    // The selection's save panel is asked for (SaveMuseumButton, SaveSelection1).
    void SaveSelectionRequested();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void BuildMenus();
    void BuildToolBar();
    void BuildCentralArea();
    void WireSignals();
    void StartUp();
    void ReadSettingsFile();
    void ShowCounters();
    void UpdateCaption();
    void ShowRunState(bool running);
    void ShowSpeed(int speed);
    void ShowFailure(const QString& message);
    void TakeUndoSnapshot();
    void UndoBack();
    void UndoForward();
    void QuickSave();
    void OpenHelp();
    QAction* MakeAction(const char* name, const QString& caption,
                        const QKeySequence& shortcut = {});

    Session session_;
    Bindings bindings_;
    QString commandLineFile_;
    FieldView* view_ = nullptr;
    std::unique_ptr<RunControl> run_;
    ToolPanel* toolPanel_ = nullptr;
    StatusPanels* status_ = nullptr;
    PopupPanels* popups_ = nullptr;
    QSplitter* centralSplitter_ = nullptr;
    QWidget* filePanel_ = nullptr;  // Panel42: the second folder/file list pair
    QPushButton* startButton_ = nullptr;
    QToolButton* playButton_ = nullptr;
    QSlider* speedBar_ = nullptr;
    QLabel* speedPanel_ = nullptr;
    QActionGroup* panelPosition_ = nullptr;
    QAction* returnAction_ = nullptr;
    QMenu* contextMenu_ = nullptr;
    QComboBox* presetList_ = nullptr;
    QElapsedTimer countersShown_;
    QString pendingFailure_;     // shown once the window is up
    QString helpSuffix_ = "UA";  // the language's help-file suffix (Panel16)
    bool startedUp_ = false;
    int toolPanelPosition_ = 0;
};

}  // namespace zentorix::app
