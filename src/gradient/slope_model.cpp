#include "gradient/slope_model.h"

#include <cmath>

namespace kv::gradient {

// Summed from the constant up, in the order the demonstration's figures were worked in.
double Cubic::operator()(double x) const { return A[3] + (x * A[2] + (x * (x * A[1]) + x * (x * (x * A[0])))); }

double Quadratic::operator()(double x) const { return B[2] + (x * B[1] + x * (x * B[0])); }

Quadratic Derivative(const Cubic& f) { return Quadratic{{3 * f.A[0], 2 * f.A[1], f.A[2]}}; }

void SimplestSearch::Start(double x, const Cubic& f, double deltaX) {
    posX_ = x;
    posF_ = f(x);
    deltaX_ = deltaX;
    converged_ = false;
}

SearchMove SimplestSearch::Step(const Cubic& f) {
    SearchMove move{posX_, posF_, posX_, posF_};
    double n = posX_;
    double halved = deltaX_;
    // A neighbour only as low as the stored value is never taken.
    if (f(posX_ + deltaX_) < posF_) {
        n = posX_ + deltaX_;
    } else if (f(posX_ - deltaX_) < posF_) {
        n = posX_ - deltaX_;
    } else if (deltaX_ >= kSmallestStep) {
        halved = deltaX_ / 2;
    } else {
        move.converged = true;
    }
    const double fn = f(n);
    if (!std::isfinite(n) || !std::isfinite(fn)) {
        move.diverged = true;
        return move;
    }
    deltaX_ = halved;
    if (move.converged) converged_ = true;
    move.toX = posX_ = n;
    move.toF = posF_ = fn;
    return move;
}

void DerivativeSearch::Start(double x, const Cubic& f) {
    posX_ = x;
    posF_ = f(x);
    converged_ = false;
}

SearchMove DerivativeSearch::Step(const Cubic& f, const Quadratic& g, double eps) {
    SearchMove move{posX_, posF_, posX_, posF_};
    const double n = posX_ - eps * g(posX_);
    const double fn = f(n);
    if (!std::isfinite(n) || !std::isfinite(fn)) {
        move.diverged = true;
        return move;
    }
    // The result shown is the point before this last, tiny move.
    move.converged = std::fabs(posX_ - n) < kTolerance && std::fabs(posF_ - fn) < kTolerance;
    if (move.converged) converged_ = true;
    move.toX = posX_ = n;
    move.toF = posF_ = fn;
    return move;
}

}  // namespace kv::gradient
