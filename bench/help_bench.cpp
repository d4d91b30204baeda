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
#include <ctime>
#include <vector>

#include "app/help_window.h"
#include "app/main_window.h"

using namespace zentorix;

namespace {

// Notes the first paint of the guide's page (the help window may be shown and
// painted within the key press itself).
struct FirstPaint : QObject {
    bool painted = false;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->parent() &&
            watched->parent()->objectName() == QLatin1String("HelpBrowser"))
            painted = true;
        return false;
    }
};

struct Times {
    double wall = -1;  // milliseconds from F1 to the first paint of the page
    double cpu = -1;   // of them, the milliseconds the process computed
};

// Negative when nothing was painted within five seconds.
Times OpenOnce(app::MainWindow& window) {
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        return {};
    FirstPaint paint;
    QApplication::instance()->installEventFilter(&paint);
    QElapsedTimer clock;
    clock.start();
    const std::clock_t cpu = std::clock();
    QTest::keyClick(window.windowHandle(), Qt::Key_F1);
    while (!paint.painted && clock.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    QApplication::instance()->removeEventFilter(&paint);
    if (!paint.painted)
        return {};
    return {static_cast<double>(clock.nsecsElapsed()) / 1e6,
            static_cast<double>(std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC};
}

void Report(const char* what, std::vector<Times> times) {
    auto show = [&](const char* kind, auto part) {
        std::vector<double> ms;
        for (const Times& t : times)
            ms.push_back(part(t));
        std::sort(ms.begin(), ms.end());
        std::printf("%-30s %-4s median %7.1f ms   best %7.1f ms   worst %7.1f ms   (%zu rounds)\n",
                    what, kind, ms[ms.size() / 2], ms.front(), ms.back(), ms.size());
    };
    show("wall", [](const Times& t) { return t.wall; });
    show("cpu", [](const Times& t) { return t.cpu; });
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
    std::vector<Times> cold, warm;
    for (int i = 0; i < rounds; ++i) {
        cold.push_back(OpenOnce(window));
        auto* help = window.findChild<app::HelpWindow*>("HelpWindow");
        if (!help)
            break;
        help->close();
        warm.push_back(OpenOnce(window));
        delete help;  // the next F1 makes the window anew
        QApplication::processEvents();
        if (cold.back().wall < 0 || warm.back().wall < 0) {
            std::fprintf(stderr, "the guide was not shown within five seconds\n");
            return 1;
        }
    }
    Report("F1, new help window", cold);
    Report("F1, help window shown again", warm);
    return 0;
}
