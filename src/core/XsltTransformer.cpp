#include "core/XsltTransformer.h"

#include "core/PageFunctions.h"
#include "core/ByteArraySink.h"
#include "core/XmlErrorCapture.h"

#include <libxml/parser.h>
#include <libxslt/documents.h>
#include <libxslt/imports.h>
#include <libxslt/security.h>
#include <libxslt/transform.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

#include <QIODevice>

#include <memory>

namespace {

struct StylesheetDeleter { void operator()(xsltStylesheetPtr p) const { xsltFreeStylesheet(p); } };
struct DocDeleter { void operator()(xmlDocPtr p) const { xmlFreeDoc(p); } };
struct ContextDeleter { void operator()(xsltTransformContextPtr p) const { xsltFreeTransformContext(p); } };
struct PrefsDeleter { void operator()(xsltSecurityPrefsPtr p) const { xsltFreeSecurityPrefs(p); } };

// libxslt's own loader, kept when ours replaces it.
xsltDocLoaderFunc& defaultLoader()
{
    static xsltDocLoaderFunc loader = nullptr;
    return loader;
}

// document() goes through here: never entities, DTDs or the network.
xmlDocPtr safeLoader(const xmlChar* uri, xmlDictPtr dict, int options, void* ctxt, xsltLoadType type)
{
    options &= ~(XML_PARSE_NOENT | XML_PARSE_DTDLOAD | XML_PARSE_DTDATTR | XML_PARSE_DTDVALID | XML_PARSE_XINCLUDE);
    options |= XML_PARSE_NONET;
    xmlDocPtr doc = defaultLoader()(uri, dict, options, ctxt, type);
    if (doc && xmlGetIntSubset(doc)) {
        xmlFreeDoc(doc);
        return nullptr;
    }
    return doc;
}

void installLoaderOnce()
{
    static const bool installed = [] {
        defaultLoader() = xsltDocDefaultLoader;
        xsltSetLoaderFunc(safeLoader);
        return true;
    }();
    (void)installed;
}

std::unique_ptr<xsltSecurityPrefs, PrefsDeleter> restrictivePrefs()
{
    std::unique_ptr<xsltSecurityPrefs, PrefsDeleter> prefs(xsltNewSecurityPrefs());
    if (!prefs)
        return prefs;
    xsltSetSecurityPrefs(prefs.get(), XSLT_SECPREF_WRITE_FILE, xsltSecurityForbid);
    xsltSetSecurityPrefs(prefs.get(), XSLT_SECPREF_CREATE_DIRECTORY, xsltSecurityForbid);
    xsltSetSecurityPrefs(prefs.get(), XSLT_SECPREF_READ_NETWORK, xsltSecurityForbid);
    xsltSetSecurityPrefs(prefs.get(), XSLT_SECPREF_WRITE_NETWORK, xsltSecurityForbid);
    return prefs;
}

} // namespace

XsltTransformer::Stylesheet XsltTransformer::compile(const xml::XmlDocumentPtr& stylesheet, QString* error)
{
    const auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return Stylesheet();
    };
    if (!stylesheet || !stylesheet->handle())
        return fail(QStringLiteral("no document or no stylesheet"));
    installLoaderOnce();
    XmlErrorCapture errors;

    // Compiling takes ownership of the document it is given, so it gets a copy.
    xmlDocPtr styleCopy = xmlCopyDoc(stylesheet->handle(), 1);
    if (!styleCopy)
        return fail(QStringLiteral("out of memory"));
    Stylesheet style(xsltParseStylesheetDoc(styleCopy), StylesheetDeleter());
    if (!style) {
        xmlFreeDoc(styleCopy);
        return fail(errors.count() ? errors.firstMessage() : QStringLiteral("the stylesheet does not compile"));
    }
    // An unknown instruction compiles without raising the error count; the callback saw it.
    if (style->errors > 0 || errors.count() > 0)
        return fail(errors.count() ? errors.firstMessage() : QStringLiteral("the stylesheet has errors"));
    return style;
}

XsltTransformer::Output XsltTransformer::run(const xml::XmlDocumentPtr& document, const Stylesheet& style,
                                             QString* error)
{
    const auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return Output();
    };
    if (!document || !document->handle() || !style)
        return fail(QStringLiteral("no document or no stylesheet"));
    installLoaderOnce();
    XmlErrorCapture errors;

    auto prefs = restrictivePrefs();
    std::unique_ptr<xsltTransformContext, ContextDeleter> ctxt(
        xsltNewTransformContext(style.get(), document->handle()));
    // The page functions only compute on the values they are given; the prefs still bind the rest.
    if (!prefs || !ctxt || xsltSetCtxtSecurityPrefs(prefs.get(), ctxt.get()) != 0
        || !PageFunctions::registerOn(ctxt.get()))
        return fail(QStringLiteral("cannot set up the transformation"));
    Output output(xsltApplyStylesheetUser(style.get(), document->handle(), nullptr, nullptr, nullptr, ctxt.get()),
                  DocDeleter());
    if (!output || ctxt->state != XSLT_STATE_OK)
        return fail(errors.count() ? errors.firstMessage() : QStringLiteral("the transformation failed"));
    return output;
}

namespace {

int writeToDevice(void* context, const char* buffer, int length)
{
    return static_cast<QIODevice*>(context)->write(buffer, length) == length ? length : -1;
}

// Serialises the result tree in the stylesheet's output encoding through `write`, straight
// into its destination: a page with a long text is megabytes, and a string from libxslt
// would exist twice before it reached a file.
bool serializeThrough(xmlOutputWriteCallback write, void* context, xmlDocPtr output, xsltStylesheetPtr style)
{
    const xmlChar* encoding = nullptr;
    XSLT_GET_IMPORT_PTR(encoding, style, encoding)
    xmlCharEncodingHandlerPtr encoder = encoding ? xmlFindCharEncodingHandler(reinterpret_cast<const char*>(encoding)) : nullptr;
    if (encoder && xmlStrEqual(reinterpret_cast<const xmlChar*>(encoder->name), reinterpret_cast<const xmlChar*>("UTF-8")))
        encoder = nullptr;
    xmlOutputBufferPtr sink = xmlOutputBufferCreateIO(write, nullptr, context, encoder);
    if (!sink)
        return false;
    const bool saved = xsltSaveResultTo(sink, output, style) >= 0;
    return xmlOutputBufferClose(sink) >= 0 && saved;
}

} // namespace

bool XsltTransformer::serialize(const Output& output, const Stylesheet& style, QIODevice& device)
{
    return output && style && serializeThrough(writeToDevice, &device, output.get(), style.get());
}

QString XsltTransformer::encodingOf(const Stylesheet& style)
{
    return style && style->encoding ? QString::fromUtf8(reinterpret_cast<const char*>(style->encoding))
                                    : QStringLiteral("UTF-8");
}

XsltTransformer::Result XsltTransformer::apply(const xml::XmlDocumentPtr& document, const Stylesheet& style)
{
    Result result;
    Output output = run(document, style, &result.error);
    if (!output)
        return result;
    if (!serializeThrough(appendToByteArray, &result.page, output.get(), style.get())) {
        result.page.clear();
        result.error = QStringLiteral("cannot serialise the result");
        return result;
    }
    output.reset();
    result.encoding = encodingOf(style);
    result.ok = !result.page.isEmpty();
    if (!result.ok)
        result.error = QStringLiteral("the transformation produced nothing");
    return result;
}

XsltTransformer::Result XsltTransformer::transform(const xml::XmlDocumentPtr& document,
                                                   const xml::XmlDocumentPtr& stylesheet)
{
    Result result;
    if (!document || !document->handle() || !stylesheet || !stylesheet->handle()) {
        result.error = QStringLiteral("no document or no stylesheet");
        return result;
    }
    const Stylesheet style = compile(stylesheet, &result.error);
    return style ? apply(document, style) : result;
}
