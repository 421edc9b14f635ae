#include "report/ReportFileNames.h"

#include "store/Module1.h"

namespace ReportFileNames {

bool IsUsableProjectCode(const QString& projectCodeText)
{
    return Module1::IsSafeFileNamePart(Module1::TrimSpaces(projectCodeText));
}

QString BuildReportFileName(const QString& projectCodeText, bool isHtml)
{
    using namespace Module1;
    if (UnitCode.isEmpty() || projectCodeText.isEmpty())
        return QString();
    if (!IsUsableProjectCode(projectCodeText) || !IsSafeFileNamePart(UnitCode))
        return QString();
    const QString folder = LocalFolderOrDefault();
    return folder + QStringLiteral("qzrt_") + UnitCode + QStringLiteral("_") + TrimSpaces(projectCodeText)
           + (isHtml ? QStringLiteral(".htm") : QStringLiteral(".xm"));
}

QString PrintPageName(const QString& reportFileName)
{
    // Only a "." in the file's own name counts: one in a folder name would point elsewhere.
    const qsizetype nameStart = qMax(reportFileName.lastIndexOf(QLatin1Char('/')),
                                     reportFileName.lastIndexOf(QLatin1Char('\\'))) + 1;
    const qsizetype dot = reportFileName.lastIndexOf(QLatin1Char('.'));
    if (dot < nameStart)
        return QString();
    return reportFileName.left(dot + 1) + QStringLiteral("htm");
}

} // namespace ReportFileNames
