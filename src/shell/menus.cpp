#include "shell/menus.h"

#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "kit/controls.h"
#include "kit/registry.h"
#include "plot/random.h"
#include "shell/markov_diagrams.h"

namespace kv {

MenuWindow::MenuWindow(const QString& name, const QString& caption, std::vector<MenuEntry> entries)
    : FormWindow(name, caption), entries_(std::move(entries)) {
    // A topic menu's help is the main page's section on its topic.
    if (name != QLatin1String("frmMain")) setHelpPage(QStringLiteral("frmMain"), name);
}

MenuWindow::MenuWindow(const QString& name, const QString& caption, std::vector<MenuEntry> entries, int buttonWidth)
    : MenuWindow(name, caption, std::move(entries)) {
    auto* column = new QVBoxLayout(content());
    column->setSpacing(8);
    column->setContentsMargins(16, 16, 16, 16);
    for (const MenuEntry& e : entries_) {
        QPushButton* b = makeButton(e, content());
        b->setFixedSize(buttonWidth, 40);
        column->addWidget(b);
    }
    fitContent();
}

QPushButton* MenuWindow::makeButton(const MenuEntry& e, QWidget* parent) {
    QPushButton* b = MakeButton(parent, QStringLiteral("Command%1").arg(e.button), e.caption, QRect());
    const QByteArray slot = QStringLiteral("Command%1_Click").arg(e.button).toLatin1();
    connect(b, &QPushButton::clicked, this, [this, slot] { QMetaObject::invokeMethod(this, slot.constData()); });
    return b;
}

void MenuWindow::tabInNumberOrder() {
    QStringList buttons;
    for (std::size_t n = 1; n <= entries_.size(); ++n) buttons << QStringLiteral("Command%1").arg(n);
    setTabFlow(buttons);
}

void MenuWindow::open(int button) {
    for (const MenuEntry& e : entries_)
        if (e.button == button) ShowWindow(e.opens, this);
}

frmMain::frmMain()
    : MenuWindow(QStringLiteral("frmMain"), QStringLiteral("Korvalen"),
                 {
                     // Screen order from the top; the tab order follows the button numbers.
                     {1, QStringLiteral("ニューロンの工学的モデル"), QStringLiteral("frmNeuronModel")},
                     {2, QStringLiteral("ネットワークの形態"), QStringLiteral("frmNetworkStructure")},
                     {3, QStringLiteral("論理素子のニューロンによる表現"), QStringLiteral("frmLogicalUnit")},
                     {7, QStringLiteral("勾配法（山登り法または山下り法）"), QStringLiteral("frmslopemethod")},
                     {8, QStringLiteral("線形システムの学習"), QStringLiteral("frmLinearSystem")},
                     {4, QStringLiteral("ニューラルネットワークの学習"), QStringLiteral("frmLearn")},
                     {5, QStringLiteral("マルコフモデルの状態遷移"), QStringLiteral("frmMarkov")},
                     {6, QStringLiteral("ボルツマンマシン"), QStringLiteral("frmBoltzmannMachine")},
                     {9, QStringLiteral("自己組織化マップ"), QStringLiteral("frmSOMMain")},
                 },
                 300) {
    tabInNumberOrder();
}

void frmMain::Form_Load() { Randomize(); }

frmNeuronModel::frmNeuronModel()
    : MenuWindow(QStringLiteral("frmNeuronModel"), QStringLiteral("ニューロンの工学的モデル"),
                 {
                     {1, QStringLiteral("決定的2値モデル"), QStringLiteral("frmDecision2Model")},
                     {2, QStringLiteral("決定的アナログモデル"), QStringLiteral("frmDecisionAnalogModel")},
                     {3, QStringLiteral("確率的2値モデル"), QStringLiteral("frmRandom2Model")},
                     {4, QStringLiteral("時間発展モデル"), QStringLiteral("frmTimeModel")},
                 },
                 260) {}

frmNetworkStructure::frmNetworkStructure()
    : MenuWindow(QStringLiteral("frmNetworkStructure"), QStringLiteral("ネットワークの形態"),
                 {
                     {1, QStringLiteral("フィードフォワード型"), QStringLiteral("frmNetworkFeedForward")},
                     {2, QStringLiteral("リカレント型"), QStringLiteral("frmNetworkRecurrent")},
                 },
                 260) {}

frmLearn::frmLearn()
    : MenuWindow(QStringLiteral("frmLearn"), QStringLiteral("ニューラルネットの学習"),
                 {
                     {1, QStringLiteral("単一ニューロンの学習"), QStringLiteral("frmUnitLearning")},
                     {2, QStringLiteral("誤差伝播法による学習"), QStringLiteral("frmFeedFowardLearning")},
                 },
                 260) {}

frmBoltzmannMachine::frmBoltzmannMachine()
    : MenuWindow(QStringLiteral("frmBoltzmannMachine"), QStringLiteral("ボルツマン（Boltzmann)マシン"),
                 {
                     {1, QStringLiteral("ボルツマンマシン実行"), QStringLiteral("frmBoltzmannMachineExec")},
                     {2, QStringLiteral("ボルツマンマシン学習"), QStringLiteral("frmBoltzmannMachineLearning")},
                 },
                 260) {}

frmslopemethod::frmslopemethod()
    : MenuWindow(QStringLiteral("frmslopemethod"), QStringLiteral("勾配法（山登り法/山下り法）"),
                 {
                     {1, QStringLiteral("最も単純な方法"), QStringLiteral("frmSlopeMethod1")},
                     {2, QStringLiteral("微分値を用いる方法"), QStringLiteral("frmSlopeMethod2")},
                 },
                 260) {}

frmLinearSystem::frmLinearSystem()
    : MenuWindow(QStringLiteral("frmLinearSystem"), QStringLiteral("線形システムによる学習"),
                 {
                     {1, QStringLiteral("一括更新学習法"), QStringLiteral("frmLinearSystem1")},
                     {2, QStringLiteral("逐次更新学習法"), QStringLiteral("frmLinearSystem2")},
                 },
                 260) {}

frmSOMMain::frmSOMMain()
    : MenuWindow(QStringLiteral("frmSOMMain"), QStringLiteral("自己組織化マップ"),
                 {
                     {1, QStringLiteral("自己組織化マップ\u3000SOM(Self Organizing Maps)アルゴリズム"), QStringLiteral("frmSOM")},
                     {2, QStringLiteral("学習ベクトル化量子化\u3000LVQ(Learning Vector Quatization)アルゴリズム"),
                      QStringLiteral("frmLVQ")},
                 },
                 560) {}

frmMarkov::frmMarkov()
    : MenuWindow(QStringLiteral("frmMarkov"), QStringLiteral("マルコフモデル"),
                 {
                     {1, QStringLiteral("簡単な状態遷移の実行"), QStringLiteral("frmMarKovModel")},
                     {2, QStringLiteral("単一ループの例"), QStringLiteral("frmMarKovModel2")},
                     {3, QStringLiteral("抜け出せない2つ以上のノードを持つ"), QStringLiteral("frmMarKovModel3")},
                     {4, QStringLiteral("例1"), QStringLiteral("frmMarKovModel4")},
                     {5, QStringLiteral("例２"), QStringLiteral("frmMarKovModel5")},
                     {6, QStringLiteral("接するループの長さの最大公約数が2以上になる"), QStringLiteral("frmMarKovModel6")},
                 }) {
    const QSize pic(300, 250);
    auto button = [this](int n, QWidget* parent, QRect geometry) {
        makeButton(entries()[static_cast<std::size_t>(n - 1)], parent)->setGeometry(geometry);
    };
    auto diagram = [&](int n, QWidget* parent) {
        auto* d = new StateGraphView(parent, MarkovMenuGraph(n), pic);
        d->setObjectName(QStringLiteral("Picture%1").arg(n));
        return d;
    };

    QWidget* c = content();
    button(1, c, QRect(16, 12, 240, 36));

    // Upper row: "平衡しない" (one diagram) beside "平衡する例" (two diagrams).
    const int top = 60, frameH = 60 + pic.height() + 16;
    QGroupBox* f1 = MakeFrame(c, "Frame1", QStringLiteral("平衡しない"), QRect(16, top, pic.width() + 24, frameH));
    button(2, f1, QRect(12, 24, 180, 32));
    diagram(1, f1)->move(12, 64);

    QGroupBox* f2 =
        MakeFrame(c, "Frame2", QStringLiteral("平衡する例"), QRect(f1->geometry().right() + 12, top, 2 * pic.width() + 36, frameH));
    button(4, f2, QRect(12, 24, 80, 32));
    button(5, f2, QRect(f2->width() - 92, 24, 80, 32));
    MakeLabel(f2, "Label1", QStringLiteral("接するループの長さの最大公約数が１となる"), QRect(100, 24, f2->width() - 200, 32),
              Qt::AlignCenter);
    diagram(2, f2)->move(12, 64);
    diagram(3, f2)->move(24 + pic.width(), 64);

    // Lower row across the full width: "平衡の結果が一定とならない" (two diagrams).
    QGroupBox* f3 = MakeFrame(c, "Frame3", QStringLiteral("平衡の結果が一定とならない"),
                              QRect(16, top + frameH + 12, f2->geometry().right() - 16 + 1, frameH));
    button(3, f3, QRect(12, 24, 300, 32));
    button(6, f3, QRect(f3->width() - 392, 24, 380, 32));
    diagram(4, f3)->move(12, 64);
    diagram(5, f3)->move(f3->width() - 12 - pic.width(), 64);

    setContentSize(QSize(f3->geometry().right() + 17, f3->geometry().bottom() + 17));
}

}  // namespace kv
