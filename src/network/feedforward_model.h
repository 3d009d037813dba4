// The feed-forward network of binary units: three layers of three units, the outputs of
// one layer the inputs of the next, one layer computed per step. The values live where the
// learner types them; a unit asks for each value its sum uses at the moment it is computed.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

namespace kv::network {

class FeedForwardNetwork {
public:
    static constexpr int kLayers = 3;
    static constexpr int kUnits = 3;                 // per layer
    static constexpr int kInputs = 3 * (kLayers + 1);  // X11 .. X43; the last three are the outputs
    static constexpr int kOutputStep = kLayers;      // the step that only shows the outputs

    // The values a unit reads, indexed k = 3L + i for input i of layer L. Omega0 is the
    // weight from input i to the unit above (i - 1), Omega1 to its own unit i, Omega2 to the
    // unit below (i + 1); Theta(k) is the threshold of unit k.
    enum class Value { kX, kOmega0, kOmega1, kOmega2, kTheta };
    // Gives the value or, when it cannot be read, nothing.
    using Reader = std::function<std::optional<double>(Value, int k)>;

    struct Unit {
        double S;
        double X;  // 1 when S >= theta, else 0
    };
    using Layer = std::array<Unit, kUnits>;

    // Unit m (0..2) of layer L (0..2), summed in the order that fixes its rounding:
    //   unit 0: Omega0(b+1) X(b+1) + Omega1(b) X(b)
    //   unit 1: Omega0(b+2) X(b+2) + (Omega1(b+1) X(b+1) + Omega2(b) X(b))
    //   unit 2: Omega1(b+2) X(b+2) + Omega2(b+1) X(b+1)
    // with b = 3L. The upward weight of input 0 and the downward weight of input 2 lead to
    // no unit and are never asked for. Nothing when a value cannot be read or the sum is
    // beyond a double.
    static std::optional<Unit> ComputeUnit(int L, int m, const Reader& read);

    // The three units of layer L, or nothing when one of them cannot be computed (its index
    // then goes to `failedUnit`): a layer is shown whole or not at all.
    static std::optional<Layer> ComputeLayer(int L, const Reader& read, int* failedUnit = nullptr);

    // The step the next press performs: layer 0, 1, 2, or kOutputStep.
    int LayerIndex() const { return layerIndex_; }
    // Counts a finished step. Returns true when it was the output step: the cycle is over,
    // the states are to be cleared and the next step is layer 0 again.
    bool Advance();
    void Restart() { layerIndex_ = 0; }

private:
    std::int16_t layerIndex_ = 0;
};

}  // namespace kv::network
