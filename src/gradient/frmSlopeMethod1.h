// The simplest gradient search: the cubic typed as a formula, the plot with the curve and
// the point marker, the search stepped by hand or on the timer, and the function value
// under the mouse pointer. The derivative window derives from it.
#pragma once

#include <array>
#include <optional>

#include "gradient/slope_model.h"
#include "kit/form.h"
#include "kit/plot_frame.h"
#include "kit/stepper.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kv {

class CurveView;
class PlotSurface;

// "適用式の係数（2番目）": coefficient k of a formula, as messages and screen readers name it.
QString CoefficientName(const QString& formula, int k);

class frmSlopeMethod1 : public SteppedForm {
    Q_OBJECT
public:
    frmSlopeMethod1();

    Stepper& run() { return *run_; }

public slots:
    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    virtual void txtA_Change(int Index);
    void Picture1_MouseMove(int Button, int Shift, double X, double Y);

protected:
    // `formulaRows` frames of formulas along the top (the derivative window has two); the
    // plot sits under the last one. `stepName` names txtEpsilon: the search's step width or
    // factor.
    frmSlopeMethod1(const QString& name, const QString& caption, int formulaRows, const QString& stepName);

    // The coefficients in txtA; nothing when one is beyond a double (told with `report`).
    std::optional<gradient::Cubic> ReadCubic(bool report);
    // The plot frame and the curve for the maxima and coefficients in their boxes, then the
    // marker again where it stands, so that the next step erases it cleanly. False, with
    // the plot as it was, when a box cannot be used.
    bool Redraw(bool report);
    // A new search from the initial point, its marker drawn. False when a box cannot be
    // used (nothing changes then).
    bool Initialise(bool report);

    // What the two searches do differently.
    virtual void BeforeInitialise() {}
    // A new search from x, with the width or factor in txtEpsilon.
    virtual void Begin(double x, const gradient::Cubic& f, double eps) { search_.Start(x, f, eps); }
    virtual std::optional<gradient::SearchMove> Advance(const gradient::Cubic& f, bool report);
    virtual double PosX() const { return search_.PosX(); }
    virtual double PosF() const { return search_.PosF(); }
    virtual bool Converged() const { return search_.Converged(); }

    // Row `row` of the formula frames: the group box at the top-left of the window.
    QRect FormulaFrame(int row) const;

    std::array<QLineEdit*, 4> txtA;
    QGroupBox* Frame1;
    QLineEdit* txtEpsilon;
    QLineEdit* txtX;
    QLabel* lblResult;

private:
    // Reads the initial point and txtEpsilon and begins the search; false when one cannot
    // be used.
    bool StartSearch(const gradient::Cubic& f, bool report);
    StepResult SearchStep(StepBy by);
    void DrawMarker(double x, double f);
    bool eventFilter(QObject* watched, QEvent* event) override;

    gradient::SimplestSearch search_;
    CurveView* curve_ = nullptr;  // f(x) and x at every step of the search
    PlotMaxima maxima_;
    bool markerShown_ = false;  // a search has been started and its marker stands on the plot
    QString stepName_;          // txtEpsilon as its label and messages name it

    QLineEdit* txtMaxX;
    QLineEdit* txtMaxY;
    QLineEdit* Text1;
    PlotSurface* Picture1;
    QLabel* lblMouseXY;
};

}  // namespace kv
