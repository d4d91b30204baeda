#include "app/run_control.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include "engine/other_reality.h"

namespace zentorix::app {

RunControl::RunControl(Session& session, FieldView& view, QObject* parent)
    : QObject(parent), session_(session), view_(view) {
    // The timers are members; parenting them lets them be found by name.
    timer1_.setParent(this);
    timer2_.setParent(this);
    timer1_.setObjectName("Timer1");
    timer2_.setObjectName("Timer2");
    timer1_.setInterval(std::max(1, Speed()));
    timer2_.setInterval(session_.settings().SpeedOtherReality);
    connect(&timer1_, &QTimer::timeout, this, &RunControl::Tick);
    connect(&timer2_, &QTimer::timeout, this, &RunControl::OtherRealityStepOnce);
}

void RunControl::Tick() {
    // At speed 0 a step can take less time than a trip round the event loop:
    // steps follow each other for a few milliseconds before the window looks
    // at its events again, so the run keeps its pace and input still answers
    // at once.
    QElapsedTimer clock;
    clock.start();
    do {
        RunStep(session_.settings().EnableTOR ? StepForm::Torus : StepForm::Plain);
    } while (Speed() == 0 && timer1_.isActive() && clock.nsecsElapsed() < kFullSpeedBatchNs);
}

void RunControl::RunStep(StepForm form) {
    stopRequested_ = false;
    // During a run the view paints only the generations it shows; a single
    // step is painted at once.
    deferPaint_ = Running();
    GenerationStep(session_.world(), session_.settings(), *this, form);
    view_.ShowStep(!deferPaint_);
    deferPaint_ = false;
    emit GenerationShown();
    if (stopRequested_)
        StopButtonClick();
}

void RunControl::GenerationFinished(const World& world) {
    shownGeneration_ = world.Counters.Generation;
    emit GenerationCounted(world);
}

void RunControl::StopRequested() {
    stopRequested_ = true;
}

void RunControl::SetTimerRunning(bool run) {
    if (run == timer1_.isActive())
        return;
    if (run)
        timer1_.start();
    else
        timer1_.stop();
    emit RunStateChanged(run);
}

void RunControl::StartButtonClick() {
    if (Speed() == 0)
        SetSpeed(1);
    if (!timer1_.isActive()) {
        SetTimerRunning(true);
        emit StartingRun();
    } else {
        SetTimerRunning(false);
    }
}

void RunControl::PlayButtonClick(bool pressed) {
    if (Speed() == 0)
        SetSpeed(1);
    SetTimerRunning(pressed);
}

void RunControl::StopButtonClick() {
    emit Stopped();
    session_.world().Counters.Generation = 1;
    SetTimerRunning(false);
}

void RunControl::StepButtonClick() {
    RunStep(StepForm::Plain);
}

void RunControl::SetSpeed(int speed) {
    Settings& s = session_.settings();
    s.SpeedMain = speed;
    // Speed 0 runs one step per timer tick with a zero interval, so the window
    // keeps processing events between two steps.
    timer1_.setInterval(s.SpeedMain);
    emit SpeedChanged(s.SpeedMain);
}

qint64 RunControl::TimeHundredSteps() {
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 100; ++i) {
        QCoreApplication::processEvents();
        RunStep(StepForm::Plain);
    }
    return clock.elapsed();
}

void RunControl::SetOtherRealityRunning(bool run) {
    if (run == timer2_.isActive())
        return;
    if (run)
        timer2_.start();
    else
        timer2_.stop();
    emit OtherRealityStateChanged(run);
}

void RunControl::OtherRealityStepOnce() {
    OtherRealityStep(session_.world());
}

void RunControl::SetOtherRealitySpeed(int speed) {
    session_.settings().SpeedOtherReality = speed;
    timer2_.setInterval(session_.settings().SpeedOtherReality);
    emit OtherRealitySpeedChanged(session_.settings().SpeedOtherReality);
}

}  // namespace zentorix::app
