#include "app/wheel_focus.h"

#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QEvent>

namespace zentorix::app {

namespace {

// The control a wheel over `widget` would edit: the widget itself, or the
// number box whose text field it is.
QWidget* ValueControl(QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    for (int depth = 0; widget && depth < 2; ++depth, widget = widget->parentWidget())
        if (qobject_cast<QAbstractSpinBox*>(widget) || qobject_cast<QComboBox*>(widget) ||
            qobject_cast<QAbstractSlider*>(widget))
            return widget;
    return nullptr;
}

}  // namespace

WheelFocus::WheelFocus(QObject* parent) : QObject(parent) {
    qApp->installEventFilter(this);
}

bool WheelFocus::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Polish) {
        // A wheel would otherwise hand such a control the focus first.
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget == ValueControl(widget) && widget->focusPolicy() == Qt::WheelFocus)
            widget->setFocusPolicy(Qt::StrongFocus);
        return false;
    }
    if (event->type() != QEvent::Wheel)
        return false;
    QWidget* control = ValueControl(watched);
    // A scroll bar is a slider too, and scrolling is what it is for.
    if (!control || control->hasFocus() || control->inherits("QScrollBar"))
        return false;
    // Not taken: the event goes on to the parents, up to the scrolled page.
    event->ignore();
    return true;
}

}  // namespace zentorix::app
