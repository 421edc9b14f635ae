#include "unitinfo/UnitInfoPrinter.h"

#include "core/ReportFileNames.h"
#include "store/Module1.h"
#include "ui/UserInterface.h"
#include "unitinfo/UnitInfoFolder.h"

QString UnitInfoPagePath()
{
    return ReportFileNames::UnitInfoFileName(Module1::UnitCode, UnitInfoFolder(), true);
}

void PrintUnitInfoPage(QWidget* owner)
{
    const QString page = UnitInfoPagePath();
    if (Module1::QueryFileAttributes(page) < 0) {
        ui::current().message(owner, QStringLiteral("未找到相应的HTML文件") + page);
        return;
    }
    ui::current().message(owner, QStringLiteral("请在打开的浏览器中进行打印,如果不成功,请用浏览器打开") + page
                                     + QStringLiteral("进行打印"));
    ui::current().openInBrowser(page);
}
