#include "core/ReportFile.h"

#include "core/ProjectTypes.h"
#include "core/ReportFieldTable.h"
#include "core/XmlDocumentAccess.h"
#include "core/XmlPathSet.h"

#include <libxml/tree.h>

using namespace xml;
using Table = ReportFieldTable;

namespace {

ReportFile readDocument(const XmlDocumentPtr& document, const QString& error)
{
    if (!error.isEmpty()) {
        ReportFile file;
        file.error = error;
        file.loadError = document->parseError();
        return file;
    }
    return ReadReportDocument(document);
}

} // namespace

bool IsReportDocument(const XmlDocumentPtr& document)
{
    const XmlNode root = documentElement(document);
    return !root.isNull() && xmlStrcmp(root.node->name, BAD_CAST "Report") == 0;
}

ReportFile ReadReportDocument(const XmlDocumentPtr& document)
{
    ReportFile file;
    const XmlNode root = documentElement(document);
    file.ok = true;
    // Every value in one walk of the document: the header's four, then the fields.
    static const XmlPathSet paths([] {
        QStringList all{QStringLiteral("//Report/ReportInfo/CorpID"), QStringLiteral("//Report/ReportInfo/CorpName"),
                        QStringLiteral("//Report/ReportInfo/ReportUser"), QStringLiteral("//Report/ReportInfo/ReportDate")};
        for (const Table::Field& f : Table::fields())
            all << f.xpath;
        return all;
    }());
    const QStringList texts = paths.texts(root);
    file.header.unitCode = texts[0];
    file.header.unitName = texts[1];
    file.header.reportUser = texts[2];
    file.header.reportDate = texts[3];
    file.values.reserve(static_cast<qsizetype>(Table::fields().size()));
    qsizetype next = 4;
    for (const Table::Field& f : Table::fields()) {
        const QString& name = f.id;
        const QString stored = texts[next++];
        if (f.control.kind != Table::ControlKind::List) {
            file.values.setValue(name, stored);
            continue;
        }
        // The code the window's list selects for what is stored.
        const bool projectType = f.control.number == 1;
        if (projectType)
            file.storedProjectType = stored;
        const auto items = projectType ? ProjectTypes::projectTypeItems() : ProjectTypes::projectNatureItems();
        const int index = CodedItemIndexOf(items, stored);
        file.values.setValue(name, index < 0 ? QString() : QString::number(items[static_cast<size_t>(index)].code));
    }
    return file;
}

ReportFile ReadReportFile(const QString& path)
{
    QString error;
    const XmlDocumentPtr document = ReadXmlDocument(path, error);
    return readDocument(document, error);
}

ReportFile ReadReportBytes(const QByteArray& bytes, const QString& nameForMessages)
{
    QString error;
    const XmlDocumentPtr document = ParseXmlBytes(bytes, nameForMessages, error);
    return readDocument(document, error);
}
