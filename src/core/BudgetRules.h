#pragma once

#include "core/ReportValues.h"
#include "core/RuleResult.h"
#include "core/BudgetAmount.h"

#include <optional>

// The four budget rules over a report's values, in exact decimals (BudgetAmount):
// 1 no cost item's central share above its total, 2 the demand total covers the yearly
// central and local amounts, 3 it covers the budget items' totals, 4 the yearly central
// amounts cover the items' central shares. Only the first broken rule counts.
struct BudgetRuleResult {
    int brokenRule = 0;          // 1..4; 0 when every rule holds
    QString message;             // that rule's message, exactly as the window shows it
    // Boxes whose text reading rewrote, in reading order: non-numbers become "0", full-width or
    // digit-grouped input becomes its plain decimal. Only boxes read before the stop.
    NormalisedBoxes normalised;
    bool ok() const { return brokenRule == 0; }
};

// A control that is absent counts as 0 and is not rewritten.
BudgetRuleResult CheckBudgetRules(const ReportValues& values);

// What the rules compare, for a caller that has read every amount already: a batch reads
// each box once, for its row and its verdict alike.
struct BudgetRuleSums {
    BudgetAmount demandTotal;
    BudgetAmount yearsCentral;
    BudgetAmount yearsLocal;
    BudgetAmount itemsTotal;
    BudgetAmount itemsShare;
    bool shareAboveTotal = false; // some cost item's central share exceeds its total
};

// The first broken rule (1..4); 0 when every rule holds.
int FirstBrokenBudgetRule(const BudgetRuleSums& sums);

// An amount box's text read as an exact decimal. Text that is no amount counts as 0 and
// the box is then to show "0"; full-width or digit-grouped input is to show the plain
// decimal it stands for. `rewritten` holds the box's new text only when it changes.
BudgetAmount ReadAmountText(const QString& text, std::optional<QString>* rewritten);

// The message of a budget rule (1..4).
QString BudgetRuleMessage(int rule);
