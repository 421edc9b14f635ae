#pragma once
// Stand-in until the core library is merged; see ../README.md.
#include "core/ReportValues.h"
#include "core/RuleResult.h"

struct BudgetRuleResult {
    int brokenRule = 0;
    QString message;
    NormalisedBoxes normalised;
    bool ok() const { return brokenRule == 0; }
};
BudgetRuleResult CheckBudgetRules(const ReportValues& values);
