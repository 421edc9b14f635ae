// Stand-in until the core library is merged; see README.md. Same rules as the windows,
// over values read from a document instead of boxes.
#include "core/BudgetRules.h"
#include "core/HoldingsRules.h"
#include "core/ReportFile.h"
#include "core/UnitInfoFile.h"
#include "report/BudgetAmount.h"
#include "report/ProjectTypes.h"
#include "report/ReportFieldTable.h"
#include "store/Module1.h"
#include "unitinfo/FieldValue.h"
#include "unitinfo/HoldingsCheck.h"
#include "unitinfo/UnitInfoFields.h"

#include <cstdint>

using Table = ReportFieldTable;

namespace {

QString listCode(std::span<const CodedItem> items, const QString& stored)
{
    bool ok = false;
    const double value = stored.toDouble(&ok);
    for (const CodedItem& item : items) {
        if (ok && value == item.code)
            return QString::number(item.code);
    }
    return {};
}

BudgetAmount read(const ReportValues& values, const QString& control, NormalisedBoxes& normalised)
{
    if (!values.contains(control))
        return {};
    auto parsed = BudgetAmount::parse(values.value(control));
    if (!parsed) {
        normalised.append({control, QStringLiteral("0")});
        return {};
    }
    return std::move(parsed->value);
}

QString box(int array, int index)
{
    return Table::ControlRef{Table::ControlKind::LineEdit, array, index}.objectName();
}

} // namespace

BudgetRuleResult CheckBudgetRules(const ReportValues& values)
{
    static const char* messages[] = {
        "项目预算情况中各项的总计金额应大于等于各项中央投入金额",
        "项目资金需求情况中十一五期间资金需求合计应大于等于各年中央与地方投入之总和",
        "项目资金需求情况中十一五期间资金需求合计应大于项目预算情况中各项总计之合",
        "项目资金需求情况中十一五期间资金需求各年中央累计投入应大于项目预算情况中各项中央投入之合"};
    BudgetRuleResult result;
    const auto broken = [&](int rule) {
        result.brokenRule = rule;
        result.message = QString::fromUtf8(messages[rule - 1]);
        return result;
    };
    const BudgetAmount total = read(values, QStringLiteral("Text32"), result.normalised);
    BudgetAmount bt, bs, yc, yl;
    for (const Table::AmountPairGroup& g : Table::amountPairGroups()) {
        for (int i = 0; i < g.count; ++i) {
            const BudgetAmount t = read(values, box(g.totalArray, i), result.normalised);
            const BudgetAmount s = read(values, box(g.shareArray, i), result.normalised);
            if (t < s)
                return broken(1);
            bt += t;
            bs += s;
        }
    }
    for (int i = 0; i < 5; ++i) {
        yc += read(values, box(12, i), result.normalised);
        yl += read(values, box(13, i), result.normalised);
    }
    if (total < yc + yl)
        return broken(2);
    if (total < bt)
        return broken(3);
    if (yc < bs)
        return broken(4);
    return result;
}

HoldingsRuleResult CheckHoldingsRules(const UnitInfoValues& values)
{
    static const char* classMessages[] = {"一级品总数应等于完好数量+加一般受损数量+严重受损数量",
                                          "二级品总数应等于完好数量+加一般受损数量+严重受损数量",
                                          "三级品总数应等于完好数量+加一般受损数量+严重受损数量",
                                          "重要出土文物总数应等于完好数量+加一般受损数量+严重受损数量"};
    HoldingsRuleResult result;
    const auto count = [&](const QString& control) { return ClassCount(ReadNumericStart(values.value(control)).value); };
    std::int64_t sum = 0;
    for (int i = 0; i < 4; ++i) {
        const auto total = count(QStringLiteral("Text9(%1)").arg(i));
        const auto intact = count(QStringLiteral("Text10(%1)").arg(i));
        const auto slight = count(QStringLiteral("Text11(%1)").arg(i));
        const auto severe = count(QStringLiteral("Text12(%1)").arg(i));
        if (!total || !intact || !slight || !severe || std::int64_t(*intact) + *slight + *severe != *total) {
            result.brokenRule = i + 1;
            result.message = QString::fromUtf8(classMessages[i]);
            return result;
        }
        sum += *total;
    }
    if (static_cast<double>(sum) > ReadNumericStart(values.value(QStringLiteral("Text29"))).value) {
        result.brokenRule = 5;
        result.message = QStringLiteral("文物总数应大于等于一级品总数+二级品总数+三级品总数+重要出土文物总数");
    }
    return result;
}

ReportFile ReadReportBytes(const QByteArray& bytes, const QString& nameForMessages)
{
    ReportFile file;
    const Module1::XmlDocumentPtr document = Module1::ParseXmlText(bytes, nameForMessages);
    file.error = Module1::GetLastErrorText();
    if (!file.error.isEmpty())
        return file;
    file.ok = true;
    const Module1::XmlNode root = Module1::documentElement(document);
    file.header.unitCode = Module1::GetNodeText(root, QStringLiteral("//Report/ReportInfo/CorpID"));
    file.header.unitName = Module1::GetNodeText(root, QStringLiteral("//Report/ReportInfo/CorpName"));
    for (const Table::Field& f : Table::fields()) {
        const QString stored = Module1::GetNodeText(root, f.xpath);
        if (f.control.kind != Table::ControlKind::List)
            file.values.setValue(f.control.objectName(), stored);
        else
            file.values.setValue(f.control.objectName(),
                                 listCode(f.control.number == 1 ? ProjectTypes::projectTypeItems()
                                                                : ProjectTypes::projectNatureItems(), stored));
    }
    return file;
}

UnitInfoFile ReadUnitInfoBytes(const QByteArray& bytes, const QString& nameForMessages)
{
    UnitInfoFile file;
    const Module1::XmlDocumentPtr document = Module1::ParseXmlText(bytes, nameForMessages);
    file.error = Module1::GetLastErrorText();
    if (!file.error.isEmpty())
        return file;
    file.ok = true;
    const Module1::XmlNode root = Module1::documentElement(document);
    for (const UnitInfoField& field : UnitInfoFields::fields()) {
        if (!field.path)
            continue;
        const QString stored = Module1::GetNodeText(root, UnitInfoFields::xpath(field));
        file.values.setValue(QString::fromUtf8(field.objectName),
                             field.kind == UnitInfoKind::Coded ? listCode(UnitInfoFields::items(field.list), stored) : stored);
    }
    return file;
}
