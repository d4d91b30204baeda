#include <QImageReader>
#include <QProcess>
#include <QTableWidget>

#include "app/census_table.h"
#include "app/run_control.h"
#include "app/snapshot_series.h"
#include "app_test_support.h"
#include "census/census_run.h"
#include "rules/typed_rule.h"

using namespace zentorix;

class CensusTableTest : public QObject {
    Q_OBJECT

    // A census by the batch program, as a user makes one.
    static QString MakeCensus(const QTemporaryDir& dir) {
        QFile rules(dir.filePath("rules.txt"));
        if (!rules.open(QIODevice::WriteOnly))
            return {};
        rules.write("B3/S23\nB36/S23\n");
        rules.close();
        const QString out = dir.filePath("sweep.jsonl");
        const int status = QProcess::execute(
            ZENTORIX_CLI, {"census", "--rules", rules.fileName(), "--field", "40x30", "--soup",
                           "12x10", "--density", "45", "--seeds", "1..3", "--generations", "60",
                           "--plane", "--output", out});
        return status == 0 ? out : QString();
    }

    // Live cells of the field, column by column.
    static std::vector<int> Cells(const World& world) {
        std::vector<int> cells;
        for (int x = 1; x <= world.FieldWidth(); ++x)
            for (int y = 1; y <= world.FieldHeight(); ++y)
                cells.push_back(world.MainField.at(x, y) > 0);
        return cells;
    }

  private slots:
    void aDoubleClickedRunIsRebuiltReadyToRun() {
        test::WindowFixture f;
        const QString census = MakeCensus(f.dir);
        QVERIFY(!census.isEmpty());
        f.window->OpenFile(census);
        auto* dialog = f.window->findChild<app::CensusTable*>("CensusTable");
        QVERIFY(dialog);
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        auto* table = dialog->findChild<QTableWidget*>("CensusRuns");
        QCOMPARE(table->rowCount(), 6);
        f.Screenshot("census_table");
        dialog->grab().save(QStringLiteral(ZENTORIX_ARTIFACTS "/census_table_dialog.png"));

        // Sorted by seed, highest first, then by rule: the rows follow the click.
        table->sortByColumn(2, Qt::DescendingOrder);
        QCOMPARE(table->item(0, 2)->text(), QStringLiteral("3"));
        QCOMPARE(table->item(5, 2)->text(), QStringLiteral("1"));
        table->sortByColumn(1, Qt::DescendingOrder);
        QCOMPARE(table->item(0, 1)->text(), QStringLiteral("B36/S23"));

        // Enter on a row, through the window system, rebuilds that run.
        const int row = 1;
        const int seed = table->item(row, 2)->text().toInt();
        const std::int64_t generation = table->item(row, 5)->text().toLongLong();
        const std::int64_t liveFinal = table->item(row, 9)->text().toLongLong();
        table->setFocus();
        table->setCurrentCell(row, 0);
        dialog->activateWindow();
        QTest::keyClick(dialog->windowHandle(), Qt::Key_Return);
        World& w = f.world();
        QCOMPARE(w.FieldWidth(), 40);
        QCOMPARE(w.FieldHeight(), 30);
        auto fresh = std::make_unique<World>();
        Settings freshSettings;
        CensusStart start;
        start.field = {40, 30};
        start.soup = {12, 10};
        start.density = 45;
        start.torus = false;
        BuildCensusStart(*fresh, freshSettings, start, "B36/S23", static_cast<std::uint64_t>(seed));
        QCOMPARE(w.Rules[0], fresh->Rules[0]);
        QVERIFY(Cells(w) == Cells(*fresh));
        QCOMPARE(w.Counters.Generation, 1);
        // Stepping it in the window ends where the census ended.
        for (std::int64_t g = 0; g < generation; ++g)
            f.window->runControl().StepButtonClick();
        QCOMPARE(static_cast<std::int64_t>(w.Counters.LiveCount), liveFinal);

        // A double click on another run (seed 1 of Conway's rule) rebuilds that one.
        table->sortByColumn(0, Qt::AscendingOrder);
        const QRect cell = table->visualRect(table->model()->index(0, 1));
        // As the window system delivers a double click: press, release, then the
        // second press as a double click, and its release.
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseRelease(table->viewport(), Qt::LeftButton, {}, cell.center());
        fresh = std::make_unique<World>();
        freshSettings = Settings{};
        BuildCensusStart(*fresh, freshSettings, start, "B3/S23", 1);
        QCOMPARE(w.Rules[0], fresh->Rules[0]);
        QVERIFY(Cells(w) == Cells(*fresh));

        // A census file whose header is not a census's is named, not opened.
        QFile broken(f.dir.filePath("broken.jsonl"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("{\"census\":1,\"parameters\":{\"field\":[2,2]}}\n");
        broken.close();
        QString said;
        f.window->SetMessageSink([&said](const QString& m) { said = m; });
        f.window->OpenFile(broken.fileName());
        QVERIFY(said.contains("broken.jsonl"));
        QCOMPARE(f.window->findChildren<app::CensusTable*>().size(), 1);
    }

    void snapshotSeriesAsOneAnimation() {
        test::WindowFixture f;
        World& w = f.world();
        w.MainField.FillRect(4, 4, 6, 4, 1);  // a blinker
        w.Selection = {3, 2, 7, 6};
        f.window->SetPaintTool(false);
        w.Counters.Generation = 25;
        auto* box = f.Find<QCheckBox>("SnapshotGif");
        QVERIFY(box);
        box->setChecked(true);
        f.Find<QSpinBox>("UpDown1")->setValue(4);
        QTest::mouseClick(f.Find<QToolButton>("PhotoButton9"), Qt::LeftButton);
        const QString file = f.dir.filePath("screenshots/screen100026.gif");
        QImageReader reader(file);
        QCOMPARE(reader.imageCount(), 4);
        const int c = f.settings().CellSize;
        QCOMPARE(reader.size(), QSize(5 * c + 1, 5 * c + 1));
        // The blinker turns: its end cell (4, 4) is live in frames 0 and 2 only.
        for (int k = 0; k < 4; ++k) {
            const QImage frame = reader.read();
            const QColor end = frame.pixelColor(c + c / 2, 2 * c + c / 2);         // cell (4, 4)
            const QColor middle = frame.pixelColor(2 * c + c / 2, 2 * c + c / 2);  // cell (5, 4)
            const QColor empty = frame.pixelColor(c / 2, c / 2);                   // cell (3, 2)
            QVERIFY2((end != empty) == (k % 2 == 0), qPrintable(QString::number(k)));
            QVERIFY(middle != empty);
        }
        QVERIFY(!QFile::exists(f.dir.filePath("screenshots/screen100026.bmp")));
        QCOMPARE(w.Counters.Generation, 29);

        // Past the frame size, a clear message and no file.
        QString said;
        f.window->SetMessageSink([&said](const QString& m) { said = m; });
        w.Selection = {1, 1, 999, 999};
        f.settings().CellSize = 50;
        QCOMPARE(app::TakeSnapshotSeries(*f.window, 2, true), 0);
        QVERIFY2(said.contains("4096"), qPrintable(said));
    }
};

QTEST_MAIN(CensusTableTest)
#include "census_table_test.moc"
