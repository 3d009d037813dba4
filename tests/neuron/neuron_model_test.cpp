#include <gtest/gtest.h>

#include "core/kernels.h"
#include "neuron/neuron_model.h"

using namespace kv::neuron;
using kv::StepOutput;

TEST(BinaryNeuron, EqualityFires) {
    EXPECT_EQ(StepOutput(0.5, 0.5), 1);
    EXPECT_EQ(StepOutput(0.4999999, 0.5), 0);
    EXPECT_EQ(StepOutput(-3, -3), 1);
}
