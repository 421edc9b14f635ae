#include "check/FileChecker.h"

#include "core/AmountText.h"
#include "check/InputWalker.h"
#include "core/BudgetRules.h"
#include "core/CodedItem.h"
#include "core/HoldingsRules.h"
#include "core/ReportFile.h"
#include "core/UnitInfoFile.h"
#include "core/ProjectTypes.h"
#include "core/ReportFieldTable.h"
#include "core/ReportFileNames.h"
#include "core/XmlDocumentAccess.h"
#include "core/XmlFailureText.h"
#include "core/UnitInfoFields.h"

#include <QHashFunctions>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <map>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using Table = ReportFieldTable;

namespace {

QString listText(std::span<const CodedItem> items, const QString& code)
{
    bool ok = false;
    const int value = code.toInt(&ok);
    for (const CodedItem& item : items) {
        if (ok && item.code == value)
            return QString::fromUtf8(item.text);
    }
    return {};
}

bool typeCodeListed(const QString& stored)
{
    return CodedItemMatching(ProjectTypes::projectTypeItems(), stored) >= 0;
}

// The cause in Chinese; the store's own text only when the load left no cause behind.
QString unreadableReason(const xml::XmlParseError& error, const QString& storeText)
{
    const QString reason = xml::FailureText(error);
    return reason.isEmpty() ? storeText : reason;
}

constexpr qsizetype kKeptBufferBytes = 1 << 20;

// Plain system calls: QFile's engine costs more than the read itself for files this small.
bool readFile(const QString& path, QByteArray& bytes, QString& error, bool& tooLarge)
{
    bytes.truncate(0); // the buffer may hold the file read before
    // Not blocking: a file that became a fifo since the walk saw it must not stop the check.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        error = QStringLiteral("无法打开指定文件") + path;
        return false;
    }
    const bool large = info.st_size > InputWalker::kMaxDocumentBytes;
    // The size may have grown since fstat: read in steps up to the limit.
    const qint64 limit = large ? DocumentSniffer::kHeadBytes : InputWalker::kMaxDocumentBytes + 1;
    bytes.resize(static_cast<qsizetype>(std::min<qint64>(large ? limit : info.st_size + 1, limit)));
    qsizetype got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (bytes.size() >= limit)
                break;
            bytes.resize(static_cast<qsizetype>(std::min<qint64>(bytes.size() * 2 + 4096, limit)));
        }
        const ssize_t n = ::read(fd, bytes.data() + got, static_cast<size_t>(bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            bytes.truncate(0);
            error = QStringLiteral("无法打开指定文件") + path;
            return false;
        }
        if (n == 0)
            break;
        got += n;
    }
    ::close(fd);
    bytes.truncate(got);
    if (large || got > InputWalker::kMaxDocumentBytes) {
        tooLarge = true;
        bytes.truncate(DocumentSniffer::kHeadBytes);
    }
    return true;
}

} // namespace

QString FileChecker::unreadableKind() { return QStringLiteral("无法读取"); }
QString FileChecker::budgetRuleKind() { return QStringLiteral("预算规则"); }
QString FileChecker::notANumberKind() { return QStringLiteral("金额不是数字"); }
QString FileChecker::missingCodeKind() { return QStringLiteral("缺少编号"); }
QString FileChecker::fileNameKind() { return QStringLiteral("文件名不符"); }
QString FileChecker::projectTypeKind() { return QStringLiteral("项目类别无效"); }
QString FileChecker::holdingsKind() { return QStringLiteral("藏品数量"); }

FileResult FileChecker::check(const InputItem& item)
{
    FileResult result;
    result.order = item.order;
    result.path = item.path;
    result.diskPath = item.diskPath;
    result.archivePath = item.archivePath;
    result.entryIndexes = item.entryIndexes;
    if (item.passedOver) {
        result.status = FileResult::Status::PassedOver;
        return result;
    }
    if (item.manifest) {
        result.status = FileResult::Status::Manifest;
        result.findings = item.manifestFindings;
        return result;
    }

    // Files on disk are read into one buffer per thread: a fresh block for every file costs
    // more than reading it. A buffer grown by a large file is let go after it.
    thread_local QByteArray diskBuffer;
    struct ReleaseLarge {
        ~ReleaseLarge()
        {
            if (diskBuffer.capacity() > kKeptBufferBytes)
                diskBuffer = QByteArray();
        }
    } releaseLarge;
    QString error = item.readError;
    bool tooLarge = item.tooLarge;
    const bool onDisk = error.isEmpty() && !item.diskPath.isEmpty();
    if (onDisk)
        readFile(item.diskPath, diskBuffer, error, tooLarge);
    const QByteArray& bytes = onDisk ? diskBuffer : item.bytes;

    const QString& fileName = item.fileName;
    result.kind = DocumentSniffer::sniff(
        QByteArray::fromRawData(bytes.constData(), std::min(bytes.size(), DocumentSniffer::kHeadBytes)));
    if (result.kind == DocumentSniffer::Kind::Other)
        result.kind = DocumentSniffer::kindByName(fileName);

    // What cannot be read at all is reported whatever it is: it may well be a report.
    if (!error.isEmpty()) {
        result.status = FileResult::Status::Unreadable;
        result.findings << CheckFinding{item.path, unreadableKind(), error};
        return result;
    }
    if (result.kind == DocumentSniffer::Kind::Other)
        return result;
    if (tooLarge) {
        result.status = FileResult::Status::Unreadable;
        result.findings << CheckFinding{item.path, unreadableKind(), QStringLiteral("文件超过 64 MiB，不予读取")};
        return result;
    }
    if (result.kind == DocumentSniffer::Kind::Report)
        checkReport(bytes, fileName, result);
    else
        checkUnit(bytes, result);
    return result;
}

void FileChecker::checkReport(const QByteArray& bytes, const QString& fileName, FileResult& result)
{
    const ReportFile file = ReadReportBytes(bytes, result.path);
    if (!file.ok) {
        result.status = FileResult::Status::Unreadable;
        result.findings << CheckFinding{result.path, unreadableKind(), unreadableReason(file.loadError, file.error)};
        return;
    }
    result.status = FileResult::Status::Checked;
    const ReportValues& values = file.values;
    const auto finding = [&](const QString& kind, const QString& message) {
        result.findings << CheckFinding{result.path, kind, message};
    };

    ReportRow row;
    row.unitCode = file.header.unitCode;
    row.unitName = file.header.unitName;
    row.projectCode = values.value(QStringLiteral("projectCode"));
    row.projectName = values.value(QStringLiteral("projectName"));
    const QString typeCode = values.value(QStringLiteral("projectType"));
    row.projectType = listText(ProjectTypes::projectTypeItems(), typeCode);
    row.projectTypeCode = row.projectType.isEmpty() ? 0 : typeCode.toInt();
    row.projectNature = listText(ProjectTypes::projectNatureItems(), values.value(QStringLiteral("projectNature")));
    // Every amount is read once: for the row, the rules and whether it is a number at all.
    const BudgetReading reading(values);
    QList<CheckFinding> notNumbers;
    const auto& fields = Table::fields();
    for (int i = 0; i < static_cast<int>(fields.size()); ++i) {
        const StoredAmount* amount = reading.amount(i);
        if (amount && amount->present && !amount->isNumber) {
            const Table::Field& field = fields[static_cast<size_t>(i)];
            notNumbers << CheckFinding{result.path, notANumberKind(),
                                       field.xpath + QStringLiteral(" 的值为“") + values.value(field.id)
                                           + QStringLiteral("”")};
        }
    }
    row.demandTotal = reading.demandTotal().value;
    row.demandTotalText = reading.demandTotal().plainText;
    for (size_t year = 0; year < row.central.size(); ++year) {
        row.central[year] = reading.centralYears()[year].value;
        row.centralText[year] = reading.centralYears()[year].plainText;
        row.local[year] = reading.localYears()[year].value;
        row.localText[year] = reading.localYears()[year].plainText;
    }
    row.budgetTotal = reading.sums().itemsTotal;
    row.budgetCentral = reading.sums().itemsShare;
    if (const int rule = reading.firstBrokenRule()) {
        row.firstBrokenRule = BudgetRuleMessage(rule);
        finding(budgetRuleKind(), row.firstBrokenRule);
    }
    // A save writes every amount as a number; anything else was put there by hand.
    result.findings << notNumbers;
    if (row.projectCode.isEmpty())
        finding(missingCodeKind(), QStringLiteral("项目编号为空"));
    if (row.unitCode.isEmpty())
        finding(missingCodeKind(), QStringLiteral("单位编码为空"));
    if (!row.projectCode.isEmpty() && !row.unitCode.isEmpty()) {
        const QString standard = ReportFileNames::StandardName(row.unitCode, row.projectCode, false);
        if (fileName != standard)
            finding(fileNameKind(), QStringLiteral("标准文件名应为“") + standard + QStringLiteral("”"));
    }
    const QString& storedType = file.storedProjectType;
    if (!typeCodeListed(storedType)) {
        row.projectType.clear();
        row.projectTypeCode = 0;
        finding(projectTypeKind(), QStringLiteral("项目类别代码“%1”不在列表中").arg(storedType));
    }

    // The texts as they sit in memory, hashed at once: the hash only ever meets hashes of
    // this run, 64 bits of them, so the process's own seeded hash serves (a hash made for
    // signatures cost a seventh of the check).
    thread_local QString content;
    content.resize(0); // keeps its room for the next report
    for (const QString& name : values.controls()) {
        content += name;
        content += QLatin1Char('=');
        content += values.value(name);
        content += QLatin1Char('\n');
    }
    const quint64 hash = qHashBits(content.constData(), size_t(content.size()) * sizeof(QChar), QHashSeed::globalSeed());
    row.contentHash = QByteArray(reinterpret_cast<const char*>(&hash), sizeof hash);
    result.report = std::move(row);
}

void FileChecker::checkUnit(const QByteArray& bytes, FileResult& result)
{
    const UnitInfoFile file = ReadUnitInfoBytes(bytes, result.path);
    if (!file.ok) {
        result.status = FileResult::Status::Unreadable;
        result.findings << CheckFinding{result.path, unreadableKind(), unreadableReason(file.loadError, file.error)};
        return;
    }
    result.status = FileResult::Status::Checked;
    const UnitInfoValues& values = file.values;
    const HoldingsRuleResult rules = CheckHoldingsRules(values);
    if (!rules.ok())
        result.findings << CheckFinding{result.path, holdingsKind(), rules.message};

    UnitRow row;
    row.unitCode = file.unitCode;
    row.unitName = values.value(QStringLiteral("Text2"));
    for (const UnitInfoField& field : UnitInfoFields::fields()) {
        if (field.kind == UnitInfoKind::Coded)
            row.codedTexts << listText(UnitInfoFields::items(field.list), values.value(QString::fromUtf8(field.objectName)));
    }
    BudgetAmount fundDemand;
    for (int i = 0; i < UnitInfoFields::kClassCount; ++i)
        row.numbers << values.value(QStringLiteral("Text9(%1)").arg(i));
    row.numbers << values.value(QStringLiteral("Text29"));
    for (int i = 0; i < UnitInfoFields::kClassCount; ++i) {
        const QString demand = values.value(QStringLiteral("Text26(%1)").arg(i));
        row.numbers << demand;
        fundDemand += AmountText::parseOrZero(demand);
    }
    row.fundDemandTotal = AmountText::decimal(fundDemand);
    result.unit = std::move(row);
}
