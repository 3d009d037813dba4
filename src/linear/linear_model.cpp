#include "linear/linear_model.h"

#include <cmath>

namespace kv::linear {

void LinearLearner::Initialise(const Samples& samples, double eps) {
    trainData_ = samples;
    eps_ = eps;
    paramA_ = 0;
    trainCount_ = 0;
    atLimit_ = false;
}

double LinearLearner::ErrorOf(const Samples& samples, double a) {
    double e = 0;
    for (const Sample& s : samples) {
        const double d = s.y - a * s.x;
        e += d * d;
    }
    return e;
}

LearnMove LinearLearner::LearnStep() {
    LearnMove move;
    move.aOld = move.aNew = paramA_;
    move.error = errorSum_;
    move.count = trainCount_;
    move.atLimit = atLimit_;
    if (trainCount_ >= kMaxCount) {
        move.outcome = LearnMove::Outcome::CountFull;
        return move;
    }
    double a = paramA_;
    if (rule_ == Update::Batch) {
        double s = 0;
        for (const Sample& p : trainData_) s += (p.y - p.x * a) * p.x;
        a += s * eps_;
    } else {
        // Each correction starts from the a the previous sample left.
        for (const Sample& p : trainData_) a += p.x * ((p.y - a * p.x) * eps_);
    }
    const double e = ErrorOf(trainData_, a);
    if (!std::isfinite(a) || !std::isfinite(e)) {
        move.outcome = LearnMove::Outcome::Diverged;
        return move;
    }
    if (std::fabs(e - errorSum_) < kLimit) atLimit_ = true;
    errorSum_ = e;
    paramA_ = a;
    move.aNew = a;
    move.error = e;
    move.count = ++trainCount_;
    move.atLimit = atLimit_;
    return move;
}

AutoRun::Action AutoRun::Tick() {
    switch (phase_) {
        case Phase::Initialise:
            phase_ = Phase::Pause;
            phaseCount_ = kPauseTicks - 1;
            return Action::Initialise;
        case Phase::Pause:
            if (--phaseCount_ < 0) phase_ = Phase::Learning;
            return Action::Pause;
        case Phase::Learning:
            return Action::Learn;
        case Phase::Blink:
            if (--phaseCount_ < 0) {
                phase_ = Phase::Initialise;
                return Action::Restart;
            }
            return Action::Blink;
    }
    return Action::Pause;
}

void AutoRun::Learnt(bool atLimit) {
    if (!atLimit) return;
    phase_ = Phase::Blink;
    phaseCount_ = kBlinkTicks - 1;
}

void AutoRun::RestartRefused() {
    phase_ = Phase::Blink;
    phaseCount_ = 0;
}

}  // namespace kv::linear
