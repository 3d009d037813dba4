// The response plot shared by the neuron windows: Y against S from -2 to 2.
#pragma once

namespace kv {
class PlotSurface;
}

namespace kv::neuron {

inline constexpr double kXMin = -2.0;
inline constexpr double kXMax = 2.0;

// Scale, Cls and both axes with their arrowheads; leaves DrawWidth 1.
void DrawResponseFrame(PlotSurface& surface);

// The labels "1", "0", theta (unless it is 0), "S" and "Y".
void DrawResponseLabels(PlotSurface& surface, double theta);

// The whole plot of the binary neuron: frame, dotted threshold and level, the thick
// step without its vertical riser, labels.
void DrawStepResponse(PlotSurface& surface, double theta);

}  // namespace kv::neuron
