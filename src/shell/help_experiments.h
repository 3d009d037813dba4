// The experiments the help pages suggest (試してみよう), as data: what to type, what to press
// and what the learner then sees. The pages take their sentences from this table and a test
// runs every row through the window's own controls and handlers, so a page can never promise
// what the program does not do.
#pragma once

#include <vector>

namespace kv::help {

// A value typed into a box, or "1"/"0" for a check box or an option button.
struct Setting {
    const char* control;
    const char* value;
};

// A handler slot pressed `times` times: "Command3_Click", or "txtIn1_Click(0)" for a member
// of a control array.
struct Press {
    const char* slot;
    int times;
};

// What the learner reads afterwards in a control: exactly `text` when given, otherwise a
// number between `lo` and `hi`. With `share`, the share of the last press's repetitions
// after which the control shows `text` lies between `lo` and `hi`.
struct Check {
    const char* control;
    double lo = 0, hi = 0;
    const char* text = nullptr;
    bool share = false;
};

struct Experiment {
    const char* window;
    // The sentence, with {name} for the value set into control `name` or the times slot
    // `name` is pressed, {=name}, {<name}, {>name} for the text, lower and upper bound the
    // check of `name` expects, and {msg} for the message.
    const char* text;
    std::vector<Setting> set;
    std::vector<Press> press;
    std::vector<Check> expect;
    // The last message box shown ("" when none may be shown, null when it does not matter).
    const char* message = nullptr;
    // A random model: the claim must hold from any start of the random sequence (the test
    // runs three); its bound is one a correct program breaks with a chance below 1e-6.
    bool random = false;
};

const std::vector<Experiment>& Experiments();

}  // namespace kv::help
