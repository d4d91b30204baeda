#include <QApplication>
#include <QCommandLineParser>
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

// The options the window program takes; its one argument names a file to open.
void DescribeCommandLine(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral(
        "Zentorix: a workbench for two-dimensional cellular automata.\n"
        "Opens FILE at start (an experiment .zlf/.mlf/.qlf, RLE, Life 1.05/1.06,\n"
        "MCell, Life 2.0 or a one-bit BMP). zentorix-cli runs experiments without a window."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("the file to open"),
                                 QStringLiteral("[FILE]"));
}

void NameApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("Zentorix"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZENTORIX_VERSION));
}

}  // namespace

int main(int argc, char** argv) {
    NameApplication();
    {
        // --help and --version answer on a terminal without a display.
        QCommandLineParser early;
        DescribeCommandLine(early);
        QStringList raw;
        for (int i = 0; i < argc; ++i)
            raw << QString::fromLocal8Bit(argv[i]);
        if (early.parse(raw) &&
            (early.isSet(QStringLiteral("help")) || early.isSet(QStringLiteral("version")))) {
            QCoreApplication core(argc, argv);
            early.process(core);  // prints and exits
        }
    }
    // A termination signal closes the window as the user would, so the settings
    // file is written then too; one that comes during start-up is acted on as
    // soon as the window runs.
    std::signal(SIGTERM, RequestQuit);
    std::signal(SIGINT, RequestQuit);
    QApplication app(argc, argv);
    NameApplication();
    QApplication::setDesktopFileName(QStringLiteral("org.zentorix.Zentorix"));
    // Options the toolkit took (-platform, -style, ...) are gone by now; anything
    // else unknown ends the program with the reason.
    QCommandLineParser parser;
    DescribeCommandLine(parser);
    parser.process(app);

    QLabel splash(QStringLiteral("<h1>&nbsp;Zentorix&nbsp;</h1>"));
    splash.setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    splash.setObjectName("TSplashScreen");
    splash.show();
    QApplication::processEvents();

    const zentorix::ProgramFolder folder =
        zentorix::LocateProgramFolder(zentorix::app::ToPath(QApplication::applicationDirPath()));
    zentorix::app::MainWindow window(folder, parser.positionalArguments().value(0));

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
