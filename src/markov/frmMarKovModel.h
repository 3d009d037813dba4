// The Markov chain windows: a state graph with a box on every node (its value) and on every
// arc (its probability). "逐次実行" moves the values one step along the arcs, "自動実行"
// steps on Timer1 until the values stop moving, "初期ノード" puts the first values back.
// The boxes are the chain's state: the learner may retype any of them between steps.
// frmMarKovModel is the three-node chain; the other five windows configure it with their
// own graph, defaults, tolerance and message.
#pragma once

#include <QPointF>
#include <QSize>
#include <QString>

#include <optional>
#include <vector>

#include "kit/form.h"
#include "kit/stepper.h"
#include "markov/markov_model.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace kv {

class CurveView;
class StateGraphView;

// A node: where it stands in the picture (0..1 across and down), its first value, its name
// and the side of the node its name stands on (degrees counter-clockwise from the right).
struct MarkovNode {
    QPointF at;
    const char* initial;
    QString label;
    double labelAngle;
};

// An arc: its ends, its default probability and the shape of its arrow (a curve's bend, or
// a loop's angle when both ends are one node), and how far its box is moved, in pixels,
// from the middle of the arrow when the middle is crowded.
struct MarkovArc {
    int source, destination;
    const char* probability;
    double bend;
    double loopAngle = 0;
    QPointF boxShift = {};
};

// What most Markov windows say when a step finds the chain settled.
inline const QString kEquilibriumMessage = QStringLiteral("平衡状態にはいりました");

// All a Markov window is made of. Each window writes its own with designated initialisers,
// naming every field it sets.
struct MarkovWindowConfig {
    QString name;                            // the window's kind and object name
    QString caption;
    QSize picture;
    std::vector<MarkovNode> nodes;
    std::vector<MarkovArc> arcs;
    double tolerance;                        // how far a node may still move when settled
    QString message = kEquilibriumMessage;   // shown when a step finds the chain settled
    bool formatWhenSettled = false;          // the settled values are rewritten with three decimals
    QString note = {};                       // Label3 under the picture, when not empty
};

class frmMarKovModel : public SteppedForm {
    Q_OBJECT
public:
    frmMarKovModel();

    // The arc boxes' size; node boxes are as wide as the longest value they can show.
    static constexpr QSize kArcBox{44, 22};

public slots:
    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();

protected:
    explicit frmMarKovModel(MarkovWindowConfig config);

private:
    // One step through the boxes: read, move, write back, and on settling what the window
    // does then.
    StepResult TransitionStep(StepBy by);
    // Every value in `boxes` read with Val: a press reports a box beyond a double (and
    // gives nothing); a tick gives nothing, silently, for such a box and for the box being
    // typed in while it holds no whole number yet.
    std::optional<std::vector<double>> ReadBoxes(const std::vector<QLineEdit*>& boxes, StepBy by,
                                                 const std::vector<QString>& names);
    void SetArcs();
    void SetInitialNodes();
    void FormatNodes();

    void BuildGraph();
    void BuildControls();
    void BuildCurve();

    MarkovWindowConfig config_;
    markov::MarkovChain chain_;
    std::vector<QString> nodeNames_, arcNames_;  // the boxes' names in messages
    CurveView* curve_ = nullptr;                 // every node's value at every step

    StateGraphView* Image1;
    std::vector<QLineEdit*> txtNode;
    std::vector<QLabel*> Label1;
    std::vector<QLineEdit*> txtArc;
    QCheckBox* Check1;
    QLineEdit* Text1;
};

}  // namespace kv
