#include "core/ReportFileNames.h"

#include "core/XmlDocumentAccess.h"

namespace ReportFileNames {

bool IsUsableProjectCode(const QString& projectCodeText)
{
    return xml::IsSafeFileNamePart(xml::TrimSpaces(projectCodeText));
}

QString DataFolder(const QString& localFolder, const QString& programFolder)
{
    if (localFolder.isEmpty())
        return programFolder;
    // A folder just typed or picked in the settings has no separator at its end yet.
    const QChar separator = xml::folderSeparator();
    return localFolder.endsWith(separator) ? localFolder : localFolder + separator;
}

QString BuildReportFileName(const QString& unitCode, const QString& folder, const QString& projectCodeText,
                            bool isHtml)
{
    using namespace xml;
    if (unitCode.isEmpty() || projectCodeText.isEmpty())
        return QString();
    if (!IsUsableProjectCode(projectCodeText) || !IsSafeFileNamePart(unitCode))
        return QString();
    return folder + StandardName(unitCode, TrimSpaces(projectCodeText), isHtml);
}

QString StandardName(const QString& unitCode, const QString& projectCode, bool isHtml)
{
    return QStringLiteral("qzrt_") + unitCode + QStringLiteral("_") + projectCode
           + (isHtml ? QStringLiteral(".htm") : QStringLiteral(".xm"));
}

QString UnitInfoFileName(const QString& unitCode, const QString& folder, bool html)
{
    return folder + unitCode + (html ? QStringLiteral(".htm") : QStringLiteral(".dw"));
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
