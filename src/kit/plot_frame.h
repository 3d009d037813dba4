// The plot frame of the gradient and linear-system windows: the scale from the two display
// maxima, both axes with arrowheads, the grid and the tick labels.
#pragma once

#include <optional>
#include <string>

class QLineEdit;

namespace kv {

class PlotSurface;

// Tick spacing for a display maximum: the largest power of ten below it (1 for 3 and 10,
// 10 for 11, 0.1 for anything up to 1).
double TickSpacing(double max);

// The x label of tick x, printed as a number, and how many tick sizes (tx) it starts left
// of the tick: 2 d, with d the count of integer digits as the logarithm gives it (1000
// gives 3, the quotient falling just short).
int XLabelDigits(double x);
// The y labels: the general text right-aligned in dy + 1 characters, dy from the spacing
// (sy = 1000 gives 4, lifted over the whole number).
int YLabelDigits(double sy);
std::string YLabel(double y, int dy);

// Draws the frame for the maxima and leaves DrawWidth 1; false, with nothing drawn and
// the scale unchanged, when a maximum is not a positive number up to kLargestMaximum that
// plots at full precision.
bool DrawAxes(PlotSurface& surface, double maxX, double maxY);

struct PlotMaxima {
    double x = 0, y = 0;
};
// The largest display maximum a plot takes: the frame's margins must stay within single
// precision.
inline constexpr double kLargestMaximum = 1e30;
// Whether a positive maximum is large enough for the frame's scale, 1.2 times it, to be a
// normal single. Below that a single holds positions on the plot ever more coarsely, and
// at last the scale is 0, which the surface refuses.
bool PlotsAtFullPrecision(double max);
// The display maxima in their boxes. A box that is not a positive number up to
// kLargestMaximum, or is too small to plot at full precision, gives nothing: with
// `report`, the learner is told which box ("X" or "Y") and why; without it (a redraw
// while the learner types), silently.
std::optional<PlotMaxima> ReadMaxima(QLineEdit* maxX, QLineEdit* maxY, bool report);

}  // namespace kv
