#pragma once

#include <QString>

class frmMain;

// How a report comes into the main window and goes out of it: New, Open, Save, Save As,
// with the questions that keep unsaved edits from being lost.
class ReportLifecycle {
public:
    explicit ReportLifecycle(frmMain& window) : w(window) {}

    void NewReport();
    void OpenReport();
    // Open without the file dialog, for a report named on the command line: the same
    // questions before and the same messages on failure as Open.
    void OpenReportFile(const QString& fileName);
    void SaveReport();
    void SaveReportAs();
    // Loads w.ReportFileName into the window; a failed load leaves the form as it was.
    void LoadReport();
    // True when the window may close; asks only for a modified report.
    bool ConfirmClose();

    // The message shown when the project code cannot be part of a file name.
    static QString unsafeProjectCodeText();

private:
    bool settingsComplete() const;
    bool readyToOpen() const;
    void openChosen(const QString& fileName);
    bool projectCodeUsable() const;

    frmMain& w;
};
