#pragma once

#include "platform/ProgramLauncher.h"

namespace platform {

// Starts the program as a detached process.
class ProcessLauncher : public ProgramLauncher {
public:
    bool start(const QString& path) override;
};

} // namespace platform
