#include <QProcess>

#include "app/app_test_support.h"
#include "app/popup_panels.h"

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
