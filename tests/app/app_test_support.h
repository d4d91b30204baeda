#pragma once

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/main_window.h"
#include "formats/program_folder.h"

namespace zentorix::test {

// A main window on a fresh program folder of its own.
struct WindowFixture {
    QTemporaryDir dir;
    std::unique_ptr<app::MainWindow> window;

    explicit WindowFixture(const QString& commandLineFile = {}) { Open(commandLineFile); }

    ProgramFolder Folder() const { return {app::ToPath(dir.path())}; }
    // Opens (or reopens, after Close) the window on the same folder.
    void Open(const QString& commandLineFile = {}) {
        window = std::make_unique<app::MainWindow>(Folder(), commandLineFile);
        window->resize(1280, 720);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void Close() {
        window->close();
        window.reset();
    }
    template <typename T>
    T* Find(const char* name) const {
        return window->findChild<T*>(name);
    }
    // Saves a picture of the whole window for a person to look at.
    void Screenshot(const QString& name) const {
        window->grab().save(QStringLiteral(ZENTORIX_ARTIFACTS "/") + name + ".png");
    }
};

}  // namespace zentorix::test
