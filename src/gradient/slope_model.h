// The descending searches for a minimum of a cubic: the simplest one, which compares the
// function a step to either side and halves the step when neither is lower, and the one
// that steps against the derivative.
#pragma once

#include <array>

namespace kv::gradient {

// f(x) = A0 x^3 + A1 x^2 + A2 x + A3.
struct Cubic {
    std::array<double, 4> A{};
    double operator()(double x) const;
};

// g(x) = B0 x^2 + B1 x + B2.
struct Quadratic {
    std::array<double, 3> B{};
    double operator()(double x) const;
};

// The exact derivative of f: 3 A0, 2 A1, A2.
Quadratic Derivative(const Cubic& f);

// What a step did, so the window moves the marker and shows the result without working
// anything out again.
struct SearchMove {
    double fromX = 0, fromF = 0;  // the point before the step
    double toX = 0, toF = 0;      // the point after it
    bool converged = false;       // this step found the search converged
    bool diverged = false;        // the new point is beyond a double: nothing changed
};

// Compares f at x + dX and x - dX with the value stored for x; halves dX when neither is
// lower, and has converged once dX has fallen below 1e-6.
class SimplestSearch {
public:
    static constexpr double kSmallestStep = 1e-6;

    void Start(double x, const Cubic& f, double deltaX);
    SearchMove Step(const Cubic& f);

    double PosX() const { return posX_; }
    double PosF() const { return posF_; }
    double DeltaX() const { return deltaX_; }
    bool Converged() const { return converged_; }

private:
    double posX_ = 0, posF_ = 0, deltaX_ = 0;
    bool converged_ = false;
};

// x <- x - eps g(x) with the slope g the learner's boxes hold; converged once both the
// point and its value change by less than 1e-6.
class DerivativeSearch {
public:
    static constexpr double kTolerance = 1e-6;

    void Start(double x, const Cubic& f);
    SearchMove Step(const Cubic& f, const Quadratic& g, double eps);

    double PosX() const { return posX_; }
    double PosF() const { return posF_; }
    bool Converged() const { return converged_; }

private:
    double posX_ = 0, posF_ = 0;
    bool converged_ = false;
};

}  // namespace kv::gradient
