#include "report/ReportController.h"

#include "core/ReportFileNames.h"
#include "report/ReportExporter.h"
#include "report/ReportForm.h"
#include "report/ReportLifecycle.h"
#include "store/Module1.h"
#include "ui/UserInterface.h"

#include <QLineEdit>

using namespace Module1;
using namespace xml;

ReportController::ReportController(ReportForm* form, QWidget* dialogParent)
    : form_(form)
    , dialogParent_(dialogParent)
    , lifecycle_(std::make_unique<ReportLifecycle>(*this))
    , exporter_(std::make_unique<ReportExporter>(*this))
{
    connect(form_, &ReportForm::userEdited, this, [this] { SetModified(true); });
}

ReportController::~ReportController() = default;

void ReportController::SetModified(bool flag)
{
    dirtyData = flag;
    emit modifiedChanged(flag);
}

void ReportController::UpdateCaption()
{
    emit captionChanged(ReportFileName.isEmpty() ? QStringLiteral("Vantrel - 未命名")
                                                 : QStringLiteral("Vantrel - ") + ReportFileName);
}

QString ReportController::BuildReportFileName(bool isHtml) const
{
    return ReportFileNames::BuildReportFileName(UnitCode, LocalFolderOrDefault(), form_->projectCodeBox()->text(),
                                                isHtml);
}

bool ReportController::ChooseSaveFile(bool isHtml)
{
    ui::FileDialogRequest request;
    request.proposedName = BuildReportFileName(isHtml);
    if (isHtml) {
        request.title = QStringLiteral("报表文件导出为HTML文件");
        request.filter = QStringLiteral("HTML文件 (*.htm)|*.htm;*.html");
    } else {
        request.title = QStringLiteral("报表文件存储为");
        request.filter = QStringLiteral("项目文件 (*.xm)|*.xm|所有文件(*.*)|*.*");
    }
    request.initialFolder = LocalFolderOrDefault();
    request.confirmOverwrite = true;
    const std::optional<QString> chosen = ui::current().saveFileName(dialogParent_, request);
    if (!chosen || chosen->isEmpty())
        return false;
    // Qt's dialog asks only before overwriting; a new file is confirmed here, and No
    // counts as cancelling the dialog.
    if (QueryFileAttributes(*chosen) < 0
        && !ui::current().question(dialogParent_,
                                   QStringLiteral("文件") + *chosen + QStringLiteral("不存在，是否创建？")))
        return false;
    (isHtml ? HtmlFileName : ReportFileName) = *chosen;
    return true;
}

bool ReportController::TransferReportFields(bool toDocument)
{
    return form_->TransferReportFields(ReportRoot, toDocument);
}

bool ReportController::CheckBudgetTotals()
{
    return form_->CheckBudgetTotals();
}

void ReportController::LoadReport() { lifecycle_->LoadReport(); }
bool ReportController::WriteReportFiles() { return exporter_->WriteReportFiles(); }
void ReportController::NewReport() { lifecycle_->NewReport(); }
void ReportController::OpenReport() { lifecycle_->OpenReport(); }
void ReportController::OpenReportFile(const QString& fileName) { lifecycle_->OpenReportFile(fileName); }
void ReportController::SaveReport() { lifecycle_->SaveReport(); }
void ReportController::SaveReportAs() { lifecycle_->SaveReportAs(); }
void ReportController::ExportPage() { exporter_->ExportPage(); }
void ReportController::PrintPage() { exporter_->PrintPage(); }
bool ReportController::ConfirmClose() { return lifecycle_->ConfirmClose(); }
