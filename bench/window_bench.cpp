// Measures how many generations per second the window computes and shows at
// speed 0 on a 997 by 997 random soup at cell size 1 and a 200 by 200 one at
// cell size 4, against the bare step in the same process, with how often the
// field was painted; and how long start-up takes to the first paint. Runs on
// the platform QT_QPA_PLATFORM names (offscreen when it is not set).
// Arguments: generations (1000), rounds (3). Bare step and window take turns
// for each round; a shared machine makes single rounds vary, so the medians
// are reported.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/main_window.h"
#include "engine/generation_step.h"
#include "engine/step_engine.h"
#include "soup.h"

using namespace zentorix;

namespace {

double BareRate(int size, int generations) {
    auto world = std::make_unique<World>();
    Settings settings;
    bench::FillSoup(*world, size);
    StepObserver quiet;
    QElapsedTimer clock;
    clock.start();
    for (int n = 0; n < generations; ++n)
        GenerationStep(*world, settings, quiet, StepForm::Plain);
    return generations * 1e9 / static_cast<double>(clock.nsecsElapsed());
}

// Counts the paints of the field view.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

double WindowRate(app::MainWindow& window, int size, int cellSize, int generations) {
    bench::FillSoup(window.session().world(), size);
    window.session().settings().CellSize = cellSize;
    window.RefreshFromModel();
    auto* speed = window.findChild<QSlider*>("SpeedTrackBar");
    PaintCounter counter;
    window.fieldView().viewport()->installEventFilter(&counter);
    window.runControl().SetShownGeneration(0);
    const int first = 0;
    window.runControl().StartButtonClick();
    speed->setValue(0);
    QElapsedTimer clock;
    clock.start();
    double rate = 0;
    // A loop of its own: quitting the application would close the window.
    QEventLoop loop;
    // Watch the run between its steps; the run itself goes on at speed 0.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &loop, [&] {
        if (window.runControl().ShownGeneration() < generations)
            return;
        const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        rate = (window.runControl().ShownGeneration() - first) / seconds;
        const StepEngine& engine = StepEngineOf(window.session().world());
        std::printf("  field painted %.1f times a second; generations on %s %llu, on %s %llu\n",
                    counter.paints / seconds, StepEngine::PathName(StepEngine::Path::LifeBits),
                    static_cast<unsigned long long>(engine.Generations(StepEngine::Path::LifeBits)),
                    StepEngine::PathName(StepEngine::Path::General),
                    static_cast<unsigned long long>(engine.Generations(StepEngine::Path::General)));
        window.runControl().StopButtonClick();
        loop.quit();
    });
    watch.start(1);
    loop.exec();
    window.fieldView().viewport()->removeEventFilter(&counter);
    return rate;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication app(argc, argv);
    // Both runs compute the same generations of the same soup.
    const int generations = argc > 1 ? std::atoi(argv[1]) : 1000;

    QTemporaryDir dir;
    app::MainWindow window(ProgramFolder{app::ToPath(dir.path())}, {});
    window.resize(1600, 1000);
    window.show();
    QApplication::processEvents();
    std::printf("start-up to first paint: %lld ms\n", static_cast<long long>(sinceStart.elapsed()));

    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v.size() % 2 == 1 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
    };
    const struct { int size, cellSize; } cases[] = {{997, 1}, {200, 4}};
    for (const auto& c : cases) {
        std::vector<double> bare, shown, shares;
        for (int r = 0; r < rounds; ++r) {
            bare.push_back(BareRate(c.size, generations));
            shown.push_back(WindowRate(window, c.size, c.cellSize, generations));
            shares.push_back(100 * shown.back() / bare.back());
        }
        std::printf(
            "%dx%d at cell size %d: bare step %.1f, window %.1f generations/s (%.0f %%; "
            "medians of %d rounds, the rounds' shares",
            c.size, c.size, c.cellSize, median(bare), median(shown),
            100 * median(shown) / median(bare), rounds);
        for (double share : shares)
            std::printf(" %.0f", share);
        std::printf(" %%)\n");
    }
    return 0;
}
