#pragma once

#include "core/BudgetReport.h"
#include "report/DraftKeeper.h"

#include <QObject>
#include <QString>

class QWidget;
class ReportForm;
struct Settings;

// The one budget report being edited and the commands on it: New, Open, Save, Save As,
// Export, Print and closing. It owns the report (values, file, modified state) and asks
// the user through the seam; the form only shows values and announces edits, and the
// window follows the report through captionChanged and modifiedChanged.
class ReportController : public QObject {
    Q_OBJECT
public:
    // form: the report's fields; dialogParent: what messages and file dialogs stand over;
    // recoveryFolder: where drafts of unsaved edits are kept.
    ReportController(Settings& settings, ReportForm* form, QWidget* dialogParent,
                     const QString& recoveryFolder = defaultRecoveryFolder());
    ~ReportController() override;

    void newReport();
    void openReport();
    // Open without the file dialog, for a report named on the command line: the same
    // questions before and the same messages on failure as Open.
    void openReportFile(const QString& fileName);
    void saveReport();
    void saveReportAs();
    void exportPage();
    void printPage();
    // True when the report may be closed; asks only for a modified report.
    bool confirmClose();

    // The report changed outside the form (a long text from its editor).
    void markModified();
    // Text typed into a long text's editor and not confirmed yet: drafts hold it too.
    void setUnconfirmedText(const QString& field, const QString& text);
    void clearUnconfirmedText();
    // The program ends normally: the report's draft goes (a desktop session that ends
    // keeps it).
    void reportClosed();
    // Offers the drafts that programs no longer running left, newest first: each can be
    // restored into the form as Open would load it, or given up.
    void offerRecoveryDrafts();
    DraftKeeper& drafts() { return drafts_; }
    static QString defaultRecoveryFolder();

    bool isModified() const { return report_.isModified(); }
    const QString& fileName() const { return report_.fileName(); }
    const QString& pageFileName() const { return report_.pageFileName(); }
    // The report as last loaded or saved, with the form's values as they are now.
    const BudgetReport& report();

signals:
    void captionChanged(const QString& caption);
    void modifiedChanged(bool modified);

private:
    void setModified(bool modified);
    void updateCaption();
    bool settingsComplete();
    bool readyToOpen(const QString& question);
    void openChosen(const QString& fileName);
    // Loads the file into the report and shows it; a failure says `failure`.
    void showLoaded(const QString& path, const QString& failure);
    // Takes the form's values into the report.
    void takeValues();
    // The budget rules; shows what the check rewrote and the first broken rule's message.
    bool checkBudget();
    // The budget rules, then the text lengths, as Save and Save As check them.
    bool checkBeforeWriting();
    QString standardFileName(bool isHtml) const;
    // Asks for the file to save (report or page); empty when the user backs out.
    QString chooseSaveFile(bool isHtml);
    bool writeReportFiles();
    void show(const BudgetReport::WriteResult& result);
    BudgetReport::Files files() const;
    ReportHeader header() const;
    void tell(const QString& text);
    bool ask(const QString& text);
    DraftKeeper::Snapshot draftSnapshot();
    QString draftQuestion(const DraftKeeper::LeftBehind& left) const;
    bool restoreDraft(const DraftKeeper::LeftBehind& left);

    Settings& settings_;
    ReportForm* form_;
    QWidget* dialogParent_;
    BudgetReport report_;
    QString unconfirmedField_;
    QString unconfirmedText_;
    DraftKeeper drafts_;
};
