#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileSystemModel>
#include <QMimeData>
#include <QUrl>

#include "app/app_test_support.h"
#include "app/file_lists.h"
#include "app/popup_panels.h"
#include "core/test_support.h"

using namespace zentorix;

namespace {

// A window with the museum page open, on a folder with some patterns.
struct MuseumFixture : test::WindowFixture {
    MuseumFixture() {
        Write("glider.rle", "#C a glider\nx = 3, y = 3, rule = B3/S23\nbo$2bo$3o!\n");
        Write("UPPER.RLE", "x = 2, y = 2\nbo$2o!\n");
        Write("bad.zlf", "#Zentorix\n#FieldWidth:          12x4\n");
        Write("notes.txt", "not a pattern\n");
        QDir(dir.path()).mkdir("sub");
        Write("sub/inner.mcl", "#MCell 4.20\n#GAME Life\n#L .*\n");
        Find<QTabWidget>("PageControl1")->setCurrentWidget(Find<QWidget>("TabSheet6"));
        // The lists were filled before the files were written.
        for (auto* lists : window->findChildren<app::FolderFileLists*>())
            lists->Refresh();
    }
    void Write(const QString& name, const QByteArray& text) const {
        test::WriteFile(dir.filePath(name), text);
    }
    QStringList Listed(const char* name) const {
        QStringList names;
        auto* list = Find<QListWidget>(name);
        for (int i = 0; i < list->count(); ++i)
            names << list->item(i)->text().trimmed();
        return names;
    }
    void Select(const char* list, const QString& name) const {
        auto* files = Find<QListWidget>(list);
        const auto found = files->findItems(name, Qt::MatchExactly);
        QVERIFY2(!found.isEmpty(), qPrintable(name));
        files->setCurrentItem(found.first());
    }
    QString FileName() { return app::ToQString(world().CurrentFileName); }
};

}  // namespace

class MuseumPageTest : public QObject {
    Q_OBJECT

  private slots:
    void filesOpenFromTheListTheDialogAndADropAndTheSelectionIsSaved() {
        MuseumFixture f;
        QCOMPARE(f.Listed("FileListBox1"), (QStringList{"bad.zlf", "glider.rle", "UPPER.RLE"}));
        f.Select("FileListBox1", "glider.rle");
        QCOMPARE(f.FileName(), QStringLiteral("glider.rle"));
        // The glider, each cell painted in the colour of its state.
        const StateField& field = f.world().MainField;
        QCOMPARE(test::Shape(field), (std::vector<std::array<int, 3>>{
                                         {0, 2, 1}, {1, 0, 1}, {1, 2, 1}, {2, 1, 1}, {2, 2, 1}}));
        for (const auto& [x, y] : test::AllLive(field))
            QCOMPARE(f.CellPixel(x, y),
                     app::ToRgb(f.settings().Colours.ColourOfState(field.at(x, y))));
        QVERIFY(f.Find<QPlainTextEdit>("DescriptionMuseum")
                    ->toPlainText()
                    .startsWith(QStringLiteral("RLE-file\na glider")));
        // The arrow keys open each file in turn.
        auto* list = f.Find<QListWidget>("FileListBox1");
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(f.FileName(), QStringLiteral("UPPER.RLE"));
        QCOMPARE(test::LiveCells(f.world().MainField, -3, -3, 999, 999).size(), std::size_t{3});
        // The layer a pattern lands on is chosen here (and placed by the loader).
        test::Choose(f.Find<QComboBox>("LoadFieldSelector"), 2);
        QCOMPARE(f.settings().LoadFieldSelector, 2);
        f.Screenshot("museum_page");

        // The open dialog: its two filters let through every readable format and
        // every file.
        QStringList filters;
        QStringList patterns;
        test::WhenModalOpens<QFileDialog>([&filters, &patterns, &f](QFileDialog* dialog) {
            QCOMPARE(dialog->objectName(), QStringLiteral("OpenDialog1"));
            auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
            for (int i = 0; types && i < types->count(); ++i)
                filters << types->itemText(i);
            auto* model = dialog->findChild<QFileSystemModel*>();
            QVERIFY(model);
            patterns << model->nameFilters().join(' ');
            dialog->selectNameFilter(dialog->nameFilters().at(1));
            patterns << model->nameFilters().join(' ');
            dialog->selectFile(f.dir.filePath("glider.rle"));
            static_cast<QDialog*>(dialog)->accept();
        });
        f.Find<QToolButton>("OpenFileButton")->click();
        QCOMPARE(filters, (QStringList{"All CA files formats (*.lif;*.life;*.mcl;*.zlf;*.l;*.lfm)",
                                       "All files (*.*)"}));
        QCOMPARE(patterns,
                 (QStringList{"*.life *.mcl *.zlf *.lif *.l *.lfm *.rle *.mlf *.qlf *.bmp", "*"}));
        QCOMPARE(f.FileName(), QStringLiteral("glider.rle"));
        // Cancelled: nothing opens.
        test::WhenModalOpens<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
        f.Find<QAction>("Open1")->trigger();
        QCOMPARE(f.FileName(), QStringLiteral("glider.rle"));

        // A file dropped on the window opens; a dropped text is refused.
        const QPoint at(400, 300);
        const auto enters = [&f, at](const QMimeData& data) {
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(f.window.get(), &enter);
            return enter.isAccepted();
        };
        QMimeData file, text;
        file.setUrls({QUrl::fromLocalFile(f.dir.filePath("UPPER.RLE"))});
        text.setText("no file");
        QVERIFY(enters(file) && !enters(text));
        QDropEvent drop(at, Qt::CopyAction, &file, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(f.window.get(), &drop);
        QTRY_COMPARE(f.FileName(), QStringLiteral("UPPER.RLE"));

        // The selection is saved into the listed folder.
        auto* save = f.Find<QPushButton>("SaveMuseumButton");
        QVERIFY(!save->isEnabled());
        f.Find<QToolButton>("SelectButton")->click();
        QVERIFY(save->isEnabled());
        auto* panel = f.window->popups().panel("SaveSelectionPanel");
        save->click();
        QVERIFY(!panel->isVisible());  // no selection shown yet
        World& w = f.world();
        test::Draw(w.MainField, 3, 3, {"**", ".*"});
        w.Selection = {3, 3, 4, 4};
        w.SelectionVisible = true;
        w.Description = {"three cells"};
        save->click();
        QVERIFY(panel->isVisible());
        QCOMPARE(QDir::fromNativeSeparators(f.Find<QLineEdit>("SelectionSaveDir")->text()),
                 QDir(f.dir.path()).absolutePath() + "/");
        f.Find<QLineEdit>("SelectionFileName")->setText("corner");
        f.Find<QPushButton>("SaveButton2")->click();
        QVERIFY(!panel->isVisible());
        QVERIFY(QFile::exists(f.dir.filePath("corner.mlf")));
        QVERIFY(f.Listed("FileListBox1").contains("corner.mlf"));
        save->click();
        f.Find<QPushButton>("Cansel02")->click();
        QVERIFY(!panel->isVisible());
    }

    void foldersAreEnteredByAClickAndListsFollowTheDisk() {
        MuseumFixture f;
        auto* folders = f.Find<QListWidget>("DirectoryListBox1");
        QVERIFY(f.Listed("DirectoryListBox1").contains("sub"));
        auto click = [folders](const QString& name) {
            const auto found = folders->findItems(name, Qt::MatchEndsWith);
            QVERIFY(!found.isEmpty());
            QTest::mouseClick(folders->viewport(), Qt::LeftButton, {},
                              folders->visualItemRect(found.last()).center());
        };
        click("sub");
        QTRY_COMPARE(f.Listed("FileListBox1"), QStringList{"inner.mcl"});
        // The folder above is listed too; clicking it goes back.
        click(QDir(f.dir.path()).dirName());
        QTRY_VERIFY(f.Listed("FileListBox1").contains("glider.rle"));
        // A file written into the folder appears without asking.
        f.Write("later.lif", "#Life 1.05\n#P 0 0\n**\n");
        QTRY_VERIFY(f.Listed("FileListBox1").contains("later.lif"));

        // The pointer over a list gives it the keyboard; coming in by the keyboard
        // opens nothing.
        f.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        auto* files = f.Find<QListWidget>("FileListBox1");
        QTest::mouseMove(files->viewport(), QPoint(10, 10));
        QTRY_VERIFY(files->hasFocus());
        f.window->setFocus();
        files->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        QCOMPARE(f.FileName(), QStringLiteral("new.zlf"));

        // The second pair on Panel42 opens the same way, and N11 shows or hides it.
        QVERIFY(f.Listed("FileListBox2").contains("glider.rle"));
        f.Select("FileListBox2", "UPPER.RLE");
        QCOMPARE(f.FileName(), QStringLiteral("UPPER.RLE"));
        auto* panel = f.Find<QWidget>("Panel42");
        QVERIFY(panel->isVisible());
        f.Find<QAction>("N11")->trigger();
        QVERIFY(!panel->isVisible());
    }
};

QTEST_MAIN(MuseumPageTest)
#include "museum_page_test.moc"
