#include "core/UnitInfoFile.h"

#include "core/XmlDocumentAccess.h"
#include "core/UnitInfoFields.h"

using namespace xml;

namespace {

UnitInfoFile readDocument(const XmlDocumentPtr& document, const QString& error)
{
    UnitInfoFile file;
    if (!error.isEmpty()) {
        file.error = error;
        file.loadError = document->parseError();
        return file;
    }
    const XmlNode root = documentElement(document);
    file.ok = true;
    file.unitCode = GetNodeText(root, QStringLiteral("//CorpInfo/Basic/CorpID"));
    if (file.unitCode.isEmpty())
        file.unitCode = GetNodeText(root, QStringLiteral("//CorpInfo/ReportInfo/CorpID"));
    for (const UnitInfoField& field : UnitInfoFields::fields()) {
        const QString name = QString::fromUtf8(field.objectName);
        switch (field.kind) {
        case UnitInfoKind::Text:
        case UnitInfoKind::Number:
        case UnitInfoKind::LongText:
            file.values.setValue(name, GetNodeText(root, UnitInfoFields::xpath(field)));
            break;
        case UnitInfoKind::Coded: {
            // The code the dialog's list selects for what is stored.
            const auto items = UnitInfoFields::items(field.list);
            const int index = CodedItemIndexOf(items, GetNodeText(root, UnitInfoFields::xpath(field)));
            file.values.setValue(name, index < 0 ? QString() : QString::number(items[static_cast<size_t>(index)].code));
            break;
        }
        case UnitInfoKind::UnitCode:
        case UnitInfoKind::Button:
            break;
        }
    }
    return file;
}

} // namespace

UnitInfoFile ReadUnitInfoFile(const QString& path)
{
    QString error;
    const XmlDocumentPtr document = ReadXmlDocument(path, error);
    return readDocument(document, error);
}

UnitInfoFile ReadUnitInfoBytes(const QByteArray& bytes, const QString& nameForMessages)
{
    QString error;
    const XmlDocumentPtr document = ParseXmlBytes(bytes, nameForMessages, error);
    return readDocument(document, error);
}
