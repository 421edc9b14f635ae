#pragma once

#include <QString>

class QWidget;

namespace platform {

class ProgramLauncher;
class Registry;

// Finds the operating system's system-information tool through the registry and starts it;
// where there is no such tool, says so.
class SystemInfoLauncher {
public:
    SystemInfoLauncher();   // the machine's registry and the real launcher
    SystemInfoLauncher(Registry& registry, ProgramLauncher& launcher);

    // Starts the tool, or shows "此时系统信息不可用" (parented to parent).
    void startSystemInfo(QWidget* parent);

    // Where the registry keeps the tool: its full path, or else its folder.
    static QString toolKey() { return QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"); }
    static QString toolValue() { return QStringLiteral("PATH"); }
    static QString toolLocationKey() { return QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"); }
    static QString toolLocationValue() { return QStringLiteral("MSINFO"); }
    static QString toolFileName() { return QStringLiteral("MSINFO32.EXE"); }

private:
    Registry* registry_;
    ProgramLauncher* launcher_;
};

} // namespace platform
