#pragma once

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

namespace zentorix::app {

class FolderFileLists;
class MainWindow;

// The museum page TabSheet6: where an opened pattern and its rule go, whether
// opening clears and stops, the folder and file lists that open what is chosen,
// the description of the file opened last, and the selection's save button.
class MuseumPage : public QWidget {
    Q_OBJECT

  public:
    explicit MuseumPage(MainWindow& window, QWidget* parent = nullptr);

    FolderFileLists* fileLists() const { return lists_; }

  private:
    void RefreshFromModel();

    MainWindow& window_;
    FolderFileLists* lists_ = nullptr;
    QPlainTextEdit* description_ = nullptr;
    QPushButton* saveSelection_ = nullptr;
};

}  // namespace zentorix::app
