#include "core/AmountText.h"

namespace AmountText {

QString decimal(const BudgetAmount& amount)
{
    return amount.toDecimalText(amount.decimalPlaces());
}

double toDouble(const BudgetAmount& amount)
{
    // Through the decimal text: strtod rounds to nearest, mpq_get_d truncates (0.1 would
    // land one step below the double a spreadsheet shows as 0.1).
    return decimal(amount).toDouble();
}

BudgetAmount parseOrZero(const QString& text)
{
    auto parsed = BudgetAmount::parse(text);
    return parsed ? std::move(parsed->value) : BudgetAmount();
}

} // namespace AmountText
