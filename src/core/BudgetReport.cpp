#include "core/BudgetReport.h"

#include "core/ProjectTypes.h"
#include "core/ReportFieldTable.h"
#include "core/ReportFileNames.h"
#include "core/ReportPage.h"
#include "core/TextLengthLimit.h"
#include "core/XmlDocumentAccess.h"
#include "core/XmlPathSet.h"

#include <QDate>

#include <algorithm>
#include <future>
#include <optional>

using Table = ReportFieldTable;

namespace {

std::span<const CodedItem> itemsOf(const Table::Field& field)
{
    return field.control.number == 1 ? ProjectTypes::projectTypeItems() : ProjectTypes::projectNatureItems();
}

// Every node a save writes, found in one walk: the header's four, then every field in
// the table's order, a list's "dict" attribute right after its element.
const XmlPathSet& writtenPaths()
{
    static const XmlPathSet paths([] {
        QStringList all{QStringLiteral("//Report/ReportInfo/CorpID"), QStringLiteral("//Report/ReportInfo/CorpName"),
                        QStringLiteral("//Report/ReportInfo/ReportUser"),
                        QStringLiteral("//Report/ReportInfo/ReportDate")};
        for (const Table::Field& f : Table::fields()) {
            all << f.xpath;
            if (f.control.kind == Table::ControlKind::List)
                all << f.xpath + QStringLiteral("/@dict");
        }
        return all;
    }());
    return paths;
}

} // namespace

BudgetReport::LoadResult BudgetReport::load(const QString& path)
{
    QString error;
    const xml::XmlDocumentPtr document = xml::ReadXmlDocument(path, error);
    return adopt(document, error);
}

BudgetReport::LoadResult BudgetReport::loadBytes(const QByteArray& bytes, const QString& nameForMessages)
{
    QString error;
    const xml::XmlDocumentPtr document = xml::ParseXmlBytes(bytes, nameForMessages, error);
    return adopt(document, error);
}

BudgetReport::LoadResult BudgetReport::adopt(const xml::XmlDocumentPtr& document, const QString& error)
{
    LoadResult result;
    result.error = error;
    if (!error.isEmpty()) {
        document_ = document;
        return result;
    }
    setDocument(document);
    result.ok = true;
    return result;
}

void BudgetReport::setDocument(const xml::XmlDocumentPtr& document)
{
    document_ = document;
    ReportFile file = ReadReportDocument(document_);
    values_ = std::move(file.values);
    header_ = std::move(file.header);
    // What the form shows: an empty text shows its default.
    for (const Table::Field& f : Table::fields()) {
        if (f.control.kind != Table::ControlKind::List && values_.value(f.id).isEmpty())
            values_.setValue(f.id, f.defaultText);
    }
}

QString BudgetReport::unsafeProjectCodeText()
{
    return QStringLiteral("项目编号中含有不能用于文件名的字符");
}

QString BudgetReport::saveRefusal(const QString& unitCode) const
{
    const QString code = value(QStringLiteral("projectCode"));
    if (xml::TrimSpaces(code).isEmpty())
        return QStringLiteral("请输入项目编号");
    // The code becomes part of the report's and the page's file names.
    if (!ReportFileNames::IsUsableProjectCode(code))
        return unsafeProjectCodeText();
    if (xml::TrimSpaces(value(QStringLiteral("projectName"))).isEmpty())
        return QStringLiteral("请输入项目名称");
    if (unitCode.isEmpty())
        return QStringLiteral("请在选项中设置单位编号");
    return {};
}

QString BudgetReport::saveAsRefusal() const
{
    const QString code = value(QStringLiteral("projectCode"));
    if (value(QStringLiteral("projectName")).isEmpty() || code.isEmpty())
        return QStringLiteral("请设置项目编号与名称");
    if (!ReportFileNames::IsUsableProjectCode(code))
        return unsafeProjectCodeText();
    return {};
}

BudgetRuleResult BudgetReport::checkBudget()
{
    BudgetRuleResult result = CheckBudgetRules(values_);
    for (const auto& [field, text] : result.normalised)
        values_.setValue(field, text);
    return result;
}

QString BudgetReport::textLengthRefusal() const
{
    for (const Table::Field& f : Table::fields()) {
        if (f.control.kind == Table::ControlKind::PlainText && !TextLengthLimit::fits(values_.value(f.id)))
            return TextLengthLimit::refusal(f.label);
    }
    return {};
}

namespace {

// What a text takes in the saved file: UTF-8, with "&", "<", ">" and carriage returns
// written as references. A little more than the file really holds, never less.
qint64 storedBytes(const QString& text)
{
    qint64 bytes = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80)
            bytes += u == '&' ? 5 : (u == '<' || u == '>') ? 4 : u == '\r' ? 5 : 1;
        else if (u < 0x800)
            bytes += 2;
        else
            bytes += 3; // a surrogate pair counts six for four: the bound stays safe
    }
    return bytes;
}

QString megabytes(qint64 bytes)
{
    return QString::number(double(bytes) / (1024 * 1024), 'f', 1) + QStringLiteral(" MB");
}

} // namespace

QString BudgetReport::sizeRefusal() const
{
    // The template and the tags around the values take a few kilobytes.
    constexpr qint64 kFrame = 64 * 1024;
    qint64 total = kFrame;
    std::vector<std::pair<qint64, QString>> texts;
    for (const Table::Field& f : Table::fields()) {
        const qint64 bytes = storedBytes(values_.value(f.id));
        total += bytes;
        if (f.control.kind != Table::ControlKind::List)
            texts.emplace_back(bytes, f.label);
    }
    if (total <= xml::kMaxDocumentBytes)
        return {};
    std::sort(texts.begin(), texts.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    // The longest three, leaving out those too short to matter.
    QStringList longest;
    for (size_t i = 0; i < texts.size() && i < 3 && (i == 0 || texts[i].first >= 1024 * 1024); ++i)
        longest << QStringLiteral("“%1”（%2）").arg(texts[i].second, megabytes(texts[i].first));
    return QStringLiteral("报表内容过多，保存后的文件将超过 64 MiB，无法再次打开。请删减最长的内容：")
           + longest.join(QStringLiteral("、"));
}

QString BudgetReport::writeRefusal() const
{
    const QString text = textLengthRefusal();
    return text.isEmpty() ? sizeRefusal() : text;
}

ReportHeader BudgetReport::headerForToday(const QString& unitCode, const QString& unitName, const QString& reportUser)
{
    return {unitCode, unitName, reportUser, QDate::currentDate().toString(Qt::ISODate)};
}

ReportValues BudgetReport::applyDefaults()
{
    ReportValues shown;
    for (const Table::Field& f : Table::fields()) {
        // Only a truly empty box takes the default; a box of spaces stores an empty text.
        if (f.control.kind != Table::ControlKind::List && values_.value(f.id).isEmpty()
            && !f.defaultText.isEmpty()) {
            values_.setValue(f.id, f.defaultText);
            shown.setValue(f.id, f.defaultText);
        }
    }
    return shown;
}

void BudgetReport::writeInto(const xml::XmlDocumentPtr& document, const ReportHeader& header) const
{
    const XmlPathSet& paths = writtenPaths();
    QStringList texts;
    texts.reserve(paths.paths().size());
    texts << header.unitCode << header.unitName << header.reportUser << header.reportDate;
    for (const Table::Field& f : Table::fields()) {
        if (f.control.kind != Table::ControlKind::List) {
            const QString text = values_.value(f.id);
            texts << (text.isEmpty() ? f.defaultText : text);
            continue;
        }
        // The code of the item the list shows, and the item's caption beside it.
        const auto items = itemsOf(f);
        const int index = std::max(CodedItemIndexOf(items, values_.value(f.id)), 0);
        texts << QString::number(items[static_cast<size_t>(index)].code)
              << QString::fromUtf8(items[static_cast<size_t>(index)].text);
    }
    xml::SetNodeTexts(xml::documentElement(document), paths, texts);
}

BudgetReport::WriteResult BudgetReport::save(const Files& files, const ReportHeader& header, const QString& pagePath)
{
    WriteResult result;
    if (value(QStringLiteral("projectCode")).isEmpty() || value(QStringLiteral("projectName")).isEmpty()) {
        result.messages << QStringLiteral("请设置项目编号与名称");
        return result;
    }
    if (fileName_.isEmpty())
        return result;
    // A file that could not be opened again is never written.
    if (const QString refusal = writeRefusal(); !refusal.isEmpty()) {
        result.messages << refusal;
        return result;
    }

    // Every save starts from the blank template, so the file holds exactly the report.
    QString error;
    document_ = xml::ReadXmlDocument(files.templatePath, error);
    if (!error.isEmpty()) {
        result.messages << QStringLiteral("报表模板文件错误，请重新安装");
        return result;
    }
    result.shown = applyDefaults();
    writeInto(document_, header);

    // The report file is written on another thread from its bytes while the page is made
    // here from the document: the two waits for the disk overlap. The page replaces the
    // old one only once the report file has.
    const QByteArray bytes = xml::SerializeXmlDocument(document_);
    std::future<QString> reportWrite = std::async(std::launch::async, [bytes, file = fileName_] {
        QString failure;
        xml::WriteSerializedDocument(bytes, file, failure);
        return failure;
    });
    std::optional<QString> reportFailure;
    const auto reportWritten = [&] {
        if (!reportFailure)
            reportFailure = reportWrite.get();
        return reportFailure->isEmpty();
    };
    // The standard page goes straight into its file: with a long text it is megabytes.
    const ReportPage page = pagePath.isEmpty()
        ? RenderReportPage(document_, files.stylesheetPath)
        : WriteReportPage(document_, files.stylesheetPath, pagePath, reportWritten);
    if (!reportWritten()) {
        result.messages << *reportFailure;
        return result;
    }
    result.reportWritten = true;
    header_ = header;
    modified_ = false;
    pageFileName_ = pagePath;

    if (page.failure == ReportPage::Failure::StylesheetUnreadable)
        result.messages << QStringLiteral("输出模板文件错误，请重新安装");
    if (!page.ok())
        result.messages << QStringLiteral("未能进行成功的数据转换");
    else if (pagePath.isEmpty())
        // Save As without a unit code: the report is saved but has no standard page name.
        result.messages << QStringLiteral("请在选项中设置单位编号");
    else if (!page.written)
        result.messages << QStringLiteral("无法保存指定文件") + pagePath + QStringLiteral("\\n") + page.writeError;
    return result;
}

BudgetReport::WriteResult BudgetReport::exportPage(const Files& files, const ReportHeader& header,
                                                   const QString& pagePath)
{
    WriteResult result;
    if (const QString refusal = writeRefusal(); !refusal.isEmpty()) {
        result.messages << refusal;
        return result;
    }
    result.shown = applyDefaults();
    if (document_)
        writeInto(document_, header);
    const ReportPage page = WriteReportPage(document_, files.stylesheetPath, pagePath);
    if (page.failure == ReportPage::Failure::StylesheetUnreadable)
        result.messages << QStringLiteral("输出模板文件错误，请重新安装");
    if (!page.ok())
        result.messages << QStringLiteral("未能进行成功的数据转换");
    else if (!page.written)
        result.messages << QStringLiteral("无法保存指定文件") + pagePath + QStringLiteral("\\n") + page.writeError;
    return result;
}

QByteArray BudgetReport::serialize(const QString& templatePath, const ReportHeader& header, QString* error) const
{
    QString loadError;
    const xml::XmlDocumentPtr document = xml::ReadXmlDocument(templatePath, loadError);
    if (!loadError.isEmpty()) {
        if (error)
            *error = loadError;
        return {};
    }
    writeInto(document, header);
    return xml::SerializeXmlDocument(document);
}
