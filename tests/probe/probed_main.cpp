// The program with the developer's probes, for tests and benchmarks that drive or time the
// real program from outside: the installed program has no such hooks.
#include "FirstWindowProbe.h"
#include "UiScriptProbe.h"
#include "report/ProgramStart.h"

int main(int argc, char* argv[])
{
    return RunProgram(argc, argv, [] {
        FirstWindowProbe::installIfRequested();
        UiScriptProbe::installIfRequested();
    });
}
