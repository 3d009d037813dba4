// The figures kept for drawing a plot anew at another pixel ratio.
#include <gtest/gtest.h>

#include <QFont>

#include <cstdlib>
#include <vector>

#include "plot/plot_figures.h"

using kv::Figure;
using kv::FigureList;

namespace {

// Figures named by a number: a vertical segment at x = |n|, in XOR mode when n < 0.
Figure Numbered(int n) { return {.a = {double(std::abs(n)), 0}, .b = {double(std::abs(n)), 10}, .xorMode = n < 0}; }

std::vector<int> Kept(const std::vector<int>& drawn) {
    FigureList list;
    for (int n : drawn) list.keep(Numbered(n));
    std::vector<int> kept;
    for (const Figure& f : list.figures()) kept.push_back(f.xorMode ? -int(f.a.x()) : int(f.a.x()));
    return kept;
}

}  // namespace

TEST(FigureListTest, AnXorFigureDrawnAgainRemovesItsTwinAcrossXorFiguresOnly) {
    struct Case {
        const char* what;
        std::vector<int> drawn, kept;
    };
    const Case cases[] = {
        {"xor twice", {1, -2, -2}, {1}},
        {"copy twice", {2, 2}, {2, 2}},
        {"across xor figures", {-1, -2, -3, -1}, {-2, -3}},
        {"across a copy figure", {-1, 2, -1}, {-1, 2, -1}},
        {"seven between", {-1, -2, -3, -4, -5, -6, -7, -8, -1}, {-2, -3, -4, -5, -6, -7, -8}},
        {"eight between", {-1, -2, -3, -4, -5, -6, -7, -8, -9, -1}, {-1, -2, -3, -4, -5, -6, -7, -8, -9, -1}},
    };
    for (const Case& c : cases) EXPECT_EQ(Kept(c.drawn), c.kept) << c.what;
}

TEST(FigureListTest, PastTheBoundItGivesUpUntilCleared) {
    FigureList list;
    Figure text = Numbered(1);
    text.kind = kv::FigureKind::Text;
    list.keep(text, kv::Label{QStringLiteral("a"), QFont(), 1});
    ASSERT_NE(list.labelOf(list.figures().back()), nullptr);
    EXPECT_EQ(list.labelOf(list.figures().back())->text, QStringLiteral("a"));
    EXPECT_EQ(list.labelOf(Numbered(1)), nullptr);
    while (list.figures().size() < FigureList::kMaxFigures) list.keep(Numbered(2));
    EXPECT_TRUE(list.complete());
    list.keep(Numbered(3));
    EXPECT_FALSE(list.complete());
    EXPECT_TRUE(list.figures().empty());
    list.keep(text, kv::Label{});
    EXPECT_TRUE(list.figures().empty());
    list.clear();
    list.keep(Numbered(4));
    EXPECT_TRUE(list.complete());
    EXPECT_EQ(list.figures().size(), 1u);
}
