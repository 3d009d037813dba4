// Sampling a three-unit Boltzmann machine at a fixed temperature: the network picture with
// its unit and weight boxes, the weight table, and the tallies of the eight states beside
// their theoretical frequencies; run as a batch, one step at a time or on Timer1.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "boltzmann/boltzmann_exec_model.h"
#include "kit/form.h"
#include "kit/stepper.h"

class QLabel;
class QLineEdit;

namespace kv {

class CurveView;

class frmBoltzmannMachineExec : public SteppedForm {
    Q_OBJECT
    using Model = boltzmann::BoltzmannExec;

public:
    frmBoltzmannMachineExec();

public slots:
    void Form_Load();
    void Command1_Click();  // 一括実行
    void Command2_Click();  // 初期化
    void Command3_Click();  // 逐次実行
    void Command4_Click();  // 自動実行
    void Command5_Click();  // 自動実行停止

private:
    void BuildDiagram();
    void BuildPanel();
    void BuildResultTable();

    // Initialise from the boxes; false when a box was refused (and reported).
    bool Initialise();
    // The weights as typed, or nothing after a message naming the refused box.
    std::optional<Model::Weights> ReadWeights();
    // The temperature for a button press (a message when it is not positive) or for a
    // tick (silently nothing while it is not a usable number yet).
    std::optional<double> ReadTemperature(StepBy by);
    StepResult ExecuteStep(StepBy by);

    // Display procedures.
    void ShowWeights();
    void ShowTheory(double redFrom);
    void ShowTallies(std::string_view countPattern);
    void ShowColumnColours(int k);
    void ShowStates();
    void ShowCounter(int n);
    void ShowBars();

    Model model_;
    CurveView* bars_ = nullptr;  // sampled frequency beside theoretical probability, per state

    QLineEdit* txtTemperature = nullptr;
    QLineEdit* txtLoop = nullptr;
    QLineEdit* Text1 = nullptr;
    QLabel* lblNumOfLoop = nullptr;
    std::array<QLineEdit*, Model::kUnits> txtX{};
    std::array<QLineEdit*, Model::kWeights> txtW{};
    std::array<QLineEdit*, Model::kUnits * Model::kUnits> txtWM{};
    std::array<QLineEdit*, Model::kStates> txtTheory{};
    std::array<QLineEdit*, Model::kStates> txtNumber{};
    std::array<QLineEdit*, Model::kStates> txtP{};
};

}  // namespace kv
