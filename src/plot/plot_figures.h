// What a plot is made of, in logical pixels: the figures the drawing operations produce,
// and the list of them kept since the last Cls, so that the plot can be drawn anew at
// another pixel ratio rather than stretched.
#pragma once

#include <QFont>
#include <QPointF>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "plot/colors.h"

namespace kv {

// Exactly the same point (QPointF's own comparison allows for rounding).
inline bool SamePoint(const QPointF& a, const QPointF& b) { return a.x() == b.x() && a.y() == b.y(); }

// A path is a run of copy-mode solid segments, each starting where the last one ended,
// kept as the points it passes through: a curve of thousands of segments is one figure.
enum class FigureKind : std::uint8_t { Segment, Box, Circle, Text, Path };

// One figure as the operations drew it, in logical pixels and with its pen: enough to
// draw it again at any ratio.
struct Figure {
    QPointF a, b;  // segment: its ends; box: two corners; circle: centre and (radius, 0); text: corner and size
    Rgb colour{};
    Rgb fill{};
    int label = -1;  // text: its label's index in the list that keeps it; path: its points' index
    std::uint16_t width = 1;
    FigureKind kind = FigureKind::Segment;
    bool xorMode = false;
    bool dotted = false;
    bool filled = false;
    bool operator==(const Figure& o) const;
};

// A text figure's words and the font they are set in. The version, counted from 1 and
// changed with the font, spares a painter that has set this font already setting it again.
struct Label {
    QString text;
    QFont font;
    int fontVersion = 0;
};

// The figures since the last clear, in the order drawn.
class FigureList {
public:
    // Enough for every figure of any demonstration between two Cls; a pathological run of
    // hundreds of thousands gives up keeping them rather than grow without end.
    static constexpr std::size_t kMaxFigures = std::size_t{1} << 18;
    // An XOR figure drawn again removes its kept twin when only XOR figures, fewer than
    // this many, lie between them.
    static constexpr int kXorLookBack = 8;

    void keep(const Figure& figure);
    // A text figure, which keeps its label beside it.
    void keep(Figure figure, const Label& label);
    // A path, which keeps its points beside it; each point counts as a figure towards the bound.
    void keep(Figure figure, std::span<const QPointF> points);
    void clear();

    // False once the list has given up: the figures since the last clear are then lost.
    bool complete() const { return complete_; }
    const std::vector<Figure>& figures() const { return figures_; }
    // The label of a text figure of this list; null for any other figure.
    const Label* labelOf(const Figure& figure) const;
    // The points of a path of this list; none for any other figure.
    std::span<const QPointF> pointsOf(const Figure& figure) const;

private:
    void giveUp();

    std::vector<Figure> figures_;
    std::vector<Label> labels_;
    // The points of every path, one after another, and where each path's begin.
    std::vector<QPointF> points_;
    std::vector<std::size_t> pathStarts_;
    bool complete_ = true;
};

}  // namespace kv
