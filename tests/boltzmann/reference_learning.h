// The ten-unit machine's learning iteration written straight from its description: dense
// 10 x 10 net inputs and every pair of units tallied at every sweep. The model must agree
// with it exactly; the benchmark measures the model against it.
#pragma once

#include <array>
#include <cmath>

#include "boltzmann/boltzmann_learning_model.h"
#include "plot/random.h"

namespace kv::boltzmann::reference {

struct Machine {
    using Model = BoltzmannLearning;
    static constexpr int N = Model::kUnits;

    Model::Training data = Model::kDefaultTraining;
    std::array<std::array<int, N>, N> connection{};
    std::array<std::array<double, N>, N> w{};
    std::array<int, N> x{1};
    std::array<std::array<double, N>, N> pos{}, neg{};
    std::array<double, Model::kPatterns + 1> inputCum{};
    std::array<std::array<double, 3>, Model::kPatterns> targetCum{};
    std::array<std::array<int, 2>, Model::kPatterns> outCount{};
    std::array<std::array<double, 2>, Model::kPatterns> outProb{};
    int inputIndex = 0;
    double learnError = 0;

    explicit Machine(const Model::Training& training) : data(training) {
        for (int i = 0; i < N; ++i)
            for (int j = 0; j < N; ++j) {
                const int lo = std::min(i, j), hi = std::max(i, j);
                const bool joined = lo != hi && ((lo == 0 && hi >= 4) || (lo >= 1 && lo <= 3 && hi >= 4 && hi <= 8) ||
                                                 (lo >= 4 && lo <= 8 && hi == 9));
                connection[i][j] = joined ? 1 : 0;
            }
        for (int k = 0; k < 8; ++k) {
            inputCum[k + 1] = inputCum[k] + data.inputProb[k];
            targetCum[k] = {0, data.targetProb[k][0], data.targetProb[k][0] + data.targetProb[k][1]};
        }
    }

    int Sample(double u) {
        const double p = 1 / (1 + std::exp(-u));
        return Rnd() < p ? 1 : 0;
    }
    void Sweep(int first, int last) {
        for (int i = first; i <= last; ++i) {
            double u = 0;
            for (int j = 0; j < N; ++j) u += w[i][j] * x[j];
            x[i] = Sample(u);
        }
    }
    void Tally(std::array<std::array<double, N>, N>& stat) {
        for (int i = 0; i < N; ++i)
            for (int j = 0; j < i; ++j) stat[j][i] += connection[j][i] * x[j] * x[i];
    }

    void LearnIteration() {
        double r = Rnd();
        int k = 7;
        for (int c = 0; c < 8; ++c)
            if (inputCum[c] <= r && r < inputCum[c + 1] && data.inputProb[c] != 0) {
                k = c;
                break;
            }
        inputIndex = k;
        x[1] = k & 1;
        x[2] = (k >> 1) & 1;
        x[3] = (k >> 2) & 1;
        x[0] = 1;
        for (int i = 0; i < N; ++i)
            for (int j = 0; j <= i; ++j) pos[j][i] = neg[j][i] = 0;
        outCount[k] = {0, 0};
        outProb[k] = {0, 0};
        r = Rnd();
        int b = 1;
        for (int c = 0; c < 2; ++c)
            if (targetCum[k][c] <= r && r < targetCum[k][c + 1] && data.targetProb[k][c] != 0) {
                b = c;
                break;
            }
        x[9] = b;
        for (int s = 0; s < data.numUpdate; ++s) {
            Sweep(4, 8);
            Tally(pos);
        }
        for (int s = 0; s < data.numUpdate; ++s) {
            Sweep(4, 9);
            Tally(neg);
            ++outCount[k][x[9]];
        }
        for (int v = 0; v < 2; ++v) outProb[k][v] = static_cast<double>(outCount[k][v]) / data.numUpdate;
        for (int i = 0; i < N; ++i)
            for (int j = 0; j < i; ++j)
                if (connection[i][j]) {
                    w[j][i] = w[j][i] + (pos[j][i] - neg[j][i]) * data.epsilon / data.numUpdate;
                    w[i][j] = w[j][i];
                }
        learnError = 0;
        for (int v = 0; v < 2; ++v) {
            const double q = data.targetProb[k][v];
            if (q != 0) learnError += q * std::log(q / (outProb[k][v] + 0.00001));
        }
    }
};

}  // namespace kv::boltzmann::reference
