#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>

#include "network/recurrent_model.h"
#include "plot/numtext.h"

using kv::GeneralText;
using Net = kv::network::RecurrentNetwork;
using Value = Net::Value;

namespace {

// The boxes of the window with their default values; an update writes its X back.
struct State {
    std::array<double, 2> In{1, 1};
    std::array<double, 5> X{1, 0, 0, 1, 0};
    std::array<double, 5> Theta{0.4, 0.4, 0.4, 0.4, 0.4};
    std::array<double, 8> W{0.5, -0.3, -0.4, 0.5, 0.6, 0.7, 0.3, 0.5};
    std::set<std::pair<Value, int>> asked;
    std::array<std::string, 5> texts;  // general text of each S after the last cycle

    Net::Reader reader() {
        return [this](Value v, int i) -> std::optional<double> {
            asked.insert({v, i});
            switch (v) {
                case Value::kIn: return In.at(i);
                case Value::kX: return X.at(i);
                case Value::kW: return W.at(i);
                case Value::kTheta: return Theta.at(i);
            }
            return std::nullopt;
        };
    }
    // One cycle, units 1..5 in order, each with the outputs as they stand.
    void cycle() {
        for (int u = 1; u <= 5; ++u) {
            const auto unit = Net::UpdateUnit(u, reader());
            ASSERT_TRUE(unit) << "unit " << u;
            X[u - 1] = unit->X;
            texts[u - 1] = GeneralText(unit->S);
        }
    }
};

}  // namespace

TEST(RecurrentModel, DefaultsSettleAtOnce) {
    State s;
    for (int c = 0; c < 3; ++c) {
        SCOPED_TRACE(c);
        s.cycle();
        EXPECT_EQ(s.texts, (std::array<std::string, 5>{"1", "1", "0.2", "0.1", "0"}));
        EXPECT_EQ(s.X, (std::array<double, 5>{1, 1, 0, 0, 0}));
    }
}

TEST(RecurrentModel, FeedbackThroughOmega7AndUnit4FiringByTheTolerance) {
    State s;
    s.In[1] = 0;
    s.W[7] = 1;
    s.cycle();
    EXPECT_EQ(s.texts, (std::array<std::string, 5>{"1", "0", "0.5", "-0.4", "0.6"}));
    EXPECT_EQ(s.X, (std::array<double, 5>{1, 0, 1, 0, 1}));
    s.cycle();
    EXPECT_EQ(s.texts, (std::array<std::string, 5>{"1", "1", "0.2", "0.4", "0.7"}));
    EXPECT_EQ(s.X, (std::array<double, 5>{1, 1, 0, 1, 1}));
    // S4 = 0.3 + (0.5 - 0.4) lies just below 0.4 in double precision: only the tolerance fires it.
    const auto unit4 = Net::UpdateUnit(4, s.reader());
    ASSERT_TRUE(unit4);
    EXPECT_LT(unit4->S, 0.4);
    EXPECT_EQ(unit4->X, 1);
    s.cycle();
    EXPECT_EQ(s.X, (std::array<double, 5>{1, 1, 0, 1, 1}));  // and the state stays there
}

TEST(RecurrentModel, UnitOneComparesExactlyTheOthersWithTolerance) {
    State s;
    s.In = {0.3 + (0.5 - 0.4), 0.3 + (0.5 - 0.4)};  // 0.39999999999999997, short of 0.4 by a rounding
    s.W[7] = 0;
    EXPECT_EQ(Net::UpdateUnit(1, s.reader())->X, 0);
    EXPECT_EQ(Net::UpdateUnit(2, s.reader())->X, 1);
    s.In = {0.4, 0.39998};  // 0.00002 short: too far for the tolerance
    EXPECT_EQ(Net::UpdateUnit(1, s.reader())->X, 1);
    EXPECT_EQ(Net::UpdateUnit(2, s.reader())->X, 0);
}

TEST(RecurrentModel, EachUnitReadsOnlyWhatItsSumUses) {
    const std::set<std::pair<Value, int>> reads[5] = {
        {{Value::kIn, 0}, {Value::kTheta, 0}},
        {{Value::kW, 7}, {Value::kX, 4}, {Value::kIn, 1}, {Value::kTheta, 1}},
        {{Value::kW, 1}, {Value::kX, 1}, {Value::kW, 0}, {Value::kX, 0}, {Value::kTheta, 2}},
        {{Value::kW, 6}, {Value::kX, 4}, {Value::kW, 3}, {Value::kX, 1}, {Value::kW, 2}, {Value::kX, 0}, {Value::kTheta, 3}},
        {{Value::kW, 5}, {Value::kX, 3}, {Value::kW, 4}, {Value::kX, 2}, {Value::kTheta, 4}},
    };
    for (int u = 1; u <= 5; ++u) {
        State s;
        ASSERT_TRUE(Net::UpdateUnit(u, s.reader()));
        EXPECT_EQ(s.asked, reads[u - 1]) << "unit " << u;
    }
}

TEST(RecurrentModel, NoUnitFromAnUnreadableValueOrAnOverflow) {
    State s;
    s.W[5] = 1e300;
    s.X[3] = 1e300;
    EXPECT_FALSE(Net::UpdateUnit(5, s.reader()));
    const Net::Reader none = [](Value, int) -> std::optional<double> { return std::nullopt; };
    EXPECT_FALSE(Net::UpdateUnit(1, none));
    EXPECT_THROW(Net::UpdateUnit(0, none), std::out_of_range);
    EXPECT_THROW(Net::UpdateUnit(6, none), std::out_of_range);
}

TEST(RecurrentModel, UnitsInCyclicOrder) {
    Net net;
    int order[7];
    for (int& u : order) {
        u = net.NextUnit();
        net.Advance();
    }
    EXPECT_EQ((std::array<int, 7>{order[0], order[1], order[2], order[3], order[4], order[5], order[6]}),
              (std::array<int, 7>{1, 2, 3, 4, 5, 1, 2}));
    net.Restart();
    EXPECT_EQ(net.NextUnit(), 1);
    EXPECT_EQ(net.UnitIndex(), 0);
}
