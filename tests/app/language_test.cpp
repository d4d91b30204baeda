#include <QElapsedTimer>
#include <QGroupBox>
#include <QListWidget>
#include <QMenu>

#include "app/language_control.h"
#include "app/popup_panels.h"
#include "app_test_support.h"
#include "engine/rule_text.h"
#include "i18n/language_file.h"

using namespace zentorix;
using namespace zentorix::test;

namespace {

// Components that other work puts into the window (the editing commands of the
// view's context menu and the rules page); the list shrinks as they arrive.
const QStringList kNotYetInWindow = {"Label2", "Label74", "Label15", "Label59"};
// Captions of finished pages that have no control of their own name yet.
const QStringList kCaptionsWithoutControl = {
    "Cansel04", "Label53", "Label54", "Label55", "Cansel05", "Label39", "Label18", "Label5",
    "Label6",   "Label4",  "Label67", "Label7",  "Label64",  "Label35", "Label31", "Label104",
    "Label41",  "Label40", "Label1",  "Label14", "Label17",  "Label44", "Label60", "Label61",
    "Label11",  "Label16", "Label76", "Label19", "Label84"};

void CopyLanguages(const QString& programFolder) {
    const QDir shipped(QStringLiteral(ZENTORIX_SHIPPED_DATA "/Language"));
    QDir(programFolder).mkpath("Language");
    for (const QString& name : shipped.entryList(QDir::Files))
        QFile::copy(shipped.filePath(name), programFolder + "/Language/" + name);
}

// What a user reads in the window: one caption of every kind.
QStringList Captions(const WindowFixture& f) {
    auto* pages = f.Find<QTabWidget>("PageControl1");
    return {f.Find<QMenu>("File1")->title(),
            f.window->findChild<QAction*>("Open1")->text(),
            f.Find<QLabel>("Label97")->text(),
            f.Find<QGroupBox>("Label65")->title(),
            f.Find<QCheckBox>("ShowHints")->text(),
            f.Find<QPushButton>("ExitButton")->text(),
            pages->tabText(pages->indexOf(f.Find<QWidget>("TabSheet2"))),
            f.Find<QToolButton>("PageButton2")->text(),
            f.Find<QComboBox>("CopyToComboBox")->itemText(1),
            f.Find<QPushButton>("StartButton")->text(),
            f.Find<QCheckBox>("ColorMode")->text(),
            f.Find<QLabel>("EternalLifePeriodLabel")->text(),
            f.Find<QLabel>("StatusPanel0")->text(),
            f.Find<QToolButton>("OpenFileButton")->toolTip(),
            f.Find<QLabel>("Panel16")->text()};
}

}  // namespace

class LanguageTest : public QObject {
    Q_OBJECT

  private slots:
    void SwitchingChangesEveryKindOfCaptionAndNoRuleOrSelection() {
        WindowFixture f;
        f.Close();
        CopyLanguages(f.dir.path());
        QFile::remove(f.dir.path() + "/Language/#SelLangStart");
        f.Open();
        app::LanguageControl& language = f.window->language();
        const QStringList ukrainian = Captions(f);
        QCOMPARE(ukrainian.first(), QStringLiteral("Файл"));

        // A state a language switch must not disturb: rule set 2 edited with its
        // own rule, a layer chosen in a list.
        auto* copyTo = f.Find<QComboBox>("CopyToComboBox");
        Choose(copyTo, 2);
        Choose(f.Find<QComboBox>("RulesSelectorBox"), 2);
        QCOMPARE(f.world().Editor.EditedRuleSet, std::int16_t{2});
        const std::string rules[3] = {RuleToString(f.world(), 0, 0), RuleToString(f.world(), 0, 1),
                                      RuleToString(f.world(), 0, 2)};

        QElapsedTimer timer;
        timer.start();
        language.ApplyLanguageFile("english.lng");
        qInfo("applying english.lng to the window: %lld ms", timer.elapsed());
        const QStringList english = Captions(f);
        const QStringList expected = {"File",
                                      "Open...",
                                      "Intensity",
                                      "Eternal Life",
                                      "Hints",
                                      "Exit",
                                      "Colours",
                                      "Colours",
                                      "Eternal Life",
                                      "START",
                                      "Colour by age",
                                      "Every 1 generation",
                                      "Generation =",
                                      "Open a file (Ctrl+O)",
                                      "EN"};
        QCOMPARE(english, expected);
        QCOMPARE(copyTo->currentIndex(), 2);
        QCOMPARE(f.world().Editor.EditedRuleSet, std::int16_t{2});
        for (int i = 0; i < 3; ++i)
            QCOMPARE(RuleToString(f.world(), 0, i), rules[i]);
        QCOMPARE(f.settings().Language, std::string("english.lng"));
        QCOMPARE(f.window->HelpFile().endsWith("ZentorixEN.html"),
                 QFile::exists(f.dir.path() + "/ZentorixEN.html"));

        language.ApplyLanguageFile("ukraine.lng");
        QCOMPARE(Captions(f), ukrainian);
        QCOMPARE(copyTo->currentIndex(), 2);
    }

    void FirstStartOffersTheChoiceAndTheChoiceSurvivesARestart() {
        WindowFixture f;
        f.Close();
        QFile::remove(f.dir.path() + "/Zentorix.ini");
        CopyLanguages(f.dir.path());
        f.Open();
        QFrame* panel = f.window->popups().panel("ChangeLanguagePanel");
        QTRY_VERIFY(panel->isVisible());
        auto* list = f.Find<QListWidget>("LanguageListBox");
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->item(0)->text(), QStringLiteral("English"));

        // A click previews; Cancel puts back the language the panel opened with.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(0)).center());
        QCOMPARE(f.Find<QMenu>("File1")->title(), QStringLiteral("File"));
        f.Find<QPushButton>("Cansel03")->click();
        QVERIFY(!panel->isVisible());
        QCOMPARE(f.Find<QMenu>("File1")->title(), QStringLiteral("Файл"));

        f.window->findChild<QAction*>("Language1")->trigger();
        QVERIFY(panel->isVisible());
        list->setCurrentRow(0);
        f.Find<QPushButton>("ChangeLanguage1")->click();
        QVERIFY(!panel->isVisible());
        f.Close();

        f.Open();  // the settings file now exists: no panel, the language as chosen
        QVERIFY(!panel || !f.window->popups().panel("ChangeLanguagePanel")->isVisible());
        QCOMPARE(f.Find<QMenu>("File1")->title(), QStringLiteral("File"));
        QCOMPARE(f.window->language().CurrentLanguageFile(), QStringLiteral("english.lng"));
        QCOMPARE(f.world().Editor.RulesComboBoxText, std::string("Conway`s Life"));
    }

    void EveryComponentKeyIsAControlOfTheWindow() {
        WindowFixture f;
        QStringList missing;
        for (std::string_view key : kComponentKeys) {
            const QString name = QString::fromUtf8(key.data(), static_cast<int>(key.size()));
            if (!f.window->findChild<QObject*>(name) && !kNotYetInWindow.contains(name) &&
                !kCaptionsWithoutControl.contains(name))
                missing << name;
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(' ')));
    }
};

QTEST_MAIN(LanguageTest)
#include "language_test.moc"
