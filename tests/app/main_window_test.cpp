#include <QFileInfo>
#include <QScrollBar>
#include <array>

#include "app/app_test_support.h"

using namespace zentorix;

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void startUpDefaultsAndTheRunControls() {
        test::WindowFixture f;
        QCOMPARE(f.window->windowTitle(), QStringLiteral("new.zlf  -  Zentorix"));
        for (const char* name : {"QuickSave", "Color", "Field", "Rules", "Language"})
            QVERIFY2(QDir(f.dir.path()).exists(name), name);
        f.Screenshot("main_window");

        auto* start = f.Find<QPushButton>("StartButton");
        auto* step = f.Find<QToolButton>("StepButton");
        auto* stop = f.Find<QToolButton>("StopButton");
        auto* play = f.Find<QToolButton>("PlayButton");
        auto* edit3 = f.Find<QLineEdit>("Edit3");
        app::RunControl& run = f.window->runControl();
        QCOMPARE(start->text(), QStringLiteral("СТАРТ"));
        for (int i = 0; i < 50; ++i)
            step->click();
        QCOMPARE(edit3->text(), QStringLiteral("50"));
        stop->click();
        QCOMPARE(edit3->text(), QStringLiteral("50"));  // the shown number stays
        step->click();
        QCOMPARE(edit3->text(), QStringLiteral("1"));
        for (const bool running : {true, false}) {
            start->click();
            QCOMPARE(start->text(), running ? QStringLiteral("СТОП") : QStringLiteral("СТАРТ"));
            QCOMPARE(play->isChecked(), running);
        }
        play->click();
        QVERIFY(run.Running());
        stop->click();
        QVERIFY(!run.Running());

        // Speed 0 runs as fast as possible; Start raises it to 1 first.
        auto* speed = f.Find<QSlider>("SpeedTrackBar");
        speed->setValue(0);
        QCOMPARE(f.Find<QLabel>("InfoSpeedPanel")->text(), QStringLiteral("!!!"));
        start->click();
        QCOMPARE(speed->value(), 1);
        speed->setValue(0);
        QTest::qWait(200);
        const int generations = run.ShownGeneration();
        QVERIFY2(generations > 10, qPrintable(QString::number(generations)));
        speed->setValue(20);
        QVERIFY(run.Running());
        start->click();
        QVERIFY(!run.Running());
    }

    void cellsKeepTheirPixelsAtEveryCellSizeGridAndZoom() {
        test::WindowFixture f;
        Settings& s = f.settings();
        app::FieldView& view = f.window->fieldView();
        const QRgb live = app::ToRgb(s.Colours.ColourOfState(1));
        const QRgb background = app::ToRgb(s.Colours.BackgroundColour);
        f.world().MainField.at(2, 3) = 1;
        view.RedrawView();
        QCOMPARE(f.CellPixel(2, 3), live);
        QCOMPARE(f.CellPixel(1, 1), background);

        // The grid flips at cell size 3 but draws no line there: the top-left
        // pixel of a dead cell is background, not grid colour.
        s.CellSize = 3;
        view.FitToField();
        const bool before = s.Grid;
        view.ToggleGrid();
        QCOMPARE(s.Grid, !before);
        s.Grid = true;
        view.RedrawView();
        QCOMPARE(view.SurfacePixel(3, 3), background);

        // Grid switched off and on again at one pixel per cell.
        s.CellSize = 1;
        view.FitToField();
        view.ToggleGrid();
        view.ToggleGrid();
        QVERIFY(s.Grid);
        QCOMPARE(f.CellPixel(2, 3), live);
        // The widest gap at an odd cell size leaves the cell its middle pixel.
        s.CellSize = 5;
        view.FitToField();
        view.SetCellGap(5);
        QCOMPARE(f.CellPixel(2, 3), live);

        // From, direction, to: the step of the size zoomed from, within 1..50.
        const std::array<int, 3> zooms[] = {{8, +1, 9},   {9, +1, 10},  {10, +1, 12}, {50, +1, 50},
                                            {31, -1, 27}, {30, -1, 29}, {1, -1, 1}};
        for (auto [from, direction, to] : zooms) {
            s.CellSize = from;
            view.ZoomAt(1, 1, direction);
            QCOMPARE(s.CellSize.Value(), to);
        }
        s.CellSize = 7;
        f.world().SetFieldWidth(160);
        f.world().SetFieldHeight(140);
        f.Find<QCheckBox>("EnableTOR")->setChecked(true);
        QCOMPARE(view.ViewStatusText(), QStringLiteral("7-160x140-W"));
    }

    // At every cell size and scroll offset every cell with a pixel in the view
    // is painted, the partly shown ones at the edges included: by the full
    // redraw (all live) and by the step's repaint (all die at once).
    void everyVisibleCellIsPaintedAtEveryScrollOffset() {
        test::WindowFixture f;
        Settings& s = f.settings();
        World& w = f.world();
        app::FieldView& view = f.window->fieldView();
        w.SetFieldWidth(999);
        w.SetFieldHeight(999);
        w.MainField.FillRect(1, 1, 999, 999, 1);
        w.Rules[0].BirthList.clear();
        w.Rules[0].SurvivalList.clear();
        const QRgb live = app::ToRgb(s.Colours.ColourOfState(1));
        const QRgb empty = app::ToRgb(s.Colours.BackgroundColour);
        const QSize shown = f.Find<QWidget>("PaintBox1")->size();
        // The colour each pixel of the view must have where a cell is painted.
        auto check = [&](QRgb colour, const char* what, int c, int offset) {
            const int x0 = view.horizontalScrollBar()->value();
            const int y0 = view.verticalScrollBar()->value();
            const int lead = view.InsetLead(), trail = view.InsetTrail();
            auto inside = [&](int p) { return p % c >= lead && p % c < c - trail; };
            for (int py = 0; py < shown.height(); ++py)
                for (int px = 0; px < shown.width(); ++px)
                    if (inside(x0 + px) && inside(y0 + py) &&
                        view.SurfacePixel(x0 + px, y0 + py) != colour)
                        QFAIL(qPrintable(QStringLiteral("%1: cell size %2, offset %3, pixel %4,%5")
                                             .arg(what)
                                             .arg(c)
                                             .arg(offset)
                                             .arg(px)
                                             .arg(py)));
        };
        for (int c : {1, 4, 7}) {
            for (int offset : {0, 1, c - 1}) {
                s.CellSize = c;
                view.FitToField();
                w.MainField.FillRect(1, 1, 999, 999, 1);
                view.horizontalScrollBar()->setValue(23 * c + offset);
                view.verticalScrollBar()->setValue(17 * c + offset);
                view.RedrawView();
                check(live, "redraw", c, offset);
                f.window->runControl().StepButtonClick();
                check(empty, "step", c, offset);
            }
        }
    }

    // A paint edit repaints its cell as the view shows the layers: the mark of
    // a layer whose display is off stays hidden.
    void aPaintedCellShowsOnlyTheLayersOnDisplay() {
        test::WindowFixture f;
        Settings& s = f.settings();
        f.world().EternalLifeField.at(3, 4) = 1;
        s.EternalLifeRefresh = false;
        f.window->fieldView().RedrawView();
        const QRgb empty = app::ToRgb(s.Colours.BackgroundColour);
        QCOMPARE(f.CellPixel(3, 4), empty);
        f.window->fieldView().RepaintCell(3, 4);
        QCOMPARE(f.CellPixel(3, 4), empty);
        s.EternalLifeRefresh = true;
        f.window->fieldView().RepaintCell(3, 4);
        QCOMPARE(f.CellPixel(3, 4), app::ToRgb(s.Colours.BirthColour));
    }

    void theCommandLineFileWinsAndABadSettingsFileIsKeptAside() {
        test::WindowFixture f;
        f.world().MainField.at(2, 2) = 1;
        f.Close();  // writes the settings file with this field
        test::WriteFile(f.dir.filePath("block.rle"), "x = 2, y = 2, rule = B36/S23\n2o$2o!\n");
        f.Open(f.dir.filePath("block.rle"));
        QCOMPARE(f.world().MainField.at(2, 2), 0);
        QCOMPARE(f.world().Rules[0].BirthList, (std::vector<std::int32_t>{3, 6}));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("block.rle  -  Zentorix"));
        f.Close();

        test::WriteFile(
            f.dir.filePath("Zentorix.ini"),
            "#Zentorix configuration file\r\n#FileType ini\r\n#FieldWidth:         abc\r\n");
        QString told;  // once the window is shown
        test::AnswerQuestion(QMessageBox::Ok, &told);
        f.Open();
        QVERIFY2(told.contains("Zentorix.ini.bad"), qPrintable(told));
        QVERIFY(QFileInfo::exists(f.dir.filePath("Zentorix.ini.bad")));
        QCOMPARE(f.settings().ClearForLoad, true);
    }

    void undoSnapshotsAndSettingsSurviveARestart() {
        test::WindowFixture f;
        const QDir undo(f.dir.filePath("QuickSave/undo"));
        QVERIFY(undo.exists("1.qlf"));  // written at start-up
        for (int i = 0; i < 3; ++i)
            f.Find<QPushButton>("StartButton")->click();
        QVERIFY(undo.exists("2.qlf") && undo.exists("3.qlf"));
        World& world = f.world();
        QCOMPARE(world.UndoCounter, 4);
        f.Find<QToolButton>("StopButton")->click();
        // Back to the state of the last start.
        world.MainField.at(3, 3) = 1;
        f.Find<QAction>("N14")->trigger();
        QCOMPARE(world.UndoCounter, 3);
        QCOMPARE(world.MainField.at(3, 3), 0);
        // Clearing the field and filling it are undone as one step each.
        world.MainField.at(4, 4) = 1;
        f.Find<QToolButton>("EraseButton")->click();
        QCOMPARE(world.MainField.at(4, 4), 0);
        f.Find<QAction>("N14")->trigger();
        QCOMPARE(world.MainField.at(4, 4), 1);
        f.settings().RandomFillIntensity = 100;
        f.settings().MainFillRandom = true;
        f.Find<QPushButton>("FillRandomButton")->click();
        QCOMPARE(world.MainField.at(5, 5), 1);
        f.Find<QAction>("N14")->trigger();
        QCOMPARE(world.MainField.at(5, 5), 0);
        QCOMPARE(world.MainField.at(4, 4), 1);

        f.Find<QCheckBox>("AutoStop")->setChecked(true);
        f.Find<QSpinBox>("IntSizeBigGrid")->setValue(9);
        f.Find<QSpinBox>("UpDown2")->setValue(77);
        f.Find<QSlider>("SpeedTrackBar")->setValue(0);  // saved as 1
        world.MainField.at(5, 6) = 1;
        world.EternalLifeField.at(7, 8) = 1;
        f.window->fieldView().ZoomAt(1, 1, +1);
        f.Close();

        f.Open();
        const Settings& s = f.settings();
        QVERIFY(s.AutoStop && f.Find<QCheckBox>("AutoStop")->isChecked());
        QCOMPARE(s.SizeBigGrid.Value(), 9);
        QCOMPARE(s.SpeedMain.Value(), 1);
        QCOMPARE(f.Find<QSlider>("SpeedTrackBar")->value(), 1);
        QCOMPARE(f.Find<QSpinBox>("UpDown2")->value(), 77);
        // The fields come back because SaveFieldWhenExit starts checked.
        QCOMPARE(f.world().MainField.at(5, 6), 1);
        // ... and the counters show them from the start.
        QCOMPARE(f.Find<QLineEdit>("Edit1")->text(), QString::number(f.world().Counters.LiveCount));
        QVERIFY(f.world().Counters.LiveCount >= 1);
        QCOMPARE(f.world().EternalLifeField.at(7, 8), 1);
    }

    void aLargePatternOpensVisibleAtOnePixelPerCellWithTheGridOn() {
        QTemporaryDir patterns;
        const QString file = patterns.filePath("full.rle");
        test::WriteFile(file, "x = 997, y = 997, rule = B3/S23\n" +
                                  QByteArray("997o$\n").repeated(997) + "!\n");
        test::WindowFixture f(file);
        const Settings& s = f.settings();
        QCOMPARE(s.CellSize, 1);
        QVERIFY(s.Grid);
        // The middle of the view lies inside the pattern, so it shows live cells.
        const app::FieldView& v = f.window->fieldView();
        QCOMPARE(v.SurfacePixel(v.horizontalScrollBar()->value() + v.viewport()->width() / 2,
                                v.verticalScrollBar()->value() + v.viewport()->height() / 2),
                 app::ToRgb(s.Colours.ColourOfState(1)));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
