// A ten-unit Boltzmann machine learning a probabilistic mapping from three input bits to one
// output bit: the network picture with a box on every unit and connection, the training
// table, the printed connection matrix, step learning by hand or on Timer1, batch learning
// that can be cancelled, and the execution check with its result table.
#pragma once

#include <array>
#include <memory>

#include "boltzmann/boltzmann_learning_model.h"
#include "kit/batch_runner.h"
#include "kit/form.h"
#include "kit/stepper.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace kv {

class CurveView;

class frmBoltzmannMachineLearning : public SteppedForm {
    Q_OBJECT
    using Model = boltzmann::BoltzmannLearning;

public:
    static constexpr int kPatterns = Model::kPatterns;

    frmBoltzmannMachineLearning();

public slots:
    void Form_Load();
    void Command1_Click();  // 初期化
    void Command2_Click();  // 逐次学習実行
    void Command3_Click();  // 一括学習
    void Command4_Click();  // 一括学習取消
    void Command5_Click();  // 実行確認
    void Command6_Click();  // 自動実行
    void Command7_Click();  // 自動実行停止
    void txtQin_Change(int Index);
    void txtQ0_Change(int Index);
    void txtQ1_Change(int Index);
    void txtExe0_Change(int Index);
    void txtExe1_Change(int Index);

private:
    void BuildDiagram();
    void BuildTables();
    void BuildPanel();

    // Reads the training data and parameters and clears the weights; false when a box was
    // refused (and reported), and then nothing changed.
    bool InitialiseLearning();
    // One counted learning iteration with the step display and debug report the options
    // ask for; false when the window went away meanwhile.
    bool LearnIteration();
    void ExecutionCheck();

    // Display procedures.
    void SetConnections();
    // Now: the counter, pattern and error boxes are repainted at once (and with them whatever
    // else has changed); WithTheRest: at the window's next paint, when more follows at once.
    enum class Repaint { Now, WithTheRest };
    void ShowNetwork(Repaint repaint = Repaint::Now);
    void ShowProgress(Repaint repaint = Repaint::Now);
    void DebugReport();
    void ColourTargetPair(int k);
    void ColourResultPair(int k);
    void ColourPair(int k, QLineEdit* zero, QLineEdit* one);

    // Shared so that an iteration running when the window is freed (under a debug report)
    // finishes on a model that still exists.
    std::shared_ptr<Model> model_ = std::make_shared<Model>();
    BatchRunner batch_{this, BatchRunner::Events::kProcessByTime};
    // The learning error of every iteration, and the execution check's where it was run.
    CurveView* curve_ = nullptr;

    std::array<QLineEdit*, Model::kUnits> txtX{};
    std::array<QLineEdit*, Model::kConnections> txtW{};
    std::array<QLineEdit*, kPatterns> txtQin{}, txtQ0{}, txtQ1{}, txtExe0{}, txtExe1{};
    QLabel* lblConnectTable = nullptr;
    QLineEdit* txtNumUpdate = nullptr;
    QLineEdit* txtNumLearn = nullptr;
    QLineEdit* txtEpsilon = nullptr;
    QLineEdit* txtNumOfLearn = nullptr;
    QLineEdit* txtInputPattern = nullptr;
    QLineEdit* txtError = nullptr;
    QLineEdit* txtExeError = nullptr;
    QLineEdit* Text1 = nullptr;
    QCheckBox* Check1 = nullptr;
    QCheckBox* Check2 = nullptr;
};

}  // namespace kv
