#include "plot/plot_figures.h"

namespace kv {

bool Figure::operator==(const Figure& o) const {
    return SamePoint(a, o.a) && SamePoint(b, o.b) && colour == o.colour && fill == o.fill && label == o.label &&
           width == o.width && kind == o.kind && xorMode == o.xorMode && dotted == o.dotted && filled == o.filled;
}

void FigureList::keep(const Figure& figure) {
    if (!complete_) return;
    if (figure.xorMode) {
        // XOR figures commute with one another, and a figure XORed twice leaves no trace.
        const int last = static_cast<int>(figures_.size()) - 1;
        for (int i = last; i >= 0 && i > last - kXorLookBack && figures_[i].xorMode; --i)
            if (figures_[i] == figure) {
                figures_.erase(figures_.begin() + i);
                return;
            }
    }
    if (figures_.size() + points_.size() >= kMaxFigures) {
        giveUp();
        return;
    }
    figures_.push_back(figure);
}

void FigureList::giveUp() {
    complete_ = false;
    figures_ = {};
    labels_ = {};
    points_ = {};
    pathStarts_ = {};
}

void FigureList::keep(Figure figure, std::span<const QPointF> points) {
    if (!complete_) return;
    if (figures_.size() + points_.size() + points.size() >= kMaxFigures) {
        giveUp();
        return;
    }
    figure.label = static_cast<int>(pathStarts_.size());
    pathStarts_.push_back(points_.size());
    points_.insert(points_.end(), points.begin(), points.end());
    figures_.push_back(figure);
}

void FigureList::keep(Figure figure, const Label& label) {
    if (!complete_) return;
    labels_.push_back(label);
    figure.label = static_cast<int>(labels_.size()) - 1;
    keep(figure);
}

void FigureList::clear() {
    figures_.clear();
    labels_.clear();
    points_.clear();
    pathStarts_.clear();
    complete_ = true;
}

const Label* FigureList::labelOf(const Figure& figure) const {
    if (figure.kind != FigureKind::Text || figure.label < 0 || static_cast<std::size_t>(figure.label) >= labels_.size())
        return nullptr;
    return &labels_[static_cast<std::size_t>(figure.label)];
}

std::span<const QPointF> FigureList::pointsOf(const Figure& figure) const {
    if (figure.kind != FigureKind::Path || figure.label < 0 || static_cast<std::size_t>(figure.label) >= pathStarts_.size())
        return {};
    const auto k = static_cast<std::size_t>(figure.label);
    const std::size_t end = k + 1 < pathStarts_.size() ? pathStarts_[k + 1] : points_.size();
    return std::span<const QPointF>(points_).subspan(pathStarts_[k], end - pathStarts_[k]);
}

}  // namespace kv
