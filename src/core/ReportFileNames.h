#pragma once

#include <QString>

// The names a budget report's files are kept under.
namespace ReportFileNames {

// True when the project code, trimmed as it will be stored, can stand inside a file name.
bool IsUsableProjectCode(const QString& projectCodeText);

// Where reports, unit files and their pages are kept: the local folder, or the program's
// folder when no local folder is set.
QString DataFolder(const QString& localFolder, const QString& programFolder);

// The standard name: folder + "qzrt_" + unit code + "_" + trimmed project code + ".htm"
// or ".xm". Empty when the unit code or the project code box is empty, or when either
// code would lead out of the folder.
QString BuildReportFileName(const QString& unitCode, const QString& folder, const QString& projectCodeText,
                            bool isHtml);

// The standard name without a folder and without any test of the codes:
// "qzrt_" + unit code + "_" + project code + ".xm" (or ".htm").
QString StandardName(const QString& unitCode, const QString& projectCode, bool isHtml);

// The unit information file (".dw") or its page (".htm"): folder + unit code + extension.
QString UnitInfoFileName(const QString& unitCode, const QString& folder, bool html);

// The page Print opens for a report file: its name up to and including the last "."
// of the file's own name, then "htm". Empty when the file's name has no ".".
QString PrintPageName(const QString& reportFileName);

} // namespace ReportFileNames
