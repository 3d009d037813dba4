#include "shell/window_table.h"

#include "neuron/frmDecision2Model.h"
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
    };
    return table;
}

}  // namespace kv
