#pragma once

#include <QHash>
#include <QObject>

class QKeyEvent;
class QWindow;

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
    bool OfWindow(const QWidget* widget) const;
    // True when a key for `target` is the window's: no menu or dialog is open.
    bool ForWindow(const QWidget* target) const;
    static QWidget* KeyTarget(const QWindow* window);
    bool ContextMenuKey(QKeyEvent* event);
    bool Character(QKeyEvent* event);
    void KeyUp(int key, Qt::KeyboardModifiers modifiers);
    bool NumberPad(int key);
    void Click(const char* name) const;

    MainWindow& window_;
    // Keys whose press reached the window, with Ctrl and Shift as they were then.
    QHash<int, Qt::KeyboardModifiers> pressed_;
    QWidget* target_ = nullptr;  // the control the key in hand is for
};

// True when the widget takes typed text or list keys (a text box, a number box,
// a drop-down list or a list): "+", "-" and Enter are its own there.
bool TakesTyping(const QWidget* widget);

}  // namespace zentorix::app
