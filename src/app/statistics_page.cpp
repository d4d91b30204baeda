#include "app/statistics_page.h"

#include <QDockWidget>
#include <QGridLayout>
#include <QGroupBox>
#include <QMouseEvent>
#include <QStatusBar>
#include <QVBoxLayout>
#include <functional>

#include "app/main_window.h"
#include "app/panel_docks.h"
#include "app/popup_panels.h"
#include "app/statistics_chart.h"

namespace zentorix::app {

namespace {

// A coloured panel that tells a state by its colour and acts on a click.
class ColourPanel : public QLabel {
  public:
    ColourPanel(const char* name, const QString& caption, std::function<void()> clicked,
                QWidget* parent)
        : QLabel(caption, parent), clicked_(std::move(clicked)) {
        setObjectName(name);
        setAlignment(Qt::AlignCenter);
        setFrameStyle(QFrame::Panel | QFrame::Raised);
        setAutoFillBackground(true);
        setMinimumHeight(20);
    }
    void SetColour(std::uint32_t rgb) {
        QPalette p = palette();
        p.setColor(QPalette::Window, QColor::fromRgb(static_cast<QRgb>(rgb)));
        p.setColor(QPalette::WindowText, Qt::black);
        setPalette(p);
    }

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton)
            clicked_();
    }

  private:
    std::function<void()> clicked_;
};

ColourPanel* AsPanel(QLabel* label) {
    return static_cast<ColourPanel*>(label);
}

}  // namespace

StatisticsPage::StatisticsPage(MainWindow& window, QWidget* parent)
    : QWidget(parent), window_(window), recorder_(window.session().folder().Root / "stat.txt") {
    setObjectName("TabSheet4");
    auto* layout = MakeColumn(this);
    chart_ = new StatisticsChart(this);
    layout->addWidget(MakePanelDock("GraphStatisticPanel", tr("Графік"), chart_, this));
    layout->addWidget(BuildScalePanel());
    layout->addWidget(BuildRecordPanel());
    layout->addStretch(1);
    BuildPopups();

    RunControl& run = window.runControl();
    connect(&run, &RunControl::GenerationCounted, this, &StatisticsPage::GenerationCounted);
    connect(&run, &RunControl::Stopped, this, &StatisticsPage::Stopped);
    connect(chart_, &StatisticsChart::PageRequested, this, &StatisticsPage::StartPage);
    window.bindings().OnRefresh([this] {
        // A file may have armed or disarmed the automatic start.
        if (!recorder_.Recording())
            recorder_.AutoStartRecordClick(window_.session().settings(),
                                           window_.session().settings().AutoStartRecord);
        ShowRecorder(true);
        ShowAutoScalePanel();
    });
    recorder_.AutoStartRecordClick(window.session().settings(),
                                   window.session().settings().AutoStartRecord);
    ShowRecorder(true);
    ShowAutoScalePanel();
}

QWidget* StatisticsPage::BuildScalePanel() {
    Bindings& bind = window_.bindings();
    auto* group = new QGroupBox(tr("Масштаб осей"), this);
    group->setObjectName("Label41");
    scalePanel_ = WrapNamed("ScaleOfAxesPanel", group, this);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setSpacing(2);
    auto* scaleX = MakeUpDown("StatisticScaleX", "StringStatisticScaleX", 1, 30, group);
    scaleX->setToolTip(tr("Пікселів на покоління понад один"));
    bind.UpDown(scaleX, &Settings::StatisticScaleX);
    scaleY_ = MakeUpDown("StatisticScaleY", "StringStatisticScaleY", 1, 9999, group);
    scaleY_->setToolTip(tr("Клітин на піксель"));
    bind.UpDown(scaleY_, &Settings::StatisticScaleY);
    grid->addWidget(MakeLabel("Label86", "X", group), 0, 0);
    grid->addWidget(scaleX, 0, 1);
    grid->addWidget(MakeLabel("Label87", "Y", group), 1, 0);
    grid->addWidget(scaleY_, 1, 1);
    autoScale_ = MakeCheckBox("AutoScaleY", QString(), group);
    bind.Check(autoScale_, &Settings::AutoScaleY, [this] { ShowAutoScalePanel(); });
    autoScalePanel_ = new ColourPanel(
        "AutoScaleYPanel", QStringLiteral("AutoScale Y"), [this] { autoScale_->click(); }, group);
    auto* thresholds = MakeButton("StatButton1", tr("Пороги..."), group);
    connect(thresholds, &QPushButton::clicked, this, &StatisticsPage::StatButton1Click);
    grid->addWidget(autoScale_, 2, 0);
    grid->addWidget(autoScalePanel_, 2, 1);
    grid->addWidget(thresholds, 3, 0, 1, 2);
    return scalePanel_;
}

QWidget* StatisticsPage::BuildRecordPanel() {
    Bindings& bind = window_.bindings();
    auto* group = new QGroupBox(tr("Запис у файл"), this);
    group->setObjectName("Label61");
    recordPanel_ = WrapNamed("RecordIntoFilePanel", group, this);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setSpacing(2);
    recordButton_ = MakeButton("RecordStatisticButton", tr("Запис"), group);
    recordButton_->setCheckable(true);
    connect(recordButton_, &QPushButton::clicked, this,
            &StatisticsPage::RecordStatisticButtonClick);
    autoStart_ = MakeCheckBox("AutoStartRecord", QString(), group);
    bind.Check(autoStart_, &Settings::AutoStartRecord, [this] {
        recorder_.AutoStartRecordClick(window_.session().settings(),
                                       window_.session().settings().AutoStartRecord);
        ShowRecorder(true);
    });
    autoStartPanel_ = new ColourPanel(
        "AutoStartRecordPanel", QStringLiteral("AutoStart"), [this] { autoStart_->click(); },
        group);
    auto* range = MakeButton("StatButton2", tr("Діапазон..."), group);
    connect(range, &QPushButton::clicked, this, &StatisticsPage::StatButton2Click);
    // Where the file goes, so a user can find it.
    const QString file = FromPath(recorder_.File());
    // A folder path has no spaces to wrap at: a break is allowed after each
    // separator, so a long path takes more lines instead of widening the panel.
    auto* where =
        MakeLabel("StatFileLabel", QString(file).replace('/', QStringLiteral("/\u200B")), group);
    where->setToolTip(file);
    where->setWordWrap(true);
    where->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(recordButton_, 0, 0, 1, 2);
    grid->addWidget(autoStart_, 1, 0);
    grid->addWidget(autoStartPanel_, 1, 1);
    grid->addWidget(range, 2, 0, 1, 2);
    grid->addWidget(MakeLabel("Label11", tr("Файл stat.txt"), group), 3, 0, 1, 2);
    grid->addWidget(where, 4, 0, 1, 2);
    return recordPanel_;
}

void StatisticsPage::BuildPopups() {
    Bindings& bind = window_.bindings();
    struct Row {
        const char* label;
        const char* upDown;
        const char* edit;
        QString caption;
    };
    const struct {
        const char* panel;
        const char* title;
        QString heading;
        Row rows[2];
        const char* close;
    } popups[] = {
        {"ThresholdPanel",
         "Label40",
         tr("Пороги графіка"),
         {{"ThresholdMinLabel", "MinThreshold", "StringMinThreshold", tr("Нижній поріг, пікселів")},
          {"ThresholdMaxLabel", "MaxThreshold", "StringMaxThreshold",
           tr("Верхній поріг, пікселів")}},
         "Cansel04"},
        {"AutoStartRangePanel",
         "Label53",
         tr("Автоматичний запис"),
         {{"Label54", "StartRecordStatistic", "StringStartRecordStatistic", tr("Від покоління")},
          {"Label55", "EndRecordStatistic", "StringEndRecordStatistic", tr("До покоління")}},
         "Cansel05"}};
    for (const auto& popup : popups) {
        QFrame* panel = window_.popups().panel(popup.panel);
        auto* layout = new QGridLayout(panel);
        QLabel* heading = MakeLabel(popup.title, popup.heading, panel);
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        layout->addWidget(heading, 0, 0, 1, 2);
        QSpinBox* spins[2] = {};
        for (int i = 0; i < 2; ++i) {
            spins[i] = MakeUpDown(popup.rows[i].upDown, popup.rows[i].edit, 1, 32000, panel);
            layout->addWidget(MakeLabel(popup.rows[i].label, popup.rows[i].caption, panel), i + 1,
                              0);
            layout->addWidget(spins[i], i + 1, 1);
        }
        auto* close = MakeButton(popup.close, tr("Закрити"), panel);
        connect(close, &QPushButton::clicked, panel, &QWidget::hide);
        layout->addWidget(close, 3, 1);
        if (popup.panel == std::string("ThresholdPanel")) {
            bind.UpDown(spins[0], &Settings::MinThreshold);
            bind.UpDown(spins[1], &Settings::MaxThreshold);
        } else {
            bind.UpDown(spins[0], &Settings::StartRecordStatistic);
            bind.UpDown(spins[1], &Settings::EndRecordStatistic);
        }
    }
}

void StatisticsPage::TogglePopup(const char* name, QWidget* below, int offset) {
    PopupPanels& popups = window_.popups();
    popups.Toggle(name);
    QFrame* panel = popups.panel(name);
    if (!panel->isVisible())
        return;
    // Beside the tool panel, its right edge 7 pixels over the panel's left edge,
    // level with the controls it belongs to.
    QWidget* host = panel->parentWidget();
    QWidget* toolPanel = window_.findChild<QWidget*>("Panel7");
    const int toolLeft = toolPanel ? toolPanel->mapTo(host, QPoint(0, 0)).x() : host->width();
    const int top =
        below->isVisible() ? below->mapTo(host, QPoint(0, 0)).y() + offset : host->height() / 3;
    panel->move(std::max(0, toolLeft - panel->width() + 7),
                std::clamp(top, 0, std::max(0, host->height() - panel->height())));
}

void StatisticsPage::StatButton1Click() {
    TogglePopup("ThresholdPanel", scalePanel_, 40);
}

void StatisticsPage::StatButton2Click() {
    TogglePopup("AutoStartRangePanel", recordPanel_, 20);
}

void StatisticsPage::RecordStatisticButtonClick() {
    recorder_.RecordStatisticButtonClick(window_.session().world(), window_.session().settings());
    ShowRecorder(true);
}

void StatisticsPage::GenerationCounted(const World& world) {
    Settings& settings = window_.session().settings();
    recorder_.RecordGenerationStatistics(world, settings);
    const GenerationCounters& c = world.Counters;
    ShowGraphStep(
        graph_.Draw(c.LiveCount, c.BornCount, c.DiedCount, recorder_.History(), settings));
    ShowRecorder(false);
}

void StatisticsPage::Stopped() {
    recorder_.RunStopped(window_.session().world(), window_.session().settings());
    ShowRecorder(true);
}

void StatisticsPage::StartPage() {
    graph_.SetSize(chart_->width(), chart_->height());
    const GenerationCounters& c = window_.session().world().Counters;
    ShowGraphStep(graph_.StartPage(c.LiveCount, c.BornCount, c.DiedCount, recorder_.History(),
                                   window_.session().settings()));
}

void StatisticsPage::ShowGraphStep(const GraphStep& step) {
    chart_->Apply(step, graph_);
    // The automatic scale may have changed Y. At full speed pages begin many
    // times a second: an unchanged box is not set again (that would repaint it).
    if (step.newPage && scaleY_->value() != window_.session().settings().StatisticScaleY) {
        const QSignalBlocker block(scaleY_);
        scaleY_->setValue(window_.session().settings().StatisticScaleY);
    }
}

void StatisticsPage::ShowAutoScalePanel() {
    AsPanel(autoScalePanel_)
        ->SetColour(window_.session().settings().AutoScaleY ? panel_colour::Lime
                                                            : panel_colour::MoneyGreen);
}

void StatisticsPage::ShowRecorder(bool now) {
    const std::string failure = recorder_.TakeFailure();
    if (!failure.empty())
        window_.statusBar()->showMessage(
            tr("Файл статистики не записано: %1").arg(QString::fromStdString(failure)), 15000);
    const bool changed = recorder_.Changes() != shownChanges_;
    // While recording, the caption changes every generation: it is shown at most
    // 10 times a second, as the chart is.
    if (!changed && !now && captionShown_.isValid() && captionShown_.elapsed() < 100)
        return;
    captionShown_.start();
    if (changed) {
        shownChanges_ = recorder_.Changes();
        AsPanel(autoStartPanel_)->SetColour(recorder_.Panel().colour);
        const QSignalBlocker block(autoStart_);
        autoStart_->setChecked(window_.session().settings().AutoStartRecord);
    }
    autoStartPanel_->setText(QString::fromStdString(recorder_.Panel().caption));
    if (recordButton_->isChecked() != recorder_.Recording()) {
        const QSignalBlocker block(recordButton_);
        recordButton_->setChecked(recorder_.Recording());
    }
}

}  // namespace zentorix::app
