// The time of a subject over the time of its floor, measured in the same run.
#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

namespace kv::bench {

// Each of `subject(i)` and `floor(i)` timed `rounds` times, alternately, so that a machine
// busy with other work slows both alike; the ratio of their medians.
template <typename Subject, typename Floor>
double FloorRatio(Subject subject, Floor floor, int rounds = 40) {
    const auto seconds = [](auto f) {
        const auto start = std::chrono::steady_clock::now();
        f();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    const auto median = [](std::vector<double>& v) {
        std::nth_element(v.begin(), v.begin() + static_cast<long>(v.size() / 2), v.end());
        return v[v.size() / 2];
    };
    std::vector<double> s, f;
    for (int i = 0; i < rounds; ++i) {
        s.push_back(seconds([&] { subject(i); }));
        f.push_back(seconds([&] { floor(i); }));
    }
    return median(s) / median(f);
}

}  // namespace kv::bench
