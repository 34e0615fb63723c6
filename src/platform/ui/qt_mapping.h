#pragma once
// How the classic message box and file dialog settings map onto Qt's, kept apart from the
// dialogs themselves so the mapping can be checked without showing anything.
#include "ui.h"

#include <QMessageBox>
#include <QString>

namespace ui::qt {

QMessageBox::StandardButton standardButtonFor(int answer);
int answerFor(QMessageBox::StandardButton button);  // 0 for a button with no classic code
QMessageBox::Icon iconFor(Icon icon);

// A classic filter ("*.jpg;*.bmp", or "Pictures|*.jpg;*.bmp|All files|*.*") as Qt name filters.
QString nameFilters(const QString& filter);

// Whether an initial file name is only a pattern ("*.qdb"): such a name narrows the list but is
// not put into the name box.
bool isPattern(const QString& name);

} // namespace ui::qt
