#include "kit/plot_frame.h"

#include <QLineEdit>

#include <algorithm>
#include <cmath>
#include <limits>

#include "plot/PlotSurface.h"
#include "plot/input.h"
#include "plot/numtext.h"

namespace kv {

double TickSpacing(double max) {
    double s = 1;
    while (s < max) s *= 10;
    return s / 10;
}

// Int of the quotients, as the frame has always placed its labels.
int XLabelDigits(double x) { return static_cast<int>(std::floor(std::log(x) / std::log(10.0) + 1)); }

int YLabelDigits(double sy) { return static_cast<int>(std::floor(std::log(sy) / std::log(10.0) + 1.0001)); }

std::string YLabel(double y, int dy) {
    const std::string padded = "     " + GeneralText(y);
    const std::size_t keep = static_cast<std::size_t>(std::clamp(dy + 1, 0, static_cast<int>(padded.size())));
    return padded.substr(padded.size() - keep);
}

namespace {
// The user units from the low edge of the scale to the high one: the frame leaves a tenth
// of the maximum below the axis.
double Low(double max) { return -max * 0.1; }
double High(double max) { return max * 1.1; }
}  // namespace

bool PlotsAtFullPrecision(double max) {
    return std::fabs(static_cast<float>(High(max) - Low(max))) >= std::numeric_limits<float>::min();
}

bool DrawAxes(PlotSurface& surface, double maxX, double maxY) {
    const auto usable = [](double max) { return max > 0 && max <= kLargestMaximum && PlotsAtFullPrecision(max); };
    if (!usable(maxX) || !usable(maxY)) return false;
    const double ux = maxX * 0.001, uy = maxY * 0.001;
    const double tx = 10 * ux, ty = 10 * uy;
    if (!SetPlotScale(surface, Low(maxX), High(maxY), High(maxX), Low(maxY))) return false;
    surface.Cls();
    surface.setDrawWidth(1);

    surface.Line(-3 * tx, 0, maxX + 4 * tx, 0, kBlack);
    surface.Line(maxX + tx, ty, maxX + 4 * tx, 0, kBlack);
    surface.Line(maxX + tx, -ty, maxX + 4 * tx, 0, kBlack);
    surface.Line(0, -3 * ty, 0, maxY + 4 * ty, kBlack);
    surface.Line(tx, maxY + ty, 0, maxY + 4 * ty, kBlack);
    surface.Line(-tx, maxY + ty, 0, maxY + 4 * ty, kBlack);

    const double sx = TickSpacing(maxX), sy = TickSpacing(maxY);
    surface.setCurrentX(-3 * tx);
    surface.setCurrentY(-ty);
    surface.Print(std::string("0"));

    // Each tick is the previous one plus the spacing, as the labels have always read.
    for (double x = sx; x <= maxX; x += sx) {
        surface.Line(x, 0, x, maxY, kBlack);
        surface.setCurrentX(x - 2 * XLabelDigits(x) * tx);
        surface.setCurrentY(-ty);
        surface.Print(x);
    }
    const int dy = YLabelDigits(sy);
    for (double y = sy; y <= maxY; y += sy) {
        surface.Line(0, y, maxX, y, kBlack);
        surface.setCurrentX(-2 * (dy + 2) * tx);
        surface.setCurrentY(y + ty);
        surface.Print(YLabel(y, dy));
    }
    return true;
}

std::optional<PlotMaxima> ReadMaxima(QLineEdit* maxX, QLineEdit* maxY, bool report) {
    const Range range{0, kLargestMaximum, false, true};
    const auto read = [&](QLineEdit* box, const QString& name) -> std::optional<double> {
        const auto v = report ? ReadInRange(box, name, range) : PeekVal(box);
        if (!v || !(*v > range.lo && *v <= range.hi)) return std::nullopt;
        if (PlotsAtFullPrecision(*v)) return v;
        if (report) ReportBadBox(box, QStringLiteral("「%1」の欄の値「%2」は小さすぎて表示できません。").arg(name, Quoted(box)));
        return std::nullopt;
    };
    const auto x = read(maxX, QStringLiteral("X"));
    if (!x) return std::nullopt;
    const auto y = read(maxY, QStringLiteral("Y"));
    if (!y) return std::nullopt;
    return PlotMaxima{*x, *y};
}

}  // namespace kv
