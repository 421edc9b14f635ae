#pragma once

#include <QString>

class QPlainTextEdit;

// The value of a multi-line box. QPlainTextEdit hands back its text with a no-break space
// turned into a plain one and line and paragraph separators into line breaks, so a box
// keeps the value it was given until the user edits it; an edited box gives every
// character typed or pasted (a paragraph break is a line break).
namespace ui {

void showPlainText(QPlainTextEdit* box, const QString& value);
QString plainTextValue(const QPlainTextEdit* box);

} // namespace ui
