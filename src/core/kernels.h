// Arithmetic that models of several topics share. Plain C++: every model may use it.
#pragma once

#include <initializer_list>
#include <span>

namespace kv {

// 1 / (1 + e^(-alpha z)), exactly 0 once the exponent reaches 100. A gain of 0 gives 0.5
// for every z, also an infinite one.
double Sigmoid(double z, double alpha);

// S = sum of w[j] * x[j], added in index order over the shorter of the two.
double WeightedSum(std::span<const double> x, std::span<const double> w);

// The binary unit: 1 when s reaches the threshold (equality fires), else 0.
double StepOutput(double s, double theta);

// How far below the threshold a sum may fall and still fire in StepOutputTolerant.
inline constexpr double kFiringTolerance = 0.00001;

// The binary unit that forgives rounding: 1 when s >= theta or |s - theta| <
// kFiringTolerance, else 0, so a sum such as 0.3 + (0.5 - 0.4) that lands a hair below 0.4 fires.
double StepOutputTolerant(double s, double theta);

// Call before a loop of exponentials (or other libm calls) that follows drawing. Qt's raster
// code can leave the upper halves of the AVX registers dirty; glibc's exp runs VEX code on
// such CPUs, and on some of them every call from this SSE2 code then pays two state
// transitions, about thirty times the exponential itself. This clears them (vzeroupper) on
// CPUs that have AVX and does nothing elsewhere, so the program still runs on baseline x86-64.
void CleanVectorState();

// Whether every value is a finite double: a model step commits its results only then.
bool AllFinite(std::initializer_list<double> values);
bool AllFinite(std::span<const double> values);

}  // namespace kv
