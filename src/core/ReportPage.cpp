#include "core/ReportPage.h"

#include "core/AtomicFileWriter.h"
#include "core/XmlDocumentAccess.h"
#include "core/XsltTransformer.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>

namespace {

// The last stylesheet compiled on this thread, by its file's bytes: a save takes the
// installed stylesheet as it is at that moment, but compiling the same bytes again for
// every save would cost more than the rest of the page.
struct CompiledStylesheet {
    QString path;
    QByteArray bytes;
    XsltTransformer::Stylesheet style;
};

QByteArray readIfFile(const QString& path, bool* read)
{
    QFile file(path);
    *read = QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly);
    return *read ? file.readAll() : QByteArray();
}

// The compiled stylesheet, or null with the failure filled in.
XsltTransformer::Stylesheet prepare(const xml::XmlDocumentPtr& document, const QString& stylesheetPath,
                                    ReportPage& page)
{
    static thread_local CompiledStylesheet last;
    bool read = false;
    const QByteArray bytes = readIfFile(stylesheetPath, &read);
    XsltTransformer::Stylesheet style;
    if (read && last.style && last.path == stylesheetPath && last.bytes == bytes) {
        style = last.style;
    } else {
        // A file that cannot be read is read once more for the store's own message.
        const xml::XmlDocumentPtr stylesheet = read
            ? xml::ParseXmlBytes(bytes, stylesheetPath, page.stylesheetError)
            : xml::ReadXmlDocument(stylesheetPath, page.stylesheetError);
        if (!page.stylesheetError.isEmpty()) {
            page.failure = ReportPage::Failure::StylesheetUnreadable;
            page.error = page.stylesheetError;
            return {};
        }
        if (document && document->handle()) {
            style = XsltTransformer::compile(stylesheet, &page.error);
            // A stylesheet that takes in other files could change without its own bytes changing.
            const bool selfContained = style && !style->imports && !style->docList;
            last = selfContained ? CompiledStylesheet{stylesheetPath, bytes, style} : CompiledStylesheet();
        }
    }
    if (!document || !document->handle()) {
        page.failure = ReportPage::Failure::TransformFailed;
        page.error = QStringLiteral("no document");
        return {};
    }
    if (!style)
        page.failure = ReportPage::Failure::TransformFailed;
    return style;
}

} // namespace

ReportPage RenderReportPage(const xml::XmlDocumentPtr& document, const QString& stylesheetPath)
{
    ReportPage page;
    const XsltTransformer::Stylesheet style = prepare(document, stylesheetPath, page);
    if (!style)
        return page;
    XsltTransformer::Result result = XsltTransformer::apply(document, style);
    if (!result.ok) {
        page.failure = ReportPage::Failure::TransformFailed;
        page.error = result.error;
        return page;
    }
    page.html = std::move(result.page);
    page.encoding = result.encoding;
    return page;
}

ReportPage WriteReportPage(const xml::XmlDocumentPtr& document, const QString& stylesheetPath,
                           const QString& pagePath, const std::function<bool()>& mayReplace)
{
    ReportPage page;
    const XsltTransformer::Stylesheet style = prepare(document, stylesheetPath, page);
    if (!style)
        return page;
    const XsltTransformer::Output output = XsltTransformer::run(document, style, &page.error);
    if (!output) {
        page.failure = ReportPage::Failure::TransformFailed;
        return page;
    }
    page.encoding = XsltTransformer::encodingOf(style);
    bool empty = false;
    page.written = AtomicFileWriter::write(
        pagePath,
        [&](QIODevice& file) {
            const bool serialized = XsltTransformer::serialize(output, style, file);
            // A stylesheet that writes nothing has made no page: the older one stays.
            empty = serialized && file.size() == 0;
            return serialized && !empty;
        },
        &page.writeError, mayReplace);
    if (empty) {
        page.failure = ReportPage::Failure::TransformFailed;
        page.error = QStringLiteral("the transformation produced nothing");
        page.writeError.clear();
    }
    return page;
}
