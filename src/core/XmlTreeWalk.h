#pragma once

#include <QByteArray>
#include <QString>

#include <libxml/tree.h>

#include <cstring>
#include <optional>
#include <vector>

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

// A path of the form every field uses, "//A/B/C" with an optional "/@d": looked up by
// walking the tree in document order and stopping at the first match, where a general
// XPath evaluation would visit the whole document for every field.
struct SimplePath {
    std::vector<QByteArray> steps; // element names, outermost first
    QByteArray attribute;          // empty: the element itself
};

// Null when the path is not of that form.
std::optional<SimplePath> parseSimplePath(const QString& xpath);

// What the path selects at this node: the node itself, its attribute, or null when the
// node does not end the path.
inline xmlNodePtr selectedAt(xmlNodePtr node, const SimplePath& path)
{
    if (!node || node->type != XML_ELEMENT_NODE)
        return nullptr;
    // The element's ancestors, nearest first, carry the earlier steps of the path.
    xmlNodePtr step = node;
    for (auto name = path.steps.rbegin(); name != path.steps.rend(); ++name, step = step ? step->parent : nullptr) {
        if (!isElementNamed(step, *name))
            return nullptr;
    }
    if (path.attribute.isEmpty())
        return node;
    for (xmlAttrPtr attr = node->properties; attr; attr = attr->next) {
        if (!attr->ns && std::strcmp(reinterpret_cast<const char*>(attr->name), path.attribute.constData()) == 0)
            return reinterpret_cast<xmlNodePtr>(attr);
    }
    return nullptr;
}

// The node's text with spaces trimmed at both ends, every other character kept (a U+FEFF
// at its start included).
QString trimmedText(xmlNodePtr node);

} // namespace XmlTreeWalk
