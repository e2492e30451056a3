#pragma once

class QApplication;

namespace Theme {
// Fusion with the program's palette and style sheet, for every window and dialog.
void apply(QApplication &app);
} // namespace Theme
