#include "window_table.h"

#include "boltzmann/frmBoltzmannMachineExec.h"
#include "boltzmann/frmBoltzmannMachineLearning.h"
#include "learning/frmFeedFowardLearning.h"
#include "learning/frmUnitLearning.h"
#include "neuron/frmDecision2Model.h"
#include "neuron/frmDecisionAnalogModel.h"
#include "neuron/frmDecisionAnalogModelElse.h"
#include "neuron/frmRandom2Model.h"
#include "neuron/frmTimeModel.h"
#include "shell/menus.h"

namespace kv {

const std::vector<WindowKind>& AllWindows() {
    // Kinds not listed here are not built yet: their menu buttons do nothing.
    static const std::vector<WindowKind> table = {
        {"frmMain", BuildAnyWindow<frmMain>},
        {"frmNeuronModel", BuildAnyWindow<frmNeuronModel>},
        {"frmNetworkStructure", BuildAnyWindow<frmNetworkStructure>},
        {"frmLearn", BuildAnyWindow<frmLearn>},
        {"frmMarkov", BuildAnyWindow<frmMarkov>},
        {"frmBoltzmannMachine", BuildAnyWindow<frmBoltzmannMachine>},
        {"frmslopemethod", BuildAnyWindow<frmslopemethod>},
        {"frmLinearSystem", BuildAnyWindow<frmLinearSystem>},
        {"frmSOMMain", BuildAnyWindow<frmSOMMain>},
        {"frmDecision2Model", BuildAnyWindow<frmDecision2Model>},
        {"frmDecisionAnalogModel", BuildAnyWindow<frmDecisionAnalogModel>},
        {"frmDecisionAnalogModelElse", BuildAnyWindow<frmDecisionAnalogModelElse>},
        {"frmRandom2Model", BuildAnyWindow<frmRandom2Model>},
        {"frmTimeModel", BuildAnyWindow<frmTimeModel>},
        {"frmUnitLearning", BuildAnyWindow<frmUnitLearning>},
        {"frmFeedFowardLearning", BuildAnyWindow<frmFeedFowardLearning>},
        {"frmBoltzmannMachineExec", BuildAnyWindow<frmBoltzmannMachineExec>},
        {"frmBoltzmannMachineLearning", BuildAnyWindow<frmBoltzmannMachineLearning>},
    };
    return table;
}

}  // namespace kv
