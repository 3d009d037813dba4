// The five still state-graph pictures of the Markov menu.
#pragma once

#include "kit/state_graph.h"

namespace kv {

// `which` 1..5: the graphs beside Command2, Command4, Command5, Command3, Command6.
const StateGraph& MarkovMenuGraph(int which);

}  // namespace kv
