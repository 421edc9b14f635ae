#include "platform/SystemInfoLauncher.h"

#include "core/XmlDocumentAccess.h"
#include "platform/ProgramLauncher.h"
#include "platform/Registry.h"
#include "ui/UserInterface.h"

#include <QFileInfo>

namespace platform {


SystemInfoLauncher::SystemInfoLauncher()
    : SystemInfoLauncher(Registry::system(), ProgramLauncher::system())
{
}

SystemInfoLauncher::SystemInfoLauncher(Registry& registry, ProgramLauncher& launcher)
    : registry_(&registry)
    , launcher_(&launcher)
{
}

void SystemInfoLauncher::startSystemInfo(QWidget* parent)
{
    QString path;
    bool started = false;
    if (registry_->GetKeyValue(RegistryRoot::LocalMachine, toolKey(), toolValue(), path)) {
        // The full path is trusted as it stands; starting it is the test.
        started = launcher_->start(path);
    } else if (registry_->GetKeyValue(RegistryRoot::LocalMachine, toolLocationKey(), toolLocationValue(), path)) {
        const QString tool = path + xml::folderSeparator() + toolFileName();
        if (QFileInfo(tool).isFile())
            started = launcher_->start(tool);
    }
    if (!started)
        ui::current().message(parent, QStringLiteral("此时系统信息不可用"));
}

} // namespace platform
