#include "app/main_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QScreen>
#include <QSlider>
#include <QUrl>
#include <filesystem>

#include "app/file_lists.h"
#include "app/open_commands.h"
#include "app/popup_panels.h"
#include "app/save_panel.h"
#include "app/selection_panel.h"
#include "app/status_panels.h"
#include "app/tool_panel.h"
#include "formats/format_error.h"
#include "formats/native_file.h"
#include "formats/pattern_load.h"
#include "formats/snapshots.h"

namespace zentorix::app {

MainWindow::MainWindow(ProgramFolder folder, QString commandLineFile, QWidget* parent)
    : QMainWindow(parent),
      session_(std::move(folder)),
      bindings_(session_),
      commandLineFile_(std::move(commandLineFile)) {
    setObjectName("Form1");
    session_.folder().CreateSubfolders();
    view_ = new FieldView(session_);
    run_ = std::make_unique<RunControl>(session_, *view_);
    BuildCentralArea();
    BuildMenus();
    BuildToolBar();
    status_ = new StatusPanels(*this, this);
    setStatusBar(status_);
    WireSignals();
    StartUp();
}

MainWindow::~MainWindow() = default;

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
// does), the field filling the panel at cell size 7, the settings file, then the
// file named on the command line, then undo snapshot 1.
void MainWindow::StartUp() {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    resize(std::max(1280, screen.width() * 9 / 10), std::max(720, screen.height() * 9 / 10));
    const int panelWidth = width() - toolPanel_->width() - filePanel_->width() - 10;
    const int panelHeight = height() - 140;
    World& world = session_.world();
    world.SetFieldWidth(panelWidth / 7 - 1);
    world.SetFieldHeight(panelHeight / 7 - 1);

    ReadSettingsFile();
    if (!commandLineFile_.isEmpty())
        OpenFile(commandLineFile_);
    // Two clicks on Start: the run starts and stops at once, which saves undo
    // snapshot 1 of the state built so far.
    run_->StartButtonClick();
    run_->StartButtonClick();
    startedUp_ = true;
    RefreshFromModel();
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
        pendingFailure_ = tr("Файл налаштувань не прочитано (%1).\nЙого збережено як %2; "
                             "програма почала з початковими налаштуваннями.")
                              .arg(QString::fromUtf8(e.what()), FromPath(bad));
    }
    const Settings& s = session_.settings();
    toolPanel_->pages()->setCurrentIndex(
        std::min(static_cast<int>(s.PagesOpen1), toolPanel_->pages()->count() - 1));
    if (s.WindowWidth > 0 && s.WindowHeight > 0)
        setGeometry(s.WindowLeft, s.WindowTop, std::max(s.WindowWidth, 640),
                    std::max(s.WindowHeight, 480));
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
    return session_.Run([this] {
        SaveNativeFile(session_.world(), session_.settings(), session_.folder().SettingsFile(),
                       NativeKind::Ini);
    });
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
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
    {
        const QSignalBlocker block(speedBar_);
        speedBar_->setValue(session_.settings().SpeedMain);
    }
    ShowSpeed(session_.settings().SpeedMain);
    const RuleEditorState& editor = session_.world().Editor;
    status_->SetRuleInfo(ToQString(editor.InfoMemo[2]), ToQString(editor.InfoMemo[0]),
                         ToQString(editor.InfoEdit));
    view_->FitToField();
    UpdateCaption();
    ShowCounters();
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
    startButton_->setText(running ? tr("СТОП") : tr("СТАРТ"));
    const QSignalBlocker block(playButton_);
    playButton_->setChecked(running);
    if (!running) {
        ShowCounters();
        view_->viewport()->update();  // the last generation may not be shown yet
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
    QMessageBox::warning(this, QStringLiteral("Zentorix"), message);
}

void MainWindow::SetPaintTool(bool paint) {
    if (!paint)
        run_->StopButtonClick();
    session_.settings().Paint = paint;
    bindings_.Refresh();
}

void MainWindow::SetToolPanelPosition(int position) {
    toolPanelPosition_ = position;
    auto* row = static_cast<QHBoxLayout*>(centralWidget()->layout());
    row->removeWidget(toolPanel_);
    row->insertWidget(position == 1 ? 0 : row->count(), toolPanel_);
    toolPanel_->setVisible(position != 2);
    returnAction_->setVisible(position == 2);
    panelPosition_->actions().at(position)->setChecked(true);
}

void MainWindow::OpenFile(const QString& path) {
    OpenResult result;
    const PanelSize panel{view_->viewport()->width(), view_->viewport()->height()};
    const bool ok = session_.Run([&] {
        result = OpenPatternFile(session_.world(), session_.settings(), ToPath(path), panel);
    });
    if (result.stopRun || (!ok && session_.settings().StopForLoad))
        run_->StopButtonClick();
    RefreshFromModel();
    session_.Report(ToPath(path), FileAction::Opened, result.problems);
}

void MainWindow::TakeUndoSnapshot() {
    // The run goes on even when the snapshot cannot be written.
    session_.Run([this] {
        UndoSnapshot(session_.world(), session_.settings(), session_.folder(),
                     session_.world().UndoCounter);
    });
}

void MainWindow::UndoBack() {
    run_->StopButtonClick();
    session_.Run(
        [this] { zentorix::UndoBack(session_.world(), session_.settings(), session_.folder()); });
    RefreshFromModel();
}

void MainWindow::UndoForward() {
    run_->StopButtonClick();
    session_.Run([this] {
        zentorix::UndoForward(session_.world(), session_.settings(), session_.folder());
    });
    RefreshFromModel();
}

void MainWindow::QuickSave() {
    // The run pauses for the save and goes on afterwards.
    const bool running = run_->Running();
    if (running)
        run_->PlayButtonClick(false);
    session_.Run(
        [this] { zentorix::QuickSave(session_.world(), session_.settings(), session_.folder()); });
    if (running)
        run_->PlayButtonClick(true);
}

QString MainWindow::HelpFile() const {
    // The language's help file, else the Ukrainian one; an HTML guide of the same
    // name stands in where no ".chm" viewer is to be expected.
    const std::filesystem::path root = session_.folder().Root;
    for (const QString& name :
         {QStringLiteral("Zentorix%1.chm").arg(helpSuffix_), QStringLiteral("ZentorixUA.chm"),
          QStringLiteral("Zentorix%1.html").arg(helpSuffix_), QStringLiteral("ZentorixUA.html")}) {
        const std::filesystem::path file = root / ToPath(name);
        std::error_code ec;
        if (std::filesystem::exists(file, ec))
            return FromPath(file);
    }
    return {};
}

void MainWindow::OpenHelp() {
    const QString file = HelpFile();
    if (!file.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

}  // namespace zentorix::app
