#pragma once

#include <QString>

// The names a budget report's files are kept under.
namespace ReportFileNames {

// True when the project code, trimmed as it will be stored, can stand inside a file name.
bool IsUsableProjectCode(const QString& projectCodeText);

// The standard name: the local folder (or the program's folder when none is set) +
// "qzrt_" + unit code + "_" + trimmed project code + ".htm" or ".xm". Empty when the unit
// code or the project code box is empty, or when the code would lead out of the folder.
QString BuildReportFileName(const QString& projectCodeText, bool isHtml);

// The page Print opens for a report file: its name up to and including the last "."
// of the file's own name, then "htm". Empty when the file's name has no ".".
QString PrintPageName(const QString& reportFileName);

} // namespace ReportFileNames
