#include <QDockWidget>
#include <QElapsedTimer>
#include <QProcess>

#include "app/app_test_support.h"
#include "app/language_control.h"
#include "app/panel_docks.h"
#include "app/popup_panels.h"
#include "app/statistics_chart.h"
#include "app/tool_panel.h"

using namespace zentorix;

class WindowShellTest : public QObject {
    Q_OBJECT

  private slots:
    void toolPanelPopUpsTimingAndHelp() {
        test::WindowFixture f;
        // The tool panel stands right, left or hidden.
        auto* panel = f.Find<QScrollArea>("Panel7");
        auto* field = f.Find<QWidget>("Panel1");
        QVERIFY(panel->x() > field->x());
        f.Find<QAction>("PanelLeft1")->trigger();
        QApplication::processEvents();
        QVERIFY(panel->x() < field->x());
        auto* back = f.Find<QAction>("Return21");
        QVERIFY(!back->isVisible());
        f.Find<QAction>("PanelOff1")->trigger();
        QVERIFY(!panel->isVisible() && back->isVisible());
        back->trigger();  // the context menu brings it back at the right
        QApplication::processEvents();
        QVERIFY(panel->isVisible() && panel->x() > field->x());
        QVERIFY(f.Find<QAction>("PanelRigth1")->isChecked());

        // Pop-up panels hide each other.
        app::PopupPanels& popups = f.window->popups();
        popups.Toggle("ThresholdPanel");
        QVERIFY(popups.panel("ThresholdPanel")->isVisible());
        f.Find<QAction>("About1")->trigger();
        QVERIFY(popups.panel("AboutPanel")->isVisible());
        QVERIFY(!popups.panel("ThresholdPanel")->isVisible());
        f.Screenshot("about_panel");
        f.Find<QPushButton>("Cansel6")->click();
        QVERIFY(!popups.panel("AboutPanel")->isVisible());
        // The pictures stop taking turns once the panel is closed.
        QVERIFY(!popups.findChild<QTimer*>("Timer3")->isActive());

        // The timing button shows the milliseconds of a hundred steps.
        auto* timing = f.Find<QPushButton>("Button1");
        const int next = f.world().Counters.Generation;
        timing->click();
        bool number = false;
        timing->text().toInt(&number);
        QVERIFY(number);
        // Generations next .. next + 99 were computed; Edit3 shows the last.
        QCOMPARE(f.window->runControl().ShownGeneration(), next + 99);

        // The guide is the HTML one; a compiled help file has no viewer here.
        QCOMPARE(f.window->HelpFile(), QString());
        const std::pair<const char*, QString> guides[] = {
            {"ZentorixUA.chm", QString()}, {"ZentorixUA.html", f.dir.filePath("ZentorixUA.html")}};
        for (const auto& [name, guide] : guides) {
            test::WriteFile(f.dir.filePath(name), "help");
            QCOMPARE(f.window->HelpFile(), guide);
        }
    }

    // From a large window down to the smallest, in both languages, every control
    // of the tool bars and the status bar shows whole inside the window, none
    // over another; a pop-up panel stays inside.
    // The four panels start in their pages, float, dock on any side (the chart
    // then draws wide pages), keep their places through a restart and go home
    // from the menu. Docking and floating while a 997 x 997 soup runs at full
    // speed take less than 100 ms each and the run goes on.
    void panelsDockAnywhereAndComeBack() {
        test::WindowFixture f;
        const std::pair<const char*, const char*> homes[] = {{"RulesSelectPanel", "TabSheet3"},
                                                             {"RegionPanel", "TabSheet3"},
                                                             {"SBPanel", "Panel7"},
                                                             {"GraphStatisticPanel", "TabSheet4"}};
        const auto allHome = [&] {
            for (const auto& [name, page] : homes) {
                auto* dock = f.Find<QDockWidget>(name);
                QVERIFY2(dock && f.Find<QWidget>(page)->isAncestorOf(dock) && !dock->isFloating(),
                         name);
            }
        };
        allHome();
        World& w = f.world();
        w.SetFieldWidth(997);
        w.SetFieldHeight(997);
        std::uint32_t seed = 7;
        for (int x = 1; x <= 997; ++x)
            for (int y = 1; y <= 997; ++y)
                w.MainField.at(x, y) = ((seed = seed * 1103515245u + 12345u) >> 16) % 3 == 0;
        f.Find<QSlider>("SpeedTrackBar")->setValue(0);
        app::RunControl& run = f.window->runControl();
        run.StartButtonClick();
        QTest::qWait(200);

        auto* chart = f.Find<QDockWidget>("GraphStatisticPanel");
        QElapsedTimer timer;
        timer.start();
        chart->setFloating(true);  // its float button
        QTRY_VERIFY(chart->parentWidget() == f.window.get());
        QApplication::processEvents();
        const qint64 floated = timer.restart();
        QVERIFY(chart->isFloating());
        f.window->addDockWidget(Qt::BottomDockWidgetArea, chart);  // dragged under the field
        chart->setFloating(false);
        QApplication::processEvents();
        const qint64 docked = timer.elapsed();
        qInfo("float %lld ms, dock %lld ms", floated, docked);
        QVERIFY2(floated < 100 && docked < 100, qPrintable(QString::number(floated)));
        QCOMPARE(f.window->dockWidgetArea(chart), Qt::BottomDockWidgetArea);
        const std::int32_t generation = w.Counters.Generation;
        QTRY_VERIFY(w.Counters.Generation > generation + 3);
        QVERIFY(run.Running());
        run.StopButtonClick();

        // Under the field the chart is wide, and its pages run to its width.
        auto* paintBox = f.Find<app::StatisticsChart>("PaintBox6");
        QTRY_VERIFY(paintBox->width() > 600);
        for (int i = 0; i < 200; ++i)
            run.StepButtonClick();
        QCOMPARE(paintBox->image().width(), paintBox->width());
        int rightmost = 0;
        const QImage& page = paintBox->image();
        for (int x = 0; x < page.width(); ++x)
            for (int y = 20; y < page.height() - 60; ++y)
                if ((page.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF)
                    rightmost = std::max(rightmost, x);
        QVERIFY2(rightmost > 300, qPrintable(QString::number(rightmost)));

        // Another side, and floating; both places come back after a restart.
        auto* counts = f.Find<QDockWidget>("SBPanel");
        counts->setFloating(true);
        QTRY_VERIFY(counts->parentWidget() == f.window.get() && counts->isFloating());
        f.window->addDockWidget(Qt::LeftDockWidgetArea, counts);
        counts->setFloating(false);
        f.Find<QDockWidget>("RegionPanel")->setFloating(true);
        QTRY_VERIFY(f.Find<QDockWidget>("RegionPanel")->parentWidget() == f.window.get());
        f.Close();
        QVERIFY(QFileInfo::exists(f.dir.filePath("Panels.ini")));
        f.Open();
        QCOMPARE(f.window->dockWidgetArea(f.Find<QDockWidget>("GraphStatisticPanel")),
                 Qt::BottomDockWidgetArea);
        QCOMPARE(f.window->dockWidgetArea(f.Find<QDockWidget>("SBPanel")), Qt::LeftDockWidgetArea);
        QVERIFY(f.Find<QDockWidget>("RegionPanel")->isFloating());
        QVERIFY(
            f.Find<QWidget>("TabSheet3")->isAncestorOf(f.Find<QDockWidget>("RulesSelectPanel")));
        // The settings file keeps its own keys only.
        QVERIFY(!test::ReadFile(f.dir.filePath("Zentorix.ini")).contains("Dock"));

        f.Find<QAction>("PanelsHome1")->trigger();
        allHome();
        f.Close();
        QVERIFY(!QFileInfo::exists(f.dir.filePath("Panels.ini")));
        f.Open();
        allHome();
    }

    void everyControlFitsFromLargeToTheSmallestWindow() {
        test::WindowFixture f;
        test::CopyShippedLanguages(f.dir.path());
        f.window->resize(300, 200);
        QCOMPARE(f.window->size(), f.window->minimumSize());
        QVERIFY(f.window->minimumWidth() <= 800 && f.window->minimumHeight() <= 520);
        // The first control that is cut, hidden, outside or overlapped; empty when none.
        auto problem = [&f]() -> QString {
            QList<QRect> taken;
            for (const char* area : {"ToolBar1", "StatusBar1"}) {
                for (QWidget* w : f.Find<QWidget>(area)->findChildren<QWidget*>()) {
                    if (!w->isVisible() || w->objectName().isEmpty() ||
                        !(qobject_cast<QAbstractButton*>(w) || qobject_cast<QLabel*>(w) ||
                          qobject_cast<QLineEdit*>(w) || qobject_cast<QSlider*>(w) ||
                          qobject_cast<QComboBox*>(w)))
                        continue;
                    const QRect r(w->mapTo(f.window.get(), QPoint(0, 0)), w->size());
                    if (!f.window->rect().contains(r))
                        return "outside: " + w->objectName();
                    if (r.width() < w->minimumSizeHint().width())
                        return "cut: " + w->objectName();
                    for (const QRect& other : taken)
                        if (other.intersects(r))
                            return "overlapped: " + w->objectName();
                    taken.append(r);
                }
            }
            // The tool panel shows its pages whole, it only scrolls up and down; and
            // a long text (a folder path) does not make it wide.
            auto* panel = f.Find<QScrollArea>("Panel7");
            if (panel->widget()->width() > panel->viewport()->width())
                return "tool panel cut by " +
                       QString::number(panel->widget()->width() - panel->viewport()->width());
            if (panel->viewport()->width() >
                app::ToolPanel::ScaledWidth(panel->fontMetrics()) * 11 / 10)
                return "tool panel widened to " + QString::number(panel->viewport()->width());
            for (const char* name : {"HelpButton", "ExitButton", "ComboBox1", "InfoEdit"})
                if (!f.Find<QWidget>(name)->isVisible())
                    return QStringLiteral("hidden: ") + name;
            return {};
        };
        for (const QString language : {"ukraine.lng", "english.lng"}) {
            f.window->language().ApplyLanguageFile(language);
            QCOMPARE(f.window->language().CurrentLanguageFile(), language);
            for (const QSize size : {QSize(1270, 690), QSize(1000, 600), f.window->minimumSize()}) {
                f.window->resize(size);
                const QString where = QStringLiteral("%1 at %2x%3: ")
                                          .arg(language)
                                          .arg(size.width())
                                          .arg(size.height());
                for (int page = 0; page < 6; ++page) {
                    f.Find<QTabWidget>("PageControl1")->setCurrentIndex(page);
                    QTRY_VERIFY2(problem().isEmpty(),
                                 qPrintable(where + QString::number(page) + " " + problem()));
                }
                f.window->popups().Toggle("AboutPanel");
                QWidget* about = f.window->popups().panel("AboutPanel");
                const QRect r(about->mapTo(f.window.get(), QPoint(0, 0)), about->size());
                QVERIFY2(f.window->rect().contains(r), qPrintable(where));
                f.window->popups().HideAll();
            }
        }
        f.Screenshot("smallest_window");
    }

    void aTerminationSignalClosesLikeTheUserAndSavesTheSettings() {
        QTemporaryDir dir;
        // The program keeps its settings next to itself when it can write there.
        const QString program = dir.filePath("zentorix");
        QVERIFY(QFile::copy(QStringLiteral(ZENTORIX_PROGRAM), program));
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.start(program, {});
        QVERIFY(process.waitForStarted());
        // Wait for start-up: the first undo snapshot is written then.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(dir.filePath("QuickSave/undo/1.qlf")), 10000);
        QVERIFY(!QFile::exists(dir.filePath("Zentorix.ini")));
        process.terminate();  // SIGTERM
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QVERIFY(QFile::exists(dir.filePath("Zentorix.ini")));
    }
};

QTEST_MAIN(WindowShellTest)
#include "window_shell_test.moc"
