#include "check/DemandTotals.h"

#include "core/AmountText.h"
#include "core/ProjectTypes.h"

void DemandTotals::Sum::add(const ReportRow& row)
{
    ++projects;
    demandTotal += row.demandTotal;
    for (size_t i = 0; i < 5; ++i) {
        central[i] += row.central[i];
        local[i] += row.local[i];
    }
    budgetTotal += row.budgetTotal;
    budgetCentral += row.budgetCentral;
}

QStringList DemandTotals::Sum::cells(const QString& group, const QString& code, const QString& name) const
{
    QStringList cells{group, code, name, QString::number(projects), AmountText::decimal(demandTotal)};
    for (const BudgetAmount& a : central)
        cells << AmountText::decimal(a);
    for (const BudgetAmount& a : local)
        cells << AmountText::decimal(a);
    cells << AmountText::decimal(budgetTotal) << AmountText::decimal(budgetCentral);
    return cells;
}

void DemandTotals::addReport(const ReportRow& row)
{
    byType_[row.projectTypeCode].add(row);
    byUnit_[row.unitCode].add(row);
    all_.add(row);
    if (!unitNames_.count(row.unitCode))
        unitNames_[row.unitCode] = row.unitName;
}

void DemandTotals::nameUnit(const QString& unitCode, const QString& unitName)
{
    // The first unit file of a code names it, as the checks across files take it.
    if (namedByUnitFile_.insert(unitCode).second)
        unitNames_[unitCode] = unitName;
}

QList<QStringList> DemandTotals::rows() const
{
    QList<QStringList> rows;
    for (const CodedItem& item : ProjectTypes::projectTypeItems()) {
        const auto found = byType_.find(item.code);
        if (found != byType_.end())
            rows << found->second.cells(QStringLiteral("项目类别"), QString::number(item.code), QString::fromUtf8(item.text));
    }
    if (const auto invalid = byType_.find(0); invalid != byType_.end())
        rows << invalid->second.cells(QStringLiteral("项目类别"), QString(), QStringLiteral("（类别无效）"));
    for (const auto& [code, sum] : byUnit_) {
        const auto name = unitNames_.find(code);
        rows << sum.cells(QStringLiteral("单位"), code, name == unitNames_.end() ? QString() : name->second);
    }
    rows << all_.cells(QStringLiteral("合计"), QString(), QStringLiteral("全部报表"));
    return rows;
}
