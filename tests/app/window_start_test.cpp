// The window as a user first meets it: start-up with a file, speeds read from
// files, geometry on a small screen, messages, counters after open and undo, and
// the panel's controls.
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabBar>

#include "app/app_test_support.h"
#include "app/file_lists.h"

using namespace zentorix;

namespace {

// A 116 x 87 pattern: a frame of live cells, 2 * 116 + 2 * 85 of them.
QByteArray FramePattern() {
    QByteArray rle = "x = 116, y = 87, rule = B3/S23\n116o$";
    for (int row = 0; row < 85; ++row)
        rle += "o114bo$";
    return rle + "116o!\n";
}
constexpr int kFrameCells = 2 * 116 + 2 * 85;

int Counter(const test::WindowFixture& f, const char* name) {
    return f.Find<QLineEdit>(name)->text().toInt();
}

}  // namespace

class WindowStartTest : public QObject {
    Q_OBJECT

  private slots:
    void theSpeedFromAFileOrTheSettingsDrivesTheRunTimer() {
        test::WindowFixture f;
        f.window->SetMessageSink([](const QString& text) { QFAIL(qPrintable(text)); });
        auto* timer = f.window->runControl().findChild<QTimer*>("Timer1");
        auto* bar = f.Find<QSlider>("SpeedTrackBar");
        // A file that holds "#SpeedMain 500", opened while the bar stands at 20.
        const QString file = f.dir.filePath("slow.zlf");
        test::WriteFile(file,
                        "#Zentorix\r\n#FileType zlf\r\n[Interface]\r\n#SpeedMain            500\r\n"
                        "#FieldHeight:         81\r\n#FieldWidth:          35\r\n");
        bar->setValue(20);
        QCOMPARE(timer->interval(), 20);
        f.window->OpenFile(file);
        QCOMPARE(bar->value(), 500);
        QCOMPARE(f.Find<QLabel>("InfoSpeedPanel")->text(), QStringLiteral("500ms  "));
        QCOMPARE(timer->interval(), 500);
        // The settings file brings the speed back after a restart.
        bar->setValue(250);
        f.Close();
        f.Open();
        timer = f.window->runControl().findChild<QTimer*>("Timer1");
        QCOMPARE(timer->interval(), 250);
        QCOMPARE(f.Find<QSlider>("SpeedTrackBar")->value(), 250);
    }

    void theCommandLineFileFitsAsFromTheDialogAndUndoComesBackToIt() {
        QTemporaryDir patterns;
        const QString file = patterns.filePath("frame.rle");
        test::WriteFile(file, FramePattern());
        test::WindowFixture f(file);
        World& world = f.world();
        QCOMPARE(world.FieldWidth(), 136);
        const int fromCommandLine = f.settings().CellSize;
        QCOMPARE(Counter(f, "Edit1"), kFrameCells);
        QCOMPARE(Counter(f, "Edit11"), kFrameCells);
        f.window->OpenFile(file);  // as the open dialog does
        QCOMPARE(f.settings().CellSize.Value(), fromCommandLine);
        QVERIFY2(fromCommandLine >= 5, qPrintable(QString::number(fromCommandLine)));

        // Some steps, then a larger field saved as snapshot 2 by a start.
        for (int i = 0; i < 3; ++i)
            f.Find<QToolButton>("StepButton")->click();
        QVERIFY(Counter(f, "Edit2") > 0 && Counter(f, "Edit7") > 0);
        world.SetFieldWidth(900);
        world.SetFieldHeight(900);
        f.window->RefreshFromModel();
        auto* start = f.Find<QPushButton>("StartButton");
        start->click();
        start->click();
        QCOMPARE(world.UndoCounter, 3);
        // Back twice: snapshot 1 is the command-line file as it was opened.
        f.Find<QAction>("N14")->trigger();
        f.Find<QAction>("N14")->trigger();
        QCOMPARE(world.UndoCounter, 1);
        QCOMPARE(world.FieldWidth(), 136);
        const std::array<std::pair<const char*, int>, 5> loaded = {{{"Edit1", kFrameCells},
                                                                    {"Edit11", kFrameCells},
                                                                    {"Edit2", 0},
                                                                    {"Edit7", 0},
                                                                    {"Edit3", 1}}};
        for (const auto& [name, value] : loaded)
            QVERIFY2(Counter(f, name) == value, name);
        QCOMPARE(f.window->windowTitle(), QStringLiteral("frame.rle  -  Zentorix"));
        // Forward to the larger field: its middle is in view, at the same cell size.
        const int cellSize = f.settings().CellSize;
        f.Find<QAction>("N15")->trigger();
        QCOMPARE(world.FieldWidth(), 900);
        QCOMPARE(f.settings().CellSize.Value(), cellSize);
        for (const QScrollBar* bar : {f.window->fieldView().horizontalScrollBar(),
                                      f.window->fieldView().verticalScrollBar()}) {
            QVERIFY(bar->maximum() > 0);
            QCOMPARE(bar->value(), bar->maximum() / 2);
        }
        QCOMPARE(f.window->windowTitle(), QStringLiteral("frame.rle  -  Zentorix"));
    }

    void missingAndUnknownFilesAreToldAndAScreenSizedWindowFits() {
        test::WindowFixture f;
        f.Close();
        // Saved on a larger screen than this one.
        QByteArray ini = test::ReadFile(f.dir.filePath("Zentorix.ini"));
        const std::pair<const char*, const char*> saved[] = {{"#WindowTop:", "900"},
                                                             {"#WindowLeft:", "1500"},
                                                             {"#WindowHeight:", "1400"},
                                                             {"#WindowWidth:", "2500"}};
        for (const auto& [key, value] : saved) {
            const QRegularExpression line(QStringLiteral("%1[^\\r\\n]*").arg(key));
            QString text = QString::fromUtf8(ini);
            QVERIFY2(text.contains(line), key);
            ini = text.replace(line, QStringLiteral("%1%2").arg(key, -22).arg(value)).toUtf8();
        }
        test::WriteFile(f.dir.filePath("Zentorix.ini"), ini);
        QStringList told;
        app::MainWindow window(f.Folder(), f.dir.filePath("nowhere.rle"));
        window.SetMessageSink([&told](const QString& text) { told << text; });
        window.show();
        QTRY_VERIFY(window.StartedUp());
        const QRect area = window.screen()->availableGeometry();
        // Inside the screen, or as narrow as the window can be.
        const QRect g = window.geometry();
        QVERIFY(area.contains(g.topLeft()));
        QVERIFY(g.bottom() <= area.bottom());
        QVERIFY(g.right() <= area.right() || g.width() == window.minimumWidth());

        test::WriteFile(f.dir.filePath("notes.txt"), "\x01\x02 not a pattern \x03\n");
        window.OpenFile(f.dir.filePath("notes.txt"));
        window.findChild<QAction*>("Contents1")->trigger();  // no help file here
        QCOMPARE(told.size(), 3);
        QVERIFY2(told[0].contains("nowhere.rle"), qPrintable(told[0]));
        QVERIFY2(told[1].contains("notes.txt") && told[1].contains("формат"), qPrintable(told[1]));
        QVERIFY2(told[2].contains("довідки"), qPrintable(told[2]));
        QCOMPARE(window.windowTitle(), QStringLiteral("new.zlf  -  Zentorix"));

        // A quick save is confirmed on the status bar with the file's name.
        window.findChild<QAction*>("Save0")->trigger();
        const QStringList quick = QDir(f.dir.filePath("QuickSave")).entryList({"*.qlf"});
        QCOMPARE(quick.size(), 1);
        QVERIFY(window.statusBar()->currentMessage().contains(quick.first()));
    }

    void panelControlsAreOneClickAwayAndShowTheirState() {
        test::WindowFixture f;
        // Every option page at the panel's width, one click each.
        auto* pages = f.Find<QTabWidget>("PageControl1");
        auto* panel = f.Find<QScrollArea>("Panel7");
        QVERIFY(!pages->tabBar()->isVisible());
        for (int i = pages->count() - 1; i >= 0; --i) {
            auto* button = f.Find<QToolButton>(qPrintable(QStringLiteral("PageButton%1").arg(i)));
            QVERIFY(button->isVisible());
            const QRect inPanel(button->mapTo(panel, QPoint(0, 0)), button->size());
            QVERIFY2(panel->viewport()->geometry().contains(inPanel), qPrintable(button->text()));
            QCOMPARE(button->text(), pages->tabText(i));
            button->click();
            QCOMPARE(pages->currentIndex(), i);
            QVERIFY(button->isChecked());
        }
        f.Screenshot("page_buttons");

        // The grid button and menu item show the grid's state.
        auto* gridButton = f.Find<QToolButton>("GridButton");
        auto* gridItem = f.Find<QAction>("Grid1");
        for (int i = 0; i < 2; ++i) {
            gridButton->click();
            QCOMPARE(gridButton->isChecked(), f.settings().Grid);
            QCOMPARE(gridItem->isChecked(), f.settings().Grid);
            gridItem->trigger();
            QCOMPARE(gridButton->isChecked(), f.settings().Grid);
        }

        // A folder typed into the path box is listed; a wrong one changes nothing.
        auto* lists = f.window->findChild<app::FolderFileLists*>();
        QVERIFY(QDir(f.dir.path()).mkpath("deep/er/patterns"));
        const QString deep = QDir(f.dir.filePath("deep/er/patterns")).absolutePath();
        for (const auto& [typed, expected] :
             {std::pair{deep, deep}, std::pair{f.dir.filePath("missing"), deep}}) {
            lists->pathBox()->setText(typed);
            QTest::keyClick(lists->pathBox(), Qt::Key_Return);
            QCOMPARE(lists->folder(), expected);
        }
        QVERIFY(lists->pathBox()->toolTip().contains("missing"));
    }

    void aRunShowsEveryCellAsTheFieldHoldsItWhenStopped() {
        test::WindowFixture f;
        World& world = f.world();
        world.Random.FixSeed(7);
        for (int x = 1; x <= world.FieldWidth(); ++x)
            for (int y = 1; y <= world.FieldHeight(); ++y)
                world.MainField.at(x, y) = world.Random.Below(2);
        f.window->fieldView().RedrawView();
        f.Find<QSlider>("SpeedTrackBar")->setValue(0);
        f.Find<QPushButton>("StartButton")->click();
        f.Find<QSlider>("SpeedTrackBar")->setValue(0);
        QTRY_VERIFY(f.window->runControl().ShownGeneration() > 20);
        f.Find<QToolButton>("StopButton")->click();
        const Settings& s = f.settings();
        for (int x = 1; x <= world.FieldWidth(); ++x)
            for (int y = 1; y <= world.FieldHeight(); ++y) {
                const std::int32_t v = world.MainField.at(x, y);
                const QRgb expected =
                    app::ToRgb(v > 0 ? s.Colours.ColourOfState(v) : s.Colours.BackgroundColour);
                if (f.CellPixel(x, y) != expected)
                    QFAIL(qPrintable(QStringLiteral("cell %1,%2").arg(x).arg(y)));
            }
    }
};

QTEST_MAIN(WindowStartTest)
#include "window_start_test.moc"
