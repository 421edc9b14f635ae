#pragma once

class QCoreApplication;

namespace ui {
// Loads Qt's own Simplified Chinese texts (file dialogs, context menus), whatever the
// user's locale: the program speaks Chinese everywhere.
void installChineseTranslation(QCoreApplication& app);
}
