// The neuron whose internal state S moves towards the weighted sum at every timer tick,
// with a marker sliding along the response plot until S settles.
#pragma once

#include <optional>

#include "kit/stepper.h"
#include "neuron/AnalogWindow.h"
#include "neuron/neuron_model.h"

namespace kv {

class frmTimeModel : public neuron::AnalogWindow {
    Q_OBJECT
public:
    frmTimeModel();

public slots:
    // Starts a run from S = 0 (also while one is going).
    void Command1_Click() override;
    // Its own slot rather than SteppedForm's: this window is a neuron window first, and only
    // it of them steps. Timer1 itself reaches the stepping machine directly.
    void Timer1_Timer();

private:
    // The marker again after a redraw of the plot, so the next step erases it cleanly.
    void DrawOverResponse() override;
    // One step of the run.
    StepResult TimeStep();
    // The inputs as they stand, read without a word: nothing while a box does not hold a
    // number (the learner may be typing it). The sum may be beyond a double.
    std::optional<Inputs> PeekInputs() const;

    neuron::TimeEvolution model_;
    bool markerShown_ = false;  // a run has started and its marker stands at StateU
    QLineEdit* txtIpsi;
    QLineEdit* txtTimer;
    Stepper* run_;
};

}  // namespace kv
