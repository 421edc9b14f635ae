#include "core/BudgetRules.h"

#include "core/ReportFieldTable.h"

#include <map>

using Table = ReportFieldTable;

namespace {

// The names of every amount box, made once: a batch checks thousands of reports.
const QString& nameOf(int array, int index)
{
    static const std::map<std::pair<int, int>, QString> names = [] {
        std::map<std::pair<int, int>, QString> all;
        const auto add = [&](int a, int count) {
            for (int i = 0; i < count; ++i)
                all.emplace(std::pair{a, i}, Table::ControlRef{Table::ControlKind::LineEdit, a, i}.objectName());
        };
        for (const Table::AmountPairGroup& g : Table::amountPairGroups()) {
            add(g.totalArray, g.count);
            add(g.shareArray, g.count);
        }
        const Table::DemandYears years = Table::demandYears();
        add(years.centralArray, years.count);
        add(years.localArray, years.count);
        return all;
    }();
    return names.at({array, index});
}

const QString& demandTotalName()
{
    static const QString name = Table::demandTotal().objectName();
    return name;
}

// Reads boxes in order, noting every box whose text the reading rewrites.
class AmountReader {
public:
    AmountReader(const ReportValues& values, NormalisedBoxes& normalised)
        : values_(values), normalised_(normalised) {}

    BudgetAmount read(const QString& control)
    {
        if (!values_.contains(control))
            return BudgetAmount();
        std::optional<QString> rewritten;
        BudgetAmount amount = ReadAmountText(values_.value(control), &rewritten);
        if (rewritten)
            normalised_.append({control, *rewritten});
        return amount;
    }

private:
    const ReportValues& values_;
    NormalisedBoxes& normalised_;
};

BudgetRuleResult broken(int rule, NormalisedBoxes normalised)
{
    BudgetRuleResult result;
    result.brokenRule = rule;
    result.message = BudgetRuleMessage(rule);
    result.normalised = std::move(normalised);
    return result;
}

} // namespace

BudgetAmount ReadAmountText(const QString& text, std::optional<QString>* rewritten)
{
    auto parsed = BudgetAmount::parse(text);
    if (!parsed) {
        *rewritten = QStringLiteral("0");
        return BudgetAmount();
    }
    // Full-width or grouped input is shown as the plain decimal that was counted.
    if (parsed->plainText != text.trimmed())
        *rewritten = parsed->plainText;
    return std::move(parsed->value);
}

QString BudgetRuleMessage(int rule)
{
    switch (rule) {
    case 1: return QStringLiteral("项目预算情况中各项的总计金额应大于等于各项中央投入金额");
    case 2: return QStringLiteral("项目资金需求情况中十一五期间资金需求合计应大于等于各年中央与地方投入之总和");
    case 3: return QStringLiteral("项目资金需求情况中十一五期间资金需求合计应大于项目预算情况中各项总计之合");
    case 4: return QStringLiteral("项目资金需求情况中十一五期间资金需求各年中央累计投入应大于项目预算情况中各项中央投入之合");
    default: return QString();
    }
}

int FirstBrokenBudgetRule(const BudgetRuleSums& sums)
{
    // Equality passes every rule.
    if (sums.shareAboveTotal)
        return 1;
    if (sums.demandTotal < sums.yearsCentral + sums.yearsLocal)
        return 2;
    if (sums.demandTotal < sums.itemsTotal)
        return 3;
    if (sums.yearsCentral < sums.itemsShare)
        return 4;
    return 0;
}

BudgetRuleResult CheckBudgetRules(const ReportValues& values)
{
    NormalisedBoxes normalised;
    AmountReader reader(values, normalised);
    BudgetRuleSums sums;
    sums.demandTotal = reader.read(demandTotalName());
    // Every pair counts, in enabled and disabled frames alike, the hidden pair included.
    // Reading stops at the first pair that breaks a rule: later boxes are not rewritten.
    for (const Table::AmountPairGroup& g : Table::amountPairGroups()) {
        for (int i = 0; i < g.count; ++i) {
            const BudgetAmount t = reader.read(nameOf(g.totalArray, i));
            const BudgetAmount s = reader.read(nameOf(g.shareArray, i));
            if (t < s)
                return broken(1, std::move(normalised));
            sums.itemsTotal += t;
            sums.itemsShare += s;
        }
    }
    const Table::DemandYears years = Table::demandYears();
    for (int i = 0; i < years.count; ++i) {
        sums.yearsCentral += reader.read(nameOf(years.centralArray, i));
        sums.yearsLocal += reader.read(nameOf(years.localArray, i));
    }
    if (const int rule = FirstBrokenBudgetRule(sums))
        return broken(rule, std::move(normalised));
    BudgetRuleResult result;
    result.normalised = std::move(normalised);
    return result;
}
