#pragma once

#include <QString>

class ReportController;
struct ReportPage;

// Writes a report's file and its HTML page, exports the page under another name and
// hands the saved page to the browser for printing.
class ReportExporter {
public:
    explicit ReportExporter(ReportController& report) : controller(report) {}

    // Rebuilds the report from the template and the form, saves it to the controller's
    // ReportFileName, then writes the standard page. True exactly when the report file was saved.
    bool WriteReportFiles();
    void ExportPage();
    void PrintPage();

private:
    // True when the page was made; otherwise the stylesheet's failure has been shown.
    bool pageMade(const ReportPage& page);
    void tellNotWritten(const QString& path, const QString& reason);

    ReportController& controller;
};
