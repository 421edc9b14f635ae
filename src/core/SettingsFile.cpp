#include "core/SettingsFile.h"

#include "core/XmlDocumentAccess.h"

using namespace xml;

namespace SettingsFile {

namespace {

const char kSettingsTemplate[] =
    "<?xml version=\"1.0\" encoding=\"GB2312\" standalone=\"yes\"?>"
    "<Config><CorpID/><ServerPass/><ServerUrl/><LocalPath/><ReportUser/></Config>";

XmlDocumentPtr filled(const QString& unitCode, const QString& localFolder, const QString& name, QString& errorText)
{
    XmlDocumentPtr document = ParseXmlBytes(QByteArray(kSettingsTemplate), name, errorText);
    const XmlNode root = documentElement(document);
    SetNodeText(root, QStringLiteral("//Config/CorpID"), unitCode);
    SetNodeText(root, QStringLiteral("//Config/LocalPath"), localFolder);
    return document;
}

Values valuesOf(const XmlDocumentPtr& document, const QString& error)
{
    Values values;
    values.error = error;
    if (!error.isEmpty())
        return values;
    values.ok = true;
    const XmlNode root = documentElement(document);
    values.unitCode = GetNodeText(root, QStringLiteral("//Config/CorpID"));
    values.localFolder = GetNodeText(root, QStringLiteral("//Config/LocalPath"));
    if (!values.localFolder.isEmpty() && !values.localFolder.endsWith(folderSeparator()))
        values.localFolder += folderSeparator();
    return values;
}

} // namespace

QString FileName(const QString& programFolder)
{
    return programFolder + QStringLiteral("config.pz");
}

QByteArray Serialize(const QString& unitCode, const QString& localFolder)
{
    QString error;
    return SerializeXmlDocument(filled(unitCode, localFolder, QStringLiteral("config.pz"), error));
}

Values Parse(const QByteArray& bytes, const QString& nameForMessages)
{
    QString error;
    const XmlDocumentPtr document = ParseXmlBytes(bytes, nameForMessages, error);
    return valuesOf(document, error);
}

Values Read(const QString& programFolder)
{
    QString error;
    const XmlDocumentPtr document = ReadXmlDocument(FileName(programFolder), error);
    return valuesOf(document, error);
}

bool Write(const QString& programFolder, const QString& unitCode, const QString& localFolder, QString& errorText)
{
    const QString name = FileName(programFolder);
    const XmlDocumentPtr document = filled(unitCode, localFolder, name, errorText);
    return WriteXmlDocument(document, name, errorText);
}

} // namespace SettingsFile
