#pragma once

#include "check/SubmissionManifest.h"

#include <QDate>
#include <QString>

class SubmissionCheck;

// The zip a unit sends the bureau: every file of a SubmissionCheck as it was checked, a
// freshly made HTML page of each report and of the unit file (the installed report1.tps
// and corpinfo.tps, as Save makes them), and the manifest 清单.xml, first, listing each
// file's path, size and SHA-256 with each report's verdict and demand total:
//
//   SubmissionPackage::Details details{unitCode, unitName, QDate::currentDate(), ProgramFolder};
//   const QString proposed = SubmissionPackage::proposedFileName(unitCode, unitName, details.date);
//   … the save dialog, through the seam, in the local folder …
//   QString error;
//   if (!SubmissionPackage::write(checked, chosenPath, details, &error))
//       ui::current().message(owner, error);
//
// Written with libarchive into a temporary file beside the target, which takes the
// target's place only once complete: on any failure an older package stays as it was and
// no part of the new one is left. Needs no window.
class SubmissionPackage {
public:
    struct Details {
        QString unitCode;
        QString unitName;
        QDate date;
        QString programFolder; // where report1.tps and corpinfo.tps are installed
    };

    // "<单位编码>_<单位名称>_<YYYYMMDD>.zip", with whatever a file name cannot hold in the
    // unit's name (and code) replaced by "_"; without the name when it is empty.
    static QString proposedFileName(const QString& unitCode, const QString& unitName, const QDate& date);

    // False with the reason in Chinese: a file that could not be read whole, a page that
    // cannot be made, a target that cannot be written.
    static bool write(const SubmissionCheck& checked, const QString& zipPath, const Details& details, QString* error);
};
