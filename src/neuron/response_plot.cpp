#include "neuron/response_plot.h"

#include "core/kernels.h"
#include "neuron/neuron_model.h"
#include "plot/PlotSurface.h"
#include "plot/numtext.h"

namespace kv::neuron {

void DrawResponseFrame(PlotSurface& s) {
    SetPlotScale(s, kXMin - 0.2, 2.2, kXMax + 0.2, -0.5);
    s.Cls();
    s.setDrawWidth(1);
    s.Line(kXMin, 0, kXMax, 0, kBlack);
    s.Line(kXMax, 0, kXMax - 0.1, 0.05, kBlack);
    s.Line(kXMax, 0, kXMax - 0.1, -0.05, kBlack);
    s.Line(0, 0, 0, 2, kBlack);
    s.Line(0, 2, -0.05, 1.9, kBlack);
    s.Line(0, 2, 0.05, 1.9, kBlack);
}

void DrawResponseLabels(PlotSurface& s, double theta) {
    auto print = [&s](double x, double y, const std::string& text) {
        s.setCurrentX(x);
        s.setCurrentY(y);
        s.Print(text);
    };
    print(-0.2, 1.1, "1");
    print(-0.05, -0.1, "0");
    if (theta != 0) {
        // Centred under the threshold line by the length of its text.
        const auto chars = static_cast<double>(GeneralText(theta).size());
        if (s.setCurrentX(theta - 0.05 * chars) && s.setCurrentY(-0.1)) s.Print(theta);
    }
    print(kXMax, -0.1, "S");
    print(-0.2, 2, "Y");
}

void DrawThresholdGuides(PlotSurface& s, double theta, double levelTo) {
    s.setDrawWidth(1);
    s.setDrawStyle(DrawStyle::Dot);
    s.Line(theta, 0, theta, 1, kBlack);
    s.Line(0, 1, levelTo, 1, kBlack);
}

void DrawStepResponse(PlotSurface& s, double theta) {
    DrawResponseFrame(s);
    DrawThresholdGuides(s, theta, theta);
    s.setDrawWidth(3);
    s.setDrawStyle(DrawStyle::Solid);
    s.Line(kXMin, 0, theta, 0, kBlack);
    s.Line(theta, 1, kXMax, 1, kBlack);
    DrawResponseLabels(s, theta);
}

void DrawSigmoidResponse(PlotSurface& s, double theta, double alpha) {
    DrawResponseFrame(s);
    DrawThresholdGuides(s, theta, kXMax);
    s.setDrawWidth(3);
    s.setDrawStyle(DrawStyle::Solid);
    CleanVectorState();  // the frame has just been drawn: 4001 exponentials follow
    double x = kXMin;
    double y = AnalogOutput(x, theta, alpha);
    s.Line(x, y, x, y, kBlack);  // one dot, which also sets the start of the polyline
    while (x < kXMax) {
        x = x + 0.001;
        s.LineTo(x, AnalogOutput(x, theta, alpha), kBlack);
    }
    DrawResponseLabels(s, theta);
}

void XorMarker(PlotSurface& s, double at) {
    const DrawMode saved = s.drawMode();
    s.setDrawMode(DrawMode::Xor);
    s.Line(at, 0, at, 1, kCyan);
    s.setDrawMode(saved);
}

}  // namespace kv::neuron
