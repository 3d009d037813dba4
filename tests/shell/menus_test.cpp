#include <QGroupBox>
#include <QPointer>
#include <QPushButton>

#include <algorithm>

#include "kit/registry.h"
#include "shell/menus.h"
#include "support/ui_test.h"
#include "window_table.h"

namespace {

struct Button {
    const char* menu;
    int n;
    const char* caption;
    const char* opens;
    const char* title;  // caption of the window it opens
};

const Button kButtons[] = {
    {"frmMain", 1, "ニューロンの工学的モデル", "frmNeuronModel", "ニューロンの工学的モデル"},
    {"frmMain", 2, "ネットワークの形態", "frmNetworkStructure", "ネットワークの形態"},
    {"frmMain", 3, "論理素子のニューロンによる表現", "frmLogicalUnit", "論理素子のニューロンによる表現"},
    {"frmMain", 4, "ニューラルネットワークの学習", "frmLearn", "ニューラルネットの学習"},
    {"frmMain", 5, "マルコフモデルの状態遷移", "frmMarkov", "マルコフモデル"},
    {"frmMain", 6, "ボルツマンマシン", "frmBoltzmannMachine", "ボルツマン（Boltzmann)マシン"},
    {"frmMain", 7, "勾配法（山登り法または山下り法）", "frmslopemethod", "勾配法（山登り法/山下り法）"},
    {"frmMain", 8, "線形システムの学習", "frmLinearSystem", "線形システムによる学習"},
    {"frmMain", 9, "自己組織化マップ", "frmSOMMain", "自己組織化マップ"},
    {"frmNeuronModel", 1, "決定的2値モデル", "frmDecision2Model", "決定的2値モデル"},
    {"frmNeuronModel", 2, "決定的アナログモデル", "frmDecisionAnalogModel", "決定的アナログモデル"},
    {"frmNeuronModel", 3, "確率的2値モデル", "frmRandom2Model", "確率的2値モデル"},
    {"frmNeuronModel", 4, "時間発展モデル", "frmTimeModel", "時間発展モデル"},
    {"frmNetworkStructure", 1, "フィードフォワード型", "frmNetworkFeedForward", "フィードフォワード型（構成素子は決定的2値）"},
    {"frmNetworkStructure", 2, "リカレント型", "frmNetworkRecurrent", "リカレント型ニューラルネット（構成素子は決定的2値）"},
    {"frmLearn", 1, "単一ニューロンの学習", "frmUnitLearning", "単一ニューロンの学習"},
    {"frmLearn", 2, "誤差伝播法による学習", "frmFeedFowardLearning", "誤差伝播法による学習"},
    {"frmMarkov", 1, "簡単な状態遷移の実行", "frmMarKovModel", "マルコフ(Markov)モデルの状態遷移"},
    {"frmMarkov", 2, "単一ループの例", "frmMarKovModel2", "単一ループ（平衡しない）の例"},
    {"frmMarkov", 3, "抜け出せない2つ以上のノードを持つ", "frmMarKovModel3", "2つ以上の抜け出せないノードを持つ状態遷移"},
    {"frmMarkov", 4, "例1", "frmMarKovModel4", "マルコフ(Markov)モデルの状態遷移"},
    {"frmMarkov", 5, "例２", "frmMarKovModel5", "マルコフ(Markov)モデルの状態遷移(到達条件成立）"},
    {"frmMarkov", 6, "接するループの長さの最大公約数が2以上になる", "frmMarKovModel6", "マルコフ(Markov)モデルの状態遷移(到達条件非成立）"},
    {"frmBoltzmannMachine", 1, "ボルツマンマシン実行", "frmBoltzmannMachineExec", "ボルツマン(Boltzmann)マシンの実行"},
    {"frmBoltzmannMachine", 2, "ボルツマンマシン学習", "frmBoltzmannMachineLearning", "ボルツマンマシンの学習"},
    {"frmslopemethod", 1, "最も単純な方法", "frmSlopeMethod1", "勾配法（その１）"},
    {"frmslopemethod", 2, "微分値を用いる方法", "frmSlopeMethod2", "勾配法（その２）"},
    {"frmLinearSystem", 1, "一括更新学習法", "frmLinearSystem1", "線形システムの学習（一括更新学習法）"},
    {"frmLinearSystem", 2, "逐次更新学習法", "frmLinearSystem2", "線形システムの学習（逐次更新学習法）"},
    {"frmSOMMain", 1, "自己組織化マップ\u3000SOM(Self Organizing Maps)アルゴリズム", "frmSOM",
     "SOM(Self-Organizing Maps)アルゴリズムによる分類学習"},
    {"frmSOMMain", 2, "学習ベクトル化量子化\u3000LVQ(Learning Vector Quatization)アルゴリズム", "frmLVQ",
     "LVQ(学習ベクトル量子化)アルゴリズムによる分類学習"},
};

QString Name(int n) { return QStringLiteral("Command%1").arg(n); }

}  // namespace

class MenusTest : public UiTest {};

TEST_F(MenusTest, EveryButtonHasItsCaptionAndOpensItsWindowWithItsTitle) {
    const QStringList built = kv::WindowKinds();
    for (const Button& b : kButtons) {
        SCOPED_TRACE(std::string(b.menu) + " " + Name(b.n).toStdString());
        QWidget* menu = kv::ShowWindow(b.menu);
        ASSERT_NE(menu, nullptr);
        auto* button = child<QPushButton>(menu, Name(b.n));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), QString::fromUtf8(b.caption));
        EXPECT_TRUE(button->isVisibleTo(menu));

        button->click();  // a window that is not built yet: nothing happens, nothing breaks
        QWidget* opened = kv::WindowInstance(b.opens);
        if (built.contains(b.opens)) {
            ASSERT_NE(opened, nullptr);
            EXPECT_EQ(opened->windowTitle(), QString::fromUtf8(b.title));
            EXPECT_EQ(opened->objectName(), b.opens);
            EXPECT_TRUE(opened->isVisible());
        } else {
            EXPECT_EQ(opened, nullptr);
        }
    }
    EXPECT_TRUE(messages.isEmpty());
}

// Beside the table above, from the program's own declarations: walking from the main menu
// through every menu's entries and the declared openers reaches every kind, and names no other.
TEST_F(MenusTest, EveryKindIsReachedFromTheMainMenuAndEveryButtonNamesAKind) {
    const QStringList kinds = kv::WindowKinds();
    QStringList reached{"frmMain"};
    for (qsizetype i = 0; i < reached.size(); ++i) {
        const QString from = reached[i];
        QWidget* window = kv::ShowWindow(from);
        if (!window) continue;  // not in the table: reported where it is named
        QStringList opens;
        if (auto* menu = qobject_cast<kv::MenuWindow*>(window))
            for (const kv::MenuEntry& e : menu->entries()) opens << e.opens;
        for (const kv::WindowOpener& o : kv::WindowOpeners()) {
            if (from != QLatin1String(o.by)) continue;
            opens << o.kind;
            if (auto* button = child<QPushButton>(window, o.button)) button->click();
            EXPECT_NE(kv::WindowInstance(o.kind), nullptr) << o.by << "'s " << o.button << " does not open " << o.kind;
        }
        for (const QString& kind : opens) {
            EXPECT_TRUE(kinds.contains(kind)) << from.toStdString() << " opens " << kind.toStdString() << ", which the table lacks";
            if (!reached.contains(kind)) reached << kind;
        }
    }
    for (const QString& kind : kinds) EXPECT_TRUE(reached.contains(kind)) << kind.toStdString() << " is opened by nothing";
}

// The companions, declared beside the openers: each opens from its window's button with its
// caption and closes with its window, and a window with a curve button declares its companion.
TEST_F(MenusTest, EveryCompanionOpensFromItsWindowAndEveryCurveButtonIsDeclared) {
    QStringList declared;
    for (const kv::WindowOpener& o : kv::CompanionOpeners()) {
        QWidget* owner = kv::ShowWindow(o.by);
        ASSERT_NE(owner, nullptr) << o.by;
        declared << o.by;
        if (auto* button = child<QPushButton>(owner, o.button)) button->click();
        const QPointer<QWidget> companion = owner->findChild<QWidget*>(o.kind);
        ASSERT_NE(companion, nullptr) << o.kind;
        EXPECT_TRUE(companion->isWindow() && companion->isVisible()) << o.kind;
        EXPECT_EQ(companion->windowTitle(), QStringLiteral("学習曲線 − ") + owner->windowTitle());
        owner->close();
        EXPECT_FALSE(companion && companion->isVisible()) << o.kind;
    }
    for (const QString& kind : kv::WindowKinds()) {
        const QWidget* w = kv::ShowWindow(kind);
        if (w && w->findChild<QPushButton*>("cmdCurve")) {
            EXPECT_TRUE(declared.contains(kind)) << kind.toStdString();
        }
    }
}

TEST_F(MenusTest, MainMenuOrderOnScreenAndByKeyboard) {
    QWidget* main = kv::ShowWindow("frmMain");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->windowTitle(), "Korvalen");
    QList<QPushButton*> buttons = main->findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 9);
    std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->y() < b->y(); });
    QStringList onScreen;
    for (auto* b : buttons) onScreen << b->objectName();
    EXPECT_EQ(onScreen, (QStringList{Name(1), Name(2), Name(3), Name(7), Name(8), Name(4), Name(5), Name(6), Name(9)}));
    for (auto* b : buttons) EXPECT_EQ(b->size(), buttons[0]->size());  // equal size, one column
    for (auto* b : buttons) EXPECT_EQ(b->x(), buttons[0]->x());

    QStringList byTab;
    QWidget* w = main->findChild<QPushButton*>(Name(1));
    for (int i = 0; i < 9 && w; ++i) {
        byTab << w->objectName();
        do w = w->nextInFocusChain();
        while (w && !qobject_cast<QPushButton*>(w));
    }
    EXPECT_EQ(byTab, (QStringList{Name(1), Name(2), Name(3), Name(4), Name(5), Name(6), Name(7), Name(8), Name(9)}));
}

TEST_F(MenusTest, MarkovMenuGroupsItsButtonsAndDiagramsInThreeFrames) {
    QWidget* menu = kv::ShowWindow("frmMarkov");
    ASSERT_NE(menu, nullptr);
    auto frameOf = [&](const QString& name) {
        auto* w = menu->findChild<QWidget*>(name);
        auto* f = w ? qobject_cast<QGroupBox*>(w->parentWidget()) : nullptr;
        return f ? f->title() : QString();
    };
    EXPECT_EQ(frameOf(Name(1)), "");
    EXPECT_EQ(frameOf(Name(2)), "平衡しない");
    EXPECT_EQ(frameOf(Name(4)), "平衡する例");
    EXPECT_EQ(frameOf(Name(5)), "平衡する例");
    EXPECT_EQ(frameOf("Label1"), "平衡する例");
    EXPECT_EQ(text(menu, "Label1"), "接するループの長さの最大公約数が１となる");
    EXPECT_EQ(frameOf(Name(3)), "平衡の結果が一定とならない");
    EXPECT_EQ(frameOf(Name(6)), "平衡の結果が一定とならない");
    EXPECT_EQ(frameOf("Picture1"), "平衡しない");
    EXPECT_EQ(frameOf("Picture2"), "平衡する例");
    EXPECT_EQ(frameOf("Picture3"), "平衡する例");
    EXPECT_EQ(frameOf("Picture4"), "平衡の結果が一定とならない");
    EXPECT_EQ(frameOf("Picture5"), "平衡の結果が一定とならない");

    auto geometryOf = [&](const QString& name) {
        auto* w = menu->findChild<QWidget*>(name);
        return QRect(w->mapTo(menu, QPoint(0, 0)), w->size());
    };
    // Side by side above, the third frame below across the full width; every diagram whole.
    EXPECT_LT(geometryOf(Name(2)).right(), geometryOf(Name(4)).left());
    EXPECT_LT(geometryOf(Name(4)).right(), geometryOf(Name(5)).left());
    EXPECT_LT(geometryOf("Picture1").bottom(), geometryOf(Name(3)).top());
    EXPECT_LT(geometryOf(Name(3)).right(), geometryOf(Name(6)).left());
    for (int i = 1; i <= 5; ++i) {
        const QRect p = geometryOf(QStringLiteral("Picture%1").arg(i));
        EXPECT_TRUE(menu->rect().contains(p)) << i;
        EXPECT_GE(p.width(), 250) << i;
    }
}
