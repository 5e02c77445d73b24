#pragma once

#include <QString>

#include <memory>

class QAbstractButton;
class QMessageBox;

namespace ui {

// The real message box of a style, built but not shown: Spanish buttons in
// the style's order, its icon, its default and escape buttons, and the title
// (the program's own when null). Each button carries its answer (1-7).
std::unique_ptr<QMessageBox> CreateMessageBox(const QString &prompt, int style, const QString &title);

// The answer of a clicked button of such a box; a box closed without a click
// answers as its escape button, or the safe way out when it has none.
int MessageBoxAnswer(const QMessageBox &box, const QAbstractButton *clicked);

} // namespace ui
