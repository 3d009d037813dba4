// What the analog, stochastic and time-evolution neuron windows share beyond the binary
// one: the gain alpha, the output rule Y = sigmoid(S - theta) with the sigmoid formula
// laid out as a fraction, and the sigmoid response plot.
#pragma once

#include "neuron/NeuronWindow.h"

namespace kv::neuron {

// "sigmoid(Z) =" followed by "1" over "1 + e" with the raised exponent "-αZ" (Label5(3)
// to Label5(6) and the fraction bar Line7), the left edge of its first line at `at`.
void AddSigmoidFormula(QWidget* parent, QPoint at);

class AnalogWindow : public NeuronWindow {
    Q_OBJECT
protected:
    AnalogWindow(const QString& name, const QString& caption, const QString& instruction,
                 const QString& plotDescription = QStringLiteral(
                     "横軸に重み付き和 S、縦軸に出力 Y をとり、しきい値 θ と α で決まるシグモイド関数の応答曲線を描きます。"));

    // Reads S, theta and alpha, then writes S and Output(S, theta, alpha).
    bool Compute() override;
    // The sigmoid for the theta and alpha in their boxes; a box beyond a double leaves
    // the previous plot (nothing is reported while the learner types).
    void DrawResponse() override;
    // What a window draws over a fresh response plot (the time-evolution marker).
    virtual void DrawOverResponse() {}

    // What "計算実行" writes to txtY.
    virtual double Output(double s, double theta, double alpha);

    // Val of the alpha box, as ReadTheta.
    std::optional<double> ReadAlfa(bool report);

    struct Inputs {
        double s, theta, alpha;
    };
    // The weighted sum (refused with a message when it is beyond a double), theta and
    // alpha; nothing once one of them is refused, which is reported.
    std::optional<Inputs> ReadInputs();

    QLineEdit* txtAlfa;
};

}  // namespace kv::neuron
