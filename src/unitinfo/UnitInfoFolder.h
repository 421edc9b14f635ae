#pragma once

#include <QString>

// The folder of the unit information file and page: the local folder, or the program's
// folder when no local folder is set. Ends in the folder separator.
QString UnitInfoFolder();
