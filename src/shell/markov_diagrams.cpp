#include "shell/markov_diagrams.h"

#include <algorithm>
#include <vector>

namespace kv {

const StateGraph& MarkovMenuGraph(int which) {
    static const std::vector<StateGraph> graphs = {
        // three states in one directed cycle
        {{{0.5, 0.2}, {0.8, 0.75}, {0.2, 0.75}}, {{0, 1, 0.15}, {1, 2, 0.15}, {2, 0, 0.15}}},
        // a cycle of three and a cycle of two sharing one state
        {{{0.55, 0.5}, {0.18, 0.18}, {0.18, 0.82}, {0.88, 0.5}},
         {{0, 1, 0.12}, {1, 2, 0.12}, {2, 0, 0.12}, {0, 3, 0.25}, {3, 0, 0.25}}},
        // a cycle of four and a cycle of three sharing the transition 0 -> 1
        {{{0.5, 0.15}, {0.5, 0.85}, {0.14, 0.85}, {0.14, 0.15}, {0.87, 0.5}},
         {{0, 1, 0.0}, {1, 2, 0.12}, {2, 3, 0.12}, {3, 0, 0.12}, {1, 4, 0.12}, {4, 0, 0.12}}},
        // an upper and a lower state linked both ways, each leading left and right
        {{{0.5, 0.15}, {0.5, 0.85}, {0.17, 0.5}, {0.83, 0.5}},
         {{0, 1, 0.15}, {1, 0, 0.15}, {0, 2, 0.1}, {0, 3, -0.1}, {1, 2, -0.1}, {1, 3, 0.1}, {2, 2, 0, 180}, {3, 3, 0, 0}}},
        // a cycle of four and a cycle of two sharing one state
        {{{0.6, 0.5}, {0.35, 0.15}, {0.1, 0.5}, {0.35, 0.85}, {0.9, 0.5}},
         {{0, 1, 0.12}, {1, 2, 0.12}, {2, 3, 0.12}, {3, 0, 0.12}, {0, 4, 0.25}, {4, 0, 0.25}}},
    };
    return graphs[static_cast<std::size_t>(std::clamp(which, 1, 5) - 1)];
}

}  // namespace kv
