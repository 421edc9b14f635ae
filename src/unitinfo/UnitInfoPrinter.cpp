#include "unitinfo/UnitInfoPrinter.h"

#include "core/ReportFileNames.h"
#include "store/Settings.h"
#include "ui/UserInterface.h"

QString UnitInfoPagePath(const Settings& settings)
{
    return ReportFileNames::UnitInfoFileName(settings.unitCode, settings.localFolderOrDefault(), true);
}

void PrintUnitInfoPage(const Settings& settings, QWidget* owner)
{
    const QString page = UnitInfoPagePath(settings);
    if (QueryFileAttributes(page) < 0) {
        ui::current().message(owner, QStringLiteral("未找到相应的HTML文件") + page);
        return;
    }
    ui::current().message(owner, QStringLiteral("请在打开的浏览器中进行打印,如果不成功,请用浏览器打开") + page
                                     + QStringLiteral("进行打印"));
    // Without a browser the clerk still needs the page's path to open it by hand.
    if (!ui::current().openInBrowser(page))
        ui::current().message(owner, QStringLiteral("无法打开浏览器") + page);
}
