#include <qpa/qwindowsysteminterface.h>

#include "app/app_test_support.h"
#include "core/test_support.h"
#include "engine/rule_text.h"

using namespace zentorix;

namespace {

// What the window's keys change, read in one go so that a key that does the
// wrong thing (or the right thing twice) shows as a difference.
struct Seen {
    int running, speed, cellSize, scrollX, scrollY, generation;
    int lifeOn, deadOn, otherOn, otherRunning;
    int paintMain, paintLife, paintDead, paintOther;
    bool operator==(const Seen&) const = default;
};

Seen Look(test::WindowFixture& f) {
    const Settings& s = f.settings();
    const QScrollBar* h = f.view().horizontalScrollBar();
    const QScrollBar* v = f.view().verticalScrollBar();
    // In the order of Seen's members.
    return Seen{f.run().Running(),  s.SpeedMain,
                s.CellSize,         h->value(),
                v->value(),         f.world().Counters.Generation,
                s.EternalLifeOn,    s.EternalDeadOn,
                s.OtherRealityOn,   f.run().OtherRealityRunning(),
                s.MainLifePaint,    s.EternalLifePaint,
                s.EternalDeadPaint, s.OtherRealPaint};
}

constexpr Qt::KeyboardModifiers kPad = Qt::KeypadModifier, kCtrl = Qt::ControlModifier;

// Wheel notches over a point of a widget (its middle unless given), as the
// window system delivers them: to the window at that place.
void Wheel(QWidget* over, int notches, std::optional<QPoint> at = {},
           Qt::Orientation turn = Qt::Vertical) {
    QWidget* top = over->window();
    const QPoint point = at.value_or(over->rect().center());
    const QPoint angle = turn == Qt::Vertical ? QPoint(0, 120 * notches) : QPoint(120 * notches, 0);
    QWindowSystemInterface::handleWheelEvent(top->windowHandle(), over->mapTo(top, point),
                                             over->mapToGlobal(point), {}, angle);
    QCoreApplication::processEvents();
}

}  // namespace

class WindowInputTest : public QObject {
    Q_OBJECT

  private slots:
    // Every row: a key pressed once with the field view focused changes exactly
    // what the row says and nothing else.
    void everyKeyOfTheTableActsOnceThroughTheWindowWhereTheFocusLetsIt() {
        test::WindowFixture f;
        QWindow* window = f.window->windowHandle();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        f.SetFieldSize(600, 500);
        f.SetValue("SpeedTrackBar", 900);  // no tick between two keys
        QWidget* view = f.Find<QWidget>("PaintBox1");
        int stepX = 0, stepY = 0;  // a third of the view, as it is before each key
        QScrollBar* h = f.view().horizontalScrollBar();
        QScrollBar* v = f.view().verticalScrollBar();
        // A scroll by thirds of the view; a zoom keeps the view's middle cell in
        // place, so the scroll follows (-1: not compared).
        const auto scroll = [&](int dx, int dy) {
            return [&, dx, dy](Seen& s) { s.scrollX += dx * stepX, s.scrollY += dy * stepY; };
        };
        const auto zoom = [](int by) {
            return [by](Seen& s) { s.cellSize += by, s.scrollX = s.scrollY = -1; };
        };
        // Each row: its name, the key (as the window system delivers it: to the
        // window, which hands it on) and what the key changes.
        using Change = std::function<void(Seen&)>;
        const std::tuple<const char*, Qt::Key, Qt::KeyboardModifiers, Change> rows[] = {
            {"Enter starts", Qt::Key_Return, {}, [](Seen& s) { s.running = true; }},
            {"pad Enter stops", Qt::Key_Enter, kPad, [](Seen& s) { s.running = false; }},
            {"+ is faster", Qt::Key_Plus, {}, [](Seen& s) { s.speed -= 5; }},
            {"- is slower", Qt::Key_Minus, {}, [](Seen& s) { s.speed += 5; }},
            {"F2", Qt::Key_F2, {}, [](Seen& s) { s.lifeOn ^= 1; }},
            {"F3", Qt::Key_F3, {}, [](Seen& s) { s.deadOn ^= 1; }},
            {"F4", Qt::Key_F4, {}, [](Seen& s) { s.otherOn ^= 1; }},
            {"Ctrl+F1", Qt::Key_F1, kCtrl, [](Seen& s) { s.paintMain ^= 1; }},
            {"Ctrl+F2", Qt::Key_F2, kCtrl, [](Seen& s) { s.paintLife ^= 1; }},
            {"Ctrl+F3", Qt::Key_F3, kCtrl, [](Seen& s) { s.paintDead ^= 1; }},
            {"Ctrl+F4", Qt::Key_F4, kCtrl, [](Seen& s) { s.paintOther ^= 1; }},
            {"Ctrl+Enter", Qt::Key_Return, kCtrl, [](Seen& s) { s.otherRunning ^= 1; }},
            {"Shift+Enter", Qt::Key_Return, Qt::ShiftModifier,
             [](Seen& s) { s.otherRunning ^= 1; }},
            {"pad *", Qt::Key_Asterisk, kPad, zoom(+1)},
            {"pad /", Qt::Key_Slash, kPad, zoom(-1)},
            {"pad 6", Qt::Key_6, kPad, scroll(1, 0)},
            {"pad 2", Qt::Key_2, kPad, scroll(0, 1)},
            {"pad 3", Qt::Key_3, kPad, scroll(1, 1)},
            {"pad 4", Qt::Key_4, kPad, scroll(-1, 0)},
            {"pad 8", Qt::Key_8, kPad, scroll(0, -1)},
            {"pad 9 (NumLock off)", Qt::Key_PageUp, kPad, scroll(1, -1)},
            {"pad 1 (NumLock off)", Qt::Key_End, kPad, scroll(-1, 1)},
            {"pad 7", Qt::Key_7, kPad, scroll(-1, -1)},
            {"pad .", Qt::Key_Period, kPad, [](Seen& s) { s.generation += 1; }},
            {"pad . (NumLock off) steps, no Del", Qt::Key_Delete, kPad,
             [](Seen& s) { s.generation += 1; }},
        };
        f.world().MainField.FillRect(10, 10, 12, 12, 1);
        f.Select({9, 9, 13, 13});
        for (const auto& [name, key, modifiers, change] : rows) {
            view->setFocus();
            stepX = view->width() / 3;
            stepY = view->height() / 3;
            h->setValue(3 * stepX);
            v->setValue(3 * stepY);
            Seen expected = Look(f);
            change(expected);
            QTest::keyClick(window, key, modifiers);
            Seen seen = Look(f);
            if (expected.scrollX < 0)
                seen.scrollX = seen.scrollY = -1;
            QVERIFY2(seen == expected, name);
        }
        // The number pad's Del stepped; the menu's Del did not erase the selection,
        // which a zoom had hidden.
        QVERIFY(!test::LiveCells(f.world().MainField, 9, 9, 13, 13).empty() &&
                !f.world().SelectionVisible);

        // Ctrl let go before F2: still Ctrl+F2, the paint target.
        Seen expected = Look(f);
        expected.paintLife ^= 1;
        QTest::keyPress(window, Qt::Key_F2, Qt::ControlModifier);
        QTest::keyRelease(window, Qt::Key_F2, Qt::NoModifier);
        QVERIFY(Look(f) == expected);

        // Number pad 5: the cell size stays, the field's middle comes into view.
        h->setValue(0);
        v->setValue(0);
        const int size = f.settings().CellSize;
        QTest::keyClick(window, Qt::Key_5, Qt::KeypadModifier);
        QCOMPARE(static_cast<int>(f.settings().CellSize), size);
        const int middleX = (300 - 1) * size, middleY = (250 - 1) * size;
        // The middle cell's centre in the viewport's, to a pixel.
        QVERIFY(std::abs(h->value() + view->width() / 2 - middleX - size / 2) <= 1);
        QVERIFY(std::abs(v->value() + view->height() / 2 - middleY - size / 2) <= 1);

        // Where the focus is decides: a text box keeps "+", Enter and its digits, a
        // dialog or a menu takes its own keys.
        app::RunControl& run = f.run();
        f.SetValue("SpeedTrackBar", 100);

        auto* birth = f.Find<QLineEdit>("BirthStr");
        f.Find<QTabWidget>("PageControl1")->setCurrentIndex(0);
        birth->setFocus();
        f.world().Editor.BirthStr = "5,6,";  // typed before, not yet read: Enter reads it
        const Seen before = Look(f);
        QTest::keyClick(window, Qt::Key_Plus);
        QTest::keyClick(window, Qt::Key_3, Qt::KeypadModifier);
        QVERIFY(birth->text().endsWith("+3") && f.world().Rules[0].BirthList.size() == 1);
        QTest::keyClick(window, Qt::Key_Return);
        QVERIFY(Look(f) == before);

        // With the view's menu open, one Enter runs its item once; Ctrl+Enter is
        // the menu's single step.
        view->setFocus();
        f.window->contextMenu()->popup(view->mapToGlobal(QPoint(20, 20)));
        QTRY_VERIFY(QApplication::activePopupWidget());
        const int generation = f.world().Counters.Generation;
        QTest::keyClick(window, Qt::Key_Return, Qt::ControlModifier);
        QTRY_VERIFY(!QApplication::activePopupWidget());
        QVERIFY(f.world().Counters.Generation == generation + 1 && !run.OtherRealityRunning());
        f.window->contextMenu()->popup(view->mapToGlobal(QPoint(20, 20)));
        QTRY_VERIFY(QApplication::activePopupWidget());
        QTest::keyClick(window, Qt::Key_Return);
        QTRY_VERIFY(!QApplication::activePopupWidget());
        QVERIFY(run.Running());
        run.StopButtonClick();

        // An Escape that closes a dialog does nothing more.
        QDialog dialog(f.window.get());
        dialog.setModal(true);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTest::keyClick(dialog.windowHandle(), Qt::Key_Escape);
        QVERIFY(!dialog.isVisible() && f.window->isVisible());
    }

    // The wheel over a number box, a list or a slider that has no focus scrolls
    // the page it stands on; once the user picked the control, the wheel is its.
    void theWheelScrollsThePageUnlessAControlWasPickedAndZoomsTheField() {
        test::WindowFixture f;
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        f.Find<QTabWidget>("PageControl1")->setCurrentIndex(0);
        auto* panel = f.Find<QScrollArea>("Panel7");
        QScrollBar* page = panel->verticalScrollBar();
        f.Find<QWidget>("PaintBox1")->setFocus();
        for (const char* name : {"IntNW", "RulesComboBox", "SpeedTrackBar"}) {
            page->setValue(0);
            auto* control = f.Find<QWidget>(name);
            const auto values = [&f] {
                return std::tuple{f.settings().SpeedMain.Value(),
                                  FormatRuleTokens(f.world().Rules[0]),
                                  f.Find<QComboBox>("RulesComboBox")->currentIndex()};
            };
            const auto before = values();
            Wheel(control, -5);
            QVERIFY2(!control->hasFocus() && values() == before, name);
            if (panel->isAncestorOf(control))
                QVERIFY2(page->value() > 0, name);
        }
        // Picked, the weight box takes the wheel: one notch, one step.
        page->setValue(0);
        auto* box = f.Find<QSpinBox>("IntNW");
        box->setFocus();
        const int value = box->value();
        Wheel(box, 1);
        QVERIFY(box->value() == value + 1 && page->value() == 0);

        // Over the field the wheel zooms about the cell under the pointer. At one
        // pixel a cell the view's first pixel column is over column 1, and pixel 37,
        // scrolled by 100, over row 138: a notch in (to two pixels a cell) scrolls
        // one pixel more for each, a notch out back again. A sideways turn does
        // not zoom.
        app::FieldView& view = f.view();
        f.settings().CellSize = 1;
        f.SetFieldSize(997, 997);
        view.horizontalScrollBar()->setValue(0);
        view.verticalScrollBar()->setValue(100);
        QWidget* field = f.Find<QWidget>("PaintBox1");
        const auto seen = [&] {
            return std::tuple(int{f.settings().CellSize}, view.horizontalScrollBar()->value(),
                              view.verticalScrollBar()->value());
        };
        const std::tuple<int, Qt::Orientation, std::tuple<int, int, int>> notches[] = {
            {1, Qt::Vertical, {2, 1, 238}},
            {-1, Qt::Horizontal, {2, 1, 238}},
            {-1, Qt::Vertical, {1, 0, 100}}};
        for (const auto& [notch, turn, expected] : notches) {
            Wheel(field, notch, QPoint(0, 37), turn);
            QCOMPARE(seen(), expected);
            QTest::qWait(250);  // the wheel takes one notch at a time
        }
    }
};

QTEST_MAIN(WindowInputTest)
#include "window_input_test.moc"
