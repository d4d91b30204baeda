#pragma once

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
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
    World& world() const { return window->session().world(); }
    Settings& settings() const { return window->session().settings(); }
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
    // The pixel of the field view in the middle of cell (x, y).
    QRgb CellPixel(int x, int y) const {
        const int c = settings().CellSize;
        return window->fieldView().SurfacePixel((x - 1) * c + c / 2, (y - 1) * c + c / 2);
    }
    // Saves a picture of the whole window for a person to look at.
    void Screenshot(const QString& name) const {
        window->grab().save(QStringLiteral(ZENTORIX_ARTIFACTS "/") + name + ".png");
    }
};

// Runs `answer` on the modal window of type T once it is open (the caller then
// opens it and blocks in its event loop).
template <typename T>
void WhenModalOpens(std::function<void(T*)> answer) {
    auto attempt = std::make_shared<std::function<void(int)>>();
    *attempt = [answer, attempt](int triesLeft) {
        if (auto* modal = qobject_cast<T*>(QApplication::activeModalWidget())) {
            answer(modal);
            return;
        }
        if (triesLeft > 0)
            QTimer::singleShot(10, [attempt, triesLeft] { (*attempt)(triesLeft - 1); });
    };
    QTimer::singleShot(0, [attempt] { (*attempt)(300); });
}

// Clicks the button of the next message box; its text goes to `asked`.
inline void AnswerQuestion(QMessageBox::StandardButton button, QString* asked = nullptr) {
    WhenModalOpens<QMessageBox>([button, asked](QMessageBox* box) {
        if (asked)
            *asked = box->text();
        box->button(button)->click();
    });
}

// The whole of a file; empty when it cannot be read.
inline QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void WriteFile(const QString& path, const QByteArray& text) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

// What a user's pick from a drop-down list does.
inline void Choose(QComboBox* list, int index) {
    list->setCurrentIndex(index);
    emit list->activated(index);
}

}  // namespace zentorix::test
