#include "shell/window_table.h"

#include "learning/frmFeedFowardLearning.h"
#include "learning/frmUnitLearning.h"
#include "neuron/frmDecision2Model.h"
#include "neuron/frmDecisionAnalogModel.h"
#include "neuron/frmDecisionAnalogModelElse.h"
#include "neuron/frmRandom2Model.h"
#include "neuron/frmTimeModel.h"
#include "shell/menus.h"

namespace kv {
namespace {

template <typename W>
QWidget* Make() {
    return new W;
}

}  // namespace

const std::vector<WindowKind>& WindowTable() {
    // Kinds not listed here are not built yet: their menu buttons do nothing.
    static const std::vector<WindowKind> table = {
        {"frmMain", Make<frmMain>},
        {"frmNeuronModel", Make<frmNeuronModel>},
        {"frmNetworkStructure", Make<frmNetworkStructure>},
        {"frmLearn", Make<frmLearn>},
        {"frmMarkov", Make<frmMarkov>},
        {"frmBoltzmannMachine", Make<frmBoltzmannMachine>},
        {"frmslopemethod", Make<frmslopemethod>},
        {"frmLinearSystem", Make<frmLinearSystem>},
        {"frmSOMMain", Make<frmSOMMain>},
        {"frmDecision2Model", Make<frmDecision2Model>},
        {"frmDecisionAnalogModel", Make<frmDecisionAnalogModel>},
        {"frmDecisionAnalogModelElse", Make<frmDecisionAnalogModelElse>},
        {"frmRandom2Model", Make<frmRandom2Model>},
        {"frmTimeModel", Make<frmTimeModel>},
        {"frmUnitLearning", Make<frmUnitLearning>},
        {"frmFeedFowardLearning", Make<frmFeedFowardLearning>},
    };
    return table;
}

}  // namespace kv
