#pragma once

#include <QByteArray>
#include <QString>

#include <libxml/tree.h>

#include <cstring>

// Small steps over a libxml2 tree that the path lookups share.
namespace XmlTreeWalk {

// An element without a namespace and with this name.
inline bool isElementNamed(xmlNodePtr node, const QByteArray& name)
{
    return node && node->type == XML_ELEMENT_NODE && !node->ns
        && std::strcmp(reinterpret_cast<const char*>(node->name), name.constData()) == 0;
}

inline xmlNodePtr nextInDocumentOrder(xmlNodePtr node)
{
    if (node->type == XML_ELEMENT_NODE && node->children)
        return node->children;
    while (node && !node->next)
        node = node->parent && node->parent->type != XML_DOCUMENT_NODE ? node->parent : nullptr;
    return node ? node->next : nullptr;
}

// The node's text with spaces trimmed at both ends, every other character kept (a U+FEFF
// at its start included).
QString trimmedText(xmlNodePtr node);

} // namespace XmlTreeWalk
