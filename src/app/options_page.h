#pragma once

#include <QWidget>

class QSlider;
class QSpinBox;

namespace zentorix::app {

class MainWindow;

// The options page: torus, auto-stop and other switches, the field size, the
// big grid step, the cell gap and the timing button.
class OptionsPage : public QWidget {
    Q_OBJECT

  public:
    explicit OptionsPage(MainWindow& window, QWidget* parent = nullptr);

  private:
    void ApplyFieldSize();

    MainWindow& window_;
    QSpinBox* width_ = nullptr;
    QSpinBox* height_ = nullptr;
    QSlider* cellGap_ = nullptr;
};

}  // namespace zentorix::app
