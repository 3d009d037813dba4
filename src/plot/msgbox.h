// Every message of the program goes through here: a modal box titled "Korvalen".
#pragma once

#include <QObject>
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

// Whether a message box of the program is open (one that the test hook is answering counts).
bool MsgBoxOpen();

// Tells when the first message box opens and when the last open one closes: automatic runs
// hold their ticks in between, so that no run moves under a box or opens a second one.
class MsgBoxWatch : public QObject {
    Q_OBJECT
signals:
    void firstOpened();
    void lastClosed();
};
MsgBoxWatch& MsgBoxes();

// Replaces the box while set (tests answer and record messages this way); an empty
// function restores the real box.
using MsgBoxHook = std::function<MsgAnswer(const QString& text, MsgButtons buttons)>;
void SetMsgBoxHook(MsgBoxHook hook);

}  // namespace kv
