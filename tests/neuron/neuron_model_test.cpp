#include <gtest/gtest.h>

#include <vector>

#include "neuron/neuron_model.h"

using namespace kv::neuron;

TEST(BinaryNeuron, SumPairsEachInputWithItsWeightAndEqualityFires) {
    const std::vector<double> x{1, 0, 1}, w{0.5, 0.3, 0.2};
    EXPECT_DOUBLE_EQ(WeightedSum(x, w), 0.7);
    EXPECT_EQ(WeightedSum(std::vector<double>{}, std::vector<double>{}), 0);
    EXPECT_DOUBLE_EQ(WeightedSum(std::vector<double>{2, -1}, std::vector<double>{0.25, 3}), -2.5);

    EXPECT_EQ(StepOutput(0.5, 0.5), 1);
    EXPECT_EQ(StepOutput(0.4999999, 0.5), 0);
    EXPECT_EQ(StepOutput(-3, -3), 1);
}
