#include <QElapsedTimer>
#include <QGroupBox>
#include <QListWidget>
#include <QMenu>
#include <QStackedWidget>

#include "app/language_control.h"
#include "app/popup_panels.h"
#include "app_test_support.h"
#include "engine/rule_text.h"
#include "i18n/language_file.h"

using namespace zentorix;
using namespace zentorix::test;

namespace {

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

// The caption a control shows, whatever kind of control it is.
QString ShownCaption(QObject* control) {
    if (auto* action = qobject_cast<QAction*>(control))
        return action->text();
    if (auto* menu = qobject_cast<QMenu*>(control))
        return menu->title();
    if (auto* group = qobject_cast<QGroupBox*>(control))
        return group->title();
    if (auto* widget = qobject_cast<QWidget*>(control);
        widget && qobject_cast<QStackedWidget*>(widget->parentWidget())) {
        if (auto* tabs = qobject_cast<QTabWidget*>(widget->parentWidget()->parentWidget()))
            return tabs->tabText(tabs->indexOf(widget));
    }
    return control->property("text").toString();
}

}  // namespace

class LanguageTest : public QObject {
    Q_OBJECT

  private slots:
    void SwitchingChangesEveryCaptionAndNoRuleOrSelection() {
        WindowFixture f;
        f.Close();
        CopyShippedLanguages(f.dir.path());
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
        QCOMPARE(Captions(f).join('|'),
                 QStringLiteral("File|Open...|Intensity|Eternal Life|Hints|Exit|Colours|Colours|"
                                "Eternal Life|START|Colour by age|Every 1 generation|"
                                "Generation =|Open a file (Ctrl+O)|EN"));
        QCOMPARE(copyTo->currentIndex(), 2);
        QCOMPARE(f.world().Editor.EditedRuleSet, std::int16_t{2});
        for (int i = 0; i < 3; ++i)
            QCOMPARE(RuleToString(f.world(), 0, i), rules[i]);
        QCOMPARE(f.settings().Language, std::string("english.lng"));
        QCOMPARE(f.window->HelpFile().endsWith("ZentorixEN.html"),
                 QFile::exists(f.dir.path() + "/ZentorixEN.html"));

        // Every component key names a control of the window, and that control shows
        // the key's English caption.
        LanguageTexts texts = DefaultLanguageTexts();
        const auto file = ReadLanguageFile(
            app::ToPath(QStringLiteral(ZENTORIX_SHIPPED_DATA "/Language/english.lng")), texts);
        QVERIFY(file && file->error.empty());
        QHash<QString, QString> captions;
        for (const auto& [key, value] : file->captions)
            captions.insert(QString::fromStdString(key), QString::fromStdString(value));
        QStringList missing, wrong;
        int compared = 0;
        for (std::string_view key : kComponentKeys) {
            const QString name = QString::fromUtf8(key.data(), static_cast<int>(key.size()));
            QObject* control = f.window->findChild<QObject*>(name);
            if (!control) {
                missing << name;
                continue;
            }
            if (!captions.contains(name))
                continue;
            ++compared;
            if (const QString shown = ShownCaption(control); shown != captions.value(name))
                wrong << name + ": " + shown;
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(' ')));
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(" | ")));
        QCOMPARE(compared, static_cast<int>(kComponentKeys.size()));

        language.ApplyLanguageFile("ukraine.lng");
        QCOMPARE(Captions(f), ukrainian);
        QCOMPARE(copyTo->currentIndex(), 2);
    }

    void FirstStartOffersTheChoiceAndTheChoiceSurvivesARestart() {
        WindowFixture f;
        f.Close();
        QFile::remove(f.dir.path() + "/Zentorix.ini");
        CopyShippedLanguages(f.dir.path());
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
};

QTEST_MAIN(LanguageTest)
#include "language_test.moc"
