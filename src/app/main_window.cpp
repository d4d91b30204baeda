#include "app/main_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>
#include <filesystem>

#include "app/census_table.h"
#include "app/edit_commands.h"
#include "app/field_editing.h"
#include "app/file_lists.h"
#include "app/flow_layout.h"
#include "app/help_window.h"
#include "app/key_commands.h"
#include "app/language_control.h"
#include "app/language_texts.h"
#include "app/open_commands.h"
#include "app/panel_docks.h"
#include "app/popup_panels.h"
#include "app/qt_translation.h"
#include "app/save_panel.h"
#include "app/selection_panel.h"
#include "app/status_panels.h"
#include "app/tool_panel.h"
#include "app/wheel_focus.h"
#include "engine/format_error.h"
#include "formats/native_file.h"
#include "formats/pattern_load.h"
#include "formats/snapshots.h"
#include "i18n/language_file.h"

namespace zentorix::app {

MainWindow::MainWindow(ProgramFolder folder, QString commandLineFile, QWidget* parent)
    : QMainWindow(parent),
      session_(std::move(folder)),
      bindings_(session_),
      commandLineFile_(std::move(commandLineFile)) {
    setObjectName("Form1");
    // Before any control is made: it settles how controls take the wheel.
    new WheelFocus(this);
    messageSink_ = [this](const QString& message) {
        QMessageBox::warning(this, QStringLiteral("Zentorix"), message);
    };
    session_.folder().CreateSubfolders();
    view_ = new FieldView(session_);
    run_ = std::make_unique<RunControl>(session_, *view_);
    editing_ = new FieldEditing(*this);
    BuildCentralArea();
    docks_ = new PanelDocks(*this, session_.folder().SettingsFile().parent_path() / "Panels.ini");
    BuildMenus();
    BuildToolBar();
    AddToolBarGroup(BuildEditToolBar(*this));
    keys_ = new KeyCommands(*this);
    status_ = new StatusPanels(*this, this);
    setStatusBar(status_);
    WireSignals();
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    language_ = new LanguageControl(*this);
    StartUp();
}

MainWindow::~MainWindow() = default;

void MainWindow::AddToolBarGroup(ToolGroup* bar) {
    bar->setParent(toolBars_);
    toolBars_->layout()->addWidget(bar);
}

void MainWindow::BuildCentralArea() {
    auto* central = new QWidget(this);
    central->setObjectName("CentralArea");
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    auto* fieldPanel = new QWidget(central);
    fieldPanel->setObjectName("Panel1");
    auto* fieldLayout = new QVBoxLayout(fieldPanel);
    fieldLayout->setContentsMargins(0, 0, 0, 0);
    fieldLayout->addWidget(view_);
    filePanel_ = new QWidget(central);
    filePanel_->setObjectName("Panel42");
    filePanel_->setFixedWidth(ToolPanel::ScaledWidth(fontMetrics()));
    auto* filePanelLayout = new QVBoxLayout(filePanel_);
    filePanelLayout->setContentsMargins(0, 0, 0, 0);
    auto* fileLists = new FolderFileLists("DirectoryListBox2", "FileListBox2",
                                          FromPath(session_.folder().Root), filePanel_);
    filePanelLayout->addWidget(fileLists);
    connect(fileLists, &FolderFileLists::FileChosen, this, &MainWindow::OpenFile);
    // The pop-up panels first: the tool panel's pages fill some of them.
    popups_ = new PopupPanels(central);
    toolPanel_ = new ToolPanel(*this, central);
    row->addWidget(fieldPanel, 1);
    row->addWidget(filePanel_);
    row->addWidget(toolPanel_);
    setCentralWidget(central);
    new SavePanel(*this, popups_->panel("SavePanel"));
    new SaveSelectionPanel(*this, popups_->panel("SaveSelectionPanel"));
    new OpenCommands(*this);
}

void MainWindow::WireSignals() {
    connect(run_.get(), &RunControl::RunStateChanged, this, &MainWindow::ShowRunState);
    connect(run_.get(), &RunControl::SpeedChanged, this, &MainWindow::ShowSpeed);
    connect(run_.get(), &RunControl::GenerationShown, this, &MainWindow::ShowCounters);
    connect(run_.get(), &RunControl::StartingRun, this, &MainWindow::TakeUndoSnapshot);
    connect(view_, &FieldView::ViewStatusChanged, status_, &StatusPanels::SetViewText);
    connect(view_, &FieldView::PointerCellChanged, status_, &StatusPanels::SetPointerCell);
    connect(&session_, &Session::FieldChanged, this, [this] { view_->RedrawView(); });
    connect(&session_, &Session::ModelChanged, this, &MainWindow::RefreshFromModel);
    connect(&session_, &Session::StopRequested, run_.get(), &RunControl::StopButtonClick);
    connect(&session_, &Session::FileNameChanged, this, &MainWindow::UpdateCaption);
    connect(&session_, &Session::Failed, this, &MainWindow::ShowFailure);
    connect(&session_, &Session::Warned, this, &MainWindow::ShowFailure);
}

// The start-up sequence: defaults (the world and settings start as the program
// does), the field filling the panel at cell size 7, the settings file; the rest
// waits until the window is shown (FinishStartUp).
void MainWindow::StartUp() {
    // A fresh start takes most of the screen, never more than it: on a small
    // screen the title bar, the exit button and the status bar stay visible.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    resize(screen.width() * 9 / 10, screen.height() * 9 / 10);
    const int panelWidth = width() - toolPanel_->width() - filePanel_->width() - 10;
    const int panelHeight = height() - 140;
    World& world = session_.world();
    world.SetFieldWidth(std::max(panelWidth / 7 - 1, 10));
    world.SetFieldHeight(std::max(panelHeight / 7 - 1, 10));
    // The built-in language first; the settings file names the user's choice.
    // Without a settings file, a shipped marker asks for the choice at once.
    std::error_code ec;
    chooseLanguage_ = !std::filesystem::exists(session_.folder().SettingsFile(), ec) &&
                      std::filesystem::exists(session_.folder().Language() / kFirstStartMarker, ec);
    language_->RefreshLanguageList();
    language_->ApplyLanguageFile(QString::fromLatin1(kDefaultLanguageFile));
    ReadSettingsFile();
    docks_->Restore();
    const QString chosen = ToQString(session_.settings().Language);
    if (!chosen.isEmpty() && chosen != language_->CurrentLanguageFile())
        language_->ApplyLanguageFile(chosen);
    ShowLoadedState();
}

// The command-line file is fitted to the field panel as from the open dialog,
// so it is opened once the window has its final size. Then two clicks on Start:
// the run starts and stops at once, which saves undo snapshot 1 of the state
// built so far, the opened file included.
void MainWindow::FinishStartUp() {
    if (!commandLineFile_.isEmpty())
        OpenFile(commandLineFile_);
    run_->StartButtonClick();
    run_->StartButtonClick();
    if (chooseLanguage_)
        popups_->Toggle("ChangeLanguagePanel", true);
    startedUp_ = true;
}

void MainWindow::ReadSettingsFile() {
    const std::filesystem::path ini = session_.folder().SettingsFile();
    try {
        ReadNativeFile(session_.world(), session_.settings(), ini);
    } catch (const std::exception& e) {
        // An unreadable settings file would be overwritten at exit and the fields
        // it holds lost: keep it aside, tell the user once, go on with defaults.
        std::error_code ec;
        std::filesystem::path bad = ini;
        bad += ".bad";
        std::filesystem::rename(ini, bad, ec);
        session_.ResetToDefaults();
        pendingFailure_ =
            (tr("Файл налаштувань не прочитано (%1).") + '\n' +
             tr("Його збережено як %2, програма почала з початковими налаштуваннями."))
                .arg(QString::fromUtf8(e.what()), FromPath(bad));
    }
    const Settings& s = session_.settings();
    toolPanel_->pages()->setCurrentIndex(
        std::min(static_cast<int>(s.PagesOpen1), toolPanel_->pages()->count() - 1));
    RestoreGeometry(s);
}

// The saved place and size, kept inside the screen that holds the saved
// position: a window saved on a larger screen would otherwise hang off this one.
// A screen smaller than the usual minimum size lowers it, so the whole window
// still fits.
void MainWindow::RestoreGeometry(const Settings& s) {
    const bool saved = s.WindowWidth > 0 && s.WindowHeight > 0;
    QScreen* screen =
        saved ? QGuiApplication::screenAt(QPoint(s.WindowLeft, s.WindowTop)) : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen->availableGeometry();
    // The frame is not known before the window is shown; leave room for a
    // usual title bar and border.
    const int frameWidth = 2 * kFrameSide, frameHeight = kFrameTop + kFrameSide;
    const int roomWidth = std::max(1, area.width() - frameWidth);
    const int roomHeight = std::max(1, area.height() - frameHeight);
    setMinimumSize(std::min(kMinimumWidth, roomWidth), std::min(kMinimumHeight, roomHeight));
    if (!saved)
        return;
    const int width = std::min(std::max<int>(s.WindowWidth, minimumWidth()), roomWidth);
    const int height = std::min(std::max<int>(s.WindowHeight, minimumHeight()), roomHeight);
    const int left =
        std::clamp(s.WindowLeft, area.left() + kFrameSide,
                   std::max(area.left() + kFrameSide, area.right() + 1 - kFrameSide - width));
    const int top =
        std::clamp(s.WindowTop, area.top() + kFrameTop,
                   std::max(area.top() + kFrameTop, area.bottom() + 1 - kFrameSide - height));
    setGeometry(left, top, width, height);
    // A window that filled this very screen was maximised: it comes back so.
    if (s.WindowWidth >= area.width() - frameWidth && s.WindowWidth <= area.width() &&
        s.WindowHeight >= area.height() - frameHeight && s.WindowHeight <= area.height())
        setWindowState(windowState() | Qt::WindowMaximized);
}

bool MainWindow::WriteSettingsFile() {
    Settings& s = session_.settings();
    const QRect g = geometry();
    s.WindowTop = g.top();
    s.WindowLeft = g.left();
    s.WindowHeight = g.height();
    s.WindowWidth = g.width();
    s.PagesOpen1 = toolPanel_->pages()->currentIndex();
    if (s.SpeedMain == 0)
        run_->SetSpeed(1);
    docks_->Save();
    return session_.Run([this] {
        SaveNativeFile(session_.world(), session_.settings(), session_.folder().SettingsFile(),
                       NativeKind::Ini);
    });
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!startUpQueued_) {
        startUpQueued_ = true;
        QTimer::singleShot(0, this, &MainWindow::FinishStartUp);
    }
    if (!pendingFailure_.isEmpty()) {
        const QString message = pendingFailure_;
        pendingFailure_.clear();
        QMetaObject::invokeMethod(
            this, [this, message] { ShowFailure(message); }, Qt::QueuedConnection);
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    run_->StopButtonClick();
    run_->SetOtherRealityRunning(false);
    WriteSettingsFile();
    event->accept();
}

void MainWindow::ExitButtonClick() {
    run_->StopButtonClick();
    if (run_->Speed() == 0)
        run_->SetSpeed(1);
    run_->StopButtonClick();
    close();
}

void MainWindow::RefreshFromModel() {
    bindings_.Refresh();
    // The speed a file or the settings brought acts on the run timer as well
    // as on the track bar.
    run_->SetSpeed(session_.settings().SpeedMain);
    ShowRuleInfo();
    view_->FitToField();
    UpdateCaption();
    ShowCounters();
}

void MainWindow::ShowRuleInfo() {
    const RuleEditorState& editor = session_.world().Editor;
    status_->SetRuleInfo(ToQString(editor.InfoMemo[2]), ToQString(editor.InfoMemo[0]),
                         ToQString(editor.InfoEdit));
}

void MainWindow::ShowCounters() {
    // While the run goes on, the counters change faster than anyone can read
    // them; showing them 30 times a second costs the run nothing.
    if (run_->Running() && countersShown_.isValid() && countersShown_.elapsed() < 33)
        return;
    countersShown_.start();
    const GenerationCounters& c = session_.world().Counters;
    const int shown = run_->ShownGeneration();
    toolPanel_->ShowCounters(c.LiveCount, c.StateOneCount, c.BornCount, c.DiedCount, shown);
    status_->SetGeneration(shown);
}

void MainWindow::UpdateCaption() {
    setWindowTitle(ToQString(session_.world().CurrentFileName) + QStringLiteral("  -  Zentorix"));
}

void MainWindow::ShowRunState(bool running) {
    startButton_->setText(LanguageText(running ? kStopCaption : kStartCaption));
    const QSignalBlocker block(playButton_);
    playButton_->setChecked(running);
    if (!running) {
        ShowCounters();
        view_->CatchUp();  // the last generation may not be shown yet
    }
}

void MainWindow::ShowSpeed(int speed) {
    speedPanel_->setText(speed == 0 ? QStringLiteral("!!!") : QStringLiteral("%1ms  ").arg(speed));
    if (speedBar_->value() != speed) {
        const QSignalBlocker block(speedBar_);
        speedBar_->setValue(speed);
    }
}

void MainWindow::ShowFailure(const QString& message) {
    if (messageSink_)
        messageSink_(message);
}

void MainWindow::SetPaintTool(bool paint) {
    if (!paint)
        run_->StopButtonClick();
    session_.settings().Paint = paint;
    bindings_.Refresh();
    editing_->ToolChanged();
}

void MainWindow::SetToolPanelPosition(int position) {
    toolPanelPosition_ = position;
    auto* row = static_cast<QHBoxLayout*>(centralWidget()->layout());
    row->removeWidget(toolPanel_);
    row->insertWidget(position == 1 ? 0 : row->count(), toolPanel_);
    toolPanel_->setVisible(position != 2);
    // Return21 brings the panel back whatever the tool.
    returnAction_->setVisible(position == 2);
    if (QAction* separator = findChild<QAction*>("N1"))
        separator->setVisible(position == 2);
    panelPosition_->actions().at(position)->setChecked(true);
}

void MainWindow::OpenFile(const QString& path) {
    if (OpenCensusFile(*this, path))
        return;
    OpenResult result;
    const PanelSize panel{view_->viewport()->width(), view_->viewport()->height()};
    const bool ok = session_.Run([&] {
        result = OpenPatternFile(session_.world(), session_.settings(), ToPath(path), panel);
    });
    if (result.stopRun || (!ok && session_.settings().StopForLoad))
        run_->StopButtonClick();
    if (!ok) {
        // Settings read before the faulty line stand; Session::Run told the user.
        RefreshFromModel();
        return;
    }
    // Nothing to open is said as clearly as a file that failed.
    if (!result.found) {
        ShowFailure(tr("Файл \"%1\" не знайдено або його не можна прочитати.")
                        .arg(QDir::toNativeSeparators(path)));
        return;
    }
    if (result.format == PatternFormat::None) {
        ShowFailure(tr("Файл \"%1\" не відкрито: його формат невідомий.")
                        .arg(QDir::toNativeSeparators(path)));
        return;
    }
    ShowLoadedState();
    session_.Report(ToPath(path), FileAction::Opened, result.problems);
}

// The counters of the state just loaded: live and first-state cells counted from
// the field, no births or deaths yet, and the generation the next step computes.
void MainWindow::ShowLoadedState() {
    RefreshFromModel();
    World& world = session_.world();
    GenerationCounters& c = world.Counters;
    c.LiveCount = c.StateOneCount = c.BornCount = c.DiedCount = 0;
    for (int x = 1; x <= world.FieldWidth(); ++x) {
        const std::int32_t* column = world.MainField.Column(x) - world.MainField.Low();
        for (int y = 1; y <= world.FieldHeight(); ++y) {
            c.LiveCount += column[y] >= 1 ? 1 : 0;
            c.StateOneCount += column[y] == 1 ? 1 : 0;
        }
    }
    run_->SetShownGeneration(c.Generation);
    countersShown_.invalidate();
    ShowCounters();
}

void MainWindow::TakeUndoSnapshot() {
    // The run goes on even when the snapshot cannot be written.
    session_.Run([this] {
        UndoSnapshot(session_.world(), session_.settings(), session_.folder(),
                     session_.world().UndoCounter);
    });
}

void MainWindow::Undo(bool forward) {
    run_->StopButtonClick();
    World& world = session_.world();
    // The snapshot's own name ("5.qlf") is not the experiment's: the caption and
    // the statistics keep the name the user opened or saved.
    const std::string name = world.CurrentFileName;
    const QSize size(world.FieldWidth(), world.FieldHeight());
    session_.Run([&] {
        if (forward)
            zentorix::UndoForward(world, session_.settings(), session_.folder());
        else
            zentorix::UndoBack(world, session_.settings(), session_.folder());
    });
    world.CurrentFileName = name;
    ShowLoadedState();
    if (size != QSize(world.FieldWidth(), world.FieldHeight())) {
        // A field of another size: its middle comes into view.
        for (QScrollBar* bar : {view_->horizontalScrollBar(), view_->verticalScrollBar()})
            bar->setValue((bar->minimum() + bar->maximum()) / 2);
    }
}

void MainWindow::QuickSave() {
    // The run pauses for the save and goes on afterwards.
    const bool running = run_->Running();
    if (running)
        run_->PlayButtonClick(false);
    std::filesystem::path written;
    const bool ok = session_.Run([&] {
        written = zentorix::QuickSave(session_.world(), session_.settings(), session_.folder());
    });
    if (running)
        run_->PlayButtonClick(true);
    if (ok)
        status_->showMessage(tr("Збережено: %1").arg(FromPath(written.filename())), 5000);
}

QString MainWindow::HelpFile() const {
    // The guide of the language, else the Ukrainian one, where the program's
    // shipped files are.
    const std::filesystem::path data = session_.folder().Data();
    for (const QString& name : {QStringLiteral("Zentorix%1.html").arg(language_->Code()),
                                QStringLiteral("ZentorixUA.html")}) {
        const std::filesystem::path file = data / ToPath(name);
        std::error_code ec;
        if (std::filesystem::is_regular_file(file, ec))
            return FromPath(file);
    }
    return {};
}

void MainWindow::OpenHelp() {
    const QString file = HelpFile();
    if (file.isEmpty()) {
        ShowFailure(tr("Файл довідки не знайдено в теці програми %1.")
                        .arg(QDir::toNativeSeparators(FromPath(session_.folder().Data()))));
        return;
    }
    if (!help_) {
        help_ = new HelpWindow(this);
        connect(help_, &HelpWindow::Failed, this, &MainWindow::ShowFailure);
    }
    help_->ShowGuide(file);
}

}  // namespace zentorix::app
