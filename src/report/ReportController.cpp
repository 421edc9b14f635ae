#include "report/ReportController.h"

#include "core/ReportFileNames.h"
#include "platform/AppFolders.h"
#include "report/ReportForm.h"
#include "store/Settings.h"
#include "ui/UserInterface.h"

#include <QFileInfo>

ReportController::ReportController(Settings& settings, ReportForm* form, QWidget* dialogParent,
                                   const QString& recoveryFolder)
    : settings_(settings)
    , form_(form)
    , dialogParent_(dialogParent)
    , drafts_(recoveryFolder, [this] { return draftSnapshot(); })
{
    connect(form_, &ReportForm::edited, this, [this] { setModified(true); });
    form_->setAmountResetQuestion(
        [this] { return ask(QStringLiteral("更改项目类别将把已填写的预算金额全部清零，是否继续？")); });
}

ReportController::~ReportController() = default;

void ReportController::tell(const QString& text)
{
    ui::current().message(dialogParent_, text);
}

bool ReportController::ask(const QString& text)
{
    return ui::current().question(dialogParent_, text);
}

QString ReportController::defaultRecoveryFolder()
{
    return AppFolders::recoveryFolder();
}

void ReportController::setModified(bool modified)
{
    report_.setModified(modified);
    // A report with unsaved edits has a draft; one without needs none.
    if (modified)
        drafts_.edited();
    else
        drafts_.discard();
    // Announced also when it does not change: the window's Save follows every call.
    emit modifiedChanged(modified);
}

void ReportController::markModified()
{
    setModified(true);
}

void ReportController::setUnconfirmedText(const QString& field, const QString& text)
{
    if (unconfirmedField_.isEmpty() && text == form_->value(field))
        return; // the editor just shows the text
    unconfirmedField_ = field;
    unconfirmedText_ = text;
    drafts_.edited();
}

void ReportController::clearUnconfirmedText()
{
    if (unconfirmedField_.isEmpty())
        return;
    unconfirmedField_.clear();
    unconfirmedText_.clear();
    // What the editor held is in the form now, or given up with it.
    if (isModified())
        drafts_.edited();
    else
        drafts_.discard();
}

void ReportController::reportClosed()
{
    drafts_.discard();
}

DraftKeeper::Snapshot ReportController::draftSnapshot()
{
    DraftKeeper::Snapshot snapshot;
    snapshot.values = form_->values();
    if (!unconfirmedField_.isEmpty())
        snapshot.values.setValue(unconfirmedField_, unconfirmedText_);
    snapshot.header = header();
    snapshot.templatePath = files().templatePath;
    snapshot.reportFile = report_.fileName();
    return snapshot;
}

// ---- Recovery drafts ------------------------------------------------------------------------

QString ReportController::draftQuestion(const DraftKeeper::LeftBehind& left) const
{
    const QString time = left.written.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    if (!left.draft)
        return QStringLiteral("发现未保存的报表（%1），但其恢复草稿已损坏，无法恢复。是否放弃？").arg(time);
    const RecoveryDraft& draft = *left.draft;
    const QString name = draft.projectName.trimmed().isEmpty() ? QStringLiteral("未命名") : draft.projectName;
    QString text = QStringLiteral("发现未保存的报表：") + name + QStringLiteral("（") + time + QStringLiteral("）");
    // The clerk should know that the file may hold newer work than the draft.
    const QFileInfo file(draft.reportFile);
    if (!draft.reportFile.isEmpty() && file.exists() && file.lastModified() > draft.written)
        text += QStringLiteral("。报表文件在此之后已被修改");
    return text + QStringLiteral("。是否恢复？");
}

void ReportController::offerRecoveryDrafts()
{
    for (const DraftKeeper::LeftBehind& left : drafts_.takeLeftBehind()) {
        const QString question = draftQuestion(left);
        if (!left.draft) {
            if (ui::current().choose(dialogParent_, question, QStringLiteral("放弃"), QStringLiteral("保留")))
                drafts_.deleteLeftBehind(left.file);
            else
                drafts_.releaseLeftBehind(left.file);
            continue;
        }
        if (!ui::current().choose(dialogParent_, question, QStringLiteral("恢复"), QStringLiteral("放弃"))) {
            drafts_.deleteLeftBehind(left.file);
            continue;
        }
        if (!restoreDraft(left))
            drafts_.releaseLeftBehind(left.file); // kept for the next start
    }
}

bool ReportController::restoreDraft(const DraftKeeper::LeftBehind& left)
{
    // As Open loads a file: the same questions and messages.
    if (!readyToOpen(QStringLiteral("当前报表还未保存，确定打开其他报表吗？")))
        return false;
    const RecoveryDraft& draft = *left.draft;
    if (!report_.loadBytes(draft.report, left.file).ok) {
        tell(QStringLiteral("报表文件错误，请重新建立"));
        return false;
    }
    // Save writes where the clerk expects, with the usual questions.
    report_.setFileName(draft.reportFile);
    form_->setValues(report_.values());
    drafts_.discard();
    // The draft is this report's own now, until the next edit replaces it.
    drafts_.adoptLeftBehind(left.file);
    report_.setModified(true);
    emit modifiedChanged(true);
    updateCaption();
    return true;
}

void ReportController::updateCaption()
{
    emit captionChanged(report_.fileName().isEmpty() ? QStringLiteral("Vantrel - 未命名")
                                                     : QStringLiteral("Vantrel - ") + report_.fileName());
}

void ReportController::takeValues()
{
    report_.setValues(form_->values());
}

const BudgetReport& ReportController::report()
{
    takeValues();
    return report_;
}

BudgetReport::Files ReportController::files() const
{
    return {settings_.programFile(QStringLiteral("report1.tpl")), settings_.programFile(QStringLiteral("report1.tps"))};
}

ReportHeader ReportController::header() const
{
    return BudgetReport::headerForToday(settings_.unitCode, settings_.unitName, settings_.reportUser);
}

QString ReportController::standardFileName(bool isHtml) const
{
    return ReportFileNames::BuildReportFileName(settings_.unitCode, settings_.localFolderOrDefault(),
                                                report_.value(QStringLiteral("projectCode")), isHtml);
}

bool ReportController::settingsComplete()
{
    if (settings_.isComplete())
        return true;
    tell(QStringLiteral("请先设置正确选项参数与本单位信息"));
    return false;
}

// ---- New and Open -----------------------------------------------------------------------

void ReportController::newReport()
{
    if (isModified() && !ask(QStringLiteral("当前报表还未保存，确定新建吗？")))
        return;
    if (!settingsComplete())
        return;
    report_.setFileName(QString());
    showLoaded(settings_.programFile(QStringLiteral("report1.tpl")), QStringLiteral("模板文件错误，请重新安装程序"));
}

void ReportController::showLoaded(const QString& path, const QString& failure)
{
    // A failed load leaves the form and the modified state as they were; the caption
    // still names the file that failed.
    if (report_.load(path).ok) {
        form_->setValues(report_.values());
        form_->showFirstField();
        setModified(false);
    } else {
        tell(failure);
    }
    updateCaption();
}

bool ReportController::readyToOpen(const QString& question)
{
    if (isModified() && !ask(question))
        return false;
    return settingsComplete();
}

void ReportController::openChosen(const QString& fileName)
{
    report_.setFileName(fileName);
    showLoaded(fileName, QStringLiteral("报表文件错误，请重新建立"));
}

void ReportController::openReportFile(const QString& fileName)
{
    if (!fileName.isEmpty() && readyToOpen(QStringLiteral("当前报表还未保存，确定打开其他报表吗？")))
        openChosen(fileName);
}

void ReportController::openReport()
{
    if (!readyToOpen(QStringLiteral("当前报表还未保存，确定打开其他报表吗？")))
        return;
    ui::FileDialogRequest request;
    request.title = QStringLiteral("打开报表文件");
    request.filter = QStringLiteral("报告文件 (*.xm)|*.xm|所有文件(*.*)|*.*");
    request.initialFolder = settings_.localFolderOrDefault();
    const std::optional<QString> chosen = ui::current().openFileName(dialogParent_, request);
    if (chosen && !chosen->isEmpty())
        openChosen(*chosen);
}

// ---- Save, Save As and Export -------------------------------------------------------------

bool ReportController::checkBudget()
{
    const BudgetRuleResult rules = report_.checkBudget();
    ReportValues rewritten;
    for (const auto& [field, text] : rules.normalised)
        rewritten.setValue(field, text);
    form_->setValues(rewritten);
    if (!rules.ok())
        tell(rules.message);
    return rules.ok();
}

bool ReportController::checkBeforeWriting()
{
    if (!checkBudget())
        return false;
    if (const QString refusal = report_.writeRefusal(); !refusal.isEmpty()) {
        tell(refusal);
        return false;
    }
    return true;
}

QString ReportController::chooseSaveFile(bool isHtml)
{
    ui::FileDialogRequest request;
    request.proposedName = standardFileName(isHtml);
    if (isHtml) {
        request.title = QStringLiteral("报表文件导出为HTML文件");
        request.filter = QStringLiteral("HTML文件 (*.htm)|*.htm;*.html");
    } else {
        request.title = QStringLiteral("报表文件存储为");
        request.filter = QStringLiteral("项目文件 (*.xm)|*.xm|所有文件(*.*)|*.*");
    }
    request.initialFolder = settings_.localFolderOrDefault();
    request.confirmOverwrite = true;
    const std::optional<QString> chosen = ui::current().saveFileName(dialogParent_, request);
    if (!chosen || chosen->isEmpty())
        return {};
    // Qt's dialog asks only before overwriting; a new file is confirmed here, and No
    // counts as cancelling the dialog.
    if (QueryFileAttributes(*chosen) < 0 && !ask(QStringLiteral("文件") + *chosen + QStringLiteral("不存在，是否创建？")))
        return {};
    return *chosen;
}

void ReportController::show(const BudgetReport::WriteResult& result)
{
    form_->setValues(result.shown);
    if (result.reportWritten)
        setModified(false);
    for (const QString& message : result.messages)
        tell(message);
}

bool ReportController::writeReportFiles()
{
    const BudgetReport::WriteResult result = report_.save(files(), header(), standardFileName(true));
    show(result);
    return result.reportWritten;
}

void ReportController::saveReport()
{
    takeValues();
    if (const QString refusal = report_.saveRefusal(settings_.unitCode); !refusal.isEmpty()) {
        tell(refusal);
        return;
    }
    if (!checkBeforeWriting())
        return;
    // The standard name replaces whatever name the report was opened or saved under.
    report_.setFileName(standardFileName(false));
    if (QueryFileAttributes(report_.fileName()) >= 0 && !ask(QStringLiteral("文件已存在，是否覆盖？")))
        return;
    if (!report_.fileName().isEmpty() && writeReportFiles())
        updateCaption();
}

void ReportController::saveReportAs()
{
    takeValues();
    if (const QString refusal = report_.saveAsRefusal(); !refusal.isEmpty()) {
        tell(refusal);
        return;
    }
    if (!checkBeforeWriting())
        return;
    const QString chosen = chooseSaveFile(false);
    if (chosen.isEmpty())
        return;
    report_.setFileName(chosen);
    if (writeReportFiles())
        updateCaption();
}

void ReportController::exportPage()
{
    takeValues();
    if (!ReportFileNames::IsUsableProjectCode(report_.value(QStringLiteral("projectCode")))) {
        tell(BudgetReport::unsafeProjectCodeText());
        return;
    }
    const QString chosen = chooseSaveFile(true);
    if (chosen.isEmpty())
        return;
    report_.setPageFileName(chosen);
    if (!checkBudget())
        return;
    show(report_.exportPage(files(), header(), chosen));
}

// ---- Print and closing --------------------------------------------------------------------

void ReportController::printPage()
{
    if (report_.fileName().isEmpty()) {
        tell(QStringLiteral("请先保存报表再打印"));
        return;
    }
    const QString page = ReportFileNames::PrintPageName(report_.fileName());
    if (page.isEmpty()) {
        tell(QStringLiteral("未找到相应的HTML文件"));
        return;
    }
    if (QueryFileAttributes(page) < 0) {
        tell(QStringLiteral("未找到相应的HTML文件") + page);
        return;
    }
    tell(QStringLiteral("请在打开的浏览器中进行打印,如果不成功,请用浏览器打开") + page + QStringLiteral("进行打印"));
    // Without a browser the clerk still needs the page's path to open it by hand.
    if (!ui::current().openInBrowser(page))
        tell(QStringLiteral("无法打开浏览器") + page);
}

bool ReportController::confirmClose()
{
    return !isModified() || ask(QStringLiteral("当前报表还未保存，确定退出吗？"));
}
