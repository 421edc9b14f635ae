#include "core/XmlPathSet.h"

#include "core/XmlDocumentAccess.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <cstring>
#include <memory>

#include <libxml/tree.h>

namespace {

struct XmlFree {
    void operator()(xmlChar* text) const { xmlFree(text); }
};

bool named(xmlNodePtr node, const QByteArray& name)
{
    return node && node->type == XML_ELEMENT_NODE && !node->ns
        && std::strcmp(reinterpret_cast<const char*>(node->name), name.constData()) == 0;
}

xmlNodePtr nextInDocumentOrder(xmlNodePtr node)
{
    if (node->type == XML_ELEMENT_NODE && node->children)
        return node->children;
    while (node && !node->next)
        node = node->parent && node->parent->type != XML_DOCUMENT_NODE ? node->parent : nullptr;
    return node ? node->next : nullptr;
}

// Every character a value holds, a U+FEFF at its start included.
QString nodeText(xmlNodePtr node)
{
    // An element holding one text is read in place; anything else is gathered by libxml2.
    std::unique_ptr<xmlChar, XmlFree> content;
    const xmlChar* text = nullptr;
    if (node->type == XML_ELEMENT_NODE && node->children && node->children == node->last
        && node->children->type == XML_TEXT_NODE) {
        text = node->children->content;
    } else {
        content.reset(xmlNodeGetContent(node));
        text = content.get();
    }
    if (!text)
        return {};
    const auto* utf8 = reinterpret_cast<const char*>(text);
    // QString::fromUtf8 would drop a byte-order mark at the start; without one it is the same.
    if (std::strncmp(utf8, "\xEF\xBB\xBF", 3) != 0)
        return Module1::TrimSpaces(QString::fromUtf8(utf8));
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return Module1::TrimSpaces(decoder(QByteArrayView(utf8)));
}

} // namespace

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

QStringList XmlPathSet::texts(const Module1::XmlNode& context) const
{
    QStringList texts(xpaths_.size());
    if (context.isNull() || !context.document || !context.document->handle())
        return texts;
    for (const qsizetype i : general_)
        texts[i] = Module1::GetNodeText(context, xpaths_[i]);
    // One walk in document order: the first element that ends a path is that path's node.
    std::vector<xmlNodePtr> found(simple_.size(), nullptr);
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
                ends = named(step, *name);
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
    for (size_t i = 0; i < found.size(); ++i) {
        if (found[i])
            texts[static_cast<qsizetype>(i)] = nodeText(found[i]);
    }
    return texts;
}
