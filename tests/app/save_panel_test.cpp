#include "app/save_panel.h"
#include "app/app_test_support.h"
#include "app/popup_panels.h"

using namespace zentorix;

namespace {

// What a user does in the dialog: types the name and confirms.
void TypeFileName(QFileDialog* dialog, const QString& path) {
    auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
    QVERIFY(edit);
    edit->setText(path);
    static_cast<QDialog*>(dialog)->accept();
}

struct SaveFixture : test::WindowFixture {
    QFrame* panel() const { return window->popups().panel("SavePanel"); }
    void OpenPanel() {
        if (!panel()->isVisible())
            Find<QToolButton>("SaveAsFileButton")->click();
        QVERIFY(panel()->isVisible());
    }
    // Saves through the panel's button, answering the dialog with a name (in
    // the fixture folder) and a filter (its index).
    void SaveAs(const QString& name, int filter) {
        OpenPanel();
        const QString path = dir.filePath(name);
        test::WhenModalOpens<QFileDialog>([path, filter](QFileDialog* dialog) {
            QVERIFY(dialog->objectName() == "SaveDialog1");
            dialog->selectNameFilter(dialog->nameFilters().at(filter));
            TypeFileName(dialog, path);
        });
        Find<QPushButton>("SaveButton1")->click();
    }
    QByteArray Head(const QString& name) const {
        return test::ReadFile(dir.filePath(name)).split('\n').first().trimmed();
    }
};

}  // namespace

class SavePanelTest : public QObject {
    Q_OBJECT

  private slots:
    // Each of the first four filters writes the type it names; "All files" goes
    // by the extension typed, and without a known one writes a zlf file.
    void theChoiceOfFormatGoesByFilterThenByExtension() {
        const QStringList filters = app::SaveDialogFilters();
        QCOMPARE(filters.size(), 5);
        for (int i = 0; i < 4; ++i) {
            const auto written = SavedFilePath(app::ChooseSaveFormat(i, "a.mcl"), "a");
            QVERIFY2(filters[i].contains(app::ToQString(written.extension().string())),
                     qPrintable(filters[i]));
        }
        QCOMPARE(filters.last(), QStringLiteral("All files (*.*)"));
        QCOMPARE(app::ChooseSaveFormat(4, "x/a.LIF"), SaveFormat::Life105);
        QCOMPARE(app::ChooseSaveFormat(4, "a.rle"), SaveFormat::Rle);
        QCOMPARE(app::ChooseSaveFormat(4, "a"), SaveFormat::Zlf);
        QCOMPARE(app::ChooseSaveFormat(4, "a.txt"), SaveFormat::Zlf);
        QCOMPARE(SavedFilePath(SaveFormat::Zlf, "d/a.txt"), std::filesystem::path("d/a.zlf"));
    }

    void thePanelHoldsTheSettingsAndWritesTheChosenTypeWithTheDescription() {
        SaveFixture f;
        f.world().Description = {"first", "second"};
        f.OpenPanel();
        auto* memo = f.Find<QPlainTextEdit>("Description2");
        QCOMPARE(memo->toPlainText(), QStringLiteral("first\nsecond"));
        f.Find<QToolButton>("SaveAsFileButton")->click();  // toggles it away
        QVERIFY(!f.panel()->isVisible());

        auto* real2 = f.Find<QCheckBox>("SaveReal2CheckBox");
        auto* land = f.Find<QCheckBox>("SaveLandCheckBox");
        QVERIFY(!land->isChecked());
        real2->click();
        QVERIFY(f.settings().SaveReal2CheckBox && f.settings().SaveLandCheckBox &&
                land->isChecked());
        land->click();  // the landscape alone can be taken out again
        QVERIFY(!f.settings().SaveLandCheckBox && f.settings().SaveReal2CheckBox);

        f.OpenPanel();
        f.Screenshot("save_panel");
        f.Find<QPushButton>("Cansel01")->click();
        QVERIFY(!f.panel()->isVisible());

        // The chosen type is written with the description typed in the panel.
        f.OpenPanel();
        memo->setPlainText("a glider\nand a mark");
        f.SaveAs("exp", 0);
        QVERIFY(!f.panel()->isVisible());
        QCOMPARE(f.Head("exp.zlf"), QByteArray("#Zentorix"));
        QCOMPARE(f.world().Description, (std::vector<std::string>{"a glider", "and a mark"}));
        // "All files" by the typed extension; without one, a zlf file.
        f.SaveAs("other.mcl", 4);
        QCOMPARE(f.Head("other.mcl"), QByteArray("#MCell 4.20"));
        f.SaveAs("plain", 4);
        QCOMPARE(f.Head("plain.zlf"), QByteArray("#Zentorix"));
        QVERIFY(!QFile::exists(f.dir.filePath("plain")));

        // The file list next to the field shows what was saved there.
        QVERIFY(!f.Find<QListWidget>("FileListBox2")
                     ->findItems("other.mcl", Qt::MatchExactly)
                     .isEmpty());
    }

    void anExistingFileIsReplacedOnlyOnYesAndAFailedWriteIsReported() {
        SaveFixture f;
        f.world().MainField.at(3, 3) = 1;
        f.SaveAs("kept", 0);
        const QByteArray before = test::ReadFile(f.dir.filePath("kept.zlf"));
        f.world().MainField.at(4, 4) = 1;

        // Typed without its extension: the question is about kept.zlf, and No
        // leaves it as it was.
        QString asked;
        test::AnswerQuestion(QMessageBox::No, &asked);
        f.SaveAs("kept", 0);
        QCOMPARE(asked, QStringLiteral("Файл із таким іменем вже існує. Перезаписати?"));
        QCOMPARE(test::ReadFile(f.dir.filePath("kept.zlf")), before);
        QVERIFY(f.panel()->isVisible());  // nothing saved: the panel stays

        // While the dialog is open the run stands still; afterwards it goes on.
        app::RunControl& run = f.window->runControl();
        run.StartButtonClick();
        QVERIFY(run.Running());
        bool runningDuringDialog = true;
        test::AnswerQuestion(QMessageBox::Yes);
        f.OpenPanel();
        test::WhenModalOpens<QFileDialog>([&](QFileDialog* dialog) {
            runningDuringDialog = run.Running();
            TypeFileName(dialog, f.dir.filePath("kept.zlf"));
        });
        f.Find<QPushButton>("SaveButton1")->click();
        QVERIFY(!runningDuringDialog);
        QVERIFY(run.Running());
        run.StopButtonClick();
        QVERIFY(test::ReadFile(f.dir.filePath("kept.zlf")) != before);

        // A failed write is reported and the panel stays.
        QString message;
        test::AnswerQuestion(QMessageBox::Ok, &message);
        f.SaveAs("missing-folder/exp", 0);
        QVERIFY(!message.isEmpty());
        QVERIFY(f.panel()->isVisible());
    }
};

QTEST_MAIN(SavePanelTest)
#include "save_panel_test.moc"
