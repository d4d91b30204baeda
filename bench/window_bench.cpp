// Measures how many generations per second the window computes and shows at
// speed 0 on a 997 by 997 random soup at cell size 1 (offscreen), and how long
// start-up takes to the first paint of the field.
#include <QApplication>
#include <QElapsedTimer>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "app/main_window.h"
#include "engine/generation_step.h"

using namespace zentorix;

namespace {

void FillSoup(World& world) {
    world.SetFieldWidth(997);
    world.SetFieldHeight(997);
    world.Random.FixSeed(2026);
    for (int x = 1; x <= 997; ++x)
        for (int y = 1; y <= 997; ++y)
            world.MainField.at(x, y) = world.Random.Below(2);
}

}  // namespace

int main(int argc, char** argv) {
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

    // The same soup without a window: the batch program's rate.
    {
        auto world = std::make_unique<World>();
        Settings settings;
        FillSoup(*world);
        StepObserver quiet;
        QElapsedTimer clock;
        clock.start();
        for (int n = 0; n < generations; ++n)
            GenerationStep(*world, settings, quiet, StepForm::Plain);
        std::printf("without a window: %.1f generations/s\n",
                    generations * 1e9 / static_cast<double>(clock.nsecsElapsed()));
    }

    FillSoup(window.session().world());
    window.session().settings().CellSize = 1;
    window.RefreshFromModel();
    auto* speed = window.findChild<QSlider*>("SpeedTrackBar");
    window.runControl().StartButtonClick();
    speed->setValue(0);
    QElapsedTimer clock;
    clock.start();
    // Watch the run between its steps; the run itself goes on at speed 0.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &app, [&] {
        if (window.runControl().ShownGeneration() < generations)
            return;
        const double elapsed = static_cast<double>(clock.nsecsElapsed());
        std::printf("window at speed 0, cell size 1: %.1f generations/s\n",
                    window.runControl().ShownGeneration() * 1e9 / elapsed);
        window.runControl().StopButtonClick();
        app.quit();
    });
    watch.start(1);
    QApplication::exec();
    return 0;
}
