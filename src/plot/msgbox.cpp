#include "plot/msgbox.h"

#include <QMessageBox>

namespace kv {
namespace {

MsgBoxHook& Hook() {
    static MsgBoxHook hook;
    return hook;
}

}  // namespace

void SetMsgBoxHook(MsgBoxHook hook) { Hook() = std::move(hook); }

MsgAnswer MsgBox(QWidget* parent, const QString& text, MsgButtons buttons) {
    if (Hook()) return Hook()(text, buttons);
    QMessageBox box(parent);
    box.setWindowTitle(kAppTitle);
    box.setText(text);
    box.setWindowModality(Qt::ApplicationModal);
    switch (buttons) {
        case MsgButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MsgButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        case MsgButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setEscapeButton(QMessageBox::No);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Ok: return MsgAnswer::Ok;
        case QMessageBox::Yes: return MsgAnswer::Yes;
        case QMessageBox::No: return MsgAnswer::No;
        default: return buttons == MsgButtons::Ok ? MsgAnswer::Ok : buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Cancel;
    }
}

}  // namespace kv
