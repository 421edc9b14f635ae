#pragma once

#include <QIcon>

// The six pictures of the main window's toolbar, drawn as SVG for 16 x 16 and sharp at
// any scaling: 1 new, 2 open, 3 save, 4 print, 5 options, 6 unit information.
namespace ToolbarIcons {

// A null icon for any other number.
QIcon image(int number);

} // namespace ToolbarIcons
