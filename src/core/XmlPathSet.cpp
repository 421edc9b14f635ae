#include "core/XmlPathSet.h"

#include "core/XmlDocumentAccess.h"
#include "core/XmlTreeWalk.h"

#include <QRegularExpression>

#include <cstring>

#include <libxml/tree.h>

using XmlTreeWalk::isElementNamed;
using XmlTreeWalk::nextInDocumentOrder;

XmlPathSet::XmlPathSet(QStringList xpaths) : xpaths_(std::move(xpaths)), simple_(static_cast<size_t>(xpaths_.size()))
{
    static const QRegularExpression form(
        QStringLiteral("^//([A-Za-z_][A-Za-z0-9_.-]*(?:/[A-Za-z_][A-Za-z0-9_.-]*)*)(?:/@([A-Za-z_][A-Za-z0-9_.-]*))?$"));
    for (qsizetype i = 0; i < xpaths_.size(); ++i) {
        const auto match = form.match(xpaths_[i]);
        if (!match.hasMatch()) {
            general_.push_back(i);
            continue;
        }
        SimplePath& path = simple_[static_cast<size_t>(i)];
        for (const QString& step : match.captured(1).split(QLatin1Char('/')))
            path.steps.push_back(step.toUtf8());
        path.attribute = match.captured(2).toUtf8();
    }
    // Keys point into the steps, which stay where they are from here on.
    for (qsizetype i = 0; i < xpaths_.size(); ++i) {
        const SimplePath& path = simple_[static_cast<size_t>(i)];
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
            const SimplePath& path = simple_[static_cast<size_t>(i)];
            xmlNodePtr& slot = found[static_cast<size_t>(i)];
            if (slot)
                continue;
            // The element's ancestors, nearest first, carry the earlier steps.
            xmlNodePtr step = node;
            bool ends = true;
            for (auto name = path.steps.rbegin(); ends && name != path.steps.rend(); ++name, step = step ? step->parent : nullptr)
                ends = isElementNamed(step, *name);
            if (!ends)
                continue;
            if (path.attribute.isEmpty()) {
                slot = node;
                --pending;
                continue;
            }
            for (xmlAttrPtr attr = node->properties; attr; attr = attr->next) {
                if (!attr->ns && std::strcmp(reinterpret_cast<const char*>(attr->name), path.attribute.constData()) == 0) {
                    slot = reinterpret_cast<xmlNodePtr>(attr);
                    --pending;
                    break;
                }
            }
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
