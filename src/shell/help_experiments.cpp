#include "shell/help_experiments.h"

namespace kv::help {

const std::vector<Experiment>& Experiments() {
    static const std::vector<Experiment> table = {
    };
    return table;
}

}  // namespace kv::help
