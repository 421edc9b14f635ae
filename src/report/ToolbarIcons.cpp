#include "report/ToolbarIcons.h"

#include <array>

namespace ToolbarIcons {

QIcon image(int number)
{
    static constexpr std::array<const char*, 6> kNames = {"new", "open", "save", "print", "options", "unitinfo"};
    if (number < 1 || number > static_cast<int>(kNames.size()))
        return QIcon();
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(kNames[number - 1])));
}

} // namespace ToolbarIcons
