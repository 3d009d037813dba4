// Learning y = a x from five samples, a updated once per pass: the update rule on its green
// strip, the samples as red dots, the model line moving step by step or on the timer, the
// step count and error. The sequential window is this one configured with the other rule.
#pragma once

#include <array>
#include <optional>

#include "kit/form.h"
#include "kit/plot_frame.h"
#include "kit/stepper.h"
#include "linear/linear_model.h"
#include "plot/colors.h"

class QLabel;
class QLineEdit;

namespace kv {

class CurveView;
class PlotSurface;

class frmLinearSystem1 : public SteppedForm {
    Q_OBJECT
public:
    frmLinearSystem1();

    Stepper& run() { return *run_; }
    const linear::LinearLearner& model() const { return model_; }
    const linear::AutoRun& autoRun() const { return auto_; }

public slots:
    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();

protected:
    frmLinearSystem1(const QString& name, const QString& caption, linear::Update rule);

private:
    // How the model line stands on the plot, so that a redraw puts it back as it was.
    enum class LineShown { None, Learning, Blinking };

    // The plot frame and the samples in their boxes, then the model line as it stood. False,
    // with the plot as it was, when a box cannot be used (told with `report`).
    bool Redraw(bool report);
    bool Initialise(bool report);
    std::optional<linear::Samples> ReadSamples(bool report);
    // One learning step with its result and line; false when it was refused (and told).
    bool LearnStep();
    StepResult Step(StepBy by);
    StepResult AutoTick();
    void DrawModelLine(double a, Rgb colour);
    void ShowLine(LineShown shown);

    linear::LinearLearner model_;
    linear::AutoRun auto_;
    CurveView* curve_ = nullptr;  // the error and a at every step
    PlotMaxima maxima_;
    LineShown line_ = LineShown::None;
    QString result_;  // the two result lines, joined by CR LF as the message quotes them

    QLineEdit* txtMaxX;
    QLineEdit* txtMaxY;
    QLineEdit* txtEpsilon;
    std::array<QLineEdit*, linear::kSampleCount> txtX;
    std::array<QLineEdit*, linear::kSampleCount> txtY;
    QLineEdit* txtLoop;
    QLineEdit* Text1;
    PlotSurface* Picture1;
    QLabel* lblResult;
};

}  // namespace kv
