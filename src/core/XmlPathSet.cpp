#include "core/XmlPathSet.h"

#include "core/XmlDocumentAccess.h"
#include "core/XmlTreeWalk.h"

#include <libxml/tree.h>

#include <array>
#include <cstdint>

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
    const auto view = [](const QByteArray& step) { return std::string_view(step.constData(), size_t(step.size())); };
    for (const XmlTreeWalk::SimplePath& path : simple_) {
        for (size_t step = path.steps.size() >= 2 ? path.steps.size() - 2 : 0; step < path.steps.size(); ++step)
            nameIds_.emplace(view(path.steps[step]), static_cast<int>(nameIds_.size()));
    }
    const size_t names = nameIds_.size();
    byName_.assign(names, -1);
    byParentAndName_.assign(names * names, -1);
    const auto add = [&](int& slot, qsizetype path) {
        if (slot < 0) {
            slot = static_cast<int>(candidates_.size());
            candidates_.emplace_back();
        }
        candidates_[static_cast<size_t>(slot)].push_back(path);
    };
    for (qsizetype i = 0; i < xpaths_.size(); ++i) {
        const std::vector<QByteArray>& steps = simple_[static_cast<size_t>(i)].steps;
        if (steps.size() == 1) {
            add(byName_[static_cast<size_t>(nameId(view(steps.back())))], i);
        } else if (steps.size() > 1) {
            const auto parent = static_cast<size_t>(nameId(view(steps[steps.size() - 2])));
            add(byParentAndName_[parent * names + static_cast<size_t>(nameId(view(steps.back())))], i);
        }
    }
}

int XmlPathSet::nameId(std::string_view name) const
{
    const auto found = nameIds_.find(name);
    return found == nameIds_.end() ? -1 : found->second;
}

std::vector<xmlNodePtr> XmlPathSet::nodes(const xml::XmlNode& context) const
{
    std::vector<xmlNodePtr> found(simple_.size(), nullptr);
    if (context.isNull() || !context.document || !context.document->handle())
        return found;
    for (const qsizetype i : general_)
        found[static_cast<size_t>(i)] = xml::SelectFirstNode(context, xpaths_[i]);
    // One walk in document order: the first element that ends a path is that path's node.
    qsizetype pending = xpaths_.size() - static_cast<qsizetype>(general_.size());
    const auto tryCandidates = [&](xmlNodePtr node, int list) {
        for (const qsizetype i : candidates_[static_cast<size_t>(list)]) {
            xmlNodePtr& slot = found[static_cast<size_t>(i)];
            if (!slot && (slot = XmlTreeWalk::selectedAt(node, simple_[static_cast<size_t>(i)])))
                --pending;
        }
    };
    // A parsed document keeps one copy of each name, so the same name pointer comes back
    // for every repeated element: its number is looked up by its text once.
    struct Seen {
        const xmlChar* name = nullptr;
        int id = -1;
    };
    std::array<Seen, 256> seen{};
    const auto idOf = [&](const xmlChar* name) {
        Seen& entry = seen[(reinterpret_cast<std::uintptr_t>(name) >> 4) % seen.size()];
        if (entry.name != name)
            entry = {name, nameId(reinterpret_cast<const char*>(name))};
        return entry.id;
    };
    const size_t names = nameIds_.size();
    for (xmlNodePtr node = context.document->handle()->children; node && pending > 0; node = nextInDocumentOrder(node)) {
        if (node->type != XML_ELEMENT_NODE || node->ns)
            continue;
        const int id = idOf(node->name);
        if (id < 0)
            continue; // ends no path
        if (const int list = byName_[static_cast<size_t>(id)]; list >= 0)
            tryCandidates(node, list);
        const xmlNodePtr parent = node->parent;
        if (parent && parent->type == XML_ELEMENT_NODE && !parent->ns) {
            if (const int parentId = idOf(parent->name); parentId >= 0) {
                if (const int list = byParentAndName_[static_cast<size_t>(parentId) * names + static_cast<size_t>(id)];
                    list >= 0)
                    tryCandidates(node, list);
            }
        }
    }
    return found;
}

QStringList XmlPathSet::texts(const xml::XmlNode& context) const
{
    QStringList texts;
    texts.reserve(xpaths_.size());
    for (xmlNodePtr node : nodes(context))
        texts.append(XmlTreeWalk::trimmedText(node));
    return texts;
}
