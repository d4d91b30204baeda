// The main window's menus and tool bar: every command carries its
// object name and shortcut; the handlers live in the window and its parts.
#include <QActionGroup>
#include <QComboBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QSlider>
#include <QVBoxLayout>

#include "app/colours_page.h"
#include "app/edit_commands.h"
#include "app/field_editing.h"
#include "app/flow_layout.h"
#include "app/language_texts.h"
#include "app/main_window.h"
#include "app/panel_docks.h"
#include "app/popup_panels.h"
#include "app/rules_page.h"
#include "engine/field_regions.h"

namespace zentorix::app {

QAction* MainWindow::MakeAction(const char* name, const QString& caption,
                                const QKeySequence& shortcut) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

void MainWindow::BuildMenus() {
    // Made here rather than by menuBar(): it shares the window's top with the
    // tool bars (BuildToolBar), and the window would delete a menu bar of its own
    // making when they are put in its place.
    auto* bar = new QMenuBar(this);
    bar->setObjectName("MainMenu1");
    menuBar_ = bar;
    auto menu = [bar](const char* name, const QString& caption) {
        QMenu* m = bar->addMenu(caption);
        m->setObjectName(name);
        m->menuAction()->setObjectName(name);
        return m;
    };
    // Clearing changes the whole field at once: Ctrl+Z brings it back.
    auto erase = [this](bool allLayers) {
        TakeUndoSnapshot();
        EraseRegion(session_.world(), session_.settings(), WholeFieldRect(session_.world()),
                    allLayers);
        view_->RedrawView(true);
    };

    QMenu* file = menu("File1", tr("Файл"));
    QAction* open = MakeAction("Open1", tr("Відкрити..."), QKeySequence(Qt::CTRL | Qt::Key_O));
    QAction* quick = MakeAction("Save0", tr("Зберегти"), QKeySequence(Qt::CTRL | Qt::Key_S));
    QAction* saveAs =
        MakeAction("Save1", tr("Зберегти як..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    QAction* back =
        MakeAction("N14", tr("Попередній збережений стан"), QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* forward = MakeAction("N15", tr("Наступний збережений стан"),
                                  QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    QAction* exit = MakeAction("Exit1", tr("Вихід"));
    file->addActions({open, quick, saveAs});
    file->addSeparator();
    file->addActions({back, forward});
    file->addSeparator();
    file->addAction(exit);
    connect(open, &QAction::triggered, this, [this] { emit OpenDialogRequested(); });
    connect(quick, &QAction::triggered, this, &MainWindow::QuickSave);
    connect(saveAs, &QAction::triggered, this, [this] { popups_->Toggle("SavePanel", true); });
    connect(back, &QAction::triggered, this, [this] { Undo(false); });
    connect(forward, &QAction::triggered, this, [this] { Undo(true); });
    connect(exit, &QAction::triggered, this, &MainWindow::ExitButtonClick);

    QMenu* edit = menu("Edit32", tr("Правка"));
    QAction* refresh = MakeAction("Refresh2", tr("Оновити"), QKeySequence(Qt::CTRL | Qt::Key_R));
    QAction* paint = MakeAction("Paint1", tr("Малювання"), QKeySequence(Qt::Key_F5));
    QAction* select = MakeAction("Select2", tr("Виділення"), QKeySequence(Qt::Key_F6));
    QAction* clear =
        MakeAction("Clear1", tr("Очистити поле"), QKeySequence(Qt::CTRL | Qt::Key_Delete));
    QAction* clearAll = MakeAction("ClearAll1", tr("Очистити всі області"),
                                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Delete));
    edit->addActions({refresh, paint, select, clear, clearAll});
    connect(refresh, &QAction::triggered, this, [this] { view_->RedrawView(); });
    connect(paint, &QAction::triggered, this, [this] { SetPaintTool(true); });
    connect(select, &QAction::triggered, this, [this] { SetPaintTool(false); });
    connect(clear, &QAction::triggered, this, [erase] { erase(false); });
    connect(clearAll, &QAction::triggered, this, [erase] { erase(true); });

    QMenu* process = menu("Process1", tr("Процес"));
    QAction* start = MakeAction("Start2", tr("Старт / пауза"));
    QAction* step = MakeAction("Step1", tr("Крок"));
    QAction* stop = MakeAction("Stop1", tr("Стоп"));
    process->addActions({start, step, stop});
    connect(start, &QAction::triggered, this, [this] { playButton_->click(); });
    connect(step, &QAction::triggered, run_.get(), &RunControl::StepButtonClick);
    connect(stop, &QAction::triggered, run_.get(), &RunControl::StopButtonClick);

    QMenu* options = menu("Options1", tr("Опції"));
    QAction* grid = MakeAction("Grid1", tr("Сітка"), QKeySequence(Qt::CTRL | Qt::Key_G));
    QAction* torus = MakeAction("N5", tr("Тор"), QKeySequence(Qt::CTRL | Qt::Key_W));
    QAction* colour = MakeAction("N4", tr("Колір"), QKeySequence(Qt::CTRL | Qt::Key_B));
    QAction* files = MakeAction("N11", tr("Панель файлів"));
    QAction* language = MakeAction("Language1", tr("Мова"));
    grid->setCheckable(true);
    torus->setCheckable(true);
    colour->setCheckable(true);
    files->setCheckable(true);
    files->setChecked(true);
    options->addActions({grid, torus, colour, files, language});
    connect(grid, &QAction::triggered, this, [this] { view_->ToggleGrid(); });
    connect(torus, &QAction::triggered, this, [this](bool on) {
        session_.settings().EnableTOR = on;
        RefreshFromModel();
    });
    connect(colour, &QAction::triggered, this, [this](bool on) { ColorOnClick(*this, on); });
    bindings_.OnRefresh([this, torus, colour] {
        torus->setChecked(session_.settings().EnableTOR);
        colour->setChecked(session_.settings().Colours.ColorOn);
    });
    connect(files, &QAction::toggled, this, [this](bool on) { filePanel_->setVisible(on); });
    connect(language, &QAction::triggered, this,
            [this] { popups_->Toggle("ChangeLanguagePanel", true); });

    QMenu* panelMenu = options->addMenu(tr("Панель інструментів"));
    panelMenu->setObjectName("ToolPanel1");
    panelMenu->menuAction()->setObjectName("ToolPanel1");
    panelPosition_ = new QActionGroup(this);
    const std::tuple<const char*, QString, QKeySequence> positions[] = {
        {"PanelRigth1", tr("Праворуч"), QKeySequence(Qt::CTRL | Qt::Key_N)},
        {"PanelLeft1", tr("Ліворуч"), QKeySequence()},
        {"PanelOff1", tr("Сховати"), QKeySequence()}};
    int index = 0;
    for (const auto& [name, caption, keys] : positions) {
        QAction* a = MakeAction(name, caption, keys);
        a->setCheckable(true);
        a->setChecked(index == 0);
        panelPosition_->addAction(a);
        panelMenu->addAction(a);
        connect(a, &QAction::triggered, this, [this, index] { SetToolPanelPosition(index); });
        ++index;
    }

    // The dockable panels, wherever they were taken, back in their pages.
    QAction* panelsHome = MakeAction("PanelsHome1", tr("Панелі на місце"));
    options->addAction(panelsHome);
    connect(panelsHome, &QAction::triggered, this, [this] { docks_->AllHome(); });

    QMenu* tools = menu("Tools1", tr("Інструменти"));
    QAction* palettor = MakeAction("Palettorcolorpalette1", tr("Палітри кольорів..."));
    tools->addAction(palettor);

    QMenu* help = menu("Help1", tr("Довідка"));
    QAction* contents = MakeAction("Contents1", tr("Зміст"), QKeySequence(Qt::Key_F1));
    QAction* about = MakeAction("About1", tr("Про програму"));
    help->addActions({contents, about});
    connect(contents, &QAction::triggered, this, &MainWindow::OpenHelp);
    connect(about, &QAction::triggered, this, [this] { popups_->Toggle("AboutPanel"); });

    // The view's context menu.
    contextMenu_ = new QMenu(this);
    contextMenu_->setObjectName("PopupMenu1");
    QAction* start1 = MakeAction("Start1", tr("Старт"));
    QAction* stop2 = MakeAction("Stop2", tr("Стоп"));
    QAction* step2 = MakeAction("Step2", tr("Крок"));
    QAction* refresh1 = MakeAction("Refresh1", tr("Оновити"));
    returnAction_ = MakeAction("Return21", tr("Повернути панель інструментів"));
    returnAction_->setVisible(false);
    QAction* panelSeparator = MakeAction("N1", QString());
    panelSeparator->setSeparator(true);
    panelSeparator->setVisible(false);
    // Enter starts from the open menu; Ctrl+Enter steps (the window's own keys
    // otherwise give them to StartButton and SpeedButton2).
    start1->setShortcut(Qt::Key_Return);
    step2->setShortcut(Qt::CTRL | Qt::Key_Return);
    refresh1->setShortcut(Qt::CTRL | Qt::Key_R);
    contextMenu_->addActions({start1, stop2, step2, refresh1, panelSeparator, returnAction_});
    AddEditCommands(*this, *editing_, edit, contextMenu_);
    connect(start1, &QAction::triggered, this, [this] { startButton_->click(); });
    connect(stop2, &QAction::triggered, run_.get(), &RunControl::StopButtonClick);
    connect(step2, &QAction::triggered, run_.get(), &RunControl::StepButtonClick);
    connect(refresh1, &QAction::triggered, this, [this] { view_->RedrawView(); });
    connect(returnAction_, &QAction::triggered, this, [this] { SetToolPanelPosition(0); });
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        editing_->ShowFrameForMenu();
        contextMenu_->popup(view_->mapToGlobal(at));
    });
}

void MainWindow::BuildToolBar() {
    // ControlBar1: the menu bar over the tool bars. The tool bars flow into as
    // many rows as the window's width needs, so no control hides behind "»".
    auto* control = new QWidget(this);
    control->setObjectName("ControlBar1");
    auto* column = new QVBoxLayout(control);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(menuBar_);
    toolBars_ = new QWidget(control);
    toolBars_->setObjectName("ToolBar1");
    auto* flow = new FlowLayout(toolBars_, 10);  // the groups apart
    flow->setContentsMargins(2, 0, 2, 0);
    column->addWidget(toolBars_);
    setMenuWidget(control);

    ToolGroup* bar = nullptr;
    auto group = [this, flow, &bar](const char* name) {
        bar = new ToolGroup(name, toolBars_);
        flow->addWidget(bar);
    };
    group("FileToolBar");
    auto tool = [&bar](const char* name, const QString& caption, const QString& tip,
                       bool checkable = false) {
        QToolButton* b = MakeToolButton(name, caption, checkable, bar);
        b->setToolTip(tip);
        bar->addWidget(b);
        return b;
    };
    connect(tool("OpenFileButton", tr("Відкрити"), tr("Відкрити файл (Ctrl+O)")),
            &QToolButton::clicked, this, [this] { emit OpenDialogRequested(); });
    connect(tool("SaveFileButton", tr("Зберегти"), tr("Швидке збереження (Ctrl+S)")),
            &QToolButton::clicked, this, &MainWindow::QuickSave);
    connect(tool("SaveAsFileButton", tr("Як..."), tr("Зберегти як (Ctrl+Shift+S)")),
            &QToolButton::clicked, this, [this] { popups_->Toggle("SavePanel", true); });
    group("RunToolBar");

    startButton_ = MakeButton("StartButton", LanguageText(kStartCaption), bar);
    startButton_->setMinimumWidth(70);
    bar->addWidget(startButton_);
    connect(startButton_, &QPushButton::clicked, run_.get(), &RunControl::StartButtonClick);
    playButton_ = tool("PlayButton", QStringLiteral("▶"), tr("Пуск / пауза"), true);
    connect(playButton_, &QToolButton::clicked, run_.get(), &RunControl::PlayButtonClick);
    connect(tool("StopButton", QStringLiteral("■"), tr("Стоп")), &QToolButton::clicked, run_.get(),
            &RunControl::StopButtonClick);
    connect(tool("StepButton", tr("Крок"), tr("Один крок")), &QToolButton::clicked, run_.get(),
            &RunControl::StepButtonClick);

    speedBar_ = new QSlider(Qt::Horizontal, bar);
    speedBar_->setObjectName("SpeedTrackBar");
    speedBar_->setRange(0, 1000);
    speedBar_->setMaximumWidth(160);
    speedBar_->setToolTip(tr("Інтервал між кроками, мс (0 — найшвидше)"));
    bar->addWidget(speedBar_);
    connect(speedBar_, &QSlider::valueChanged, run_.get(), &RunControl::SetSpeed);
    speedPanel_ = MakeLabel("InfoSpeedPanel", QString(), bar);
    speedPanel_->setMinimumWidth(56);
    bar->addWidget(speedPanel_);
    group("ViewToolBar");

    auto* gridButton = tool("GridButton", tr("Сітка"), tr("Сітка (Ctrl+G)"), true);
    connect(gridButton, &QToolButton::clicked, this, [this] { view_->ToggleGrid(); });
    // The menu item and the button show whether the grid is on, however it was switched.
    auto showGrid = [this, gridButton, gridAction = findChild<QAction*>("Grid1")] {
        const bool on = session_.settings().Grid;
        gridAction->setChecked(on);
        const QSignalBlocker block(gridButton);
        gridButton->setChecked(on);
    };
    bindings_.OnRefresh(showGrid);
    connect(view_, &FieldView::GridChanged, this, showGrid);
    auto* colourButton = tool("SpeedButton11", tr("Колір"), tr("Колір за станом (Ctrl+B)"), true);
    connect(colourButton, &QToolButton::clicked, this,
            [this](bool on) { ColorOnClick(*this, on); });
    bindings_.OnRefresh([this, colourButton] {
        const QSignalBlocker block(colourButton);
        colourButton->setChecked(session_.settings().Colours.ColorOn);
    });
    auto* paintButton = tool("PaintButton", tr("Малювати"), tr("Малювання (F5)"), true);
    auto* selectButton = tool("SelectButton", tr("Виділити"), tr("Виділення (F6)"), true);
    connect(paintButton, &QToolButton::clicked, this, [this] { SetPaintTool(true); });
    connect(selectButton, &QToolButton::clicked, this, [this] { SetPaintTool(false); });
    bindings_.OnRefresh([this, paintButton, selectButton] {
        paintButton->setChecked(session_.settings().Paint);
        selectButton->setChecked(!session_.settings().Paint);
    });
    connect(tool("EraseButton", tr("Очистити"), tr("Очистити поле (Ctrl+Del)")),
            &QToolButton::clicked, this, [this] { findChild<QAction*>("Clear1")->trigger(); });
    connect(tool("RefreshButton", tr("Оновити"), tr("Перемалювати поле (Ctrl+R)")),
            &QToolButton::clicked, this, [this] { view_->RedrawView(); });
    auto zoomAboutCentre = [this](int direction) {
        const CellRect r = view_->VisibleWindow();
        view_->ZoomAt(r.FirstColumn + (r.LastColumn - r.FirstColumn) / 2,
                      r.FirstRow + (r.LastRow - r.FirstRow) / 2, direction);
    };
    connect(tool("HotKeysButton", QStringLiteral("+"), tr("Збільшити")), &QToolButton::clicked,
            this, [zoomAboutCentre] { zoomAboutCentre(+1); });
    connect(tool("SpeedButton29", QStringLiteral("−"), tr("Зменшити")), &QToolButton::clicked, this,
            [zoomAboutCentre] { zoomAboutCentre(-1); });
    group("RulesToolBar");

    auto* presetPanel = new QWidget(bar);
    presetPanel->setObjectName("Panel40");
    auto* presetRow = new QHBoxLayout(presetPanel);
    presetRow->setContentsMargins(0, 0, 0, 0);
    presetList_ = MakeComboBox("ComboBox1", {}, presetPanel);
    presetList_->setMinimumWidth(160);
    presetRow->addWidget(presetList_);
    // The rules page fills it and chooses the same entry of its rules list.
    if (auto* rules = findChild<RulesPage*>())
        rules->AttachToolBarList(presetList_);
    bar->addWidget(presetPanel);

    group("ShellToolBar");
    connect(tool("ChangeLanguageButton", tr("Мова"), tr("Мова інтерфейсу")), &QToolButton::clicked,
            this, [this] { popups_->Toggle("ChangeLanguagePanel", true); });
    connect(tool("HelpButton", QStringLiteral("?"), tr("Довідка (F1)")), &QToolButton::clicked,
            this, &MainWindow::OpenHelp);
    auto* exitButton = MakeButton("ExitButton", tr("Вихід"), bar);
    bar->addWidget(exitButton);
    connect(exitButton, &QPushButton::clicked, this, &MainWindow::ExitButtonClick);
}

}  // namespace zentorix::app
