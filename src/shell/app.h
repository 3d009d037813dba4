// Application-wide set-up shared by the program and the screenshot tool.
#pragma once

class QApplication;

namespace kv {

// Style, palette and a font with Japanese glyphs, the same wherever the program runs.
void SetUpApplication(QApplication& app);

}  // namespace kv
