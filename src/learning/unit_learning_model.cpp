#include "learning/unit_learning_model.h"

#include <cmath>

#include "core/kernels.h"

namespace kv::learning {
namespace {

// The fixed input's term comes last, as the learner's formula writes it.
double NetInput(double x1, double x2, double x3, double w1, double w2, double w3) {
    return x2 * w2 + w1 * x1 + w3 * x3;
}

}  // namespace

void UnitLearningModel::Initialise() {
    TrainIndex_ = 0;
    StepPhase_ = 0;
    W_ = {};
    Gain_ = 2.0;
    LearnRate_ = 0.5;
    ErrSum_ = 0.0;
}

bool UnitLearningModel::ForwardStep(const UnitPattern& p) {
    constexpr double x3 = 1.0;
    const double u = NetInput(p.input1, p.input2, x3, W_[1], W_[2], W_[3]);
    const double y = Sigmoid(u, Gain_);
    const double delta = y * ((y - p.teacher) * (1.0 - y)) * Gain_;
    if (!AllFinite({u, y, delta})) return false;
    X1_ = p.input1;
    X2_ = p.input2;
    X3_ = x3;
    T_ = p.teacher;
    Y_ = y;
    Delta_ = delta;
    return true;
}

bool UnitLearningModel::UpdateWeights() {
    const double w1 = W_[1] - Delta_ * LearnRate_ * X1_;
    const double w2 = W_[2] - Delta_ * LearnRate_ * X2_;
    const double w3 = W_[3] - Delta_ * LearnRate_ * X3_;
    const double err = (Y_ - T_) * (Y_ - T_) + ErrSum_;
    if (!AllFinite({w1, w2, w3, err})) return false;
    W_[1] = w1;
    W_[2] = w2;
    W_[3] = w3;
    ErrSum_ = err;
    return true;
}

UnitStep UnitLearningModel::Step(const UnitPatternSource& source) {
    UnitStep step;
    step.pattern = TrainIndex_;
    if (StepPhase_ == 0) {
        const auto p = source(TrainIndex_);
        if (!p) {
            step.outcome = UnitStep::kUnread;
            return step;
        }
        if (!ForwardStep(*p)) {
            step.outcome = UnitStep::kOverflow;
            return step;
        }
        StepPhase_ = 1;
        step.outcome = UnitStep::kForward;
        return step;
    }
    if (!UpdateWeights()) {
        step.outcome = UnitStep::kOverflow;
        return step;
    }
    step.outcome = UnitStep::kUpdate;
    StepPhase_ = 0;
    ++TrainIndex_;
    if (TrainIndex_ > kUnitPatternCount - 1) {
        step.passFinished = true;
        step.passError = ErrSum_;
        TrainIndex_ = 0;
        ErrSum_ = 0.0;
    }
    return step;
}

std::optional<long> UnitLearningModel::PassCount(double n) {
    if (!(n >= 0.0) || n > kMaxPasses) return std::nullopt;
    return static_cast<long>(std::floor(n));
}

UnitBatch UnitLearningModel::Batch(long passes, const UnitPatternSource& source,
                                    const std::function<void(double errSum)>& passEnd) {
    CleanVectorState();  // an exponential for every pattern of every pass follows
    UnitBatch batch;
    for (long r = 1; r <= passes; ++r) {
        ErrSum_ = 0.0;
        for (int i = 0; i < kUnitPatternCount; ++i) {
            TrainIndex_ = static_cast<std::int16_t>(i);
            batch.pattern = i;
            const auto p = source(i);
            const bool forward = p && ForwardStep(*p);
            if (forward) ++batch.forwards;
            if (!forward || !UpdateWeights()) {
                batch.stopped = true;
                batch.overflow = p.has_value();
                return batch;
            }
            ++batch.updates;
        }
        ++batch.passes;
        if (passEnd) passEnd(ErrSum_);
    }
    return batch;
}

std::optional<double> UnitLearningModel::NormalRun(double in1, double in2, const std::array<double, 3>& w) {
    constexpr double x3 = 1.0;
    const double u = NetInput(in1, in2, x3, w[0], w[1], w[2]);
    const double y = Sigmoid(u, Gain_);
    if (!AllFinite({u, y})) return std::nullopt;
    X1_ = in1;
    X2_ = in2;
    X3_ = x3;
    Y_ = y;
    return y;
}

}  // namespace kv::learning
