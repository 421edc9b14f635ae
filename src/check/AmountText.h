#pragma once

#include "core/BudgetAmount.h"

#include <QString>

// Exact amounts as the tables show them.
namespace AmountText {

// The exact value as a plain decimal ("1234.5", "-0.25", "0"). Sums of decimal amounts
// always end; anything else is cut after 12 decimals.
QString decimal(const BudgetAmount& amount);
// The nearest double, for a spreadsheet cell.
double toDouble(const BudgetAmount& amount);
// A stored text as an amount, 0 when it is not one.
BudgetAmount parseOrZero(const QString& text);

} // namespace AmountText
