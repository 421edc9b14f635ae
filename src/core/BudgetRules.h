#pragma once

#include "core/BudgetAmount.h"
#include "core/ReportValues.h"
#include "core/RuleResult.h"

#include <array>
#include <optional>
#include <vector>

// The four budget rules over a report's values, in exact decimals (BudgetAmount):
// 1 no cost item's central share above its total, 2 the demand total covers the yearly
// central and local amounts, 3 it covers the budget items' totals, 4 the yearly central
// amounts cover the items' central shares. Only the first broken rule counts.

// What the rules compare. Added up in one place only, BudgetReading: Save's check, the
// running sums under the form and the batch checker all read them from there.
struct BudgetRuleSums {
    BudgetAmount demandTotal;  // T
    BudgetAmount yearsCentral; // YC
    BudgetAmount yearsLocal;   // YL
    BudgetAmount yearsTotal;   // YC + YL
    BudgetAmount itemsTotal;   // BT
    BudgetAmount itemsShare;   // BS
    // Position in ReportFieldTable::budgetPairs() of the first cost item whose central
    // share exceeds its total; -1 when there is none.
    int firstShareAboveTotal = -1;
};

// The first broken rule (1..4); 0 when every rule holds. Equality passes every rule.
int FirstBrokenBudgetRule(const BudgetRuleSums& sums);

// One stored amount as the rules count it.
struct StoredAmount {
    BudgetAmount value;  // 0 for text that is no amount
    QString plainText;   // the plain decimal a save writes ("0" for text that is no amount)
    bool present = false; // the values hold the field at all
    bool isNumber = true; // false when the text is no amount
    // The text the box is to show instead, when reading rewrote it: "0" for a non-number,
    // the plain decimal for full-width or digit-grouped input.
    std::optional<QString> rewritten;
};

// Every amount the budget rules compare, each read once from a report's values, with
// the rules' sums. An absent field counts as 0 and is not rewritten.
class BudgetReading {
public:
    explicit BudgetReading(const ReportValues& values);

    const BudgetRuleSums& sums() const { return sums_; }
    int firstBrokenRule() const { return FirstBrokenBudgetRule(sums_); }

    // The amount of a field by its position in ReportFieldTable::fields(); null for a
    // field the rules do not read.
    const StoredAmount* amount(int fieldIndex) const;
    const StoredAmount& demandTotal() const { return demandTotal_; }
    const std::array<StoredAmount, 5>& centralYears() const { return central_; }
    const std::array<StoredAmount, 5>& localYears() const { return local_; }

    // What a save shows in the boxes it checked, in the rules' reading order: the demand
    // total, the cost items, then the years. A check stops at the first cost item whose
    // share exceeds its total; boxes after it are left as they are.
    NormalisedBoxes normalised() const;

private:
    BudgetRuleSums sums_;
    StoredAmount demandTotal_;
    std::array<StoredAmount, 5> central_;
    std::array<StoredAmount, 5> local_;
    std::vector<std::pair<StoredAmount, StoredAmount>> items_; // by ReportFieldTable::budgetPairs()
};

struct BudgetRuleResult {
    int brokenRule = 0;          // 1..4; 0 when every rule holds
    QString message;             // that rule's message, exactly as the window shows it
    // Fields whose text reading rewrote (field id -> new text), in reading order: only
    // those read before the check stopped.
    NormalisedBoxes normalised;
    bool ok() const { return brokenRule == 0; }
};

// Save's check of the four rules.
BudgetRuleResult CheckBudgetRules(const ReportValues& values);

// A stored or typed amount text as the rules count it.
StoredAmount ReadStoredAmount(const QString& text);

// An amount box's text read as an exact decimal. Text that is no amount counts as 0 and
// the box is then to show "0"; full-width or digit-grouped input is to show the plain
// decimal it stands for. `rewritten` holds the box's new text only when it changes.
BudgetAmount ReadAmountText(const QString& text, std::optional<QString>* rewritten);

// The message of a budget rule (1..4).
QString BudgetRuleMessage(int rule);
