#include "core/PageFunctions.h"

#include "core/BudgetAmount.h"

#include <libxml/xpathInternals.h>
#include <libxslt/extensions.h>

#include <algorithm>

namespace {

// Digits after the point of a parsed amount, as typed ("7." has none).
int decimalsOf(const BudgetAmount::Parsed& parsed)
{
    const qsizetype point = parsed.plainText.indexOf(QLatin1Char('.'));
    return point < 0 ? 0 : static_cast<int>(parsed.plainText.size() - point - 1);
}

QString fromXml(const xmlChar* text)
{
    return text ? QString::fromUtf8(reinterpret_cast<const char*>(text)) : QString();
}

// Every argument as the strings it stands for: each node of a node-set, else its string value.
bool popArguments(xmlXPathParserContextPtr ctxt, int nargs, QStringList* out)
{
    for (int i = 0; i < nargs; ++i) {
        if (xmlXPathStackIsNodeSet(ctxt)) {
            xmlNodeSetPtr nodes = xmlXPathPopNodeSet(ctxt);
            if (xmlXPathCheckError(ctxt)) {
                xmlXPathFreeNodeSet(nodes);
                return false;
            }
            for (int k = 0; nodes && k < nodes->nodeNr; ++k) {
                xmlChar* text = xmlXPathCastNodeToString(nodes->nodeTab[k]);
                out->append(fromXml(text));
                xmlFree(text);
            }
            xmlXPathFreeNodeSet(nodes);
        } else {
            xmlChar* text = xmlXPathPopString(ctxt);
            if (xmlXPathCheckError(ctxt)) {
                xmlFree(text);
                return false;
            }
            out->append(fromXml(text));
            xmlFree(text);
        }
    }
    return true;
}

void pushString(xmlXPathParserContextPtr ctxt, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    valuePush(ctxt, xmlXPathNewString(reinterpret_cast<const xmlChar*>(utf8.constData())));
}

void sumFunction(xmlXPathParserContextPtr ctxt, int nargs)
{
    QStringList values;
    if (popArguments(ctxt, nargs, &values))
        pushString(ctxt, PageFunctions::sum(values));
}

void moneyFunction(xmlXPathParserContextPtr ctxt, int nargs)
{
    QStringList values;
    if (nargs != 1) {
        xmlXPathSetArityError(ctxt);
        return;
    }
    if (popArguments(ctxt, nargs, &values))
        // A node-set argument is its first node, as for XPath's own string functions.
        pushString(ctxt, PageFunctions::money(values.value(0)));
}

void compareFunction(xmlXPathParserContextPtr ctxt, int nargs)
{
    if (nargs != 2) {
        xmlXPathSetArityError(ctxt);
        return;
    }
    xmlChar* second = xmlXPathPopString(ctxt);
    xmlChar* first = xmlXPathPopString(ctxt);
    if (!xmlXPathCheckError(ctxt))
        valuePush(ctxt, xmlXPathNewFloat(PageFunctions::compare(fromXml(first), fromXml(second))));
    xmlFree(first);
    xmlFree(second);
}

void cssStringFunction(xmlXPathParserContextPtr ctxt, int nargs)
{
    if (nargs != 1) {
        xmlXPathSetArityError(ctxt);
        return;
    }
    xmlChar* text = xmlXPathPopString(ctxt);
    if (!xmlXPathCheckError(ctxt))
        pushString(ctxt, PageFunctions::cssString(fromXml(text)));
    xmlFree(text);
}

} // namespace

bool PageFunctions::registerOn(xsltTransformContextPtr context)
{
    const auto* uri = reinterpret_cast<const xmlChar*>(kNamespace);
    const std::pair<const char*, xmlXPathFunction> functions[] = {
        {"sum", sumFunction},
        {"money", moneyFunction},
        {"compare", compareFunction},
        {"css-string", cssStringFunction},
    };
    for (const auto& [name, function] : functions) {
        if (xsltRegisterExtFunction(context, reinterpret_cast<const xmlChar*>(name), uri, function) != 0)
            return false;
    }
    return true;
}

QString PageFunctions::sum(const QStringList& amounts)
{
    BudgetAmount total;
    int decimals = 0;
    for (const QString& text : amounts) {
        if (const auto parsed = BudgetAmount::parse(text)) {
            total += parsed->value;
            decimals = std::max(decimals, decimalsOf(*parsed));
        }
    }
    return total.toDecimalText(decimals);
}

QString PageFunctions::money(const QString& amount)
{
    const auto parsed = BudgetAmount::parse(amount);
    if (!parsed)
        return QStringLiteral("0");
    QString text = parsed->value.toDecimalText(decimalsOf(*parsed));
    const qsizetype signLength = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    qsizetype integerEnd = text.indexOf(QLatin1Char('.'));
    if (integerEnd < 0)
        integerEnd = text.size();
    for (qsizetype at = integerEnd - 3; at > signLength; at -= 3)
        text.insert(at, QLatin1Char(','));
    return text;
}

int PageFunctions::compare(const QString& a, const QString& b)
{
    const auto first = BudgetAmount::parse(a);
    const auto second = BudgetAmount::parse(b);
    const BudgetAmount left = first ? first->value : BudgetAmount();
    const BudgetAmount right = second ? second->value : BudgetAmount();
    return left < right ? -1 : (right < left ? 1 : 0);
}

QString PageFunctions::cssString(const QString& text)
{
    // Every character that could end the string, the rule or the <style> element is
    // written as a hexadecimal escape; the trailing space ends the escape.
    QString out = QStringLiteral("\"");
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'"' || u == u'\\' || u == u'<' || u == u'>' || u == u'&' || u < 0x20 || u == 0x7f)
            out += QStringLiteral("\\%1 ").arg(static_cast<unsigned>(u), 0, 16);
        else
            out += c;
    }
    out += QLatin1Char('"');
    return out;
}
