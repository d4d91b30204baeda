// How soon a paint drag shows its cells while the automaton runs at speed 0 on
// a 997 by 997 soup: synthetic pointer moves with the left button held, each
// timed from its event to the first paint of the view that follows it. Prints
// the median and the 95th percentile; the target is 50 ms. Runs on the platform
// QT_QPA_PLATFORM names (offscreen when it is not set).
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/main_window.h"
#include "soup.h"

using namespace zentorix;

namespace {

// Notes the time of each paint of the field view.
struct PaintClock : QObject {
    QElapsedTimer clock;
    qint64 lastPaint = -1;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            lastPaint = clock.nsecsElapsed();
        return false;
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    app::MainWindow window(ProgramFolder{app::ToPath(dir.path())}, QString());
    window.resize(1280, 900);
    window.show();
    while (!window.StartedUp())
        QApplication::processEvents();

    World& world = window.session().world();
    const int size = kMaxLoadedFieldSize;
    bench::FillSoup(world, size);
    window.session().settings().CellSize = 1;
    window.RefreshFromModel();
    window.findChild<QSlider*>("SpeedTrackBar")->setValue(0);
    window.runControl().StartButtonClick();

    QWidget* box = window.fieldView().viewport();
    PaintClock paints;
    paints.clock.start();
    box->installEventFilter(&paints);
    auto send = [box](QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent e(type, p, box->mapToGlobal(p), button, held, {});
        QApplication::sendEvent(box, &e);
    };
    const QPoint origin = window.fieldView().SurfaceOrigin();
    send(QEvent::MouseButtonPress, origin + QPoint(10, 10), Qt::LeftButton, Qt::LeftButton);
    std::vector<double> latencies;
    for (int k = 0; k < 200; ++k) {
        const QPoint at = origin + QPoint(10 + 3 * k, 10 + k);
        const qint64 sent = paints.clock.nsecsElapsed();
        send(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
        while (paints.lastPaint < sent && paints.clock.nsecsElapsed() - sent < 2'000'000'000)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        latencies.push_back((paints.lastPaint - sent) / 1e6);
        // The next move comes about 10 ms later, as a hand moves the pointer.
        QElapsedTimer pause;
        pause.start();
        while (pause.elapsed() < 10)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    send(QEvent::MouseButtonRelease, origin + QPoint(610, 210), Qt::LeftButton, Qt::NoButton);
    window.runControl().StopButtonClick();
    std::sort(latencies.begin(), latencies.end());
    std::printf(
        "paint drag at speed 0, %dx%d soup: median %.1f ms, 95th percentile %.1f ms, "
        "worst %.1f ms over %zu moves\n",
        size, size, latencies[latencies.size() / 2], latencies[latencies.size() * 95 / 100],
        latencies.back(), latencies.size());
    return 0;
}
