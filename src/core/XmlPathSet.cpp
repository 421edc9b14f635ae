#include "core/XmlPathSet.h"

#include "core/XmlDocumentAccess.h"
#include "core/XmlTreeWalk.h"

#include <libxml/tree.h>

using XmlTreeWalk::nextInDocumentOrder;

XmlPathSet::XmlPathSet(QStringList xpaths) : xpaths_(std::move(xpaths)), simple_(static_cast<size_t>(xpaths_.size()))
{
    for (qsizetype i = 0; i < xpaths_.size(); ++i) {
        if (auto path = XmlTreeWalk::parseSimplePath(xpaths_[i]))
            simple_[static_cast<size_t>(i)] = std::move(*path);
        else
            general_.push_back(i);
    }
    // Keys point into the steps, which stay where they are from here on.
    for (qsizetype i = 0; i < xpaths_.size(); ++i) {
        const XmlTreeWalk::SimplePath& path = simple_[static_cast<size_t>(i)];
        if (!path.steps.empty())
            byLastStep_[std::string_view(path.steps.back().constData(), size_t(path.steps.back().size()))].push_back(i);
    }
}

std::vector<xmlNodePtr> XmlPathSet::nodes(const Module1::XmlNode& context) const
{
    std::vector<xmlNodePtr> found(simple_.size(), nullptr);
    if (context.isNull() || !context.document || !context.document->handle())
        return found;
    for (const qsizetype i : general_)
        found[static_cast<size_t>(i)] = Module1::SelectFirstNode(context, xpaths_[i]);
    // One walk in document order: the first element that ends a path is that path's node.
    qsizetype pending = xpaths_.size() - static_cast<qsizetype>(general_.size());
    for (xmlNodePtr node = context.document->handle()->children; node && pending > 0; node = nextInDocumentOrder(node)) {
        if (node->type != XML_ELEMENT_NODE || node->ns)
            continue;
        const auto candidates = byLastStep_.find(std::string_view(reinterpret_cast<const char*>(node->name)));
        if (candidates == byLastStep_.end())
            continue;
        for (const qsizetype i : candidates->second) {
            xmlNodePtr& slot = found[static_cast<size_t>(i)];
            if (!slot && (slot = XmlTreeWalk::selectedAt(node, simple_[static_cast<size_t>(i)])))
                --pending;
        }
    }
    return found;
}

QStringList XmlPathSet::texts(const Module1::XmlNode& context) const
{
    QStringList texts;
    texts.reserve(xpaths_.size());
    for (xmlNodePtr node : nodes(context))
        texts.append(XmlTreeWalk::trimmedText(node));
    return texts;
}
