// Learning vector quantisation of the same animals: the map window with six fixed class
// regions, no initialisation options and no neighbourhood; only each animal's winner
// moves, towards it inside the animal's region and away from it outside.
#pragma once

#include "som/frmSOM.h"

namespace kv {

class frmLVQ : public frmSOM {
    Q_OBJECT
public:
    frmLVQ();

protected:
    void InitModel(const som::AnimalTable& animals, const Params& p) override;
    som::StepReport StepModel(const som::AnimalTable& animals) override;
    void DrawModel(const som::UnitMap& m, const som::AnimalTable& animals) override;
    const som::UnitMap& map() const override { return lvq_; }
    som::UnitMap& map() override { return lvq_; }
    QString StepSizeBoxes() const override;

private:
    som::LvqMap lvq_;
};

}  // namespace kv
