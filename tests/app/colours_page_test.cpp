#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>

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

// A press and release of the left button.
void Click(QWidget* widget, QPoint at) {
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
}

// A window with the colours page open.
struct ColoursFixture : test::WindowFixture {
    ColoursFixture() {
        Find<QTabWidget>("PageControl1")->setCurrentWidget(Find<QWidget>("TabSheet2"));
        QApplication::processEvents();
    }
    ColourModel& colours() { return settings().Colours; }
    app::PaletteEditor* editor() { return Find<app::PaletteEditor>("ColorGenPanel"); }
    // The panel of palette entry 1..256.
    QLabel* panel(int entry) {
        return window->findChild<QLabel*>(QStringLiteral("Panel%1").arg(49 + entry));
    }
    // Entries 1..n have their panels shown, the others not.
    bool ShowsEntries(int n) {
        return panel(n)->isVisible() && (n == kPaletteSize || !panel(n + 1)->isVisible());
    }
    // The colour shown in the middle of cell (x, y).
    Colour CellColour(int x, int y) { return app::FromRgb(CellPixel(x, y)); }
    void PutCell(int x, int y, int state) {
        world().MainField.at(x, y) = state;
        window->fieldView().RedrawView();
    }
};

}  // namespace

class ColoursPageTest : public QObject {
    Q_OBJECT

  private slots:
    void choosingSchemeAndPaletteRepaintsTheField() {
        ColoursFixture f;
        auto* schemes = f.Find<QComboBox>("ColorComboBox");
        auto* palettes = f.Find<QComboBox>("GenColorComboBox");
        QCOMPARE(palettes->currentText(), QStringLiteral("Жовто-Червона 64"));
        QVERIFY(f.ShowsEntries(64));
        // The page fits the tool panel's width: nothing is cut off to the right.
        auto* page = f.Find<QWidget>("TabSheet2");
        QVERIFY2(page->minimumSizeHint().width() <= page->width(),
                 qPrintable(QString::number(page->minimumSizeHint().width())));
        f.Find<QScrollArea>("Panel7")->ensureWidgetVisible(schemes);
        f.Screenshot("colours_page");

        f.PutCell(2, 2, 1);
        test::Choose(schemes, 1);  // "Класика": no colour by state
        QCOMPARE(f.CellColour(3, 2), 12632256);
        QVERIFY(!f.Find<QToolButton>("SpeedButton11")->isChecked());

        test::Choose(schemes, 0);   // "Колір"
        test::Choose(palettes, 0);  // "Жовто-Червона 32"
        QCOMPARE(f.Find<QSpinBox>("IntCountColor")->value(), 32);
        QCOMPARE(f.CellColour(2, 2), 52991);
        QVERIFY(f.ShowsEntries(32));
        QCOMPARE(f.settings().GenColorComboBoxText, std::string("Жовто-Червона 32"));

        // While a run paints the field, a change waits for its painting.
        f.window->runControl().PlayButtonClick(true);
        test::Choose(schemes, 1);
        QCOMPARE(f.CellColour(3, 2), 0);
        f.window->runControl().StopButtonClick();
    }

    void theCountShowsAndHidesPanels() {
        ColoursFixture f;
        auto* count = f.Find<QSpinBox>("IntCountColor");
        count->setValue(5);
        QCOMPARE(f.colours().GenColourCount, 5);
        QVERIFY(f.ShowsEntries(5));
        // Typed into the edit box, as a user would.
        auto* edit = f.Find<QLineEdit>("StringCountColor");
        edit->selectAll();
        QTest::keyClicks(edit, "256");
        QCOMPARE(f.colours().GenColourCount, 256);
        QVERIFY(f.ShowsEntries(256));
        // The panel grows with the rows in use.
        QVERIFY(f.editor()->sizeHint().height() > 50 * 16);
    }

    // The ranges of the fills are the palette commands' own; here the menu
    // reaches them, the panels show them and the field is repainted.
    void bulkFillsAndTheColourDialog() {
        ColoursFixture f;
        f.PutCell(2, 2, 1);
        f.Find<QSpinBox>("IntCountColor")->setValue(10);
        f.Find<QAction>("BlackColorAll")->trigger();
        QCOMPARE(f.CellColour(2, 2), 0);
        QCOMPARE(f.panel(10)->palette().color(QPalette::Window), QColor(Qt::black));
        f.Find<QAction>("SilverColorOther")->trigger();
        QCOMPARE(f.colours().GenPalette[11], kSilver);
        AnswerColourDialog(0x00FF00);
        f.Find<QAction>("AnyColorAll")->trigger();
        QCOMPARE(f.CellColour(2, 2), 0x00FF00);
    }

    void aClickSetsOnlyThePanelUnderThePointer() {
        ColoursFixture f;
        f.Find<QSpinBox>("IntCountColor")->setValue(10);
        app::PaletteEditor* editor = f.editor();
        const Colour second = f.colours().GenPalette[2], fourth = f.colours().GenPalette[4];
        const QRect third = f.panel(3)->geometry();
        // A click on the first pixel of entry 3 next to entry 2.
        const QPoint edge(third.left(), third.top());
        AnswerColourDialog(0x123456);
        Click(editor, edge);
        QCOMPARE(f.colours().GenPalette[3], 0x123456);
        QCOMPARE(f.colours().GenPalette[2], second);
        QCOMPARE(f.colours().GenPalette[4], fourth);

        // Cancelling changes nothing; a press in a gap opens no dialog.
        test::WhenModalOpens<QColorDialog>([](QColorDialog* d) { d->reject(); });
        Click(editor, third.center());
        QCOMPARE(f.colours().GenPalette[3], 0x123456);
        Click(editor, QPoint(third.right() + 2, third.center().y()));
        QVERIFY(!QApplication::activeModalWidget());
    }

    void schemeBoxesAndSwitches() {
        ColoursFixture f;
        f.PutCell(2, 2, 1);
        f.Find<QCheckBox>("ColorOn")->setChecked(false);
        QVERIFY(!f.colours().ColorOn);
        QVERIFY(!f.Find<QToolButton>("SpeedButton11")->isChecked());
        QVERIFY(!f.Find<QAction>("N4")->isChecked());
        QCOMPARE(f.CellColour(2, 2), f.colours().CellColour);

        AnswerColourDialog(0x0000FF);
        f.Find<QToolButton>("CellColorBox")->click();
        QCOMPARE(f.colours().CellColour, 0x0000FF);
        QCOMPARE(f.CellColour(2, 2), 0x0000FF);
        QCOMPARE(f.Find<QToolButton>("CellColorBox")->property("colour").toInt(), 0x0000FF);

        AnswerColourDialog(0x00FFFF);
        f.Find<QToolButton>("GridColorBox")->click();
        const int c = f.settings().CellSize;
        QCOMPARE(app::FromRgb(f.window->fieldView().SurfacePixel(c, c + c / 2)), 0x00FFFF);

        // The tool button and the menu item take the same path as the box.
        f.Find<QToolButton>("SpeedButton11")->click();
        QVERIFY(f.colours().ColorOn);
        QVERIFY(f.Find<QCheckBox>("ColorOn")->isChecked());
        f.Find<QAction>("N4")->trigger();
        QVERIFY(!f.colours().ColorOn);
        QVERIFY(!f.Find<QCheckBox>("ColorOn")->isChecked());

        auto* mode = f.Find<QCheckBox>("ColorMode");
        QCOMPARE(mode->text(), QStringLiteral("Колір за віком"));
        mode->setChecked(true);
        QVERIFY(f.colours().ColorMode);
        QCOMPARE(mode->text(), QStringLiteral("Колір за народженням"));
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

        SetPaletteEntry(f.colours(), 12, 1);
        test::Choose(palettes, 7);
        QCOMPARE(palettes->currentText(), QStringLiteral("mine"));
        QCOMPARE(f.colours().GenPalette[12], 0x010203);

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
        QCOMPARE(f.settings().ColorComboBoxIndex, 5);
        f.colours().DeadColour = 1;
        test::Choose(schemes, 5);
        QCOMPARE(f.colours().DeadColour, 4242);
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
        QCOMPARE(f.Find<QSpinBox>("IntCountColor")->value(), 100);
        QVERIFY(f.ShowsEntries(100));
        QCOMPARE(f.panel(9)->palette().color(QPalette::Window), QColor::fromRgb(app::ToRgb(11)));
        QCOMPARE(f.Find<QComboBox>("ColorComboBox")->currentIndex(), 3);
        QCOMPARE(f.Find<QComboBox>("GenColorComboBox")->currentText(), QStringLiteral("elsewhere"));
        QCOMPARE(f.settings().ColorComboBoxIndex, 3);
    }
};

QTEST_MAIN(ColoursPageTest)
#include "colours_page_test.moc"
