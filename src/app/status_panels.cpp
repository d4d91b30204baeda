#include "app/status_panels.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <algorithm>

#include "app/bindings.h"
#include "app/flow_layout.h"
#include "app/main_window.h"

namespace zentorix::app {

namespace {

// A label that may change size asks the status bar to lay out again, and the
// status bar then repaints every panel: during a run the generation would
// repaint the whole bar 30 times a second. The counting panels keep a fixed
// size that grows only when a longer number needs it.
void SetCountText(QLabel* label, const QString& text) {
    label->setText(text);
    const QSize grown = label->maximumSize().expandedTo(label->sizeHint());
    if (grown != label->maximumSize())
        label->setFixedSize(grown);
}

}  // namespace

StatusPanels::StatusPanels(MainWindow& window, QWidget* parent) : QStatusBar(parent) {
    setObjectName("StatusBar1");
    setSizeGripEnabled(false);
    // The panels flow into a second row when the window is narrow: every one
    // stays whole and readable.
    auto* area = new QWidget(this);
    area->setObjectName("StatusPanels");
    auto* flow = new FlowLayout(area, 2);
    flow->setContentsMargins(0, 0, 4, 0);
    const int widths[] = {0, 60, 36, 36, 90, 90, 140};
    for (int i = 0; i < 7; ++i) {
        panels_[i] = new QLabel(area);
        panels_[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panels_[i]->setFrameShape(QFrame::StyledPanel);
        if (widths[i] > 0)
            panels_[i]->setMinimumWidth(widths[i]);
        flow->addWidget(panels_[i]);
    }
    panels_[0]->setText(tr("Покоління ="));
    for (int i = 1; i <= 3; ++i) {
        panels_[i]->setFixedSize(widths[i], 0);
        SetCountText(panels_[i], i == 1 ? QStringLiteral("1") : QString());
    }

    // Panel 7: the rule text and the twins.
    auto* tail = new QWidget(area);
    tail->setObjectName("StatusPanel7");
    auto* row = new QHBoxLayout(tail);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    ruleText_ = new QLineEdit(area);
    ruleText_->setObjectName("InfoEdit");
    ruleText_->setReadOnly(true);
    flow->addWidget(ruleText_);
    flow->setStretchWidget(ruleText_);

    Session& session = window.session();
    Bindings& bind = window.bindings();
    FieldView& view = window.fieldView();
    auto twin = [&](const char* name, const QString& tip, bool Settings::*member,
                    bool Settings::*display) {
        auto* box = MakeCheckBox(name, QString(), tail);
        box->setToolTip(tip);
        bind.Check(box, member, [&session, &view, member, display] {
            // A layer switch on the status bar also switches the layer's display.
            if (display) {
                session.settings().*display = session.settings().*member;
                view.RedrawView();
            }
        });
        row->addWidget(box);
        return box;
    };
    twin("EternalLifeOnStatusBar", tr("Вічне життя діє"), &Settings::EternalLifeOn,
         &Settings::EternalLifeRefresh);
    twin("EternalDeadOnStatusBar", tr("Вічна смерть діє"), &Settings::EternalDeadOn,
         &Settings::EternalDeadRefresh);
    twin("OtherRealityOnStatusBar", tr("Інша реальність діє"), &Settings::OtherRealityOn,
         &Settings::OtherRealRefresh);

    auto* orRun = MakeToolButton("SpeedButton1", tr("ІР"), true, tail);
    orRun->setToolTip(tr("Хід іншої реальності"));
    RunControl& run = window.runControl();
    connect(orRun, &QToolButton::toggled, &run, &RunControl::SetOtherRealityRunning);
    connect(&run, &RunControl::OtherRealityStateChanged, orRun, [orRun](bool on) {
        const QSignalBlocker block(orRun);
        orRun->setChecked(on);
    });
    row->addWidget(orRun);
    auto* orSpeed = new QSlider(Qt::Horizontal, tail);
    orSpeed->setObjectName("TrackBar1");
    orSpeed->setRange(1, 1500);
    orSpeed->setFixedWidth(80);
    orSpeed->setToolTip(tr("Швидкість іншої реальності, мс"));
    connect(orSpeed, &QSlider::valueChanged, &run, &RunControl::SetOtherRealitySpeed);
    connect(&run, &RunControl::OtherRealitySpeedChanged, orSpeed, [orSpeed](int speed) {
        const QSignalBlocker block(orSpeed);
        orSpeed->setValue(speed);
    });
    bind.OnRefresh([orSpeed, &session] {
        const QSignalBlocker block(orSpeed);
        orSpeed->setValue(session.settings().SpeedOtherReality);
    });
    row->addWidget(orSpeed);

    twin("MainLifePaintStatusBar", tr("Малювати в головній області"), &Settings::MainLifePaint,
         nullptr);
    twin("EternalLifePaintStatusBar", tr("Малювати вічне життя"), &Settings::EternalLifePaint,
         nullptr);
    twin("EternalDeadPaintStatusBar", tr("Малювати вічну смерть"), &Settings::EternalDeadPaint,
         nullptr);
    twin("OtherRealPaintStatusBar", tr("Малювати іншу реальність"), &Settings::OtherRealPaint,
         nullptr);
    flow->addWidget(tail);
    addWidget(area, 1);
}

void StatusPanels::SetGeneration(int generation) {
    SetCountText(panels_[1], QString::number(generation));
}

void StatusPanels::SetPointerCell(int column, int row) {
    SetCountText(panels_[2], QString::number(column));
    SetCountText(panels_[3], QString::number(row));
}

void StatusPanels::SetViewText(const QString& text) {
    panels_[4]->setText(text);
}

void StatusPanels::SetRuleInfo(const QString& family, const QString& name,
                               const QString& ruleText) {
    panels_[5]->setText(family);
    panels_[6]->setText(name);
    ruleText_->setText(ruleText);
    ruleText_->setToolTip(ruleText);
    // Wide enough for the whole rule where the window allows, its start shown.
    const int text = ruleText_->fontMetrics().horizontalAdvance(ruleText) + 16;
    ruleText_->setMinimumWidth(std::clamp(text, 160, 480));
    ruleText_->setCursorPosition(0);
}

}  // namespace zentorix::app
