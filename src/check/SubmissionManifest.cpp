#include "check/SubmissionManifest.h"

#include "core/XmlDocumentAccess.h"
#include "core/XmlFailureText.h"

#include <QXmlStreamWriter>

#include <libxml/tree.h>

namespace {

constexpr qsizetype kSha256Bytes = 32;

QString attribute(xmlNodePtr node, const char* name)
{
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    if (!value)
        return {};
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return text;
}

bool named(xmlNodePtr node, const char* name)
{
    return node->type == XML_ELEMENT_NODE && xmlStrcmp(node->name, reinterpret_cast<const xmlChar*>(name)) == 0;
}

xmlNodePtr child(xmlNodePtr parent, const char* name)
{
    for (xmlNodePtr node = parent->children; node; node = node->next) {
        if (named(node, name))
            return node;
    }
    return nullptr;
}

} // namespace

QString SubmissionManifest::fileName()
{
    return QStringLiteral("清单.xml");
}

QByteArray SubmissionManifest::toXml() const
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("SubmissionManifest"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1"));
    xml.writeStartElement(QStringLiteral("Unit"));
    xml.writeAttribute(QStringLiteral("code"), unitCode);
    xml.writeAttribute(QStringLiteral("name"), unitName);
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("Made"));
    xml.writeAttribute(QStringLiteral("date"), date.toString(Qt::ISODate));
    xml.writeAttribute(QStringLiteral("programVersion"), programVersion);
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("Files"));
    for (const File& file : files) {
        xml.writeStartElement(QStringLiteral("File"));
        xml.writeAttribute(QStringLiteral("path"), file.path);
        xml.writeAttribute(QStringLiteral("size"), QString::number(file.size));
        xml.writeAttribute(QStringLiteral("sha256"), QString::fromLatin1(file.sha256.toHex()));
        xml.writeAttribute(QStringLiteral("role"), file.role);
        if (!file.projectCode.isEmpty())
            xml.writeAttribute(QStringLiteral("projectCode"), file.projectCode);
        if (!file.verdict.isEmpty())
            xml.writeAttribute(QStringLiteral("verdict"), file.verdict);
        if (!file.demandTotal.isEmpty())
            xml.writeAttribute(QStringLiteral("demandTotal"), file.demandTotal);
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}

std::optional<SubmissionManifest> SubmissionManifest::fromXml(const QByteArray& bytes, QString* error)
{
    QString storeText;
    const xml::XmlDocumentPtr document = xml::ParseXmlBytes(bytes, fileName(), storeText);
    if (!storeText.isEmpty()) {
        const QString reason = xml::FailureText(document->parseError());
        *error = reason.isEmpty() ? storeText : reason;
        return std::nullopt;
    }
    xmlNodePtr root = xml::documentElement(document).node;
    if (!root || !named(root, "SubmissionManifest")) {
        *error = QStringLiteral("不是报送包的清单");
        return std::nullopt;
    }
    const QString version = attribute(root, "version");
    if (version != QLatin1String("1")) {
        *error = QStringLiteral("清单的版本“%1”无法识别").arg(version);
        return std::nullopt;
    }
    SubmissionManifest manifest;
    if (xmlNodePtr unit = child(root, "Unit")) {
        manifest.unitCode = attribute(unit, "code");
        manifest.unitName = attribute(unit, "name");
    }
    if (xmlNodePtr made = child(root, "Made")) {
        manifest.date = QDate::fromString(attribute(made, "date"), Qt::ISODate);
        manifest.programVersion = attribute(made, "programVersion");
    }
    xmlNodePtr list = child(root, "Files");
    for (xmlNodePtr node = list ? list->children : nullptr; node; node = node->next) {
        if (!named(node, "File"))
            continue;
        File file;
        file.path = attribute(node, "path");
        bool sizeOk = false;
        file.size = attribute(node, "size").toLongLong(&sizeOk);
        const QByteArray hex = attribute(node, "sha256").toLatin1();
        file.sha256 = QByteArray::fromHex(hex);
        if (file.path.isEmpty() || !sizeOk || file.size < 0 || hex.size() != 2 * kSha256Bytes
            || file.sha256.size() != kSha256Bytes || file.sha256.toHex() != hex.toLower()) {
            *error = QStringLiteral("清单第 %1 行的文件记录不完整").arg(xmlGetLineNo(node));
            return std::nullopt;
        }
        file.role = attribute(node, "role");
        file.projectCode = attribute(node, "projectCode");
        file.verdict = attribute(node, "verdict");
        file.demandTotal = attribute(node, "demandTotal");
        manifest.files.push_back(std::move(file));
    }
    return manifest;
}
