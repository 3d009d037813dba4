// Every window kind of the program with the function that builds it.
#pragma once

#include <vector>

class QWidget;

namespace kv {

struct WindowKind {
    const char* name;
    QWidget* (*create)();
};

const std::vector<WindowKind>& WindowTable();

}  // namespace kv
