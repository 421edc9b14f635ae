#pragma once

#include "core/BudgetAmount.h"

#include <QString>

// Exact amounts written out for people and tables.
namespace AmountText {

// The exact value as the plain decimal a clerk types ("0.3", "-12.5", "0"), with no more
// decimals than it needs.
QString decimal(const BudgetAmount& amount);
// The nearest double, for a spreadsheet cell.
double toDouble(const BudgetAmount& amount);
// A stored text as an amount, 0 when it is not one.
BudgetAmount parseOrZero(const QString& text);

} // namespace AmountText
