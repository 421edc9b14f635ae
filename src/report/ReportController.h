#pragma once

#include "core/XmlDocument.h"

#include <QObject>
#include <QString>
#include <memory>

class QWidget;
class ReportExporter;
class ReportForm;
class ReportLifecycle;

// The one budget report being edited: its document, its file names and whether it holds
// unsaved edits, with the commands that load, save, export and print it. It knows the form
// it transfers to and from and the widget its questions stand over, nothing of the window
// around them: the window follows the report through captionChanged and modifiedChanged.
class ReportController : public QObject {
    Q_OBJECT
public:
    // form: the report's fields; dialogParent: what messages and file dialogs stand over.
    ReportController(ReportForm* form, QWidget* dialogParent);
    ~ReportController() override;

    bool dirtyData = false;
    QString ReportFileName;
    QString HtmlFileName;
    xml::XmlDocumentPtr ReportDocument;
    xml::XmlNode ReportRoot;

    // Sets the modified state and announces it, also when it does not change: the window's
    // Save follows every call.
    void SetModified(bool flag);
    // Announces the caption for ReportFileName ("Vantrel - 未命名" before a first save).
    void UpdateCaption();
    QString BuildReportFileName(bool isHtml) const;
    // Asks for the file to save (report or page) into ReportFileName or HtmlFileName;
    // false when the user backs out.
    bool ChooseSaveFile(bool isHtml);
    bool TransferReportFields(bool toDocument);
    bool CheckBudgetTotals();

    void LoadReport();
    bool WriteReportFiles();

    void NewReport();
    void OpenReport();
    void OpenReportFile(const QString& fileName);
    void SaveReport();
    void SaveReportAs();
    void ExportPage();
    void PrintPage();
    // True when the report may be closed; asks only for a modified report.
    bool ConfirmClose();

    ReportForm* form() const { return form_; }
    QWidget* dialogParent() const { return dialogParent_; }

signals:
    void captionChanged(const QString& caption);
    void modifiedChanged(bool modified);

private:
    ReportForm* form_;
    QWidget* dialogParent_;
    std::unique_ptr<ReportLifecycle> lifecycle_;
    std::unique_ptr<ReportExporter> exporter_;
};
