#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <array>

#include "app/app_test_support.h"
#include "app/field_view.h"
#include "app/run_control.h"

using namespace zentorix;

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void startsWithTheStartUpDefaults() {
        test::WindowFixture f;
        QCOMPARE(f.window->windowTitle(), QStringLiteral("new.zlf  -  Zentorix"));
        auto* start = f.Find<QPushButton>("StartButton");
        QVERIFY(start);
        QCOMPARE(start->text(), QStringLiteral("СТАРТ"));
        for (const char* name : {"QuickSave", "Color", "Field", "Rules", "Language"})
            QVERIFY2(QDir(f.dir.path()).exists(name), name);
        f.Screenshot("main_window");
    }

    void startStopPlayAndStepNumberGenerations() {
        test::WindowFixture f;
        auto* start = f.Find<QPushButton>("StartButton");
        auto* step = f.Find<QToolButton>("StepButton");
        auto* stop = f.Find<QToolButton>("StopButton");
        auto* play = f.Find<QToolButton>("PlayButton");
        auto* edit3 = f.Find<QLineEdit>("Edit3");
        for (int i = 0; i < 50; ++i)
            step->click();
        QCOMPARE(edit3->text(), QStringLiteral("50"));
        stop->click();
        QCOMPARE(edit3->text(), QStringLiteral("50"));  // the shown number stays
        step->click();
        QCOMPARE(edit3->text(), QStringLiteral("1"));
        start->click();
        QCOMPARE(start->text(), QStringLiteral("СТОП"));
        QVERIFY(play->isChecked());
        start->click();
        QCOMPARE(start->text(), QStringLiteral("СТАРТ"));
        QVERIFY(!play->isChecked());
        play->click();
        QVERIFY(f.window->runControl().Running());
        stop->click();
        QVERIFY(!f.window->runControl().Running());
    }

    void speedZeroRunsAsFastAsPossibleAndStartLeavesIt() {
        test::WindowFixture f;
        auto* speed = f.Find<QSlider>("SpeedTrackBar");
        auto* start = f.Find<QPushButton>("StartButton");
        speed->setValue(0);
        QCOMPARE(f.Find<QLabel>("InfoSpeedPanel")->text(), QStringLiteral("!!!"));
        start->click();  // raises the speed to 1 first
        QCOMPARE(speed->value(), 1);
        speed->setValue(0);
        QTest::qWait(200);
        const int generations = f.window->runControl().ShownGeneration();
        QVERIFY2(generations > 10, qPrintable(QString::number(generations)));
        speed->setValue(20);
        QVERIFY(f.window->runControl().Running());
        start->click();
        QVERIFY(!f.window->runControl().Running());
    }

    void zoomStepsAndTheViewText() {
        const std::pair<int, int> steps[] = {{8, 1}, {9, 1}, {10, 2}, {30, 1}, {31, 4}};
        for (auto [size, step] : steps)
            QCOMPARE(app::FieldView::ZoomStep(size), step);
        test::WindowFixture f;
        app::FieldView& view = f.window->fieldView();
        Settings& s = f.settings();
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

    void gridAtSmallCellSizesFlipsWithoutLines() {
        test::WindowFixture f;
        Settings& s = f.settings();
        app::FieldView& view = f.window->fieldView();
        s.CellSize = 3;
        view.FitToField();
        const bool before = s.Grid;
        view.ToggleGrid();
        QCOMPARE(s.Grid, !before);
        // No line is drawn at cell size 3: the first cell's top-left pixel is
        // background, not grid colour.
        s.Grid = true;
        view.RedrawView();
        QCOMPARE(view.SurfacePixel(3, 3), app::ToRgb(s.Colours.BackgroundColour));
    }

    void cellsKeepAPixelWhateverTheGridAndGap() {
        test::WindowFixture f;
        Settings& s = f.settings();
        app::FieldView& view = f.window->fieldView();
        f.world().MainField.at(2, 3) = 1;
        const QRgb live = app::ToRgb(s.Colours.ColourOfState(1));
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
    }

    void aDrawnCellLandsOnItsPixels() {
        test::WindowFixture f;
        const ColourModel& colours = f.settings().Colours;
        f.world().MainField.at(2, 3) = 1;
        f.window->fieldView().RedrawView();
        QCOMPARE(f.CellPixel(2, 3), app::ToRgb(colours.ColourOfState(1)));
        QCOMPARE(f.CellPixel(1, 1), app::ToRgb(colours.BackgroundColour));
    }

    void settingsSurviveARestart() {
        test::WindowFixture f;
        f.Find<QCheckBox>("AutoStop")->setChecked(true);
        f.Find<QSpinBox>("IntSizeBigGrid")->setValue(9);
        f.Find<QSpinBox>("UpDown2")->setValue(77);
        f.Find<QSlider>("SpeedTrackBar")->setValue(0);  // saved as 1
        World& world = f.world();
        world.MainField.at(5, 6) = 1;
        world.EternalLifeField.at(7, 8) = 1;
        f.window->fieldView().ZoomAt(1, 1, +1);
        f.Close();

        f.Open();
        const Settings& s = f.settings();
        QVERIFY(s.AutoStop);
        QCOMPARE(s.SizeBigGrid.Value(), 9);
        QCOMPARE(s.SpeedMain.Value(), 1);
        QCOMPARE(f.Find<QSlider>("SpeedTrackBar")->value(), 1);
        QVERIFY(f.Find<QCheckBox>("AutoStop")->isChecked());
        QCOMPARE(f.Find<QSpinBox>("UpDown2")->value(), 77);
        // The fields come back because SaveFieldWhenExit starts checked.
        QCOMPARE(f.world().MainField.at(5, 6), 1);
        QCOMPARE(f.world().EternalLifeField.at(7, 8), 1);
    }

    void anUnreadableSettingsFileIsKeptAside() {
        QTemporaryDir dir;
        test::WriteFile(
            dir.filePath("Zentorix.ini"),
            "#Zentorix configuration file\r\n#FileType ini\r\n#FieldWidth:         abc\r\n");
        app::MainWindow window(ProgramFolder{app::ToPath(dir.path())}, {});
        QVERIFY(QFileInfo::exists(dir.filePath("Zentorix.ini.bad")));
        QCOMPARE(window.session().settings().ClearForLoad, true);
    }

    void everyStartWritesTheNextUndoSnapshot() {
        test::WindowFixture f;
        const QDir undo(f.dir.filePath("QuickSave/undo"));
        QVERIFY(undo.exists("1.qlf"));  // written at start-up
        auto* start = f.Find<QPushButton>("StartButton");
        for (int i = 0; i < 3; ++i)
            start->click();
        QVERIFY(undo.exists("2.qlf"));
        QVERIFY(undo.exists("3.qlf"));
        QCOMPARE(f.world().UndoCounter, 4);
        f.Find<QToolButton>("StopButton")->click();
        // Back to the state of the last start.
        World& world = f.world();
        world.MainField.at(3, 3) = 1;
        f.window->findChild<QAction*>("N14")->trigger();
        QCOMPARE(world.UndoCounter, 3);
        QCOMPARE(f.world().MainField.at(3, 3), 0);
    }

    void theCommandLineFileWinsOverTheSettingsFile() {
        QTemporaryDir dir;
        {
            app::MainWindow first(ProgramFolder{app::ToPath(dir.path())}, {});
            first.session().world().MainField.at(2, 2) = 1;
            first.close();  // writes the settings file with this field
        }
        test::WriteFile(dir.filePath("block.rle"), "x = 2, y = 2, rule = B36/S23\n2o$2o!\n");
        app::MainWindow second(ProgramFolder{app::ToPath(dir.path())}, dir.filePath("block.rle"));
        QCOMPARE(second.session().world().MainField.at(2, 2), 0);
        QCOMPARE(second.session().world().Rules[0].BirthList, (std::vector<std::int32_t>{3, 6}));
        QCOMPARE(second.windowTitle(), QStringLiteral("block.rle  -  Zentorix"));
    }

    void aLargePatternOpensVisibleAtOnePixelPerCellWithTheGridOn() {
        QTemporaryDir dir;
        QByteArray rle = "x = 997, y = 997, rule = B3/S23\n";
        for (int y = 0; y < 997; ++y)
            rle += "997o$\n";
        rle += "!\n";
        test::WriteFile(dir.filePath("full.rle"), rle);
        app::MainWindow w(ProgramFolder{app::ToPath(dir.path())}, dir.filePath("full.rle"));
        w.resize(1280, 720);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const Settings& s = w.session().settings();
        QCOMPARE(s.CellSize, 1);
        QVERIFY(s.Grid);
        // The middle of the view lies inside the pattern, so it shows live cells.
        const app::FieldView& v = w.fieldView();
        const QPoint middle(v.horizontalScrollBar()->value() + v.viewport()->width() / 2,
                            v.verticalScrollBar()->value() + v.viewport()->height() / 2);
        QCOMPARE(v.SurfacePixel(middle.x(), middle.y()), app::ToRgb(s.Colours.ColourOfState(1)));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
