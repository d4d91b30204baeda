#pragma once

#include <QObject>
#include <QTimer>

#include "app/field_view.h"
#include "app/session.h"
#include "engine/generation_step.h"

namespace zentorix::app {

// Turns the generation step into a running simulation: start, play, stop,
// single steps, the speed (0 = as fast as possible), torus, auto-stop, and the
// Other Reality's own timer. Everything runs on the GUI thread; a command
// always falls between two steps, never inside one.
class RunControl : public QObject, private StepObserver {
    Q_OBJECT

  public:
    RunControl(Session& session, FieldView& view, QObject* parent = nullptr);

    bool Running() const { return timer1_.isActive(); }
    int Speed() const { return session_.settings().SpeedMain; }

    void StartButtonClick();
    void PlayButtonClick(bool pressed);
    void StopButtonClick();
    void StepButtonClick();
    void SetSpeed(int speed);  // SpeedTrackBarChange
    // Button1: 100 plain steps with events processed between them; milliseconds.
    qint64 TimeHundredSteps();

    // The Other Reality's timer (Timer2).
    bool OtherRealityRunning() const { return timer2_.isActive(); }
    void SetOtherRealityRunning(bool run);
    void OtherRealityStepOnce();
    void SetOtherRealitySpeed(int speed);

    // The generation number Edit3 shows: the one just computed.
    int ShownGeneration() const { return shownGeneration_; }
    // After a file or snapshot was loaded: the number the next step computes.
    void SetShownGeneration(int generation) { shownGeneration_ = generation; }

  signals:
    void RunStateChanged(bool running);
    void SpeedChanged(int speed);
    // A generation is complete; the counters are to be shown.
    void GenerationShown();
    void OtherRealityStateChanged(bool running);
    // Timer2's interval changed (either speed control, or a file's speed).
    void OtherRealitySpeedChanged(int speed);
    // Asks the caller to take an undo snapshot before a run starts.
    void StartingRun();
    // A generation's counts are complete, its number not yet advanced: statistics
    // record it before the counters are shown.
    void GenerationCounted(const zentorix::World& world);
    // The Stop command runs (by hand, auto-stop, a load or undo): the generation
    // goes back to 1.
    void Stopped();

  private:
    // How long steps at speed 0 follow each other within one timer tick.
    static constexpr qint64 kFullSpeedBatchNs = 4'000'000;
    void Tick();
    void RunStep(StepForm form);
    void SetTimerRunning(bool run);

    // StepObserver: forwards painting to the view, notes the finished generation.
    CellRect VisibleWindow() const override {
        return deferPaint_ ? CellRect{} : view_.VisibleWindow();
    }
    void DrawCell(int x, int y, Colour colour) override { view_.DrawCell(x, y, colour); }
    PixelSurface* Surface() override { return view_.Surface(); }
    void GenerationFinished(const World& world) override;
    void StopRequested() override;

    Session& session_;
    FieldView& view_;
    QTimer timer1_;
    QTimer timer2_;
    int shownGeneration_ = 1;
    bool stopRequested_ = false;
    bool deferPaint_ = false;  // the running step leaves painting to the view
};

}  // namespace zentorix::app
