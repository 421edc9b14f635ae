#include "check/CheckTables.h"

#include "core/AmountText.h"
#include "core/UnitInfoFields.h"

namespace CheckTables {

namespace {

QStringList yearHeaders(const QString& side)
{
    QStringList headers;
    for (int year = 2006; year <= 2010; ++year)
        headers << QStringLiteral("%1年%2").arg(year).arg(side);
    return headers;
}

// Project columns 6..21 and summary columns 3..18 are figures.
constexpr int kProjectFirstNumber = 6;
constexpr int kProjectNumbers = 14;
constexpr int kSummaryFirstNumber = 3;
constexpr int kSummaryNumbers = 15;

QStringList unitCodedHeaders()
{
    QStringList headers;
    for (const UnitInfoField& field : UnitInfoFields::fields()) {
        if (field.kind != UnitInfoKind::Coded)
            continue;
        QString header = QString::fromUtf8(field.label);
        // Two boxes share a caption (文物保存设备, on the security page and for the depot):
        // a column name a spreadsheet can tell apart names the frame of the second.
        const char* frame = UnitInfoFields::blocks()[static_cast<size_t>(field.block)].caption;
        if (headers.contains(header) && frame)
            header += QStringLiteral("（%1）").arg(QString::fromUtf8(frame));
        headers << header;
    }
    return headers;
}

} // namespace

QString sheetName(int table)
{
    static const char* names[] = {"项目", "单位", "汇总", "问题"};
    return QString::fromUtf8(names[table]);
}

QString csvFileName(int table)
{
    static const char* names[] = {"projects.csv", "units.csv", "summary.csv", "findings.csv"};
    return QString::fromLatin1(names[table]);
}

QStringList headers(int table)
{
    switch (table) {
    case Projects:
        return QStringList{QStringLiteral("单位编码"), QStringLiteral("单位名称"), QStringLiteral("项目编号"),
                           QStringLiteral("项目名称"), QStringLiteral("项目类别"), QStringLiteral("项目性质"),
                           QStringLiteral("十一五资金需求合计")}
            + yearHeaders(QStringLiteral("中央")) + yearHeaders(QStringLiteral("地方"))
            + QStringList{QStringLiteral("预算各项总计"), QStringLiteral("预算中央投入"), QStringLiteral("结论"),
                          QStringLiteral("首个违反的规则"), QStringLiteral("文件")};
    case Units: {
        QStringList headers{QStringLiteral("单位编码"), QStringLiteral("单位全称")};
        headers << unitCodedHeaders();
        for (int i = 0; i < UnitInfoFields::kClassCount; ++i)
            headers << QString::fromUtf8(UnitInfoFields::className(i)) + QStringLiteral("总数");
        headers << QStringLiteral("文物总数");
        for (int i = 0; i < UnitInfoFields::kClassCount; ++i)
            headers << QString::fromUtf8(UnitInfoFields::className(i)) + QStringLiteral("保护修复资金需求");
        headers << QStringLiteral("保护修复资金需求合计") << QStringLiteral("文件");
        return headers;
    }
    case Summary:
        return QStringList{QStringLiteral("分组"), QStringLiteral("代码"), QStringLiteral("名称"),
                           QStringLiteral("项目数"), QStringLiteral("十一五资金需求合计")}
            + yearHeaders(QStringLiteral("中央")) + yearHeaders(QStringLiteral("地方"))
            + QStringList{QStringLiteral("预算各项总计"), QStringLiteral("预算中央投入")};
    case Findings:
        return QStringList{QStringLiteral("文件"), QStringLiteral("问题类别"), QStringLiteral("说明")};
    default:
        return {};
    }
}

bool isNumberColumn(int table, int column)
{
    switch (table) {
    case Projects:
        return column >= kProjectFirstNumber && column < kProjectFirstNumber + kProjectNumbers;
    case Units: {
        const int first = 2 + static_cast<int>(unitCodedHeaders().size());
        return column >= first && column < first + 2 * UnitInfoFields::kClassCount + 2;
    }
    case Summary:
        return column >= kSummaryFirstNumber && column < kSummaryFirstNumber + kSummaryNumbers;
    default:
        return false;
    }
}

bool isCountColumn(int table, int column)
{
    if (table == Summary)
        return column == kSummaryFirstNumber;
    if (table == Units) {
        const int first = 2 + static_cast<int>(unitCodedHeaders().size());
        return column >= first && column <= first + UnitInfoFields::kClassCount;
    }
    return false;
}

QStringList projectRow(const QString& path, const ReportRow& row, bool passed)
{
    QStringList cells{row.unitCode, row.unitName, row.projectCode, row.projectName, row.projectType,
                      row.projectNature, row.demandTotalText};
    for (const QString& a : row.centralText)
        cells << a;
    for (const QString& a : row.localText)
        cells << a;
    cells << AmountText::decimal(row.budgetTotal) << AmountText::decimal(row.budgetCentral)
          << (passed ? passedText() : failedText()) << row.firstBrokenRule << path;
    return cells;
}

QStringList unitRow(const QString& path, const UnitRow& row)
{
    QStringList cells{row.unitCode, row.unitName};
    cells << row.codedTexts << row.numbers << row.fundDemandTotal << path;
    return cells;
}

QStringList findingRow(const CheckFinding& finding)
{
    return {finding.path, finding.kind, finding.message};
}

QString passedText() { return QStringLiteral("通过"); }
QString failedText() { return QStringLiteral("未通过"); }

} // namespace CheckTables
