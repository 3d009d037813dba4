// A Markov chain in its expected-value form: every step moves the share p of each node's
// value along each of its arcs of probability p, deterministically, and tells whether the
// distribution has stopped moving. The probabilities leaving a node need not sum to 1:
// what no arc carries away stays on the node (a sum over 1 drives the node negative).
#pragma once

#include <optional>
#include <span>
#include <vector>

namespace kv::markov {

// One arc of the chain: its source and destination nodes.
struct ArcEnd {
    int source = 0;
    int destination = 0;
};

// What one step gave.
struct Transition {
    std::vector<double> NewValue;  // the node values after the step, in node order
    bool Settled = false;          // no node moved by more than the tolerance
};

class MarkovChain {
public:
    // Room in the arc table; a chain uses as many arcs as its window has arc boxes.
    static constexpr int kMaxArcs = 9;

    // `nodes` node values; `tolerance` how far a node may move in a step that still
    // counts as settled (0: not at all).
    MarkovChain(int nodes, double tolerance);

    // Fills the arc table. More than kMaxArcs arcs, or an end that is not a node, is a
    // mistake in the program: std::invalid_argument.
    void SetArcs(std::span<const ArcEnd> arcs);

    int Nodes() const { return nodes_; }
    int Arcs() const { return static_cast<int>(arcEnds_.size()); }
    const ArcEnd& ArcEnds(int a) const { return arcEnds_.at(static_cast<std::size_t>(a)); }
    double Tolerance() const { return tolerance_; }

    // One step from the node values and arc probabilities as they stand (one of each per
    // node and per arc; fewer is a mistake: std::invalid_argument). Inflows are gathered
    // over the arcs in index order, then outflows are taken, then the two are joined, so
    // that every step keeps the total of the node values. Nothing when a new value is not
    // a finite double (the products overflowed): the caller keeps the old values.
    std::optional<Transition> TransitionStep(std::span<const double> nodeValues,
                                             std::span<const double> probabilities) const;

private:
    int nodes_;
    double tolerance_;
    std::vector<ArcEnd> arcEnds_;
};

}  // namespace kv::markov
