#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>

#include "app/bindings.h"
#include "app/field_view.h"
#include "app/run_control.h"
#include "app/session.h"

class QAction;
class QComboBox;
class QMenu;
class QMenuBar;
class QActionGroup;
class QLineEdit;
class QSlider;
class QSplitter;
class QTabWidget;
class QScrollArea;

namespace zentorix::app {

class StatusPanels;
class LanguageControl;
class PopupPanels;
class ToolPanel;
class FieldEditing;
class KeyCommands;
class HelpWindow;
class ToolGroup;
class PanelDocks;

// The program's one window: menus, tool bar, the tool panel with its option
// pages, the field view and the status bar. It owns the session and the run
// control, runs the start-up sequence and writes the settings file on close.
class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    // `commandLineFile` is opened after the settings file was read, once the
    // window is shown (empty: none).
    MainWindow(ProgramFolder folder, QString commandLineFile, QWidget* parent = nullptr);
    ~MainWindow() override;

    Session& session() { return session_; }
    FieldView& fieldView() { return *view_; }
    RunControl& runControl() { return *run_; }
    Bindings& bindings() { return bindings_; }
    PopupPanels& popups() { return *popups_; }
    LanguageControl& language() { return *language_; }
    FieldEditing& editing() { return *editing_; }

    // Every widget refreshes from the model (after a file was read).
    void RefreshFromModel();
    // The Exit command: stop, leave maximum speed, close (writes the settings file).
    void ExitButtonClick();
    // Opens a file of any format through the dispatcher; errors become a message box.
    void OpenFile(const QString& path);
    // Shows the state a command just built (counters counted from the field).
    void ShowLoadedState();
    // The rule's name, information and rule text as the rule editor holds them
    // (after the rule was looked up again).
    void ShowRuleInfo();
    // Writes the settings file now (also done on close).
    bool WriteSettingsFile();
    // Where the tool panel stands: 0 right, 1 left, 2 hidden.
    void SetToolPanelPosition(int position);

    // The guide F1 opens: "Zentorix" + the language code (Panel16) + ".html", else
    // "ZentorixUA.html", among the shipped files; empty when neither exists.
    QString HelpFile() const;
    // The Paint tool (true) or the Select tool; choosing Select stops the run.
    void SetPaintTool(bool paint);
    QMenu* contextMenu() const { return contextMenu_; }
    // True once the start-up has finished: the command-line file is open and undo
    // snapshot 1 written (this happens right after the window is first shown).
    bool StartedUp() const { return startedUp_; }

    // Where the window's messages go; a modal message box unless replaced.
    using MessageSink = std::function<void(const QString&)>;
    void SetMessageSink(MessageSink sink) { messageSink_ = std::move(sink); }
    // A message for the user through the sink.
    void ShowFailure(const QString& message);
    // Writes the next undo snapshot (before a run starts or a bulk edit).
    void TakeUndoSnapshot();

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
    // Puts a tool bar among those under the menu bar.
    void AddToolBarGroup(ToolGroup* bar);
    void BuildCentralArea();
    void WireSignals();
    void StartUp();
    void FinishStartUp();
    void ReadSettingsFile();
    void RestoreGeometry(const Settings& s);
    void ShowCounters();
    void UpdateCaption();
    void ShowRunState(bool running);
    void ShowSpeed(int speed);
    void Undo(bool forward);
    void QuickSave();
    void OpenHelp();
    QAction* MakeAction(const char* name, const QString& caption,
                        const QKeySequence& shortcut = {});

    Session session_;
    Bindings bindings_;
    QString commandLineFile_;
    FieldView* view_ = nullptr;
    std::unique_ptr<RunControl> run_;
    FieldEditing* editing_ = nullptr;
    KeyCommands* keys_ = nullptr;
    ToolPanel* toolPanel_ = nullptr;
    StatusPanels* status_ = nullptr;
    PopupPanels* popups_ = nullptr;
    LanguageControl* language_ = nullptr;
    PanelDocks* docks_ = nullptr;  // the panels that dock
    QPointer<HelpWindow> help_;    // made at the first F1
    QSplitter* centralSplitter_ = nullptr;
    QMenuBar* menuBar_ = nullptr;
    QWidget* toolBars_ = nullptr;   // ToolBar1: the tool bar groups, flowing into rows
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
    MessageSink messageSink_;
    QString pendingFailure_;       // shown once the window is up
    bool chooseLanguage_ = false;  // first start: the language panel is offered
    bool startUpQueued_ = false;
    bool startedUp_ = false;
    // The smallest window in which every control of the tool bars and the
    // status bar shows whole (they wrap into more rows as the window narrows).
    static constexpr int kMinimumWidth = 800;
    static constexpr int kMinimumHeight = 520;
    // Room for the window manager's frame, before the real one is known.
    static constexpr int kFrameTop = 32;
    static constexpr int kFrameSide = 4;
    int toolPanelPosition_ = 0;
};

}  // namespace zentorix::app
