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
    for (qsizetype i = 0; i < xpaths_.size(); ++i) {
        const std::vector<QByteArray>& steps = simple_[static_cast<size_t>(i)].steps;
        if (steps.size() == 1)
            byName_[view(steps.back())].push_back(i);
        else if (steps.size() > 1)
            byParentAndName_[{view(steps[steps.size() - 2]), view(steps.back())}].push_back(i);
    }
}

size_t XmlPathSet::NamePairHash::operator()(const NamePair& names) const noexcept
{
    const std::hash<std::string_view> hash;
    return hash(names.first) * 31 + hash(names.second);
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
    const auto nameOf = [](xmlNodePtr node) { return std::string_view(reinterpret_cast<const char*>(node->name)); };
    const auto tryCandidates = [&](xmlNodePtr node, const std::vector<qsizetype>& candidates) {
        for (const qsizetype i : candidates) {
            xmlNodePtr& slot = found[static_cast<size_t>(i)];
            if (!slot && (slot = XmlTreeWalk::selectedAt(node, simple_[static_cast<size_t>(i)])))
                --pending;
        }
    };
    struct Seen {
        const xmlChar* parentName = nullptr;
        const xmlChar* name = nullptr;
        const std::vector<qsizetype>* candidates = nullptr;
    };
    std::array<Seen, 256> seenPairs{};
    for (xmlNodePtr node = context.document->handle()->children; node && pending > 0; node = nextInDocumentOrder(node)) {
        if (node->type != XML_ELEMENT_NODE || node->ns)
            continue;
        if (!byName_.empty()) {
            if (const auto candidates = byName_.find(nameOf(node)); candidates != byName_.end())
                tryCandidates(node, candidates->second);
        }
        const xmlNodePtr parent = node->parent;
        if (parent && parent->type == XML_ELEMENT_NODE && !parent->ns) {
            // A parsed document keeps one copy of each name, so the same pair of name
            // pointers comes back for every repeated element: remember what it found.
            const auto key = reinterpret_cast<std::uintptr_t>(parent->name) * 31 + reinterpret_cast<std::uintptr_t>(node->name);
            Seen& seen = seenPairs[(key >> 4) % seenPairs.size()];
            if (seen.parentName != parent->name || seen.name != node->name) {
                const auto found = byParentAndName_.find({nameOf(parent), nameOf(node)});
                seen = {parent->name, node->name, found == byParentAndName_.end() ? nullptr : &found->second};
            }
            if (seen.candidates)
                tryCandidates(node, *seen.candidates);
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
