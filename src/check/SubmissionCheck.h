#pragma once

#include "check/CheckFinding.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <vector>

// What a unit is about to send, checked as the bureau's vantrel-check will check it: every
// report in the local folder (*.xm, not below it) and the unit's own unit file
// (<unit code>.dw), each on its own and across files, by the same FileChecker,
// CrossFileChecks and CheckRun. Each file is read once, into memory: a package is then
// made of exactly the bytes that were checked (SubmissionPackage).
//
//   const SubmissionCheck checked = SubmissionCheck::run(localFolder, unitCode);
//   for (const SubmissionCheck::File& file : checked.files()) … file.name, file.projectCode,
//       file.projectName, SubmissionCheck::verdictText(file.verdict), file.findings …
//   if (checked.failedCount() > 0) … ask before packing …
//
// Needs no window and no QApplication; blocks while it checks (a unit's few hundred files
// take a moment), using every core.
class SubmissionCheck {
public:
    enum class Verdict { Passed, Failed, Unreadable };

    struct File {
        QString path;         // on disk
        QString name;         // in the folder, and in the package
        bool unitFile = false; // by what it holds: a unit file saved under a report's name is one
        QString projectCode;  // reports that could be read
        QString projectName;
        QString demandTotal;  // reports that could be read: 2006–2010 total, plain decimal
        Verdict verdict = Verdict::Passed;
        QList<CheckFinding> findings; // of this file alone and across files, in that order
        QByteArray bytes;     // as read and checked; empty when it could not be read whole
        QString readError;    // why it could not be read whole
    };

    // Reads and checks the folder's reports and the unit file of unitCode. A folder that
    // does not exist or holds nothing gives no files.
    static SubmissionCheck run(const QString& folder, const QString& unitCode);

    const QString& folder() const { return folder_; }
    const QString& unitCode() const { return unitCode_; }
    // Reports in name order, then the unit file when there is one.
    const std::vector<File>& files() const { return files_; }
    // Files whose verdict is not Passed (the unit file included).
    int failedCount() const;
    // Those of the reports alone.
    int failedReportCount() const;
    int reportCount() const;
    // Whether the unit's own file (<unit code>.dw) is among them.
    bool hasUnitFile() const;

    // 通过, 未通过, 无法读取: as the workbook and the window say it.
    static QString verdictText(Verdict verdict);
    // passed, failed, unreadable: as the manifest records it.
    static QString verdictName(Verdict verdict);

private:
    QString folder_;
    QString unitCode_;
    std::vector<File> files_;
};
