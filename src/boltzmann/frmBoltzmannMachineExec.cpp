#include "boltzmann/frmBoltzmannMachineExec.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include <limits>

#include "boltzmann/network_picture.h"
#include "kit/accessible.h"
#include "kit/controls.h"
#include "kit/curve_window.h"
#include "kit/tab_chain.h"
#include "plot/input.h"
#include "plot/msgbox.h"
#include "plot/numtext.h"
#include "plot/qt_forms.h"
#include "plot/random.h"
#include "plot/rounding.h"

namespace kv {
namespace {

using boltzmann::CenteredRect;
using boltzmann::NetworkPicture;
using Model = boltzmann::BoltzmannExec;
constexpr int kUnits = Model::kUnits;
constexpr int kStates = Model::kStates;

const QString kPositiveMessage = QStringLiteral("更新回数および温度は正の値でなければなりません。");
const QString kTheoryMessage = QStringLiteral("理論値が設定できません");
const QString kCounterFull = QStringLiteral("実行回数が上限の32767回に達しました。「初期化」を押すと最初から数え直します。");
const QString kTemperatureName = QStringLiteral("温度");
const QString kLoopName = QStringLiteral("状態更新回数");
const QString kUnitNames[kUnits] = {QStringLiteral("閾値"), QStringLiteral("Node 1"), QStringLiteral("Node 2"),
                                    QStringLiteral("Node 3")};
const QString kStateHeads[kStates] = {"(0, 0, 0)", "(0, 0, 1)", "(0, 1, 0)", "(0, 1, 1)",
                                      "(1, 0, 0)", "(1, 0, 1)", "(1, 1, 0)", "(1, 1, 1)"};

// Unit 0 at the top, Node 1 right, Node 2 at the bottom, Node 3 left; the arcs in the order
// of the weight boxes. The two diagonals bend apart so that their boxes do not meet.
const StateGraph kGraph = {
    {{0.5, 0.12}, {0.86, 0.5}, {0.5, 0.88}, {0.14, 0.5}},
    {{0, 1, 0.0}, {0, 2, 0.3}, {0, 3, 0.0}, {1, 2, 0.0}, {1, 3, 0.3}, {2, 3, 0.0}},
};

// Geometry.
constexpr QSize kPicture(440, 380);
constexpr QSizeF kUnitRadii(58, 32);
constexpr int kBoxH = 22, kUnitBoxW = 36, kWeightBoxW = 56;
constexpr int kPanelX = 470;
constexpr int kButtonsX = 740, kButtonW = 140, kButtonH = 30;
constexpr int kTableTop = 400, kRowHeadW = 90, kColumnW = 96;

// The weight table's box for W(i, j).
constexpr int MatrixBox(int i, int j) { return kUnits * i + j; }

}  // namespace

frmBoltzmannMachineExec::frmBoltzmannMachineExec()
    : SteppedForm("frmBoltzmannMachineExec", QStringLiteral("ボルツマン(Boltzmann)マシンの実行")) {
    BuildDiagram();
    BuildPanel();
    BuildResultTable();
    setContentSize(QSize(kButtonsX + kButtonW + 14, kTableTop + 140));
    QStringList states;
    for (const QString& head : kStateHeads) states << head;
    bars_ = addCurveWindow({.title = QStringLiteral("出現頻度と頻度理論値"),
                            .series = {{QStringLiteral("出現頻度"), kBlue, kFixed3}, {QStringLiteral("頻度理論値"), kSkyBlue, kFixed3}},
                            .categories = states});
    run_ = new Stepper(this, Text1, QStringLiteral("タイマー"), [this](StepBy by) { return ExecuteStep(by); });
    setRunKeys({.step = "Command3", .start = "Command4", .stop = "Command5"});
    showWaitsOf(run_);
}

void frmBoltzmannMachineExec::BuildDiagram() {
    // Round the picture from the threshold unit at the top, each unit with its weights still to come.
    setTabFlow(GraphTabFlow(kGraph, {0, 1, 2, 3}, "txtX", "txtW", false));
    const NetworkPicture picture(content(), kGraph, QRect(QPoint(10, 10), kPicture), kUnitRadii);
    for (int i = 0; i < kUnits; ++i) {
        txtX[i] = picture.PlaceUnit(content(), i, kUnitNames[i], i == 0 ? "1" : "0", QSize(kUnitBoxW, kBoxH));
        Describe(txtX[i], kUnitNames[i] + QStringLiteral(" の状態"),
                 i == 0 ? QStringLiteral("しきい値を表す、状態がいつも 1 のユニットです。") : QStringLiteral("このユニットの状態（0 か 1）です。"));
    }
    for (int n = 0; n < Model::kWeights; ++n) {
        txtW[n] = MakeBox(content(), ArrayName("txtW", n), NumberText(Model::kDefaultWeights[n]),
                          CenteredRect(picture.Arc(n), kWeightBoxW, kBoxH));
        const auto [i, j] = Model::kWeightPairs[n];
        Describe(txtW[n], QStringLiteral("重み W(%1, %2)").arg(i).arg(j), QStringLiteral("この 2 つのユニットを結ぶ重みを入れます。"));
    }
}

void frmBoltzmannMachineExec::BuildPanel() {
    QWidget* c = content();
    QGroupBox* frame1 = MakeFrame(c, "Frame1", QStringLiteral("実行パラメータ"), QRect(kPanelX, 10, 250, 92));
    const RowGrid rows{.at = {10, 26}, .labelWidth = 120, .gap = 10, .boxWidth = 96, .height = kBoxH, .pitch = 30};
    const auto parameters = MakeBoxRows(frame1, rows,
                                        {{"Label2(0)", kTemperatureName, "txtTemperature", "0.5"},
                                         {"Label2(1)", kLoopName, "txtLoop", "100"}});
    txtTemperature = parameters[0];
    txtLoop = parameters[1];
    txtTemperature->setToolTip(QStringLiteral("状態を確率的に更新するときの温度（正の値）を入れます。"));
    txtLoop->setToolTip(QStringLiteral("「一括実行」で状態を更新する回数（正の値）を入れます。"));

    QGroupBox* frame3 = MakeFrame(c, "Frame3", QStringLiteral("重みテーブル"), QRect(kPanelX, 112, 250, 160));
    for (int j = 0; j < kUnits; ++j) {
        MakeLabel(frame3, ArrayName("Label7", j), NumberText(j), QRect(40 + j * 52, 22, 48, 18), Qt::AlignCenter);
        MakeLabel(frame3, ArrayName("Label8", j), NumberText(j), QRect(12, 44 + j * 27, 22, kBoxH), Qt::AlignCenter);
    }
    for (int i = 0; i < kUnits; ++i)
        for (int j = 0; j < kUnits; ++j) {
            QLineEdit* box = MakeBox(frame3, ArrayName("txtWM", MatrixBox(i, j)), "", QRect(40 + j * 52, 44 + i * 27, 48, kBoxH));
            Describe(box, QStringLiteral("重みテーブルの W(%1, %2)").arg(i).arg(j), QStringLiteral("図の重みを表にしたものです。"));
            txtWM[MatrixBox(i, j)] = box;
        }
    // Each table is one stop of the Tab chain, walked by the arrow keys.
    std::vector<std::vector<QLineEdit*>> matrix(kUnits);
    for (int i = 0; i < kUnits; ++i)
        matrix[static_cast<std::size_t>(i)].assign(txtWM.begin() + MatrixBox(i, 0), txtWM.begin() + MatrixBox(i + 1, 0));
    new TableStop(frame3, std::move(matrix));

    lblNumOfLoop = MakeLabel(c, "lblNumOfLoop", "", QRect(kPanelX, 290, 250, 24));

    const QString captions[] = {QStringLiteral("一括実行"), QStringLiteral("初期化"), QStringLiteral("逐次実行"),
                                QStringLiteral("自動実行"), QStringLiteral("自動実行停止")};
    void (frmBoltzmannMachineExec::*handlers[])() = {
        &frmBoltzmannMachineExec::Command1_Click, &frmBoltzmannMachineExec::Command2_Click,
        &frmBoltzmannMachineExec::Command3_Click, &frmBoltzmannMachineExec::Command4_Click,
        &frmBoltzmannMachineExec::Command5_Click};
    const int tops[] = {16, 56, 110, 150, 190};
    for (int b = 0; b < 5; ++b)
        MakeButton(c, QStringLiteral("Command%1").arg(b + 1), captions[b], QRect(kButtonsX, tops[b], kButtonW, kButtonH), this,
                   handlers[b]);
    Text1 = MakeLabelledBox(c, "Label9", QStringLiteral("タイマー"), QRect(kButtonsX, 232, 64, kBoxH), "Text1", "500",
                            QRect(kButtonsX + 70, 232, 70, kBoxH));
}

void frmBoltzmannMachineExec::BuildResultTable() {
    QGroupBox* frame2 = MakeFrame(content(), "Frame2", QStringLiteral("実行結果"),
                                  QRect(10, kTableTop, kRowHeadW + 10 + kStates * kColumnW, 128));
    const int left = kRowHeadW + 4;
    for (int k = 0; k < kStates; ++k)
        MakeLabel(frame2, ArrayName("Label3", k), kStateHeads[k], QRect(left + k * kColumnW, 22, kColumnW - 6, 18), Qt::AlignCenter);
    const char* heads[] = {"Label4", "Label5", "Label6"};
    const QString captions[] = {QStringLiteral("頻度理論値"), QStringLiteral("出現回数"), QStringLiteral("出現頻度")};
    std::array<QLineEdit*, kStates>* rows[] = {&txtTheory, &txtNumber, &txtP};
    const char* names[] = {"txtTheory", "txtNumber", "txtP"};
    const QString tips[] = {QStringLiteral("この状態が現れる頻度の理論値です。"), QStringLiteral("この状態が現れた回数です。"),
                            QStringLiteral("この状態が現れた割合です。")};
    for (int r = 0; r < 3; ++r) {
        const int y = 44 + r * 27;
        MakeLabel(frame2, heads[r], captions[r], QRect(8, y, kRowHeadW - 8, kBoxH), Qt::AlignRight | Qt::AlignVCenter);
        for (int k = 0; k < kStates; ++k) {
            QLineEdit* box = MakeBox(frame2, ArrayName(names[r], k), "", QRect(left + k * kColumnW, y, kColumnW - 6, kBoxH));
            Describe(box, QStringLiteral("状態 %1 の%2").arg(kStateHeads[k], captions[r]), tips[r]);
            (*rows[r])[k] = box;
        }
    }
    std::vector<std::vector<QLineEdit*>> table;
    for (const auto* r : rows) table.emplace_back(r->begin(), r->end());
    new TableStop(frame2, std::move(table));
}

void frmBoltzmannMachineExec::Form_Load() { Initialise(); }

std::optional<Model::Weights> frmBoltzmannMachineExec::ReadWeights() {
    Model::Weights w{};
    for (int n = 0; n < Model::kWeights; ++n) {
        const auto [i, j] = Model::kWeightPairs[n];
        const auto v = ReadVal(txtW[n], QStringLiteral("重み W(%1, %2)").arg(i).arg(j));
        if (!v) return std::nullopt;
        w[n] = *v;
    }
    return w;
}

std::optional<double> frmBoltzmannMachineExec::ReadTemperature(StepBy by) {
    if (by == StepBy::Timer) {
        const auto t = PeekVal(txtTemperature);
        if (!t || !(*t > 0)) return std::nullopt;
        return t;
    }
    const auto t = ReadVal(txtTemperature, kTemperatureName);
    if (!t) return std::nullopt;
    if (!(*t > 0)) {
        MsgBox(this, kPositiveMessage);
        return std::nullopt;
    }
    return t;
}

bool frmBoltzmannMachineExec::Initialise() {
    // Everything is read before anything changes: a refused press leaves the tallies as
    // they were.
    const auto t = ReadTemperature(StepBy::Hand);
    if (!t) return false;
    const auto w = ReadWeights();
    if (!w) return false;
    Randomize();
    model_.SetWeights(*w);
    ShowWeights();
    const bool theory = model_.Initialise(*t);
    ShowTheory(0.001);
    ShowTallies(kWhole);
    for (int k = 0; k < kStates; ++k) ShowColumnColours(k);
    ShowStates();
    ShowCounter(0);
    ShowBars();
    if (!theory) MsgBox(this, kTheoryMessage);
    return true;
}

void frmBoltzmannMachineExec::Command1_Click() {
    const auto t = ReadVal(txtTemperature, kTemperatureName);
    if (!t) return;
    const auto typed = ReadVal(txtLoop, kLoopName);
    if (!typed) return;
    const auto n = RoundToLong(*typed);
    if (!n || *n > Model::kMaxCount) {
        ReportBadBox(txtLoop, CountMessage(kLoopName, 1, Model::kMaxCount));
        return;
    }
    if (!(*t > 0) || *n <= 0) {
        MsgBox(this, kPositiveMessage);
        return;
    }
    const auto w = ReadWeights();
    if (!w) return;
    Randomize();
    model_.SetWeights(*w);
    ShowWeights();
    const bool theory = model_.Batch(static_cast<int>(*n), *t);
    ShowTheory(0);
    ShowTallies(kTwoDigits);
    for (int k = 0; k < kStates; ++k) ShowColumnColours(k);
    ShowStates();
    ShowCounter(model_.StepCount());
    ShowBars();
    if (!theory) MsgBox(this, kTheoryMessage);
}

void frmBoltzmannMachineExec::Command2_Click() { Initialise(); }

void frmBoltzmannMachineExec::Command3_Click() { run_->Step(); }

void frmBoltzmannMachineExec::Command4_Click() {
    if (!Initialise()) return;
    run_->Start();
}

void frmBoltzmannMachineExec::Command5_Click() { run_->Stop(); }

StepResult frmBoltzmannMachineExec::ExecuteStep(StepBy by) {
    const auto t = ReadTemperature(by);
    if (!t) return by == StepBy::Timer ? StepResult::Wait : StepResult::Stop;
    if (!model_.CanStep()) {
        run_->Stop();
        MsgBox(this, kCounterFull);
        return StepResult::Stop;
    }
    const int k = model_.ExecuteStep(*t);
    ShowColumnColours(k);
    if (model_.TheoryFormed()) SetBackColor(txtTheory[k], model_.StateTheory(k) > 0 ? kRed : kSkyBlue);
    ShowTallies(kTwoDigits);
    ShowStates();
    ShowCounter(model_.StepCount());
    ShowBars();
    return StepResult::Continue;
}

void frmBoltzmannMachineExec::ShowWeights() {
    for (int n = 0; n < Model::kWeights; ++n) {
        const auto [i, j] = Model::kWeightPairs[n];
        SetBackColor(txtW[n], model_.W(i, j) >= 0 ? kYellow : kRed);
    }
    for (int i = 0; i < kUnits; ++i)
        for (int j = 0; j < kUnits; ++j) {
            QLineEdit* b = txtWM[MatrixBox(i, j)];
            SetText(b, Format(model_.W(i, j), kFixed2));
            SetBackColor(b, model_.W(i, j) >= 0 ? kYellow : kRed);
        }
}

void frmBoltzmannMachineExec::ShowTheory(double redFrom) {
    // Initialise marks only the states the learner can expect to see (0.001 and over);
    // a batch marks every state with any chance at all. With no theory the row is empty
    // and plain, rather than keep figures of earlier weights beside the new counts.
    const bool formed = model_.TheoryFormed();
    for (int k = 0; k < kStates; ++k) {
        const double p = model_.StateTheory(k);
        SetText(txtTheory[k], formed ? Format(p, kFixed3) : std::string());
        SetBackColor(txtTheory[k], !formed ? kWhite : (redFrom > 0 ? p >= redFrom : p > 0) ? kRed : kSkyBlue);
    }
}

void frmBoltzmannMachineExec::ShowTallies(std::string_view countPattern) {
    for (int k = 0; k < kStates; ++k) {
        SetText(txtNumber[k], Format(model_.StateCount(k), countPattern));
        SetText(txtP[k], Format(model_.StateFrequency(k), kFixed3));
    }
}

void frmBoltzmannMachineExec::ShowColumnColours(int k) {
    const Rgb tally = model_.StateCount(k) > 0 ? kRed : kGreen;
    SetBackColor(txtNumber[k], tally);
    SetBackColor(txtP[k], tally);
}

void frmBoltzmannMachineExec::ShowStates() {
    SetBackColor(txtX[0], kRed);
    for (int i = 1; i < kUnits; ++i) {
        SetText(txtX[i], GeneralText(model_.X(i)));
        SetBackColor(txtX[i], model_.X(i) > 0 ? kRed : kYellow);
    }
}

void frmBoltzmannMachineExec::ShowBars() {
    std::array<double, kStates> sampled{}, theory{};
    for (int k = 0; k < kStates; ++k) {
        sampled[k] = model_.StateFrequency(k);
        // Theory that could not be formed is not shown in the table, nor here.
        theory[k] = model_.TheoryFormed() ? model_.StateTheory(k) : std::numeric_limits<double>::quiet_NaN();
    }
    bars_->setBars(sampled, theory);
    bars_->refresh();
}

void frmBoltzmannMachineExec::ShowCounter(int n) { lblNumOfLoop->setText(QStringLiteral("実行回数 : ") + NumberText(n)); }

}  // namespace kv
