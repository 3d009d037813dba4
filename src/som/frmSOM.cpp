#include "som/frmSOM.h"

#include <QCheckBox>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <utility>
#include <vector>

#include "kit/accessible.h"
#include "kit/controls.h"
#include "kit/curve_window.h"
#include "kit/tab_chain.h"
#include "plot/PlotSurface.h"
#include "plot/input.h"
#include "plot/msgbox.h"
#include "plot/numtext.h"
#include "plot/random.h"
#include "plot/rounding.h"

namespace kv {
namespace {

using som::kAnimals;
using som::kAttributes;
using som::kSide;

const std::array<const char*, kAnimals> kAnimalNames = {"ハト", "ニワトリ", "カモ", "アヒル", "フクロウ", "タカ",
                                                          "ワシ", "キツネ", "イヌ", "オオカミ", "ネコ", "トラ",
                                                          "ライオン", "ウマ", "シマウマ", "ウシ"};
const std::array<const char*, kAttributes> kAttributeNames = {
    "小さい", "中ぐらい", "大きい", "２本足", "４本足", "毛を持つ", "ひづめを持つ", "たてがみを持つ",
    "羽を持つ", "狩猟する", "走ることを好む", "飛ぶことを好む", "泳ぐことを好む", "草食性", "夜行性", "縞あり"};

const QString kLoopName = QStringLiteral("学習回数");

// Layout: the table, then the map at the lower left and the controls at its right.
constexpr int kMargin = 8;
constexpr int kNameWidth = 112;
constexpr int kColumnLeft = kMargin + kNameWidth + 4, kColumnPitch = 52, kBoxWidth = 50;
constexpr int kHeadTop = 6, kRowTop = 28, kRowPitch = 20;
constexpr int kMapTop = kRowTop + kSide * kRowPitch + 10;
constexpr int kMapHeight = 342;  // 18 units of 19 pixels
constexpr int kPanelLeft = 392;
constexpr int kWindowWidth = kColumnLeft + kAnimals * kColumnPitch + kMargin;
constexpr int kWindowHeight = kMapTop + kMapHeight + kMargin;

// The table box of animal n's attribute a: the boxes run down one animal's attributes.
constexpr int TableBox(int n, int a) { return n * kAttributes + a; }

QString BoxName(int n, int a) { return QStringLiteral("%1の%2").arg(QString::fromUtf8(kAnimalNames[n]), QString::fromUtf8(kAttributeNames[a])); }

// A boundary's unit segments joined where one carries straight on from another: the same
// pixels in fewer lines. Vertical ones first, column by column, then horizontal ones.
std::vector<som::Segment> Joined(std::vector<som::Segment> segments) {
    const auto vertical = [](const som::Segment& s) { return s.x1 == s.x2; };
    std::sort(segments.begin(), segments.end(), [&](const som::Segment& a, const som::Segment& b) {
        if (vertical(a) != vertical(b)) return vertical(a);
        return vertical(a) ? std::pair(a.x1, a.y1) < std::pair(b.x1, b.y1) : std::pair(a.y1, a.x1) < std::pair(b.y1, b.x1);
    });
    std::vector<som::Segment> joined;
    for (const som::Segment& s : segments) {
        som::Segment* last = joined.empty() ? nullptr : &joined.back();
        if (last && vertical(*last) == vertical(s) && last->x2 == s.x1 && last->y2 == s.y1) {
            last->x2 = s.x2;
            last->y2 = s.y2;
        } else {
            joined.push_back(s);
        }
    }
    return joined;
}

}  // namespace

frmSOM::frmSOM()
    : frmSOM(Variant{"frmSOM", QStringLiteral("SOM(Self-Organizing Maps)アルゴリズムによる分類学習"), true, -1,
                     QStringLiteral("16×16 のユニットを重みベクトルの大きさで白から黄、赤に塗り分け、各動物が勝ったユニットに"
                                    "青い点と動物名を描き、草食性の境目を黒、羽の有無の境目を青の線で示します。")}) {}

frmSOM::frmSOM(const Variant& variant)
    : SteppedForm(variant.name, variant.caption), variant_(variant), batch_(this, BatchRunner::Events::kProcessWithProgress) {
    setContentSize(QSize(kWindowWidth, kWindowHeight));
    BuildTable();
    BuildControls();
    run_ = new Stepper(this, Text2, QStringLiteral("タイマー"), [this](StepBy by) { return MapStep(by); });
    showWaitsOf(run_);
    setRunKeys({.step = "Command2", .start = "Command4", .stop = "Command5", .cancel = "Command6", .batch = &batch_});
    curve_ = addCurveWindow({.title = QStringLiteral("勝者までの平均距離"),
                             .xTitle = QStringLiteral("学習回数"),
                             .series = {{QStringLiteral("平均距離"), kBlue, kFixed4}},
                             .logOffered = true});
}

void frmSOM::BuildTable() {
    QWidget* c = content();
    Label3 = MakeLabel(c, "Label3", QStringLiteral("動物名と属性"), QRect(kMargin, kHeadTop, kNameWidth, 20));
    for (int n = 0; n < kAnimals; ++n)
        Label1[n] = MakeLabel(c, ArrayName("Label1", n), QString::fromUtf8(kAnimalNames[n]),
                              QRect(kColumnLeft + n * kColumnPitch - 1, kHeadTop, kColumnPitch, 20), Qt::AlignCenter);
    for (int a = 0; a < kAttributes; ++a)
        Label2[a] = MakeLabel(c, ArrayName("Label2", a), QString::fromUtf8(kAttributeNames[a]),
                              QRect(kMargin, kRowTop + a * kRowPitch, kNameWidth, kRowPitch));
    std::vector<std::vector<QLineEdit*>> rows(kAttributes);
    for (int n = 0; n < kAnimals; ++n)
        for (int a = 0; a < kAttributes; ++a) {
            QLineEdit* box = MakeBox(c, ArrayName("Text1", TableBox(n, a)), QString::fromStdString(GeneralText(som::kDefaultAnimals[n][a])),
                                     QRect(kColumnLeft + n * kColumnPitch, kRowTop + a * kRowPitch, kBoxWidth, kRowPitch));
            Describe(box, QStringLiteral("%1 の %2").arg(QString::fromUtf8(kAnimalNames[n]), QString::fromUtf8(kAttributeNames[a])),
                     QStringLiteral("この動物がこの属性を持つ度合い（持つなら 1、持たないなら 0）を入れます。"));
            Text1[TableBox(n, a)] = box;
            rows[static_cast<std::size_t>(a)].push_back(box);
        }
    // One stop of the Tab chain, not 256: the arrow keys walk the attributes and the animals.
    new TableStop(c, std::move(rows));
    // A batch reads the table again only after one of its texts changed: reading 256 boxes
    // costs as much as a step, and a value depends on nothing but its text.
    for (QLineEdit* box : Text1) connect(box, &QLineEdit::textChanged, this, [this] { tableEdited_ = true; });
}

void frmSOM::BuildControls() {
    QWidget* c = content();
    const double units = 17 - variant_.plotLeft;  // the map's scale runs to 17 both ways
    Picture1 = MakePlot(c, QPoint(kMargin, kMapTop), QSize(static_cast<int>(kMapHeight * units / 18 + 0.5), kMapHeight),
                        QStringLiteral("分類マップ"), variant_.mapDescription);

    const int top = kMapTop;
    Frame1 = MakeFrame(c, "Frame1", QStringLiteral("計算オプション"), QRect(kPanelLeft, top, 190, 124));
    const RowGrid grid{.at = {10, 26}, .labelWidth = 80, .gap = 6, .boxWidth = 80, .height = 24, .pitch = 30,
                       .labelAlign = Qt::AlignLeft | Qt::AlignVCenter};
    const BoxRow loop{"Label4", kLoopName, "txtLoop", "200"};
    const BoxRow alfa0{"Label5", QStringLiteral("α0"), "txtAlfa0", "0.3"};
    const BoxRow nc0{"Label6", QStringLiteral("Nc(0)"), "txtNc0", "4"};
    const auto boxes =
        variant_.initOptions ? MakeBoxRows(Frame1, grid, {loop, alfa0, nc0}) : MakeBoxRows(Frame1, grid, {loop, alfa0});
    txtLoop = boxes[0];
    txtAlfa0 = boxes[1];
    if (variant_.initOptions) {
        txtNc0 = boxes[2];

        Frame2 = MakeFrame(c, "Frame2", QStringLiteral("初期化方法"), QRect(kPanelLeft, top + 136, 190, 140));
        const char* captions[4] = {"全体ランダム設定", "全体ランダム+固定値", "全体を０に設定+固定値", "全体を１に設定+固定値"};
        for (int i = 0; i < 4; ++i)
            Option[i] = MakeOption(Frame2, QStringLiteral("Option%1").arg(i + 1), QString::fromUtf8(captions[i]),
                                   QRect(10, 24 + i * 28, 176, 24));
        Option[1]->setChecked(true);
    } else {
        // Without a neighbourhood the Nc(0) row keeps its label and has no box.
        MakeLabel(Frame1, nc0.label, nc0.caption, QRect(grid.at + QPoint(0, 2 * grid.pitch), QSize(grid.labelWidth, grid.height)),
                  grid.labelAlign);
    }

    const int x = kPanelLeft + 206, w = 170;
    Command1 = MakeButton(c, "Command1", QStringLiteral("初期化"), QRect(x, top + 6, w, 30), this, &frmSOM::Command1_Click);
    Command2 = MakeButton(c, "Command2", QStringLiteral("逐次実行"), QRect(x, top + 42, w, 30), this, &frmSOM::Command2_Click);
    Command4 = MakeButton(c, "Command4", QStringLiteral("逐次自動学習"), QRect(x, top + 94, w, 30), this, &frmSOM::Command4_Click);
    Text2 = MakeLabelledBox(c, "Label8", QStringLiteral("タイマー"), QRect(x, top + 130, 70, 24), "Text2", "200",
                            QRect(x + 80, top + 130, w - 80, 24), Qt::AlignLeft | Qt::AlignVCenter);
    Command5 = MakeButton(c, "Command5", QStringLiteral("逐次自動学習停止"), QRect(x, top + 160, w, 30), this, &frmSOM::Command5_Click);
    Check1 = MakeCheck(c, "Check1", QStringLiteral("学習回数で繰返し"), QRect(x, top + 196, w, 24));

    const int x2 = x + w + 16;
    Command3 = MakeButton(c, "Command3", QStringLiteral("一括実行"), QRect(x2, top + 6, w, 30), this, &frmSOM::Command3_Click);
    Command6 = MakeButton(c, "Command6", QStringLiteral("一括実行停止"), QRect(x2, top + 42, w, 30), this, &frmSOM::Command6_Click);
    Label7 = MakeLabel(c, "Label7", "", QRect(x2, top + 94, w, 24));

    DescribeControls(c, {{"txtLoop", {}, QStringLiteral("学習のステップを何回行うかを入れます。")},
                         {"txtAlfa0", QStringLiteral("学習率の初期値"), QStringLiteral("学習率 α の最初の値を入れます（学習が進むにつれて 0 に近づきます）。")},
                         {"txtNc0", QStringLiteral("近傍の半径の初期値"), QStringLiteral("勝者のまわりで一緒に学習するユニットの範囲（半径）の最初の値を入れます。")}});
}

void frmSOM::Form_Load() { MapInit(Reading::kReport); }

void frmSOM::Command1_Click() {
    if (DeferDuringBatch(&frmSOM::Command1_Click)) return;
    MapInit(Reading::kReport);
}

void frmSOM::Command2_Click() {
    if (DeferDuringBatch(&frmSOM::Command2_Click)) return;
    run_->Step();
}

void frmSOM::Command3_Click() {
    // A second press restarts the batch from its beginning, once this one has ended.
    if (DeferDuringBatch(&frmSOM::Command3_Click)) return;
    if (!batch_.mayStart()) return;  // another window's batch: refused before the map is touched
    run_->Stop();  // the batch and an automatic run would step the same map
    // The fresh map is drawn only once the learner can see it: a batch over before events
    // first get through shows just its end.
    if (!MapInit(Reading::kReport, Drawing::kWhenShown)) return;

    int steps = 0;
    pending_ = nullptr;  // a press left from a batch that ended with its window closed
    som::StepOutcome refused = som::StepOutcome::kDone;
    const QPointer<frmSOM> alive(this);
    const BatchRunner::Outcome outcome = batch_.run([&] {
        if (steps >= map().MapLoop()) return false;
        // The table may be edited while the batch runs; a box being retyped keeps its last value.
        if (tableEdited_) {
            tableEdited_ = false;
            if (const auto now = ReadTable(Reading::kSilent)) lastTable_ = *now;
        }
        const som::StepReport step = StepModel(lastTable_);
        if (step.outcome != som::StepOutcome::kDone) {
            refused = step.outcome;
            return false;
        }
        ++steps;
        return true;
    }, [this] {
        // Just before events get through: the counter as often as the eye can follow, and
        // the first map, which stays until the end.
        DrawStart();
        ShowCount(map().MapCount());
    });
    if (outcome == BatchRunner::Outcome::kWindowClosed || !alive) return;
    if (outcome == BatchRunner::Outcome::kAlreadyRunning) {  // the runner has told the learner
        DrawStart();
        return;
    }
    start_.reset();  // replaced by the last map, unseen
    if (steps > 0) ShowCount(map().MapCount());
    MapDraw(map(), lastTable_);
    if (refused != som::StepOutcome::kDone && !ReportRefused(refused)) return;
    if (pending_) {
        const auto slot = pending_;
        pending_ = nullptr;
        (this->*slot)();
    }
}

void frmSOM::Command4_Click() {
    if (DeferDuringBatch(&frmSOM::Command4_Click)) return;
    if (!MapInit(Reading::kReport)) return;
    run_->Start();
}

void frmSOM::Command5_Click() { run_->Stop(); }

void frmSOM::Command6_Click() { batch_.cancel(); }

bool frmSOM::DeferDuringBatch(void (frmSOM::*slot)()) {
    if (!batch_.running()) return false;
    pending_ = slot;
    batch_.cancel();
    return true;
}

std::optional<som::AnimalTable> frmSOM::ReadTable(Reading how) {
    som::AnimalTable table;
    for (int n = 0; n < kAnimals; ++n) {
        for (int a = 0; a < kAttributes; ++a) {
            QLineEdit* box = Text1[TableBox(n, a)];
            // The box's name is made only for the message: for 256 boxes it costs more
            // than reading them.
            const auto v = PeekVal(box);
            if (!v) {
                if (how == Reading::kReport) ReadVal(box, BoxName(n, a));
                return std::nullopt;
            }
            table[n][a] = *v;
        }
    }
    return table;
}

std::optional<frmSOM::Params> frmSOM::ReadParams(Reading how) {
    Params p;
    if (how == Reading::kReport) {
        if (txtNc0) {
            const auto nc0 = ReadVal(txtNc0, QStringLiteral("Nc(0)"));
            if (!nc0) return std::nullopt;
            p.nc0 = *nc0;
        }
        const auto alfa0 = ReadVal(txtAlfa0, QStringLiteral("α0"));
        if (!alfa0) return std::nullopt;
        const auto loop = ReadCount(txtLoop, kLoopName, som::kMinCount, som::kMaxCount);
        if (!loop) return std::nullopt;
        p.alfa0 = *alfa0;
        p.loop = *loop;
        return p;
    }
    const auto nc0 = txtNc0 ? PeekVal(txtNc0) : std::optional<double>(0);
    const auto alfa0 = PeekVal(txtAlfa0);
    const auto loop = PeekVal(txtLoop);
    if (!nc0 || !alfa0 || !loop) return std::nullopt;
    const auto count = RoundToShort(*loop);
    if (!count) return std::nullopt;
    return Params{*alfa0, *nc0, *count};
}

bool frmSOM::MapInit(Reading how, Drawing drawing) {
    const auto p = ReadParams(how);
    if (!p) return false;
    const auto table = ReadTable(how);
    if (!table) return false;
    Randomize();
    InitModel(*table, *p);
    lastTable_ = *table;
    tableEdited_ = false;
    curve_->clear();
    restartPending_ = false;
    // A new map has taken no step: its counter is blank, as when the window opens, rather
    // than the last run's count beside fresh weights.
    Label7->clear();
    SetPlotScale(*Picture1, variant_.plotLeft, -1, 17, 17);
    start_.reset();
    if (drawing == Drawing::kNow) MapDraw(map(), *table);
    else start_ = Start{map(), *table};  // the weights are all the drawing needs
    return true;
}

void frmSOM::DrawStart() {
    if (!start_) return;
    MapDraw(start_->map, start_->animals);
    start_.reset();
}

void frmSOM::InitModel(const som::AnimalTable& animals, const Params& p) {
    som::InitMethod method = som::InitMethod::kOneAndAnimals;
    if (Option[0]->isChecked()) method = som::InitMethod::kRandom;
    else if (Option[1]->isChecked()) method = som::InitMethod::kRandomAndAnimals;
    else if (Option[2]->isChecked()) method = som::InitMethod::kZeroAndAnimals;
    som_.MapInit(method, animals, p.alfa0, p.nc0, p.loop);
}

som::StepReport frmSOM::StepModel(const som::AnimalTable& animals) { return Followed(som_.MapStep(animals)); }

QString frmSOM::StepSizeBoxes() const { return QStringLiteral("「α0」または「Nc(0)」"); }

StepResult frmSOM::MapStep(StepBy by) {
    const bool byTimer = by == StepBy::Timer;
    if (restartPending_ && byTimer) {
        // The last run ended on a tick that could not read the boxes for the next one.
        return MapInit(Reading::kSilent) ? StepResult::Continue : StepResult::Wait;
    }
    const auto table = ReadTable(byTimer ? Reading::kSilent : Reading::kReport);
    if (!table) return byTimer ? StepResult::Wait : StepResult::Stop;
    const som::StepReport step = StepModel(*table);
    const bool runOver = byTimer && map().MapCount() >= map().MapLoop();
    if (step.outcome == som::StepOutcome::kAtLimit && runOver) return EndOfRun();  // the still step needs no count
    if (step.outcome != som::StepOutcome::kDone) {
        run_->Stop();  // before the message: the run cannot go on from here
        ReportRefused(step.outcome);
        return StepResult::Stop;
    }
    ShowCount(map().MapCount());
    MapDraw(map(), *table);
    if (!byTimer || map().MapCount() <= map().MapLoop()) return StepResult::Continue;
    // This tick took the step with f = 0, which moved nothing.
    return EndOfRun();
}

StepResult frmSOM::EndOfRun() {
    if (Check1->isChecked()) {
        if (!MapInit(Reading::kSilent)) restartPending_ = true;
        return StepResult::Continue;
    }
    map().EndRun();
    ShowCount(map().MapCount());
    return StepResult::Stop;
}

bool frmSOM::ReportRefused(som::StepOutcome outcome) {
    switch (outcome) {
        case som::StepOutcome::kDone: return true;
        case som::StepOutcome::kNoLoop:
            ReportBadBox(txtLoop, QStringLiteral("「学習回数」が0のため学習できません。「学習回数」に0以外の回数を入力して、"
                                                 "「初期化」からやり直してください。"));
            break;
        case som::StepOutcome::kAtLimit:
            MsgBox(this, QStringLiteral("学習の回数が%1回に達したため、これ以上学習できません。「初期化」からやり直してください。")
                             .arg(som::kMaxCount));
            break;
        case som::StepOutcome::kNotFinite:
            MsgBox(this, QStringLiteral("重みが大きくなりすぎて計算できないため、この学習は行いませんでした。"
                                        "%1の値を小さくして、「初期化」からやり直してください。")
                             .arg(StepSizeBoxes()));
            break;
    }
    return false;
}

som::StepReport frmSOM::Followed(const som::StepReport& step) {
    if (step.outcome == som::StepOutcome::kDone) curve_->addAt(map().MapCount(), {step.meanDistance});
    return step;
}

void frmSOM::ShowCount(int count) {
    // Painted with the map when events next get through: a step returns to them at once,
    // and a batch lets them through right after it writes the count.
    Label7->setText(QStringLiteral("回数　%1").arg(count));
    curve_->refresh();  // the curve is drawn when the counter is
}

void frmSOM::MapDraw() {
    if (const auto table = ReadTable(Reading::kSilent)) MapDraw(map(), *table);
}

void frmSOM::MapDraw(const som::UnitMap& m, const som::AnimalTable& animals) {
    Picture1->Cls();
    DrawModel(m, animals);
}

void frmSOM::DrawModel(const som::UnitMap& m, const som::AnimalTable& animals) {
    const auto colours = som::MapColors(m);
    // Cells of one colour running down a column go in as one box: the same pixels, as each
    // cell's box covers the edge it shares with the next, which the next covers again.
    for (int x = 0; x < kSide; ++x) {
        for (int y = 0; y < kSide;) {
            const Rgb colour = colours[x * kSide + y];
            int end = y + 1;
            while (end < kSide && colours[x * kSide + end] == colour) ++end;
            Picture1->FilledBox(x, y, x + 1, end, colour);
            y = end;
        }
    }
    DrawAnimals(m, animals);
    for (const som::Segment& s : Joined(som::HerbivoreBoundary(m))) Picture1->Line(s.x1, s.y1, s.x2, s.y2, kBlack);
    for (const som::Segment& s : Joined(som::FeatherBoundary(m))) Picture1->Line(s.x1, s.y1, s.x2, s.y2, kBlue);
}

void frmSOM::DrawAnimals(const som::UnitMap& m, const som::AnimalTable& animals) {
    const FillStyle kept = Picture1->fillStyle();
    const auto winners = m.Winners(animals);
    Picture1->setFillStyle(FillStyle::Solid);
    Picture1->setFillColor(kBlue);
    Picture1->setFontSize(8);
    QFont font = Picture1->font();
    font.setPointSizeF(Picture1->fontSize());
    const QFontMetricsF metrics(font);
    // User units of one pixel across and down.
    const double unitX = Picture1->scaleWidth() / Picture1->width(), unitY = Picture1->scaleHeight() / Picture1->height();
    constexpr double kDotAt = 0.6, kDotRadius = 0.1;  // within the winner's cell
    for (int n = 0; n < kAnimals; ++n) {
        const som::Unit b = winners[n];
        // A dark rim keeps the blue dot apart from the red and orange cells.
        Picture1->Circle(b.x + kDotAt, b.y + kDotAt, kDotRadius, kNavy);
        // The name starts at its cell's top-left corner. Where it would run past the map's
        // right edge it ends before its dot instead, and past the bottom edge it rises: the
        // printed text takes its advance and 2 pixels across, a line down.
        const QString name = Label1[n]->text();
        const double width = (metrics.horizontalAdvance(name) + 2) * unitX;
        const double x = b.x + width <= kSide ? b.x : b.x + kDotAt - kDotRadius - width;
        Picture1->setCurrentX(std::max(0.0, x));
        Picture1->setCurrentY(std::min<double>(b.y, kSide - metrics.height() * unitY));
        Picture1->Print(name.toStdString());
    }
    Picture1->setFillStyle(kept);
}

}  // namespace kv
