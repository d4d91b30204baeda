#include "app/key_commands.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTextEdit>
#include <QToolButton>
#include <QWindow>

#include "app/main_window.h"
#include "app/popup_panels.h"

namespace zentorix::app {

namespace {

// A number-pad key as the character printed on it, whatever NumLock says; 0 for
// any other key.
char NumberPadCharacter(int key, Qt::KeyboardModifiers modifiers) {
    if (!(modifiers & Qt::KeypadModifier))
        return 0;
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return static_cast<char>('0' + key - Qt::Key_0);
    switch (key) {
        case Qt::Key_Insert:
            return '0';
        case Qt::Key_End:
            return '1';
        case Qt::Key_Down:
            return '2';
        case Qt::Key_PageDown:
            return '3';
        case Qt::Key_Left:
            return '4';
        case Qt::Key_Clear:
            return '5';
        case Qt::Key_Right:
            return '6';
        case Qt::Key_Home:
            return '7';
        case Qt::Key_Up:
            return '8';
        case Qt::Key_PageUp:
            return '9';
        case Qt::Key_Delete:
        case Qt::Key_Period:
        case Qt::Key_Comma:
            return '.';
        case Qt::Key_Slash:
            return '/';
        case Qt::Key_Asterisk:
            return '*';
        default:
            return 0;
    }
}

bool IsEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The key as one number: the number pad's keys apart from the others.
int KeyCode(const QKeyEvent* e) {
    if (const char c = NumberPadCharacter(e->key(), e->modifiers()))
        return 0x10000000 | c;
    return IsEnter(e->key()) ? Qt::Key_Return : e->key();
}

}  // namespace

bool TakesTyping(const QWidget* w) {
    return w && (qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
                 qobject_cast<const QTextEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
                 qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractItemView*>(w) ||
                 (w->parentWidget() && qobject_cast<const QAbstractItemView*>(w->parentWidget())));
}

KeyCommands::KeyCommands(MainWindow& window) : QObject(&window), window_(window) {
    qApp->installEventFilter(this);
}

// A widget of the window: the window itself, its controls and its floating
// panels; not a dialog or a message box it opened.
bool KeyCommands::OfWindow(const QWidget* widget) const {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (w == &window_)
            return true;
        if (w->isWindow() && !qobject_cast<const QDockWidget*>(w))
            return false;
    }
    return false;
}

bool KeyCommands::ForWindow(const QWidget* target) const {
    return OfWindow(target) && !QApplication::activePopupWidget() &&
           !QApplication::activeModalWidget();
}

// The widget a key that the window system handed to `window` goes to: the
// focused control of that window, else the window's own widget.
QWidget* KeyCommands::KeyTarget(const QWindow* window) {
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->windowHandle() == window)
            return top->focusWidget() ? top->focusWidget() : top;
    return nullptr;
}

bool KeyCommands::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (type == QEvent::ShortcutOverride) {
        // Asked of the focused control before a menu shortcut may act.
        if (QApplication::activePopupWidget() == window_.contextMenu())
            return ContextMenuKey(key);
        // The number pad's Del is "." here, never the Del of a menu item.
        if (ForWindow(qobject_cast<QWidget*>(watched)) && key->key() == Qt::Key_Delete &&
            (key->modifiers() & Qt::KeypadModifier) &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier))) {
            key->accept();
            return true;
        }
        return false;
    }
    // A press or release comes from the window system to a window first; the
    // window then hands the same event to its focused control and, untaken, to
    // that control's parents. Only the first sight, at the window, is judged:
    // once per key, by the control it is for.
    auto* window = qobject_cast<QWindow*>(watched);
    if (!window)
        return false;
    if (QApplication::activePopupWidget() == window_.contextMenu())
        return ContextMenuKey(key);
    target_ = KeyTarget(window);
    const bool reaches = ForWindow(target_);
    const int code = KeyCode(key);
    if (type == QEvent::KeyPress) {
        if (key->isAutoRepeat())
            return false;
        if (!reaches) {
            pressed_.remove(code);
            return false;
        }
        // Ctrl and Shift count as they were at the press: a user may let go of
        // Ctrl before the key itself.
        pressed_.insert(code, key->modifiers());
        // The number pad's keys are the window's: the view would scroll by a cell
        // as well. A text box still takes its digits.
        if ((code & 0x10000000) && !TakesTyping(target_))
            return true;
        return Character(key);
    }
    // Release: a key acts only when its press reached the window, so a key that
    // closed a dialog, a menu or a completer does nothing more.
    if (key->isAutoRepeat() || !pressed_.contains(code))
        return false;
    const Qt::KeyboardModifiers modifiers = pressed_.take(code);
    if (reaches)
        KeyUp(code, modifiers);
    return false;
}

bool KeyCommands::ContextMenuKey(QKeyEvent* event) {
    auto* menu = window_.contextMenu();
    if (IsEnter(event->key()) && !(event->modifiers() & ~Qt::KeypadModifier) &&
        menu->activeAction())
        return false;  // Enter on a highlighted item chooses that item
    const QKeySequence keys(QKeyCombination(event->modifiers() & ~Qt::KeypadModifier,
                                            static_cast<Qt::Key>(KeyCode(event) & 0x01FFFFFF)));
    for (QAction* action : menu->actions()) {
        if (!action->isVisible() || !action->isEnabled() || action->shortcut() != keys)
            continue;
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
        } else if (event->type() == QEvent::KeyPress) {
            menu->close();
            action->trigger();
        }
        return true;
    }
    return false;
}

bool KeyCommands::Character(QKeyEvent* event) {
    const QString text = event->text();
    if (text != "+" && text != "-")
        return false;
    if (TakesTyping(target_))
        return false;
    auto* speed = window_.findChild<QSlider*>("SpeedTrackBar");
    speed->setValue(speed->value() + (text == "+" ? -5 : 5));
    return true;
}

void KeyCommands::Click(const char* name) const {
    if (auto* button = window_.findChild<QAbstractButton*>(name))
        button->click();
}

bool KeyCommands::NumberPad(int code) {
    if (!(code & 0x10000000))
        return false;
    FieldView& view = window_.fieldView();
    QScrollBar* h = view.horizontalScrollBar();
    QScrollBar* v = view.verticalScrollBar();
    const int stepX = view.viewport()->width() / 3, stepY = view.viewport()->height() / 3;
    auto scroll = [&](int dx, int dy) {
        h->setValue(h->value() + dx * stepX);
        v->setValue(v->value() + dy * stepY);
    };
    switch (static_cast<char>(code & 0xFF)) {
        case '.':
            window_.runControl().StepButtonClick();
            break;
        case '/':
            Click("SpeedButton29");
            break;
        case '*':
            Click("HotKeysButton");
            break;
        case '5': {
            // The field's middle cell into the middle of the view.
            const World& w = window_.session().world();
            const int c = window_.session().settings().CellSize;
            h->setValue((w.FieldWidth() / 2 - 1) * c + c / 2 - view.viewport()->width() / 2);
            v->setValue((w.FieldHeight() / 2 - 1) * c + c / 2 - view.viewport()->height() / 2);
            break;
        }
        case '8':
            scroll(0, -1);
            break;
        case '2':
            scroll(0, 1);
            break;
        case '4':
            scroll(-1, 0);
            break;
        case '6':
            scroll(1, 0);
            break;
        case '7':
            scroll(-1, -1);
            break;
        case '9':
            scroll(1, -1);
            break;
        case '1':
            scroll(-1, 1);
            break;
        case '3':
            scroll(1, 1);
            break;
        default:
            return false;
    }
    return true;
}

void KeyCommands::KeyUp(int code, Qt::KeyboardModifiers modifiers) {
    const bool ctrl = modifiers & Qt::ControlModifier, shift = modifiers & Qt::ShiftModifier;
    if (!ctrl && !shift) {
        // A number typed into a box on the number pad stays a number.
        if ((code & 0x10000000) && TakesTyping(target_))
            return;
        if (NumberPad(code))
            return;
        switch (code) {
            case Qt::Key_Return: {
                PopupPanels& popups = window_.popups();
                if (popups.panel("SavePanel")->isVisible() ||
                    popups.panel("SaveSelectionPanel")->isVisible() || TakesTyping(target_))
                    return;
                Click("StartButton");
                return;
            }
            case Qt::Key_Escape:
                if (window_.popups().AnyShown())
                    window_.popups().HideAll();
                else
                    window_.ExitButtonClick();
                return;
            case Qt::Key_F2:
                Click("EternalLifeOn");
                return;
            case Qt::Key_F3:
                Click("EternalDeadOn");
                return;
            case Qt::Key_F4:
                Click("OtherRealityOn");
                return;
            default:
                return;
        }
    }
    if (ctrl && !shift) {
        switch (code) {
            case Qt::Key_Return:
                Click("SpeedButton2");
                return;
            case Qt::Key_F1:
                Click("MainLifePaint");
                return;
            case Qt::Key_F2:
                Click("EternalLifePaint");
                return;
            case Qt::Key_F3:
                Click("EternalDeadPaint");
                return;
            case Qt::Key_F4:
                Click("OtherRealPaint");
                return;
            default:
                return;
        }
    }
    if (shift && !ctrl && code == Qt::Key_Return)
        Click("SpeedButton2");
}

}  // namespace zentorix::app
