#include "report/ReportLifecycle.h"

#include "core/ReportFileNames.h"
#include "report/ReportForm.h"
#include "report/frmMain.h"
#include "store/Module1.h"
#include "ui/UserInterface.h"

#include <QLineEdit>

using namespace Module1;

namespace {
void tell(QWidget* parent, const char* utf8)
{
    ui::current().message(parent, QString::fromUtf8(utf8));
}
bool ask(QWidget* parent, const char* utf8)
{
    return ui::current().question(parent, QString::fromUtf8(utf8));
}
} // namespace

QString ReportLifecycle::unsafeProjectCodeText()
{
    return QStringLiteral("项目编号中含有不能用于文件名的字符");
}

bool ReportLifecycle::settingsComplete() const
{
    if (!UnitName.isEmpty() && !UnitCode.isEmpty() && !UnitReportUser.isEmpty())
        return true;
    tell(&w, "请先设置正确选项参数与本单位信息");
    return false;
}

bool ReportLifecycle::projectCodeUsable() const
{
    // The code becomes part of the report's and the page's file names.
    if (ReportFileNames::IsUsableProjectCode(w.form()->projectCodeBox()->text()))
        return true;
    ui::current().message(&w, unsafeProjectCodeText());
    return false;
}

void ReportLifecycle::LoadReport()
{
    if (w.ReportFileName.isEmpty())
        return;
    w.ReportDocument = LoadXmlDocument(w.ReportFileName);
    if (GetLastErrorText().isEmpty()) {
        w.ReportRoot = documentElement(w.ReportDocument);
        w.TransferReportFields(false);
        w.SetModified(false);
    } else {
        tell(&w, "报表文件错误，请重新建立");
    }
}

void ReportLifecycle::NewReport()
{
    if (w.dirtyData && !ask(&w, "当前报表还未保存，确定新建吗？"))
        return;
    if (!settingsComplete())
        return;
    w.ReportFileName.clear();
    w.ReportDocument = LoadXmlDocument(ProgramFolder + QStringLiteral("report1.tpl"));
    if (GetLastErrorText().isEmpty()) {
        w.ReportRoot = documentElement(w.ReportDocument);
        w.TransferReportFields(false);
        w.SetModified(false);
    } else {
        tell(&w, "模板文件错误，请重新安装程序");
    }
    w.UpdateCaption();
}

void ReportLifecycle::OpenReport()
{
    if (w.dirtyData && !ask(&w, "当前报表还未保存，确定打开其他报表吗？"))
        return;
    if (!settingsComplete())
        return;
    ui::FileDialogRequest request;
    request.title = QStringLiteral("打开报表文件");
    request.filter = QStringLiteral("报告文件 (*.xm)|*.xm|所有文件(*.*)|*.*");
    request.initialFolder = LocalFolder.isEmpty() ? ProgramFolder : LocalFolder;
    const std::optional<QString> chosen = ui::current().openFileName(&w, request);
    if (!chosen || chosen->isEmpty())
        return;
    w.ReportFileName = *chosen;
    LoadReport();
    w.UpdateCaption();
}

void ReportLifecycle::SaveReport()
{
    const ReportForm* form = w.form();
    if (TrimSpaces(form->projectCodeBox()->text()).isEmpty()) {
        tell(&w, "请输入项目编号");
        return;
    }
    if (!projectCodeUsable())
        return;
    if (TrimSpaces(form->projectNameBox()->text()).isEmpty()) {
        tell(&w, "请输入项目名称");
        return;
    }
    if (UnitCode.isEmpty()) {
        tell(&w, "请在选项中设置单位编号");
        return;
    }
    if (!w.CheckBudgetTotals())
        return;
    // The standard name replaces whatever name the report was opened or saved under.
    w.ReportFileName = w.BuildReportFileName(false);
    if (QueryFileAttributes(w.ReportFileName) >= 0 && !ask(&w, "文件已存在，是否覆盖？"))
        return;
    if (!w.ReportFileName.isEmpty() && w.WriteReportFiles())
        w.UpdateCaption();
}

void ReportLifecycle::SaveReportAs()
{
    const ReportForm* form = w.form();
    if (form->projectNameBox()->text().isEmpty() || form->projectCodeBox()->text().isEmpty()) {
        tell(&w, "请设置项目编号与名称");
        return;
    }
    if (!projectCodeUsable())
        return;
    if (!w.CheckBudgetTotals())
        return;
    if (!w.ChooseSaveFile(false))
        return;
    if (w.WriteReportFiles())
        w.UpdateCaption();
}

bool ReportLifecycle::ConfirmClose()
{
    return !w.dirtyData || ask(&w, "当前报表还未保存，确定退出吗？");
}
