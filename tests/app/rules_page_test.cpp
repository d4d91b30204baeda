#include <QCompleter>
#include <QPlainTextEdit>
#include <QStatusBar>

#include "app/app_test_support.h"
#include "app/weight_grid.h"
#include "core/test_support.h"
#include "engine/rule_text.h"

using namespace zentorix;

namespace {

using Sums = std::vector<std::int32_t>;

// A window with the rules page open.
struct RulesFixture : test::WindowFixture {
    RulesFixture() {
        Find<QTabWidget>("PageControl1")->setCurrentWidget(Find<QWidget>("TabSheet3"));
    }
    const RuleSet& Rules(int set = 0) const { return world().Rules[static_cast<std::size_t>(set)]; }
    QString Text(const char* name) const { return Find<QLineEdit>(name)->text(); }
    bool Checked(const char* name) const { return Find<QCheckBox>(name)->isChecked(); }
    // Types a list text as a user does and presses Enter.
    void TypeList(const char* name, const QString& text) const {
        auto* edit = Find<QLineEdit>(name);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    void Weight(const char* name, int value) const { Find<QSpinBox>(name)->setValue(value); }
    std::int32_t W(int dx, int dy, int set = 0) const { return Rules(set).Weight(dx, dy); }
    QString InfoEdit() const { return Text("InfoEdit"); }
    QString StatusMessage() const { return window->statusBar()->currentMessage(); }
    QString RulesFile(const QString& name) const {
        return app::FromPath(Folder().Rules()) + "/" + name;
    }
    // Reads a rule typed into RuleTextEdit; a refusal's message box is answered.
    QString TypeRule(const QString& text) const {
        QString refused;
        auto* edit = Find<QLineEdit>("RuleTextEdit");
        edit->setText(text);
        test::AnswerQuestion(QMessageBox::Ok, &refused);
        QTest::keyClick(edit, Qt::Key_Return);
        // No box opened: the pending answer goes to one of our own.
        if (refused.isEmpty())
            QMessageBox::information(nullptr, "read", "read");
        return refused == "read" ? QString() : refused;
    }
};

}  // namespace

class RulesPageTest : public QObject {
    Q_OBJECT

  private slots:
    void listTextsBoxesRangesAndSwap() {
        RulesFixture f;
        QCOMPARE(f.Text("BirthStr"), QStringLiteral("3,"));
        QVERIFY(f.Checked("B3") && f.Checked("S2") && f.Checked("S3") && !f.Checked("B2"));
        // Only complete sums count; the text stays as written.
        const std::pair<const char*, Sums> texts[] = {
            {"3,6", {3}}, {"3,3,6,", {3, 6}}, {"6,3,", {3, 6}}, {"13,", {13}}};
        for (const auto& [text, sums] : texts) {
            f.TypeList("BirthStr", text);
            QCOMPARE(f.Rules().BirthList, sums);
            QCOMPARE(f.Text("BirthStr"), QString(text));
        }
        // Box d is the sum d: {13} ticks neither B1 nor B3, and B3 adds 3 beside 13.
        QVERIFY(!f.Checked("B1") && !f.Checked("B3"));
        for (const auto& [text, sums] :
             {std::pair{"13,3,", Sums{3, 13}}, std::pair{"13,", Sums{13}}}) {
            f.Find<QCheckBox>("B3")->click();
            QCOMPARE(f.Text("BirthStr"), QString(text));
            QCOMPARE(f.Rules().BirthList, sums);
        }
        f.Find<QCheckBox>("S8")->click();
        QCOMPARE(f.Rules().SurvivalList, (Sums{2, 3, 8}));
        QVERIFY(f.InfoEdit().endsWith("RB13,RS2,RS3,RS8,"));

        // The next generation runs the changed rule: without birth on 3 a blinker
        // keeps only its middle cell.
        f.TypeList("BirthStr", "3,");
        test::Draw(f.world().MainField, 10, 10, {"***"});
        f.window->runControl().StepButtonClick();
        QCOMPARE(test::LiveCells(f.world().MainField, 1, 1, 30, 30).size(), std::size_t{3});
        f.Find<QCheckBox>("B3")->click();
        f.window->runControl().StepButtonClick();
        QCOMPARE(test::LiveCells(f.world().MainField, 1, 1, 30, 30), (test::Cells{{11, 10}}));

        // The range editors rebuild the texts.
        f.Find<QSpinBox>("MaxBirth")->setValue(4);
        f.Find<QSpinBox>("MinBirth")->setValue(5);
        QCOMPARE(f.Text("BirthStr"), QString());
        QVERIFY(f.Rules().BirthList.empty());
        f.Find<QSpinBox>("MinSurvival")->setValue(-1);
        f.Find<QSpinBox>("MaxSurvival")->setValue(1);
        QCOMPARE(f.Text("SurvivalStr"), QStringLiteral("-1,0,1,"));
        QCOMPARE(f.Rules().SurvivalList, (Sums{-1, 0, 1}));
        QVERIFY(f.Checked("S0") && f.Checked("S1") && !f.Checked("S2"));
        QVERIFY(f.StatusMessage().isEmpty());
        // A range of more sums than a list holds is cut, and the user is told.
        f.Find<QSpinBox>("MinBirth")->setValue(-2048);
        f.Find<QSpinBox>("MaxBirth")->setValue(2048);
        QCOMPARE(f.Rules().BirthCount(), kMaxListEntries);
        QVERIFY2(f.StatusMessage().contains("1023"), qPrintable(f.StatusMessage()));

        // The swap exchanges the texts and both lists.
        f.TypeList("BirthStr", "3,");
        f.TypeList("SurvivalStr", "2,3,");
        f.Find<QToolButton>("SpeedButton9")->click();
        QCOMPARE(f.Rules().BirthList, (Sums{2, 3}));
        QCOMPARE(f.Rules().SurvivalList, (Sums{3}));
        QVERIFY(f.Checked("B2") && !f.Checked("S2"));
        f.Screenshot("rules_page");
    }

    void weightsShapesSymmetryHistoryAndTheEditedSet() {
        RulesFixture f;
        auto* shape = f.Find<QComboBox>("ComboBox2");
        QCOMPARE(shape->currentIndex(), 0);
        // The von Neumann 5x5 shape set by hand is recognised, and lost at a 2.
        for (const char* name : {"IntNW", "IntNE", "IntSW", "IntSE"})
            f.Weight(name, 1);
        f.Find<QCheckBox>("ExtRegion")->click();
        for (const char* name : {"Int2N2N", "Int2W2W", "Int2E2E", "Int2S2S"})
            f.Weight(name, 1);
        for (const char* name : {"Int2N2W", "Int2N1W", "Int1N2W", "Int2N2E", "Int2N1E", "Int1N2E",
                                 "Int2S2W", "Int2S1W", "Int1S2W", "Int2S2E", "Int2S1E", "Int1S2E"})
            f.Weight(name, 0);
        QCOMPARE(shape->currentIndex(), 3);
        f.Weight("IntEE", 2);
        QCOMPARE(shape->currentIndex(), 6);
        QCOMPARE(f.W(1, 0), 2);
        // Moore 5x5 from the list: the rule text carries the outer ring and EX2.
        test::Choose(shape, 2);
        QVERIFY(f.Checked("ExtRegion"));
        for (const char* token : {"2N2W1,", "1S2E1,", "EX2,"})
            QVERIFY2(f.InfoEdit().contains(token), token);

        // A user's change with SymmetricRegion sets the partner too ...
        f.Find<QCheckBox>("SymmetricRegion")->click();
        QTest::keyClick(f.Find<QSpinBox>("IntNW"), Qt::Key_Up);
        QCOMPARE(f.W(-1, -1), 2);
        QCOMPARE(f.W(1, 1), 2);
        f.Weight("Int2N1E", -3);
        QCOMPARE(f.W(-1, 2), -3);
        // ... but showing an asymmetric rule keeps it: Career weighs NN 2, SS 1.
        test::Choose(f.Find<QComboBox>("RulesComboBox"), 75);
        QCOMPARE(f.W(0, -1), 2);
        QCOMPARE(f.W(0, 1), 1);
        QCOMPARE(f.Find<QSpinBox>("IntNN")->value(), 2);
        QCOMPARE(f.Find<QSpinBox>("IntSS")->value(), 1);
        QVERIFY(!f.Checked("ExtRegion"));

        // History and its length go into the rule.
        f.Find<QCheckBox>("HistoryOn")->click();
        f.Find<QSpinBox>("IntHistoryRange")->setValue(7);
        QVERIFY(f.Rules().History);
        QCOMPARE(f.Rules().HistoryRange, 7);
        QVERIFY(f.InfoEdit().contains("HI7,"));

        // The selector edits another rule set; the controls show that set.
        const RuleSet main = f.Rules(0);
        test::Choose(f.Find<QComboBox>("RulesSelectorBox"), 1);
        QCOMPARE(f.settings().RulesSelectorBox, 1);
        QCOMPARE(f.Text("BirthStr"), QStringLiteral("2,"));
        QVERIFY(f.Checked("HistoryOn"));
        QCOMPARE(f.Find<QSpinBox>("IntHistoryRange")->value(), 3);
        f.TypeList("SurvivalStr", "1,");
        QCOMPARE(f.Rules(1).SurvivalList, (Sums{1}));
        QCOMPARE(f.Rules(0), main);

        // Hovering a packed box brings it out whole; leaving packs the grid again.
        auto* grid = f.Find<app::WeightGrid>("WeightPanel");
        auto* nn = f.Find<QSpinBox>("IntNN");
        auto* nw = f.Find<QSpinBox>("IntNW");
        const QRect packed = nw->geometry();
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QApplication::sendEvent(nn, &enter);
        QVERIFY(!nw->geometry().intersects(nn->geometry()) || packed.x() == 0);
        QCOMPARE(grid->childAt(nn->geometry().center()), nn->findChild<QLineEdit*>());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(grid, &leave);
        QCOMPARE(nw->geometry(), packed);
    }

    void presetsFromBothListsAndTheInformationLines() {
        RulesFixture f;
        auto* rules = f.Find<QComboBox>("RulesComboBox");
        auto* toolBar = f.Find<QComboBox>("ComboBox1");
        QCOMPARE(rules->count(), 147);
        QCOMPARE(toolBar->count(), 147);
        QCOMPARE(toolBar->maxVisibleItems(), 30);
        QVERIFY(!rules->completer() && !toolBar->completer());
        // A preset goes into the edited rule set only.
        test::Choose(f.Find<QComboBox>("RulesSelectorBox"), 2);
        const RuleSet main = f.Rules(0);
        const int brain = toolBar->findText("Brian`s Brain");
        test::Choose(toolBar, brain);
        QCOMPARE(f.Rules(2).BirthList, (Sums{2}));
        QVERIFY(f.Rules(2).History);
        QCOMPARE(f.Rules(2).HistoryRange, 3);
        QVERIFY(f.Checked("HistoryOn"));
        QCOMPARE(f.Rules(0), main);
        QCOMPARE(rules->currentIndex(), brain);
        // No rule-name file knows it, so the rules list shows no name.
        QCOMPARE(rules->currentText(), QString());
        test::Choose(rules, rules->findText("Gnarl"));
        QVERIFY(!f.Rules(2).History);
        QCOMPARE(f.Rules(2).BirthList, (Sums{1}));
        QCOMPARE(f.Text("RuleTextEdit"), f.InfoEdit());

        // The information lines feed the status bar: panel 6 the name, 5 the family.
        auto* memo = f.Find<QPlainTextEdit>("ZentorixInfoMemo");
        memo->setPlainText("Mine\nquiet\nLife-like\nme");
        auto* status = f.window->findChild<QStatusBar*>("StatusBar1");
        QCOMPARE(status->findChild<QLabel*>("StatusPanel6")->text(), QStringLiteral("Mine"));
        QCOMPARE(status->findChild<QLabel*>("StatusPanel5")->text(), QStringLiteral("Life-like"));
        QCOMPARE(f.world().Editor.InfoMemo[3], std::string("me"));
        QCOMPARE(f.InfoEdit(), app::ToQString(RuleToString(f.world(), 0, 2)));
        // A rule change empties them.
        f.Find<QCheckBox>("B5")->click();
        QCOMPARE(memo->toPlainText(), QStringLiteral("\n\n\n"));
        QCOMPARE(status->findChild<QLabel*>("StatusPanel6")->text(), QString());
    }

    void ruleFilesAreSavedAskedAboutAndReadBack() {
        RulesFixture f;
        auto* rules = f.Find<QComboBox>("RulesComboBox");
        auto* save = f.Find<QPushButton>("SaveRules");
        f.TypeList("BirthStr", "3,6,");
        f.Find<QPlainTextEdit>("ZentorixInfoMemo")->setPlainText("x\ngrows\nLife-like\nAnna");
        f.Find<QPlainTextEdit>("RulesDescription")->setPlainText("HighLife.\nReplicators.");
        const std::string rule = RuleToString(f.world(), 0, 0);
        QTest::keyClicks(rules->lineEdit(), "high");
        save->click();
        QVERIFY(QFile::exists(f.RulesFile("high.rul")));
        QCOMPARE(rules->count(), 148);
        QCOMPARE(rules->itemText(147), QStringLiteral("high"));

        // Without a name the file is named after the list's entry count.
        test::Choose(rules, 6);  // Conway`s Life
        QCOMPARE(rules->currentText(), QString());
        save->click();
        QVERIFY(QFile::exists(f.RulesFile("Zentorix148.rul")));
        QCOMPARE(rules->currentText(), QStringLiteral("Zentorix148"));
        QCOMPARE(rules->count(), 149);

        // Read back: the rule, the four lines and the description.
        test::Choose(rules, rules->findText("high"));
        QCOMPARE(app::ToQString(RuleToString(f.world(), 0, 0)), app::ToQString(rule));
        QCOMPARE(f.Find<QPlainTextEdit>("ZentorixInfoMemo")->toPlainText(),
                 QStringLiteral("high\ngrows\nLife-like\nAnna"));
        QCOMPARE(f.Find<QPlainTextEdit>("RulesDescription")->toPlainText(),
                 QStringLiteral("HighLife.\nReplicators."));
        QCOMPARE(rules->currentText(), QStringLiteral("high"));

        // Saving over it asks first; No writes nothing, Yes replaces it.
        const QByteArray before = test::ReadFile(f.RulesFile("high.rul"));
        f.TypeList("SurvivalStr", "2,");
        // A rule change empties the shown name; the user names the file again.
        QCOMPARE(rules->currentText(), QString());
        QTest::keyClicks(rules->lineEdit(), "high");
        QString asked;
        test::AnswerQuestion(QMessageBox::No, &asked);
        save->click();
        QCOMPARE(asked, QStringLiteral("Файл із таким іменем вже існує. Перезаписати?"));
        QCOMPARE(test::ReadFile(f.RulesFile("high.rul")), before);
        QVERIFY(f.window->focusWidget() == rules->lineEdit() || f.window->focusWidget() == rules);
        test::AnswerQuestion(QMessageBox::Yes);
        save->click();
        QVERIFY(test::ReadFile(f.RulesFile("high.rul")).contains("RB3,RB6,RS2,\r\n"));
        QCOMPARE(rules->count(), 149);
    }

    // With the shipped rule names, both lists show the name of the rule in use
    // at start, after a restart and after a choice in either; the typed-rule box
    // spells it; a save under a preset's name takes a name the list lacks.
    void bothRuleListsAgreeAndASaveNeverDuplicatesAPreset() {
        RulesFixture f;
        f.Close();
        QDir().mkpath(f.dir.filePath("Language"));
        for (const char* name : {"ukraine.lng", "ukraine-rules.rlg"})
            QVERIFY(QFile::copy(QStringLiteral(ZENTORIX_SHIPPED_DATA "/Language/") + name,
                                f.dir.filePath("Language/") + name));
        for (int start = 0; start < 2; ++start) {
            f.Open();
            auto* rules = f.Find<QComboBox>("RulesComboBox");
            auto* toolBar = f.Find<QComboBox>("ComboBox1");
            QVERIFY(!rules->currentText().isEmpty());
            QCOMPARE(toolBar->currentText(), rules->currentText());
            QCOMPARE(f.Text("RuleTextEdit"), f.InfoEdit());
            if (start == 0)
                f.Close();
        }
        auto* rules = f.Find<QComboBox>("RulesComboBox");
        auto* toolBar = f.Find<QComboBox>("ComboBox1");
        const auto agree = [&](const QString& name) {
            QCOMPARE(rules->currentText(), name);
            QCOMPARE(toolBar->currentText(), name);
            QCOMPARE(f.Text("RuleTextEdit"), f.InfoEdit());
        };
        test::Choose(toolBar, toolBar->findText("2x2"));
        agree("2x2");
        test::Choose(rules, rules->findText("Gnarl"));
        agree(rules->currentText());
        QVERIFY(!rules->currentText().isEmpty());
        f.Find<QCheckBox>("B5")->click();
        agree(QString());

        const int entries = rules->count();
        for (const char* saved : {"2x2 (2)", "2x2 (3)"}) {
            test::Choose(rules, rules->findText("2x2"));
            f.Find<QPushButton>("SaveRules")->click();
            QVERIFY(QFile::exists(f.RulesFile(QString(saved) + ".rul")));
            QCOMPARE(rules->currentText(), QString(saved));
        }
        QCOMPARE(rules->count(), entries + 2);
        int named2x2 = 0;
        for (int i = 0; i < rules->count(); ++i)
            named2x2 += rules->itemText(i) == QLatin1String("2x2");
        QCOMPARE(named2x2, 1);
    }

    void typedRulesApplyOrChangeNothing() {
        RulesFixture f;
        struct Case {
            const char* text;
            const char* rule;  // empty: refused
        };
        const Case cases[] = {
            {"B36/S23", "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,RB6,RS2,RS3,"},
            {"345/2/4", "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI4,EX0,RB2,RS3,RS4,RS5,"},
            {"NW2,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,RS2,",
             "NW2,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,RS2,"},
            {"hello", ""},
            {"46789", ""},
        };
        QString shown = f.InfoEdit();
        for (const Case& c : cases) {
            const QString refused = f.TypeRule(c.text);
            if (*c.rule) {
                QVERIFY2(refused.isEmpty(), qPrintable(refused));
                shown = c.rule;
            } else {
                QVERIFY2(refused.contains("B3/S23") && refused.contains("345/2/4"),
                         qPrintable(refused));
            }
            QCOMPARE(f.InfoEdit(), shown);
            QCOMPARE(app::ToQString(RuleToString(f.world(), 0, 0)), shown);
            // The box spells the rule in use; a refused text stays to be corrected.
            QCOMPARE(f.Text("RuleTextEdit"), *c.rule ? shown : QString(c.text));
        }
        QCOMPARE(f.Text("BirthStr"), QStringLiteral("3,"));
    }
};

QTEST_MAIN(RulesPageTest)
#include "rules_page_test.moc"
