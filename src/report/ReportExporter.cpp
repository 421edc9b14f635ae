#include "report/ReportExporter.h"

#include "core/ReportFileNames.h"
#include "report/ReportForm.h"
#include "report/ReportLifecycle.h"
#include "report/ReportController.h"
#include "store/Module1.h"
#include "core/ReportPage.h"
#include "ui/UserInterface.h"

#include <QLineEdit>

using namespace Module1;
using namespace xml;

namespace {
const char kConversionFailed[] = "未能进行成功的数据转换";

void tell(QWidget* parent, const QString& text)
{
    ui::current().message(parent, text);
}
} // namespace

bool ReportExporter::WriteReportFiles()
{
    const ReportForm* form = controller.form();
    if (form->projectCodeBox()->text().isEmpty() || form->projectNameBox()->text().isEmpty()) {
        tell(controller.dialogParent(), QStringLiteral("请设置项目编号与名称"));
        return false;
    }
    if (controller.ReportFileName.isEmpty())
        return false;
    // A file that could not be opened again is never written.
    if (!controller.form()->CheckTextLengths())
        return false;

    // Every save starts from the blank template, so the file holds exactly the form.
    controller.ReportDocument = LoadXmlDocument(ProgramFolder + QStringLiteral("report1.tpl"));
    if (!GetLastErrorText().isEmpty()) {
        tell(controller.dialogParent(), QStringLiteral("报表模板文件错误，请重新安装"));
        return false;
    }
    controller.ReportRoot = documentElement(controller.ReportDocument);
    if (!controller.TransferReportFields(true))
        return false;
    if (!SaveXmlDocument(controller.ReportDocument, controller.ReportFileName)) {
        tell(controller.dialogParent(), GetLastErrorText());
        return false;
    }
    controller.SetModified(false);

    controller.HtmlFileName = controller.BuildReportFileName(true);
    const QString stylesheet = ProgramFolder + QStringLiteral("report1.tps");
    // The standard page goes straight into its file: with a long text it is megabytes.
    const ReportPage page = controller.HtmlFileName.isEmpty()
        ? RenderReportPage(controller.ReportDocument, stylesheet)
        : WriteReportPage(controller.ReportDocument, stylesheet, controller.HtmlFileName);
    if (!pageMade(page))
        tell(controller.dialogParent(), QString::fromUtf8(kConversionFailed));
    else if (controller.HtmlFileName.isEmpty())
        // Save As without a unit code: the report is saved but has no standard page name.
        tell(controller.dialogParent(), QStringLiteral("请在选项中设置单位编号"));
    else if (!page.written)
        tellNotWritten(controller.HtmlFileName, page.writeError);
    return true;
}

bool ReportExporter::pageMade(const ReportPage& page)
{
    LastErrorText = page.stylesheetError;
    if (page.failure == ReportPage::Failure::StylesheetUnreadable)
        tell(controller.dialogParent(), QStringLiteral("输出模板文件错误，请重新安装"));
    // A stylesheet that does not compile or stops while running yields no page.
    return page.ok();
}

void ReportExporter::tellNotWritten(const QString& path, const QString& reason)
{
    tell(controller.dialogParent(), QStringLiteral("无法保存指定文件") + path + QStringLiteral("\\n") + reason);
}

void ReportExporter::ExportPage()
{
    if (!ReportFileNames::IsUsableProjectCode(controller.form()->projectCodeBox()->text())) {
        tell(controller.dialogParent(), ReportLifecycle::unsafeProjectCodeText());
        return;
    }
    if (!controller.ChooseSaveFile(true) || controller.HtmlFileName.isEmpty())
        return;
    if (!controller.TransferReportFields(true))
        return;
    const ReportPage page = WriteReportPage(controller.ReportDocument, ProgramFolder + QStringLiteral("report1.tps"),
                                            controller.HtmlFileName);
    if (!pageMade(page))
        tell(controller.dialogParent(), QString::fromUtf8(kConversionFailed));
    else if (!page.written)
        tellNotWritten(controller.HtmlFileName, page.writeError);
}

void ReportExporter::PrintPage()
{
    if (controller.ReportFileName.isEmpty()) {
        tell(controller.dialogParent(), QStringLiteral("请先保存报表再打印"));
        return;
    }
    const QString page = ReportFileNames::PrintPageName(controller.ReportFileName);
    if (page.isEmpty()) {
        tell(controller.dialogParent(), QStringLiteral("未找到相应的HTML文件"));
        return;
    }
    if (QueryFileAttributes(page) < 0) {
        tell(controller.dialogParent(), QStringLiteral("未找到相应的HTML文件") + page);
        return;
    }
    tell(controller.dialogParent(), QStringLiteral("请在打开的浏览器中进行打印,如果不成功,请用浏览器打开") + page + QStringLiteral("进行打印"));
    // Without a browser the clerk still needs the page's path to open it by hand.
    if (!ui::current().openInBrowser(page))
        tell(controller.dialogParent(), QStringLiteral("无法打开浏览器") + page);
}
