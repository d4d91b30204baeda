#pragma once

#include <QObject>

namespace zentorix::app {

// The mouse wheel edits a number box, a drop-down list or a slider only while
// that control has the keyboard focus; otherwise it goes on to what holds the
// control, so the wheel scrolls the page under the pointer instead of changing
// a value the user did not pick. The field view keeps its wheel zoom.
class WheelFocus : public QObject {
    Q_OBJECT

  public:
    explicit WheelFocus(QObject* parent);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace zentorix::app
