// Measures how long the controls of the rules page take to apply while the
// automaton runs at speed 0 on a 997 by 997 random soup (offscreen), and how
// long choosing a built-in rule, reading a rule file and reading a typed rule
// take. Each action runs between two generations, as a user's click does.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/main_window.h"
#include "app/rules_page.h"
#include "formats/rule_file.h"
#include "soup.h"

using namespace zentorix;

namespace {

struct Action {
    Action(const char* n, std::function<void(int)> r) : name(n), run(std::move(r)) {}
    const char* name;
    std::function<void(int)> run;  // the argument counts the repetitions
    std::vector<double> ms;
};

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;

    QTemporaryDir dir;
    app::MainWindow window(ProgramFolder{app::ToPath(dir.path())}, {});
    window.resize(1600, 1000);
    window.show();
    QApplication::processEvents();
    World& world = window.session().world();
    bench::FillSoup(world, 997);
    window.session().settings().CellSize = 1;
    window.RefreshFromModel();
    // A rule file to read back.
    world.Editor.RulesComboBoxText = "bench";
    SaveRuleFile(world, window.session().folder().Rules(), "bench");
    auto* page = window.findChild<app::RulesPage*>("TabSheet3");
    page->RefreshRuleFileList();

    auto find = [&window](const char* name) { return window.findChild<QWidget*>(name); };
    auto* rules = window.findChild<QComboBox*>("RulesComboBox");
    auto choose = [](QComboBox* list, int index) {
        list->setCurrentIndex(index);
        emit list->activated(index);
    };
    std::vector<Action> actions = {
        {"weight IntNW", [&](int i) { static_cast<QSpinBox*>(find("IntNW"))->setValue(i % 2); }},
        {"shape ComboBox2",
         [&](int i) { choose(window.findChild<QComboBox*>("ComboBox2"), i % 2 ? 2 : 0); }},
        {"ExtRegion", [&](int) { static_cast<QCheckBox*>(find("ExtRegion"))->click(); }},
        {"HistoryOn", [&](int) { static_cast<QCheckBox*>(find("HistoryOn"))->click(); }},
        {"IntHistoryRange",
         [&](int i) { static_cast<QSpinBox*>(find("IntHistoryRange"))->setValue(3 + i % 5); }},
        {"B3 box", [&](int) { static_cast<QCheckBox*>(find("B3"))->click(); }},
        {"BirthStr Enter", [&](int) { QTest::keyClick(find("BirthStr"), Qt::Key_Return); }},
        {"birth range -2048..2048",
         [&](int i) {
             static_cast<QSpinBox*>(find("MinBirth"))->setValue(i % 2 ? -2048 : 3);
             static_cast<QSpinBox*>(find("MaxBirth"))->setValue(i % 2 ? 2048 : 3);
         }},
        {"swap SpeedButton9",
         [&](int) { static_cast<QToolButton*>(find("SpeedButton9"))->click(); }},
        {"RulesSelectorBox",
         [&](int i) { choose(window.findChild<QComboBox*>("RulesSelectorBox"), i % 2 ? 1 : 0); }},
        {"built-in rule (RulesComboBox)", [&](int i) { choose(rules, i % 147); }},
        {"built-in rule (ComboBox1)",
         [&](int i) { choose(window.findChild<QComboBox*>("ComboBox1"), (i * 7) % 147); }},
        {"rule file (RulesComboBox)", [&](int) { choose(rules, rules->findText("bench")); }},
        {"typed rule B36/S23",
         [&](int i) {
             auto* edit = static_cast<QLineEdit*>(find("RuleTextEdit"));
             edit->setText(i % 2 ? "B36/S23" : "345/2/4");
             QTest::keyClick(edit, Qt::Key_Return);
         }},
    };

    window.findChild<QSlider*>("SpeedTrackBar")->setValue(0);
    window.runControl().StartButtonClick();
    std::size_t next = 0;
    int round = 0;
    const int firstGeneration = window.runControl().ShownGeneration();
    QElapsedTimer clock;
    clock.start();
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &app, [&] {
        if (round == repetitions) {
            window.runControl().StopButtonClick();
            app.quit();
            return;
        }
        QElapsedTimer one;
        one.start();
        actions[next].run(round);
        actions[next].ms.push_back(static_cast<double>(one.nsecsElapsed()) / 1e6);
        if (++next == actions.size()) {
            next = 0;
            ++round;
        }
    });
    tick.start(5);
    QApplication::exec();
    const int generations = window.runControl().ShownGeneration() - firstGeneration;
    std::printf("run at speed 0 on 997x997 went on: %d generations, %.1f ms each\n", generations,
                static_cast<double>(clock.elapsed()) / std::max(1, generations));
    std::printf("%-32s %9s %9s\n", "action", "mean ms", "max ms");
    for (const Action& a : actions) {
        double sum = 0, most = 0;
        for (double v : a.ms) {
            sum += v;
            most = std::max(most, v);
        }
        std::printf("%-32s %9.3f %9.3f\n", a.name, sum / static_cast<double>(a.ms.size()), most);
    }
    return 0;
}
