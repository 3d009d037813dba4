// The self-organising map of the sixteen animals: the animal table across the top, the map
// on the plot surface below it, and the learning controls at its right. Learning is
// stepped by hand, run on Timer1 or run as a batch that lets events through so that
// "一括実行停止" gets in. The LVQ window is this window with its own model and drawing.
#pragma once

#include <QString>

#include <array>
#include <optional>

#include "kit/batch_runner.h"
#include "kit/form.h"
#include "kit/stepper.h"
#include "som/som_model.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kv {

class CurveView;
class PlotSurface;

class frmSOM : public SteppedForm {
    Q_OBJECT
public:
    frmSOM();

    const som::UnitMap& Map() const { return map(); }
    // Draws the map again with the table as it stands (a box being typed keeps nothing
    // from being drawn: the previous drawing stays).
    void MapDraw();

public slots:
    void Form_Load();
    void Command1_Click();  // 初期化
    void Command2_Click();  // 逐次実行
    void Command3_Click();  // 一括実行
    void Command4_Click();  // 逐次自動学習
    void Command5_Click();  // 逐次自動学習停止
    void Command6_Click();  // 一括実行停止

protected:
    // What the two windows differ in, apart from their models and drawings.
    struct Variant {
        const char* name;
        QString caption;
        bool initOptions;   // the Nc(0) box and the 初期化方法 frame
        double plotLeft;    // left edge of the map's user scale
        QString mapDescription;  // what the map draws, for a screen reader
    };
    explicit frmSOM(const Variant& variant);

    struct Params {
        double alfa0 = 0;
        double nc0 = 0;
        int loop = 0;
    };
    virtual void InitModel(const som::AnimalTable& animals, const Params& p);
    virtual som::StepReport StepModel(const som::AnimalTable& animals);
    // Draws the map `m` (this window's, or a copy of its weights) after Cls.
    virtual void DrawModel(const som::UnitMap& m, const som::AnimalTable& animals);
    virtual const som::UnitMap& map() const { return som_; }
    virtual som::UnitMap& map() { return som_; }
    // The parameters a refused step names.
    virtual QString StepSizeBoxes() const;

    // Each animal's blue dot and name on its winner in `m`.
    void DrawAnimals(const som::UnitMap& m, const som::AnimalTable& animals);
    // A step as StepModel gives it, once its mean winner distance is on the curve.
    som::StepReport Followed(const som::StepReport& step);

    PlotSurface* Picture1;

private:
    enum class Reading { kReport, kSilent };
    enum class Drawing { kNow, kWhenShown };

    void BuildTable();
    void BuildControls();

    std::optional<som::AnimalTable> ReadTable(Reading how);
    std::optional<Params> ReadParams(Reading how);
    // Reads the parameters and the table, initialises and draws (kWhenShown: keeps the
    // drawing for DrawStart); false (nothing changed) when a box cannot be used.
    bool MapInit(Reading how, Drawing drawing = Drawing::kNow);
    // Draws the map a batch started from, if it is still waiting.
    void DrawStart();
    void MapDraw(const som::UnitMap& m, const som::AnimalTable& animals);
    // One learning step with the table as it stands; a refused step says why.
    StepResult MapStep(StepBy by);
    // The timer run has taken its MapLoop steps: it starts again or stops.
    StepResult EndOfRun();
    bool ReportRefused(som::StepOutcome outcome);
    void ShowCount(int count);
    // A press during a batch: the batch stops, then the press acts.
    bool DeferDuringBatch(void (frmSOM::*slot)());

    Variant variant_;
    som::SomMap som_;
    BatchRunner batch_;
    CurveView* curve_ = nullptr;
    void (frmSOM::*pending_)() = nullptr;
    bool restartPending_ = false;
    som::AnimalTable lastTable_{};  // the batch's reading, kept while a box is being retyped
    bool tableEdited_ = false;      // a table text changed since the batch last read it
    struct Start {
        som::UnitMap map;
        som::AnimalTable animals;
    };
    std::optional<Start> start_;  // a batch's first map, not drawn yet

    std::array<QLineEdit*, som::kAnimals * som::kAttributes> Text1{};
    std::array<QLabel*, som::kAnimals> Label1{};
    std::array<QLabel*, som::kAttributes> Label2{};
    QLabel* Label3 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QLineEdit* txtLoop = nullptr;
    QLineEdit* txtAlfa0 = nullptr;
    QLineEdit* txtNc0 = nullptr;
    std::array<QRadioButton*, 4> Option{};  // Option1..Option4
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command6 = nullptr;
    QLineEdit* Text2 = nullptr;
    QCheckBox* Check1 = nullptr;
    QLabel* Label7 = nullptr;
};

}  // namespace kv
