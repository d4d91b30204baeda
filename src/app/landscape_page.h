#pragma once

#include <QWidget>

namespace zentorix::app {

class MainWindow;

class LandscapePage : public QWidget {
    Q_OBJECT

  public:
    explicit LandscapePage(MainWindow& window, QWidget* parent = nullptr);

  private:
    MainWindow& window_;
};

}  // namespace zentorix::app
