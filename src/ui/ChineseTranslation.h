#pragma once

class QCoreApplication;

namespace ui {
// Chinese numbers, dates and names of days whatever the user's locale: the program
// speaks Chinese everywhere.
void useChineseLocale();
// The same, with Qt's own Simplified Chinese texts (file dialogs, context menus) loaded.
void installChineseTranslation(QCoreApplication& app);
}
