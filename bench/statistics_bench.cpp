// What recording "stat.txt" and drawing the live chart cost the window at speed 0
// on a 997 by 997 random soup (offscreen): the generation rate with and without
// them, alternating, and the time spent in statistics per generation.
#include <QApplication>
#include <QElapsedTimer>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/main_window.h"
#include "app/statistics_page.h"
#include "soup.h"

using namespace zentorix;

namespace {

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int generations = argc > 1 ? std::atoi(argv[1]) : 300;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;

    QTemporaryDir dir;
    app::MainWindow window(ProgramFolder{app::ToPath(dir.path())}, {});
    window.resize(1600, 1000);
    window.show();
    window.findChild<QTabWidget*>("PageControl1")->setCurrentIndex(3);  // the chart shown
    QApplication::processEvents();
    auto* page = window.findChild<app::StatisticsPage*>("TabSheet4");
    app::RunControl& run = window.runControl();
    // The page's own connection is replaced by one that can be switched and timed.
    QObject::disconnect(&run, &app::RunControl::GenerationCounted, page, nullptr);
    bool statistics = false;
    qint64 statisticsNs = 0;
    QObject::connect(&run, &app::RunControl::GenerationCounted, page, [&](const World& world) {
        if (!statistics)
            return;
        QElapsedTimer t;
        t.start();
        page->GenerationCounted(world);
        statisticsNs += t.nsecsElapsed();
    });

    std::vector<double> with, without;
    for (int round = 0; round < 2 * rounds; ++round) {
        statistics = round % 2 == 1;
        bench::FillSoup(window.session().world(), 997);
        window.session().settings().CellSize = 1;
        window.RefreshFromModel();
        if (statistics)
            page->RecordStatisticButtonClick();
        auto* speed = window.findChild<QSlider*>("SpeedTrackBar");
        run.StartButtonClick();
        speed->setValue(0);
        QElapsedTimer clock;
        clock.start();
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, &app, [&] {
            if (run.ShownGeneration() < generations)
                return;
            const double rate =
                run.ShownGeneration() * 1e9 / static_cast<double>(clock.nsecsElapsed());
            (statistics ? with : without).push_back(rate);
            speed->setValue(1);
            run.StopButtonClick();  // also ends the recording
            app.quit();
        });
        watch.start(1);
        QApplication::exec();
    }
    const double a = Median(without), b = Median(with);
    std::printf("997x997 soup, speed 0, offscreen, %d generations, median of %d alternating runs\n",
                generations, rounds);
    std::printf("without statistics: %.1f generations/s\n", a);
    std::printf("recording + chart:  %.1f generations/s (%.1f %% slower)\n", b, (a - b) / a * 100);
    std::printf("statistics per recorded generation: %.1f us\n",
                statisticsNs / 1e3 / (rounds * static_cast<double>(generations)));
    return 0;
}
