// Any bytes as a report, turned into its page by the installed stylesheet.
#include "FuzzSupport.h"
#include "core/XmlDocumentAccess.h"
#include "core/XsltTransformer.h"

#include <QStringDecoder>

using namespace xml;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const XmlDocumentPtr style = [] {
        QString error;
        XmlDocumentPtr s = ReadXmlDocument(QStringLiteral(VANTREL_TEMPLATES_DIR "/report1.tps"), error);
        if (!error.isEmpty())
            fuzz::fail("the page stylesheet does not load", error);
        return s;
    }();

    const QString path = fuzz::scratchFolder() + QStringLiteral("report.xm");
    if (!fuzz::writeFile(path, reinterpret_cast<const char*>(data), size))
        fuzz::fail("cannot write the scratch file");
    QString error;
    const XmlDocumentPtr report = ReadXmlDocument(path, error);
    const bool loaded = error.isEmpty();
    const XsltTransformer::Result page = XsltTransformer::transform(report, style);
    if (!loaded) {
        // A file the parser could not read gives no document, hence no page. One it read
        // with a namespace error ("文件格式错误:") is still a document; callers refuse it.
        if (!report->handle() && page.ok)
            fuzz::fail("a file that failed to load gave a page");
        return 0;
    }
    if (!page.ok)
        fuzz::fail("a loaded document gave no page", page.error);
    if (!page.page.startsWith("<!DOCTYPE html>"))
        fuzz::fail("the page does not start with its doctype");
    // Whatever the fields hold, it is text on the page, never markup.
    const QString html = QString::fromUtf8(page.page);
    if (html.contains(QLatin1String("<script"), Qt::CaseInsensitive))
        fuzz::fail("markup from a field reached the page");
    if (html.count(QLatin1String("</title>")) != 1 || html.count(QLatin1String("</body>")) != 1)
        fuzz::fail("a field broke the page's structure");
    QStringDecoder utf8(QStringDecoder::Utf8);
    (void)utf8.decode(page.page);
    if (utf8.hasError())
        fuzz::fail("the page is not UTF-8");
    return 0;
}
