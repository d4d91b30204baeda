#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <atomic>
#include <csignal>

#include "app/main_window.h"
#include "formats/program_folder.h"

namespace {

std::atomic<bool> quitRequested{false};

extern "C" void RequestQuit(int) {
    quitRequested = true;
}

}  // namespace

int main(int argc, char** argv) {
    // A termination signal closes the window as the user would, so the settings
    // file is written then too; one that comes during start-up is acted on as
    // soon as the window runs.
    std::signal(SIGTERM, RequestQuit);
    std::signal(SIGINT, RequestQuit);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Zentorix");
    QApplication::setApplicationVersion(ZENTORIX_VERSION);

    QLabel splash(QStringLiteral("<h1>&nbsp;Zentorix&nbsp;</h1>"));
    splash.setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    splash.setObjectName("TSplashScreen");
    splash.show();
    QApplication::processEvents();

    const zentorix::ProgramFolder folder =
        zentorix::LocateProgramFolder(zentorix::app::ToPath(QApplication::applicationDirPath()));
    const QStringList args = QApplication::arguments();
    zentorix::app::MainWindow window(folder, args.size() > 1 ? args.at(1) : QString());

    QTimer signalWatch;
    QObject::connect(&signalWatch, &QTimer::timeout, &window, [&window] {
        if (quitRequested.exchange(false))
            window.close();
    });
    signalWatch.start(100);

    window.show();
    splash.close();
    return QApplication::exec();
}
