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

// The small windows that are no kind of the table: each belongs to the window holding the
// button that opens it, is found as that window's child by its name, and closes with it
// (the learning curves). Declared as openers are, and walked with them by the menu tests.
const std::vector<WindowOpener>& CompanionOpeners();

}  // namespace kv
