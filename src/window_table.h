// Every window kind of the program with the function that builds it: the one place that
// knows every window.
#pragma once

#include <vector>

#include "kit/registry.h"

namespace kv {

const std::vector<WindowKind>& AllWindows();

}  // namespace kv
