#pragma once

#include <QString>
#include <libxml/tree.h>
#include <libxml/xpath.h>
#include <memory>

namespace xml {

// What the last load of a document left behind; code 0 means it loaded cleanly.
struct XmlParseError {
    // Refused before or after parsing, for safety rather than for its syntax.
    enum class Refusal { None, Doctype, TooLarge };

    int code = 0;
    QString reason;
    // The first error the parser met (later ones usually follow from it): its code, its
    // text, and the position of the first error that has one (0 when none has).
    int firstCode = 0;
    QString firstMessage;
    int line = 0;
    int column = 0;
    Refusal refusal = Refusal::None;
    QString declaredEncoding; // as the XML declaration names it
};

// One parsed XML document. Always handed around as a shared handle (XmlDocumentPtr):
// whoever holds the last handle frees it.
class XmlDocument {
public:
    XmlDocument() = default;
    ~XmlDocument();
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    xmlDocPtr handle() const { return doc_; }
    void reset(xmlDocPtr doc);

    // One XPath context per document, made on first use: making one for every lookup
    // costs more than the lookup itself.
    xmlXPathContextPtr xpathContext();

    const XmlParseError& parseError() const { return parseError_; }
    void setParseError(int code, const QString& reason)
    {
        parseError_ = XmlParseError();
        parseError_.code = code;
        parseError_.reason = reason;
    }
    void setParseError(const XmlParseError& error) { parseError_ = error; }

    // The encoding named by the document's XML declaration; what a save writes in.
    QString declaredEncoding() const { return declaredEncoding_; }
    void setDeclaredEncoding(const QString& encoding) { declaredEncoding_ = encoding; }

private:
    xmlDocPtr doc_ = nullptr;
    xmlXPathContextPtr xpathContext_ = nullptr;
    XmlParseError parseError_;
    QString declaredEncoding_;
};

using XmlDocumentPtr = std::shared_ptr<XmlDocument>;

// A node inside a document; it keeps its document alive.
struct XmlNode {
    XmlDocumentPtr document;
    xmlNodePtr node = nullptr;

    bool isNull() const { return node == nullptr; }
};

// The root element (null when the document is empty) and the document node itself.
XmlNode documentElement(const XmlDocumentPtr& document);
XmlNode documentNode(const XmlDocumentPtr& document);

} // namespace xml
