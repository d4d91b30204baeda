#include <QColorDialog>

#include "app/app_test_support.h"
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

// A window with the colours page open.
struct ColoursFixture : test::WindowFixture {
    ColoursFixture() {
        Find<QTabWidget>("PageControl1")->setCurrentWidget(Find<QWidget>("TabSheet2"));
        QApplication::processEvents();
    }
    ColourModel& colours() { return settings().Colours; }
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
};

}  // namespace

class ColoursPageTest : public QObject {
    Q_OBJECT

  private slots:
    void theListsRepaintSaveAndFollowTheModel() {
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

        f.world().MainField.at(2, 2) = 1;
        f.window->fieldView().RedrawView();
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

        // A palette saved under its name comes back when chosen.
        const QString colourFolder = app::FromPath(f.Folder().Color());
        auto* savePalette = f.Find<QPushButton>("SaveGenColorButton");
        f.Find<QSpinBox>("IntCountColor")->setValue(12);
        SetPaletteEntry(f.colours(), 12, 0x010203);
        palettes->lineEdit()->setText("mine");
        savePalette->click();
        QVERIFY(QFile::exists(colourFolder + "/mine.gen"));
        QCOMPARE(palettes->count(), 8);
        QCOMPARE(palettes->currentIndex(), 7);
        SetPaletteEntry(f.colours(), 12, 1);
        test::Choose(palettes, 7);
        QCOMPARE(palettes->currentText(), QStringLiteral("mine"));
        QCOMPARE(f.colours().GenPalette[12], 0x010203);

        // An empty name takes the default one, numbered by the list's length.
        palettes->lineEdit()->clear();
        savePalette->click();
        QCOMPARE(palettes->currentText(), QStringLiteral("ColorPalette8"));
        QVERIFY(QFile::exists(colourFolder + "/ColorPalette8.gen"));
        QCOMPARE(palettes->count(), 9);

        // A scheme: saved with its name, chosen again after another scheme.
        f.colours().DeadColour = 4242;
        schemes->lineEdit()->setText("Сутінки");
        f.Find<QPushButton>("SaveColorButton")->click();
        QVERIFY(QFile::exists(colourFolder + "/Сутінки.col"));
        QCOMPARE(f.settings().ColorComboBoxIndex, 5);
        f.colours().DeadColour = 1;
        test::Choose(schemes, 5);
        QCOMPARE(f.colours().DeadColour, 4242);

        // Lines read from a file reach the boxes, the count and the lists.
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
        QCOMPARE(schemes->currentIndex(), 3);
        QCOMPARE(palettes->currentText(), QStringLiteral("elsewhere"));
        QCOMPARE(f.settings().ColorComboBoxIndex, 3);
    }

    // The ranges of the fills are the palette commands' own; here the menu
    // reaches them, the panels show them and the field is repainted.
    void thePaletteEditorAndTheSchemeBoxes() {
        ColoursFixture f;
        f.world().MainField.at(2, 2) = 1;
        f.window->fieldView().RedrawView();
        f.Find<QSpinBox>("IntCountColor")->setValue(10);
        f.Find<QAction>("BlackColorAll")->trigger();
        QCOMPARE(f.CellColour(2, 2), 0);
        QCOMPARE(f.panel(10)->palette().color(QPalette::Window), QColor(Qt::black));
        f.Find<QAction>("SilverColorOther")->trigger();
        QCOMPARE(f.colours().GenPalette[11], kSilver);
        AnswerColourDialog(0x00FF00);
        f.Find<QAction>("AnyColorAll")->trigger();
        QCOMPARE(f.CellColour(2, 2), 0x00FF00);

        // A click on the first pixel of entry 3, next to entry 2, sets entry 3 alone.
        auto* editor = f.Find<app::PaletteEditor>("ColorGenPanel");
        SetPaletteEntry(f.colours(), 2, 0x222222);
        SetPaletteEntry(f.colours(), 4, 0x444444);
        const QRect third = f.panel(3)->geometry();
        AnswerColourDialog(0x123456);
        QTest::mouseClick(editor, Qt::LeftButton, {}, third.topLeft());
        QCOMPARE(f.colours().GenPalette[3], 0x123456);
        QCOMPARE(f.colours().GenPalette[2], 0x222222);
        QCOMPARE(f.colours().GenPalette[4], 0x444444);
        // Cancelling changes nothing; a press in a gap opens no dialog.
        test::WhenModalOpens<QColorDialog>([](QColorDialog* d) { d->reject(); });
        QTest::mouseClick(editor, Qt::LeftButton, {}, third.center());
        QCOMPARE(f.colours().GenPalette[3], 0x123456);
        QTest::mouseClick(editor, Qt::LeftButton, {},
                          QPoint(third.right() + 2, third.center().y()));
        QVERIFY(!QApplication::activeModalWidget());

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
        QVERIFY(editor->sizeHint().height() > 50 * 16);

        // The scheme boxes and switches.
        auto* colorOn = f.Find<QCheckBox>("ColorOn");
        auto* button = f.Find<QToolButton>("SpeedButton11");
        auto* item = f.Find<QAction>("N4");
        colorOn->setChecked(false);
        QVERIFY(!f.colours().ColorOn && !button->isChecked() && !item->isChecked());
        QCOMPARE(f.CellColour(2, 2), f.colours().CellColour);

        auto* cellBox = f.Find<QToolButton>("CellColorBox");
        AnswerColourDialog(0x0000FF);
        cellBox->click();
        QCOMPARE(f.colours().CellColour, 0x0000FF);
        QCOMPARE(f.CellColour(2, 2), 0x0000FF);
        QCOMPARE(cellBox->property("colour").toInt(), 0x0000FF);
        AnswerColourDialog(0x00FFFF);
        f.Find<QToolButton>("GridColorBox")->click();
        const int c = f.settings().CellSize;
        QCOMPARE(app::FromRgb(f.window->fieldView().SurfacePixel(c, c + c / 2)), 0x00FFFF);

        // The tool button and the menu item take the same path as the box.
        button->click();
        QVERIFY(f.colours().ColorOn && colorOn->isChecked());
        item->trigger();
        QVERIFY(!f.colours().ColorOn && !colorOn->isChecked());

        auto* mode = f.Find<QCheckBox>("ColorMode");
        QCOMPARE(mode->text(), QStringLiteral("Колір за віком"));
        mode->setChecked(true);
        QVERIFY(f.colours().ColorMode);
        QCOMPARE(mode->text(), QStringLiteral("Колір за народженням"));
    }
};

QTEST_MAIN(ColoursPageTest)
#include "colours_page_test.moc"
