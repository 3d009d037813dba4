// Application-wide set-up shared by the program, the tests and the screenshot tool.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QApplication;
class QIcon;

namespace kv {

// The program's icon (a neuron), at the usual sizes; every window carries it.
QIcon ProgramIcon();

// Style (with a focus ring that shows from the start), palette, a font with Japanese
// glyphs, Qt's own texts (standard buttons, the text boxes' context menu) in Japanese
// whatever the system locale, and Return or Enter pressing the focused button, the same
// wherever the program runs.
void SetUpApplication(QApplication& app);

// While on, a display that cannot be opened while the QApplication is made (DISPLAY unset
// or dead, no usable platform plugin) ends the program in plain words on the terminal with
// exit status 2, instead of Qt's abort. Turned on just before the QApplication is made and
// off right after it, so every other fatal message keeps Qt's handling.
void ExplainDisplayFailure(bool on);

// The terminal's explanation for a display that could not be opened, naming the DISPLAY
// and QT_QPA_PLATFORM it was tried with, and how to start the program again: through the
// set-up script when it was started from the source tree (the script sets
// KORVALEN_FROM_SOURCE), as the installed command otherwise.
QString DisplayFailureText(const QString& display, const QString& platform, bool fromSourceTree);

// What the learner is told when no installed font writes Japanese, given the families that
// do; nothing when there is one.
std::optional<QString> NoJapaneseFontNotice(const QStringList& japaneseFamilies);

// Says so once, on the terminal and in a message box, when no installed font writes
// Japanese (every caption would be empty boxes). Returns whether it had to.
bool WarnIfNoJapaneseFont();

}  // namespace kv
