#include "core/ReportPage.h"

#include "core/XmlDocumentAccess.h"
#include "core/XsltTransformer.h"

ReportPage RenderReportPage(const Module1::XmlDocumentPtr& document, const QString& stylesheetPath)
{
    ReportPage page;
    const Module1::XmlDocumentPtr stylesheet = Module1::ReadXmlDocument(stylesheetPath, page.stylesheetError);
    if (!page.stylesheetError.isEmpty()) {
        page.failure = ReportPage::Failure::StylesheetUnreadable;
        page.error = page.stylesheetError;
        return page;
    }
    if (!document || !document->handle()) {
        page.failure = ReportPage::Failure::TransformFailed;
        page.error = QStringLiteral("no document");
        return page;
    }
    const XsltTransformer::Result result = XsltTransformer::transform(document, stylesheet);
    if (!result.ok) {
        page.failure = ReportPage::Failure::TransformFailed;
        page.error = result.error;
        return page;
    }
    page.html = result.page;
    page.encoding = result.encoding;
    return page;
}
