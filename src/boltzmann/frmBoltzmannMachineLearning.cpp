#include "boltzmann/frmBoltzmannMachineLearning.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRegion>

#include <string>

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
using Model = boltzmann::BoltzmannLearning;
constexpr int kUnits = Model::kUnits;
constexpr int kPatterns = Model::kPatterns;

const QString kUnitNames[kUnits] = {
    QStringLiteral("閾 値"),      QStringLiteral("入力 1"),     QStringLiteral("入力 2"),     QStringLiteral("入力 3"),
    QStringLiteral("隠れ素子 1"), QStringLiteral("隠れ素子 2"), QStringLiteral("隠れ素子 3"), QStringLiteral("隠れ素子 4"),
    QStringLiteral("隠れ素子 5"), QStringLiteral("出　力")};
const QString kCancelQuestion = QStringLiteral("学習を取りやめますか?");
const QString kNumUpdateName = QStringLiteral("素子値状態更新回数");
const QString kNumLearnName = QStringLiteral("学習繰返し回数");
const QString kEpsilonName = QStringLiteral("重み修正係数(ε)");
// ε beyond this would let a long automatic run carry the weights towards the edge of a double.
constexpr double kMaxEpsilon = 100;

// Unit centres in the picture, in pixels: inputs left, hidden units in the middle, the
// threshold unit top right and the output bottom right.
constexpr QSize kPicture(760, 630);
constexpr QSizeF kUnitRadii(58, 30);
constexpr QPointF kUnitAt[kUnits] = {{690, 60},  {75, 170},  {75, 315},  {75, 460},  {450, 75},
                                     {450, 195}, {450, 315}, {450, 435}, {450, 555}, {690, 570}};
// Where each weight box sits, by box number: the share along its arrow from the
// lower-numbered unit, and how far the box is nudged down from that point. The arrows
// between the inputs and the hidden units cross one another all over; each spot is one
// that no other arrow crosses within the box, so that a box plainly belongs to the arrow
// through it. Only the threshold weight of hidden unit 4 and the output weight of hidden
// unit 2 have no such spot in this picture: they sit beside their hidden unit, where one
// arrow that crosses theirs clips a corner.
struct BoxSpot {
    double share;
    int nudge;
};
constexpr BoxSpot kBoxSpots[Model::kConnections] = {
    // Threshold weights of units 4..9.
    {0.5, 0}, {0.5, 0}, {0.55, -6}, {0.88, -6}, {0.87, 0}, {0.5, 0},
    // Input 1, input 2, input 3, each to hidden units 1..5.
    {0.5, 0}, {0.29, 0}, {0.29, -5}, {0.79, -5}, {0.76, -3},
    {0.5, 4}, {0.73, 1}, {0.7, 0}, {0.73, -1}, {0.5, -4},
    {0.76, 3}, {0.79, 5}, {0.29, 5}, {0.29, 0}, {0.5, 0},
    // Hidden units 1..5 to the output.
    {0.13, 0}, {0.12, 6}, {0.45, 6}, {0.5, 0}, {0.5, 0}};

constexpr int kBoxH = 20, kUnitBoxW = 34, kWeightBoxW = 70;
constexpr int kPanelX = 790, kPanelW = 500;
constexpr int kHeadW = 104, kColumnW = 48;

StateGraph NetworkGraph() {
    StateGraph g;
    for (const QPointF& p : kUnitAt) g.states.emplace_back(p.x() / kPicture.width(), p.y() / kPicture.height());
    g.arcs.resize(Model::kConnections);
    for (int i = 0; i < kUnits; ++i)
        for (int j = i + 1; j < kUnits; ++j)
            if (Model::Connection(i, j)) g.arcs[static_cast<std::size_t>(Model::WeightBoxIndex(i, j))] = {i, j, 0.0};
    return g;
}

// A unit's name as a screen reader says it: the blanks that space out "閾 値" and "出　力" dropped.
QString SpokenUnit(int i) { return i == 0 ? QStringLiteral("閾値") : i == kUnits - 1 ? QStringLiteral("出力") : kUnitNames[i]; }

QString PatternCaption(int k) { return QString::fromStdString(Model::PatternText(k)); }

QString WithLineFeeds(const std::string& text) { return QString::fromStdString(text).replace("\r\n", "\n"); }

}  // namespace

frmBoltzmannMachineLearning::frmBoltzmannMachineLearning()
    : SteppedForm("frmBoltzmannMachineLearning", QStringLiteral("ボルツマンマシンの学習")) {
    BuildDiagram();
    BuildTables();
    BuildPanel();
    setContentSize(QSize(kPanelX + kPanelW + 10, kPicture.height() + 20));
    curve_ = addCurveWindow({.title = QStringLiteral("誤差"),
                             .xTitle = QStringLiteral("学習回数"),
                             .series = {{QStringLiteral("誤差"), kBlue, kFixed4},
                                        {QStringLiteral("実行確認の誤差"), kRed, kFixed4, false, true}}});
    run_ = new Stepper(this, Text1, QStringLiteral("タイマー"), [this](StepBy) {
        if (!LearnIteration()) return StepResult::Stop;
        ShowNetwork();
        return StepResult::Continue;
    });
    setRunKeys({.step = "Command2", .start = "Command6", .stop = "Command7", .cancel = "Command4", .batch = &batch_});
}

void frmBoltzmannMachineLearning::BuildDiagram() {
    const StateGraph graph = NetworkGraph();
    // Inputs, hidden units, output, then the threshold unit: each with its weights still to come.
    setTabFlow(GraphTabFlow(graph, {1, 2, 3, 4, 5, 6, 7, 8, 9, 0}, "txtX", "txtW", false));
    const NetworkPicture picture(content(), graph, QRect(QPoint(10, 10), kPicture), kUnitRadii);
    for (int i = 0; i < kUnits; ++i) {
        txtX[i] = picture.PlaceUnit(content(), i, kUnitNames[i], i == 0 ? "1" : "0", QSize(kUnitBoxW, kBoxH));
        Describe(txtX[i], SpokenUnit(i) + QStringLiteral("の状態"),
                 i == 0 ? QStringLiteral("しきい値を表す、状態がいつも 1 の素子です。") : QStringLiteral("この素子の状態（0 か 1）です。"));
    }
    for (int n = 0; n < Model::kConnections; ++n) {
        const BoxSpot& spot = kBoxSpots[n];
        txtW[n] = MakeBox(content(), ArrayName("txtW", n), "",
                          CenteredRect(picture.Along(n, spot.share) + QPointF(0, spot.nudge), kWeightBoxW, kBoxH));
        const GraphArc& arc = graph.arcs[static_cast<std::size_t>(n)];
        Describe(txtW[n], QStringLiteral("%1と%2の間の重み").arg(SpokenUnit(arc.from), SpokenUnit(arc.to)),
                 QStringLiteral("この 2 つの素子を結ぶ重みです（学習で書き換わります）。"));
    }
}

void frmBoltzmannMachineLearning::BuildTables() {
    const Model::Training& d = Model::kDefaultTraining;
    auto number = [](double v) { return QString::fromStdString(Format(v, kFixed2)); };

    QGroupBox* frame1 = MakeFrame(content(), "Frame1", QStringLiteral("学習用データ"), QRect(kPanelX, 6, kPanelW, 140));
    const char* heads[] = {"Label3(1)", "Label3(0)", "Label3(2)", "Label3(3)"};
    const QString headCaptions[] = {QStringLiteral("入力素子値組"), QStringLiteral("入力出現 確率"),
                                    QStringLiteral("出力値 0 確率"), QStringLiteral("出力値 1 確率")};
    for (int r = 0; r < 4; ++r)
        MakeLabel(frame1, heads[r], headCaptions[r], QRect(6, 22 + r * 28, kHeadW - 8, kBoxH), Qt::AlignRight | Qt::AlignVCenter);
    for (int k = 0; k < kPatterns; ++k) {
        const int x = kHeadW + k * kColumnW;
        MakeLabel(frame1, ArrayName("Label4", k), PatternCaption(k), QRect(x, 22, kColumnW - 4, kBoxH), Qt::AlignCenter);
        txtQin[k] = MakeBox(frame1, ArrayName("txtQin", k), number(d.inputProb[k]), QRect(x, 50, kColumnW - 4, kBoxH));
        txtQ0[k] = MakeBox(frame1, ArrayName("txtQ0", k), number(d.targetProb[k][0]), QRect(x, 78, kColumnW - 4, kBoxH));
        txtQ1[k] = MakeBox(frame1, ArrayName("txtQ1", k), number(d.targetProb[k][1]), QRect(x, 106, kColumnW - 4, kBoxH));
        const QString column = PatternCaption(k);
        Describe(txtQin[k], QStringLiteral("入力出現確率（%1）").arg(column), QStringLiteral("この入力素子値組が現れる確率（0 から 1）を入れます。"));
        Describe(txtQ0[k], QStringLiteral("出力値 0 確率（%1）").arg(column), QStringLiteral("この入力のとき出力が 0 になってほしい確率（0 から 1）を入れます。"));
        Describe(txtQ1[k], QStringLiteral("出力値 1 確率（%1）").arg(column), QStringLiteral("この入力のとき出力が 1 になってほしい確率（0 から 1）を入れます。"));
        connect(txtQin[k], &QLineEdit::textChanged, this, [this, k] { txtQin_Change(k); });
        connect(txtQ0[k], &QLineEdit::textChanged, this, [this, k] { txtQ0_Change(k); });
        connect(txtQ1[k], &QLineEdit::textChanged, this, [this, k] { txtQ1_Change(k); });
    }

    QGroupBox* frame4 = MakeFrame(content(), "Frame4", QStringLiteral("実行結果"), QRect(kPanelX, 152, kPanelW, 112));
    MakeLabel(frame4, "Label3(4)", QStringLiteral("入力素子値組"), QRect(6, 22, kHeadW - 8, kBoxH), Qt::AlignRight | Qt::AlignVCenter);
    MakeLabel(frame4, "Label3(6)", QStringLiteral("出力値 0 確率"), QRect(6, 50, kHeadW - 8, kBoxH), Qt::AlignRight | Qt::AlignVCenter);
    MakeLabel(frame4, "Label3(5)", QStringLiteral("出力値 1 確率"), QRect(6, 78, kHeadW - 8, kBoxH), Qt::AlignRight | Qt::AlignVCenter);
    for (int k = 0; k < kPatterns; ++k) {
        const int x = kHeadW + k * kColumnW;
        // Label4(8) is "111" over the rightmost column, Label4(15) "000" over the leftmost.
        MakeLabel(frame4, ArrayName("Label4", 15 - k), PatternCaption(k), QRect(x, 22, kColumnW - 4, kBoxH), Qt::AlignCenter);
        txtExe0[k] = MakeBox(frame4, ArrayName("txtExe0", k), "", QRect(x, 50, kColumnW - 4, kBoxH));
        txtExe1[k] = MakeBox(frame4, ArrayName("txtExe1", k), "", QRect(x, 78, kColumnW - 4, kBoxH));
        Describe(txtExe0[k], QStringLiteral("実行結果の出力値 0 確率（%1）").arg(PatternCaption(k)),
                 QStringLiteral("「実行確認」で出力が 0 になった割合です。"));
        Describe(txtExe1[k], QStringLiteral("実行結果の出力値 1 確率（%1）").arg(PatternCaption(k)),
                 QStringLiteral("「実行確認」で出力が 1 になった割合です。"));
        connect(txtExe0[k], &QLineEdit::textChanged, this, [this, k] { txtExe0_Change(k); });
        connect(txtExe1[k], &QLineEdit::textChanged, this, [this, k] { txtExe1_Change(k); });
    }
    // Each table is one stop of the Tab chain, walked by the arrow keys.
    const auto row = [](const auto& boxes) { return std::vector<QLineEdit*>(boxes.begin(), boxes.end()); };
    new TableStop(frame1, {row(txtQin), row(txtQ0), row(txtQ1)});
    new TableStop(frame4, {row(txtExe0), row(txtExe1)});
}

void frmBoltzmannMachineLearning::BuildPanel() {
    const int half = (kPanelW - 10) / 2, x2 = kPanelX + half + 10;
    const RowGrid rows{.at = {8, 24}, .labelWidth = 130, .gap = 6, .boxWidth = 90, .height = kBoxH, .pitch = 28};
    QGroupBox* frame2 = MakeFrame(content(), "Frame2", QStringLiteral("計算オプション"), QRect(kPanelX, 270, half, 112));
    MakeBoxRows(frame2, rows,
                {{"Label5", kNumUpdateName, "txtNumUpdate", "400", &txtNumUpdate},
                 {"Label6", kNumLearnName, "txtNumLearn", "5000", &txtNumLearn},
                 {"Label7", kEpsilonName, "txtEpsilon", "0.2", &txtEpsilon}});
    QGroupBox* frame3 = MakeFrame(content(), "Frame3", QStringLiteral("誤差評価"), QRect(x2, 270, half, 140));
    MakeBoxRows(frame3, rows,
                {{"Label8", QStringLiteral("学習回数"), "txtNumOfLearn", "", &txtNumOfLearn},
                 {"Label9", QStringLiteral("入力素子値組"), "txtInputPattern", "", &txtInputPattern},
                 {"Label10", QStringLiteral("誤差"), "txtError", "", &txtError},
                 {"Label12", QStringLiteral("実行確認の誤差"), "txtExeError", "", &txtExeError}});
    DescribeControls(content(), {
        {"txtNumUpdate", {}, QStringLiteral("1 回の学習で素子の状態を更新する回数を入れます。")},
        {"txtNumLearn", {}, QStringLiteral("「一括学習」で学習を繰り返す回数を入れます。")},
        {"txtEpsilon", {}, QStringLiteral("重みを直すときにかける係数 ε（0 から 100）を入れます。")},
        {"txtNumOfLearn", {}, QStringLiteral("これまでに学習した回数です。")},
        {"txtInputPattern", {}, QStringLiteral("今学習している入力素子値組です。")},
        {"txtError", {}, QStringLiteral("学習中の誤差です。")},
        {"txtExeError", {}, QStringLiteral("「実行確認」で求めた誤差です。")},
    });

    QGroupBox* frame5 = MakeFrame(content(), "Frame5", QStringLiteral("実行オプション"), QRect(kPanelX, 388, half, 76));
    Check1 = MakeCheck(frame5, "Check1", QStringLiteral("デバッグモード"), QRect(12, 22, half - 24, 22));
    Check2 = MakeCheck(frame5, "Check2", QStringLiteral("逐次画面表示"), QRect(12, 46, half - 24, 22));

    using W = frmBoltzmannMachineLearning;
    const int bw = (half - 8) / 2;
    QWidget* c = content();
    MakeButton(c, "Command1", QStringLiteral("初期化"), QRect(kPanelX, 474, bw, 30), this, &W::Command1_Click);
    MakeButton(c, "Command2", QStringLiteral("逐次学習実行"), QRect(kPanelX + bw + 8, 474, bw, 30), this, &W::Command2_Click);
    MakeButton(c, "Command3", QStringLiteral("一括学習"), QRect(kPanelX, 510, bw, 30), this, &W::Command3_Click);
    MakeButton(c, "Command4", QStringLiteral("一括学習取消"), QRect(kPanelX + bw + 8, 510, bw, 30), this, &W::Command4_Click);
    MakeButton(c, "Command5", QStringLiteral("実行確認"), QRect(kPanelX, 546, bw, 30), this, &W::Command5_Click);
    MakeButton(c, "Command6", QStringLiteral("自動実行"), QRect(kPanelX, 590, bw, 30), this, &W::Command6_Click);
    MakeButton(c, "Command7", QStringLiteral("自動実行停止"), QRect(kPanelX + bw + 8, 590, bw, 30), this, &W::Command7_Click);
    Text1 = MakeLabelledBox(c, "Label11", QStringLiteral("タイマー"), QRect(kPanelX + bw + 8, 550, 60, kBoxH), "Text1", "500",
                            QRect(kPanelX + bw + 74, 550, bw - 66, kBoxH));

    MakeLabel(c, "Label2", QStringLiteral("結線構造マトリックス"), QRect(x2, 418, half, kBoxH));
    lblConnectTable = MakeLabel(c, "lblConnectTable", "", QRect(x2, 440, half, 200), Qt::AlignLeft | Qt::AlignTop);
    lblConnectTable->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
}

void frmBoltzmannMachineLearning::Form_Load() { InitialiseLearning(); }

bool frmBoltzmannMachineLearning::InitialiseLearning() {
    // Everything is read before anything changes, so that a refused box loses nothing.
    Model::Training t{};
    for (int k = 0; k < kPatterns; ++k) {
        const QString column = PatternCaption(k);
        const auto qin = ReadInRange(txtQin[k], QStringLiteral("入力出現確率（%1）").arg(column), Range{0, 1});
        if (!qin) return false;
        const auto q0 = ReadInRange(txtQ0[k], QStringLiteral("出力値 0 確率（%1）").arg(column), Range{0, 1});
        if (!q0) return false;
        const auto q1 = ReadInRange(txtQ1[k], QStringLiteral("出力値 1 確率（%1）").arg(column), Range{0, 1});
        if (!q1) return false;
        t.inputProb[k] = *qin;
        t.targetProb[k] = {*q0, *q1};
    }
    const auto numUpdate = ReadCount(txtNumUpdate, kNumUpdateName, 1, Model::kMaxCount);
    if (!numUpdate) return false;
    const auto epsilon = ReadInRange(txtEpsilon, kEpsilonName, Range{0, kMaxEpsilon});
    if (!epsilon) return false;
    t.numUpdate = *numUpdate;
    t.epsilon = *epsilon;

    SetConnections();
    model_->InitialiseLearning(t);
    curve_->clear();
    Randomize();
    for (int k = 0; k < kPatterns; ++k) txtQin_Change(k);
    return true;
}

bool frmBoltzmannMachineLearning::LearnIteration() {
    const QPointer<frmBoltzmannMachineLearning> self(this);
    const std::shared_ptr<Model> model = model_;
    Model::Observer watch;
    if (Check2->isChecked())
        watch.clamped = [self] {
            if (self) self->ShowNetwork();
        };
    // With neither option on nothing can turn one on before the iteration ends: it runs with
    // no call back at all.
    if (Check1->isChecked() || Check2->isChecked())
        watch.updated = [self] {
            if (!self) return;
            if (self->Check2->isChecked()) self->ShowNetwork();
            if (self->Check1->isChecked()) self->DebugReport();
        };
    model->SetNumOfLearn(model->NumOfLearn() + 1);
    model->LearnIteration(watch);
    if (!self) return false;
    curve_->addAt(static_cast<int>(model->NumOfLearn()), {model->LearnError()});
    return true;
}

void frmBoltzmannMachineLearning::DebugReport() {
    const QPointer<frmBoltzmannMachineLearning> self(this);
    // Thirty-five lines of figures: in a small fixed-pitch font the columns line up and the
    // box fits on a laptop screen.
    const QString report = QStringLiteral("<pre style=\"font-size: 8pt\">%1</pre>")
                               .arg(WithLineFeeds(boltzmann::DebugReportText(*model_)).toHtmlEscaped());
    const MsgAnswer a = MsgBox(this, report, MsgButtons::OkCancel);
    if (self && a == MsgAnswer::Cancel) Check1->setChecked(false);
}

void frmBoltzmannMachineLearning::ExecutionCheck() {
    const Model::CheckResult r = model_->ExecutionCheck();
    for (int k = 0; k < kPatterns; ++k) {
        SetText(txtExe0[k], Format(r.outProb[k][0], kFixed4));
        SetText(txtExe1[k], Format(r.outProb[k][1], kFixed4));
    }
    SetText(txtExeError, Format(r.expectedError, kFixed4));
    // Beside the iteration it checks; a check before any learning has none.
    if (curve_->count() > 0 && curve_->step(curve_->count() - 1) == model_->NumOfLearn()) {
        curve_->setLast(1, r.expectedError);
        curve_->refresh();
    }
}

void frmBoltzmannMachineLearning::Command1_Click() { InitialiseLearning(); }

void frmBoltzmannMachineLearning::Command2_Click() { run_->Step(); }

void frmBoltzmannMachineLearning::Command3_Click() {
    // Refused before anything is read; a second press while this window's batch runs is
    // ignored without a word.
    if (!batch_.mayStart()) return;
    const auto typed = ReadVal(txtNumLearn, kNumLearnName);
    if (!typed) return;
    // No iteration at all below 1; beyond the 16-bit counter refused.
    const auto n = RoundToLong(*typed);
    if (!n || *n > Model::kMaxCount) {
        ReportBadBox(txtNumLearn, CountMessage(kNumLearnName, 0, Model::kMaxCount));
        return;
    }
    if (!InitialiseLearning()) return;
    const double numLearn = static_cast<double>(*n);

    const BatchRunner::Outcome outcome = batch_.run(
        [this, numLearn] {
            // The counter is the model's: a step pressed between two iterations counts too.
            if (model_->NumOfLearn() >= numLearn) return false;
            if (!LearnIteration()) return false;
            return model_->NumOfLearn() < numLearn;
        },
        [this] { ShowProgress(); },
        [this] { return MsgBox(this, kCancelQuestion, MsgButtons::YesNo) == MsgAnswer::Yes; });
    if (outcome == BatchRunner::Outcome::kWindowClosed) return;
    ShowNetwork(Repaint::WithTheRest);  // the check's results follow at once: one paint for all
    ExecutionCheck();
}

void frmBoltzmannMachineLearning::Command4_Click() { batch_.cancel(); }

void frmBoltzmannMachineLearning::Command5_Click() { ExecutionCheck(); }

void frmBoltzmannMachineLearning::Command6_Click() {
    Check1->setChecked(false);  // no report interrupts the run
    run_->Start();
}

void frmBoltzmannMachineLearning::Command7_Click() { run_->Stop(); }

void frmBoltzmannMachineLearning::txtQin_Change(int Index) {
    if (Index < 0 || Index >= kPatterns) return;
    if (const auto v = PeekVal(txtQin[Index])) SetBackColor(txtQin[Index], *v > 0 ? kRed : kSkyBlue);
    ColourResultPair(Index);
    ColourTargetPair(Index);
}

void frmBoltzmannMachineLearning::txtQ0_Change(int Index) { ColourTargetPair(Index); }
void frmBoltzmannMachineLearning::txtQ1_Change(int Index) { ColourTargetPair(Index); }
void frmBoltzmannMachineLearning::txtExe0_Change(int Index) { ColourResultPair(Index); }
void frmBoltzmannMachineLearning::txtExe1_Change(int Index) { ColourResultPair(Index); }

void frmBoltzmannMachineLearning::ColourTargetPair(int k) {
    if (k >= 0 && k < kPatterns) ColourPair(k, txtQ0[k], txtQ1[k]);
}

void frmBoltzmannMachineLearning::ColourResultPair(int k) {
    if (k >= 0 && k < kPatterns) ColourPair(k, txtExe0[k], txtExe1[k]);
}

void frmBoltzmannMachineLearning::ColourPair(int k, QLineEdit* zero, QLineEdit* one) {
    // Typing is followed silently: a value beyond a double leaves the colours as they were.
    const auto qin = PeekVal(txtQin[k]), a = PeekVal(zero), b = PeekVal(one);
    if (!qin || !a || !b) return;
    if (*qin == 0) {
        SetBackColor(zero, kSkyBlue);
        SetBackColor(one, kSkyBlue);
    } else if (*b > *a) {
        SetBackColor(one, kRed);
        SetBackColor(zero, kGreen);
    } else if (*b == *a) {
        SetBackColor(zero, kYellow);
        SetBackColor(one, kYellow);
    } else {
        SetBackColor(zero, kRed);
        SetBackColor(one, kGreen);
    }
}

void frmBoltzmannMachineLearning::SetConnections() {
    lblConnectTable->setText(WithLineFeeds(boltzmann::ConnectionTableText()));
}

void frmBoltzmannMachineLearning::ShowNetwork(Repaint repaint) {
    const Model& m = *model_;
    for (int i = 0; i < kUnits; ++i) {
        SetText(txtX[i], GeneralText(m.X(i)));
        SetBackColor(txtX[i], m.X(i) > 0 ? kRed : kGreen);
    }
    for (int i = 0; i < kUnits; ++i)
        for (int j = i + 1; j < kUnits; ++j) {
            const int n = Model::WeightBoxIndex(i, j);
            if (n < 0) continue;
            SetText(txtW[n], Format(m.W(i, j), kFixed5));
            SetBackColor(txtW[n], m.W(i, j) >= 0 ? kYellow : kRed);
        }
    ShowProgress(repaint);
}

void frmBoltzmannMachineLearning::ShowProgress(Repaint repaint) {
    const Model& m = *model_;
    SetText(txtNumOfLearn, GeneralText(m.NumOfLearn()));
    SetText(txtInputPattern, std::to_string(m.InputIndex()) + "(" + Model::PatternText(m.InputIndex()) + ")");
    SetText(txtError, Format(m.LearnError(), kFixed4));
    curve_->refresh();
    if (repaint == Repaint::WithTheRest) return;
    // Repainted at once, so that they count during a long computation: the three boxes in one
    // pass, which also paints whatever else waits to be painted.
    QRegion boxes;
    for (QLineEdit* box : {txtNumOfLearn, txtInputPattern, txtError}) boxes += box->geometry();
    txtNumOfLearn->parentWidget()->repaint(boxes);
}

}  // namespace kv
