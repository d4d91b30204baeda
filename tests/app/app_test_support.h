#pragma once

#include <QtTest>
#include <QtWidgets>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "app/main_window.h"
#include "formats/program_folder.h"

namespace zentorix::test {

// A main window on a fresh program folder of its own.
struct WindowFixture {
    // As long as a user's folder often is (/home/someone/.local/share/Zentorix).
    QTemporaryDir dir{QDir::tempPath() + "/zentorix-test-of-the-window-in-a-program-folder-XXXXXX"};
    QString shipped;  // the shipped files, when they lie apart as when installed
    std::unique_ptr<app::MainWindow> window;

    explicit WindowFixture(const QString& commandLineFile = {}, const QString& shippedFolder = {})
        : shipped(shippedFolder) {
        Open(commandLineFile);
    }
    // No window yet: the test prepares the folder, then opens it.
    struct Unopened {};
    explicit WindowFixture(Unopened) {}

    ProgramFolder Folder() const { return {app::ToPath(dir.path()), app::ToPath(shipped)}; }
    World& world() const { return window->session().world(); }
    Settings& settings() const { return window->session().settings(); }
    app::FieldView& view() const { return window->fieldView(); }
    app::RunControl& run() const { return window->runControl(); }
    // A field of this size, fitted to the view at the cell size in use.
    void SetFieldSize(int width, int height) const {
        world().SetFieldWidth(width);
        world().SetFieldHeight(height);
        view().FitToField();
    }
    // Cells of the main field shown selected.
    void Select(CellRect cells) const {
        world().Selection = cells;
        world().SelectionVisible = true;
    }
    // Opens (or reopens, after Close) the window on the same folder.
    void Open(const QString& commandLineFile = {}) {
        window = std::make_unique<app::MainWindow>(Folder(), commandLineFile);
        window->resize(1280, 720);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTRY_VERIFY(window->StartedUp());
    }
    void Close() {
        window->close();
        window.reset();
    }
    template <typename T>
    T* Find(const char* name) const {
        return window->findChild<T*>(name);
    }
    // Brings a page of the tool panel to the front by its sheet's name.
    void ShowPage(const char* sheet) const {
        Find<QTabWidget>("PageControl1")->setCurrentWidget(Find<QWidget>(sheet));
    }
    // Clicks a button or triggers a menu item, as a user does.
    void Click(const char* name) const {
        QObject* control = window->findChild<QObject*>(name);
        QVERIFY2(control, name);
        if (auto* action = qobject_cast<QAction*>(control))
            action->trigger();
        else
            qobject_cast<QAbstractButton*>(control)->click();
    }
    // The text a label, box, button, menu item or text area shows.
    QString Text(const char* name) const {
        const QObject* control = window->findChild<QObject*>(name);
        const QVariant text = control->property("text");
        return (text.isValid() ? text : control->property("plainText")).toString();
    }
    // Keys as the window system delivers them: to the control's window, which
    // hands them to the control that has the focus; then, if given, a last key.
    void Type(QWidget* into, const QString& text, Qt::Key last = Qt::Key_unknown) const {
        into->setFocus();
        QWindow* handle = into->window()->windowHandle();
        for (QChar c : text)
            QTest::keyClick(handle, c.toLatin1());
        if (last != Qt::Key_unknown)
            QTest::keyClick(handle, last);
    }
    // The value of a number box or a slider; a value set is as a user's change.
    int Value(const char* name) const { return Find<QObject>(name)->property("value").toInt(); }
    void SetValue(const char* name, int v) const { Find<QObject>(name)->setProperty("value", v); }
    // Whether a button or a menu item is ticked.
    bool Checked(const char* name) const {
        return window->findChild<QObject*>(name)->property("checked").toBool();
    }
    // The pixel of the field view in the middle of cell (x, y).
    QRgb CellPixel(int x, int y) const {
        const int c = settings().CellSize;
        return window->fieldView().SurfacePixel((x - 1) * c + c / 2, (y - 1) * c + c / 2);
    }
};

// Runs `answer` on the modal window of type T once it is open (the caller then
// opens it and blocks in its event loop); it is looked for every 10 ms for 3 s.
template <typename T>
void WhenModalOpens(std::function<void(T*)> answer, int triesLeft = 300) {
    QTimer::singleShot(triesLeft < 300 ? 10 : 0, [answer, triesLeft] {
        if (auto* modal = qobject_cast<T*>(QApplication::activeModalWidget()))
            answer(modal);
        else if (triesLeft > 0)
            WhenModalOpens<T>(answer, triesLeft - 1);
    });
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

// The shipped language and rule-name files, into a program folder's Language.
inline void CopyShippedLanguages(const QString& programFolder) {
    const QDir shipped(QStringLiteral(ZENTORIX_SHIPPED_DATA "/Language"));
    QDir(programFolder).mkpath("Language");
    for (const QString& name : shipped.entryList(QDir::Files))
        QFile::copy(shipped.filePath(name), programFolder + "/Language/" + name);
}

// What a user's pick from a drop-down list does.
inline void Choose(QComboBox* list, int index) {
    list->setCurrentIndex(index);
    emit list->activated(index);
}

}  // namespace zentorix::test
