// The neuron whose internal state S moves towards the weighted sum at every timer tick,
// with a marker sliding along the response plot until S settles.
#pragma once

#include "neuron/AnalogWindow.h"
#include "neuron/neuron_model.h"

class QTimer;

namespace kv {

class frmTimeModel : public neuron::AnalogWindow {
    Q_OBJECT
public:
    frmTimeModel();

public slots:
    // Starts a run from S = 0 (also while one is going).
    void Command1_Click() override;
    void Timer1_Timer();

private:
    // One step of the run; false when the run is over (settled or refused).
    bool TimeStep();

    neuron::TimeEvolution model_;
    QLineEdit* txtIpsi;
    QLineEdit* txtTimer;
    QTimer* Timer1;
};

}  // namespace kv
