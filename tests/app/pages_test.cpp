// The option pages of the tool panel: rules, colours, landscape and statistics.

#include "app/app_test_support.h"
#include "app/landscape_page.h"
#include "app/palette_editor.h"
#include "app/popup_panels.h"
#include "app/statistics_chart.h"
#include "app/statistics_page.h"
#include "core/test_support.h"
#include "engine/rule_text.h"
#include "view/palette_commands.h"

using namespace zentorix;

namespace {

using Sums = std::vector<std::int32_t>;

struct PageFixture : test::WindowFixture {
    explicit PageFixture(const char* sheet) { ShowPage(sheet); }
    const RuleSet& Rules(int set = 0) const { return world().Rules[static_cast<std::size_t>(set)]; }
    // Types a list text as a user does and presses Enter.
    void TypeList(const char* name, const QString& text) const {
        Find<QLineEdit>(name)->selectAll();
        Type(Find<QLineEdit>(name), text, Qt::Key_Return);
    }
    std::int32_t W(int dx, int dy, int set = 0) const { return Rules(set).Weight(dx, dy); }
    QString Info() const { return Text("InfoEdit"); }
    QString Status() const { return window->statusBar()->currentMessage(); }
    QString InFolder(std::filesystem::path folder, const QString& name) const {
        return app::FromPath(folder) + "/" + name;
    }
    // Reads a rule typed into RuleTextEdit; the refusal's message box, if any.
    QString TypeRule(const QString& text) const {
        QString refused;
        Find<QLineEdit>("RuleTextEdit")->setText(text);
        test::AnswerQuestion(QMessageBox::Ok, &refused);
        Type(Find<QLineEdit>("RuleTextEdit"), {}, Qt::Key_Return);
        if (refused.isEmpty())  // no box opened: the pending answer goes to one of our own
            QMessageBox::information(nullptr, "read", "read");
        return refused == "read" ? QString() : refused;
    }
    ColourModel& colours() const { return settings().Colours; }
    QRgb Rgb(Colour ColourModel::*colour) const { return app::ToRgb(colours().*colour); }
    Colour CellColour(int x, int y) const { return app::FromRgb(CellPixel(x, y)); }
    // The panel of palette entry 1..256.
    QLabel* Entry(int entry) const {
        return Find<QLabel>(qPrintable(QString("Panel%1").arg(49 + entry)));
    }
    // Entries 1..n have their panels shown, the last one whole within the
    // editor (once the page laid it out anew); the others not.
    bool ShowsEntries(int n) const {
        return Entry(n)->isVisible() && (n == kPaletteSize || !Entry(n + 1)->isVisible()) &&
               Entry(n)->parentWidget()->rect().contains(Entry(n)->geometry());
    }
    QRgb PanelColour(const char* name) const {
        return Find<QLabel>(name)->palette().color(QPalette::Window).rgb() & 0xFFFFFF;
    }
};

void AnswerColourDialog(Colour colour) {
    test::WhenModalOpens<QColorDialog>([colour](QColorDialog* dialog) {
        QCOMPARE(dialog->objectName(), QStringLiteral("ColorDialog1"));
        dialog->setCurrentColor(QColor::fromRgb(app::ToRgb(colour)));
        dialog->accept();
    });
}

QStringList Lines(const QString& path) {
    QString text = QString::fromUtf8(test::ReadFile(path));
    if (text.endsWith("\r\n"))
        text.chop(2);
    return text.split("\r\n");
}

}  // namespace

class PagesTest : public QObject {
    Q_OBJECT

  private slots:
    void ruleListsBoxesRangesSwapAndTypedRules() {
        PageFixture f("TabSheet3");
        // Only complete sums count; the text stays as written.
        f.TypeList("BirthStr", "13,6,13");
        QVERIFY(f.Rules().BirthList == (Sums{6, 13}) && f.Text("BirthStr") == "13,6,13");
        // Box d is the sum d: {6, 13} ticks neither B1 nor B3, and B3 adds 3 beside them.
        QVERIFY(f.Checked("B6") && !f.Checked("B1") && !f.Checked("B3"));
        f.Click("B3");
        QVERIFY(f.Text("BirthStr") == "13,6,3,13" && f.Rules().BirthList == (Sums{3, 6, 13}));
        f.Click("S8");
        QCOMPARE(f.Rules().SurvivalList, (Sums{2, 3, 8}));
        QVERIFY(f.Info().endsWith("RB3,RB6,RB13,RS2,RS3,RS8,"));

        // The range editors show the editor's range and rebuild the texts.
        QVERIFY(f.Value("MinSurvival") == 2 && f.Value("MaxSurvival") == 3);
        f.SetValue("MaxBirth", 4);
        f.SetValue("MinBirth", 5);
        QVERIFY(f.Text("BirthStr") == QString() && f.Rules().BirthList.empty());
        f.SetValue("MinSurvival", -1);
        f.SetValue("MaxSurvival", 1);
        QVERIFY(f.Text("SurvivalStr") == "-1,0,1," && f.Rules().SurvivalList == (Sums{-1, 0, 1}));
        QVERIFY(f.Checked("S0") && f.Checked("S1") && !f.Checked("S2") && f.Status().isEmpty());
        // A range of more sums than a list holds is cut, and the user is told.
        f.SetValue("MinBirth", -2048);
        f.SetValue("MaxBirth", 2048);
        QCOMPARE(f.Rules().BirthCount(), kMaxListEntries);
        QVERIFY2(f.Status().contains("1023"), qPrintable(f.Status()));

        // The swap exchanges the texts and both lists.
        f.TypeList("BirthStr", "3,");
        f.TypeList("SurvivalStr", "2,3,");
        f.Click("SpeedButton9");
        QVERIFY(f.Rules().BirthList == (Sums{2, 3}) && f.Rules().SurvivalList == (Sums{3}) &&
                f.Checked("B2") && !f.Checked("S2"));

        // A typed rule applies whole or changes nothing.
        const std::pair<const char*, const char*> cases[] = {
            // no rule: refused
            {"B36/S23", "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,RB6,RS2,RS3,"},
            {"hello", ""},
        };
        QString shown = f.Info();
        for (const auto& [text, rule] : cases) {
            const QString refused = f.TypeRule(text);
            if (*rule)
                shown = rule;
            QVERIFY2(*rule ? refused.isEmpty()
                           : refused.contains("B3/S23") && refused.contains("345/2/4"),
                     qPrintable(refused));
            QVERIFY(f.Info() == shown && app::ToQString(RuleToString(f.world(), 0, 0)) == shown);
            // The box spells the rule in use; a refused text stays to be corrected.
            QCOMPARE(f.Text("RuleTextEdit"), *rule ? shown : QString(text));
        }
        QCOMPARE(f.Text("BirthStr"), QStringLiteral("3,6,"));
    }

    void ruleWeightsShapesSymmetryHistoryAndTheEditedSet() {
        PageFixture f("TabSheet3");
        auto* shape = f.Find<QComboBox>("ComboBox2");
        // A weight changed by hand loses the shape's name; set back, the shape is
        // recognised again.
        test::Choose(shape, 3);
        f.SetValue("IntEE", 2);
        QVERIFY(shape->currentIndex() == 6 && f.W(1, 0) == 2);
        f.SetValue("IntEE", 1);
        QCOMPARE(shape->currentIndex(), 3);
        // Moore 5x5 from the list: the rule text carries the outer ring and EX2.
        test::Choose(shape, 2);
        QVERIFY(f.Checked("ExtRegion"));
        for (const char* token : {"2N2W1,", "1S2E1,", "EX2,"})
            QVERIFY2(f.Info().contains(token), token);

        // A user's change with SymmetricRegion sets the partner too ...
        f.Click("SymmetricRegion");
        f.Type(f.Find<QSpinBox>("IntNW"), {}, Qt::Key_Up);
        QVERIFY(f.W(-1, -1) == 2 && f.W(1, 1) == 2);
        f.SetValue("Int2N2W", -3);
        QVERIFY(f.W(-2, -2) == -3 && f.W(2, 2) == -3);
        // ... but showing an asymmetric rule keeps it: Career weighs NN 2, SS 1.
        test::Choose(f.Find<QComboBox>("RulesComboBox"), 75);
        QVERIFY(f.W(0, -1) == 2 && f.W(0, 1) == 1 && !f.Checked("ExtRegion"));
        QVERIFY(f.Value("IntNN") == 2 && f.Value("IntSS") == 1);

        // History and its length go into the rule.
        f.Click("HistoryOn");
        f.SetValue("IntHistoryRange", 7);
        QVERIFY(f.Rules().History && f.Info().contains("HI7,") && f.Rules().HistoryRange == 7);

        // The selector edits another rule set; the controls show that set.
        const RuleSet main = f.Rules(0);
        test::Choose(f.Find<QComboBox>("RulesSelectorBox"), 1);
        QVERIFY(f.settings().RulesSelectorBox == 1 && f.Text("BirthStr") == QStringLiteral("2,"));
        QVERIFY(f.Checked("HistoryOn") && f.Value("IntHistoryRange") == 3);
        f.TypeList("SurvivalStr", "1,");
        QVERIFY(f.Rules(1).SurvivalList == (Sums{1}) && f.Rules(0) == main);
        // A preset from the tool bar's list goes into the edited set only; no
        // rule-name file knows it, so the rules list shows no name.
        auto* rules = f.Find<QComboBox>("RulesComboBox");
        auto* toolBar = f.Find<QComboBox>("ComboBox1");
        // Both lists hold every preset; typing never completes a name.
        QVERIFY(toolBar->count() == rules->count() && !rules->completer() && !toolBar->completer());
        test::Choose(toolBar, toolBar->findText("Gnarl"));
        QVERIFY(f.Rules(1).BirthList == (Sums{1}) && !f.Rules(1).History && f.Rules(0) == main);
        QVERIFY(rules->currentIndex() == toolBar->currentIndex() && rules->currentText().isEmpty());
    }

    void ruleFilesAreSavedAskedAboutReadBackAndNamedAlikeInBothLists() {
        PageFixture f("TabSheet3");
        auto* rules = f.Find<QComboBox>("RulesComboBox");
        const auto file = [&f](const QString& n) { return f.InFolder(f.Folder().Rules(), n); };
        f.TypeList("BirthStr", "3,6,");
        // The information lines feed the status bar: panel 6 the name, 5 the family.
        f.Find<QPlainTextEdit>("ZentorixInfoMemo")->setPlainText("x\ngrows\nLife-like\nAnna");
        QVERIFY(f.Text("StatusPanel6") == "x" && f.Text("StatusPanel5") == "Life-like");
        f.Find<QPlainTextEdit>("RulesDescription")->setPlainText("HighLife.\nReplicators.");
        const std::string rule = RuleToString(f.world(), 0, 0);
        f.Type(rules->lineEdit(), "high");
        f.Click("SaveRules");
        QVERIFY(QFile::exists(file("high.rul")) && rules->itemText(147) == "high" &&
                rules->count() == 148);

        // Without a name the file is named after the list's entry count.
        test::Choose(rules, 6);  // Conway`s Life
        QCOMPARE(rules->currentText(), QString());
        f.Click("SaveRules");
        QVERIFY(QFile::exists(file("Zentorix148.rul")) && rules->count() == 149 &&
                rules->currentText() == "Zentorix148");

        // Read back: the rule, the four lines and the description.
        test::Choose(rules, rules->findText("high"));
        QVERIFY(RuleToString(f.world(), 0, 0) == rule && rules->currentText() == "high");
        QCOMPARE(f.Text("ZentorixInfoMemo") + "|" + f.Text("RulesDescription"),
                 QStringLiteral("high\ngrows\nLife-like\nAnna|HighLife.\nReplicators."));

        // Saving over it asks first; No writes nothing, Yes replaces it.
        const QByteArray before = test::ReadFile(file("high.rul"));
        f.TypeList("SurvivalStr", "2,");
        // A rule change empties the shown name and the information lines; the
        // user names the file again.
        QCOMPARE(rules->currentText() + f.Text("StatusPanel6"), QString());
        QCOMPARE(f.Text("ZentorixInfoMemo"), "\n\n\n");
        f.Type(rules->lineEdit(), "high");
        QString asked;
        test::AnswerQuestion(QMessageBox::No, &asked);
        f.Click("SaveRules");
        QCOMPARE(asked, QStringLiteral("Файл із таким іменем вже існує. Перезаписати?"));
        QCOMPARE(test::ReadFile(file("high.rul")), before);
        QVERIFY(f.window->focusWidget() == rules->lineEdit() || f.window->focusWidget() == rules);
        test::AnswerQuestion(QMessageBox::Yes);
        f.Click("SaveRules");
        QVERIFY(test::ReadFile(file("high.rul")).contains("RB3,RB6,RS2,\r\n") &&
                rules->count() == 149);

        // With the shipped rule names, both lists show the name of the rule in use
        // at start, after a restart and after a choice in either; the typed-rule box
        // spells it; a save under a preset's name takes a name the list lacks.
        test::Choose(rules, 6);  // a preset, in use at the restart
        f.Close();
        test::CopyShippedLanguages(f.dir.path());
        QFile::remove(f.dir.filePath("Language/#SelLangStart"));
        f.Open();
        rules = f.Find<QComboBox>("RulesComboBox");
        auto* toolBar = f.Find<QComboBox>("ComboBox1");
        const auto agree = [&](const QString& name) {
            QCOMPARE(rules->currentText(), name);
            QCOMPARE(toolBar->currentText(), name);
            QCOMPARE(f.Text("RuleTextEdit"), f.Info());
        };
        QVERIFY(!rules->currentText().isEmpty());
        agree(rules->currentText());
        test::Choose(toolBar, toolBar->findText("2x2"));
        agree("2x2");
        f.Close();
        f.Open();
        rules = f.Find<QComboBox>("RulesComboBox");
        toolBar = f.Find<QComboBox>("ComboBox1");
        agree("2x2");
        test::Choose(rules, rules->findText("Gnarl"));
        agree(rules->currentText());
        QVERIFY(!rules->currentText().isEmpty());
        f.Click("B5");
        agree(QString());

        const int entries = rules->count();
        for (const char* saved : {"2x2 (2)", "2x2 (3)"}) {
            test::Choose(rules, rules->findText("2x2"));
            f.Click("SaveRules");
            QVERIFY(QFile::exists(file(QString(saved) + ".rul")) && rules->currentText() == saved);
        }
        QCOMPARE(rules->count(), entries + 2);
    }

    void colourListsRepaintSaveAndFollowTheModel() {
        PageFixture f("TabSheet2");
        auto* schemes = f.Find<QComboBox>("ColorComboBox");
        auto* palettes = f.Find<QComboBox>("GenColorComboBox");
        QVERIFY(palettes->currentText() == "Жовто-Червона 64" && f.ShowsEntries(64));

        f.world().MainField.at(2, 2) = 1;
        f.view().RedrawView();
        test::Choose(schemes, 1);  // "Класика": no colour by state
        QVERIFY(f.CellColour(3, 2) == 12632256 && !f.Checked("SpeedButton11"));
        test::Choose(schemes, 0);   // "Колір"
        test::Choose(palettes, 0);  // "Жовто-Червона 32"
        QVERIFY(f.CellColour(2, 2) == 52991 && f.ShowsEntries(32) &&
                f.settings().GenColorComboBoxText == "Жовто-Червона 32");
        // While a run paints the field, a change waits for its painting.
        f.run().PlayButtonClick(true);
        test::Choose(schemes, 1);
        QCOMPARE(f.CellColour(3, 2), 0);
        f.run().StopButtonClick();

        // A palette saved under its name comes back when chosen; an empty name
        // takes the default one, numbered by the list's length.
        const auto file = [&f](const QString& n) { return f.InFolder(f.Folder().Color(), n); };
        f.SetValue("IntCountColor", 12);
        SetPaletteEntry(f.colours(), 12, 0x010203);
        palettes->lineEdit()->setText("mine");
        f.Click("SaveGenColorButton");
        QVERIFY(QFile::exists(file("mine.gen")) && palettes->count() == 8);
        SetPaletteEntry(f.colours(), 12, 1);
        test::Choose(palettes, 7);
        QVERIFY(palettes->currentText() == "mine" && f.colours().GenPalette[12] == 0x010203);
        palettes->lineEdit()->clear();
        f.Click("SaveGenColorButton");
        QVERIFY(palettes->currentText() == "ColorPalette8" && palettes->count() == 9 &&
                QFile::exists(file("ColorPalette8.gen")));

        // A scheme: saved with its name, chosen again after another scheme.
        f.colours().DeadColour = 4242;
        schemes->lineEdit()->setText("Сутінки");
        f.Click("SaveColorButton");
        QVERIFY(QFile::exists(file("Сутінки.col")) && f.settings().ColorComboBoxIndex == 5);
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
            QVERIFY2(f.Checked(name), name);
        QTRY_VERIFY(f.Value("IntCountColor") == 100 && f.ShowsEntries(100) &&
                    f.Entry(9)->palette().color(QPalette::Window) ==
                        QColor::fromRgb(app::ToRgb(11)));
        QVERIFY(schemes->currentIndex() == 3 && f.settings().ColorComboBoxIndex == 3 &&
                palettes->currentText() == "elsewhere");
    }

    // The ranges of the fills are the palette commands' own; here the menu
    // reaches them, the panels show them and the field is repainted.
    void thePaletteEditorAndTheSchemeBoxes() {
        PageFixture f("TabSheet2");
        f.world().MainField.at(2, 2) = 1;
        f.view().RedrawView();
        f.SetValue("IntCountColor", 10);
        f.Click("BlackColorAll");
        // The entry shows its colour on screen, not only in its palette.
        QLabel* entry = f.Entry(10);
        QVERIFY(f.CellColour(2, 2) == 0 &&
                entry->parentWidget()->grab(entry->geometry()).toImage().pixelColor(3, 3) ==
                    Qt::black);
        f.Click("SilverColorOther");
        QCOMPARE(f.colours().GenPalette[11], kSilver);
        AnswerColourDialog(0x00FF00);
        f.Click("AnyColorAll");
        QCOMPARE(f.CellColour(2, 2), 0x00FF00);

        // A click on the first pixel of entry 3, next to entry 2, sets entry 3 alone.
        auto* editor = f.Find<app::PaletteEditor>("ColorGenPanel");
        SetPaletteEntry(f.colours(), 2, 0x222222);
        SetPaletteEntry(f.colours(), 4, 0x444444);
        const QRect third = f.Entry(3)->geometry();
        AnswerColourDialog(0x123456);
        QTest::mouseClick(editor, Qt::LeftButton, {}, third.topLeft());
        const auto& entries = f.colours().GenPalette;
        QVERIFY(entries[2] == 0x222222 && entries[3] == 0x123456 && entries[4] == 0x444444);
        // Cancelling changes nothing; a press in a gap opens no dialog.
        test::WhenModalOpens<QColorDialog>([](QColorDialog* d) { d->reject(); });
        QTest::mouseClick(editor, Qt::LeftButton, {}, third.center());
        QCOMPARE(entries[3], 0x123456);
        QTest::mouseClick(editor, Qt::LeftButton, {},
                          QPoint(third.right() + 2, third.center().y()));
        QVERIFY(!QApplication::activeModalWidget());

        // Typed into the edit box, as a user would.
        auto* edit = f.Find<QLineEdit>("StringCountColor");
        edit->selectAll();
        f.Type(edit, "256");
        QTRY_VERIFY(f.colours().GenColourCount == 256 && f.ShowsEntries(256));

        // The scheme boxes and switches.
        f.Find<QCheckBox>("ColorOn")->setChecked(false);
        QVERIFY(!f.colours().ColorOn && !f.Checked("SpeedButton11") && !f.Checked("N4"));
        QCOMPARE(f.CellColour(2, 2), f.colours().CellColour);
        AnswerColourDialog(0x0000FF);
        f.Click("CellColorBox");
        QVERIFY(f.colours().CellColour == 0x0000FF && f.CellColour(2, 2) == 0x0000FF &&
                f.Find<QWidget>("CellColorBox")->property("colour").toInt() == 0x0000FF);
        AnswerColourDialog(0x00FFFF);
        f.Click("GridColorBox");
        const int c = f.settings().CellSize;
        QCOMPARE(app::FromRgb(f.view().SurfacePixel(c, c + c / 2)), 0x00FFFF);
        // The tool button and the menu item take the same path as the box.
        for (const char* control : {"SpeedButton11", "N4"}) {
            f.Click(control);
            QVERIFY2(f.colours().ColorOn == (*control == 'S') &&
                         f.Checked("ColorOn") == f.colours().ColorOn,
                     control);
        }

        QCOMPARE(f.Text("ColorMode"), QStringLiteral("Колір за віком"));
        f.Find<QCheckBox>("ColorMode")->setChecked(true);
        QVERIFY(f.colours().ColorMode && f.Text("ColorMode") == "Колір за народженням");
    }

    void landscapeRhythmLabelsAndLayerSwitches() {
        PageFixture f("Landscape");
        Settings& s = f.settings();
        // The rhythm labels take the word that goes with the count.
        QCOMPARE(f.Text("EternalLifeIntensityLabel"), QStringLiteral("На 1 покоління"));
        for (const auto& [n, label] :
             {std::pair{4, "Через 4 покоління"}, {5, "Через 5 поколінь"}}) {
            f.SetValue("IntEternalLifePeriod", n);
            QVERIFY(s.EternalLifePeriod == n && f.Text("EternalLifePeriodLabel") == label);
        }
        // Values read from a file reach the up-downs and the labels.
        s.EternalDeadPeriod = 3;
        emit f.window->session().ModelChanged();
        QVERIFY(f.Value("IntEternalDeadPeriod") == 3 &&
                f.Text("EternalDeadPeriodLabel") == "Через 3 покоління");
        // A language's words and threshold; without a number, the built-in one.
        app::LandscapeTexts texts{"2", " gen.", " gens.", "Every "};
        f.Find<app::LandscapePage>("Landscape")->SetTexts(texts);
        QCOMPARE(f.Text("EternalDeadPeriodLabel"), QStringLiteral("Every 3 gens."));
        texts.threshold = "many";
        QCOMPARE(app::GenerationsLabel(texts, "x", 4) + app::GenerationsLabel(texts, "x", 5),
                 QStringLiteral("x4 gen.x5 gens."));

        // Each switch and its twin in the status bar show one setting.
        const std::pair<const char*, bool Settings::*> switches[] = {
            {"EternalLifeOn", &Settings::EternalLifeOn},
            {"EternalDeadOn", &Settings::EternalDeadOn},
            {"OtherRealityOn", &Settings::OtherRealityOn},
            {"OtherRealPaint", &Settings::OtherRealPaint}};
        for (auto [name, setting] : switches) {
            const QByteArray twin = QByteArray(name) + "StatusBar";
            const bool on = s.*setting;
            QVERIFY(f.Checked(name) == on && f.Checked(twin) == on);
            f.Click(name);
            QVERIFY(s.*setting != on && f.Checked(twin) != on);
            f.Click(twin);
            QVERIFY(s.*setting == on && f.Checked(name) == on);
        }
        // The switch repaints: a layer cell drawn behind the view's back shows;
        // the display switch hides it again, and a repaint of the cell keeps it hidden.
        f.world().EternalLifeField.at(3, 4) = 1;
        QVERIFY(f.CellPixel(3, 4) != f.Rgb(&ColourModel::BirthColour));
        f.Click("EternalLifeOn");
        QCOMPARE(f.CellPixel(3, 4), f.Rgb(&ColourModel::BirthColour));
        f.Click("EternalLifeRefresh");
        QVERIFY(!s.EternalLifeRefresh &&
                f.CellPixel(3, 4) == f.Rgb(&ColourModel::BackgroundColour));
        f.view().RepaintCell(3, 4);
        QCOMPARE(f.CellPixel(3, 4), f.Rgb(&ColourModel::BackgroundColour));
        s.EternalLifeRefresh = true;
        f.view().RepaintCell(3, 4);
        QCOMPARE(f.CellPixel(3, 4), f.Rgb(&ColourModel::BirthColour));
    }

    void layerLibrariesSaveUnderTheNameOrTheDefaultAndLoadBack() {
        PageFixture f("Landscape");
        World& w = f.world();
        auto* list = f.Find<QComboBox>("EternalLifeComboBox");
        auto* period = f.Find<QSpinBox>("IntEternalLifePeriod");
        const auto file = [&f](const QString& n) { return f.InFolder(f.Folder().Field(), n); };
        // An empty name takes the stem and the number of entries.
        for (const char* name : {"EternalLifeField0", "EternalLifeField1"}) {
            list->lineEdit()->clear();
            f.Click("SaveEternalLifeButton");
            QCOMPARE(list->currentText(), QString(name));
            QVERIFY(QFile::exists(file(QString(name) + ".bfld")));
        }
        test::Draw(w.EternalLifeField, 10, 10, {"*.*", ".*."});
        f.settings().EternalLifePeriod = 7;
        list->lineEdit()->setText("hills");
        f.Click("SaveEternalLifeButton");
        QVERIFY(list->count() == 3 && list->currentText() == "hills");
        // Choosing the entry loads the layer and its rhythm and shows them.
        w.EternalLifeField.Clear();
        period->setValue(2);
        test::Choose(list, 2);
        QVERIFY(period->value() == 7 && f.CellPixel(10, 10) == f.Rgb(&ColourModel::BirthColour));

        // The Other Reality file brings its speed back to both speed controls.
        auto* areas = f.Find<QComboBox>("RulesComboBoxOR");
        f.SetValue("SpeedOtherReality", 7);
        w.OtherRealityField.at(5, 6) = 1;
        areas->lineEdit()->setText("area");
        f.Click("SaveRulesButtonOR");
        QVERIFY(QFile::exists(file("area.rfld")));
        f.SetValue("TrackBar1", 300);
        w.OtherRealityField.at(5, 6) = 0;
        test::Choose(areas, 0);
        QVERIFY(f.Value("SpeedOtherReality") == 7 && f.Value("TrackBar1") == 7 &&
                w.OtherRealityField.at(5, 6) == 1);

        // A malformed number: the message, the layer kept, and the controls show
        // what was read before the bad line.
        test::WriteFile(file("broken.bfld"),
                        "#File of Eternal Life Field for Zentorix\r\n"
                        "#EternalLifePeriod    9\r\n#EternalLifeIntensity x1\r\n#LB 5o!\r\n");
        f.Find<app::LandscapePage>("Landscape")->RefreshLayerFileLists();
        QString message;
        test::AnswerQuestion(QMessageBox::Ok, &message);
        test::Choose(list, list->findText("broken"));
        QCOMPARE(message, QStringLiteral("'x1' is not a valid integer value"));
        QVERIFY(period->value() == 9 && w.EternalLifeField.at(11, 11) == 1);

        // A new window lists what the folder holds.
        f.Close();
        f.Open();
        QVERIFY(f.Find<QComboBox>("EternalLifeComboBox")->count() == 4 &&
                f.Find<QComboBox>("RulesComboBoxOR")->count() == 1);
    }

    void otherRealityRunsCopiesAndRandomFills() {
        PageFixture f("Landscape");
        f.Find<QTabWidget>("LandPageControl")->setCurrentIndex(1);
        QCOMPARE(f.settings().PagesOpen2, 1);  // the sub-page shown, for the settings file
        World& w = f.world();
        app::RunControl& run = f.run();
        // Any of the three run buttons starts or stops the area; all show it.
        const char* runs[] = {"SpeedButton2", "SpeedButton10", "SpeedButton1"};
        for (const char* button : {runs[0], runs[2], runs[1], "SpeedButton4"}) {
            const bool running =
                button != std::string("SpeedButton4") && !run.OtherRealityRunning();
            f.Click(button);
            QVERIFY2(run.OtherRealityRunning() == running && f.Checked(runs[0]) == running &&
                         f.Checked(runs[1]) == running && f.Checked(runs[2]) == running,
                     button);
        }
        // The speed has two controls.
        auto* speed = f.Find<QSlider>("SpeedOtherReality");
        auto* twin = f.Find<QSlider>("TrackBar1");
        speed->setValue(300);
        QVERIFY(twin->value() == 300 && f.settings().SpeedOtherReality == 300);
        twin->setValue(40);
        QVERIFY(speed->value() == 40 && f.Text("InfoSpeedORPanel") == "40ms  ");
        // A running area evolves on its own timer.
        w.OtherRealityField.at(20, 20) = 1;  // a lone cell dies under rule set 2
        twin->setValue(1);
        f.Click("SpeedButton2");
        QTRY_COMPARE(w.OtherRealityField.at(20, 20), 0);
        f.Click("SpeedButton4");
        // A step by hand is shown at once: a blinker turns.
        w.OtherRealityField.Clear();
        test::Draw(w.OtherRealityField, 20, 20, {"***"});
        f.Click("SpeedButton5");
        const QRgb area = f.Rgb(&ColourModel::BigGridColour);
        QVERIFY(f.CellPixel(21, 19) == area && f.CellPixel(20, 20) != area);
        f.Click("SpeedButton12");
        QCOMPARE(f.CellPixel(20, 20), area);

        // The copy writes the chosen layer.
        w.MainField.at(4, 4) = 1;
        test::Choose(f.Find<QComboBox>("CopyFromComboBox"), 0);
        test::Choose(f.Find<QComboBox>("CopyToComboBox"), 3);
        f.Click("CopyFieldButton");
        QCOMPARE(w.OtherRealityField.at(4, 4), 1);
        // The fill button writes the random-fill targets at its intensity in
        // per cent, and the field shows them.
        f.Click("EtenalDeadFillRandom");
        f.SetValue("IntRandomFillIntensity", 100);
        f.Click("FillRandomButton");
        QCOMPARE(f.CellPixel(9, 9), f.Rgb(&ColourModel::DeadColour));
    }

    void statisticsRecordedAsTheBatchProgramDoesChartedAndRefused() {
        QTemporaryDir patterns;
        const QString blinker = patterns.filePath("blinker.rle");
        test::WriteFile(blinker, "x = 3, y = 1\n3o!\n");
        PageFixture f("TabSheet4");
        f.window->OpenFile(blinker);
        app::RunControl& run = f.run();
        const QString stat = f.dir.filePath("stat.txt");
        QVERIFY(f.Text("StatFileLabel").endsWith("stat.txt"));

        // By hand: aqua while recording; Stop ends it and counts the lines written.
        run.StepButtonClick();
        f.Click("RecordStatisticButton");
        QCOMPARE(f.PanelColour("AutoStartRecordPanel"), 0x00FFFFu);
        for (int i = 0; i < 4; ++i)
            run.StepButtonClick();
        QCOMPARE(f.Text("AutoStartRecordPanel"), QString("5"));
        f.Click("StopButton");
        QStringList lines = Lines(stat);
        QVERIFY(lines.size() > 20 && lines[14].left(11) == QString("|        2 "));
        QCOMPARE(lines.at(lines.size() - 8), QString("За 4 поколінь на полі:"));
        QVERIFY(f.PanelColour("AutoStartRecordPanel") == 0xC0DCC0u &&
                !f.Checked("RecordStatisticButton"));

        // Automatic: the range in its pop-up panel, armed by the panel (lime),
        // yellow while it runs, disarmed afterwards.
        app::PopupPanels& popups = f.window->popups();
        f.Click("StatButton1");
        QVERIFY(popups.panel("ThresholdPanel")->isVisible());
        f.SetValue("MinThreshold", 7);
        f.SetValue("MaxThreshold", 40);
        QVERIFY(f.settings().MinThreshold == 7 && f.settings().MaxThreshold == 40);
        f.Click("StatButton2");
        QVERIFY(popups.panel("AutoStartRangePanel")->isVisible() &&
                !popups.panel("ThresholdPanel")->isVisible());
        f.SetValue("StartRecordStatistic", 3);
        f.SetValue("EndRecordStatistic", 6);
        f.Click("StatButton2");
        QVERIFY(!popups.panel("AutoStartRangePanel")->isVisible());
        QTest::mouseClick(f.Find<QLabel>("AutoStartRecordPanel"), Qt::LeftButton);
        QVERIFY(f.Checked("AutoStartRecord") && f.PanelColour("AutoStartRecordPanel") == 0x00FF00u);
        bool sawYellow = false;
        QMetaObject::Connection watch = connect(
            &run, &app::RunControl::GenerationCounted, this,
            [&] { sawYellow = sawYellow || f.PanelColour("AutoStartRecordPanel") == 0xFFFF00u; });
        run.StartButtonClick();
        QTRY_VERIFY_WITH_TIMEOUT(!f.Checked("AutoStartRecord"), 10000);
        run.StopButtonClick();
        disconnect(watch);
        QVERIFY(sawYellow && f.PanelColour("AutoStartRecordPanel") == 0xC0DCC0u &&
                f.Text("AutoStartRecordPanel") == "AutoStart");
        const QStringList window = Lines(stat);
        QCOMPARE(window.size(), 14 + 4 + 9);

        // The batch program writes the same file, the time and date aside.
        const QString cliStat = patterns.filePath("cli-stat.txt");
        QCOMPARE(QProcess::execute(ZENTORIX_CLI, {"run", blinker, "--record", "3:6", "--quiet",
                                                  "--stat-file", cliStat}),
                 0);
        QStringList batch = Lines(cliStat);
        QCOMPARE(batch.size(), window.size());
        batch[1] = window[1];
        QCOMPARE(batch, window);

        auto* page = f.Find<app::StatisticsPage>("TabSheet4");
        auto* chart = f.Find<app::StatisticsChart>("PaintBox6");
        // The automatic Y scale: the panel follows the box, a click flips both.
        QCOMPARE(f.PanelColour("AutoScaleYPanel"), 0x00FF00u);
        QTest::mouseClick(f.Find<QLabel>("AutoScaleYPanel"), Qt::LeftButton);
        QVERIFY(!f.settings().AutoScaleY && f.PanelColour("AutoScaleYPanel") == 0xC0DCC0u);

        // A live soup over four pages with the automatic scale: every point of
        // the live curve is drawn where its count and the page's scale put it,
        // and StatisticScaleY shows the scale each page chose.
        QTest::mouseClick(f.Find<QLabel>("AutoScaleYPanel"), Qt::LeftButton);
        QVERIFY(f.settings().AutoScaleY);
        World& w = f.world();
        w.Random.FixSeed(99);  // a soup of a third live cells
        for (int x = 1; x <= 120; ++x)
            for (int y = 1; y <= 100; ++y)
                w.MainField.at(x, y) = w.Random.Below(3) == 0;
        const StatisticsGraph& graph = page->graph();
        const QImage& image = chart->image();
        QSet<int> scales;
        int pages = 0, points = 0, drawn = 0;
        for (int x = graph.GraphX(), i = 0; i < 1000 && pages < 4; ++i) {
            run.StepButtonClick();
            if (graph.GraphX() < x) {
                ++pages;
                scales.insert(f.settings().StatisticScaleY);
                QCOMPARE(f.Value("StatisticScaleY"), f.settings().StatisticScaleY.Value());
            }
            x = graph.GraphX();
            const int px = x - f.settings().StatisticScaleX;
            const int py = image.height() - w.Counters.LiveCount / f.settings().StatisticScaleY -
                           55 + graph.Offsets()[0];
            if (py < 0 || py >= image.height())
                continue;  // left the band since the page began: off the chart
            ++points;
            drawn += (image.pixel(px, py) & 0xFFFFFF) == 0xFFFFFFu;
        }
        QVERIFY(pages >= 3 && scales.size() >= 2 && points > 100 && drawn >= points * 9 / 10);
        // A resize begins a new page.
        chart->resize(chart->width(), chart->height() + 1);
        chart->resize(chart->width(), chart->height() - 1);
        QCOMPARE(page->graph().GraphX(), 25 + 2);  // the page's first point, then ScaleX

        // Every page begins as on a chart that never drew one: its labels
        // tell its own offsets and life, its grid fits the size.
        {
            Settings s;
            s.AutoScaleY = false;
            LiveHistory history;
            StatisticsGraph graph;
            app::StatisticsChart kept;
            // The page's width and its live cells.
            const std::pair<int, int> pages[] = {
                {150, 300}, {150, 10}, {150, 0}, {150, 300}, {180, 300}};
            for (const auto& [width, live] : pages) {
                graph.SetSize(width, 200);
                GraphStep step = graph.StartPage(live, 0, 0, history, s);
                kept.Apply(step, graph);
                app::StatisticsChart fresh;
                fresh.Apply(step, graph);
                QVERIFY2(kept.image() == fresh.image(), qPrintable(QString::number(live)));
            }
        }

        // A file that cannot be written: one line in the status bar, no dialog,
        // the run goes on.
        page->recorder().SetFile(app::ToPath(f.dir.path()));
        f.Click("RecordStatisticButton");
        QCOMPARE(f.PanelColour("AutoStartRecordPanel"), 0xFF0000u);
        QVERIFY(f.Status().contains(f.dir.path()));
        f.window->statusBar()->clearMessage();
        run.StepButtonClick();
        QVERIFY(f.Status().isEmpty() && !QApplication::activeModalWidget());
    }
};

QTEST_MAIN(PagesTest)
#include "pages_test.moc"
