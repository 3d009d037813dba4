// Every window by keyboard alone: Tab reads it as a page, a large table is one stop walked by
// the arrow keys, and the keys press what the mouse would.
#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <map>

#include "kit/form.h"
#include "kit/tab_chain.h"
#include "plot/timer.h"
#include "support/ui_test.h"

namespace {

QRect On(const QWidget* c, const QWidget* w) { return QRect(c->mapTo(w, QPoint(0, 0)), c->size()); }

// The stops from the window's first one, Tab by Tab, until Tab comes round again.
QWidgetList TabRound(QWidget* w) {
    QApplication::setActiveWindow(w);
    QWidgetList stops;
    for (QWidget* f = QApplication::focusWidget(); f && !stops.contains(f); f = QApplication::focusWidget()) {
        stops << f;
        // A page of links takes Tab from link to link before it gives the focus on.
        for (int link = 0; link < 500 && QApplication::focusWidget() == f; ++link) QTest::keyClick(f, Qt::Key_Tab);
    }
    return stops;
}

// The stops that lie in `part`, by their places in the round; they come one after another.
void ExpectTogether(const QWidgetList& stops, const std::function<bool(QWidget*)>& part, const char* what) {
    QList<int> at;
    for (int i = 0; i < stops.size(); ++i)
        if (part(stops[i])) at << i;
    if (!at.isEmpty()) {
        EXPECT_EQ(at.last() - at.first() + 1, at.size()) << what;
    }
}

}  // namespace

class KeyboardTest : public UiTest {};

TEST_F(KeyboardTest, TabReadsEveryWindowAsAPageWithItsDiagramAlongItsFlowAndATableAsOneStop) {
    const std::map<QString, int> tableCells = {
        {"frmSOM", 256}, {"frmLVQ", 256}, {"frmUnitLearning", 18}, {"frmFeedFowardLearning", 24}};
    for (const QString& kind : kv::WindowKinds()) {
        SCOPED_TRACE(kind.toStdString());
        QWidget* w = kv::ShowWindow(kind);
        const QWidgetList stops = TabRound(w);
        const QStringList flow = qobject_cast<kv::FormWindow*>(w)->tabFlow();
        const auto inFlow = [&](const QWidget* c) { return flow.contains(c->objectName()); };
        for (QWidget* c : w->findChildren<QWidget*>()) {  // a group of option buttons is one stop
            if ((c->focusPolicy() & Qt::TabFocus) && c->isVisibleTo(w) && c->isEnabled() && !qobject_cast<QRadioButton*>(c)) {
                EXPECT_EQ(stops.count(c), 1) << c->objectName().toStdString();
            }
        }
        // The buttons the program adds in the window's corner take the last turns.
        const auto corner = [](const QWidget* s) { return s->objectName() == "cmdHelp" || s->objectName() == "cmdCurve"; };
        qsizetype own = stops.size();
        while (own > 0 && corner(stops[own - 1])) --own;
        for (qsizetype i = 0; i < own; ++i) EXPECT_FALSE(corner(stops[i])) << stops[i]->objectName().toStdString();
        // Below every earlier stop, or in a column to its right; a view's own controls follow it.
        for (qsizetype j = 0; j < own; ++j)
            for (qsizetype i = 0; i < j; ++i) {
                const QRect a = On(stops[i], w), b = On(stops[j], w);
                EXPECT_TRUE((inFlow(stops[i]) && inFlow(stops[j])) || stops[i]->isAncestorOf(stops[j]) ||
                            b.top() > a.bottom() || b.left() > a.right())
                    << stops[j]->objectName().toStdString() << " after " << stops[i]->objectName().toStdString() ;
            }
        QStringList flowSeen, flowDeclared;
        for (QWidget* s : stops)
            if (inFlow(s)) flowSeen << s->objectName();
        for (const QString& name : flow)
            if (flowSeen.contains(name)) flowDeclared << name;
        EXPECT_EQ(flowSeen, flowDeclared);
        ExpectTogether(stops, inFlow, "the diagram");
        for (QGroupBox* g : w->findChildren<QGroupBox*>())
            ExpectTogether(stops, [g](QWidget* s) { return g->isAncestorOf(s); }, qPrintable(g->objectName()));
        int cells = 0;
        for (kv::TableStop* t : w->findChildren<kv::TableStop*>()) {
            int seen = 0;
            for (const auto& row : t->rows())
                for (QLineEdit* box : row) seen += int(stops.count(box)), ++cells;
            EXPECT_EQ(seen, 1);
        }
        EXPECT_GE(cells, tableCells.count(kind) ? tableCells.at(kind) : 0);
    }
}

TEST_F(KeyboardTest, F5F6EscapeAndCtrlWPressWhatTheMouseWouldInEveryWindowThatSteps) {
    const QStringList steps{"逐次実行", "逐次学習", "逐次学習実行"}, starts{"自動実行", "自動学習実行", "逐次自動学習", "連続実行"};
    int windows = 0;
    for (const QString& kind : kv::WindowKinds()) {
        SCOPED_TRACE(kind.toStdString());
        QPointer<QWidget> w = kv::ShowWindow(kind);
        QPushButton *step = nullptr, *start = nullptr, *stop = nullptr;
        for (QPushButton* b : w->findChildren<QPushButton*>()) {
            if (steps.contains(b->text())) step = b;
            if (starts.contains(b->text())) start = b;
        }
        if (!step) continue;
        for (QPushButton* b : w->findChildren<QPushButton*>())
            if (b->text() == start->text() + "停止") stop = b;
        ASSERT_NE(stop, nullptr);
        ++windows;
        std::map<QPushButton*, int> pressed;
        for (QPushButton* b : {step, start, stop}) QObject::connect(b, &QPushButton::clicked, [&pressed, b] { ++pressed[b]; });
        const auto key = [&](int k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
            QApplication::setActiveWindow(w);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(k), mods);
        };
        QTimer* timer = w->findChild<QTimer*>("Timer1");
        key(Qt::Key_F5);
        key(Qt::Key_F6);
        EXPECT_NE(kv::TimerInterval(timer), 0);
        key(Qt::Key_Escape);
        EXPECT_EQ(kv::TimerInterval(timer), 0);
        step->setEnabled(false);
        key(Qt::Key_F5);  // as a click on a disabled button: nothing
        EXPECT_EQ(pressed, (std::map<QPushButton*, int>{{step, 1}, {start, 1}, {stop, 1}}));
        EXPECT_EQ(QStringList({step->toolTip(), start->toolTip(), stop->toolTip()}), QStringList({"F5 キー", "F6 キー", "Esc キー"}));
        key(Qt::Key_W, Qt::ControlModifier);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(w.isNull());
    }
    EXPECT_EQ(windows, 18);
}

TEST_F(KeyboardTest, EscapeDuringABatchPressesItsCancelButton) {
    answer = kv::MsgAnswer::Yes;  // "学習を取りやめますか?"
    for (auto [kind, batch, cancel] : {std::tuple("frmSOM", "Command3", "Command6"), std::tuple("frmLVQ", "Command3", "Command6"),
                                       std::tuple("frmBoltzmannMachineLearning", "Command3", "Command4")}) {
        SCOPED_TRACE(kind);
        QWidget* w = kv::ShowWindow(kind);
        int cancelled = 0;
        QObject::connect(child<QPushButton>(w, cancel), &QPushButton::clicked, [&] { ++cancelled; });
        QApplication::setActiveWindow(w);
        QTimer::singleShot(0, w, [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); });
        child<QPushButton>(w, batch)->click();
        EXPECT_EQ(cancelled, 1);
    }
}

TEST_F(KeyboardTest, SpaceAndReturnToggleALogicInputAsAClickDoes) {
    QWidget* w = kv::ShowWindow("frmLogicalUnit");
    QApplication::setActiveWindow(w);
    QLineEdit* in = box(w, "txtIn1(0)");  // OR of 1 and 0
    in->setFocus();
    QTest::keyClick(in, Qt::Key_Space);
    EXPECT_EQ(in->text() + text(w, "txtX(0)"), "00");
    QTest::keyClick(in, Qt::Key_Return);
    EXPECT_EQ(in->text() + text(w, "txtX(0)"), "11");
    QTest::keyClick(in, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(in->text(), "0");
}

TEST_F(KeyboardTest, ReturnOnATrainingRowRunsItAndTheArrowKeysWalkTheTable) {
    for (const char* kind : {"frmUnitLearning", "frmFeedFowardLearning"}) {
        SCOPED_TRACE(kind);
        QWidget* w = kv::ShowWindow(kind);
        QApplication::setActiveWindow(w);
        const auto focus = [] { return QApplication::focusWidget()->objectName(); };
        box(w, "txtTrain3(3)")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);  // what a double click on row 3 does
        EXPECT_EQ(text(w, "txtIn(0)") + text(w, "txtIn(1)"), text(w, "txtTrain1(3)") + text(w, "txtTrain2(3)"));
        for (Qt::Key k : {Qt::Key_Up, Qt::Key_Left, Qt::Key_Down}) QTest::keyClick(QApplication::focusWidget(), k);
        EXPECT_EQ(focus(), "txtTrain2(3)");  // the whole text was selected, so Left went on
        box(w, "txtTrain2(3)")->setText("12");  // the caret at the end: Left moves it, twice, then the box
        for (int n = 0; n < 3; ++n) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
        EXPECT_EQ(focus(), "txtTrain1(3)");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_FALSE(focus().startsWith("txtTrain"));  // one Tab leaves the table
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        EXPECT_EQ(focus(), "txtTrain1(3)");  // and the table is entered where it was left
    }
}
