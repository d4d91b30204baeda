#include <QAction>
#include <QFile>
#include <QFrame>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>

#include "app/app_test_support.h"
#include "app/popup_panels.h"

using namespace zentorix;

class WindowShellTest : public QObject {
    Q_OBJECT

  private slots:
    void toolPanelStandsRightLeftOrHidden() {
        test::WindowFixture f;
        auto* panel = f.Find<QScrollArea>("Panel7");
        auto* field = f.Find<QWidget>("Panel1");
        QVERIFY(panel->x() > field->x());
        f.window->findChild<QAction*>("PanelLeft1")->trigger();
        QApplication::processEvents();
        QVERIFY(panel->x() < field->x());
        auto* hide = f.window->findChild<QAction*>("PanelOff1");
        auto* back = f.window->findChild<QAction*>("Return21");
        QVERIFY(!back->isVisible());
        hide->trigger();
        QVERIFY(!panel->isVisible());
        QVERIFY(back->isVisible());
        back->trigger();  // the context menu brings it back at the right
        QApplication::processEvents();
        QVERIFY(panel->isVisible());
        QVERIFY(panel->x() > field->x());
        QVERIFY(f.window->findChild<QAction*>("PanelRigth1")->isChecked());
    }

    void popUpPanelsHideEachOther() {
        test::WindowFixture f;
        app::PopupPanels& popups = f.window->popups();
        popups.Toggle("ThresholdPanel");
        QVERIFY(popups.panel("ThresholdPanel")->isVisible());
        f.window->findChild<QAction*>("About1")->trigger();
        QVERIFY(popups.panel("AboutPanel")->isVisible());
        QVERIFY(!popups.panel("ThresholdPanel")->isVisible());
        f.Screenshot("about_panel");
        f.Find<QPushButton>("Cansel6")->click();
        QVERIFY(!popups.panel("AboutPanel")->isVisible());
        // The pictures stop taking turns once the panel is closed.
        QVERIFY(!popups.findChild<QTimer*>("Timer3")->isActive());
    }

    void timingButtonShowsMillisecondsOfAHundredSteps() {
        test::WindowFixture f;
        auto* timing = f.Find<QPushButton>("Button1");
        const int next = f.world().Counters.Generation;
        timing->click();
        bool number = false;
        timing->text().toInt(&number);
        QVERIFY(number);
        // Generations next .. next + 99 were computed; Edit3 shows the last.
        QCOMPARE(f.window->runControl().ShownGeneration(), next + 99);
    }

    void helpFilePrefersTheLanguageThenFallsBack() {
        test::WindowFixture f;
        QCOMPARE(f.window->HelpFile(), QString());
        for (const char* name : {"ZentorixUA.html", "ZentorixUA.chm"}) {
            test::WriteFile(f.dir.filePath(name), "help");
            QCOMPARE(f.window->HelpFile(), f.dir.filePath(name));
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
        for (int i = 0; i < 100 && !QFile::exists(dir.filePath("QuickSave/undo/1.qlf")); ++i)
            QTest::qWait(100);
        QVERIFY(QFile::exists(dir.filePath("QuickSave/undo/1.qlf")));
        QVERIFY(!QFile::exists(dir.filePath("Zentorix.ini")));
        process.terminate();  // SIGTERM
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QVERIFY(QFile::exists(dir.filePath("Zentorix.ini")));
    }
};

QTEST_MAIN(WindowShellTest)
#include "window_shell_test.moc"
