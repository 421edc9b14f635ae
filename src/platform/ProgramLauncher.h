#pragma once

#include <QString>

namespace platform {

// Starts another program by its path, in a normal window, without waiting for it.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;

    // False when the program could not be started.
    virtual bool start(const QString& path) = 0;

    // The launcher that really starts processes.
    static ProgramLauncher& system();
};

} // namespace platform
