#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <functional>

#include "app/app_test_support.h"
#include "app/colours_page.h"
#include "app/field_view.h"
#include "app/palette_editor.h"
#include "view/palette_commands.h"

using namespace zentorix;

namespace {

void AnswerColourDialog(Colour colour) {
    test::WhenModalOpens<QColorDialog>([colour](QColorDialog* dialog) {
        QCOMPARE(dialog->objectName(), QStringLiteral("ColorDialog1"));
        dialog->setCurrentColor(QColor::fromRgb(app::ToRgb(colour)));
        dialog->accept();
    });
}

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at,
               Qt::MouseButton button = Qt::LeftButton) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? button : Qt::NoButton;
    QMouseEvent event(type, at, widget->mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

QString PanelName(int entry) {
    return QStringLiteral("Panel%1").arg(49 + entry);
}

// A window with the colours page open and one live cell of each given state in
// the first row.
struct ColoursFixture : test::WindowFixture {
    ColoursFixture() {
        auto* pages = Find<QTabWidget>("PageControl1");
        pages->setCurrentWidget(Find<QWidget>("TabSheet2"));
        QApplication::processEvents();
    }
    Settings& settings() { return window->session().settings(); }
    ColourModel& colours() { return settings().Colours; }
    app::PaletteEditor* editor() { return Find<app::PaletteEditor>("ColorGenPanel"); }
    QLabel* panel(int entry) { return window->findChild<QLabel*>(PanelName(entry)); }
    // The pixel in the middle of cell (x, y) as a stored colour.
    Colour CellPixel(int x, int y) {
        const int c = settings().CellSize;
        return app::FromRgb(
            window->fieldView().SurfacePixel((x - 1) * c + c / 2 + 1, (y - 1) * c + c / 2 + 1));
    }
    void PutCell(int x, int y, int state) {
        window->session().world().MainField.at(x, y) = state;
        window->fieldView().RedrawView();
    }
};

}  // namespace

class ColoursPageTest : public QObject {
    Q_OBJECT

  private slots:
    void listsStartWithTheBuiltInEntries() {
        ColoursFixture f;
        auto* schemes = f.Find<QComboBox>("ColorComboBox");
        auto* palettes = f.Find<QComboBox>("GenColorComboBox");
        QCOMPARE(schemes->count(), 5);
        QCOMPARE(schemes->itemText(4), QStringLiteral("Вода"));
        QCOMPARE(palettes->count(), 7);
        QCOMPARE(palettes->itemText(6), QStringLiteral("Палітра Life 2.0"));
        QCOMPARE(palettes->currentText(), QStringLiteral("Жовто-Червона 64"));
        for (const char* name :
             {"SaveColorButton",  "SaveGenColorButton", "CellColorBox",  "BGColorBox",
              "GridColorBox",     "BigGridColorBox",    "BirthColorBox", "DeadColorBox",
              "ShowBirthCells",   "ShowDeadCells",      "ColorOn",       "ColorMode",
              "IntCountColor",    "StringCountColor",   "PopupMenu2",    "BlackColorAll",
              "SilverColorAll",   "BGColorAll",         "AnyColorAll",   "BlackColorOther",
              "SilverColorOther", "BGColorOther",       "AnyColorOther", "Panel50",
              "Panel305"})
            QVERIFY2(f.Find<QObject>(name), name);
        // The start-up palette: 64 colours in use, entry 65 hidden.
        QVERIFY(f.panel(64)->isVisible());
        QVERIFY(!f.panel(65)->isVisible());
        QCOMPARE(f.panel(256)->text(), QStringLiteral("256"));
        // The page fits the tool panel's width: nothing is cut off to the right.
        auto* page = f.Find<QWidget>("TabSheet2");
        QVERIFY2(page->minimumSizeHint().width() <= page->width(),
                 qPrintable(QString::number(page->minimumSizeHint().width())));
        f.Find<QScrollArea>("Panel7")->ensureWidgetVisible(f.Find<QWidget>("ColorComboBox"));
        f.Screenshot("colours_page");
    }

    void choosingSchemeAndPaletteRepaintsTheField() {
        ColoursFixture f;
        f.PutCell(2, 2, 1);
        f.PutCell(4, 2, 33);
        test::Choose(f.Find<QComboBox>("ColorComboBox"), 1);  // "Класика": no colour by state
        QVERIFY(!f.colours().ColorOn);
        QCOMPARE(f.colours().BackgroundColour, 12632256);
        QCOMPARE(f.CellPixel(2, 2), 0);
        QCOMPARE(f.CellPixel(3, 2), 12632256);
        QVERIFY(!f.Find<QCheckBox>("ColorOn")->isChecked());
        QVERIFY(!f.Find<QToolButton>("SpeedButton11")->isChecked());

        test::Choose(f.Find<QComboBox>("ColorComboBox"), 0);     // "Колір"
        test::Choose(f.Find<QComboBox>("GenColorComboBox"), 0);  // "Жовто-Червона 32"
        QCOMPARE(f.colours().GenColourCount, 32);
        QCOMPARE(f.Find<QSpinBox>("IntCountColor")->value(), 32);
        QCOMPARE(f.CellPixel(2, 2), 52991);
        QCOMPARE(f.CellPixel(4, 2), 52991);  // the palette repeats after 32 states
        QVERIFY(f.panel(32)->isVisible());
        QVERIFY(!f.panel(33)->isVisible());
        QCOMPARE(f.settings().GenColorComboBoxText, std::string("Жовто-Червона 32"));

        // While a run paints the field, a change waits for its painting.
        f.window->runControl().PlayButtonClick(true);
        test::Choose(f.Find<QComboBox>("ColorComboBox"), 1);
        QCOMPARE(f.CellPixel(3, 2), 0);
        f.window->runControl().StopButtonClick();
    }

    void theCountShowsAndHidesPanels() {
        ColoursFixture f;
        f.PutCell(2, 2, 6);
        auto* count = f.Find<QSpinBox>("IntCountColor");
        count->setValue(5);
        QCOMPARE(f.colours().GenColourCount, 5);
        QVERIFY(f.panel(5)->isVisible());
        QVERIFY(!f.panel(6)->isVisible());
        QCOMPARE(f.CellPixel(2, 2), f.colours().GenPalette[1]);  // state 6 wraps to entry 1
        count->setValue(1);
        QVERIFY(f.panel(1)->isVisible());
        QVERIFY(!f.panel(2)->isVisible());
        // Typed into the edit box, as a user would.
        auto* edit = f.Find<QLineEdit>("StringCountColor");
        edit->selectAll();
        QTest::keyClicks(edit, "256");
        QCOMPARE(f.colours().GenColourCount, 256);
        QVERIFY(f.panel(256)->isVisible());
        // The panel grows with the rows in use.
        QVERIFY(f.editor()->sizeHint().height() > 50 * 16);
    }

    void bulkFillsAndTheColourDialog() {
        ColoursFixture f;
        f.PutCell(2, 2, 1);
        f.Find<QSpinBox>("IntCountColor")->setValue(10);
        const Colour eleventh = f.colours().GenPalette[11];
        f.Find<QAction>("BlackColorAll")->trigger();
        QCOMPARE(f.colours().GenPalette[10], 0);
        QCOMPARE(f.colours().PanelTextColour[10], 0xFFFFFF);
        QCOMPARE(f.colours().GenPalette[11], eleventh);
        QCOMPARE(f.CellPixel(2, 2), 0);
        QCOMPARE(f.panel(10)->palette().color(QPalette::Window), QColor(Qt::black));

        f.Find<QAction>("SilverColorOther")->trigger();
        QCOMPARE(f.colours().GenPalette[11], kSilver);
        QCOMPARE(f.colours().GenPalette[256], kSilver);
        QCOMPARE(f.colours().PanelTextColour[256], 0);
        QCOMPARE(f.colours().GenPalette[1], 0);

        AnswerColourDialog(0x00FF00);
        f.Find<QAction>("AnyColorAll")->trigger();
        QCOMPARE(f.colours().GenPalette[1], 0x00FF00);
        QCOMPARE(f.colours().GenPalette[10], 0x00FF00);
        QCOMPARE(f.colours().PanelTextColour[1], 0xFF00FF);
        QCOMPARE(f.colours().GenPalette[11], kSilver);
        QCOMPARE(f.CellPixel(2, 2), 0x00FF00);

        f.Find<QAction>("BGColorOther")->trigger();
        QCOMPARE(f.colours().GenPalette[11], f.colours().BackgroundColour);
        QCOMPARE(f.colours().PanelTextColour[11], f.colours().CellColour);
    }

    void aClickSetsOnlyThePanelUnderThePointer() {
        ColoursFixture f;
        f.Find<QSpinBox>("IntCountColor")->setValue(10);
        app::PaletteEditor* editor = f.editor();
        const Colour second = f.colours().GenPalette[2], fourth = f.colours().GenPalette[4];
        const QRect third = f.panel(3)->geometry();
        SendMouse(editor, QEvent::MouseMove, third.center());
        QVERIFY(editor->IsBold(3));
        QVERIFY(!editor->IsBold(2) && !editor->IsBold(4) && !editor->IsBold(8));
        QVERIFY(f.panel(3)->font().bold());
        // Just left of the panel, in the gap: it is still the one highlighted.
        SendMouse(editor, QEvent::MouseMove, QPoint(third.left() - 1, third.center().y()));
        QVERIFY(editor->IsBold(3) && !editor->IsBold(2));

        // A click on the first pixel of entry 3 next to entry 2.
        const QPoint edge(third.left(), third.top());
        AnswerColourDialog(0x123456);
        SendMouse(editor, QEvent::MouseButtonPress, edge);
        SendMouse(editor, QEvent::MouseButtonRelease, edge);
        QCOMPARE(f.colours().GenPalette[3], 0x123456);
        QCOMPARE(f.colours().PanelTextColour[3], InverseColour(0x123456));
        QCOMPARE(f.colours().GenPalette[2], second);
        QCOMPARE(f.colours().GenPalette[4], fourth);
        QCOMPARE(f.colours().StateColour[13], 0x123456);

        // Cancelling changes nothing; a press in a gap opens no dialog.
        test::WhenModalOpens<QColorDialog>([](QColorDialog* d) { d->reject(); });
        SendMouse(editor, QEvent::MouseButtonPress, third.center());
        SendMouse(editor, QEvent::MouseButtonRelease, third.center());
        QCOMPARE(f.colours().GenPalette[3], 0x123456);
        const QPoint gap(third.right() + 2, third.center().y());
        SendMouse(editor, QEvent::MouseButtonPress, gap);
        SendMouse(editor, QEvent::MouseButtonRelease, gap);
        QVERIFY(!QApplication::activeModalWidget());

        // Hiding a highlighted panel drops its highlight.
        SendMouse(editor, QEvent::MouseMove, f.panel(9)->geometry().center());
        QVERIFY(editor->IsBold(9));
        f.Find<QSpinBox>("IntCountColor")->setValue(5);
        QVERIFY(!editor->IsBold(9));
    }

    void schemeBoxesAndSwitches() {
        ColoursFixture f;
        f.PutCell(2, 2, 1);
        f.Find<QCheckBox>("ColorOn")->setChecked(false);
        QVERIFY(!f.colours().ColorOn);
        QVERIFY(!f.Find<QToolButton>("SpeedButton11")->isChecked());
        QVERIFY(!f.Find<QAction>("N4")->isChecked());
        QCOMPARE(f.CellPixel(2, 2), f.colours().CellColour);

        AnswerColourDialog(0x0000FF);
        f.Find<QToolButton>("CellColorBox")->click();
        QCOMPARE(f.colours().CellColour, 0x0000FF);
        QCOMPARE(f.CellPixel(2, 2), 0x0000FF);
        QCOMPARE(f.Find<QToolButton>("CellColorBox")->property("colour").toInt(), 0x0000FF);

        AnswerColourDialog(0x808080);
        f.Find<QToolButton>("BGColorBox")->click();
        QCOMPARE(f.CellPixel(3, 2), 0x808080);

        AnswerColourDialog(0x00FFFF);
        f.Find<QToolButton>("GridColorBox")->click();
        const int c = f.settings().CellSize;
        QCOMPARE(app::FromRgb(f.window->fieldView().SurfacePixel(c, c + c / 2)), 0x00FFFF);

        // The tool button and the menu item take the same path as the box.
        f.Find<QToolButton>("SpeedButton11")->click();
        QVERIFY(f.colours().ColorOn);
        QVERIFY(f.Find<QCheckBox>("ColorOn")->isChecked());
        QCOMPARE(f.CellPixel(2, 2), f.colours().GenPalette[1]);
        f.Find<QAction>("N4")->trigger();
        QVERIFY(!f.colours().ColorOn);
        QVERIFY(!f.Find<QCheckBox>("ColorOn")->isChecked());
        QCOMPARE(f.CellPixel(2, 2), 0x0000FF);

        auto* mode = f.Find<QCheckBox>("ColorMode");
        QCOMPARE(mode->text(), QStringLiteral("Колір за віком"));
        mode->setChecked(true);
        QVERIFY(f.colours().ColorMode);
        QCOMPARE(mode->text(), QStringLiteral("Колір за народженням"));
        f.Find<QCheckBox>("ShowDeadCells")->setChecked(true);
        QVERIFY(f.colours().ShowDeadCells);
    }

    void savingAndReloadingThroughTheLists() {
        ColoursFixture f;
        const QString colourFolder = app::FromPath(f.Folder().Color());
        auto* palettes = f.Find<QComboBox>("GenColorComboBox");
        f.Find<QSpinBox>("IntCountColor")->setValue(12);
        SetPaletteEntry(f.colours(), 12, 0x010203);
        palettes->lineEdit()->setText("mine");
        f.Find<QPushButton>("SaveGenColorButton")->click();
        QVERIFY(QFile::exists(colourFolder + "/mine.gen"));
        QCOMPARE(palettes->count(), 8);
        QCOMPARE(palettes->currentIndex(), 7);

        test::Choose(palettes, 6);
        QCOMPARE(f.colours().GenColourCount, 12);  // "Палітра Life 2.0" has 12 too
        QVERIFY(f.colours().GenPalette[12] != 0x010203);
        test::Choose(palettes, 7);
        QCOMPARE(palettes->currentText(), QStringLiteral("mine"));
        QCOMPARE(f.colours().GenPalette[12], 0x010203);

        // Saving over it asks first; No leaves the old file.
        QFile file(colourFolder + "/mine.gen");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();
        SetPaletteEntry(f.colours(), 12, 0x040506);
        QString asked;
        test::AnswerQuestion(QMessageBox::No, &asked);
        f.Find<QPushButton>("SaveGenColorButton")->click();
        QCOMPARE(asked, QStringLiteral("Файл із таким іменем вже існує. Перезаписати?"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        file.close();
        test::AnswerQuestion(QMessageBox::Yes);
        f.Find<QPushButton>("SaveGenColorButton")->click();
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll() != before);
        file.close();

        // An empty name takes the default one, numbered by the list's length.
        palettes->lineEdit()->clear();
        f.Find<QPushButton>("SaveGenColorButton")->click();
        QCOMPARE(palettes->currentText(), QStringLiteral("ColorPalette8"));
        QVERIFY(QFile::exists(colourFolder + "/ColorPalette8.gen"));
        QCOMPARE(palettes->count(), 9);

        // A scheme: saved with its name, chosen again after another scheme.
        auto* schemes = f.Find<QComboBox>("ColorComboBox");
        f.colours().DeadColour = 4242;
        schemes->lineEdit()->setText("Сутінки");
        f.Find<QPushButton>("SaveColorButton")->click();
        QVERIFY(QFile::exists(colourFolder + "/Сутінки.col"));
        QCOMPARE(schemes->itemText(5), QStringLiteral("Сутінки"));
        QCOMPARE(f.settings().ColorComboBoxIndex, 5);
        test::Choose(schemes, 3);
        QVERIFY(f.colours().DeadColour != 4242);
        test::Choose(schemes, 5);
        QCOMPARE(f.colours().DeadColour, 4242);
        QCOMPARE(f.Find<QToolButton>("DeadColorBox")->property("colour").toInt(), 4242);
    }

    void thePageFollowsTheModel() {
        ColoursFixture f;
        ColourModel& c = f.colours();
        ApplyPaletteLine(c, "#CX BDSG    1234       0      64      91     25510789024");
        ApplyPaletteLine(c, "#CZ 100");
        ApplyPaletteLine(c, "#C1       11      12      13      14      15      16      17      18");
        f.settings().ColorComboBoxText = "Ліс";
        f.settings().GenColorComboBoxText = "elsewhere";
        emit f.window->session().ModelChanged();
        for (const char* name : {"ShowBirthCells", "ShowDeadCells", "ColorOn", "ColorMode"})
            QVERIFY2(f.Find<QCheckBox>(name)->isChecked(), name);
        QCOMPARE(f.Find<QCheckBox>("ColorMode")->text(), QStringLiteral("Колір за народженням"));
        QCOMPARE(f.Find<QToolButton>("CellColorBox")->property("colour").toInt(), 1234);
        QCOMPARE(f.Find<QSpinBox>("IntCountColor")->value(), 100);
        QVERIFY(f.panel(100)->isVisible());
        QVERIFY(!f.panel(101)->isVisible());
        QCOMPARE(f.panel(9)->palette().color(QPalette::Window), QColor::fromRgb(app::ToRgb(11)));
        QCOMPARE(f.Find<QComboBox>("ColorComboBox")->currentIndex(), 3);
        QCOMPARE(f.Find<QComboBox>("GenColorComboBox")->currentText(), QStringLiteral("elsewhere"));
        QCOMPARE(f.settings().ColorComboBoxIndex, 3);
    }
};

QTEST_MAIN(ColoursPageTest)
#include "colours_page_test.moc"
