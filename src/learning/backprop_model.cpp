#include "learning/backprop_model.h"

#include <algorithm>
#include <cmath>

#include "core/kernels.h"

namespace kv::learning {

int BackpropNetwork::TableIndex(double u) {
    // Clamped as a double, so that no sum, however large, is converted out of range.
    const double i = 100 + std::floor(10 * u + 0.5);
    if (!(i >= 0)) return 0;
    if (i > kTableSize - 1) return kTableSize - 1;
    return static_cast<int>(i);
}

std::optional<std::int16_t> BackpropNetwork::PassCount(double n) {
    if (!(n >= 0) || n > kMaxPasses) return std::nullopt;
    return static_cast<std::int16_t>(std::floor(n));
}

bool BackpropNetwork::TrainingValueFits(double v) { return std::fabs(v) <= kMaxTrainingMagnitude; }

double BackpropNetwork::ProgressPercent(std::int16_t pass, double n) { return 100 * (pass / n); }

BackpropNetwork::BackpropNetwork() { Initialise(kDefaultTraining); }

void BackpropNetwork::Initialise(const TrainingSet& training) {
    Restart();
    patError_ = 0;
    maxError_ = 0;
    for (int i = 0; i < kTableSize; ++i) sigTable_[static_cast<std::size_t>(i)] = Sigmoid(0.1 * (i - 100), kGain);
    train_ = training;
    // -1 and +1 alternately through W1 row by row, then on through W2.
    double w = -1;
    for (auto& row : w1_)
        for (double& v : row) {
            v = w;
            w = -w;
        }
    for (double& v : w2_) {
        v = w;
        w = -w;
    }
}

void BackpropNetwork::Restart() {
    stage_ = Stage::kLoadPattern;
    patIndex_ = 0;
    hidIndex_ = 0;
    inIndex_ = 0;
    interrupted_ = false;
}

bool BackpropNetwork::StageCountersInRange() const {
    const bool pattern = patIndex_ >= 0 && patIndex_ < kPatterns;
    switch (stage_) {
        case Stage::kLoadPattern:
        case Stage::kComputeError:
        case Stage::kBackpropOutput: return pattern;
        case Stage::kForwardHidden: return hidIndex_ >= 0 && hidIndex_ < kHidden;
        case Stage::kUpdateInputWeights: return inIndex_ >= 0 && inIndex_ <= kInputs;
        // The output reads no counter; the end of a pattern only counts the pattern on,
        // and wraps a counter past the last pattern back to 0.
        case Stage::kForwardOutput:
        case Stage::kEndPattern: return true;
    }
    return false;
}

void BackpropNetwork::SetInputs(const std::array<double, kInputs>& inputs) {
    std::copy(inputs.begin(), inputs.end(), x_.begin());
    x_[kInputs] = 1.0;
}

void BackpropNetwork::LoadPattern() { SetInputs(train_.x[static_cast<std::size_t>(patIndex_)]); }

void BackpropNetwork::ForwardHidden() {
    const auto h = static_cast<std::size_t>(hidIndex_);
    // Summed in this order, the threshold weight added rather than multiplied by X(3).
    const double u = w1_[1][h] * x_[1] + w1_[0][h] * x_[0] + w1_[2][h] * x_[2] + w1_[3][h];
    h_[h] = Lookup(u);
    h_[kHidden] = 1.0;
}

void BackpropNetwork::ForwardOutput() {
    const double u = h_[1] * w2_[1] + h_[0] * w2_[0] + h_[2] * w2_[2] + h_[3] * w2_[3] + h_[4] * w2_[4] + w2_[5];
    o_ = Lookup(u);
}

void BackpropNetwork::Forward() {
    for (hidIndex_ = 0; hidIndex_ < kHidden; ++hidIndex_) ForwardHidden();
    ForwardOutput();
}

void BackpropNetwork::ComputeError() {
    const double e = train_.t[static_cast<std::size_t>(patIndex_)] - o_;
    patError_ = e * e;
    UpdateMaxError();
}

void BackpropNetwork::BackpropOutput() {
    d2_ = (o_ - train_.t[static_cast<std::size_t>(patIndex_)]) * (1 - o_) * o_;
    // D1 uses W2 before its update.
    for (std::size_t h = 0; h < kHidden; ++h) d1_[h] = h_[h] * ((1 - h_[h]) * (w2_[h] * d2_));
    for (std::size_t h = 0; h <= kHidden; ++h) w2_[h] = w2_[h] - h_[h] * kLearnRate * d2_;
}

void BackpropNetwork::UpdateInputWeights() {
    const auto k = static_cast<std::size_t>(inIndex_);
    for (std::size_t h = 0; h < kHidden; ++h) w1_[k][h] = w1_[k][h] - x_[k] * kLearnRate * d1_[h];
}

void BackpropNetwork::UpdateMaxError() {
    if (patError_ > maxError_) maxError_ = patError_;
}

BackpropNetwork::Step BackpropNetwork::Advance() {
    const bool interrupted = interrupted_;
    if (!StageCountersInRange()) Restart();
    Step done{stage_, 0, false};
    switch (stage_) {
        case Stage::kLoadPattern:
            done.index = patIndex_;
            done.restarted = interrupted && patIndex_ == 0;
            interrupted_ = false;
            LoadPattern();
            hidIndex_ = 0;
            stage_ = Stage::kForwardHidden;
            break;
        case Stage::kForwardHidden:
            done.index = hidIndex_;
            ForwardHidden();
            if (++hidIndex_ >= kHidden) stage_ = Stage::kForwardOutput;
            break;
        case Stage::kForwardOutput:
            ForwardOutput();
            stage_ = Stage::kComputeError;
            break;
        case Stage::kComputeError:
            done.index = patIndex_;
            ComputeError();
            stage_ = Stage::kBackpropOutput;
            break;
        case Stage::kBackpropOutput:
            done.index = patIndex_;
            BackpropOutput();
            inIndex_ = 0;
            stage_ = Stage::kUpdateInputWeights;
            break;
        case Stage::kUpdateInputWeights:
            done.index = inIndex_;
            UpdateInputWeights();
            if (++inIndex_ > kInputs) stage_ = Stage::kEndPattern;
            break;
        case Stage::kEndPattern:
            done.index = patIndex_;
            UpdateMaxError();
            inIndex_ = 0;
            if (++patIndex_ >= kPatterns) {
                patIndex_ = 0;
                patError_ = 0;
            }
            stage_ = Stage::kLoadPattern;
            break;
    }
    return done;
}

void BackpropNetwork::LearnPattern(const BatchObserver& observer) {
    LoadPattern();
    Forward();
    ComputeError();
    if (observer.patternError) observer.patternError(patError_);
    BackpropOutput();
    for (inIndex_ = 0; inIndex_ <= kInputs; ++inIndex_) UpdateInputWeights();
    UpdateMaxError();
}

BackpropNetwork::Batch::Batch(BackpropNetwork& net, double n, double limitError)
    : net_(net), n_(n), limitError_(limitError), result_(n), passes_(PassCount(n).value_or(0)) {
    ended_ = passes_ < 1;
}

bool BackpropNetwork::Batch::Next(const BatchObserver& observer) {
    if (ended_) return false;
    const std::int16_t r = ++pass_;
    if (r % kProgressEvery == 0 && observer.progress) observer.progress(r, n_);
    net_.interrupted_ = true;
    net_.maxError_ = 0;
    for (net_.patIndex_ = 0; net_.patIndex_ < kPatterns; ++net_.patIndex_) net_.LearnPattern(observer);
    if (observer.passEnd) observer.passEnd(net_.maxError_);
    if (net_.maxError_ < limitError_) {
        result_ = r;
        ended_ = true;
    } else if (r == passes_) {
        ended_ = true;
    }
    return !ended_;
}

double BackpropNetwork::LearnBatch(double n, double limitError, const BatchObserver& observer) {
    Batch batch(*this, n, limitError);
    while (batch.Next(observer)) {
    }
    return batch.Result();
}

void BackpropNetwork::Run(const std::array<double, kInputs>& inputs) {
    interrupted_ = true;
    SetInputs(inputs);
    Forward();
}

}  // namespace kv::learning
