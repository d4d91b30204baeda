#include "app/status_panels.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

#include "app/bindings.h"
#include "app/main_window.h"

namespace zentorix::app {

StatusPanels::StatusPanels(MainWindow& window, QWidget* parent) : QStatusBar(parent) {
    setObjectName("StatusBar1");
    setSizeGripEnabled(false);
    const int widths[] = {0, 60, 36, 36, 90, 90, 140};
    for (int i = 0; i < 7; ++i) {
        panels_[i] = new QLabel(this);
        panels_[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panels_[i]->setFrameShape(QFrame::StyledPanel);
        if (widths[i] > 0)
            panels_[i]->setMinimumWidth(widths[i]);
        addWidget(panels_[i]);
    }
    panels_[0]->setText(tr("Покоління ="));
    panels_[1]->setText("1");

    // Panel 7: the rule text and the twins.
    auto* tail = new QWidget(this);
    tail->setObjectName("StatusPanel7");
    auto* row = new QHBoxLayout(tail);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    ruleText_ = new QLineEdit(tail);
    ruleText_->setObjectName("InfoEdit");
    ruleText_->setReadOnly(true);
    row->addWidget(ruleText_, 1);

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
    addWidget(tail, 1);
}

void StatusPanels::SetGeneration(int generation) {
    panels_[1]->setText(QString::number(generation));
}

void StatusPanels::SetPointerCell(int column, int row) {
    panels_[2]->setText(QString::number(column));
    panels_[3]->setText(QString::number(row));
}

void StatusPanels::SetViewText(const QString& text) {
    panels_[4]->setText(text);
}

void StatusPanels::SetRuleInfo(const QString& family, const QString& name,
                               const QString& ruleText) {
    panels_[5]->setText(family);
    panels_[6]->setText(name);
    ruleText_->setText(ruleText);
}

}  // namespace zentorix::app
