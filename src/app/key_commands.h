#pragma once

#include <QEvent>
#include <QObject>
#include <QSet>

class QKeyEvent;

namespace zentorix::app {

class MainWindow;

// The window's own keys, seen before the focused control: the number pad
// scrolls, zooms and steps, Enter starts, Escape closes, function keys switch
// layers and paint targets, "+" and "-" change the speed. A key acts on its
// release, and only when its press reached the window: a key that closed a
// dialog, a menu or a completer does nothing more. While the view's context
// menu is open its own items' keys act instead.
class KeyCommands : public QObject {
    Q_OBJECT

  public:
    explicit KeyCommands(MainWindow& window);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool ReachesWindow(QObject* receiver) const;
    bool ContextMenuKey(QKeyEvent* event);
    bool Character(QKeyEvent* event);
    void KeyUp(int key, Qt::KeyboardModifiers modifiers);
    bool NumberPad(int key);
    void Click(const char* name) const;

    MainWindow& window_;
    QSet<int> pressed_;  // keys whose press reached the window
    const QEvent* lastEvent_ = nullptr;
    quint64 lastTimestamp_ = 0;
    QEvent::Type lastType_ = QEvent::None;
};

// True when the widget takes typed text or list keys (a text box, a number box,
// a drop-down list or a list): "+", "-" and Enter are its own there.
bool TakesTyping(const QWidget* widget);

}  // namespace zentorix::app
