#include "som/frmLVQ.h"

#include "plot/PlotSurface.h"

namespace kv {

// One more unit at the left than the map window, for the row headings.
frmLVQ::frmLVQ()
    : frmSOM(Variant{"frmLVQ", QStringLiteral("LVQ(学習ベクトル量子化)アルゴリズムによる分類学習"), false, -2,
                     QStringLiteral("16×16 のユニットを哺乳類と鳥類、肉食と雑食と草食で分けた 6 つの領域に塗り分け、"
                                    "各動物が勝ったユニットに青い点と動物名を描きます。")}) {}

void frmLVQ::InitModel(const som::AnimalTable&, const Params& p) { lvq_.MapInit(p.alfa0, p.loop); }

som::StepReport frmLVQ::StepModel(const som::AnimalTable& animals) { return Followed(lvq_.MapStep(animals)); }

QString frmLVQ::StepSizeBoxes() const { return QStringLiteral("「α0」"); }

void frmLVQ::DrawModel(const som::UnitMap& m, const som::AnimalTable& animals) {
    for (const som::Region& r : som::kRegions) Picture1->FilledBox(r.left, r.top, r.right, r.bottom, r.colour);
    DrawAnimals(m, animals);
    Picture1->Line(8, 0, 8, 16, kBlue);
    Picture1->Line(0, 5, 16, 5, kBlue);
    Picture1->Line(0, 10, 16, 10, kBlue);
    struct Heading {
        const char* text;
        double x, y;
    };
    static constexpr Heading kHeadings[] = {
        {"哺乳類", 3, -0.7}, {"鳥類", 12, -0.7}, {"肉食", -1.2, 2}, {"雑食", -1.2, 7}, {"草食", -1.2, 12},
    };
    Picture1->setFontSize(8);
    for (const Heading& h : kHeadings) {
        Picture1->setCurrentX(h.x);
        Picture1->setCurrentY(h.y);
        Picture1->Print(h.text);
    }
    Picture1->Box(0, 0, 16, 16, kNavy);
}

}  // namespace kv
