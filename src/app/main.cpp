#include <QApplication>
#include <QMainWindow>
#include <QScrollArea>
#include <QTimer>

#include "app/field_view.h"
#include "engine/generation_step.h"
#include "view/colour_model.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Zentorix");

    zentorix::World world;
    zentorix::Settings settings;
    settings.Colours.ColorOn = false;
    settings.Colours.RebuildStateColours();
    // A random soup under the classic rule.
    world.Random.Reseed();
    for (int x = 1; x <= world.FieldWidth(); ++x)
        for (int y = 1; y <= world.FieldHeight(); ++y)
            world.MainField.at(x, y) = world.Random.Below(100) < 35 ? 1 : 0;

    QMainWindow window;
    window.setWindowTitle("new.zlf  -  Zentorix");
    auto* scroll = new QScrollArea(&window);
    scroll->setObjectName("ScrollBox11");
    auto* view = new zentorix::app::FieldView(world, settings);
    scroll->setWidget(view);
    window.setCentralWidget(scroll);
    window.resize(1200, 1000);

    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        zentorix::GenerationStep(world, settings, *view, zentorix::StepForm::Plain);
    });
    timer.start(settings.SpeedMain);
    window.show();
    return QApplication::exec();
}
