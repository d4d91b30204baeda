// How long F1 takes to show the guide: from the key to the help window's first
// paint of the page, when the window is made anew (the first F1 of a session)
// and when it is shown again (every later one). The guide and its pictures are
// the shipped ones. Runs on the platform QT_QPA_PLATFORM names (offscreen when
// it is not set).
//   zentorix_help_bench [rounds]
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/help_window.h"
#include "app/main_window.h"

using namespace zentorix;

namespace {

// Notes the first paint of the page after it was armed.
struct FirstPaint : QObject {
    bool painted = false;
    bool eventFilter(QObject*, QEvent* event) override {
        painted = painted || event->type() == QEvent::Paint;
        return false;
    }
};

double OpenOnce(app::MainWindow& window) {
    QElapsedTimer clock;
    clock.start();
    QTest::keyClick(window.windowHandle(), Qt::Key_F1);
    auto* help = window.findChild<app::HelpWindow*>("HelpWindow");
    FirstPaint paint;
    help->browser()->viewport()->installEventFilter(&paint);
    while (!paint.painted)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    help->browser()->viewport()->removeEventFilter(&paint);
    return ms;
}

void Report(const char* what, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("%-34s median %7.1f ms   best %7.1f ms   worst %7.1f ms   (%zu rounds)\n", what,
                ms[ms.size() / 2], ms.front(), ms.back(), ms.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    QTemporaryDir user;
    app::MainWindow window(
        ProgramFolder{app::ToPath(user.path()), app::ToPath(QStringLiteral(ZENTORIX_SHIPPED_DATA))},
        QString());
    window.resize(1280, 720);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    while (!window.StartedUp())
        QApplication::processEvents();
    std::vector<double> cold, warm;
    for (int i = 0; i < rounds; ++i) {
        cold.push_back(OpenOnce(window));
        auto* help = window.findChild<app::HelpWindow*>("HelpWindow");
        help->close();
        warm.push_back(OpenOnce(window));
        delete help;  // the next F1 makes the window anew
        QApplication::processEvents();
    }
    Report("F1 to the guide, new window", cold);
    Report("F1 to the guide, window shown again", warm);
    return 0;
}
