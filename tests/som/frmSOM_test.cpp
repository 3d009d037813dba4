// The map windows through their controls: what they show after loading, their drawings,
// the timer run and the batch, and what they refuse.
#include <QCheckBox>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <vector>

#include "kit/batch_runner.h"
#include "plot/PlotSurface.h"
#include "plot/random.h"
#include "plot/timer.h"
#include "reference_map.h"
#include "som/frmLVQ.h"
#include "som/frmSOM.h"
#include "support/ui_test.h"

namespace {

using kv::som::kSide;

class SomWindow : public UiTest {
protected:
    int interval(QWidget* w) { return kv::TimerInterval(child<QTimer>(w, "Timer1")); }
    const QImage& map(QWidget* w) { return child<kv::PlotSurface>(w, "Picture1")->image(); }
    QPointF at(QWidget* w, double x, double y) {
        return child<kv::PlotSurface>(w, "Picture1")->toPixel(static_cast<float>(x), static_cast<float>(y));
    }
    kv::Rgb colourAt(QWidget* w, double x, double y) {
        const QPointF p = at(w, x, y);
        return pixel(map(w), static_cast<int>(p.x()), static_cast<int>(p.y()));
    }
    void choose(QWidget* w, const char* option) { child<QRadioButton>(w, option)->setChecked(true); }
    std::vector<double> weights(const kv::frmSOM* w) {
        std::vector<double> all;
        for (int x = 0; x < kSide; ++x)
            for (int y = 0; y < kSide; ++y)
                for (int a = 0; a < kSide; ++a) all.push_back(w->Map().W(x, y, a));
        return all;
    }
    // Calls `act` from inside the window's batch, at the `nth` time events are let through.
    void during(int nth, std::function<void()> act) {
        auto* t = new QTimer(owner_);
        t->setInterval(0);
        QObject::connect(t, &QTimer::timeout, t, [t, nth, act, seen = 0]() mutable {
            if (++seen < nth) return;
            t->stop();
            act();
            t->deleteLater();
        });
        t->start();
    }
    QObject* owner_ = new QObject;
    // Each reading of the batch clock is a whole period after the last, so that a batch
    // lets events through before every step, however fast the machine.
    void SetUp() override {
        UiTest::SetUp();
        kv::BatchRunner::setClock([t = std::chrono::steady_clock::time_point{}]() mutable {
            return t += kv::BatchRunner::kProgressPeriod;
        });
    }
    void TearDown() override {
        kv::BatchRunner::setClock({});
        delete owner_;
        UiTest::TearDown();
    }
};

TEST_F(SomWindow, LoadsTheTableAndPutsEachAnimalOnItsDiagonalUnit) {
    auto* w = open<kv::frmSOM>();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("SOM(Self-Organizing Maps)アルゴリズムによる分類学習"));
    EXPECT_EQ(text(w, "Label3"), QStringLiteral("動物名と属性"));
    EXPECT_EQ(text(w, "Label1(0)"), QStringLiteral("ハト"));
    EXPECT_EQ(text(w, "Label1(15)"), QStringLiteral("ウシ"));
    EXPECT_EQ(text(w, "Label2(13)"), QStringLiteral("草食性"));
    EXPECT_EQ(text(w, "Text1(13)"), "0.5");           // ハトの草食性
    EXPECT_EQ(text(w, "Text1(234)"), "1");            // シマウマの縞あり (16 x 14 + 10)
    EXPECT_EQ(text(w, "Text1(250)"), "0");            // ウシの走ることを好む
    EXPECT_EQ(text(w, "txtLoop"), "200");
    EXPECT_EQ(text(w, "txtAlfa0"), "0.3");
    EXPECT_EQ(text(w, "txtNc0"), "4");
    EXPECT_EQ(text(w, "Text2"), "200");
    EXPECT_TRUE(child<QRadioButton>(w, "Option2")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(w, "Check1")->isChecked());
    EXPECT_EQ(text(w, "Label7"), "");
    EXPECT_EQ(interval(w), 0);
    const auto winners = w->Map().Winners(kv::som::kDefaultAnimals);
    for (int n = 0; n < 16; ++n) EXPECT_EQ(winners[n], (kv::som::Unit{15 - n, n})) << n;
    EXPECT_TRUE(messages.isEmpty());

    // An edit of the table takes effect at the next initialisation.
    type(w, "Text1(13)", "0.9");
    call(w, "Command1_Click");
    EXPECT_DOUBLE_EQ(w->Map().W(15, 0, 13), 0.9);
}

TEST_F(SomWindow, DrawsCellsDotsNamesAndBoundaries) {
    auto* w = open<kv::frmSOM>();
    choose(w, "Option3");  // zeros with the animals on the diagonal
    call(w, "Command1_Click");
    EXPECT_EQ(colourAt(w, 1.2, 14.85), kv::kRed);                   // シマウマ, the longest vector
    EXPECT_EQ(colourAt(w, 2.2, 13.85), (kv::Rgb{255, 63, 0}));      // ウマ
    EXPECT_EQ(colourAt(w, 15.2, 0.85), kv::kYellow);                 // ハト
    EXPECT_EQ(colourAt(w, 5.5, 5.5), kv::kWhite);                    // a unit of zeros
    EXPECT_EQ(colourAt(w, 1.6, 14.6), kv::kBlue);                    // シマウマ's dot
    EXPECT_TRUE(colourNear(map(w), at(w, 1, 15.5), kv::kBlack));    // ウシ | (1, 15), the herbivore boundary
    EXPECT_TRUE(colourNear(map(w), at(w, 15, 0.5), kv::kBlue));     // ハト's left side, the feather boundary
    EXPECT_FALSE(colourNear(map(w), at(w, 6.5, 6), kv::kBlack));    // between two units of zeros
    // The name is printed in the top-left corner of its cell.
    bool dark = false;
    const QPointF name = at(w, 1.05, 14.1);
    for (int dx = 0; dx < 12; ++dx)
        for (int dy = 0; dy < 10; ++dy) {
            const kv::Rgb c = pixel(map(w), static_cast<int>(name.x()) + dx, static_cast<int>(name.y()) + dy);
            dark = dark || (c.r + c.g + c.b < 300);
        }
    EXPECT_TRUE(dark);
    // Nothing outside the map.
    EXPECT_EQ(colourAt(w, -0.5, 8), kv::kWhite);
    EXPECT_EQ(colourAt(w, 16.5, 8), kv::kWhite);

    // All weights 0 cannot be measured against the largest: the map is white.
    for (int i = 0; i < 256; ++i) type(w, QStringLiteral("Text1(%1)").arg(i), "");
    call(w, "Command1_Click");
    EXPECT_EQ(colourAt(w, 1.2, 14.85), kv::kWhite);
    EXPECT_EQ(colourAt(w, 8.5, 8.5), kv::kWhite);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(SomWindow, TimerRunEndsWithAStillTickOrStartsAgain) {
    auto* w = open<kv::frmSOM>();
    type(w, "txtLoop", "3");
    type(w, "Text2", "1000");
    call(w, "Command4_Click");
    EXPECT_EQ(interval(w), 1000);
    for (int i = 1; i <= 3; ++i) {
        call(w, "Timer1_Timer");
        EXPECT_EQ(text(w, "Label7"), QStringLiteral("回数　%1").arg(i));
    }
    const auto before = weights(w);
    call(w, "Timer1_Timer");  // f = 0: a step that moves nothing, then the end
    EXPECT_EQ(weights(w), before);
    EXPECT_EQ(text(w, "Label7"), QStringLiteral("回数　3"));
    EXPECT_EQ(w->Map().MapCount(), 3);
    EXPECT_EQ(interval(w), 0);
    call(w, "Command2_Click");  // by hand past the end: the still step again
    EXPECT_EQ(weights(w), before);
    EXPECT_EQ(text(w, "Label7"), QStringLiteral("回数　4"));
    call(w, "Command1_Click");  // a new map, as when the window opens, has no count
    EXPECT_EQ(text(w, "Label7"), "");

    // Repeating: the run starts again from new weights after the still tick.
    child<QCheckBox>(w, "Check1")->setChecked(true);
    call(w, "Command4_Click");
    for (int i = 0; i < 4; ++i) call(w, "Timer1_Timer");
    EXPECT_EQ(w->Map().MapCount(), 0);
    EXPECT_EQ(text(w, "Label7"), "");
    EXPECT_EQ(interval(w), 1000);
    call(w, "Timer1_Timer");
    EXPECT_EQ(text(w, "Label7"), QStringLiteral("回数　1"));
    call(w, "Command5_Click");
    EXPECT_EQ(interval(w), 0);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(SomWindow, TicksWaitForATableBoxBeingTyped) {
    auto* w = open<kv::frmSOM>();
    type(w, "Text2", "1000");
    call(w, "Command4_Click");
    call(w, "Timer1_Timer");
    type(w, "Text1(0)", "1e999");  // beyond a double, on its way to something else
    call(w, "Timer1_Timer");
    EXPECT_EQ(w->Map().MapCount(), 1);
    EXPECT_EQ(interval(w), 1000);
    EXPECT_TRUE(messages.isEmpty());
    type(w, "Text1(0)", "1");
    call(w, "Timer1_Timer");
    EXPECT_EQ(w->Map().MapCount(), 2);
    // The button says why.
    type(w, "Text1(0)", "1e999");
    call(w, "Command2_Click");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("ハトの小さい"))) << messages[0].toStdString();
    EXPECT_EQ(w->Map().MapCount(), 2);
}

TEST_F(SomWindow, DeterministicBatchAgreesWithAPlainImplementation) {
    auto* w = open<kv::frmSOM>();
    const reference::Table table = reference::DefaultTable();
    for (const auto& [option, fill] : {std::pair{"Option3", 0.0}, std::pair{"Option4", 1.0}}) {
        choose(w, option);
        call(w, "Command3_Click");
        EXPECT_EQ(text(w, "Label7"), QStringLiteral("回数　200"));
        const auto want = reference::Run(fill, table, 0.3, 4, 200, 200);
        const auto got = w->Map().Winners(kv::som::kDefaultAnimals);
        for (int n = 0; n < 16; ++n) EXPECT_TRUE(got[n].x == want[n].x && got[n].y == want[n].y) << option << " " << n;
        // Each animal's dot on its winner.
        for (int n = 0; n < 16; ++n) EXPECT_TRUE(colourNear(map(w), at(w, want[n].x + 0.6, want[n].y + 0.6), kv::kBlue));
    }
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(SomWindow, BatchStopsOnItsButtonAndOnOtherPresses) {
    auto* w = open<kv::frmSOM>();
    during(5, [&] { call(w, "Command6_Click"); });
    call(w, "Command3_Click");
    const int stopped = w->Map().MapCount();
    EXPECT_GT(stopped, 0);
    EXPECT_LT(stopped, 200);
    EXPECT_EQ(text(w, "Label7"), QStringLiteral("回数　%1").arg(stopped));

    // A step pressed during the batch: the batch ends first, then the step is taken.
    int atPress = -1;
    during(5, [&] {
        atPress = w->Map().MapCount();
        call(w, "Command2_Click");
    });
    call(w, "Command3_Click");
    EXPECT_GT(atPress, 0);
    EXPECT_EQ(w->Map().MapCount(), atPress + 1);

    // A second batch press starts the batch afresh instead of running one inside the other.
    during(5, [&] { call(w, "Command3_Click"); });
    call(w, "Command3_Click");
    EXPECT_EQ(w->Map().MapCount(), 200);

    // An initialisation during the batch: the batch ends, the map starts anew.
    during(5, [&] { call(w, "Command1_Click"); });
    call(w, "Command3_Click");
    EXPECT_EQ(w->Map().MapCount(), 0);
    EXPECT_TRUE(messages.isEmpty());

    // Closing the window ends the batch without touching it again.
    during(5, [&] { w->close(); });
    call(w, "Command3_Click");
    EXPECT_LT(w->Map().MapCount(), 200);
}

TEST_F(SomWindow, BatchShowsItsFirstMapWhenEventsGetThroughAndLearnsTheTableAsTyped) {
    auto* w = open<kv::frmSOM>();
    choose(w, "Option3");  // no random weights: the same map at every start
    type(w, "txtLoop", "20");
    call(w, "Command1_Click");
    const QImage first = map(w).copy();
    call(w, "Command2_Click");  // another map on show when the batch starts
    // A table box typed when events first get through, before the first step.
    QImage seen;
    during(1, [&] {
        seen = map(w).copy();
        type(w, "Text1(0)", "0");
    });
    call(w, "Command3_Click");
    EXPECT_EQ(seen, first);
    const auto batched = weights(w);
    // The same run by hand: the first map, then the typed table for all 20 steps.
    type(w, "Text1(0)", "1");
    call(w, "Command1_Click");
    type(w, "Text1(0)", "0");
    for (int s = 0; s < 20; ++s) call(w, "Command2_Click");
    EXPECT_EQ(weights(w), batched);
}

TEST_F(SomWindow, RefusesALoopCountItCannotUse) {
    auto* w = open<kv::frmSOM>();
    const auto before = weights(w);
    type(w, "txtLoop", "40000");
    for (const char* press : {"Command1_Click", "Command4_Click", "Command3_Click"}) {
        messages.clear();
        call(w, press);
        ASSERT_EQ(messages.size(), 1) << press;
        EXPECT_TRUE(messages[0].contains(QStringLiteral("「学習回数」"))) << messages[0].toStdString();
        EXPECT_EQ(weights(w), before);
        EXPECT_EQ(w->Map().MapLoop(), 200);
        EXPECT_EQ(interval(w), 0);
    }

    // 0 steps: initialising is fine, a step is refused, a batch takes no step.
    messages.clear();
    type(w, "txtLoop", "");
    call(w, "Command1_Click");
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(w->Map().MapLoop(), 0);
    call(w, "Command2_Click");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("「学習回数」")));
    EXPECT_EQ(w->Map().MapCount(), 0);
    call(w, "Command3_Click");
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(w->Map().MapCount(), 0);
    // An automatic run stops on its first tick.
    type(w, "Text2", "1000");
    call(w, "Command4_Click");
    EXPECT_EQ(interval(w), 1000);
    call(w, "Timer1_Timer");
    EXPECT_EQ(messages.size(), 2);
    EXPECT_EQ(interval(w), 0);
    EXPECT_EQ(w->Map().MapCount(), 0);
}

TEST_F(SomWindow, RefusesAStepThatWouldLeaveTheDoubles) {
    auto* w = open<kv::frmSOM>();
    choose(w, "Option3");
    type(w, "txtAlfa0", "1e308");
    type(w, "Text1(0)", "3");
    call(w, "Command1_Click");
    const auto before = weights(w);
    call(w, "Command2_Click");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("「α0」"))) << messages[0].toStdString();
    EXPECT_EQ(weights(w), before);
    EXPECT_EQ(w->Map().MapCount(), 0);
    EXPECT_EQ(text(w, "Label7"), "");
}

// The contrast ratio of two colours, from their relative luminances.
double Contrast(kv::Rgb a, kv::Rgb b) {
    const auto lin = [](double v) { return v / 255 <= 0.03928 ? v / 255 / 12.92 : std::pow((v / 255 + 0.055) / 1.055, 2.4); };
    const auto lum = [&](kv::Rgb c) { return 0.2126 * lin(c.r) + 0.7152 * lin(c.g) + 0.0722 * lin(c.b) + 0.05; };
    return std::max(lum(a), lum(b)) / std::min(lum(a), lum(b));
}

TEST_F(SomWindow, NamesStayOnTheMapAndNamesAndDotsStandOutFromEveryCell) {
    std::vector<kv::Rgb> cells;  // every colour a cell can take in either window
    for (int v = 0; v <= 10; ++v) cells.push_back(kv::som::NormColor(v / 10.0));
    for (const auto& r : kv::som::kRegions) cells.push_back(r.colour);
    kv::FixRandomizeForTools(30);  // a run that leaves names at the right and the bottom edge in both windows
    for (kv::frmSOM* w : {open<kv::frmSOM>(), static_cast<kv::frmSOM*>(open<kv::frmLVQ>())}) {
        call(w, "Command3_Click");
        const QPointF end = at(w, kSide, kSide);  // nothing right of or below the map
        for (int y = 0; y < map(w).height(); ++y)
            for (int x = 0; x < map(w).width(); ++x)
                ASSERT_TRUE((x <= end.x() + 1 && y <= end.y() + 1) || pixel(map(w), x, y) == kv::kWhite) << x << "," << y;
        for (const kv::Rgb cell : cells) {
            EXPECT_GE(Contrast(child<kv::PlotSurface>(w, "Picture1")->foreColor(), cell), 4.5);
            for (const auto& b : w->Map().Winners(kv::som::kDefaultAnimals))  // the dot's rim at its right
                EXPECT_GE(Contrast(colourAt(w, b.x + 0.7, b.y + 0.6), cell), 3.0) << b.x << "," << b.y;
        }
    }
}

TEST_F(SomWindow, LvqShowsItsRegionsHeadingsAndOutline) {
    auto* w = open<kv::frmLVQ>();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("LVQ(学習ベクトル量子化)アルゴリズムによる分類学習"));
    EXPECT_EQ(w->findChild<QWidget*>("Frame2"), nullptr);
    EXPECT_EQ(w->findChild<QWidget*>("txtNc0"), nullptr);
    EXPECT_EQ(w->findChild<QWidget*>("Option1"), nullptr);
    EXPECT_EQ(text(w, "Label6"), QStringLiteral("Nc(0)"));
    EXPECT_EQ(text(w, "txtAlfa0"), "0.3");

    // The bottom-right corner of a cell, where no name or dot reaches.
    EXPECT_EQ(colourAt(w, 2.9, 2.9), kv::kYellow);
    EXPECT_EQ(colourAt(w, 10.9, 2.9), (kv::Rgb{255, 255, 125}));
    EXPECT_EQ(colourAt(w, 2.9, 7.9), (kv::Rgb{128, 255, 128}));
    EXPECT_EQ(colourAt(w, 10.9, 7.9), (kv::Rgb{200, 255, 200}));
    EXPECT_EQ(colourAt(w, 2.9, 12.9), (kv::Rgb{255, 128, 128}));
    EXPECT_EQ(colourAt(w, 10.9, 12.9), (kv::Rgb{255, 200, 200}));
    EXPECT_TRUE(colourNear(map(w), at(w, 8, 2.5), kv::kBlue));
    EXPECT_TRUE(colourNear(map(w), at(w, 4.5, 10), kv::kBlue));
    EXPECT_TRUE(colourNear(map(w), at(w, 0, 13.5), kv::kNavy));
    EXPECT_TRUE(colourNear(map(w), at(w, 16, 13.5), kv::kNavy));
    // The row headings at the left, outside the map.
    bool heading = false;
    const QPointF h = at(w, -1.2, 12);
    for (int dx = 0; dx < 20; ++dx)
        for (int dy = 0; dy < 10; ++dy) {
            const kv::Rgb c = pixel(map(w), static_cast<int>(h.x()) + dx, static_cast<int>(h.y()) + dy);
            heading = heading || (c.r + c.g + c.b < 300);
        }
    EXPECT_TRUE(heading);
    // Every animal's dot on its winner.
    const auto winners = w->Map().Winners(kv::som::kDefaultAnimals);
    for (const auto& b : winners) EXPECT_TRUE(colourNear(map(w), at(w, b.x + 0.6, b.y + 0.6), kv::kBlue));

    // Stepped and batched as the map window is.
    call(w, "Command2_Click");
    EXPECT_EQ(text(w, "Label7"), QStringLiteral("回数　1"));
    call(w, "Command3_Click");
    EXPECT_EQ(w->Map().MapCount(), 200);
    EXPECT_TRUE(messages.isEmpty());
}

}  // namespace
