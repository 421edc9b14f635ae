#include "core/XmlTreeWalk.h"

#include "core/XmlDocumentAccess.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <memory>

namespace XmlTreeWalk {

namespace {
struct XmlFree {
    void operator()(xmlChar* text) const { xmlFree(text); }
};
} // namespace

std::optional<SimplePath> parseSimplePath(const QString& xpath)
{
    static const QRegularExpression form(
        QStringLiteral("^//([A-Za-z_][A-Za-z0-9_.-]*(?:/[A-Za-z_][A-Za-z0-9_.-]*)*)(?:/@([A-Za-z_][A-Za-z0-9_.-]*))?$"));
    const auto match = form.match(xpath);
    if (!match.hasMatch())
        return std::nullopt;
    SimplePath path;
    for (const QString& step : match.captured(1).split(QLatin1Char('/')))
        path.steps.push_back(step.toUtf8());
    path.attribute = match.captured(2).toUtf8();
    return path;
}

QString trimmedText(xmlNodePtr node)
{
    if (!node)
        return {};
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
        return xml::TrimSpaces(QString::fromUtf8(utf8));
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return xml::TrimSpaces(decoder(QByteArrayView(utf8)));
}

} // namespace XmlTreeWalk
