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

// Dotted, at width 1: the threshold (theta, 0)-(theta, 1) and the level Y = 1 from 0 to
// `levelTo`.
void DrawThresholdGuides(PlotSurface& surface, double theta, double levelTo);

// The whole plot of the binary neuron: frame, dotted threshold and level, the thick
// step without its vertical riser, labels.
void DrawStepResponse(PlotSurface& surface, double theta);

// The whole plot of the analog neuron: frame, dotted threshold and asymptote, the thick
// sigmoid AnalogOutput(x, theta, alpha) from kXMin in steps of 0.001 up to the first x
// not below kXMax, labels. Leaves DrawWidth 3 and the solid style.
void DrawSigmoidResponse(PlotSurface& surface, double theta, double alpha);

// The time-evolution marker at S: (s, 0)-(s, 1) in cyan with the XOR pen, so that
// drawing it again at the same S erases it. The drawing mode is restored afterwards.
void XorMarker(PlotSurface& surface, double s);

}  // namespace kv::neuron
