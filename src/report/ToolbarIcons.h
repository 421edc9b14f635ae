#pragma once

#include <QIcon>

// The six 16 x 16 pictures of the main window's toolbar, drawn by the program itself:
// 1 new, 2 open, 3 save, 4 print, 5 options, 6 unit information.
namespace ToolbarIcons {

QIcon image(int number);

} // namespace ToolbarIcons
