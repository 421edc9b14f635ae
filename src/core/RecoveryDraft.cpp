#include "core/RecoveryDraft.h"

#include "core/ReportFile.h"
#include "core/XmlDocumentAccess.h"

#include <QList>
#include <QUrl>

namespace {

const QByteArray kMagic = "VANTREL RECOVERY DRAFT 1\n";

// Header values are percent-encoded: a file name may hold any character, line breaks too.
QByteArray field(const char* key, const QString& value)
{
    return QByteArray(key) + ": " + QUrl::toPercentEncoding(value) + '\n';
}

} // namespace

QByteArray RecoveryDraft::encode() const
{
    QByteArray bytes = kMagic;
    bytes += field("file", reportFile);
    bytes += field("code", projectCode);
    bytes += field("name", projectName);
    bytes += field("written", written.toUTC().toString(Qt::ISODateWithMs));
    bytes += field("version", programVersion);
    bytes += "size: " + QByteArray::number(report.size()) + '\n';
    bytes += '\n';
    bytes += report;
    return bytes;
}

std::optional<RecoveryDraft> RecoveryDraft::decode(const QByteArray& bytes)
{
    if (!bytes.startsWith(kMagic))
        return std::nullopt;
    RecoveryDraft draft;
    qsizetype at = kMagic.size();
    qint64 size = -1;
    for (;;) {
        const qsizetype end = bytes.indexOf('\n', at);
        if (end < 0)
            return std::nullopt;
        const QByteArray line = bytes.mid(at, end - at);
        at = end + 1;
        if (line.isEmpty())
            break;
        const qsizetype colon = line.indexOf(": ");
        if (colon < 0)
            return std::nullopt;
        const QByteArray key = line.left(colon);
        const QString value = QUrl::fromPercentEncoding(line.mid(colon + 2));
        if (key == "file")
            draft.reportFile = value;
        else if (key == "code")
            draft.projectCode = value;
        else if (key == "name")
            draft.projectName = value;
        else if (key == "written")
            draft.written = QDateTime::fromString(value, Qt::ISODateWithMs);
        else if (key == "version")
            draft.programVersion = value;
        else if (key == "size")
            size = line.mid(colon + 2).toLongLong();
    }
    if (size < 0 || bytes.size() - at != size || !draft.written.isValid())
        return std::nullopt;
    draft.report = bytes.mid(at);
    return draft;
}

bool RecoveryDraft::holdsReport() const
{
    QString error;
    const xml::XmlDocumentPtr document = xml::ParseXmlBytes(report, reportFile, error);
    return error.isEmpty() && IsReportDocument(document);
}
