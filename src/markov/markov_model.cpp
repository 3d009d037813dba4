#include "markov/markov_model.h"

#include <cmath>
#include <stdexcept>

#include "core/kernels.h"

namespace kv::markov {

MarkovChain::MarkovChain(int nodes, double tolerance) : nodes_(nodes), tolerance_(tolerance) {
    if (nodes < 1) throw std::invalid_argument("a chain needs a node");
}

void MarkovChain::SetArcs(std::span<const ArcEnd> arcs) {
    if (arcs.size() > static_cast<std::size_t>(kMaxArcs)) throw std::invalid_argument("too many arcs");
    for (const ArcEnd& a : arcs)
        if (a.source < 0 || a.source >= nodes_ || a.destination < 0 || a.destination >= nodes_)
            throw std::invalid_argument("an arc end that is not a node");
    arcEnds_.assign(arcs.begin(), arcs.end());
}

std::optional<Transition> MarkovChain::TransitionStep(std::span<const double> nodeValues,
                                                      std::span<const double> probabilities) const {
    if (nodeValues.size() < static_cast<std::size_t>(nodes_) || probabilities.size() < arcEnds_.size())
        throw std::invalid_argument("a value for every node and arc");
    const auto n = static_cast<std::size_t>(nodes_);
    std::vector<double> NodeValue(nodeValues.begin(), nodeValues.begin() + static_cast<long>(n));
    const std::vector<double> OldValue = NodeValue;
    std::vector<double> Inflow(n, 0.0);

    for (std::size_t a = 0; a < arcEnds_.size(); ++a) {
        const ArcEnd& e = arcEnds_[a];
        const auto d = static_cast<std::size_t>(e.destination);
        Inflow.at(d) = probabilities[a] * NodeValue.at(static_cast<std::size_t>(e.source)) + Inflow.at(d);
    }
    for (std::size_t a = 0; a < arcEnds_.size(); ++a) {
        const auto s = static_cast<std::size_t>(arcEnds_[a].source);
        NodeValue.at(s) = NodeValue.at(s) - probabilities[a] * OldValue.at(s);
    }

    Transition t;
    t.NewValue.resize(n);
    t.Settled = true;
    for (std::size_t i = 0; i < n; ++i) {
        t.NewValue[i] = NodeValue[i] + Inflow[i];
        if (std::fabs(t.NewValue[i] - OldValue[i]) > tolerance_) t.Settled = false;
    }
    if (!AllFinite(t.NewValue)) return std::nullopt;
    return t;
}

}  // namespace kv::markov
