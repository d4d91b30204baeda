#include "app/landscape_page.h"
#include "app/app_test_support.h"
#include "core/test_support.h"

using namespace zentorix;

namespace {

// A window with the landscape page open on the given sub-page.
struct LandscapeFixture : test::WindowFixture {
    explicit LandscapeFixture(int subPage = 0) {
        Find<QTabWidget>("PageControl1")->setCurrentWidget(Find<QWidget>("Landscape"));
        Find<QTabWidget>("LandPageControl")->setCurrentIndex(subPage);
    }
    QString label(const char* name) const { return Find<QLabel>(name)->text(); }
    QRgb Shown(Colour ColourModel::*colour) { return app::ToRgb(settings().Colours.*colour); }
    QString FieldFile(const QString& name) const {
        return app::FromPath(Folder().Field()) + "/" + name;
    }
};

}  // namespace

class LandscapePageTest : public QObject {
    Q_OBJECT

  private slots:
    void rhythmLabelsAndLayerSwitches() {
        LandscapeFixture f;
        Settings& s = f.settings();
        // The rhythm labels take the word that goes with the count.
        QCOMPARE(f.label("EternalLifeIntensityLabel"), QStringLiteral("На 1 покоління"));
        auto* period = f.Find<QSpinBox>("IntEternalLifePeriod");
        period->setValue(4);
        QCOMPARE(s.EternalLifePeriod, 4);
        QCOMPARE(f.label("EternalLifePeriodLabel"), QStringLiteral("Через 4 покоління"));
        period->setValue(5);
        QCOMPARE(f.label("EternalLifePeriodLabel"), QStringLiteral("Через 5 поколінь"));
        // Values read from a file reach the up-downs and the labels.
        s.EternalDeadPeriod = 3;
        emit f.window->session().ModelChanged();
        QCOMPARE(f.Find<QSpinBox>("IntEternalDeadPeriod")->value(), 3);
        QCOMPARE(f.label("EternalDeadPeriodLabel"), QStringLiteral("Через 3 покоління"));
        // A language's words and threshold; without a number, the built-in one.
        app::LandscapeTexts texts{"2", " gen.", " gens.", "Every "};
        f.Find<app::LandscapePage>("Landscape")->SetTexts(texts);
        QCOMPARE(f.label("EternalDeadPeriodLabel"), QStringLiteral("Every 3 gens."));
        texts.threshold = "many";
        QCOMPARE(app::GenerationsLabel(texts, "x", 4), QStringLiteral("x4 gen."));
        QCOMPARE(app::GenerationsLabel(texts, "x", 5), QStringLiteral("x5 gens."));

        // Each switch and its twin in the status bar show one setting.
        const std::pair<const char*, bool Settings::*> switches[] = {
            {"EternalLifeOn", &Settings::EternalLifeOn},
            {"EternalDeadOn", &Settings::EternalDeadOn},
            {"OtherRealityOn", &Settings::OtherRealityOn},
            {"OtherRealPaint", &Settings::OtherRealPaint}};
        for (auto [name, setting] : switches) {
            auto* box = f.Find<QCheckBox>(name);
            auto* twin = f.Find<QCheckBox>(QByteArray(name) + "StatusBar");
            const bool on = s.*setting;
            QVERIFY(box->isChecked() == on && twin->isChecked() == on);
            box->click();
            QVERIFY(s.*setting != on && twin->isChecked() != on);
            twin->click();
            QVERIFY(s.*setting == on && box->isChecked() == on);
        }
        // The switch repaints: a layer cell drawn behind the view's back shows.
        f.world().EternalLifeField.at(3, 4) = 1;
        QVERIFY(f.CellPixel(3, 4) != f.Shown(&ColourModel::BirthColour));
        f.Find<QCheckBox>("EternalLifeOn")->click();
        QCOMPARE(f.CellPixel(3, 4), f.Shown(&ColourModel::BirthColour));
        f.Find<QCheckBox>("EternalLifeOnStatusBar")->click();

        // Feedback and synchronisation are shown as stored, but cannot be changed.
        auto* feedBack = f.Find<QCheckBox>("FeedBack");
        auto* sync = f.Find<QCheckBox>("Synchronization");
        QVERIFY(!feedBack->isEnabled() && !sync->isEnabled());
        s.FeedBack = s.Synchronization = true;
        emit f.window->session().ModelChanged();
        QVERIFY(feedBack->isChecked() && sync->isChecked());
        // Display switches repaint at once.
        f.Find<QCheckBox>("EternalLifeRefresh")->click();
        QVERIFY(!s.EternalLifeRefresh);
        QCOMPARE(f.CellPixel(3, 4), f.Shown(&ColourModel::BackgroundColour));
    }

    void layerLibrariesSaveUnderTheNameOrTheDefaultAndLoadBack() {
        LandscapeFixture f;
        World& w = f.world();
        auto* list = f.Find<QComboBox>("EternalLifeComboBox");
        auto* save = f.Find<QPushButton>("SaveEternalLifeButton");
        auto* period = f.Find<QSpinBox>("IntEternalLifePeriod");
        QCOMPARE(list->count(), 0);
        // An empty name takes the stem and the number of entries.
        for (const char* name : {"EternalLifeField0", "EternalLifeField1"}) {
            list->lineEdit()->clear();
            save->click();
            QCOMPARE(list->currentText(), QString(name));
            QVERIFY(QFile::exists(f.FieldFile(QString(name) + ".bfld")));
        }
        test::Draw(w.EternalLifeField, 10, 10, {"*.*", ".*."});
        f.settings().EternalLifePeriod = 7;
        list->lineEdit()->setText("hills");
        save->click();
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->currentText(), QStringLiteral("hills"));
        // Choosing the entry loads the layer and its rhythm and shows them.
        w.EternalLifeField.Clear();
        period->setValue(2);
        test::Choose(list, 2);
        QCOMPARE(period->value(), 7);
        QCOMPARE(f.CellPixel(10, 10), f.Shown(&ColourModel::BirthColour));

        // The Other Reality file brings its speed back to both speed controls.
        auto* areas = f.Find<QComboBox>("RulesComboBoxOR");
        f.Find<QSlider>("SpeedOtherReality")->setValue(7);
        w.OtherRealityField.at(5, 6) = 1;
        areas->lineEdit()->setText("area");
        f.Find<QPushButton>("SaveRulesButtonOR")->click();
        QVERIFY(QFile::exists(f.FieldFile("area.rfld")));
        f.Find<QSlider>("TrackBar1")->setValue(300);
        w.OtherRealityField.at(5, 6) = 0;
        test::Choose(areas, 0);
        QCOMPARE(f.Find<QSlider>("SpeedOtherReality")->value(), 7);
        QCOMPARE(f.Find<QSlider>("TrackBar1")->value(), 7);
        QCOMPARE(w.OtherRealityField.at(5, 6), 1);
        // The list of another layer did not take these files.
        QCOMPARE(f.Find<QComboBox>("EternalDeadComboBox")->count(), 0);

        // A malformed number: the message, the layer kept, and the controls show
        // what was read before the bad line.
        test::WriteFile(f.FieldFile("broken.bfld"),
                        "#File of Eternal Life Field for Zentorix\r\n"
                        "#EternalLifePeriod    9\r\n#EternalLifeIntensity x1\r\n#LB 5o!\r\n");
        f.Find<app::LandscapePage>("Landscape")->RefreshLayerFileLists();
        QString message;
        test::AnswerQuestion(QMessageBox::Ok, &message);
        test::Choose(list, list->findText("broken"));
        QCOMPARE(message, QStringLiteral("'x1' is not a valid integer value"));
        QCOMPARE(period->value(), 9);
        QCOMPARE(w.EternalLifeField.at(11, 11), 1);

        // A new window lists what the folder holds.
        f.Close();
        f.Open();
        QCOMPARE(f.Find<QComboBox>("EternalLifeComboBox")->count(), 4);
        QCOMPARE(f.Find<QComboBox>("RulesComboBoxOR")->count(), 1);
    }

    void otherRealityRunsCopiesAndRandomFills() {
        LandscapeFixture f(1);
        World& w = f.world();
        app::RunControl& run = f.window->runControl();
        auto* run2 = f.Find<QToolButton>("SpeedButton2");
        auto* run10 = f.Find<QToolButton>("SpeedButton10");
        auto* run1 = f.Find<QToolButton>("SpeedButton1");
        auto* stop = f.Find<QToolButton>("SpeedButton4");
        // Any of the three run buttons starts or stops the area; all show it.
        for (auto* button : {run2, run1, run10, stop}) {
            const bool running = button != stop && !run.OtherRealityRunning();
            button->click();
            QCOMPARE(run.OtherRealityRunning(), running);
            for (auto* shown : {run2, run10, run1})
                QCOMPARE(shown->isChecked(), running);
        }
        // The speed has two controls.
        auto* speed = f.Find<QSlider>("SpeedOtherReality");
        auto* twin = f.Find<QSlider>("TrackBar1");
        QCOMPARE(f.label("InfoSpeedORPanel"), QStringLiteral("20ms  "));
        speed->setValue(300);
        QCOMPARE(twin->value(), 300);
        QCOMPARE(f.settings().SpeedOtherReality, 300);
        twin->setValue(40);
        QCOMPARE(speed->value(), 40);
        QCOMPARE(f.label("InfoSpeedORPanel"), QStringLiteral("40ms  "));
        // A running area evolves on its own timer.
        w.OtherRealityField.at(20, 20) = 1;  // a lone cell dies under rule set 2
        twin->setValue(1);
        run2->click();
        QTRY_COMPARE(w.OtherRealityField.at(20, 20), 0);
        stop->click();
        // A step by hand is shown at once: a blinker turns.
        w.OtherRealityField.Clear();
        test::Draw(w.OtherRealityField, 20, 20, {"***"});
        f.Find<QToolButton>("SpeedButton5")->click();
        QCOMPARE(f.CellPixel(21, 19), f.Shown(&ColourModel::BigGridColour));
        QVERIFY(f.CellPixel(20, 20) != f.Shown(&ColourModel::BigGridColour));
        f.Find<QToolButton>("SpeedButton12")->click();
        QCOMPARE(f.CellPixel(20, 20), f.Shown(&ColourModel::BigGridColour));

        // The copy writes the chosen layer.
        w.MainField.at(4, 4) = 1;
        test::Choose(f.Find<QComboBox>("CopyFromComboBox"), 0);
        test::Choose(f.Find<QComboBox>("CopyToComboBox"), 3);
        f.Find<QPushButton>("CopyFieldButton")->click();
        QCOMPARE(w.OtherRealityField.at(4, 4), 1);
        // The fill button writes the random-fill targets at its intensity in
        // per cent, and the field shows them.
        f.Find<QCheckBox>("EtenalDeadFillRandom")->click();
        f.Find<QSpinBox>("IntRandomFillIntensity")->setValue(100);
        f.Find<QPushButton>("FillRandomButton")->click();
        QCOMPARE(f.CellPixel(9, 9), f.Shown(&ColourModel::DeadColour));

        // The sub-page shown is remembered for the settings file.
        QCOMPARE(f.settings().PagesOpen2, 1);
        f.Screenshot("landscape_edit");
        f.Find<QTabWidget>("LandPageControl")->setCurrentIndex(0);
        QCOMPARE(f.settings().PagesOpen2, 0);
        f.Screenshot("landscape_layers");
        // Every page fits the narrow tool panel: nothing is cut at its right edge.
        auto* panel = f.Find<QScrollArea>("Panel7");
        QVERIFY(panel->widget()->minimumSizeHint().width() <= panel->viewport()->width());
    }
};

QTEST_MAIN(LandscapePageTest)
#include "landscape_page_test.moc"
