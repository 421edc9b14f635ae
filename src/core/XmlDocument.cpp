#include "core/XmlDocument.h"

namespace xml {

XmlDocument::~XmlDocument()
{
    reset(nullptr);
}

void XmlDocument::reset(xmlDocPtr doc)
{
    if (xpathContext_) {
        xmlXPathFreeContext(xpathContext_);
        xpathContext_ = nullptr;
    }
    if (doc_)
        xmlFreeDoc(doc_);
    doc_ = doc;
}

xmlXPathContextPtr XmlDocument::xpathContext()
{
    if (!xpathContext_ && doc_)
        xpathContext_ = xmlXPathNewContext(doc_);
    return xpathContext_;
}

XmlNode documentElement(const XmlDocumentPtr& document)
{
    if (!document || !document->handle())
        return {document, nullptr};
    return {document, xmlDocGetRootElement(document->handle())};
}

XmlNode documentNode(const XmlDocumentPtr& document)
{
    if (!document || !document->handle())
        return {document, nullptr};
    return {document, reinterpret_cast<xmlNodePtr>(document->handle())};
}

} // namespace xml
