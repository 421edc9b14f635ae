#pragma once

#include <QString>

class ReportController;

// How a report comes into the form and goes out of it: New, Open, Save, Save As,
// with the questions that keep unsaved edits from being lost.
class ReportLifecycle {
public:
    explicit ReportLifecycle(ReportController& report) : controller(report) {}

    void NewReport();
    void OpenReport();
    // Open without the file dialog, for a report named on the command line: the same
    // questions before and the same messages on failure as Open.
    void OpenReportFile(const QString& fileName);
    void SaveReport();
    void SaveReportAs();
    // Loads the controller's ReportFileName into the form; a failed load leaves the form as
    // it was.
    void LoadReport();
    // True when the report may be closed; asks only for a modified report.
    bool ConfirmClose();

    // The message shown when the project code cannot be part of a file name.
    static QString unsafeProjectCodeText();

private:
    bool settingsComplete() const;
    bool readyToOpen() const;
    void openChosen(const QString& fileName);
    bool projectCodeUsable() const;

    ReportController& controller;
};
