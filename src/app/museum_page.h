#pragma once

#include <QWidget>

namespace zentorix::app {

class MainWindow;

class MuseumPage : public QWidget {
    Q_OBJECT

  public:
    explicit MuseumPage(MainWindow& window, QWidget* parent = nullptr);

  private:
    MainWindow& window_;
};

}  // namespace zentorix::app
