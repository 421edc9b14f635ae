#include "core/XsltTransformer.h"

#include "core/XmlErrorCapture.h"

#include <libxml/parser.h>
#include <libxslt/documents.h>
#include <libxslt/security.h>
#include <libxslt/transform.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

#include <memory>

namespace {

struct StylesheetDeleter { void operator()(xsltStylesheetPtr p) const { xsltFreeStylesheet(p); } };
struct DocDeleter { void operator()(xmlDocPtr p) const { xmlFreeDoc(p); } };
struct ContextDeleter { void operator()(xsltTransformContextPtr p) const { xsltFreeTransformContext(p); } };
struct PrefsDeleter { void operator()(xsltSecurityPrefsPtr p) const { xsltFreeSecurityPrefs(p); } };
struct XmlCharDeleter { void operator()(xmlChar* p) const { xmlFree(p); } };

xsltDocLoaderFunc defaultLoader = nullptr;

// document() goes through here: never entities, DTDs or the network.
xmlDocPtr safeLoader(const xmlChar* uri, xmlDictPtr dict, int options, void* ctxt, xsltLoadType type)
{
    options &= ~(XML_PARSE_NOENT | XML_PARSE_DTDLOAD | XML_PARSE_DTDATTR | XML_PARSE_DTDVALID | XML_PARSE_XINCLUDE);
    options |= XML_PARSE_NONET;
    xmlDocPtr doc = defaultLoader(uri, dict, options, ctxt, type);
    if (doc && xmlGetIntSubset(doc)) {
        xmlFreeDoc(doc);
        return nullptr;
    }
    return doc;
}

void installLoaderOnce()
{
    static const bool installed = [] {
        defaultLoader = xsltDocDefaultLoader;
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

XsltTransformer::Result XsltTransformer::transform(const Module1::XmlDocumentPtr& document,
                                                   const Module1::XmlDocumentPtr& stylesheet)
{
    Result result;
    if (!document || !document->handle() || !stylesheet || !stylesheet->handle()) {
        result.error = QStringLiteral("no document or no stylesheet");
        return result;
    }
    installLoaderOnce();
    XmlErrorCapture errors;

    // Compiling takes ownership of the document it is given, so it gets a copy.
    xmlDocPtr styleCopy = xmlCopyDoc(stylesheet->handle(), 1);
    if (!styleCopy) {
        result.error = QStringLiteral("out of memory");
        return result;
    }
    std::unique_ptr<xsltStylesheet, StylesheetDeleter> style(xsltParseStylesheetDoc(styleCopy));
    if (!style) {
        xmlFreeDoc(styleCopy);
        result.error = errors.count() ? errors.firstMessage() : QStringLiteral("the stylesheet does not compile");
        return result;
    }
    // An unknown instruction compiles without raising the error count; the callback saw it.
    if (style->errors > 0 || errors.count() > 0) {
        result.error = errors.count() ? errors.firstMessage() : QStringLiteral("the stylesheet has errors");
        return result;
    }

    auto prefs = restrictivePrefs();
    std::unique_ptr<xsltTransformContext, ContextDeleter> ctxt(
        xsltNewTransformContext(style.get(), document->handle()));
    if (!prefs || !ctxt || xsltSetCtxtSecurityPrefs(prefs.get(), ctxt.get()) != 0) {
        result.error = QStringLiteral("cannot set up the transformation");
        return result;
    }
    std::unique_ptr<xmlDoc, DocDeleter> output(
        xsltApplyStylesheetUser(style.get(), document->handle(), nullptr, nullptr, nullptr, ctxt.get()));
    if (!output || ctxt->state != XSLT_STATE_OK) {
        result.error = errors.count() ? errors.firstMessage() : QStringLiteral("the transformation failed");
        return result;
    }

    xmlChar* text = nullptr;
    int length = 0;
    if (xsltSaveResultToString(&text, &length, output.get(), style.get()) != 0) {
        result.error = QStringLiteral("cannot serialise the result");
        return result;
    }
    std::unique_ptr<xmlChar, XmlCharDeleter> owner(text);
    result.page = text ? QByteArray(reinterpret_cast<const char*>(text), length) : QByteArray();
    result.encoding = style->encoding ? QString::fromUtf8(reinterpret_cast<const char*>(style->encoding))
                                      : QStringLiteral("UTF-8");
    result.ok = !result.page.isEmpty();
    if (!result.ok)
        result.error = QStringLiteral("the transformation produced nothing");
    return result;
}
