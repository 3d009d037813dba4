// The gradient method proper: the point moves against the derivative with a fixed ε. The
// window is the simplest search's with a derivative row under the polynomial, filled from
// the coefficients and open to the learner's own slope.
#pragma once

#include <array>

#include "gradient/frmSlopeMethod1.h"

namespace kv {

class frmSlopeMethod2 : public frmSlopeMethod1 {
    Q_OBJECT
public:
    frmSlopeMethod2();

public slots:
    void txtA_Change(int Index) override;

private:
    // txtB = 3 A0, 2 A1, A2 of the coefficients as they stand (left alone while one of them
    // is beyond a double).
    void FillDerivative();
    std::optional<gradient::Quadratic> ReadSlope(bool report);

    void BeforeInitialise() override { FillDerivative(); }
    void Begin(double x, const gradient::Cubic& f, double) override { search_.Start(x, f); }
    std::optional<gradient::SearchMove> Advance(const gradient::Cubic& f, bool report) override;
    double PosX() const override { return search_.PosX(); }
    double PosF() const override { return search_.PosF(); }
    bool Converged() const override { return search_.Converged(); }

    gradient::DerivativeSearch search_;
    std::array<QLineEdit*, 3> txtB;
};

}  // namespace kv
