#pragma once

#include <QString>

// The folder of the unit information file and page: the local folder, or the default
// one when no local folder is set (Module1::LocalFolderOrDefault). Ends in the separator.
QString UnitInfoFolder();
