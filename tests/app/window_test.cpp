// The main window as a user meets it: start-up, files from the command line,
// the run controls, the field's drawing, undo, restarts and the panels.

#include "app/app_test_support.h"
#include "app/file_lists.h"
#include "app/language_control.h"
#include "app/popup_panels.h"
#include "app/status_panels.h"
#include "core/test_support.h"
#include "engine/rule_text.h"
#include "i18n/language_file.h"

using namespace zentorix;

namespace {

// The counters the window shows: live cells, cells in state 1, born, died, and
// the generation.
QString Counters(const test::WindowFixture& f) {
    return QStringList{f.Text("Edit1"), f.Text("Edit11"), f.Text("Edit2"), f.Text("Edit7"),
                       f.Text("Edit3")}
        .join(' ');
}

// The caption a control shows, whatever kind of control it is.
QString ShownCaption(QObject* control) {
    if (auto* action = qobject_cast<QAction*>(control))
        return action->text();
    if (auto* menu = qobject_cast<QMenu*>(control))
        return menu->title();
    if (auto* group = qobject_cast<QGroupBox*>(control))
        return group->title();
    if (auto* widget = qobject_cast<QWidget*>(control);
        widget && qobject_cast<QStackedWidget*>(widget->parentWidget())) {
        if (auto* tabs = qobject_cast<QTabWidget*>(widget->parentWidget()->parentWidget()))
            return tabs->tabText(tabs->indexOf(widget));
    }
    return control->property("text").toString();
}

// What a user reads in the window: the caption of every control the language
// files name, then texts of other kinds that the language sets too.
QStringList Captions(const test::WindowFixture& f) {
    QStringList shown;
    for (std::string_view key : kComponentKeys)
        if (QObject* control = f.window->findChild<QObject*>(QString::fromUtf8(key)))
            shown << ShownCaption(control);
        else
            shown << "no control " + QString::fromUtf8(key);
    return shown << f.Find<QToolButton>("PageButton2")->text()
                 << f.Find<QComboBox>("CopyToComboBox")->itemText(1) << f.Text("StartButton")
                 << f.Text("ColorMode") << f.Text("EternalLifePeriodLabel")
                 << f.Text("StatusPanel0") << f.Find<QToolButton>("OpenFileButton")->toolTip()
                 << f.Text("Panel16");
}

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

  private slots:
    void startUpDefaultsAndTheRunControls() {
        test::WindowFixture f;
        QVERIFY(QDir(f.dir.path()).exists("Language"));  // the user's own language files
        f.window->grab().save(QStringLiteral(ZENTORIX_ARTIFACTS "/main_window.png"));

        app::RunControl& run = f.run();
        // A click; then the generation shown (counted from the last start or stop),
        // Start's caption, and whether the run goes, as Play shows.
        const std::tuple<const char*, int, const char*, bool> clicks[] = {
            {"StepButton", 1, "СТАРТ", false}, {"StepButton", 2, "СТАРТ", false},
            {"StopButton", 2, "СТАРТ", false}, {"StepButton", 1, "СТАРТ", false},
            {"StartButton", 1, "СТОП", true},  {"StartButton", 1, "СТАРТ", false},
            {"PlayButton", 1, "СТОП", true},   {"StopButton", 1, "СТАРТ", false}};
        for (const auto& [button, shown, caption, running] : clicks) {
            f.Click(button);
            QVERIFY2(f.Text("Edit3").toInt() == shown && f.Text("StartButton") == caption &&
                         f.Text("StatusPanel1").toInt() == shown,
                     button);
            QVERIFY2(run.Running() == running && f.Checked("PlayButton") == running, button);
        }
        // The status bar's generation stays whole however long it grows.
        auto* generation = f.Find<QLabel>("StatusPanel1");
        qobject_cast<app::StatusPanels*>(f.window->statusBar())->SetGeneration(2147483647);
        QVERIFY(generation->width() >= generation->sizeHint().width());

        // Speed 0 runs as fast as possible; Start raises it to 1 first.
        f.SetValue("SpeedTrackBar", 0);
        f.Click("StartButton");
        QVERIFY(f.Value("SpeedTrackBar") == 1 && run.Running());
    }

    void cellsKeepTheirPixelsAtEveryCellSizeGridZoomAndScrollOffsetAndAfterARun() {
        test::WindowFixture f;
        Settings& s = f.settings();
        app::FieldView& view = f.view();
        const QRgb live = app::ToRgb(s.Colours.ColourOfState(1));
        const QRgb background = app::ToRgb(s.Colours.BackgroundColour);
        World& world = f.world();
        // A run at full speed shows every cell as the field holds it when stopped.
        world.Random.FixSeed(7);
        for (int x = 1; x <= world.FieldWidth(); ++x)
            for (int y = 1; y <= world.FieldHeight(); ++y)
                world.MainField.at(x, y) = world.Random.Below(2);
        view.RedrawView();
        f.SetValue("SpeedTrackBar", 0);
        f.Click("StartButton");
        f.SetValue("SpeedTrackBar", 0);
        QTRY_VERIFY(f.run().ShownGeneration() > 20);
        f.Click("StopButton");
        for (int x = 1; x <= world.FieldWidth(); ++x)
            for (int y = 1; y <= world.FieldHeight(); ++y) {
                const std::int32_t v = world.MainField.at(x, y);
                if (f.CellPixel(x, y) !=
                    (v > 0 ? app::ToRgb(s.Colours.ColourOfState(v)) : background))
                    QFAIL(qPrintable(QStringLiteral("cell %1,%2").arg(x).arg(y)));
            }

        world.MainField.Clear();
        world.MainField.at(2, 3) = 1;

        // At cell size 3 the grid draws no line: the top-left pixel of a dead
        // cell is background, not grid colour.
        s.CellSize = 3;
        view.FitToField();
        s.Grid = true;
        view.RedrawView();
        QCOMPARE(view.SurfacePixel(3, 3), background);
        // Grid switched off and on again at one pixel per cell, where the field
        // fits the view and does not scroll.
        s.CellSize = 1;
        view.FitToField();
        QCOMPARE(view.horizontalScrollBar()->maximum() + view.verticalScrollBar()->maximum(), 0);
        view.ToggleGrid();
        view.ToggleGrid();
        QVERIFY(s.Grid && f.CellPixel(2, 3) == live);
        // The widest gap at an odd cell size leaves the cell its middle pixel
        // alone (x 7 of 5..9).
        s.CellSize = 5;
        view.FitToField();
        view.SetCellGap(5);
        QVERIFY(f.CellPixel(2, 3) == live && view.SurfacePixel(6, 12) == background &&
                view.SurfacePixel(8, 12) == background);
        // Grid lines are one pixel: the row under the line at y = 10 is no grid.
        QVERIFY(view.SurfacePixel(7, 11) != app::ToRgb(s.Colours.GridColour));

        // The grid switched on again at a gap of 1 takes a gap of 2.
        view.SetCellGap(1);
        view.ToggleGrid();
        view.ToggleGrid();
        QCOMPARE(s.SizeCells, 2);

        // From, direction, to: the step of the size zoomed from, within 1..50; a
        // gap of 2 stays until the cells are too small for any.
        const std::array<int, 4> zooms[] = {{8, +1, 9, 2},   {9, +1, 10, 2},  {10, +1, 12, 2},
                                            {50, +1, 50, 2}, {31, -1, 27, 2}, {30, -1, 29, 2},
                                            {4, -1, 3, 2},   {3, -1, 2, 1},   {1, -1, 1, 1}};
        for (auto [from, direction, to, gap] : zooms) {
            s.CellSize = from;
            s.SetSizeCells(2);
            view.ZoomAt(1, 1, direction);
            QCOMPARE(std::pair(s.CellSize.Value(), s.SizeCells), std::pair(to, gap));
        }
        s.CellSize = 7;
        f.SetFieldSize(160, 140);
        f.Find<QCheckBox>("EnableTOR")->setChecked(true);
        QCOMPARE(view.ViewStatusText(), QStringLiteral("7-160x140-W"));

        // At every cell size and scroll offset every cell with a pixel in the view
        // is painted, the partly shown ones at the edges included: by the full
        // redraw (all live) and by the step's repaint (all die at once).
        f.SetFieldSize(999, 999);
        world.Rules[0].BirthList.clear();
        world.Rules[0].SurvivalList.clear();
        const QSize shown = f.Find<QWidget>("PaintBox1")->size();
        // The colour each pixel of the view must have where a cell is painted.
        auto check = [&](QRgb colour, int c) {
            const int x0 = view.horizontalScrollBar()->value();
            const int y0 = view.verticalScrollBar()->value();
            auto inside = [&](int p) {
                return p % c >= view.InsetLead() && p % c < c - view.InsetTrail();
            };
            for (int py = 0; py < shown.height(); ++py)
                for (int px = 0; px < shown.width(); ++px)
                    if (inside(x0 + px) && inside(y0 + py) &&
                        view.SurfacePixel(x0 + px, y0 + py) != colour)
                        return QPoint(px, py);
            return QPoint(-1, -1);
        };
        for (int c : {1, 4, 7}) {
            for (int offset : {0, 1, c - 1}) {
                s.CellSize = c;
                view.FitToField();
                world.MainField.FillRect(1, 1, 999, 999, 1);
                view.horizontalScrollBar()->setValue(23 * c + offset);
                view.verticalScrollBar()->setValue(17 * c + offset);
                view.RedrawView();
                QCOMPARE(check(live, c), QPoint(-1, -1));
                f.run().StepButtonClick();
                QCOMPARE(check(background, c), QPoint(-1, -1));
            }
        }
    }

    // The command-line file replaces the saved field, fits as from the open
    // dialog, and undo comes back to it; a large pattern opens at one pixel per
    // cell with the grid on, its middle in view.
    void theCommandLineFileFitsAsFromTheDialogAndUndoComesBackToIt() {
        test::WindowFixture f;
        f.world().MainField.at(2, 2) = 1;
        f.Close();  // writes the settings file with this field
        const QString file = f.dir.filePath("Frame.rle");
        // A frame of live cells, 2 * 116 + 2 * 85 = 402 of them.
        test::WriteFile(file, "x = 116, y = 87, rule = B36/S23\n116o$" +
                                  QByteArray("o114bo$").repeated(85) + "116o!\n");
        f.Open(file);
        World& world = f.world();
        QVERIFY(world.FieldWidth() == 136 &&
                world.Rules[0].BirthList == std::vector<std::int32_t>({3, 6}));
        const int fromCommandLine = f.settings().CellSize;
        QVERIFY(Counters(f).startsWith("402 402 ") && fromCommandLine >= 5);
        f.window->OpenFile(file);  // as the open dialog does
        QCOMPARE(f.settings().CellSize.Value(), fromCommandLine);

        // Some steps, then a larger field saved as snapshot 2 by a start.
        for (int i = 0; i < 3; ++i)
            f.Click("StepButton");
        QVERIFY(f.Text("Edit2").toInt() > 0 && f.Text("Edit7").toInt() > 0);
        f.SetFieldSize(900, 900);
        f.window->RefreshFromModel();
        f.Click("StartButton");
        f.Click("StartButton");
        QCOMPARE(world.UndoCounter, 3);
        // Back twice: snapshot 1 is the command-line file as it was opened.
        f.Click("N14");
        f.Click("N14");
        QVERIFY(world.UndoCounter == 1 && world.FieldWidth() == 136);
        QCOMPARE(Counters(f), QStringLiteral("402 402 0 0 1"));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Frame.rle  -  Zentorix"));
        // Forward to the larger field: its middle is in view, at the same cell size.
        const int cellSize = f.settings().CellSize;
        f.Click("N15");
        QVERIFY(world.FieldWidth() == 900 && f.settings().CellSize.Value() == cellSize);
        app::FieldView& view = f.view();
        for (const QScrollBar* bar : {view.horizontalScrollBar(), view.verticalScrollBar()})
            QVERIFY(bar->maximum() > 0 && bar->value() == bar->maximum() / 2);
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Frame.rle  -  Zentorix"));

        const QString large = f.dir.filePath("full.rle");
        test::WriteFile(large, "x = 997, y = 997, rule = B3/S23\n" +
                                   QByteArray("997o$\n").repeated(997) + "!\n");
        f.Close();
        f.Open(large);
        QVERIFY(f.settings().CellSize == 1 && f.settings().Grid &&
                Counters(f).startsWith("994009 994009 "));
        const app::FieldView& v = f.view();
        QCOMPARE(v.SurfacePixel(v.horizontalScrollBar()->value() + v.viewport()->width() / 2,
                                v.verticalScrollBar()->value() + v.viewport()->height() / 2),
                 app::ToRgb(f.settings().Colours.ColourOfState(1)));
    }

    void undoSnapshotsAndSettingsSurviveARestart() {
        test::WindowFixture f;
        World& world = f.world();
        // Clearing the field and filling it are undone as one step each.
        world.MainField.at(4, 4) = 1;
        f.settings().RandomFillIntensity = 100;
        f.settings().MainFillRandom = true;
        for (const char* button : {"EraseButton", "FillRandomButton"}) {
            const test::Cells before = test::AllLive(world.MainField);
            f.Click(button);
            QVERIFY2(test::AllLive(world.MainField) != before, button);
            f.Click("N14");
            QVERIFY2(test::AllLive(world.MainField) == before, button);
        }

        f.Find<QCheckBox>("AutoStop")->setChecked(true);
        f.SetValue("IntSizeBigGrid", 9);
        f.SetValue("UpDown2", 77);
        f.SetValue("SpeedTrackBar", 250);
        world.MainField.at(5, 6) = 1;
        world.EternalLifeField.at(7, 8) = 1;
        f.view().ZoomAt(1, 1, +1);
        f.Close();

        f.Open();
        const Settings& s = f.settings();
        QVERIFY(s.AutoStop && f.Checked("AutoStop") && s.SizeBigGrid.Value() == 9);
        QVERIFY(f.Value("UpDown2") == 77 && f.Value("SpeedTrackBar") == 250 &&
                f.run().findChild<QTimer*>("Timer1")->interval() == 250 &&
                f.Text("InfoSpeedPanel") == "250ms  ");
        // The fields come back because SaveFieldWhenExit starts checked, and the
        // counters show them from the start.
        QVERIFY(f.world().MainField.at(5, 6) == 1 && f.world().EternalLifeField.at(7, 8) == 1);
        QVERIFY(f.Text("Edit1").toInt() == f.world().Counters.LiveCount && f.Text("Edit1") != "0");
    }

    // A saved place comes back on the screen with room for the frame (4 px, the
    // title bar 32 px); a window as large as the screen, frame or not, was maximised
    // (its place is then the window system's: -1, not compared). A screen smaller
    // than the window's usual minimum (ctest runs this on 640 x 480 too) still
    // shows all of it.
    void theSavedPlacementKeepsTheWindowOnTheScreen() {
        test::WindowFixture f{test::WindowFixture::Unopened{}};
        const QRect a = QGuiApplication::primaryScreen()->availableGeometry();
        const int low = a.bottom() + 1 - 4 - std::min(520, a.height() - 36);
        // The saved place and size; the top shown, and whether maximised.
        const std::tuple<int, int, int, int, bool> rows[] = {
            {9000, 800, 520, low, false},
            {-9000, 800, 520, a.top() + 32, false},
            {0, a.width(), a.height(), -1, true},
            {0, a.width() - 8, a.height() - 36, -1, true},
            {0, a.width() + 1, a.height(), a.top() + 32, false},
            {0, a.width(), a.height() - 37, a.top() + 32, false},
        };
        const QString ini =
            "#Zentorix\r\n#FileType ini\r\n#WindowTop:           %1\r\n"
            "#WindowLeft:          %2\r\n#WindowHeight:        %3\r\n"
            "#WindowWidth:         %4\r\n";
        for (const auto& [top, width, height, shownTop, maximised] : rows) {
            test::WriteFile(f.dir.filePath("Zentorix.ini"),
                            ini.arg(top).arg(a.left()).arg(height).arg(width).toLatin1());
            const app::MainWindow window(f.Folder(), {});
            const int y = window.isMaximized() ? -1 : window.y();
            QCOMPARE(std::pair(y, window.isMaximized()), std::pair(shownTop, maximised));
            QVERIFY2(window.isMaximized() || a.adjusted(4, 32, -4, -4).contains(window.geometry()),
                     qPrintable(QDebug::toString(window.geometry())));
            // Too wide for the screen: as wide as the room beside the frame.
            QVERIFY(window.isMaximized() || width <= a.width() || window.width() == a.width() - 8);
        }
    }

    void badSettingsMissingAndUnknownFilesAreTold() {
        test::WindowFixture f{test::WindowFixture::Unopened{}};
        test::WriteFile(
            f.dir.filePath("Zentorix.ini"),
            "#Zentorix configuration file\r\n#FileType ini\r\n#FieldWidth:         abc\r\n");
        QString told;  // once the window is shown
        test::AnswerQuestion(QMessageBox::Ok, &told);
        f.Open();
        QVERIFY2(told.contains("Zentorix.ini.bad"), qPrintable(told));
        QVERIFY(QFileInfo::exists(f.dir.filePath("Zentorix.ini.bad")) && f.settings().ClearForLoad);
        f.Close();

        QStringList messages;
        app::MainWindow window(f.Folder(), f.dir.filePath("nowhere.rle"));
        window.SetMessageSink([&messages](const QString& text) { messages << text; });
        window.show();
        QTRY_VERIFY(window.StartedUp());

        test::WriteFile(f.dir.filePath("notes.txt"), "\x01\x02 not a pattern \x03\n");
        window.OpenFile(f.dir.filePath("notes.txt"));
        window.findChild<QAction*>("Contents1")->trigger();  // no help file here
        QCOMPARE(messages.size(), 3);
        QVERIFY2(messages[0].contains("nowhere.rle"), qPrintable(messages[0]));
        QVERIFY(messages[1].contains("notes.txt") && messages[1].contains("формат"));
        QVERIFY2(messages[2].contains("довідки"), qPrintable(messages[2]));
        QCOMPARE(window.windowTitle(), QStringLiteral("new.zlf  -  Zentorix"));

        // A quick save is confirmed on the status bar with the file's name; a run
        // pauses for it and goes on.
        window.runControl().StartButtonClick();
        QSignalSpy runs(&window.runControl(), &app::RunControl::RunStateChanged);
        window.findChild<QAction*>("Save0")->trigger();
        const QStringList quick = QDir(f.dir.filePath("QuickSave")).entryList({"*.qlf"});
        QVERIFY(quick.size() == 1 && window.statusBar()->currentMessage().contains(quick.first()));
        QVERIFY(runs.size() == 2 && !runs[0][0].toBool() && window.runControl().Running());
    }

    void toolPanelPagesPopUpsTimingAndHelp() {
        test::WindowFixture f;
        const Settings& s = f.settings();
        // Every option page at the panel's width, one click each.
        auto* pages = f.Find<QTabWidget>("PageControl1");
        auto* panel = f.Find<QScrollArea>("Panel7");
        for (int i = pages->count() - 1; i >= 0; --i) {
            auto* button = f.Find<QToolButton>(qPrintable(QStringLiteral("PageButton%1").arg(i)));
            button->click();
            QVERIFY(button->text() == pages->tabText(i) && pages->currentIndex() == i &&
                    button->isChecked());
        }
        // The grid button and menu item show the grid's state.
        for (int i = 0; i < 2; ++i) {
            f.Click("GridButton");
            QVERIFY(f.Checked("GridButton") == s.Grid && f.Checked("Grid1") == s.Grid);
            f.Click("Grid1");
            QCOMPARE(f.Checked("GridButton"), s.Grid);
        }

        // The tool panel stands right, left or hidden.
        auto* field = f.Find<QWidget>("Panel1");
        QVERIFY(panel->x() > field->x());
        f.Click("PanelLeft1");
        QApplication::processEvents();
        QVERIFY(panel->x() < field->x());
        auto* back = f.Find<QAction>("Return21");
        QVERIFY(!back->isVisible());
        f.Click("PanelOff1");
        QVERIFY(!panel->isVisible() && back->isVisible());
        back->trigger();  // the context menu brings it back at the right
        QApplication::processEvents();
        QVERIFY(panel->isVisible() && panel->x() > field->x() && f.Checked("PanelRigth1"));

        // The pop-up About panel opens from the menu and closes by its button.
        app::PopupPanels& popups = f.window->popups();
        f.Click("About1");  // its pictures take turns while it is shown
        QVERIFY(popups.panel("AboutPanel")->isVisible() &&
                popups.findChild<QTimer*>("Timer3")->isActive());
        f.Click("Cansel6");
        QVERIFY(!popups.panel("AboutPanel")->isVisible() &&
                !popups.findChild<QTimer*>("Timer3")->isActive());

        // The timing button shows the milliseconds of a hundred steps.
        const int next = f.world().Counters.Generation;
        f.Click("Button1");
        QVERIFY(QRegularExpression("^[0-9]+$").match(f.Text("Button1")).hasMatch());
        // Generations next .. next + 99 were computed; Edit3 shows the last.
        QCOMPARE(f.run().ShownGeneration(), next + 99);

        // A folder typed into the path box is listed; a wrong one changes nothing.
        auto* lists = f.window->findChild<app::FolderFileLists*>();
        QVERIFY(QDir(f.dir.path()).mkpath("deep/er/patterns"));
        const QString deep = QDir(f.dir.filePath("deep/er/patterns")).absolutePath();
        for (const auto& [typed, expected] :
             {std::pair{deep, deep}, std::pair{f.dir.filePath("missing"), deep}}) {
            lists->pathBox()->setText(typed);
            f.Type(lists->pathBox(), {}, Qt::Key_Return);
            QCOMPARE(lists->folder(), expected);
        }
        QVERIFY(lists->pathBox()->toolTip().contains("missing"));
    }

    // The four panels start in their pages, float, dock on any side, keep their
    // places through a restart and go home from the menu.
    void panelsDockAnywhereAndComeBack() {
        test::WindowFixture f;
        const std::pair<const char*, const char*> homes[] = {{"RulesSelectPanel", "TabSheet3"},
                                                             {"RegionPanel", "TabSheet3"},
                                                             {"SBPanel", "Panel7"},
                                                             {"GraphStatisticPanel", "TabSheet4"}};
        // Where each panel is: home in its page, floating, or on a side (its area).
        const auto places = [&] {
            QStringList shown;
            for (const auto& [name, page] : homes) {
                auto* dock = f.Find<QDockWidget>(name);
                shown << (dock->isFloating() ? QString("floating")
                          : f.Find<QWidget>(page)->isAncestorOf(dock)
                              ? QString("home")
                              : QString::number(f.window->dockWidgetArea(dock)));
            }
            return shown.join(' ');
        };
        const QString allHome = "home home home home";
        QCOMPARE(places(), allHome);
        // Floated by its button and dragged to a side; another one left floating.
        for (const auto& [name, side] : {std::pair{"GraphStatisticPanel", Qt::BottomDockWidgetArea},
                                         std::pair{"SBPanel", Qt::LeftDockWidgetArea}}) {
            auto* dock = f.Find<QDockWidget>(name);
            dock->setFloating(true);
            QTRY_VERIFY(dock->parentWidget() == f.window.get() && dock->isFloating());
            f.window->addDockWidget(side, dock);
            dock->setFloating(false);
        }
        f.Find<QDockWidget>("RegionPanel")->setFloating(true);
        QTRY_VERIFY(f.Find<QDockWidget>("RegionPanel")->parentWidget() == f.window.get());
        const QString placed = "home floating 1 8";  // SBPanel left, the chart at the bottom
        QCOMPARE(places(), placed);
        f.Close();
        f.Open();
        QCOMPARE(places(), placed);
        // The settings file keeps its own keys only.
        QVERIFY(!test::ReadFile(f.dir.filePath("Zentorix.ini")).contains("Dock"));

        f.Find<QAction>("PanelsHome1")->trigger();
        QCOMPARE(places(), allHome);
        f.Close();
        f.Open();
        QCOMPARE(places(), allHome);
    }

    void SwitchingChangesEveryCaptionAndNoRuleOrSelection() {
        test::WindowFixture f{test::WindowFixture::Unopened{}};
        test::CopyShippedLanguages(f.dir.path());
        QFile::remove(f.dir.path() + "/Language/#SelLangStart");
        f.Open();
        app::LanguageControl& language = f.window->language();
        const QStringList ukrainian = Captions(f);
        // A state a language switch must not disturb: rule set 2 edited with its
        // own rule, a layer chosen in a list.
        auto* copyTo = f.Find<QComboBox>("CopyToComboBox");
        test::Choose(copyTo, 2);
        test::Choose(f.Find<QComboBox>("RulesSelectorBox"), 2);
        const auto rules = f.world().Rules;

        language.ApplyLanguageFile("english.lng");
        QVERIFY(copyTo->currentIndex() == 2 && f.world().Editor.EditedRuleSet == 2);
        QVERIFY(f.world().Rules == rules);
        // Every control the language file names shows the file's English caption.
        LanguageTexts texts = DefaultLanguageTexts();
        const auto file = ReadLanguageFile(
            app::ToPath(QStringLiteral(ZENTORIX_SHIPPED_DATA "/Language/english.lng")), texts);
        QVERIFY(file && file->error.empty());
        const std::map<std::string, std::string, std::less<>> captions(file->captions.begin(),
                                                                       file->captions.end());
        QStringList english;
        for (std::string_view key : kComponentKeys) {
            const auto caption = captions.find(key);
            english << QString::fromStdString(
                caption != captions.end() ? caption->second : "no caption for " + std::string(key));
        }
        english += QStringList{
            "Colours",      "Eternal Life",         "START", "Colour by age", "Every 1 generation",
            "Generation =", "Open a file (Ctrl+O)", "EN"};
        QCOMPARE(Captions(f), english);
        auto* pages = f.Find<QTabWidget>("PageControl1");
        for (int i = 0; i < pages->count(); ++i)  // the tool panel's buttons name its pages
            QCOMPARE(f.Find<QToolButton>(qPrintable(QStringLiteral("PageButton%1").arg(i)))->text(),
                     pages->tabText(i));

        language.ApplyLanguageFile("ukraine.lng");
        QCOMPARE(Captions(f), ukrainian);
    }

    void FirstStartOffersTheChoiceAndTheChoiceSurvivesARestart() {
        test::WindowFixture f{test::WindowFixture::Unopened{}};
        test::CopyShippedLanguages(f.dir.path());
        f.Open();
        QFrame* panel = f.window->popups().panel("ChangeLanguagePanel");
        QTRY_VERIFY(panel->isVisible());
        auto* list = f.Find<QListWidget>("LanguageListBox");
        QVERIFY(list->count() == 2 && list->item(0)->text() == "English");

        // A click previews; Cancel puts back the language the panel opened with.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(0)).center());
        QCOMPARE(f.Find<QMenu>("File1")->title(), QStringLiteral("File"));
        f.Find<QPushButton>("Cansel03")->click();
        QVERIFY(!panel->isVisible() && f.Find<QMenu>("File1")->title() == "Файл");

        f.window->findChild<QAction*>("Language1")->trigger();
        QVERIFY(panel->isVisible() && list->currentRow() == 1);  // the language in use
        list->setCurrentRow(0);
        f.Find<QPushButton>("ChangeLanguage1")->click();
        QVERIFY(!panel->isVisible());
        f.Close();

        f.Open();  // the settings file now exists: no panel, the language as chosen
        QVERIFY(!panel || !f.window->popups().panel("ChangeLanguagePanel")->isVisible());
        QCOMPARE(f.Find<QMenu>("File1")->title(), QStringLiteral("File"));
        QCOMPARE(f.window->language().CurrentLanguageFile(), QStringLiteral("english.lng"));
        QCOMPARE(f.world().Editor.RulesComboBoxText, std::string("Conway`s Life"));
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
