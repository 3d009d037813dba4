// The time of a subject over the time of its floor, measured in the same run.
#pragma once

#include <time.h>

#include <algorithm>
#include <vector>

namespace kv::bench {

// Median seconds of one subject and of one floor.
struct FloorMedians {
    double subject = 0;
    double floor = 0;
    double ratio() const { return subject / floor; }
};

// This thread's processor time in seconds, which other work on the machine does not add to.
inline double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

inline double Median(std::vector<double> v) {
    std::nth_element(v.begin(), v.begin() + static_cast<long>(v.size() / 2), v.end());
    return v[v.size() / 2];
}

// Each of `subject(i)` and `floor(i)` timed `rounds` times, alternately and in this
// thread's processor time, so that other work on the machine slows neither. A floor too
// short for the clock is timed over `floorRepeats` calls and divided.
template <typename Subject, typename Floor>
FloorMedians MeasureFloor(Subject subject, Floor floor, int rounds = 40, int floorRepeats = 1) {
    const auto now = ThreadSeconds;
    const auto seconds = [&](auto f) {
        const double start = now();
        f();
        return now() - start;
    };
    std::vector<double> s, f;
    for (int i = 0; i < rounds; ++i) {
        s.push_back(seconds([&] { subject(i); }));
        f.push_back(seconds([&] {
                        for (int k = 0; k < floorRepeats; ++k) floor(i);
                    }) /
                    floorRepeats);
    }
    return {Median(s), Median(f)};
}

// The ratio of the medians of MeasureFloor.
template <typename Subject, typename Floor>
double FloorRatio(Subject subject, Floor floor, int rounds = 40) {
    return MeasureFloor(subject, floor, rounds).ratio();
}

}  // namespace kv::bench
