#pragma once

#include <QString>

class BudgetAmount;

// An exact amount written out as the plain decimal a clerk types ("0.3", "-12.5"), for
// showing sums; amounts read from decimals always have a finite decimal form.
class AmountText {
public:
    static QString decimal(const BudgetAmount& amount);
};
