// Every window kind of the program with the function that builds it: the one place that
// knows every window.
#pragma once

#include <vector>

#include "kit/registry.h"

namespace kv {

const std::vector<WindowKind>& AllWindows();

// A window that no menu button opens, and the button of another window that does. Every kind
// but the main menu must be reached through menu buttons and these (a test walks them all).
struct WindowOpener {
    const char* kind;
    const char* by;      // the window holding the button
    const char* button;  // its objectName
};

const std::vector<WindowOpener>& WindowOpeners();

}  // namespace kv
