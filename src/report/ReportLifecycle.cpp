#include "report/ReportLifecycle.h"

#include "core/ReportFileNames.h"
#include "report/ReportForm.h"
#include "report/ReportController.h"
#include "store/Module1.h"
#include "ui/UserInterface.h"

#include <QLineEdit>

using namespace Module1;
using namespace xml;

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
    tell(controller.dialogParent(), "请先设置正确选项参数与本单位信息");
    return false;
}

bool ReportLifecycle::projectCodeUsable() const
{
    // The code becomes part of the report's and the page's file names.
    if (ReportFileNames::IsUsableProjectCode(controller.form()->projectCodeBox()->text()))
        return true;
    ui::current().message(controller.dialogParent(), unsafeProjectCodeText());
    return false;
}

void ReportLifecycle::LoadReport()
{
    if (controller.ReportFileName.isEmpty())
        return;
    controller.ReportDocument = LoadXmlDocument(controller.ReportFileName);
    if (GetLastErrorText().isEmpty()) {
        controller.ReportRoot = documentElement(controller.ReportDocument);
        controller.TransferReportFields(false);
        controller.SetModified(false);
    } else {
        tell(controller.dialogParent(), "报表文件错误，请重新建立");
    }
}

void ReportLifecycle::NewReport()
{
    if (controller.dirtyData && !ask(controller.dialogParent(), "当前报表还未保存，确定新建吗？"))
        return;
    if (!settingsComplete())
        return;
    controller.ReportFileName.clear();
    controller.ReportDocument = LoadXmlDocument(ProgramFolder + QStringLiteral("report1.tpl"));
    if (GetLastErrorText().isEmpty()) {
        controller.ReportRoot = documentElement(controller.ReportDocument);
        controller.TransferReportFields(false);
        controller.SetModified(false);
    } else {
        tell(controller.dialogParent(), "模板文件错误，请重新安装程序");
    }
    controller.UpdateCaption();
}

bool ReportLifecycle::readyToOpen() const
{
    if (controller.dirtyData && !ask(controller.dialogParent(), "当前报表还未保存，确定打开其他报表吗？"))
        return false;
    return settingsComplete();
}

void ReportLifecycle::openChosen(const QString& fileName)
{
    controller.ReportFileName = fileName;
    LoadReport();
    controller.UpdateCaption();
}

void ReportLifecycle::OpenReportFile(const QString& fileName)
{
    if (!fileName.isEmpty() && readyToOpen())
        openChosen(fileName);
}

void ReportLifecycle::OpenReport()
{
    if (!readyToOpen())
        return;
    ui::FileDialogRequest request;
    request.title = QStringLiteral("打开报表文件");
    request.filter = QStringLiteral("报告文件 (*.xm)|*.xm|所有文件(*.*)|*.*");
    request.initialFolder = LocalFolderOrDefault();
    const std::optional<QString> chosen = ui::current().openFileName(controller.dialogParent(), request);
    if (!chosen || chosen->isEmpty())
        return;
    openChosen(*chosen);
}

void ReportLifecycle::SaveReport()
{
    const ReportForm* form = controller.form();
    if (TrimSpaces(form->projectCodeBox()->text()).isEmpty()) {
        tell(controller.dialogParent(), "请输入项目编号");
        return;
    }
    if (!projectCodeUsable())
        return;
    if (TrimSpaces(form->projectNameBox()->text()).isEmpty()) {
        tell(controller.dialogParent(), "请输入项目名称");
        return;
    }
    if (UnitCode.isEmpty()) {
        tell(controller.dialogParent(), "请在选项中设置单位编号");
        return;
    }
    if (!controller.CheckBudgetTotals() || !controller.form()->CheckTextLengths())
        return;
    // The standard name replaces whatever name the report was opened or saved under.
    controller.ReportFileName = controller.BuildReportFileName(false);
    if (QueryFileAttributes(controller.ReportFileName) >= 0 && !ask(controller.dialogParent(), "文件已存在，是否覆盖？"))
        return;
    if (!controller.ReportFileName.isEmpty() && controller.WriteReportFiles())
        controller.UpdateCaption();
}

void ReportLifecycle::SaveReportAs()
{
    const ReportForm* form = controller.form();
    if (form->projectNameBox()->text().isEmpty() || form->projectCodeBox()->text().isEmpty()) {
        tell(controller.dialogParent(), "请设置项目编号与名称");
        return;
    }
    if (!projectCodeUsable())
        return;
    if (!controller.CheckBudgetTotals() || !controller.form()->CheckTextLengths())
        return;
    if (!controller.ChooseSaveFile(false))
        return;
    if (controller.WriteReportFiles())
        controller.UpdateCaption();
}

bool ReportLifecycle::ConfirmClose()
{
    return !controller.dirtyData || ask(controller.dialogParent(), "当前报表还未保存，确定退出吗？");
}
