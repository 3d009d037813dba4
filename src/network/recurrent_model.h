// The recurrent network of binary units: five units updated one at a time in a fixed cyclic
// order, two external inputs, and the last unit's output fed back into units 2 and 4. Each
// update uses the outputs as they stand at that moment; the values live where the learner
// types them and a unit asks for each value its sum uses when it is updated.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace kv::network {

class RecurrentNetwork {
public:
    static constexpr int kUnits = 5;
    static constexpr int kInputs = 2;
    static constexpr int kWeights = 8;

    // In(i), i = 0, 1: the external inputs; X(u - 1): output of unit u; W(j), j = 0..7: the
    // weights omega0..omega7; Theta(u - 1): threshold of unit u.
    enum class Value { kIn, kX, kW, kTheta };
    // Gives the value or, when it cannot be read, nothing.
    using Reader = std::function<std::optional<double>(Value, int index)>;

    struct Unit {
        double S;
        double X;  // 0 or 1
    };

    // Unit u (1..5), its sum evaluated in the order written, which fixes its rounding:
    //   S1 = In1                          fires when S1 >= theta1 (exactly)
    //   S2 = omega7 X5 + In2              the others fire also when S falls short of theta
    //   S3 = omega1 X2 + omega0 X1        by less than 0.00001, which absorbs rounding in
    //   S4 = omega6 X5 + (omega3 X2 + omega2 X1)   sums such as 0.3 + (0.5 - 0.4)
    //   S5 = omega5 X4 + omega4 X3
    // Nothing when a value cannot be read or the sum is beyond a double.
    static std::optional<Unit> UpdateUnit(int u, const Reader& read);

    // The unit the next step updates, 1..5.
    int NextUnit() const { return unitIndex_ + 1; }
    // The step counter as the window keeps it, 0..4.
    int UnitIndex() const { return unitIndex_; }
    // Counts an update: 1, 2, 3, 4, 5, 1, 2, ...
    void Advance() { unitIndex_ = static_cast<std::int16_t>((unitIndex_ + 1) % kUnits); }
    void Restart() { unitIndex_ = 0; }

private:
    std::int16_t unitIndex_ = 0;
};

}  // namespace kv::network
