#include "platform/ProcessLauncher.h"

#include <QProcess>

namespace platform {

ProgramLauncher& ProgramLauncher::system()
{
    static ProcessLauncher launcher;
    return launcher;
}

bool ProcessLauncher::start(const QString& path)
{
    if (path.isEmpty())
        return false;
    return QProcess::startDetached(path, {});
}

} // namespace platform
