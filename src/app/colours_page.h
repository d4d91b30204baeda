#pragma once

#include <QWidget>

namespace zentorix::app {

class MainWindow;

class ColoursPage : public QWidget {
    Q_OBJECT

  public:
    explicit ColoursPage(MainWindow& window, QWidget* parent = nullptr);

  private:
    MainWindow& window_;
};

}  // namespace zentorix::app
