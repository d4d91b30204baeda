#include <QProcess>
#include <QStatusBar>

#include "app/app_test_support.h"
#include "app/popup_panels.h"
#include "app/statistics_chart.h"
#include "app/statistics_page.h"

using namespace zentorix;

namespace {

QStringList Lines(const QString& path) {
    QString text = QString::fromUtf8(test::ReadFile(path));
    if (text.endsWith("\r\n"))
        text.chop(2);
    return text.split("\r\n");
}

QRgb PanelColour(test::WindowFixture& f, const char* name) {
    return f.Find<QLabel>(name)->palette().color(QPalette::Window).rgb() & 0xFFFFFF;
}

}  // namespace

class StatisticsPageTest : public QObject {
    Q_OBJECT

  private slots:
    void recordingByHandAndAutomaticallyWhileRunning() {
        QTemporaryDir patterns;
        const QString blinker = patterns.filePath("blinker.rle");
        test::WriteFile(blinker, "x = 3, y = 1\n3o!\n");
        test::WindowFixture f;
        f.window->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(3);
        f.window->OpenFile(blinker);
        app::RunControl& run = f.window->runControl();
        const QString stat = f.dir.filePath("stat.txt");
        QVERIFY(f.Find<QLabel>("StatFileLabel")->text().endsWith("stat.txt"));

        // By hand: aqua while recording; Stop ends it and counts the lines written.
        run.StepButtonClick();
        f.Find<QPushButton>("RecordStatisticButton")->click();
        QCOMPARE(PanelColour(f, "AutoStartRecordPanel"), 0x00FFFFu);
        for (int i = 0; i < 4; ++i)
            run.StepButtonClick();
        QCOMPARE(f.Find<QLabel>("AutoStartRecordPanel")->text(), QString("5"));
        f.Find<QToolButton>("StopButton")->click();
        QStringList lines = Lines(stat);
        QVERIFY(lines.size() > 20);
        QCOMPARE(lines[14].left(11), QString("|        2 "));
        QCOMPARE(lines.at(lines.size() - 8), QString("За 4 поколінь на полі:"));
        QCOMPARE(PanelColour(f, "AutoStartRecordPanel"), 0xC0DCC0u);
        QVERIFY(!f.Find<QPushButton>("RecordStatisticButton")->isChecked());

        // Automatic: the range in its pop-up panel, armed by the panel (lime),
        // yellow while it runs, disarmed afterwards.
        auto* rangeButton = f.Find<QPushButton>("StatButton2");
        app::PopupPanels& popups = f.window->popups();
        f.Find<QPushButton>("StatButton1")->click();
        QVERIFY(popups.panel("ThresholdPanel")->isVisible());
        rangeButton->click();
        QVERIFY(popups.panel("AutoStartRangePanel")->isVisible());
        QVERIFY(!popups.panel("ThresholdPanel")->isVisible());
        f.Find<QSpinBox>("StartRecordStatistic")->setValue(3);
        f.Find<QSpinBox>("EndRecordStatistic")->setValue(6);
        rangeButton->click();
        QVERIFY(!popups.panel("AutoStartRangePanel")->isVisible());
        QTest::mouseClick(f.Find<QLabel>("AutoStartRecordPanel"), Qt::LeftButton);
        QVERIFY(f.Find<QCheckBox>("AutoStartRecord")->isChecked());
        QCOMPARE(PanelColour(f, "AutoStartRecordPanel"), 0x00FF00u);
        bool sawYellow = false;
        QMetaObject::Connection watch = connect(
            &run, &app::RunControl::GenerationCounted, this,
            [&] { sawYellow = sawYellow || PanelColour(f, "AutoStartRecordPanel") == 0xFFFF00u; });
        run.StartButtonClick();
        QTRY_VERIFY_WITH_TIMEOUT(!f.Find<QCheckBox>("AutoStartRecord")->isChecked(), 10000);
        run.StopButtonClick();
        disconnect(watch);
        QVERIFY(sawYellow);
        QCOMPARE(PanelColour(f, "AutoStartRecordPanel"), 0xC0DCC0u);
        QCOMPARE(f.Find<QLabel>("AutoStartRecordPanel")->text(), QString("AutoStart"));
        const QStringList window = Lines(stat);
        QCOMPARE(window.size(), 14 + 4 + 9);

        // The batch program writes the same file, the time and date aside.
        const QString cliStat = patterns.filePath("cli-stat.txt");
        QCOMPARE(QProcess::execute(ZENTORIX_CLI, {"run", blinker, "--record", "3:6", "--quiet",
                                                  "--stat-file", cliStat}),
                 0);
        QStringList batch = Lines(cliStat);
        QCOMPARE(batch.size(), window.size());
        batch[1] = window[1];
        QCOMPARE(batch, window);
        f.Screenshot("statistics_page");
    }

    void chartScalesAndAFileThatCannotBeWritten() {
        test::WindowFixture f;
        f.window->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(3);
        auto* page = f.Find<app::StatisticsPage>("TabSheet4");
        auto* chart = f.Find<app::StatisticsChart>("PaintBox6");
        QVERIFY(chart->isVisible());
        // The automatic Y scale: the panel follows the box, a click flips both.
        QCOMPARE(PanelColour(f, "AutoScaleYPanel"), 0x00FF00u);
        QTest::mouseClick(f.Find<QLabel>("AutoScaleYPanel"), Qt::LeftButton);
        QVERIFY(!f.settings().AutoScaleY);
        QCOMPARE(PanelColour(f, "AutoScaleYPanel"), 0xC0DCC0u);

        // A live soup over four pages with the automatic scale: every point of
        // the live curve is drawn where its count and the page's scale put it,
        // and StatisticScaleY shows the scale each page chose.
        QTest::mouseClick(f.Find<QLabel>("AutoScaleYPanel"), Qt::LeftButton);
        QVERIFY(f.settings().AutoScaleY);
        World& w = f.world();
        std::uint32_t seed = 99;
        for (int x = 1; x <= 120; ++x)
            for (int y = 1; y <= 100; ++y)
                w.MainField.at(x, y) = ((seed = seed * 1103515245u + 12345u) >> 16) % 3 == 0;
        app::RunControl& run = f.window->runControl();
        const StatisticsGraph& graph = page->graph();
        const QImage& image = chart->image();
        QSet<int> scales;
        int pages = 0, points = 0, drawn = 0;
        for (int x = graph.GraphX(), i = 0; i < 1000 && pages < 4; ++i) {
            run.StepButtonClick();
            if (graph.GraphX() < x) {
                ++pages;
                scales.insert(f.settings().StatisticScaleY);
                QCOMPARE(f.Find<QSpinBox>("StatisticScaleY")->value(),
                         f.settings().StatisticScaleY.Value());
            }
            x = graph.GraphX();
            const int px = x - f.settings().StatisticScaleX;
            const int py = image.height() - w.Counters.LiveCount / f.settings().StatisticScaleY -
                           55 + graph.Offsets()[0];
            if (py < 0 || py >= image.height())
                continue;  // left the band since the page began: off the chart
            ++points;
            drawn += (image.pixel(px, py) & 0xFFFFFF) == 0xFFFFFFu;
        }
        QVERIFY2(pages >= 3 && scales.size() >= 2 && points > 100,
                 qPrintable(QStringLiteral("%1 pages, %2 scales").arg(pages).arg(scales.size())));
        QVERIFY2(drawn >= points * 9 / 10,
                 qPrintable(QStringLiteral("%1 of %2").arg(drawn).arg(points)));
        // A resize begins a new page.
        chart->resize(chart->width(), chart->height() + 1);
        chart->resize(chart->width(), chart->height() - 1);
        QCOMPARE(page->graph().GraphX(), 25 + 2);  // the page's first point, then ScaleX

        // A file that cannot be written: one line in the status bar, no dialog,
        // the run goes on.
        page->recorder().SetFile(app::ToPath(f.dir.path()));
        f.Find<QPushButton>("RecordStatisticButton")->click();
        QCOMPARE(PanelColour(f, "AutoStartRecordPanel"), 0xFF0000u);
        QVERIFY(f.window->statusBar()->currentMessage().contains(f.dir.path()));
        f.window->statusBar()->clearMessage();
        run.StepButtonClick();
        QVERIFY(f.window->statusBar()->currentMessage().isEmpty());
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    // At full speed on a small soup a page fills in a few milliseconds: every
    // time the chart reaches the screen it shows curves, never a page just
    // cleared, and it reaches the screen several times a second.
    void theChartShowsCurvesAtFullSpeed() {
        test::WindowFixture f;
        f.window->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(3);
        auto* chart = f.Find<app::StatisticsChart>("PaintBox6");
        World& w = f.world();
        w.SetFieldWidth(64);
        w.SetFieldHeight(64);
        f.Find<QCheckBox>("EnableTOR")->setChecked(true);
        std::uint32_t seed = 12345;
        for (int x = 1; x <= 64; ++x)
            for (int y = 1; y <= 64; ++y)
                w.MainField.at(x, y) = ((seed = seed * 1103515245u + 12345u) >> 16) % 3 == 0;
        QList<int> curvePixels;  // white live-curve pixels of each page shown
        struct Watch : QObject {
            app::StatisticsChart* chart;
            QList<int>* seen;
            bool eventFilter(QObject*, QEvent* e) override {
                if (e->type() == QEvent::Paint) {
                    const QImage& page = chart->shownImage();
                    int n = 0;
                    for (int y = 15; y < page.height() - 10; ++y)
                        for (int x = 26; x < page.width(); ++x)
                            n += (page.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF;
                    seen->append(n);
                }
                return false;
            }
        } watch;
        watch.chart = chart;
        watch.seen = &curvePixels;
        app::RunControl& run = f.window->runControl();
        run.StartButtonClick();
        f.Find<QSlider>("SpeedTrackBar")->setValue(0);  // the maximum speed
        QTest::qWait(300);                              // past the first page
        chart->installEventFilter(&watch);
        QTest::qWait(1000);
        chart->removeEventFilter(&watch);
        QVERIFY2(w.Counters.Generation > 200, qPrintable(QStringLiteral("%1 %2 %3")
                                                             .arg(w.Counters.Generation)
                                                             .arg(run.Running())
                                                             .arg(w.Counters.LiveCount)));
        run.StopButtonClick();
        QVERIFY2(curvePixels.size() >= 5, qPrintable(QString::number(curvePixels.size())));
        for (int n : curvePixels)
            QVERIFY2(n >= 30, qPrintable(QString::number(n)));
    }
};

QTEST_MAIN(StatisticsPageTest)
#include "statistics_page_test.moc"
