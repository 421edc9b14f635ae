#pragma once

#include <functional>

// The program from its arguments to the end of its event loop: --version and --help on the
// console, otherwise the application, the settings, the main window and a report named on
// the command line. beforeWindow runs once the application exists, before any window (a
// test build hooks in there; the program passes nothing).
int RunProgram(int argc, char* argv[], const std::function<void()>& beforeWindow = {});
