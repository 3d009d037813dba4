// Every message of the program goes through here: a modal box titled "Korvalen".
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace kv {

enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgAnswer { Ok, Cancel, Yes, No };

inline const QString kAppTitle = QStringLiteral("Korvalen");

// Shows the text with the given buttons, blocks every window until answered, and returns
// the button chosen (closing the box counts as Cancel or No).
MsgAnswer MsgBox(QWidget* parent, const QString& text, MsgButtons buttons = MsgButtons::Ok);

// Replaces the box while set (tests answer and record messages this way); an empty
// function restores the real box.
using MsgBoxHook = std::function<MsgAnswer(const QString& text, MsgButtons buttons)>;
void SetMsgBoxHook(MsgBoxHook hook);

}  // namespace kv
