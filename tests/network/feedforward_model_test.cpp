#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>

#include "network/feedforward_model.h"
#include "plot/numtext.h"

using kv::GeneralText;
using Net = kv::network::FeedForwardNetwork;
using Value = Net::Value;

namespace {

// The network's values as the learner's boxes hold them by default; a value missing from
// the table cannot be read (an empty weight box would read 0, but the dangling ones must
// never be asked for at all).
class Values {
public:
    Values() {
        const double theta[] = {0.4, 0.5, 0.5, 0.2, 0.5, 0.5, 0.3, 0.6, 0.7};
        const double straight[] = {0.5, 0.4, 0.3, 0.5, -0.3, 0.3, 0.5, 0.3, -0.2};
        const double down[] = {-0.5, 0.3, 0, 0.5, 0.3, 0, -0.3, 0.4, 0};
        const double up[] = {0, 0.3, 0.2, 0, 0.3, 0.2, 0, 0.4, 0.2};
        for (int k = 0; k < 9; ++k) {
            set(Value::kTheta, k, theta[k]);
            set(Value::kOmega1, k, straight[k]);
            if (k % 3 != 2) set(Value::kOmega2, k, down[k]);
            if (k % 3 != 0) set(Value::kOmega0, k, up[k]);
        }
        for (int k = 0; k < 3; ++k) set(Value::kX, k, 1);
    }
    void set(Value v, int k, double x) { values_[{v, k}] = x; }
    Net::Reader reader() {
        return [this](Value v, int k) -> std::optional<double> {
            asked.insert({v, k});
            const auto it = values_.find({v, k});
            if (it == values_.end()) return std::nullopt;
            return it->second;
        };
    }
    // Writes a layer's outputs into the next layer's inputs, as the window does.
    void feed(int L, const Net::Layer& layer) {
        for (int m = 0; m < 3; ++m) set(Value::kX, 3 * L + 3 + m, layer[m].X);
    }
    std::set<std::pair<Value, int>> asked;

private:
    std::map<std::pair<Value, int>, double> values_;
};

}  // namespace

TEST(FeedForwardModel, DefaultLayersGiveThePartsFigures) {
    Values v;
    const char* sums[3][3] = {{"0.8", "0.1", "0.6"}, {"0.5", "0.7", "0.3"}, {"0.9", "0", "0.4"}};
    const double outputs[3][3] = {{1, 0, 1}, {1, 1, 0}, {1, 0, 0}};
    for (int L = 0; L < 3; ++L) {
        SCOPED_TRACE(L);
        const auto layer = Net::ComputeLayer(L, v.reader());
        ASSERT_TRUE(layer);
        for (int m = 0; m < 3; ++m) {
            EXPECT_EQ(GeneralText((*layer)[m].S), sums[L][m]) << "unit " << m;
            EXPECT_EQ((*layer)[m].X, outputs[L][m]) << "unit " << m;
        }
        v.feed(L, *layer);
    }
}

TEST(FeedForwardModel, DanglingWeightsAreNeverAskedFor) {
    Values v;
    for (int L = 0; L < 3; ++L) {
        const auto layer = Net::ComputeLayer(L, v.reader());
        ASSERT_TRUE(layer);
        v.feed(L, *layer);
        EXPECT_EQ(v.asked.count({Value::kOmega0, 3 * L}), 0u) << "upward weight of input 0, layer " << L;
        EXPECT_EQ(v.asked.count({Value::kOmega2, 3 * L + 2}), 0u) << "downward weight of input 2, layer " << L;
        // ... while every weight that leads to a unit is read.
        EXPECT_EQ(v.asked.count({Value::kOmega0, 3 * L + 2}), 1u);
        EXPECT_EQ(v.asked.count({Value::kOmega2, 3 * L}), 1u);
    }
}

TEST(FeedForwardModel, EqualityFiresAndTheSumKeepsItsOrder) {
    Values v;
    v.set(Value::kTheta, 0, 0.8);  // S11 = 0.3 + 0.5 = 0.8 exactly at the threshold
    auto layer = Net::ComputeLayer(0, v.reader());
    ASSERT_TRUE(layer);
    EXPECT_EQ((*layer)[0].X, 1);
    v.set(Value::kTheta, 0, 0.8000001);
    EXPECT_EQ(Net::ComputeLayer(0, v.reader()).value()[0].X, 0);

    // Unit 1 adds its upward term last: 0.1 + (0.2 + 0.3) is the double 0.6, whereas
    // (0.1 + 0.2) + 0.3 would be 0.6000000000000001 and reach this threshold.
    v.set(Value::kOmega0, 2, 0.1);
    v.set(Value::kOmega1, 1, 0.2);
    v.set(Value::kOmega2, 0, 0.3);
    v.set(Value::kTheta, 1, 0.6000000000000001);
    layer = Net::ComputeLayer(0, v.reader());
    ASSERT_TRUE(layer);
    EXPECT_EQ((*layer)[1].S, 0.6);
    EXPECT_EQ((*layer)[1].X, 0);
}

TEST(FeedForwardModel, AnUnreadableValueOrAnOverflowingSumGivesNoLayer) {
    Values v;
    v.set(Value::kOmega1, 1, 1e300);
    v.set(Value::kX, 1, 1e300);  // unit 1: 1e300 * 1e300 is beyond a double
    int failed = -1;
    EXPECT_FALSE(Net::ComputeLayer(0, v.reader(), &failed));
    EXPECT_EQ(failed, 1);
    const auto unit0 = Net::ComputeUnit(0, 0, v.reader());  // 0.3 * 1e300 + 0.5 still is a number
    ASSERT_TRUE(unit0);
    EXPECT_EQ(unit0->X, 1);

    // Layer 2 reads the inputs X21..X23, which no step has written yet.
    Values w;
    EXPECT_FALSE(Net::ComputeLayer(1, w.reader(), &failed));
    EXPECT_EQ(failed, 0);
    EXPECT_THROW(Net::ComputeUnit(3, 0, w.reader()), std::out_of_range);
    EXPECT_THROW(Net::ComputeUnit(0, 3, w.reader()), std::out_of_range);
}

TEST(FeedForwardModel, FourStepsMakeACycle) {
    Net net;
    EXPECT_EQ(net.LayerIndex(), 0);
    EXPECT_FALSE(net.Advance());
    EXPECT_FALSE(net.Advance());
    EXPECT_FALSE(net.Advance());
    EXPECT_EQ(net.LayerIndex(), Net::kOutputStep);
    EXPECT_TRUE(net.Advance());  // the output step ends the cycle
    EXPECT_EQ(net.LayerIndex(), 0);
    net.Advance();
    net.Restart();
    EXPECT_EQ(net.LayerIndex(), 0);
}
