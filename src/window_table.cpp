#include "window_table.h"

#include "boltzmann/frmBoltzmannMachineExec.h"
#include "boltzmann/frmBoltzmannMachineLearning.h"
#include "gradient/frmSlopeMethod1.h"
#include "gradient/frmSlopeMethod2.h"
#include "learning/frmFeedFowardLearning.h"
#include "learning/frmUnitLearning.h"
#include "linear/frmLinearSystem1.h"
#include "linear/frmLinearSystem2.h"
#include "logic/frmLogicalUnit.h"
#include "markov/frmMarKovModel.h"
#include "markov/frmMarKovModel2.h"
#include "markov/frmMarKovModel3.h"
#include "markov/frmMarKovModel4.h"
#include "markov/frmMarKovModel5.h"
#include "markov/frmMarKovModel6.h"
#include "network/frmNetworkFeedForward.h"
#include "network/frmNetworkRecurrent.h"
#include "neuron/frmDecision2Model.h"
#include "neuron/frmDecisionAnalogModel.h"
#include "neuron/frmDecisionAnalogModelElse.h"
#include "neuron/frmRandom2Model.h"
#include "neuron/frmTimeModel.h"
#include "shell/frmHelp.h"
#include "shell/menus.h"
#include "som/frmLVQ.h"
#include "som/frmSOM.h"

namespace kv {
namespace {
constexpr bool kDemo = true;  // carries the ヘルプ button
}  // namespace

const std::vector<WindowKind>& AllWindows() {
    // A name missing here shows nothing (ShowWindow returns null), so every menu button and
    // opener must name one of these; the menu tests check both.
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
        {"frmDecision2Model", BuildAnyWindow<frmDecision2Model>, kDemo},
        {"frmDecisionAnalogModel", BuildAnyWindow<frmDecisionAnalogModel>, kDemo},
        {"frmDecisionAnalogModelElse", BuildAnyWindow<frmDecisionAnalogModelElse>},
        {"frmRandom2Model", BuildAnyWindow<frmRandom2Model>, kDemo},
        {"frmTimeModel", BuildAnyWindow<frmTimeModel>, kDemo},
        {"frmUnitLearning", BuildAnyWindow<frmUnitLearning>, kDemo},
        {"frmFeedFowardLearning", BuildAnyWindow<frmFeedFowardLearning>, kDemo},
        {"frmNetworkFeedForward", BuildAnyWindow<frmNetworkFeedForward>, kDemo},
        {"frmNetworkRecurrent", BuildAnyWindow<frmNetworkRecurrent>, kDemo},
        {"frmLogicalUnit", BuildAnyWindow<frmLogicalUnit>, kDemo},
        {"frmMarKovModel", BuildAnyWindow<frmMarKovModel>, kDemo},
        {"frmMarKovModel2", BuildAnyWindow<frmMarKovModel2>, kDemo},
        {"frmMarKovModel3", BuildAnyWindow<frmMarKovModel3>, kDemo},
        {"frmMarKovModel4", BuildAnyWindow<frmMarKovModel4>, kDemo},
        {"frmMarKovModel5", BuildAnyWindow<frmMarKovModel5>, kDemo},
        {"frmMarKovModel6", BuildAnyWindow<frmMarKovModel6>, kDemo},
        {"frmSlopeMethod1", BuildAnyWindow<frmSlopeMethod1>, kDemo},
        {"frmSlopeMethod2", BuildAnyWindow<frmSlopeMethod2>, kDemo},
        {"frmLinearSystem1", BuildAnyWindow<frmLinearSystem1>, kDemo},
        {"frmLinearSystem2", BuildAnyWindow<frmLinearSystem2>, kDemo},
        {"frmSOM", BuildAnyWindow<frmSOM>, kDemo},
        {"frmLVQ", BuildAnyWindow<frmLVQ>, kDemo},
        {"frmBoltzmannMachineExec", BuildAnyWindow<frmBoltzmannMachineExec>, kDemo},
        {"frmBoltzmannMachineLearning", BuildAnyWindow<frmBoltzmannMachineLearning>, kDemo},
        {"frmHelp", BuildAnyWindow<frmHelp>},
    };
    return table;
}

const std::vector<WindowOpener>& WindowOpeners() {
    static const std::vector<WindowOpener> openers = {
        {"frmDecisionAnalogModelElse", "frmDecisionAnalogModel", "Command2"},
        // Every demonstration's ヘルプ button (and F1 anywhere) opens it; one stands for all.
        {"frmHelp", "frmDecision2Model", "cmdHelp"},
    };
    return openers;
}

const std::vector<WindowOpener>& CompanionOpeners() {
    // The learning curves of the windows with no room for one (the single neuron's stands
    // in its window).
    static const std::vector<WindowOpener> companions = {
        {"frmCurvefrmFeedFowardLearning", "frmFeedFowardLearning", "cmdCurve"},
        {"frmCurvefrmMarKovModel", "frmMarKovModel", "cmdCurve"},
        {"frmCurvefrmMarKovModel2", "frmMarKovModel2", "cmdCurve"},
        {"frmCurvefrmMarKovModel3", "frmMarKovModel3", "cmdCurve"},
        {"frmCurvefrmMarKovModel4", "frmMarKovModel4", "cmdCurve"},
        {"frmCurvefrmMarKovModel5", "frmMarKovModel5", "cmdCurve"},
        {"frmCurvefrmMarKovModel6", "frmMarKovModel6", "cmdCurve"},
        {"frmCurvefrmSlopeMethod1", "frmSlopeMethod1", "cmdCurve"},
        {"frmCurvefrmSlopeMethod2", "frmSlopeMethod2", "cmdCurve"},
        {"frmCurvefrmLinearSystem1", "frmLinearSystem1", "cmdCurve"},
        {"frmCurvefrmLinearSystem2", "frmLinearSystem2", "cmdCurve"},
        {"frmCurvefrmSOM", "frmSOM", "cmdCurve"},
        {"frmCurvefrmLVQ", "frmLVQ", "cmdCurve"},
        {"frmCurvefrmBoltzmannMachineExec", "frmBoltzmannMachineExec", "cmdCurve"},
        {"frmCurvefrmBoltzmannMachineLearning", "frmBoltzmannMachineLearning", "cmdCurve"},
    };
    return companions;
}

}  // namespace kv
