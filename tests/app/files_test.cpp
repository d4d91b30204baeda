// Files through the window: the museum's lists, the open dialog, drops, the
// save panel and its dialog, and a census opened as a table of runs.

#include "app/app_test_support.h"
#include "app/census_table.h"
#include "app/file_lists.h"
#include "app/help_window.h"
#include "app/language_control.h"
#include "app/popup_panels.h"
#include "census/census_run.h"
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
        ShowPage("TabSheet6");
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
    void Pick(const char* list, const QString& name) const {
        const auto found = Find<QListWidget>(list)->findItems(name, Qt::MatchExactly);
        QVERIFY2(!found.isEmpty(), qPrintable(name));
        Find<QListWidget>(list)->setCurrentItem(found.first());
    }
    QString FileName() { return app::ToQString(world().CurrentFileName); }
    QFrame* SavePanel() const { return window->popups().panel("SavePanel"); }
    // Saves through the save panel's button, answering the dialog with a name
    // (in the fixture folder) and a filter (its index).
    void SaveAs(const QString& name, int filter) const {
        if (!SavePanel()->isVisible())
            Click("SaveAsFileButton");
        const QString path = dir.filePath(name);
        test::WhenModalOpens<QFileDialog>([path, filter](QFileDialog* dialog) {
            QCOMPARE(dialog->objectName(), QStringLiteral("SaveDialog1"));
            dialog->selectNameFilter(dialog->nameFilters().at(filter));
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);
            static_cast<QDialog*>(dialog)->accept();
        });
        Click("SaveButton1");
    }
    QByteArray Head(const QString& name) const {
        return test::ReadFile(dir.filePath(name)).split('\n').first().trimmed();
    }
};

// Every file under a folder, relative to it, with its size and time unless
// only the names are asked for: to see that nothing in it was written.
QStringList Snapshot(const QString& folder, bool namesOnly = false) {
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        entries << QDir(folder).relativeFilePath(info.filePath()) +
                       (namesOnly ? QString()
                                  : QStringLiteral(" %1 %2")
                                        .arg(info.size())
                                        .arg(info.lastModified().toMSecsSinceEpoch()));
    }
    entries.sort();
    return entries;
}

// The middle link of the guide's contents line (its first line of inner links)
// and its place: a place well down the guide that can stand at the top of the page.
std::pair<QString, int> MiddleInnerLink(QTextDocument* document) {
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        QList<std::pair<QString, int>> links;
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (const QString target = it.fragment().charFormat().anchorHref();
                target.size() > 1 && target.startsWith('#'))
                links.append({target, it.fragment().position()});
        if (!links.isEmpty())
            return links[links.size() / 2];
    }
    return {QString(), -1};
}

}  // namespace

// Where the desktop is asked to show a page.
struct UrlCatcher : QObject {
    Q_OBJECT

  public:
    QList<QUrl> opened;
  public slots:
    void Open(const QUrl& url) { opened << url; }
};

class FilesTest : public QObject {
    Q_OBJECT

  private slots:
    void foldersAndFilesOpenFromTheListsTheDialogAndADropAndTheSelectionIsSaved() {
        MuseumFixture f;
        auto* folders = f.Find<QListWidget>("DirectoryListBox1");
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
        f.Write("zz-later.lif", "#Life 1.05\n#P 0 0\n**\n");
        QTRY_VERIFY(f.Listed("FileListBox1").contains("zz-later.lif"));

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
        f.Pick("FileListBox2", "UPPER.RLE");
        QCOMPARE(f.FileName(), QStringLiteral("UPPER.RLE"));
        QVERIFY(f.Find<QWidget>("Panel42")->isVisible());
        f.Click("N11");
        QVERIFY(!f.Find<QWidget>("Panel42")->isVisible());

        // Files open from the list, the open dialog and a drop; the selection is saved.
        QCOMPARE(f.Listed("FileListBox1"),
                 (QStringList{"bad.zlf", "glider.rle", "UPPER.RLE", "zz-later.lif"}));
        f.Pick("FileListBox1", "glider.rle");
        QCOMPARE(f.FileName(), QStringLiteral("glider.rle"));
        // The glider, each cell painted in the colour of its state.
        const StateField& field = f.world().MainField;
        QCOMPARE(test::Shape(field), (std::vector<std::array<int, 3>>{
                                         {0, 2, 1}, {1, 0, 1}, {1, 2, 1}, {2, 1, 1}, {2, 2, 1}}));
        for (const auto& [x, y] : test::AllLive(field))
            QCOMPARE(f.CellPixel(x, y),
                     app::ToRgb(f.settings().Colours.ColourOfState(field.at(x, y))));
        QVERIFY(f.Text("DescriptionMuseum").startsWith(QStringLiteral("RLE-file\na glider")));
        // The arrow keys open each file in turn.
        auto* list = f.Find<QListWidget>("FileListBox1");
        list->setFocus();
        QTest::keyClick(f.window->windowHandle(), Qt::Key_Down);
        QCOMPARE(f.FileName(), QStringLiteral("UPPER.RLE"));
        // The layer a pattern lands on is chosen here (and placed by the loader).
        test::Choose(f.Find<QComboBox>("LoadFieldSelector"), 2);
        QCOMPARE(f.settings().LoadFieldSelector, 2);

        // The open dialog: its two filters let through every readable format and
        // every file; cancelled, nothing opens.
        QStringList filters;  // the patterns each lets through
        test::WhenModalOpens<QFileDialog>([&filters](QFileDialog* dialog) {
            QCOMPARE(dialog->objectName(), QStringLiteral("OpenDialog1"));
            auto* model = dialog->findChild<QFileSystemModel*>();
            filters << model->nameFilters().join(' ');
            dialog->selectNameFilter(dialog->nameFilters().at(1));
            filters << model->nameFilters().join(' ');
            dialog->reject();
        });
        f.Click("OpenFileButton");
        QCOMPARE(filters,
                 (QStringList{"*.life *.mcl *.zlf *.lif *.l *.lfm *.rle *.mlf *.qlf *.bmp", "*"}));
        QCOMPARE(f.FileName(), QStringLiteral("UPPER.RLE"));

        // A file dropped on the window opens; a dropped text is refused.
        const QPoint at(400, 300);
        const auto enters = [&f, at](const QMimeData& data) {
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(f.window.get(), &enter);
            return enter.isAccepted();
        };
        QMimeData file, text;
        file.setUrls({QUrl::fromLocalFile(f.dir.filePath("glider.rle"))});
        text.setText("no file");
        QVERIFY(enters(file) && !enters(text));
        QDropEvent drop(at, Qt::CopyAction, &file, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(f.window.get(), &drop);
        QTRY_COMPARE(f.FileName(), QStringLiteral("glider.rle"));

        // The selection is saved into the listed folder.
        auto* save = f.Find<QPushButton>("SaveMuseumButton");
        QVERIFY(!save->isEnabled());
        f.Click("SelectButton");
        auto* panel = f.window->popups().panel("SaveSelectionPanel");
        save->click();
        QVERIFY(save->isEnabled() && !panel->isVisible());  // no selection shown yet
        test::Draw(f.world().MainField, 3, 3, {"**", ".*"});
        f.Select({3, 3, 4, 4});
        save->click();
        QVERIFY(panel->isVisible());
        f.Find<QLineEdit>("SelectionFileName")->setText("corner");
        f.Click("SaveButton2");
        QVERIFY(!panel->isVisible() && QFile::exists(f.dir.filePath("corner.mlf")));
        QVERIFY(f.Listed("FileListBox1").contains("corner.mlf"));
        save->click();
        f.Click("Cansel02");
        QVERIFY(!panel->isVisible());
    }

    // Each of the first four filters writes the type it names; "All files" goes
    // by the extension typed, and without a known one writes a zlf file. The
    // description typed in the panel goes into the file.
    void theSavePanelWritesTheChosenTypeAndReplacesOnlyOnYes() {
        MuseumFixture f;
        f.world().Description = {"first", "second"};
        f.Click("SaveAsFileButton");
        auto* memo = f.Find<QPlainTextEdit>("Description2");
        QCOMPARE(memo->toPlainText(), QStringLiteral("first\nsecond"));
        f.Click("SaveAsFileButton");  // toggles it away
        QVERIFY(!f.SavePanel()->isVisible());

        f.Click("SaveReal2CheckBox");  // brings the landscape along ...
        QVERIFY(f.settings().SaveLandCheckBox && f.Checked("SaveLandCheckBox"));
        f.Click("SaveLandCheckBox");  // ... which alone can be taken out again
        QVERIFY(!f.settings().SaveLandCheckBox && f.settings().SaveReal2CheckBox);
        f.Click("SaveAsFileButton");
        f.Click("Cansel01");
        QVERIFY(!f.SavePanel()->isVisible());

        f.Click("SaveAsFileButton");
        memo->setPlainText("a glider\nand a mark");
        // Typed, the filter chosen, the file written and its first line.
        const std::tuple<const char*, int, const char*, const char*> cases[] = {
            {"exp", 0, "exp.zlf", "#Zentorix"},
            {"life", 1, "life.lif", "#Life 1.05"},
            {"run", 2, "run.rle", "#C a glider"},
            {"cells.rle", 3, "cells.mcl", "#MCell 4.20"},
            {"other.mcl", 4, "other.mcl", "#MCell 4.20"},
            {"upper.LIF", 4, "upper.lif", "#Life 1.05"},
            {"plain", 4, "plain.zlf", "#Zentorix"},
            {"memo.txt", 4, "memo.zlf", "#Zentorix"}};
        for (const auto& [typed, filter, written, head] : cases) {
            f.SaveAs(typed, filter);
            QVERIFY2(!f.SavePanel()->isVisible(), typed);
            QCOMPARE(f.Head(written), QByteArray(head));
        }
        QVERIFY(!QFile::exists(f.dir.filePath("plain")));
        QVERIFY(test::ReadFile(f.dir.filePath("exp.zlf")).contains("and a mark"));
        QCOMPARE(f.world().Description, (std::vector<std::string>{"a glider", "and a mark"}));

        // An existing file is replaced only on Yes; a failed write is reported.
        f.world().MainField.at(3, 3) = 1;
        f.SaveAs("kept", 0);
        const QByteArray before = test::ReadFile(f.dir.filePath("kept.zlf"));
        f.world().MainField.at(4, 4) = 1;

        // Typed without its extension: the question is about kept.zlf, and No
        // leaves it as it was; nothing saved, the panel stays.
        QString asked;
        test::AnswerQuestion(QMessageBox::No, &asked);
        f.SaveAs("kept", 0);
        QCOMPARE(asked, QStringLiteral("Файл із таким іменем вже існує. Перезаписати?"));
        QVERIFY(test::ReadFile(f.dir.filePath("kept.zlf")) == before && f.SavePanel()->isVisible());

        // While the dialog is open the run stands still; afterwards it goes on.
        app::RunControl& run = f.run();
        run.StartButtonClick();
        bool runningDuringDialog = true;
        test::AnswerQuestion(QMessageBox::Yes);
        test::WhenModalOpens<QFileDialog>([&](QFileDialog* dialog) {
            runningDuringDialog = run.Running();
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(f.dir.filePath("kept.zlf"));
            static_cast<QDialog*>(dialog)->accept();
        });
        f.Click("SaveButton1");
        QVERIFY(!runningDuringDialog && run.Running());
        run.StopButtonClick();
        QVERIFY(test::ReadFile(f.dir.filePath("kept.zlf")) != before);

        // A failed write is reported and the panel stays.
        QString message;
        test::AnswerQuestion(QMessageBox::Ok, &message);
        f.SaveAs("missing-folder/exp", 0);
        QVERIFY(!message.isEmpty() && f.SavePanel()->isVisible());
    }

    void aCensusRunChosenInItsTableIsRebuiltReadyToRun() {
        test::WindowFixture f;
        // A census by the batch program, as a user makes one.
        test::WriteFile(f.dir.filePath("rules.txt"), "B3/S23\nB36/S23\n");
        const QString census = f.dir.filePath("sweep.jsonl");
        QCOMPARE(QProcess::execute(ZENTORIX_CLI,
                                   {"census", "--rules", f.dir.filePath("rules.txt"), "--field",
                                    "40x30", "--soup", "12x10", "--density", "45", "--seeds",
                                    "1..3", "--generations", "60", "--plane", "--output", census}),
                 0);
        f.window->OpenFile(census);
        auto* dialog = f.window->findChild<app::CensusTable*>("CensusTable");
        QVERIFY(dialog && QTest::qWaitForWindowExposed(dialog));
        auto* table = dialog->findChild<QTableWidget*>("CensusRuns");
        QVERIFY(table->rowCount() == 6 && table->isSortingEnabled());  // by a header click

        // The run as the census built it, to compare with what the window shows.
        const CensusStart start{
            .base = {}, .field = {{40, 30}}, .soup = {{12, 10}}, .density = 45, .torus = false};
        World& w = f.world();
        const auto rebuilt = [&](const std::string& rule, int seed) {
            auto fresh = std::make_unique<World>();
            Settings freshSettings;
            BuildCensusStart(*fresh, freshSettings, start, rule, static_cast<std::uint64_t>(seed));
            return w.FieldWidth() == 40 && w.FieldHeight() == 30 && w.Rules[0] == fresh->Rules[0] &&
                   test::AllLive(w.MainField) == test::AllLive(fresh->MainField);
        };
        // Enter on a row, through the window system, rebuilds that run, also
        // once the rows are sorted (by seed, highest first).
        table->sortByColumn(2, Qt::DescendingOrder);
        const std::string rule = table->item(1, 1)->text().toStdString();
        const int seed = table->item(1, 2)->text().toInt();
        const std::int64_t generation = table->item(1, 5)->text().toLongLong();
        const std::int64_t liveFinal = table->item(1, 9)->text().toLongLong();
        table->setFocus();
        table->setCurrentCell(1, 0);
        dialog->activateWindow();
        QTest::keyClick(dialog->windowHandle(), Qt::Key_Return);
        QVERIFY(rebuilt(rule, seed) && w.Counters.Generation == 1);
        // Stepping it in the window ends where the census ended.
        for (std::int64_t g = 0; g < generation; ++g)
            f.run().StepButtonClick();
        QCOMPARE(static_cast<std::int64_t>(w.Counters.LiveCount), liveFinal);

        // A double click on another run (seed 1 of Conway's rule) rebuilds that one,
        // as the window system delivers it: press, release, double click, release.
        table->sortByColumn(0, Qt::AscendingOrder);
        // Run 1 repeats with period 2; run 2 is still active and shows none.
        QCOMPARE(table->item(1, 4)->text() + "," + table->item(2, 4)->text(), QStringLiteral("2,"));
        const QPoint cell = table->visualRect(table->model()->index(0, 1)).center();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseRelease(table->viewport(), Qt::LeftButton, {}, cell);
        QVERIFY(rebuilt("B3/S23", 1));

        // A census file whose header is not a census's is named, not opened.
        test::WriteFile(f.dir.filePath("broken.jsonl"),
                        "{\"census\":1,\"parameters\":{\"field\":[2,2]}}\n");
        QString said;
        f.window->SetMessageSink([&said](const QString& m) { said = m; });
        f.window->OpenFile(f.dir.filePath("broken.jsonl"));
        QVERIFY(said.contains("broken.jsonl") &&
                f.window->findChildren<app::CensusTable*>().size() == 1);
    }

    // F1 opens the guide of the language in the program's own help window,
    // pictures and all; links, back and forward work from the keyboard.
    void helpOpensTheGuideOfTheLanguageInAWindowOfItsOwn() {
        const QString shipped = QStringLiteral(ZENTORIX_SHIPPED_DATA);
        test::WindowFixture f({}, shipped);
        QTest::keyClick(f.window->windowHandle(), Qt::Key_F1);
        app::HelpWindow* help = nullptr;
        QTRY_VERIFY((help = f.Find<app::HelpWindow>("HelpWindow")) && help->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(help));
        QTextBrowser* browser = help->browser();
        QCOMPARE(browser->source(), QUrl::fromLocalFile(shipped + "/ZentorixUA.html"));
        // The first picture is there, made to fit the page.
        QTextDocument* document = browser->document();
        const QString picture = QStringLiteral("help/window-ua.png");
        QVERIFY(document->toHtml().contains(picture));
        // The browser keeps a picture as read, or as a pixmap once drawn.
        const QVariant shownPicture =
            document->resource(QTextDocument::ImageResource, QUrl(picture));
        const QImage image = shownPicture.typeId() == QMetaType::QPixmap
                                 ? shownPicture.value<QPixmap>().toImage()
                                 : shownPicture.value<QImage>();
        QVERIFY(image.width() > 200 && image.width() < browser->viewport()->width());
        QTest::qWait(50);
        QVERIFY(help->isActiveWindow());

        // A link within the guide brings its place to the top; back and forward
        // go between the two places.
        const auto [href, link] = MiddleInnerLink(document);
        QVERIFY(link >= 0);
        QTextCursor at(document);
        at.setPosition(link + 1);
        QTest::mouseClick(browser->viewport(), Qt::LeftButton, {},
                          browser->cursorRect(at).center());
        QTRY_COMPARE(browser->source().fragment(), href.mid(1));
        QScrollBar* scroll = browser->verticalScrollBar();
        QTRY_VERIFY(scroll->value() > browser->viewport()->height());
        const int there = scroll->value();
        auto* back = f.Find<QToolButton>("HelpBackButton");
        auto* forward = f.Find<QToolButton>("HelpForwardButton");
        QVERIFY(back->isEnabled() && !forward->isEnabled());
        QTest::keyClick(help->windowHandle(), Qt::Key_Left, Qt::AltModifier);
        QTRY_COMPARE(scroll->value(), 0);
        QVERIFY(!back->isEnabled() && forward->isEnabled());
        QTest::keyClick(help->windowHandle(), Qt::Key_Right, Qt::AltModifier);
        QTRY_COMPARE(scroll->value(), there);

        // Ctrl+F and a word find its places in turn (F3 on, Shift+F3 back); a
        // word that is nowhere is said to be so; Escape closes only the search.
        QTest::keyClick(help->windowHandle(), Qt::Key_F, Qt::ControlModifier);
        auto* text = f.Find<QLineEdit>("HelpSearchText");
        QTRY_VERIFY(text->isVisible() && text->hasFocus());
        const auto found = [&] { return browser->textCursor().selectionStart(); };
        f.Type(text, "Zentorix");
        const int first = found();
        QTest::keyClick(help->windowHandle(), Qt::Key_F3);
        QCOMPARE(found(), document->find(QStringLiteral("Zentorix"), first + 1).selectionStart());
        QCOMPARE(browser->textCursor().selectedText(), QStringLiteral("Zentorix"));
        QTest::keyClick(help->windowHandle(), Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(found(), first);
        QVERIFY(!f.Find<QLabel>("HelpNotFound")->isVisible());
        text->clear();
        f.Type(text, "qxqzv");
        QVERIFY(f.Find<QLabel>("HelpNotFound")->isVisible());
        QTest::keyClick(help->windowHandle(), Qt::Key_Escape);
        QVERIFY(!text->isVisible() && help->isVisible());

        // The page goes to the desktop's browser on request.
        UrlCatcher desktop;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &desktop, "Open");
        f.Find<QToolButton>("HelpBrowserButton")->click();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(desktop.opened.value(0).adjusted(QUrl::RemoveFragment),
                 QUrl::fromLocalFile(shipped + "/ZentorixUA.html"));

        // In English, the help button opens the English guide, from its start,
        // in a window that speaks English.
        f.window->language().ApplyLanguageFile("english.lng");
        f.Find<QToolButton>("HelpButton")->click();
        QTRY_VERIFY(help->isVisible());
        QCOMPARE(browser->source(), QUrl::fromLocalFile(shipped + "/ZentorixEN.html"));
        QVERIFY(!back->isEnabled() && back->text() == "◀ Back");
        QVERIFY(help->windowTitle() == browser->documentTitle() &&
                help->windowTitle() != "Zentorix");
    }

    // Installed, the museum page opens on the shipped library; a file opens from
    // it; a selection saved while it is shown goes to the user's folder, and to
    // the folder shown once that is the user's. The user's folder holds what the
    // program writes and nothing of what ships.
    void theMuseumListsTheShippedLibraryAndSavesGoToTheUser() {
        QTemporaryDir shipped;
        QDir(shipped.path()).mkpath("Museum/Guns");
        test::WriteFile(shipped.filePath("Museum/Guns/gun.rle"),
                        "x = 3, y = 3, rule = B3/S23\nbo$2bo$3o!\n");
        test::WriteFile(shipped.filePath("Museum/blinker.lif"), "#Life 1.05\n***\n");
        QDir(shipped.path()).mkpath("Language");
        const QStringList before = Snapshot(shipped.path());
        test::WindowFixture f({}, shipped.path());
        auto* files = f.Find<QListWidget>("FileListBox1");
        auto* lists = qobject_cast<app::FolderFileLists*>(files->parent());
        QVERIFY(lists && lists->folder() == shipped.filePath("Museum"));
        QVERIFY(files->count() == 1 && files->item(0)->text() == "blinker.lif");
        files->setCurrentRow(0);
        QVERIFY(f.world().CurrentFileName == "blinker.lif" && f.world().Counters.LiveCount == 3);

        // A selection saved while the library is shown goes to the user's folder;
        // in a folder of the user's, it goes there.
        f.world().SelectionVisible = true;
        auto* saveIn = f.Find<QLineEdit>("SelectionSaveDir");
        const std::pair<QString, QString> cases[] = {
            {shipped.filePath("Museum/Guns"), f.dir.path()},
            {shipped.filePath("Museum"), f.dir.path()},
            {f.dir.filePath("Field"), f.dir.filePath("Field")},
        };
        for (const auto& [shown, offered] : cases) {
            lists->SetFolder(shown);
            f.window->popups().panel("SaveSelectionPanel")->hide();
            emit f.window->SaveSelectionRequested();
            QCOMPARE(QDir::fromNativeSeparators(saveIn->text()), offered + '/');
        }

        f.Close();
        QCOMPARE(Snapshot(shipped.path()), before);
        QCOMPARE(Snapshot(f.dir.path(), true),
                 (QStringList{"Color", "Field", "QuickSave", "QuickSave/undo",
                              "QuickSave/undo/1.qlf", "Rules", "Zentorix.ini"}));
    }
};

QTEST_MAIN(FilesTest)
#include "files_test.moc"
