#include "report/ReportExporter.h"

#include "core/ReportFileNames.h"
#include "report/ReportForm.h"
#include "report/ReportLifecycle.h"
#include "report/frmMain.h"
#include "core/AtomicFileWriter.h"
#include "store/Module1.h"
#include "core/ReportPage.h"
#include "ui/UserInterface.h"

#include <QLineEdit>

using namespace Module1;

namespace {
const char kConversionFailed[] = "未能进行成功的数据转换";

void tell(QWidget* parent, const QString& text)
{
    ui::current().message(parent, text);
}
} // namespace

bool ReportExporter::WriteReportFiles()
{
    const ReportForm* form = w.form();
    if (form->projectCodeBox()->text().isEmpty() || form->projectNameBox()->text().isEmpty()) {
        tell(&w, QStringLiteral("请设置项目编号与名称"));
        return false;
    }
    if (w.ReportFileName.isEmpty())
        return false;

    // Every save starts from the blank template, so the file holds exactly the form.
    w.ReportDocument = LoadXmlDocument(ProgramFolder + QStringLiteral("report1.tpl"));
    if (!GetLastErrorText().isEmpty()) {
        tell(&w, QStringLiteral("报表模板文件错误，请重新安装"));
        return false;
    }
    w.ReportRoot = documentElement(w.ReportDocument);
    if (!w.TransferReportFields(true))
        return false;
    if (!SaveXmlDocument(w.ReportDocument, w.ReportFileName)) {
        tell(&w, GetLastErrorText());
        return false;
    }
    w.SetModified(false);

    const QByteArray html = RenderReportHtml();
    w.HtmlFileName = w.BuildReportFileName(true);
    if (html.isEmpty())
        tell(&w, QString::fromUtf8(kConversionFailed));
    else if (w.HtmlFileName.isEmpty())
        // Save As without a unit code: the report is saved but has no standard page name.
        tell(&w, QStringLiteral("请在选项中设置单位编号"));
    else
        WritePage(w.HtmlFileName, html);
    return true;
}

QByteArray ReportExporter::RenderReportHtml()
{
    const ReportPage page = RenderReportPage(w.ReportDocument, ProgramFolder + QStringLiteral("report1.tps"));
    LastErrorText = page.stylesheetError;
    if (page.failure == ReportPage::Failure::StylesheetUnreadable)
        tell(&w, QStringLiteral("输出模板文件错误，请重新安装"));
    // A stylesheet that does not compile or stops while running yields no page.
    return page.ok() ? page.html : QByteArray();
}

void ReportExporter::WritePage(const QString& path, const QByteArray& html)
{
    QString reason;
    if (!AtomicFileWriter::write(path, html, &reason))
        tell(&w, QStringLiteral("无法保存指定文件") + path + QStringLiteral("\\n") + reason);
}

void ReportExporter::ExportPage()
{
    if (!ReportFileNames::IsUsableProjectCode(w.form()->projectCodeBox()->text())) {
        tell(&w, ReportLifecycle::unsafeProjectCodeText());
        return;
    }
    if (!w.ChooseSaveFile(true) || w.HtmlFileName.isEmpty())
        return;
    if (!w.TransferReportFields(true))
        return;
    const QByteArray html = RenderReportHtml();
    if (html.isEmpty()) {
        tell(&w, QString::fromUtf8(kConversionFailed));
        return;
    }
    WritePage(w.HtmlFileName, html);
}

void ReportExporter::PrintPage()
{
    if (w.ReportFileName.isEmpty()) {
        tell(&w, QStringLiteral("请先保存报表再打印"));
        return;
    }
    const QString page = ReportFileNames::PrintPageName(w.ReportFileName);
    if (page.isEmpty()) {
        tell(&w, QStringLiteral("未找到相应的HTML文件"));
        return;
    }
    if (QueryFileAttributes(page) < 0) {
        tell(&w, QStringLiteral("未找到相应的HTML文件") + page);
        return;
    }
    tell(&w, QStringLiteral("请在打开的浏览器中进行打印,如果不成功,请用浏览器打开") + page + QStringLiteral("进行打印"));
    ui::current().openInBrowser(page);
}
