// Document access: loading, saving and the XPath node operations.
#include "core/XmlDocumentAccess.h"

#include "core/AtomicFileWriter.h"
#include "core/ByteArraySink.h"
#include "core/XmlErrorCapture.h"
#include "core/XmlPathSet.h"
#include "core/XmlTreeWalk.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <libxml/parser.h>
#include <libxml/xmlsave.h>
#include <libxml/xpath.h>

namespace xml {

namespace {

// Never load DTDs, external entities or anything from the network.
constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_COMPACT;


struct ParserContextDeleter { void operator()(xmlParserCtxtPtr p) const { xmlFreeParserCtxt(p); } };
struct XPathObjectDeleter { void operator()(xmlXPathObjectPtr p) const { xmlXPathFreeObject(p); } };
struct XmlCharDeleter { void operator()(xmlChar* p) const { xmlFree(p); } };
// The encoding label of the XML declaration at the start of the bytes, if any.
QString declaredEncodingOf(const QByteArray& bytes)
{
    // "<?xml" followed by a blank: a processing instruction such as "<?xmlfoo" is no declaration.
    if (!bytes.startsWith("<?xml") || bytes.size() < 6 || !QChar::isSpace(static_cast<uchar>(bytes.at(5))))
        return {};
    const qsizetype end = bytes.indexOf("?>");
    if (end < 0)
        return {};
    static const QRegularExpression encoding(QStringLiteral("encoding\\s*=\\s*[\"']([A-Za-z0-9._:-]+)[\"']"));
    const auto match = encoding.match(QString::fromLatin1(bytes.left(end)));
    return match.hasMatch() ? match.captured(1) : QString();
}

// Files labelled GB2312 very often hold GBK bytes; GB18030 reads both.
bool readAsGb18030(const QString& label)
{
    const QString l = label.toUpper();
    return l == QLatin1String("GB2312") || l == QLatin1String("GBK") || l == QLatin1String("EUC-CN")
        || l == QLatin1String("CP936");
}

QString fromXmlChar(const xmlChar* text)
{
    if (!text)
        return {};
    // QString::fromUtf8 would drop a U+FEFF at the start of a value as if it were a
    // byte-order mark; a value keeps every character it holds.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder(QByteArrayView(reinterpret_cast<const char*>(text)));
}

using XmlTreeWalk::SimplePath;

xmlNodePtr firstInDocumentOrder(xmlDocPtr doc, const SimplePath& path)
{
    for (xmlNodePtr node = doc->children; node; node = XmlTreeWalk::nextInDocumentOrder(node)) {
        if (xmlNodePtr selected = XmlTreeWalk::selectedAt(node, path))
            return selected;
    }
    return nullptr;
}

// Each XPath is parsed or compiled once; a path that does not compile is remembered as such.
struct CompiledPath {
    std::optional<SimplePath> simple;
    xmlXPathCompExprPtr general = nullptr;
};

class CompiledPathCache {
public:
    ~CompiledPathCache() { clear(); }

    const CompiledPath& get(const QString& xpath)
    {
        if (const auto found = paths_.find(xpath); found != paths_.end())
            return found->second;
        if (paths_.size() >= 4096)
            clear();
        CompiledPath compiled;
        compiled.simple = XmlTreeWalk::parseSimplePath(xpath);
        if (!compiled.simple) {
            XmlErrorCapture quiet;
            const QByteArray expr = xpath.toUtf8();
            compiled.general = xmlXPathCompile(reinterpret_cast<const xmlChar*>(expr.constData()));
        }
        return paths_.emplace(xpath, std::move(compiled)).first->second;
    }

private:
    void clear()
    {
        for (auto& entry : paths_)
            xmlXPathFreeCompExpr(entry.second.general);
        paths_.clear();
    }

    std::unordered_map<QString, CompiledPath> paths_;
};

const CompiledPath& compiledXPath(const QString& xpath)
{
    // Per thread: batch checks read documents on several threads at once.
    static thread_local CompiledPathCache cache;
    return cache.get(xpath);
}

xmlNodePtr selectFirst(const XmlNode& context, const QString& xpath)
{
    if (context.isNull() || !context.document || !context.document->handle())
        return nullptr;
    const CompiledPath& compiled = compiledXPath(xpath);
    if (compiled.simple)
        return firstInDocumentOrder(context.document->handle(), *compiled.simple);
    xmlXPathContextPtr ctx = context.document->xpathContext();
    if (!compiled.general || !ctx)
        return nullptr;
    XmlErrorCapture quiet;
    ctx->node = context.node;
    std::unique_ptr<xmlXPathObject, XPathObjectDeleter> result(xmlXPathCompiledEval(compiled.general, ctx));
    if (!result || result->type != XPATH_NODESET || !result->nodesetval || result->nodesetval->nodeNr < 1)
        return nullptr;
    return result->nodesetval->nodeTab[0];
}

// The failure as the parser left it: its last error for the windows' texts, its first
// error and position for a reader who wants the cause.
XmlParseError failureOf(xmlParserCtxtPtr ctxt, const XmlErrorCapture& errors, const QString& declared)
{
    const xmlError* err = &ctxt->lastError;
    XmlParseError failure;
    failure.code = err->code ? err->code : -1;
    failure.reason = err->message ? QString::fromUtf8(err->message).trimmed() : errors.firstMessage();
    failure.firstCode = errors.firstError().code ? errors.firstError().code : err->code;
    failure.firstMessage = errors.firstError().code ? errors.firstError().message : failure.reason;
    failure.line = errors.firstPlacedError().code ? errors.firstPlacedError().line : err->line;
    failure.column = errors.firstPlacedError().code ? errors.firstPlacedError().column : err->int2;
    failure.declaredEncoding = declared;
    return failure;
}

void refuse(XmlDocument& document, XmlParseError::Refusal refusal)
{
    XmlParseError error = document.parseError();
    error.refusal = refusal;
    document.setParseError(error);
}

void parseInto(XmlDocument& document, const QByteArray& bytes, const QString& name)
{
    XmlErrorCapture errors;
    std::unique_ptr<xmlParserCtxt, ParserContextDeleter> ctxt(xmlNewParserCtxt());
    if (!ctxt) {
        document.setParseError(-1, QStringLiteral("out of memory"));
        return;
    }
    if (bytes.size() > kMaxDocumentBytes) {
        document.setParseError(-1, QStringLiteral("document too large"));
        refuse(document, XmlParseError::Refusal::TooLarge);
        return;
    }
    const QString declared = declaredEncodingOf(bytes);
    int options = kParseOptions;
    const char* override = nullptr;
    if (readAsGb18030(declared)) {
        override = "GB18030";
        options |= XML_PARSE_IGNORE_ENC;
    }
    const QByteArray url = name.toUtf8();
    xmlDocPtr doc = xmlCtxtReadMemory(ctxt.get(), bytes.constData(), static_cast<int>(bytes.size()),
                                      url.constData(), override, options);
    document.reset(doc);
    if (!doc) {
        document.setParseError(failureOf(ctxt.get(), errors, declared));
        return;
    }
    // No document of ours has a DOCTYPE; one that does may carry entity bombs or
    // external entities, so it does not count as loaded.
    if (xmlGetIntSubset(doc)) {
        document.reset(nullptr);
        document.setParseError(XML_ERR_ENTITY_BOUNDARY, QStringLiteral("DOCTYPE not allowed"));
        refuse(document, XmlParseError::Refusal::Doctype);
        return;
    }
    if (!ctxt->nsWellFormed) {
        document.setParseError(failureOf(ctxt.get(), errors, declared));
        return;
    }
    // Saved again in the encoding its declaration names: as libxml2 read it, or the GB2312
    // label itself when the bytes were read as GB18030.
    if (override)
        document.setDeclaredEncoding(declared);
    else if (doc->encoding)
        document.setDeclaredEncoding(fromXmlChar(doc->encoding));
}

// Characters XML 1.0 does not allow (control characters other than tab and line breaks,
// U+FFFE, U+FFFF, unpaired surrogates) would be written and then make the saved file
// unreadable; they are invisible anyway, so they are left out.
bool isXmlCharacterAt(const QString& text, qsizetype i)
{
    const QChar c = text.at(i);
    const char16_t u = c.unicode();
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
        return true;
    if (c.isLowSurrogate() && i > 0 && text.at(i - 1).isHighSurrogate())
        return true;
    if (c.isSurrogate() || u == 0xFFFE || u == 0xFFFF)
        return false;
    return u >= 0x20 || u == u'\t' || u == u'\n' || u == u'\r';
}

QString withoutNonXmlCharacters(const QString& text)
{
    // Almost every text is clean: it is then shared, not copied (a long text is megabytes).
    qsizetype first = 0;
    while (first < text.size() && isXmlCharacterAt(text, first))
        ++first;
    if (first == text.size())
        return text;
    QString result;
    result.reserve(text.size());
    result.append(QStringView(text).left(first));
    for (qsizetype i = first; i < text.size(); ++i) {
        if (isXmlCharacterAt(text, i))
            result.append(text.at(i));
    }
    return result;
}

bool isUtf16Or32(const QString& encoding)
{
    const QString e = encoding.toUpper();
    return e.startsWith(QLatin1String("UTF-16")) || e.startsWith(QLatin1String("UTF-32"))
        || e.startsWith(QLatin1String("UCS"));
}

} // namespace

QChar folderSeparator()
{
#ifdef Q_OS_WIN
    return QLatin1Char('\\');
#else
    return QLatin1Char('/');
#endif
}

QString TrimSpaces(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

XmlDocumentPtr ReadXmlDocument(const QString& fileName, QString& errorText)
{
    errorText.clear();
    auto document = std::make_shared<XmlDocument>();
    if (fileName.isEmpty()) {
        errorText = QStringLiteral("无效文件名");
        return document;
    }
    QFile file(fileName);
    if (!QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadOnly) || file.size() > kMaxDocumentBytes) {
        document->setParseError(-1, file.errorString());
        if (file.isOpen())
            refuse(*document, XmlParseError::Refusal::TooLarge);
        errorText = QStringLiteral("无法打开指定文件") + fileName;
        return document;
    }
    const QByteArray bytes = file.readAll();
    parseInto(*document, bytes, fileName);
    if (!document->handle()) {
        errorText = QStringLiteral("无法打开指定文件") + fileName;
    } else if (document->parseError().code != 0) {
        errorText = QStringLiteral("文件格式错误:") + fileName + QStringLiteral("\\n") + document->parseError().reason;
    }
    return document;
}

XmlDocumentPtr ParseXmlBytes(const QByteArray& text, const QString& nameForMessages, QString& errorText)
{
    errorText.clear();
    auto document = std::make_shared<XmlDocument>();
    parseInto(*document, text, nameForMessages);
    if (!document->handle())
        errorText = QStringLiteral("无法打开指定文件") + nameForMessages;
    else if (document->parseError().code != 0)
        errorText = QStringLiteral("文件格式错误:") + nameForMessages + QStringLiteral("\\n") + document->parseError().reason;
    return document;
}

QByteArray SerializeXmlDocument(const XmlDocumentPtr& document)
{
    if (!document || !document->handle())
        return {};
    xmlDocPtr doc = document->handle();
    const QString declared = document->declaredEncoding();
    const QByteArray encoding = (declared.isEmpty() ? QStringLiteral("UTF-8") : declared).toLatin1();

    if (isUtf16Or32(declared)) {
        xmlChar* mem = nullptr;
        int size = 0;
        xmlDocDumpMemoryEnc(doc, &mem, &size, encoding.constData());
        std::unique_ptr<xmlChar, XmlCharDeleter> owner(mem);
        return mem ? QByteArray(reinterpret_cast<const char*>(mem), size) : QByteArray();
    }

    // Written by hand so the declaration is followed directly by the root, as the
    // settings template stands: no line breaks are added anywhere.
    QByteArray out = "<?xml version=\"";
    out += doc->version ? reinterpret_cast<const char*>(doc->version) : "1.0";
    out += '"';
    if (!declared.isEmpty())
        out += " encoding=\"" + encoding + '"';
    if (doc->standalone == 1)
        out += " standalone=\"yes\"";
    else if (doc->standalone == 0)
        out += " standalone=\"no\"";
    out += "?>";

    // Saved straight after the declaration: a report with a long text is megabytes, which
    // a buffer of libxml2's own would hold a second time.
    xmlSaveCtxtPtr save = xmlSaveToIO(appendToByteArray, nullptr, &out, encoding.constData(),
                                      XML_SAVE_NO_DECL | XML_SAVE_AS_XML);
    if (!save)
        return {};
    bool first = true;
    for (xmlNodePtr child = doc->children; child; child = child->next) {
        if (child->type == XML_DTD_NODE)
            continue;
        if (!first)
            out += '\n';
        xmlSaveTree(save, child);
        xmlSaveFlush(save);
        first = false;
    }
    if (xmlSaveClose(save) < 0)
        return {};
    return out;
}

bool WriteXmlDocument(const XmlDocumentPtr& document, const QString& fileName, QString& errorText)
{
    errorText.clear();
    if (fileName.isEmpty()) {
        errorText = QStringLiteral("未指定待保存得文件名");
        return false;
    }
    // A document whose own load failed holds nothing worth writing: never let it
    // replace a good file.
    if (!document || !document->handle() || document->parseError().code != 0) {
        const QString reason = document ? document->parseError().reason : QString();
        errorText = QStringLiteral("无法保存指定文件") + fileName + QStringLiteral("\\n") + reason;
        return false;
    }
    return WriteSerializedDocument(SerializeXmlDocument(document), fileName, errorText);
}

bool WriteSerializedDocument(const QByteArray& bytes, const QString& fileName, QString& errorText)
{
    errorText.clear();
    QString reason;
    // Empty bytes: the document could not be serialised.
    if (bytes.isEmpty() || !AtomicFileWriter::write(fileName, bytes, &reason)) {
        errorText = QStringLiteral("无法保存指定文件") + fileName + QStringLiteral("\\n") + reason;
        return false;
    }
    return true;
}

namespace {

void setTextOf(xmlNodePtr node, const QString& value)
{
    if (!node)
        return;
    const QByteArray text = TrimSpaces(withoutNonXmlCharacters(value)).toUtf8();
    const auto* utf8 = reinterpret_cast<const xmlChar*>(text.constData());
    if (node->type == XML_ATTRIBUTE_NODE) {
        // xmlSetNsProp stores the value as literal text ("&" stays "&").
        auto* attr = reinterpret_cast<xmlAttrPtr>(node);
        if (attr->parent)
            xmlSetNsProp(attr->parent, attr->ns, attr->name, utf8);
        return;
    }
    if (node->type != XML_ELEMENT_NODE)
        return;
    // Replace every child by one literal text node (xmlNodeSetContent would parse "&").
    xmlNodeSetContent(node, nullptr);
    if (!text.isEmpty())
        xmlAddChild(node, xmlNewDocTextLen(node->doc, utf8, static_cast<int>(text.size())));
}

// True when one node lies inside another's element: setting the outer one's text would
// free the inner one. An element's own attributes are not inside it in that sense:
// setting its text replaces its children and leaves its attributes ("ProjectType" and
// its "dict").
bool anyNested(const std::vector<xmlNodePtr>& nodes)
{
    std::unordered_set<xmlNodePtr> elements;
    for (xmlNodePtr node : nodes) {
        if (node && node->type == XML_ELEMENT_NODE)
            elements.insert(node);
    }
    for (xmlNodePtr node : nodes) {
        xmlNodePtr first = node ? node->parent : nullptr;
        if (first && node->type == XML_ATTRIBUTE_NODE)
            first = first->parent;
        for (xmlNodePtr up = first; up; up = up->parent) {
            if (elements.count(up))
                return true;
        }
    }
    return false;
}

} // namespace

xmlNodePtr SelectFirstNode(const XmlNode& context, const QString& xpath)
{
    return selectFirst(context, xpath);
}

QString GetNodeText(const XmlNode& context, const QString& xpath)
{
    return XmlTreeWalk::trimmedText(selectFirst(context, xpath));
}

void SetNodeTexts(const XmlNode& context, const XmlPathSet& paths, const QStringList& values)
{
    const std::vector<xmlNodePtr> nodes = paths.nodes(context);
    Q_ASSERT(nodes.size() == static_cast<size_t>(values.size()));
    if (anyNested(nodes)) {
        for (size_t i = 0; i < nodes.size(); ++i)
            SetNodeText(context, paths.paths().value(static_cast<qsizetype>(i)), values.value(static_cast<qsizetype>(i)));
        return;
    }
    for (size_t i = 0; i < nodes.size(); ++i)
        setTextOf(nodes[i], values.value(static_cast<qsizetype>(i)));
}

void SetNodeText(const XmlNode& context, const QString& xpath, const QString& value)
{
    setTextOf(selectFirst(context, xpath), value);
}

bool IsSafeFileNamePart(const QString& text)
{
    if (text == QLatin1String(".") || text == QLatin1String(".."))
        return false;
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || forbidden.contains(c))
            return false;
    }
    return true;
}

} // namespace xml
