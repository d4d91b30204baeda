#pragma once

#include <QObject>
#include <QStringList>

class QFileDialog;

namespace zentorix::app {

class MainWindow;

// Opening from outside the lists: the open dialog OpenDialog1 (tool button
// OpenFileButton, menu item Open1, Ctrl+O) and a file dropped on the window.
class OpenCommands : public QObject {
    Q_OBJECT

  public:
    // The filters as the dialog lists them: the first shows the formats of old
    // but takes every format the program reads; the second takes every file.
    static QStringList Filters();

    explicit OpenCommands(MainWindow& window);

    // OpenFileButtonClick: the dialog, then the file chosen is opened.
    void OpenFileButtonClick();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    MainWindow& window_;
    QFileDialog* dialog_ = nullptr;
};

}  // namespace zentorix::app
