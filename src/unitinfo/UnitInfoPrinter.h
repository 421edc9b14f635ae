#pragma once

#include <QString>

class QWidget;
struct Settings;

// The main window's "打印单位信息" command: opens the unit information page that the last
// successful Save of the unit information dialog wrote, in the web browser, for printing.
// Neither opens the dialog nor writes anything.
void PrintUnitInfoPage(const Settings& settings, QWidget* owner);

// Where that page is: the unit folder, the unit code and ".htm".
QString UnitInfoPagePath(const Settings& settings);
