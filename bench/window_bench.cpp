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
    const double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;

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
        int n = 0;
        while (clock.elapsed() < seconds * 1000) {
            GenerationStep(*world, settings, quiet, StepForm::Plain);
            ++n;
        }
        std::printf("without a window: %.1f generations/s\n", n * 1000.0 / clock.elapsed());
    }

    FillSoup(window.session().world());
    window.session().settings().CellSize = 1;
    window.RefreshFromModel();
    auto* speed = window.findChild<QSlider*>("SpeedTrackBar");
    window.runControl().StartButtonClick();
    speed->setValue(0);
    const int first = window.runControl().ShownGeneration();
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(static_cast<int>(seconds * 1000), &app, [&] {
        const double elapsed = clock.elapsed();
        const int generations = window.runControl().ShownGeneration() - first;
        std::printf("window at speed 0, cell size 1: %.1f generations/s\n",
                    generations * 1000.0 / elapsed);
        window.runControl().StopButtonClick();
        app.quit();
    });
    QApplication::exec();
    return 0;
}
